// The drawing window: rubber band, zoom, history commands, resizing and the
// popup menu, driven through the window's own handlers.

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QToolButton>
#include <cmath>

#include "WindowsFixture.h"
#include "engine/Navigation.h"

namespace {

constexpr QRgb kRgbMask = 0x00FFFFFFu;

// Counts the pixels that are not what a rectangle inverted once over
// `before` leaves: inverted inside `rect`, untouched everywhere else.
int PixelsNotInvertedExactlyOnce(const QImage& before, const QImage& after, const QRect& rect)
{
    int wrong = 0;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            const QRgb original = before.pixel(x, y) & kRgbMask;
            const QRgb expected = rect.contains(x, y) ? (original ^ kRgbMask) : original;
            wrong += (after.pixel(x, y) & kRgbMask) != expected;
        }
    }
    return wrong;
}

// The point of the plane a picture pixel stands for, as the render maps it.
long double PlaneRe(const ViewRecord& v, int x) { return v.dwa - v.dwx / 2 + x * v.dwx / v.diImgW; }
long double PlaneIm(const ViewRecord& v, int y) { return v.dwb - v.dwy / 2 + y * v.dwy / v.diImgH; }

}  // namespace

class DrawingWindowTest : public WindowsFixture {
protected:
    // Names of the drawing commands that are enabled now.
    QStringList EnabledCommands() const
    {
        const std::pair<const char*, bool> states[] = {
            {"tbtnDrawAll", Find<QToolButton>(control, "tbtnDrawAll")->isEnabled()},
            {"tbtnDrawSelect", Find<QToolButton>(control, "tbtnDrawSelect")->isEnabled()},
            {"tbtnReDraw", Find<QToolButton>(control, "tbtnReDraw")->isEnabled()},
            {"tbtnCancel", Find<QToolButton>(control, "tbtnCancel")->isEnabled()},
            {"tbtnPrev", Find<QToolButton>(control, "tbtnPrev")->isEnabled()},
            {"tbtnNext", Find<QToolButton>(control, "tbtnNext")->isEnabled()},
            {"pmiSave", Find<QAction>(control, "pmiSave")->isEnabled()},
            {"pmiColorChange", Find<QMenu>(control, "pmiColorChange")->menuAction()->isEnabled()},
            {"pmiDrawSelect", Find<QAction>(drawing, "pmiDrawSelect")->isEnabled()},
            {"pmiReDraw", Find<QAction>(drawing, "pmiReDraw")->isEnabled()},
            {"pmiCancel", Find<QAction>(drawing, "pmiCancel")->isEnabled()},
            {"pmiPrev", Find<QAction>(drawing, "pmiPrev")->isEnabled()},
            {"pmiNext", Find<QAction>(drawing, "pmiNext")->isEnabled()},
            {"pmiDrawAll", Find<QMenu>(drawing, "pmiDrawAll")->menuAction()->isEnabled()},
            {"pmiExit", Find<QAction>(drawing, "pmiExit")->isEnabled()},
        };
        QStringList names;
        for (const auto& [name, enabled] : states)
            if (enabled)
                names << QString::fromLatin1(name);
        return names;
    }

    void SendMouse(QEvent::Type type, Qt::MouseButton button, int x, int y)
    {
        const QPointF local(x, y);
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, local, Find<TQVImage>(drawing, "imgQVView")->mapToGlobal(local), button, held, Qt::NoModifier);
        QApplication::sendEvent(Find<TQVImage>(drawing, "imgQVView"), &event);
    }
};

