// The export window at a chosen size, driven through its own controls.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <functional>

#include "WindowsFixture.h"
#include "dialogs/untExportPicture.h"

class ExportWindowTest : public WindowsFixture {
protected:
    QWidget* Window() const { return windows.exportPicture.get(); }
    template <typename T>
    T* Control(const char* name) const
    {
        return Find<T>(Window(), name);
    }
    QSize Sides() const { return QSize(Control<QSpinBox>("spnWidth")->value(), Control<QSpinBox>("spnHeight")->value()); }

    void OpenWindow() { Find<QAction>(control, "pmiSaveSized")->trigger(); }

    void Save(const char* name)
    {
        dialogs.saveFileName = folder.filePath(QString::fromLatin1(name));
        Control<QPushButton>("btnSave")->click();
    }

    // The export's end comes through the event loop.
    static void WaitForExport()
    {
        QElapsedTimer waited;
        waited.start();
        while (IsExportingPicture() && waited.elapsed() < 60000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    // What the exports left in the folder, hidden files too.
    QStringList Files() const
    {
        QStringList files = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
        files.removeAll(QStringLiteral("Qorvix.ini"));
        return files;
    }

    QImage Written(const char* name) const
    {
        return QImage(folder.filePath(QString::fromLatin1(name))).convertToFormat(QImage::Format_RGB32);
    }
};

// "中止" and the close box stop an export through the window before the job
// could report its end: nothing is left behind, the window is ready again,
// and the next export says where its file went.
TEST_F(ExportWindowTest, AStoppedExportLeavesTheWindowReadyAndAFinishedOneSaysWhereItWent)
{
    StartWholeView(120, 90);
    OpenWindow();
    auto* save = Control<QPushButton>("btnSave");
    auto* width = Control<QSpinBox>("spnWidth");
    const std::function<void()> stops[] = {[this] { Control<QPushButton>("btnCancel")->click(); },
                                           [this] { Window()->close(); }};
    for (const auto& stop : stops) {
        OpenWindow();
        width->setValue(4000);
        Control<QComboBox>("cmbSamples")->setCurrentIndex(3);
        Save("large.png");
        ASSERT_TRUE(IsExportingPicture());
        EXPECT_FALSE(save->isEnabled());
        stop();
        QApplication::processEvents();
        EXPECT_FALSE(IsExportingPicture());
        EXPECT_TRUE(save->isEnabled());
        EXPECT_TRUE(width->isEnabled());
        EXPECT_EQ(Files(), QStringList());
    }
    ShowWholeView(2);
    OpenWindow();
    width->setValue(60);
    Save("done.png");
    WaitForExport();
    EXPECT_EQ(Written("done.png").size(), QSize(60, 45));
    EXPECT_TRUE(Window()->isVisible());
    EXPECT_TRUE(Control<QLabel>("stExport")->text().endsWith(QStringLiteral("done.png")));
    EXPECT_TRUE(dialogs.errorTexts.isEmpty()) << dialogs.errorTexts.join(' ').toStdString();
}

// Left open over a zoom, the window offers the new picture: the file is the
// picture on screen, not the old size squeezed. With the aspect kept, a side
// whose other would pass the limit is cut back to keep it, and a side the
// user set stays over the next view while the other follows.
TEST_F(ExportWindowTest, TheWindowFollowsTheViewOnScreenAndKeepsTheAspectWhenAskedTo)
{
    StartWholeView(650, 650);
    OpenWindow();
    Zoom(100, 100, 444, 150);
    ASSERT_EQ(QSize(dpCurr.diImgW, dpCurr.diImgH), QSize(1135, 165));
    Save("view.png");
    WaitForExport();
    EXPECT_EQ(Written("view.png"), Picture().convertToFormat(QImage::Format_RGB32));

    Control<QSpinBox>("spnHeight")->setValue(16384);
    EXPECT_EQ(Sides(), QSize(16384, 2382));
    EXPECT_TRUE(Control<QCheckBox>("chkAspect")->isChecked());
    EXPECT_TRUE(Control<QLabel>("stExport")->text().contains(QStringLiteral("2382"))) << Control<QLabel>("stExport")->text().toStdString();
    Control<QSpinBox>("spnWidth")->setValue(1300);
    EXPECT_EQ(Sides(), QSize(1300, 189));
    StepBack();
    EXPECT_EQ(Sides(), QSize(1300, 1300));
}

// "大きさを指定して保存…" and the window's "保存…" wait for a picture, as saving
// a place does, and are off while one is drawn.
TEST_F(ExportWindowTest, TheExportWaitsForAPictureAndForItsRender)
{
    CreateWindows();
    QAction* item = Find<QAction>(control, "pmiSaveSized");
    EXPECT_FALSE(item->isEnabled());
    auto* save = Control<QPushButton>("btnSave");
    EXPECT_FALSE(save->isEnabled());
    bool offWhileDrawn = false;
    QTimer::singleShot(0, Window(), [&] { offWhileDrawn = IsRendering && !item->isEnabled() && !save->isEnabled(); });
    ShowWholeView(1);
    EXPECT_TRUE(offWhileDrawn);
    EXPECT_TRUE(item->isEnabled());
    OpenWindow();
    EXPECT_TRUE(save->isEnabled());
}
