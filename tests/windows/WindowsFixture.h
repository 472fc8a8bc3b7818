#pragma once
// Fresh windows for every test: the engine state put back, the settings file
// in a temporary folder, a chosen screen size and dialogs answered by the test.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>

#include "../engine/EngineTestSupport.h"
#include "colour/model/ColorMap.h"
#include "commands/QVCommands.h"
#include "engine/EngineState.h"
#include "platform/QVDialogs.h"
#include "platform/QVImage.h"
#include "platform/StartupSettings.h"
#include "windows/ProgramWindows.h"
#include "windows/untQVCtrl.h"
#include "windows/untQVView.h"

// A window's control by its name; the test fails when there is none.
template <typename T>
T* Find(const QObject* window, const char* name)
{
    T* child = window->findChild<T*>(QString::fromLatin1(name));
    if (!child) {
        ADD_FAILURE() << "no control named " << name;
        std::abort();
    }
    return child;
}

// Entry by entry, key flags included.
inline bool SameColorMap(const ColorMap& a, const ColorMap& b)
{
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].keyFlag != b[i].keyFlag || a[i].red != b[i].red || a[i].green != b[i].green || a[i].blue != b[i].blue)
            return false;
    return true;
}

class FakeDialogs final : public QVDialogs {
public:
    // Answers for Confirm, taken in order; true means OK. Empty: Cancel.
    std::deque<bool> confirmAnswers;
    QStringList confirmTexts;
    QStringList errorTexts;
    // The single button of each error box asked for one.
    QStringList errorButtons;
    QStringList noticeTexts;
    QStringList shellTargets;
    // Whether the desktop can open a file, and the files the program's own
    // viewer was asked to show, and whether it could.
    bool shellOpens = true;
    // The desktop's opener starts, then reports a failure (no browser).
    bool shellFailsLater = false;
    QStringList shownDocuments;
    bool documentsReadable = true;
    QString saveFileName;
    QString openFileName;
    QString clipboard;
    std::deque<uint32_t> pickedColors;
    // Runs while the colour dialog is open, as a user's other doings would.
    std::function<void()> whilePicking;

    bool Confirm(QWidget*, const QString& text) override
    {
        confirmTexts << text;
        if (confirmAnswers.empty())
            return false;
        const bool answer = confirmAnswers.front();
        confirmAnswers.pop_front();
        return answer;
    }
    void ShowError(QWidget*, const QString& text) override { errorTexts << text; }
    void ShowErrorWithButton(QWidget*, const QString& text, const QString& button) override
    {
        errorTexts << text;
        errorButtons << button;
    }
    void Notify(QWidget*, const QString& text) override { noticeTexts << text; }
    QString GetSaveFileName(QWidget*, const QString&, const QString&) override { return saveFileName; }
    QString GetOpenFileName(QWidget*, const QString&) override { return openFileName; }
    bool PickColor(QWidget*, uint32_t& colorWord) override
    {
        if (whilePicking)
            whilePicking();
        if (pickedColors.empty())
            return false;
        colorWord = pickedColors.front();
        pickedColors.pop_front();
        return true;
    }
    bool OpenWithShell(const QString& target, std::function<void()> whenItFails) override
    {
        shellTargets << target;
        if (shellOpens && shellFailsLater && whenItFails)
            whenItFails();
        return shellOpens;
    }
    bool ShowDocument(const QString& path) override
    {
        shownDocuments << path;
        return documentsReadable;
    }
    QString ClipboardText() override { return clipboard; }
    void SetClipboardText(const QString& text) override { clipboard = text; }
};

class WindowsFixture : public ::testing::Test {
protected:
    QTemporaryDir folder;
    FakeDialogs dialogs;
    ProgramWindows windows;
    TfrmQVCtrl* control = nullptr;
    TfrmQVView* drawing = nullptr;

    QString SettingsPath() const { return folder.filePath(QStringLiteral("Qorvix.ini")); }

    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        ResetEngineState();
        SetDialogs(&dialogs);
        SetSettingsFilePathForTests(SettingsPath());
        TfrmQVCtrl::SetScreenSizeForTests(QSize(1920, 1200));
    }

    void TearDown() override
    {
        DestroyWindows();
        SetDialogs(nullptr);
        SetSettingsFilePathForTests(QString());
        TfrmQVCtrl::SetScreenSizeForTests(std::nullopt);
        ResetEngineState();
    }

    // Writes a settings file before the windows are created.
    void StoreSettings(const QString& text)
    {
        QFile file(SettingsPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.toUtf8());
    }

    // Creates the windows in the program's order.
    void CreateWindows()
    {
        windows = CreateProgramWindows();
        control = windows.control.get();
        drawing = windows.drawing.get();
    }

    void DestroyWindows()
    {
        windows = ProgramWindows();
        control = nullptr;
        drawing = nullptr;
    }

    // The windows with the whole view of type 1, on a picture of the given
    // size or else the one the settings give.
    void StartWholeView(int width = 0, int height = 0)
    {
        CreateWindows();
        if (width > 0) {
            dpCurr.diImgW = width;
            dpCurr.diImgH = height;
        }
        ShowWholeView(1);
    }

    // Left-button presses and drags over the picture through the drawing
    // window's handlers.
    void Press(int x, int y) { drawing->imgQVViewMouseDown(Qt::LeftButton, x, y); }

    void Click(int x, int y)
    {
        Press(x, y);
        drawing->imgQVViewMouseUp(Qt::LeftButton, x, y);
    }

    void Drag(int fromX, int fromY, int toX, int toY)
    {
        Press(fromX, fromY);
        drawing->imgQVViewMouseMove(toX, toY);
        drawing->imgQVViewMouseUp(Qt::LeftButton, toX, toY);
    }

    void Zoom(int fromX, int fromY, int toX, int toY)
    {
        Drag(fromX, fromY, toX, toY);
        DrawSelectedRegion();
    }

    // The control window's read-outs: centre x and y, extent x and y, scale,
    // depth and number of views.
    QStringList Readouts() const
    {
        return {Find<QLabel>(control, "stCenterX")->text(), Find<QLabel>(control, "stCenterY")->text(), Find<QLabel>(control, "stAreaX")->text(),
                Find<QLabel>(control, "stAreaY")->text(),   Find<QLabel>(control, "stScale")->text(),   Find<QLabel>(control, "stDrawNest")->text(),
                Find<QLabel>(control, "stDrawNestTotal")->text()};
    }

    // Depth and number of views.
    QStringList NestReadouts() const { return Readouts().mid(5); }

    // The part of the drawing surface that holds the current picture.
    QImage Picture() const
    {
        return Find<TQVImage>(drawing, "imgQVView")->Picture().copy(0, 0, dpCurr.diImgW, dpCurr.diImgH);
    }

    // Resizes the shown drawing window as a user dragging its frame would, so
    // that the picture becomes width x height (the client is one pixel larger
    // on every side).
    void ResizePictureByHand(int width, int height)
    {
        ASSERT_TRUE(drawing->isVisible());
        ASSERT_TRUE(drawing->IsTrackingResize());
        drawing->resize(TfrmQVView::ClientSizeForPicture(width, height));
        QApplication::processEvents();
    }
};
