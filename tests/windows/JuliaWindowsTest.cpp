// Julia views as the user starts them: the drawing window's popup, pixel
// information and the J key; the way back, a Julia place reopened afresh,
// and the live preview following the pointer.

#include <QAction>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include "WindowsFixture.h"
#include "colour/windows/untDisplay1.h"
#include "commands/JuliaCommands.h"
#include "dialogs/untJuliaPreview.h"
#include "engine/CountColors.h"
#include "engine/JuliaPreview.h"
#include "engine/Place.h"
#include "engine/PlaceView.h"
#include "platform/QtColorWords.h"

class JuliaWindowsTest : public WindowsFixture {
protected:
    // A right press on the picture and an item of its popup, as shown.
    void ChooseFromPopup(int x, int y, const char* item)
    {
        drawing->SetPopupRunner([item](QMenu* menu, QPoint) {
            emit menu->aboutToShow();
            QAction* action = Find<QAction>(menu, item);
            if (action->isEnabled())
                action->trigger();
        });
        drawing->imgQVViewMouseDown(Qt::RightButton, x, y);
    }

    QAction* ToolItem(const char* name) const
    {
        QMenu* tools = Find<QMenu>(control, "pmQVCtrl");
        emit tools->aboutToShow();
        return Find<QAction>(tools, name);
    }
};

// From the popup: the Julia set of the pixel's point, zoomed; back twice is
// the plane's picture and read-outs exactly, forward the Julia views again;
// its place reopens afresh with the same picture; the tool menu's item
// leaves for the plane, and the caption says which c is shown.
TEST_F(JuliaWindowsTest, APopupJuliaViewZoomsGoesBackExactlyAndReopensFromItsPlace)
{
    StartWholeView(120, 90);
    const QImage plane = Picture();
    const QStringList planeReadouts = Readouts();
    EXPECT_FALSE(ToolItem("pmiJuliaPlane")->isEnabled());
    ChooseFromPopup(40, 50, "pmiJuliaOfPoint");
    ASSERT_TRUE(ActiveJulia.isSet);
    const PlanePoint c = PointOfPixel(BackStack.back()->view, PictureSize{120, 90}, 40, 50);
    EXPECT_EQ(ActiveJulia, JuliaPoint::At(c.re, c.im));
    EXPECT_TRUE(control->windowTitle().startsWith(QStringLiteral("ジュリア集合 ")));
    const QImage julia = Picture();
    EXPECT_NE(julia, plane);
    // A Julia view's own points are no c: the popup item is off there.
    ChooseFromPopup(10, 10, "pmiJuliaOfPoint");
    EXPECT_EQ(BackStack.size(), 1u);
    Zoom(30, 20, 90, 65);
    const QImage zoomed = Picture();
    StepBack();
    EXPECT_EQ(Picture(), julia);
    StepBack();
    EXPECT_FALSE(ActiveJulia.isSet);
    EXPECT_EQ(Picture(), plane);
    EXPECT_EQ(Readouts().mid(0, 6), planeReadouts.mid(0, 6));  // and three views in the history
    EXPECT_EQ(control->windowTitle(), QStringLiteral("マンデルブロ探索"));
    StepForward();
    StepForward();
    EXPECT_EQ(Picture(), zoomed);

    dialogs.saveFileName = folder.filePath(QStringLiteral("julia.qvplace"));
    Find<QAction>(control, "pmiSavePlace")->trigger();
    DestroyWindows();
    ResetEngineState();
    CreateWindows();
    dialogs.openFileName = dialogs.saveFileName;
    Find<QAction>(control, "pmiOpenPlace")->trigger();
    EXPECT_EQ(Picture(), zoomed);
    ASSERT_TRUE(ToolItem("pmiJuliaPlane")->isEnabled());
    ToolItem("pmiJuliaPlane")->trigger();
    EXPECT_FALSE(ActiveJulia.isSet);
    EXPECT_EQ(dpCurr.dwa, -0.5L);
    StepBack();
    EXPECT_EQ(Picture(), zoomed);
}

// Pixel information's button takes the inspected pixel's point, the J key
// the point under the pointer or, with the pointer elsewhere, the centre's.
TEST_F(JuliaWindowsTest, PixelInformationAndTheJKeyStartTheJuliaSetOfTheirPoint)
{
    StartWholeView(120, 90);
    ChooseFromPopup(70, 30, "N1");
    QApplication::processEvents();
    const PlanePoint inspected = PointOfPixel(dpCurr, PictureSize{120, 90}, 70, 30);
    QPushButton* button = Find<QPushButton>(windows.pixelInformation.get(), "btnJulia");
    ASSERT_TRUE(button->isEnabled());
    button->click();
    EXPECT_EQ(ActiveJulia, JuliaPoint::At(inspected.re, inspected.im));
    StepBack();
    QCursor::setPos(-1000, -1000);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_J, Qt::NoModifier);
    QApplication::sendEvent(drawing, &key);
    EXPECT_EQ(ActiveJulia, JuliaPoint::At(-0.5L, 0.0L));
    EXPECT_EQ(BackStack.size(), 1u);
}

// The preview is off until its item turns it on; then the pointer over the
// plane's picture brings the Julia set of its point, the counts of the
// kernels at the preview's size and limit; over a Julia view it stays.
TEST_F(JuliaWindowsTest, ThePreviewFollowsThePointerOverThePlaneOnly)
{
    StartWholeView(120, 90);
    EXPECT_FALSE(JuliaPreviewOn());
    QAction* item = ToolItem("pmiJuliaPreview");
    EXPECT_FALSE(item->isChecked());
    item->trigger();
    auto* preview = Find<TfrmJuliaPreview>(control, "frmJuliaPreview");
    ASSERT_TRUE(preview->isVisible());
    drawing->imgQVViewMouseMove(30, 45);
    QElapsedTimer waited;
    waited.start();
    while (preview->PaintedTicket() == 0 && waited.elapsed() < 30000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    ASSERT_EQ(preview->PaintedTicket(), 1u);
    const PlanePoint c = PointOfPixel(dpCurr, PictureSize{120, 90}, 30, 45);
    const JuliaPreviewPicture expected = DrawJuliaPreview(PreviewIteration(c), PreviewRegion());
    const QImage shown = Find<QLabel>(preview, "imgJuliaPreview")->pixmap().toImage();
    for (int x = 0; x < kPreviewSide; x += 7)
        for (int y = 0; y < kPreviewSide; y += 5)
            ASSERT_EQ(shown.pixel(x, y) & 0xFFFFFFu,
                      RgbOfColorWord(ColorWordOfCount(expected.Count(x, y), currentColorMap, expected.limit)) & 0xFFFFFFu);
    ShowJuliaOfPoint(c);
    drawing->imgQVViewMouseMove(60, 45);
    QApplication::processEvents();
    EXPECT_EQ(preview->PaintedTicket(), 1u);
    item->trigger();
    EXPECT_FALSE(preview->isVisible());
    EXPECT_FALSE(JuliaPreviewOn());
}