TEST_F(DrawingWindowTest, ZoomKeepsTheSumOfSidesAndCentresOnTheSelection)
{
    StartWholeView();
    const ViewRecord before = dpCurr;

    Drag(200, 100, 300, 150);
    Find<QToolButton>(control, "tbtnDrawSelect")->click();

    EXPECT_EQ(dpCurr.diImgW, 773);
    EXPECT_EQ(dpCurr.diImgH, 387);
    EXPECT_EQ(dpCurr.dinum, 2);
    EXPECT_EQ(dpCurr.diType, 1);
    EXPECT_NEAR(double(dpCurr.dwa), double(PlaneRe(before, 250)), 1e-15);
    EXPECT_NEAR(double(dpCurr.dwb), double(PlaneIm(before, 125)), 1e-15);
    EXPECT_NEAR(double(dpCurr.dwx), 100 * 3.6 / 580, 1e-15);
    EXPECT_NEAR(double(dpCurr.dwy), 50 * 3.6 / 580, 1e-15);
    EXPECT_NEAR(double(dpCurr.dwPitchX), 100 * 3.6 / 580 / 773, 1e-18);
    EXPECT_NEAR(double(dpCurr.dwPitchY), 50 * 3.6 / 580 / 387, 1e-18);
    ASSERT_EQ(BackStack.size(), 1u);
    EXPECT_EQ(BackStack.back()->view.dinum, 1);
    EXPECT_EQ(BackStack.back()->view.dwa, -0.5L);
    EXPECT_TRUE(ForwardStack.empty());
    // Fitted and rendered at the new size.
    EXPECT_EQ(dpCurr.diWinW, 779);
    EXPECT_EQ(drawing->size(), TfrmQVView::ClientSizeForPicture(773, 387));
    EXPECT_EQ(LastRenderedArea.columns, 773);
    EXPECT_EQ(LastRenderedArea.rows, 387);
    EXPECT_EQ(Readouts(), (QStringList{"-7.48E-001", "-1.02E+000", "6.21E-001", "3.10E-001", "8", "2", "2"}));
}

// 680 x 480 keeps the sum of the sides, so the zoom's picture keeps its size.
TEST_F(DrawingWindowTest, AZoomAfterAResizeByHandDrawsTheRegionSelectedOnThePictureOnScreen)
{
    StartWholeView();
    Zoom(200, 100, 300, 150);
    const QImage unresized = Picture();
    const QStringList readouts = Readouts();
    StepBack();

    ResizePictureByHand(680, 480);
    Zoom(200, 100, 300, 150);

    EXPECT_EQ(Readouts(), readouts);
    EXPECT_EQ(Picture(), unresized);
}

TEST_F(DrawingWindowTest, APictureSmallerThanTheWindowLeavesNothingOfAnOlderOneBeside)
{
    StartWholeView();
    const QRgb background = drawing->palette().color(QPalette::Window).rgb() & kRgbMask;
    // A flat band and a narrow column: the window stays at its minimum height or width.
    const QRect selections[] = {QRect(QPoint(100, 300), QPoint(400, 303)), QRect(QPoint(300, 100), QPoint(303, 400))};
    for (const QRect& band : selections) {
        ShowWholeView(1);
        Zoom(band.left(), band.top(), band.right(), band.bottom());
        const QRect picture(0, 0, dpCurr.diImgW, dpCurr.diImgH);
        const QRect shown(0, 0, drawing->width() - 1, drawing->height() - 1);
        ASSERT_NE(shown.united(picture), picture) << "nothing shown beside the picture";

        const QImage& surface = drawing->Picture();
        int wrong = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                QRgb expected = background;
                if (picture.contains(x, y)) {
                    const uint8_t n = IterationBuffer[BufferIndex(x, y)];
                    const ColorMapEntry& e = currentColorMap[n];
                    expected = n > 0 ? qRgb(e.red, e.green, e.blue) & kRgbMask : 0;
                }
                wrong += (surface.pixel(x, y) & kRgbMask) != expected;
            }
        }
        EXPECT_EQ(wrong, 0) << dpCurr.diImgW << 'x' << dpCurr.diImgH;
    }
}

TEST_F(DrawingWindowTest, ATallSelectionWithinTheLimitsIsNotClamped)
{
    StartWholeView();
    Zoom(100, 100, 110, 400);

    EXPECT_EQ(dpCurr.diImgW, 37);
    EXPECT_EQ(dpCurr.diImgH, 1123);
}

