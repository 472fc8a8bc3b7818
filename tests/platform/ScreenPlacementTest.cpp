#include <gtest/gtest.h>

#include <QApplication>
#include <QAbstractButton>
#include <QResizeEvent>
#include <QScrollArea>

#include "../windows/WindowsFixture.h"
#include "commands/QVCommands.h"
#include "engine/Place.h"
#include "engine/PlaceView.h"
#include "platform/ScreenPlacement.h"

namespace {

TEST(ScreenPlacement, AFrameMovesJustEnoughToLieOnTheAreaAndALargerOneShowsItsTopLeft)
{
    const QRect area(0, 24, 640, 456);
    struct Case {
        QRect frame;
        QPoint placed;
    };
    const Case cases[] = {
        {QRect(100, 100, 200, 100), QPoint(100, 100)},  // on the area already
        {QRect(500, 400, 200, 100), QPoint(440, 380)},  // past the right and the bottom
        {QRect(-30, 0, 200, 100), QPoint(0, 24)},       // before the left and the top
        {QRect(50, -36, 700, 600), QPoint(0, 24)},      // larger both ways
        {QRect(50, 100, 700, 100), QPoint(0, 100)},     // wider only
        {QRect(0, 24, 640, 456), QPoint(0, 24)},        // exactly the area
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlacedWithin(c.frame, area), c.placed) << c.frame.x() << "," << c.frame.y();
}

class SmallScreenTest : public WindowsFixture {
protected:
    const QRect area{0, 0, 640, 480};

    void SetUp() override
    {
        WindowsFixture::SetUp();
        SetAvailableScreenAreaForTests(area);
        TfrmQVCtrl::SetScreenSizeForTests(area.size());
    }
    void TearDown() override
    {
        WindowsFixture::TearDown();
        SetAvailableScreenAreaForTests(std::nullopt);
    }
};

// Every window the program opens, on a 640 x 480 screen: each frame lies on
// the screen, so its title bar and, through scroll bars where it must, every
// button can be reached; the drawing window, fitted to a picture taller than
// the screen, shows its top-left part.
TEST_F(SmallScreenTest, EveryWindowLiesOnTheScreenWithItsTitleBarAndButtonsWithinReach)
{
    StartWholeView();
    control->show();
    OpenColorMapEditor();
    ShowCoefficientDialog();
    ShowVersionWindow();
    ShowColorMapView();
    ShowInfoGrid();
    drawing->SetPopupRunner([](QMenu*, QPoint) {});
    drawing->imgQVViewMouseDown(Qt::RightButton, 570, 570);
    ShowPixelInformation();
    QApplication::processEvents();

    int checked = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible() || window->windowType() == Qt::Popup)
            continue;
        SCOPED_TRACE(window->objectName().toStdString());
        ++checked;
        const QRect frame(window->pos(), window->size().grownBy(WindowFrameMargins(window)));
        EXPECT_TRUE(area.contains(frame)) << frame.x() << "," << frame.y() << " " << frame.width() << "x"
                                          << frame.height();
        for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
            if (!button->isVisibleTo(window))
                continue;
            const auto* scroll = window->findChild<QScrollArea*>();
            const QWidget* shownIn = scroll ? scroll->widget() : window;
            EXPECT_TRUE(shownIn->rect().contains(button->geometry().translated(button->parentWidget()->mapTo(
                                                     shownIn, QPoint(0, 0)))))
                << button->objectName().toStdString();
        }
    }
    EXPECT_EQ(checked, 8);
    // The picture keeps its size below the part shown.
    EXPECT_GT(dpCurr.diImgH, drawing->height());
}

// A place larger than the screen: the drawing window is kept to the screen,
// its title bar and close box within reach, and shows the picture's top-left
// part. The view keeps its own picture size through that placement; a size
// the user gives the window is still taken.
TEST_F(SmallScreenTest, APlaceLargerThanTheScreenKeepsItsPictureSizeInAWindowOnTheScreen)
{
    StartWholeView(150, 110);
    Place place = PlaceOfCurrentView();
    place.width = 1500;
    place.height = 1100;
    place.pixelRe /= 10;
    place.pixelIm /= 10;
    dialogs.clipboard = QString::fromStdString(FormatPlace(place));
    // Closed, the window is placed anew as it is shown.
    drawing->close();
    PastePlace();
    QApplication::processEvents();
    // A window manager confirms the size it was given later: still the program's.
    QResizeEvent confirmed(drawing->size(), drawing->size());
    QApplication::sendEvent(drawing, &confirmed);
    const QRect frame(drawing->pos(), drawing->size().grownBy(WindowFrameMargins(drawing)));
    EXPECT_TRUE(area.contains(frame)) << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
    const PictureSize shown = ShownPictureSize(dpCurr);
    EXPECT_EQ(QSize(shown.width, shown.height), QSize(1500, 1100));
    EXPECT_EQ(QSize(dpCurr.diImgW, dpCurr.diImgH), QSize(1500, 1100));
    ResizePictureByHand(300, 200);
    EXPECT_EQ(QSize(dpCurr.diImgW, dpCurr.diImgH), QSize(300, 200));
}

}  // namespace
