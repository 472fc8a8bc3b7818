// The export window at a chosen size, driven through its own controls.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <functional>

#include "WindowsFixture.h"
#include "dialogs/untExportPicture.h"

class ExportWindowTest : public WindowsFixture {
protected:
    QWidget* Window() const { return windows.exportPicture.get(); }
    QSpinBox* Side(const char* name) const { return Find<QSpinBox>(Window(), name); }
    QSize Sides() const { return QSize(Side("spnWidth")->value(), Side("spnHeight")->value()); }
    QString Said() const { return Find<QLabel>(Window(), "stExport")->text(); }
    QImage Written(const char* name) const { return QImage(folder.filePath(name)).convertToFormat(QImage::Format_RGB32); }

    // "保存…" under the given name; with wait, until the export's end has come.
    void Save(const char* name, bool wait = true)
    {
        dialogs.saveFileName = folder.filePath(QString::fromLatin1(name));
        Find<QPushButton>(Window(), "btnSave")->click();
        QElapsedTimer waited;
        waited.start();
        while (wait && IsExportingPicture() && waited.elapsed() < 60000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
};

// "中止" and the close box stop an export through the window before the job
// could report its end: nothing is left behind, the window is ready again,
// and the next export says where its file went.
TEST_F(ExportWindowTest, AStoppedExportLeavesTheWindowReadyAndAFinishedOneSaysWhereItWent)
{
    StartWholeView(120, 90);
    QAction* open = Find<QAction>(control, "pmiSaveSized");
    auto* save = Find<QPushButton>(Window(), "btnSave");
    const std::function<void()> stops[] = {[this] { Find<QPushButton>(Window(), "btnCancel")->click(); },
                                           [this] { Window()->close(); }};
    for (const auto& stop : stops) {
        open->trigger();
        Side("spnWidth")->setValue(4000);
        Find<QComboBox>(Window(), "cmbSamples")->setCurrentIndex(3);
        Save("large.png", false);
        ASSERT_TRUE(IsExportingPicture());
        EXPECT_FALSE(save->isEnabled());
        stop();
        QApplication::processEvents();
        EXPECT_FALSE(IsExportingPicture());
        EXPECT_TRUE(save->isEnabled() && Side("spnWidth")->isEnabled());
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }
    ShowWholeView(2);
    open->trigger();
    Side("spnWidth")->setValue(60);
    Save("done.png");
    EXPECT_EQ(Written("done.png").size(), QSize(60, 45));
    EXPECT_TRUE(Window()->isVisible());
    EXPECT_TRUE(Said().endsWith(QStringLiteral("done.png"))) << Said().toStdString();
    EXPECT_TRUE(dialogs.errorTexts.isEmpty()) << dialogs.errorTexts.join(' ').toStdString();
}

// The export waits for a picture and for its render. Left open over a zoom,
// the window offers the new picture: the file is the picture on screen, not
// the old size squeezed. With the aspect kept, a side whose other would pass
// the limit is cut back to keep it, and stays over the next view while the
// other side follows.
TEST_F(ExportWindowTest, TheWindowFollowsTheViewOnScreenAndKeepsTheAspectWhenAskedTo)
{
    CreateWindows();
    QAction* open = Find<QAction>(control, "pmiSaveSized");
    auto* save = Find<QPushButton>(Window(), "btnSave");
    EXPECT_FALSE(open->isEnabled() || save->isEnabled());
    bool offWhileDrawn = false;
    QTimer::singleShot(0, Window(), [&] { offWhileDrawn = IsRendering && !open->isEnabled() && !save->isEnabled(); });
    dpCurr.diImgW = dpCurr.diImgH = 650;
    ShowWholeView(1);
    EXPECT_TRUE(offWhileDrawn);
    open->trigger();
    Zoom(100, 100, 444, 150);
    ASSERT_EQ(QSize(dpCurr.diImgW, dpCurr.diImgH), QSize(1135, 165));
    Save("view.png");
    EXPECT_EQ(Written("view.png"), Picture().convertToFormat(QImage::Format_RGB32));

    Side("spnHeight")->setValue(16384);
    EXPECT_EQ(Sides(), QSize(16384, 2382));
    EXPECT_TRUE(Find<QCheckBox>(Window(), "chkAspect")->isChecked());
    EXPECT_TRUE(Said().contains(QStringLiteral("2382"))) << Said().toStdString();
    StepBack();
    EXPECT_EQ(Sides(), QSize(2382, 2382));
}