TEST_F(DrawingWindowTest, AZoomBeyondBothLimitsIsRefusedAndChangesNothing)
{
    // 1449 x 1449 is set directly: the settings clamp the height to 1200.
    StartWholeView(1449, 1449);
    Drag(100, 100, 232, 200);
    const ViewRecord before = dpCurr;

    DrawSelectedRegion();

    EXPECT_EQ(dialogs.errorTexts, QStringList{QStringLiteral("周囲計算致命的エラー")});
    EXPECT_EQ(dpCurr.diImgW, 1449);
    EXPECT_EQ(dpCurr.diImgH, 1449);
    EXPECT_EQ(dpCurr.dinum, 1);
    EXPECT_EQ(dpCurr.dwa, before.dwa);
    EXPECT_EQ(dpCurr.dwx, before.dwx);
    EXPECT_EQ(dpCurr.cdx, 132);
    EXPECT_EQ(dpCurr.cdy, 100);
    EXPECT_TRUE(BackStack.empty());
    EXPECT_TRUE(ForwardStack.empty());
    EXPECT_EQ(Find<QLabel>(control, "stDrawNest")->text(), QStringLiteral("1"));
}

TEST_F(DrawingWindowTest, AZoomTooWideIsClampedTo1600)
{
    StartWholeView(1500, 1000);
    Drag(100, 100, 500, 200);
    Find<QToolButton>(control, "tbtnDrawSelect")->click();

    EXPECT_TRUE(dialogs.errorTexts.isEmpty());
    EXPECT_EQ(dpCurr.diImgW, 1600);
    EXPECT_EQ(dpCurr.diImgH, 400);
    // The window stops at its limit; the picture keeps its width.
    EXPECT_EQ(drawing->OuterSize().width(), 1600);
    EXPECT_EQ(dpCurr.diWinW, 1606);
}

TEST_F(DrawingWindowTest, AZoomTooTallIsClampedTo1200)
{
    StartWholeView(1500, 1000);
    Drag(100, 100, 200, 500);
    Find<QToolButton>(control, "tbtnDrawSelect")->click();

    EXPECT_EQ(dpCurr.diImgW, 300);
    EXPECT_EQ(dpCurr.diImgH, 1200);
}

TEST_F(DrawingWindowTest, TheSelectionIsNormalisedWhicheverWayItIsDragged)
{
    StartWholeView();
    const SelectionFields expected{200, 100, 300, 150, 100, 50, 250, 125};

    Drag(200, 100, 300, 150);
    EXPECT_EQ(SelectionOf(dpCurr), expected);
    Drag(300, 150, 200, 100);
    EXPECT_EQ(SelectionOf(dpCurr), expected);
    Drag(200, 150, 300, 100);
    EXPECT_EQ(SelectionOf(dpCurr), expected);

    // Centres are truncated toward zero.
    Drag(8, 21, 3, 10);
    EXPECT_EQ(dpCurr.ccx, 5);
    EXPECT_EQ(dpCurr.ccy, 15);
    // The band may leave the picture; its coordinates are used as they come.
    Drag(500, 500, 700, 650);
    EXPECT_EQ(dpCurr.cex, 700);
    EXPECT_EQ(dpCurr.cey, 650);
}

TEST_F(DrawingWindowTest, ABareClickAfterASelectionErasesItAndKeepsItsFields)
{
    StartWholeView();
    const QImage original = Picture();
    Drag(200, 100, 300, 150);
    ASSERT_TRUE(Find<QToolButton>(control, "tbtnDrawSelect")->isEnabled());
    ASSERT_NE(Picture(), original);

    Click(100, 100);

    EXPECT_FALSE(Find<QToolButton>(control, "tbtnDrawSelect")->isEnabled());
    EXPECT_FALSE(Find<QAction>(drawing, "pmiDrawSelect")->isEnabled());
    EXPECT_TRUE(Find<QToolButton>(control, "tbtnReDraw")->isEnabled());
    EXPECT_TRUE(Find<QAction>(drawing, "pmiReDraw")->isEnabled());
    EXPECT_EQ(dpCurr.csx, 200);
    EXPECT_EQ(dpCurr.cey, 150);
    EXPECT_EQ(dpCurr.cdx, 100);
    EXPECT_EQ(dpCurr.ccy, 125);
    EXPECT_EQ(Picture(), original);
    // A later press does not invert the erased rectangle back.
    Click(10, 10);
    EXPECT_EQ(Picture(), original);
}

