#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <tuple>
#include <utility>
#include <vector>

#include "EngineTestSupport.h"
#include "colour/views/PaletteViews.h"
#include "engine/EngineState.h"
#include "engine/Navigation.h"
#include "engine/NumberFormat.h"

namespace {

class NavigationTest : public ::testing::Test {
protected:
    void SetUp() override { ResetEngineState(); }
    void TearDown() override { ResetEngineState(); }

    static void SetPicture(int width, int height)
    {
        dpCurr.diImgW = width;
        dpCurr.diImgH = height;
    }

    static void Select(int csx, int csy, int cex, int cey) { SelectRectangle(dpCurr, csx, csy, cex, cey); }

    // The picture size of the zoom into the selection on a whole view of type 1.
    static std::pair<int, int> ZoomedSize(int width, int height, int csx, int csy, int cex, int cey)
    {
        WholeViewOf(1, width, height);
        Select(csx, csy, cex, cey);
        EXPECT_EQ(ComputeNextView(), ZoomResult::Ready);
        return {dpNext.diImgW, dpNext.diImgH};
    }

    // Left, top, right and bottom.
    static std::array<int, 4> EdgesOf(const IndicatorSquare& s) { return {s.left, s.top, s.right, s.bottom}; }

    // A whole view of the type on a picture of the given size, ready to zoom.
    static void WholeViewOf(int type, int width, int height)
    {
        SetPicture(width, height);
        SetUpWholeView(type);
    }
};

// ---- whole view -------------------------------------------------------------

TEST_F(NavigationTest, WholeViewOfEveryTypeOnSquarePicture)
{
    const long double expectedCentre[] = {0, -0.5L, 0, 0, 0, 0, -1.5L};
    for (int type = kFirstFormulaType; type <= kLastFormulaType; ++type) {
        ResetEngineState();
        WholeViewOf(type, 580, 580);
        EXPECT_EQ(dpCurr.diType, type);
        EXPECT_EQ(dpCurr.dinum, 1);
        EXPECT_EQ(dpCurr.dwx, 3.6L);
        EXPECT_EQ(dpCurr.dwy, 3.6L);
        EXPECT_EQ(dpCurr.dwPitchX, 3.6L / 580);
        EXPECT_EQ(dpCurr.dwPitchY, 3.6L / 580);
        EXPECT_EQ(dpCurr.dwa, expectedCentre[type]) << "type " << type;
        EXPECT_EQ(dpCurr.dwb, 0.0L) << "type " << type;
    }
}

TEST_F(NavigationTest, WholeViewMakesEditedParametersActive)
{
    EditedParams.Og = ComplexValue{0, 0.25L, -0.125L};
    EditedParams.Gz = ComplexValue{1, 2.0L, 3.0L};
    EditedParams.Mu = ComplexValue{0, -0.75L, 0.5L};
    WholeViewOf(4, 580, 580);
    EXPECT_EQ(PartsOf(ActiveParams.Og), PartsOf(EditedParams.Og));
    EXPECT_EQ(PartsOf(ActiveParams.Gz), PartsOf(EditedParams.Gz));
    EXPECT_EQ(PartsOf(ActiveParams.It), PartsOf(EditedParams.It));
    EXPECT_EQ(PartsOf(ActiveParams.Rm), PartsOf(EditedParams.Rm));
    EXPECT_EQ(PartsOf(ActiveParams.Mu), PartsOf(EditedParams.Mu));
    EXPECT_EQ(ActiveParams.It.re, 1.12L);
}

TEST_F(NavigationTest, WholeViewIsRememberedAsReference)
{
    WholeViewOf(2, 640, 480);
    EXPECT_EQ(KeptFieldsOf(WholeView), KeptFieldsOf(dpCurr));
    EXPECT_EQ(WholeView.diImgW, 640);
    EXPECT_EQ(WholeView.diImgH, 480);
    EXPECT_EQ(WholeView.dwx, dpCurr.dwx);
    EXPECT_EQ(WholeView.dwy, dpCurr.dwy);
}

TEST_F(NavigationTest, WholeViewKeepsSizesRenderFlagAndSelection)
{
    SetPicture(580, 400);
    dpCurr.diWinW = 586;
    dpCurr.diWinH = 432;
    dpCurr.dbOK = true;
    dpCurr.dinum = 9;
    Select(10, 20, 110, 70);
    SetUpWholeView(3);
    EXPECT_EQ(dpCurr.diImgW, 580);
    EXPECT_EQ(dpCurr.diImgH, 400);
    EXPECT_EQ(dpCurr.diWinW, 586);
    EXPECT_EQ(dpCurr.diWinH, 432);
    EXPECT_TRUE(dpCurr.dbOK);
    EXPECT_EQ(dpCurr.dinum, 1);
    EXPECT_EQ(SelectionOf(dpCurr), (SelectionFields{10, 20, 110, 70, 100, 50, 60, 45}));
}

TEST_F(NavigationTest, CentreParameterMovesOnlyTypesTwoToFive)
{
    EditedParams.Og = ComplexValue{0, 0.2L, 0.1L};
    WholeViewOf(3, 580, 580);
    EXPECT_EQ(dpCurr.dwa, 0.2L);
    EXPECT_EQ(dpCurr.dwb, 0.1L);

    SetUpWholeView(1);
    EXPECT_EQ(dpCurr.dwa, -0.5L);
    EXPECT_EQ(dpCurr.dwb, 0.0L);

    SetUpWholeView(6);
    EXPECT_EQ(dpCurr.dwa, -1.5L);
    EXPECT_EQ(dpCurr.dwb, 0.0L);

    for (int type = 2; type <= 5; ++type) {
        SetUpWholeView(type);
        EXPECT_EQ(dpCurr.dwa, 0.2L) << "type " << type;
        EXPECT_EQ(dpCurr.dwb, 0.1L) << "type " << type;
    }
}

TEST_F(NavigationTest, WideWholeViewTakesRealQuotientOfSides)
{
    WholeViewOf(1, 700, 500);
    const long double dwy = (500.0L / 700.0L) * 3.6L;
    EXPECT_EQ(dpCurr.dwx, 3.6L);
    EXPECT_EQ(dpCurr.dwy, dwy);
    EXPECT_NEAR(double(dpCurr.dwy), 2.5714285714285714, 1e-15);
    EXPECT_EQ(dpCurr.dwPitchX, 3.6L / 700);
    EXPECT_EQ(dpCurr.dwPitchY, dwy / 500);
}

TEST_F(NavigationTest, TallWholeViewIsTallerThanWide)
{
    WholeViewOf(1, 300, 900);
    EXPECT_EQ(dpCurr.dwy, (900.0L / 300.0L) * 3.6L);
    EXPECT_EQ(dpCurr.dwPitchY, dpCurr.dwy / 900);
}

// ---- zoom ---------------------------------------------------------------

TEST_F(NavigationTest, ZoomIntoSelectionOfSquarePicture)
{
    WholeViewOf(1, 580, 580);
    Select(200, 100, 300, 150);
    ASSERT_EQ(SelectionOf(dpCurr), (SelectionFields{200, 100, 300, 150, 100, 50, 250, 125}));
    const ViewRecord before = dpCurr;

    ASSERT_EQ(ComputeNextView(), ZoomResult::Ready);
    EXPECT_EQ(dpNext.diType, 1);
    EXPECT_EQ(dpNext.dinum, 2);
    EXPECT_EQ(dpNext.diImgW, 773);
    EXPECT_EQ(dpNext.diImgH, 387);

    const long double pX = 3.6L / 580;
    const long double pY = 3.6L / 580;
    EXPECT_EQ(dpNext.dwx, 100 * pX);
    EXPECT_EQ(dpNext.dwy, 50 * pY);
    EXPECT_EQ(dpNext.dwPitchX, dpNext.dwx / 773);
    EXPECT_EQ(dpNext.dwPitchY, dpNext.dwy / 387);
    EXPECT_EQ(dpNext.dwa, 250 * pX - 3.6L / 2 + -0.5L);
    EXPECT_EQ(dpNext.dwb, 125 * pY - 3.6L / 2 + 0.0L);
    // The selection's centre pixel, mapped as the render maps pixels.
    EXPECT_NEAR(double(dpNext.dwa), double((250 - 290) * 3.6L / 580 - 0.5L), 1e-15);
    EXPECT_NEAR(double(dpNext.dwb), double((125 - 290) * 3.6L / 580), 1e-15);

    EXPECT_EQ(dpCurr.dinum, before.dinum);
    EXPECT_EQ(dpCurr.dwa, before.dwa);
    EXPECT_EQ(dpCurr.diImgW, 580);
}

TEST_F(NavigationTest, ZoomedViewStartsFromTemplate)
{
    WholeViewOf(1, 580, 580);
    dpNext.dbOK = true;
    dpNext.diWinW = 999;
    dpNext.csx = 5;
    dpNext.cdx = 7;
    dpNext.ccy = 3;
    Select(200, 100, 300, 150);
    ASSERT_EQ(ComputeNextView(), ZoomResult::Ready);
    EXPECT_FALSE(dpNext.dbOK);
    EXPECT_EQ(dpNext.diWinW, 0);
    EXPECT_EQ(dpNext.diWinH, 0);
    EXPECT_EQ(SelectionOf(dpNext), SelectionFields{});
}

// A window enlarged, shrunk, or shrunk on one side by hand after the render:
// the selection and an inspected pixel still lie on the picture on screen,
// with its own size and centre pixel; only the next picture's size follows
// the window.
TEST_F(NavigationTest, SelectionAndPixelMapThroughThePictureOnScreenAfterAResize)
{
    WholeViewOf(1, 580, 580);
    LastRenderedArea = RenderedArea{580, 580, 580};
    Select(200, 100, 300, 150);
    ASSERT_EQ(ComputeNextView(), ZoomResult::Ready);
    const ViewRecord unresized = dpNext;
    const long double re = PixelPointRe(dpCurr, 100);
    const long double im = PixelPointIm(dpCurr, 500);

    const std::pair<int, int> pictures[] = {{700, 600}, {395, 599}, {580, 400}, {400, 580}};
    for (const auto& [width, height] : pictures) {
        SetPicture(width, height);
        Select(200, 100, 300, 150);
        ASSERT_EQ(ComputeNextView(), ZoomResult::Ready);
        EXPECT_EQ(std::make_tuple(dpNext.dwx, dpNext.dwy, dpNext.dwa, dpNext.dwb),
                  std::make_tuple(unresized.dwx, unresized.dwy, unresized.dwa, unresized.dwb)) << width << 'x' << height;
        EXPECT_EQ(dpNext.diImgW, RoundHalfUp(100 * ((width + height) / 150.0L)));
        EXPECT_EQ(dpNext.diImgH, RoundHalfUp(50 * ((width + height) / 150.0L)));
        EXPECT_EQ(PixelPointRe(dpCurr, 100), re);
        EXPECT_EQ(PixelPointIm(dpCurr, 500), im);
    }
}

TEST_F(NavigationTest, NarrowSelectionKeepsSumOfSides)
{
    EXPECT_EQ(ZoomedSize(580, 580, 100, 100, 110, 400), std::pair(37, 1123));
}

TEST_F(NavigationTest, SelectionExceedingBothLimitsIsRefused)
{
    WholeViewOf(1, 1449, 1449);
    Select(500, 600, 632, 700);
    const ViewRecord before = dpCurr;
    EXPECT_EQ(ComputeNextView(), ZoomResult::TooLarge);
    EXPECT_EQ(dpCurr.dinum, before.dinum);
    EXPECT_EQ(dpCurr.diImgW, 1449);
    EXPECT_EQ(dpCurr.diImgH, 1449);
    EXPECT_EQ(dpCurr.dwx, before.dwx);
    EXPECT_EQ(dpCurr.dwy, before.dwy);
    EXPECT_EQ(dpCurr.dwa, before.dwa);
    EXPECT_EQ(dpCurr.dwb, before.dwb);
    EXPECT_EQ(dpCurr.cdx, 132);
    EXPECT_EQ(dpCurr.cdy, 100);
}

TEST_F(NavigationTest, TooWideSelectionIsClampedToWidthLimit)
{
    EXPECT_EQ(ZoomedSize(1500, 1000, 0, 0, 400, 100), std::pair(1600, 400));
    EXPECT_EQ(dpNext.dwPitchX, dpNext.dwx / 1600);
    EXPECT_EQ(dpNext.dwPitchY, dpNext.dwy / 400);
}

TEST_F(NavigationTest, TooTallSelectionIsClampedToHeightLimit)
{
    EXPECT_EQ(ZoomedSize(1000, 1500, 0, 0, 100, 400), std::pair(300, 1200));
}

TEST_F(NavigationTest, WidthExactlyAtLimitIsNotTooLarge)
{
    // The width is Floor(1200 / 1201 * 1600 + 0.5).
    EXPECT_EQ(ZoomedSize(1600, 1201, 0, 0, 1600, 1201), std::pair(1599, 1200));
}

TEST_F(NavigationTest, HeightExactlyAtLimitIsNotTooLarge)
{
    // The height is Floor(1600 / 1700 * 1200 + 0.5).
    EXPECT_EQ(ZoomedSize(1700, 1200, 0, 0, 1700, 1200), std::pair(1600, 1129));
}

TEST_F(NavigationTest, SliverSelectionsGetOnePixelAcrossAndStayFinite)
{
    struct Case {
        int width, height, cdx, cdy, newWidth, newHeight;
    };
    const Case cases[] = {
        // The smallest drawing window holds a 144 x 168 picture.
        {144, 168, 1, 900, 1, 312},
        {144, 168, 900, 1, 312, 1},
        {1, 1, 1, 1, 1, 1},
        {1, 1, 1, 900, 1, 2},
        {2, 3, 900, 1, 5, 1},
        // Clamped to 1200 rows first, which leaves 0.4 of a column.
        {1500, 1000, 1, 3000, 1, 1200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << 'x' << c.height << " picture, " << c.cdx << 'x' << c.cdy);
        ResetEngineState();
        WholeViewOf(1, c.width, c.height);
        Select(50, 5, 50 + c.cdx, 5 + c.cdy);
        const ViewRecord before = dpCurr;

        ASSERT_EQ(ComputeNextView(), ZoomResult::Ready);
        EXPECT_EQ(std::pair(dpNext.diImgW, dpNext.diImgH), std::pair(c.newWidth, c.newHeight));
        EXPECT_EQ(dpNext.dwx, c.cdx * (before.dwx / c.width));
        EXPECT_EQ(dpNext.dwy, c.cdy * (before.dwy / c.height));

        // What the next redraw works with.
        dpCurr = dpNext;
        RecomputeExtents(dpCurr);
        for (const long double v : {dpCurr.dwx, dpCurr.dwy, dpCurr.dwPitchX, dpCurr.dwPitchY, dpCurr.dwa, dpCurr.dwb})
            EXPECT_TRUE(std::isfinite(v)) << double(v);
        EXPECT_GT(dpCurr.dwPitchX, 0.0L);
        EXPECT_GT(dpCurr.dwPitchY, 0.0L);
    }
}

TEST_F(NavigationTest, MissingSelectionOrPictureGivesNoZoom)
{
    WholeViewOf(1, 580, 580);
    dpNext.dinum = 42;

    Select(200, 100, 200, 150);
    EXPECT_EQ(ComputeNextView(), ZoomResult::NoSelection);
    Select(200, 100, 300, 100);
    EXPECT_EQ(ComputeNextView(), ZoomResult::NoSelection);
    Select(200, 100, 300, 150);
    dpCurr.diType = 0;
    EXPECT_EQ(ComputeNextView(), ZoomResult::NoSelection);

    EXPECT_EQ(dpNext.dinum, 42);
}

// ---- indicator --------------------------------------------------------------

TEST_F(NavigationTest, IndicatorOfSquareWholeViewCopiesWholePicture)
{
    WholeViewOf(1, 580, 580);
    const IndicatorScale scale = IndicatorScaleOf(dpCurr);
    EXPECT_EQ(scale.extent, 3.6L);
    EXPECT_EQ(scale.step, 0.028125L);
    EXPECT_EQ(scale.step, 3.6L / 128);
    EXPECT_EQ(EdgesOf(IndicatorSquareOf(dpCurr)), (std::array{0, 0, 580, 580}));
}

TEST_F(NavigationTest, IndicatorOfWidePictureCopiesCentredSquare)
{
    WholeViewOf(1, 700, 500);
    const IndicatorScale scale = IndicatorScaleOf(dpCurr);
    EXPECT_EQ(scale.extent, dpCurr.dwy);
    EXPECT_EQ(scale.step, dpCurr.dwy / 128);
    EXPECT_EQ(EdgesOf(IndicatorSquareOf(dpCurr)), (std::array{100, 0, 600, 500}));
}

TEST_F(NavigationTest, IndicatorOfTallPictureWithOddHeight)
{
    WholeViewOf(1, 400, 581);
    EXPECT_EQ(IndicatorScaleOf(dpCurr).extent, 3.6L);
    // r = 200, half the narrower side; centre (200, 290), the row truncated.
    EXPECT_EQ(EdgesOf(IndicatorSquareOf(dpCurr)), (std::array{0, 90, 400, 490}));
}

TEST_F(NavigationTest, CrossMarksOfViewOnWholeViewCentre)
{
    WholeViewOf(1, 580, 580);
    const CrossMarks marks = CrossMarksOf(dpCurr, WholeView, IndicatorScaleOf(dpCurr));
    EXPECT_EQ(marks.x, 64);
    EXPECT_EQ(marks.y, 64);
}

TEST_F(NavigationTest, CrossMarksOfZoomedView)
{
    WholeViewOf(1, 580, 580);
    const IndicatorScale scale = IndicatorScaleOf(dpCurr);
    Select(200, 100, 300, 150);
    ASSERT_EQ(ComputeNextView(), ZoomResult::Ready);
    dpCurr = dpNext;
    const CrossMarks marks = CrossMarksOf(dpCurr, WholeView, scale);
    // Centre offsets -0.2483 and -1.0241 from the whole view's: (1.5517 / S, 0.7759 / S).
    EXPECT_EQ(marks.x, 55);
    EXPECT_EQ(marks.y, 28);
}

TEST_F(NavigationTest, CrossMarksOutsideIndicatorAreZero)
{
    WholeViewOf(2, 580, 580);
    const IndicatorScale scale = IndicatorScaleOf(dpCurr);
    const long double half = scale.extent / 2;

    dpCurr.dwa = half;  // on the right edge: still inside
    dpCurr.dwb = -std::nextafter(half, 10.0L);
    CrossMarks marks = CrossMarksOf(dpCurr, WholeView, scale);
    EXPECT_EQ(marks.x, 128);
    EXPECT_EQ(marks.y, 0);

    dpCurr.dwa = std::nextafter(half, 10.0L);
    dpCurr.dwb = 0.5L;
    marks = CrossMarksOf(dpCurr, WholeView, scale);
    EXPECT_EQ(marks.x, 0);
    EXPECT_EQ(marks.y, RoundHalfUp((0.5L + half) / scale.step));
    EXPECT_EQ(marks.y, 82);  // (0.5 + 1.8) / 0.028125 = 81.78

    dpCurr.dwa = WholeView.dwa - 5;
    dpCurr.dwb = WholeView.dwb + 5;
    marks = CrossMarksOf(dpCurr, WholeView, scale);
    EXPECT_EQ(marks.x, 0);
    EXPECT_EQ(marks.y, 0);
}

TEST_F(NavigationTest, CrossMarksMeasureFromWholeViewCentre)
{
    EditedParams.Og = ComplexValue{0, 1.0L, -1.0L};
    WholeViewOf(3, 580, 580);
    const IndicatorScale scale = IndicatorScaleOf(dpCurr);
    dpCurr.dwa = 1.0L + 0.45L;
    dpCurr.dwb = -1.0L - 0.9L;
    const CrossMarks marks = CrossMarksOf(dpCurr, WholeView, scale);
    EXPECT_EQ(marks.x, 80);  // (0.45 + 1.8) / 0.028125 = 80
    EXPECT_EQ(marks.y, 32);  // (-0.9 + 1.8) / 0.028125 = 32
}

// ---- steps of the wheel and the keys ---------------------------------------

// The pointer's point stays under the pointer, mapped through the picture on
// screen, while the next picture takes the size the window has now.
TEST_F(NavigationTest, AWheelStepKeepsThePointUnderThePointerAndThePictureSize)
{
    WholeViewOf(1, 580, 580);
    LastRenderedArea = RenderedArea{580, 580, 580};
    dpCurr.dbOK = true;
    Select(10, 10, 50, 50);
    const long double p = 3.6L / 580;
    const std::pair<int, int> pictures[] = {{580, 580}, {700, 500}};
    for (const auto& [width, height] : pictures) {
        SetPicture(width, height);
        const PlanePoint under = PointOfPixel(dpCurr, PictureSize{580, 580}, 100, 100);
        ViewRecord next;
        ASSERT_TRUE(ViewAfterSteps(dpCurr, ShownPictureSize(dpCurr), {ViewStep{1, true, 100, 100}}, next));
        EXPECT_EQ(next.dwPitchX, p / 2);
        EXPECT_EQ(next.dwPitchY, p / 2);
        EXPECT_EQ(next.dwa, under.re - (100 - width / 2) * (p / 2));
        EXPECT_EQ(next.dwb, under.im - (100 - height / 2) * (p / 2));
        EXPECT_EQ(std::make_tuple(next.diType, next.dinum, next.diImgW, next.diImgH), std::make_tuple(1, 2, width, height));
        EXPECT_EQ(next.dwx, width * (p / 2));
        EXPECT_FALSE(next.dbOK);
        EXPECT_EQ(SelectionOf(next), SelectionFields{});
        const PlanePoint after = PointOfPixel(next, PictureSize{width, height}, 100, 100);
        EXPECT_NEAR(double(after.re - under.re), 0.0, 1e-18);
        EXPECT_NEAR(double(after.im - under.im), 0.0, 1e-18);
    }
    // On the square picture: half way from the centre to the pointer's point.
    SetPicture(580, 580);
    ViewRecord next;
    ASSERT_TRUE(ViewAfterSteps(dpCurr, ShownPictureSize(dpCurr), {ViewStep{1, true, 100, 100}}, next));
    EXPECT_NEAR(double(next.dwa), double(-0.5L - 95 * p), 1e-18);
    EXPECT_NEAR(double(next.dwb), double(-95 * p), 1e-18);
}

TEST_F(NavigationTest, KeyStepsZoomAboutTheCentreMoveByQuartersAndMerge)
{
    WholeViewOf(1, 580, 400);
    const PictureSize shown{580, 400};
    const ViewRecord whole = dpCurr;
    const auto after = [&](std::vector<ViewStep> steps) {
        ViewRecord next;
        EXPECT_TRUE(ViewAfterSteps(whole, shown, steps, next));
        return next;
    };
    const ViewRecord in = after({ViewStep{3}});
    EXPECT_EQ(std::make_tuple(in.dwa, in.dwb, in.dwPitchX, in.dwPitchY),
              std::make_tuple(whole.dwa, whole.dwb, whole.dwPitchX / 8, whole.dwPitchY / 8));
    EXPECT_EQ(after({ViewStep{-1}}).dwPitchX, whole.dwPitchX * 2);
    const ViewRecord moved = after({ViewStep{0, false, 0, 0, 1, -2}});
    EXPECT_EQ(moved.dwa, whole.dwa + 145 * whole.dwPitchX);
    EXPECT_EQ(moved.dwb, whole.dwb - 2 * 100 * whole.dwPitchY);
    EXPECT_EQ(moved.dwPitchX, whole.dwPitchX);
    EXPECT_EQ(moved.dinum, 2);
    ViewRecord deepest = whole;
    deepest.dinum = std::numeric_limits<int32_t>::max();
    ViewRecord next;
    ASSERT_TRUE(ViewAfterSteps(deepest, shown, {ViewStep{1}}, next));
    EXPECT_EQ(next.dinum, deepest.dinum);

    std::vector<ViewStep> steps;
    AddViewStep(steps, ViewStep{1, true, 10, 20});
    AddViewStep(steps, ViewStep{1, true, 10, 20});
    AddViewStep(steps, ViewStep{0, false, 0, 0, 1, 0});
    AddViewStep(steps, ViewStep{0, false, 0, 0, -1, 1});
    AddViewStep(steps, ViewStep{1, true, 11, 20});
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].zoom, 2);
    EXPECT_EQ(std::make_pair(steps[1].right, steps[1].down), std::make_pair(0, 1));
    // A later step starts from the picture the earlier ones would show.
    const ViewRecord inThenDown = after({ViewStep{1}, ViewStep{0, false, 0, 0, 0, 1}});
    EXPECT_EQ(inThenDown.dwb, whole.dwb + 100 * (whole.dwPitchY / 2));

    // Steps that come to nothing, or to numbers beyond the format's, are no step.
    std::vector<ViewStep> undone;
    AddViewStep(undone, ViewStep{1, true, 3, 3});
    AddViewStep(undone, ViewStep{-1, true, 3, 3});
    for (const std::vector<ViewStep>& nothing :
         {std::vector<ViewStep>{}, undone, {ViewStep{20000}}, {ViewStep{-20000}}})
        EXPECT_FALSE(ViewAfterSteps(whole, shown, nothing, next));
    EXPECT_FALSE(ViewAfterSteps(whole, PictureSize{3, 3}, {ViewStep{0, false, 0, 0, 1, 1}}, next));
    EXPECT_FALSE(ViewAfterSteps(whole, shown, {ViewStep{1}, ViewStep{-1}}, next));
}

TEST_F(NavigationTest, WheelDeltasMakeWholeStepsOf120)
{
    WheelSteps wheel;
    EXPECT_EQ(wheel.Take(120), 1);
    EXPECT_EQ(wheel.Take(40), 0);
    EXPECT_EQ(wheel.Take(40), 0);
    EXPECT_EQ(wheel.Take(50), 1);
    EXPECT_EQ(wheel.Take(-120), -1);  // the 10 left over turned the other way
    EXPECT_EQ(wheel.Take(-300), -2);
    EXPECT_EQ(wheel.Take(-60), -1);
    EXPECT_EQ(wheel.Take(std::numeric_limits<int>::max()), 1000);
}

}  // namespace