TEST_F(DrawingWindowTest, TheBandInvertsEachPixelOnceAndMovingBackRestoresThePicture)
{
    StartWholeView();
    const QImage original = Picture();

    Press(50, 50);
    drawing->imgQVViewMouseMove(150, 120);
    EXPECT_EQ(PixelsNotInvertedExactlyOnce(original, Picture(), QRect(50, 50, 100, 70)), 0);
    drawing->imgQVViewMouseMove(80, 70);
    EXPECT_EQ(PixelsNotInvertedExactlyOnce(original, Picture(), QRect(50, 50, 30, 20)), 0);
    drawing->imgQVViewMouseMove(50, 50);
    EXPECT_EQ(Picture(), original);
    drawing->imgQVViewMouseMove(20, 30);
    drawing->imgQVViewMouseUp(Qt::LeftButton, 20, 30);

    EXPECT_EQ(PixelsNotInvertedExactlyOnce(original, Picture(), QRect(20, 30, 30, 20)), 0);
    // The next press erases the finished rectangle.
    Press(400, 400);
    EXPECT_EQ(Picture(), original);
}

TEST_F(DrawingWindowTest, AReleaseAwayFromTheLastMoveFinishesAtTheReleasePoint)
{
    StartWholeView();
    const QImage original = Picture();

    Press(60, 60);
    drawing->imgQVViewMouseMove(100, 100);
    drawing->imgQVViewMouseUp(Qt::LeftButton, 130, 90);

    EXPECT_EQ(PixelsNotInvertedExactlyOnce(original, Picture(), QRect(60, 60, 70, 30)), 0);
    EXPECT_EQ(dpCurr.cex, 130);
    EXPECT_EQ(dpCurr.cey, 90);
    Press(400, 400);
    EXPECT_EQ(Picture(), original);
}

TEST_F(DrawingWindowTest, MouseEventsOnThePictureReachTheHandlers)
{
    StartWholeView();
    SendMouse(QEvent::MouseButtonPress, Qt::LeftButton, 200, 100);
    SendMouse(QEvent::MouseMove, Qt::NoButton, 250, 130);
    SendMouse(QEvent::MouseMove, Qt::NoButton, 300, 150);
    SendMouse(QEvent::MouseButtonRelease, Qt::LeftButton, 300, 150);

    EXPECT_EQ(dpCurr.cdx, 100);
    EXPECT_EQ(dpCurr.cdy, 50);
    EXPECT_TRUE(Find<QAction>(drawing, "pmiDrawSelect")->isEnabled());
}

TEST_F(DrawingWindowTest, LeftPressesAreIgnoredBeforeAnyPicture)
{
    CreateWindows();
    const QImage surface = Find<TQVImage>(drawing, "imgQVView")->Picture().copy(0, 0, 600, 600);

    Drag(10, 10, 50, 50);

    EXPECT_FALSE(drawing->Dragging());
    EXPECT_EQ(dpCurr.cdx, 0);
    EXPECT_EQ(Find<TQVImage>(drawing, "imgQVView")->Picture().copy(0, 0, 600, 600), surface);
    EXPECT_FALSE(Find<QToolButton>(control, "tbtnReDraw")->isEnabled());
    EXPECT_FALSE(Find<QAction>(drawing, "pmiReDraw")->isEnabled());
    EXPECT_FALSE(Find<QToolButton>(control, "tbtnDrawSelect")->isEnabled());
}

TEST_F(DrawingWindowTest, LeftPressesAreIgnoredWhileRendering)
{
    StartWholeView();
    bool sawRendering = false;
    bool draggingAfterPress = true;
    QTimer::singleShot(0, drawing, [&] {
        sawRendering = IsRendering;
        Press(10, 10);
        draggingAfterPress = drawing->Dragging();
        drawing->imgQVViewMouseMove(50, 50);
        drawing->imgQVViewMouseUp(Qt::LeftButton, 50, 50);
    });

    Find<QToolButton>(control, "tbtnReDraw")->click();

    EXPECT_TRUE(sawRendering);
    EXPECT_FALSE(draggingAfterPress);
    EXPECT_EQ(drawing->SelectionDelta().x(), 0);
    EXPECT_FALSE(Find<QToolButton>(control, "tbtnDrawSelect")->isEnabled());
}

TEST_F(DrawingWindowTest, CommandStatesFollowStartRenderSelectionAndClick)
{
    CreateWindows();
    EXPECT_EQ(EnabledCommands(), (QStringList{"tbtnDrawAll", "pmiSave", "pmiColorChange", "pmiDrawAll", "pmiExit"}));

    QStringList duringRender;
    QTimer::singleShot(0, drawing, [&] { duringRender = EnabledCommands(); });
    ShowWholeView(1);
    EXPECT_EQ(duringRender, (QStringList{"tbtnCancel", "pmiCancel", "pmiExit"}));
    EXPECT_EQ(EnabledCommands(),
              (QStringList{"tbtnDrawAll", "tbtnReDraw", "pmiSave", "pmiColorChange", "pmiReDraw", "pmiDrawAll", "pmiExit"}));

    Drag(200, 100, 300, 150);
    EXPECT_EQ(EnabledCommands(), (QStringList{"tbtnDrawAll", "tbtnDrawSelect", "pmiSave", "pmiColorChange",
                                              "pmiDrawSelect", "pmiDrawAll", "pmiExit"}));
    Drag(100, 100, 100, 100);
    EXPECT_EQ(EnabledCommands(),
              (QStringList{"tbtnDrawAll", "tbtnReDraw", "pmiSave", "pmiColorChange", "pmiReDraw", "pmiDrawAll", "pmiExit"}));
    // A drag of zero height is no rectangle either.
    Drag(200, 100, 300, 150);
    Drag(100, 100, 200, 100);
    EXPECT_FALSE(Find<QToolButton>(control, "tbtnDrawSelect")->isEnabled());
    EXPECT_TRUE(Find<QToolButton>(control, "tbtnReDraw")->isEnabled());

    Drag(200, 100, 300, 150);
    Find<QToolButton>(control, "tbtnDrawSelect")->click();
    EXPECT_EQ(EnabledCommands(), (QStringList{"tbtnDrawAll", "tbtnReDraw", "tbtnPrev", "pmiSave", "pmiColorChange",
                                              "pmiReDraw", "pmiPrev", "pmiDrawAll", "pmiExit"}));
}

TEST_F(DrawingWindowTest, BackAndForwardFromTheToolBarWalkTheHistory)
{
    StartWholeView();
    Drag(200, 100, 300, 150);
    Find<QToolButton>(control, "tbtnDrawSelect")->click();
    const ViewRecord second = dpCurr;
    Drag(100, 100, 300, 200);
    Find<QToolButton>(control, "tbtnDrawSelect")->click();
    EXPECT_EQ(NestReadouts(), (QStringList{"3", "3"}));
    EXPECT_TRUE(Find<QToolButton>(control, "tbtnPrev")->isEnabled());
    EXPECT_FALSE(Find<QToolButton>(control, "tbtnNext")->isEnabled());

    Find<QToolButton>(control, "tbtnPrev")->click();
    EXPECT_EQ(dpCurr.dinum, 2);
    EXPECT_EQ(dpCurr.dwa, second.dwa);
    EXPECT_EQ(NestReadouts(), (QStringList{"2", "3"}));
    EXPECT_TRUE(Find<QToolButton>(control, "tbtnPrev")->isEnabled());
    EXPECT_TRUE(Find<QToolButton>(control, "tbtnNext")->isEnabled());

    Find<QToolButton>(control, "tbtnPrev")->click();
    EXPECT_EQ(dpCurr.dinum, 1);
    EXPECT_EQ(dpCurr.dwa, -0.5L);
    EXPECT_EQ(dpCurr.diImgW, 580);
    EXPECT_EQ(drawing->size(), TfrmQVView::ClientSizeForPicture(580, 580));
    EXPECT_EQ(NestReadouts(), (QStringList{"1", "3"}));
    EXPECT_FALSE(Find<QToolButton>(control, "tbtnPrev")->isEnabled());
    EXPECT_FALSE(Find<QAction>(drawing, "pmiPrev")->isEnabled());
    EXPECT_TRUE(Find<QToolButton>(control, "tbtnNext")->isEnabled());

    // Forward shows again the view the second back step left.
    Find<QToolButton>(control, "tbtnNext")->click();
    EXPECT_EQ(dpCurr.dinum, 2);
    EXPECT_EQ(dpCurr.dwa, second.dwa);
    EXPECT_EQ(dpCurr.diImgW, second.diImgW);
    EXPECT_EQ(Find<QLabel>(control, "stDrawNestTotal")->text(), QStringLiteral("3"));

    // A zoom from the middle of the history drops what lay ahead.
    Drag(100, 100, 300, 200);
    Find<QToolButton>(control, "tbtnDrawSelect")->click();
    EXPECT_TRUE(ForwardStack.empty());
    EXPECT_FALSE(Find<QToolButton>(control, "tbtnNext")->isEnabled());
    EXPECT_EQ(NestReadouts(), (QStringList{"3", "3"}));
}

TEST_F(DrawingWindowTest, AZoomUsesTheParametersOfItsWholeView)
{
    StartWholeView();
    EditedParams.Gz.re = 9.0L;
    Zoom(200, 100, 300, 150);

    EXPECT_EQ(EditedParams.Gz.re, 1.01L);
    EXPECT_EQ(ActiveParams.Gz.re, 1.01L);
}

TEST_F(DrawingWindowTest, ResizingByHandSetsThePictureSizeAndRedrawKeepsCentreAndPitch)
{
    StartWholeView();
    const ViewRecord before = dpCurr;

    ResizePictureByHand(700, 500);

    EXPECT_EQ(dpCurr.diWinW, 706);
    EXPECT_EQ(dpCurr.diWinH, 500 + drawing->FrameHeight() + 2);
    EXPECT_EQ(dpCurr.diImgW, 700);
    EXPECT_EQ(dpCurr.diImgH, 500);
    // Nothing is rendered until the redraw.
    EXPECT_EQ(LastRenderedArea.columns, 580);
    EXPECT_EQ(dpCurr.dwx, before.dwx);

    Find<QToolButton>(control, "tbtnReDraw")->click();

    ExpectRedrawnAtSamePitch(before, 700, 500);
    EXPECT_EQ(dpCurr.dinum, 1);
    EXPECT_TRUE(BackStack.empty());
    EXPECT_EQ(LastRenderedArea.columns, 700);
    EXPECT_EQ(LastRenderedArea.rows, 500);
    EXPECT_EQ(drawing->size(), TfrmQVView::ClientSizeForPicture(700, 500));
}

TEST_F(DrawingWindowTest, AResizeDuringARedrawTakesEffectForTheNextRenderOnly)
{
    StartWholeView();
    QTimer::singleShot(0, drawing, [this] { drawing->resize(TfrmQVView::ClientSizeForPicture(400, 300)); });

    Find<QToolButton>(control, "tbtnReDraw")->click();

    EXPECT_EQ(LastRenderedArea.columns, 580);
    EXPECT_EQ(LastRenderedArea.rows, 580);
    EXPECT_EQ(dpCurr.diImgW, 400);
    EXPECT_EQ(dpCurr.diImgH, 300);
}

TEST_F(DrawingWindowTest, AResizeDuringAWholeViewLeavesThePictureSize)
{
    StartWholeView();
    QTimer::singleShot(0, drawing, [this] { drawing->resize(TfrmQVView::ClientSizeForPicture(400, 300)); });

    ShowWholeView(1);

    EXPECT_EQ(dpCurr.diImgW, 580);
    EXPECT_EQ(dpCurr.diImgH, 580);
    EXPECT_TRUE(drawing->IsTrackingResize());
}

TEST_F(DrawingWindowTest, ARenderAfterASelectionLeavesNothingForThePressToInvert)
{
    StartWholeView();
    Zoom(200, 100, 300, 150);
    Drag(100, 100, 300, 200);
    ASSERT_TRUE(Find<QToolButton>(control, "tbtnPrev")->isEnabled());

    Find<QToolButton>(control, "tbtnPrev")->click();
    const QImage rendered = Picture();
    Press(400, 400);

    EXPECT_EQ(Picture(), rendered);
}

TEST_F(DrawingWindowTest, AResizeWithoutTrackingLeavesThePictureSize)
{
    StartWholeView();
    drawing->SetTrackResize(false);
    drawing->resize(TfrmQVView::ClientSizeForPicture(400, 300));
    QApplication::processEvents();
    EXPECT_EQ(dpCurr.diImgW, 580);
    EXPECT_EQ(dpCurr.diImgH, 580);
}

TEST_F(DrawingWindowTest, ARightPressRecordsThePixelAndOpensThePopup)
{
    CreateWindows();
    QMenu* openedMenu = nullptr;
    QPoint openedAt;
    drawing->SetPopupRunner([&](QMenu* menu, QPoint at) {
        openedMenu = menu;
        openedAt = at;
    });

    drawing->imgQVViewMouseDown(Qt::RightButton, 30, 40);

    EXPECT_EQ(drawing->InspectedPixel().x(), 30);
    EXPECT_EQ(drawing->InspectedPixel().y(), 40);
    EXPECT_EQ(openedMenu, Find<QMenu>(drawing, "pmQVView"));
    EXPECT_EQ(openedAt, Find<TQVImage>(drawing, "imgQVView")->mapToGlobal(QPoint(30, 40)));
    EXPECT_EQ(drawing->PopupPosition(), openedAt);
    EXPECT_FALSE(drawing->Dragging());
}

TEST_F(DrawingWindowTest, TheCancelOfAPopupOpenedDuringARenderStopsIt)
{
    StartWholeView();
    bool cancelEnabled = false;
    drawing->SetPopupRunner([&](QMenu*, QPoint) {
        cancelEnabled = Find<QAction>(drawing, "pmiCancel")->isEnabled();
        Find<QAction>(drawing, "pmiCancel")->trigger();
    });
    QTimer::singleShot(0, drawing, [&] { SendMouse(QEvent::MouseButtonPress, Qt::RightButton, 30, 40); });

    Find<QToolButton>(control, "tbtnReDraw")->click();

    EXPECT_TRUE(cancelEnabled);
    EXPECT_EQ(drawing->InspectedPixel().x(), 30);
    EXPECT_LT(LastRenderedArea.columns, 580);
    EXPECT_TRUE(dpCurr.dbOK);
    EXPECT_TRUE(Find<QToolButton>(control, "tbtnReDraw")->isEnabled());
}

TEST_F(DrawingWindowTest, FitWindowToViewSizesTheWindowWithinItsLimits)
{
    CreateWindows();
    const ViewRecord startView = dpCurr;
    ViewRecord view = dpCurr;
    view.diImgW = 300;
    view.diImgH = 200;

    drawing->FitWindowToView(view);

    EXPECT_EQ(view.diWinW, 306);
    EXPECT_EQ(view.diWinH, 200 + drawing->FrameHeight() + 2);
    EXPECT_EQ(drawing->size(), TfrmQVView::ClientSizeForPicture(300, 200));
    EXPECT_EQ(drawing->OuterSize(), QSize(306, 202 + drawing->FrameHeight()));
    EXPECT_EQ(Find<TQVImage>(drawing, "imgQVView")->pos(), QPoint(1, 1));
    EXPECT_TRUE(drawing->IsTrackingResize());
    EXPECT_EQ(dpCurr.diImgW, startView.diImgW);

    view.diImgW = 1700;
    view.diImgH = 1300;
    drawing->FitWindowToView(view);
    EXPECT_EQ(view.diWinW, 1706);
    EXPECT_EQ(drawing->OuterSize(), QSize(1600, 1200));

    view.diImgW = 50;
    view.diImgH = 20;
    drawing->FitWindowToView(view);
    EXPECT_EQ(drawing->OuterSize(), QSize(150, 200));
    EXPECT_EQ(dpCurr.diImgW, startView.diImgW);
    EXPECT_EQ(dpCurr.diImgH, startView.diImgH);
}

TEST_F(DrawingWindowTest, ClosingOnlyHidesAndTheMainWindowCommandShowsTheControlWindow)
{
    StartWholeView();
    Zoom(200, 100, 300, 150);
    const ViewRecord before = dpCurr;

    drawing->close();

    EXPECT_FALSE(drawing->isVisible());
    EXPECT_EQ(frmQVView, drawing);
    EXPECT_EQ(dpCurr.dwa, before.dwa);
    EXPECT_EQ(BackStack.size(), 1u);
    EXPECT_FALSE(control->isVisible());
    Find<QAction>(drawing, "pmiActiveMain")->trigger();
    EXPECT_TRUE(control->isVisible());
}
