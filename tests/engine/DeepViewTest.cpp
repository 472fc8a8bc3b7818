#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "../../bench/DeepTruth.h"
#include "EngineTestSupport.h"
#include "colour/views/PaletteViews.h"
#include "engine/DeepView.h"
#include "engine/Formulas.h"
#include "engine/Navigation.h"
#include "engine/PictureRenderer.h"
#include "engine/Place.h"
#include "engine/PlaceView.h"
#include "engine/RenderDriver.h"
#include "render/RenderOptions.h"

namespace {

class DeepViewTest : public ::testing::Test {
protected:
    void SetUp() override { ResetEngineState(); }
    void TearDown() override
    {
        ResetEngineState();
        unsetenv("QUORVEX_THREADS");
    }

    static void StartWholeView(int type, int width, int height)
    {
        dpCurr.diImgW = width;
        dpCurr.diImgH = height;
        SetUpWholeView(type);
    }

    // A view of type 1 at the given centre whose pixels are 2^pitchExponent.
    static void StartView(long double re, long double im, int pitchExponent, int size, int limit)
    {
        StartWholeView(1, size, size);
        dpCurr.dwa = re;
        dpCurr.dwb = im;
        dpCurr.dwPitchX = dpCurr.dwPitchY = std::ldexp(1.0L, pitchExponent);
        RecomputeExtents(dpCurr);
        ActiveDepth.limit = limit;
    }

    FakeHost host;
};

// a + b exactly, in bits enough for any of these tests.
PreciseReal Sum(const PreciseReal& a, long double b)
{
    return a.Plus(b, 12000);
}

// |a - b| in units of the pixel.
long double PixelsApart(const PreciseReal& a, const PreciseReal& b, long double pixel)
{
    PreciseReal d(0.0L, 12000);
    mpfr_sub(d.Set(), a.Get(), b.Get(), MPFR_RNDN);
    return std::fabs(d.Rounded() / pixel);
}

// The whole counts the last render left, row after row.
std::vector<EscapeCount> RenderedCounts(int width, int height)
{
    std::vector<EscapeCount> counts;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            counts.push_back(WholeCountBuffer[size_t(BufferIndex(x, y))]);
    return counts;
}

TEST_F(DeepViewTest, PreciseCentreSurvivesStepsHistoryPlacesAndTheClipboardPast1e300)
{
    StartWholeView(1, 48, 40);
    RenderView(host, dpCurr);
    const ViewRecord whole = dpCurr;
    // Two wheel turns: 2^1000 about pixel (30, 17), then 2^2400 about (5, 33)
    // with a move; the centre ends near 10^-1024 of a pixel's worth of digits.
    const std::vector<std::vector<ViewStep>> turns = {{ViewStep{1000, true, 30, 17}},
                                                      {ViewStep{2400, true, 5, 33}, ViewStep{0, false, 0, 0, 1, -1}}};
    PreciseReal re(dpCurr.dwa), im(dpCurr.dwb);
    std::vector<PreciseCentre> centres;
    for (const std::vector<ViewStep>& steps : turns) {
        DepthLimit limit = DepthLimit::None;
        ASSERT_TRUE(ViewAfterSteps(dpCurr, ShownPictureSize(dpCurr), steps, dpNext, CurrentCentre, &NextCentre, &limit));
        // The same steps in exact arithmetic: the point under the pixel is kept.
        ViewRecord at = dpCurr;
        for (const ViewStep& s : steps) {
            const long double p = at.dwPitchX, q = std::ldexp(p, -s.zoom);
            if (s.atPixel) {
                re = Sum(Sum(re, (s.x - at.diImgW / 2) * p), -(s.x - at.diImgW / 2) * q);
                im = Sum(Sum(im, (s.y - at.diImgH / 2) * p), -(s.y - at.diImgH / 2) * q);
            }
            re = Sum(re, s.right * (at.diImgW / 4) * q);
            im = Sum(im, s.down * (at.diImgH / 4) * q);
            at.dwPitchX = at.dwPitchY = q;
        }
        ZoomHistoryStep(host);
        RenderView(host, dpCurr);
        ASSERT_FALSE(CurrentCentre.Empty());
        EXPECT_LT(PixelsApart(CurrentCentre.Re(), re, dpCurr.dwPitchX), 1e-6L);
        EXPECT_LT(PixelsApart(CurrentCentre.Im(), im, dpCurr.dwPitchY), 1e-6L);
        // The record's fields are the rounding, pixels away from the centre.
        EXPECT_EQ(dpCurr.dwa, CurrentCentre.Re().Rounded());
        EXPECT_GT(PixelsApart(PreciseReal(dpCurr.dwa), re, dpCurr.dwPitchX), 5.0L);
        centres.push_back(CurrentCentre);
    }
    EXPECT_LT(dpCurr.dwx, 1e-1020L);

    GoBack(host);
    EXPECT_EQ(CurrentCentre, centres[0]);
    GoForward(host);
    EXPECT_EQ(CurrentCentre, centres[1]);

    // A place, as a file or the clipboard carries it, brings the very centre back.
    const std::string text = FormatPlace(PlaceOfCurrentView());
    EXPECT_EQ(text.rfind("quorvex-place 2\n", 0), 0u);
    Place read;
    std::string reason;
    ASSERT_TRUE(ParsePlace(text, read, reason)) << reason;
    SetUpPlace(read);
    EXPECT_EQ(NextCentre, centres[1]);
    EXPECT_EQ(RegionOfPlace(read).centre, centres[1]);

    // Digits that are no number, or that are not the 80-bit field's, are refused.
    const size_t at = text.find("centre-re-digits");
    std::string garbled = text;
    garbled.replace(garbled.find(' ', at + 17) + 1, 0, "x");
    EXPECT_FALSE(ParsePlace(garbled, read, reason));
    std::string moved = text;
    moved.replace(moved.find("0x", at), 2, "-0x");
    EXPECT_FALSE(ParsePlace(moved, read, reason));
    EXPECT_NE(reason.find("centre-re"), std::string::npos) << reason;

    // Pixel information: the pixel's own point with the digits that matter, and its count.
    const PixelInformation info = InspectPixel(dpCurr, 7, 30, currentColorMap);
    const PreciseReal pointRe = ParsePrecise(info.reFull).value;
    const PreciseReal pointIm = ParsePrecise(info.imFull).value;
    EXPECT_LT(PixelsApart(pointRe, Sum(centres[1].Re(), (7 - 24) * dpCurr.dwPitchX), dpCurr.dwPitchX), 0.01L);
    EXPECT_LT(PixelsApart(pointIm, Sum(centres[1].Im(), (30 - 20) * dpCurr.dwPitchY), dpCurr.dwPitchY), 0.01L);
    EXPECT_FALSE(info.count.empty());

    // Back to the whole view: exactly it, and no precise centre left.
    GoBack(host);
    GoBack(host);
    EXPECT_TRUE(CurrentCentre.Empty());
    EXPECT_EQ(KeptFieldsOf(dpCurr), KeptFieldsOf(whole));
}

TEST_F(DeepViewTest, RenderTakesTheDeepRendererWhereTheDirectKernelsDrawBlocks)
{
    // c = i, a point of the boundary 80-bit numbers hold exactly. Pixels of
    // 2^13 units of the centre: the direct kernels, today's picture.
    const int size = 20;
    StartView(0, 1, -50, size, 2000);
    RenderView(host, dpCurr);
    const PlaneRegion region = dpCurr.Region();
    const Iteration what{1, ActiveParams, 2000};
    std::vector<EscapeCount> direct;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            direct.push_back(IteratePoint(what, region.RenderRe(x), region.RenderIm(y)));
    EXPECT_EQ(RenderedCounts(size, size), direct);

    // Half a unit: the direct kernels' neighbouring pixels are one point; the
    // render is the MPFR truth's wherever the truth is settled.
    StartView(0, 1, -64, size, 2000);
    RenderView(host, dpCurr);
    const DeepJob job = DeepJobOf(1, ActiveParams, dpCurr.Region(), CurrentCentre, 2000);
    const std::vector<uint32_t> truth = TruthCounts(job, 0, size, 0, 2);
    const std::vector<EscapeCount> deep = RenderedCounts(size, size);
    int settled = 0, wrong = 0, blocks = 0;
    for (int i = 0; i < size * size; ++i) {
        const int x = i % size, y = i / size;
        if (!TruthSettled(job, x, y, truth[size_t(i)]))
            continue;
        ++settled;
        wrong += deep[size_t(i)] != EscapeCount(truth[size_t(i)]);
        blocks += IteratePoint(what, dpCurr.Region().RenderRe(x), dpCurr.Region().RenderIm(y)) !=
                  EscapeCount(truth[size_t(i)]);
    }
    EXPECT_GT(settled, size * size * 9 / 10);
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(blocks, 0);  // what the direct kernels would have drawn
}

TEST_F(DeepViewTest, SamePictureWithAnyThreadsAndInBands)
{
    // Near c = i, pixels of 2^-90: the boundary runs through every such view.
    StartView(0, 1, -90, 24, 1024);
    dpCurr.diImgW = 24;
    dpCurr.diImgH = 18;
    RecomputeExtents(dpCurr);
    CurrentCentre = PreciseCentre(Sum(PreciseReal(0.0L), 3e-27L), Sum(PreciseReal(1.0L), -5e-27L));
    dpCurr.dwa = CurrentCentre.Re().Rounded();
    dpCurr.dwb = CurrentCentre.Im().Rounded();
    ActiveDepth.coloring = Coloring::Smooth;
    setenv("QUORVEX_THREADS", "1", 1);
    RenderView(host, dpCurr);
    const std::vector<EscapeCount> one = RenderedCounts(24, 18);
    const std::vector<EscapeEnd> ends(EscapeEndBuffer.begin(), EscapeEndBuffer.end());
    setenv("QUORVEX_THREADS", "3", 1);
    RenderView(host, dpCurr);
    EXPECT_EQ(RenderedCounts(24, 18), one);
    EXPECT_TRUE(std::equal(ends.begin(), ends.end(), EscapeEndBuffer.begin()));

    // Off screen, anti-aliased: the whole picture, and bands of it, with any threads.
    PictureJob job;
    job.region = RegionOfPlace(PlaceOfCurrentView());
    job.width = 24;
    job.height = 18;
    job.samples = 2;
    job.coloring = Coloring::Smooth;
    job.colors = currentColorMap;
    const std::atomic<bool> never{false};
    std::vector<uint8_t> whole(24 * 18 * 3), banded(whole.size());
    job.threads = 1;
    ASSERT_TRUE(PictureRenderer(job).RenderRows(0, 18, whole.data(), never));
    job.threads = 3;
    PictureRenderer second(job);
    ASSERT_TRUE(second.RenderRows(0, 7, banded.data(), never));
    ASSERT_TRUE(PictureRenderer(job).RenderRows(7, 11, banded.data() + 7 * 24 * 3, never));
    EXPECT_EQ(whole, banded);
    // Not one colour: the view shows the set's edge.
    EXPECT_GT(std::count(whole.begin(), whole.end(), whole[0]), 0);
    EXPECT_LT(std::count(whole.begin(), whole.end(), whole[0]), long(whole.size()) * 9 / 10);
    std::set<EscapeCount> counts(one.begin(), one.end());
    EXPECT_GT(counts.size(), 10u);
}

TEST_F(DeepViewTest, AutomaticLimitRisesFromTheDeepRenderersCounts)
{
    // The seahorse valley at 10^-20: nothing escapes within 256 steps.
    const PreciseReal re = ParsePrecise("-0.743643887037158704752191506114774").value;
    const PreciseReal im = ParsePrecise("0.131825904205311970493132056385139").value;
    StartView(re.Rounded(), im.Rounded(), -70, 16, 256);
    CurrentCentre = PreciseCentre(re, im);
    AutomaticLimit = true;
    for (int round = 0; round < 4 && ActiveDepth.limit < 16384; ++round) {
        RenderView(host, dpCurr);
        EXPECT_EQ(LastCountSummary.captured, 256u);
        TakeLimitForNewView();
    }
    EXPECT_EQ(ActiveDepth.limit, 16384);
    RenderView(host, dpCurr);
    EXPECT_GT(LastCountSummary.escaped, 200u);
}

TEST_F(DeepViewTest, RationalAndExponentialMapsStopWhereEightyBitsStopAndOthersAtTheSmallestPixel)
{
    for (int type : {5, 6}) {
        StartWholeView(type, 40, 40);
        ViewRecord next;
        DepthLimit limit = DepthLimit::None;
        EXPECT_TRUE(ViewAfterSteps(dpCurr, ShownPictureSize(dpCurr), {ViewStep{40, true, 10, 10}}, next, {}, nullptr,
                                   &limit));
        EXPECT_FALSE(ViewAfterSteps(dpCurr, ShownPictureSize(dpCurr), {ViewStep{60, true, 10, 10}}, next, {}, nullptr,
                                    &limit));
        EXPECT_EQ(limit, DepthLimit::EightyBits) << type;
        // The rectangle zoom too, from a view just above the limit.
        ASSERT_TRUE(ViewAfterSteps(dpCurr, ShownPictureSize(dpCurr), {ViewStep{46}}, dpCurr)) << type;
        SelectRectangle(dpCurr, 10, 10, 14, 14);
        EXPECT_EQ(ComputeNextView(), ZoomResult::TooDeep) << type;
    }
    StartWholeView(1, 40, 40);
    DepthLimit limit = DepthLimit::None;
    ViewRecord next;
    EXPECT_TRUE(ViewAfterSteps(dpCurr, ShownPictureSize(dpCurr), {ViewStep{16300, true, 3, 3}}, next, {}, nullptr,
                               &limit));
    for (int zoom : {16320, 19000}) {
        limit = DepthLimit::None;
        EXPECT_FALSE(ViewAfterSteps(dpCurr, ShownPictureSize(dpCurr), {ViewStep{zoom, true, 3, 3}}, next, {}, nullptr,
                                    &limit));
        EXPECT_EQ(limit, DepthLimit::Smallest) << zoom;
    }
    // A place finer than that is refused as it is read.
    Place tiny = PlaceOfCurrentView();
    tiny.pixelRe = tiny.pixelIm = 0x1p-16330L;
    tiny.extentRe = tiny.extentIm = 40 * 0x1p-16330L;
    Place read;
    std::string reason;
    EXPECT_FALSE(ParsePlace(FormatPlace(tiny), read, reason));
    EXPECT_NE(reason.find("2^-16318"), std::string::npos) << reason;
}

TEST_F(DeepViewTest, CommandLineCentreTakesDecimalsOfAnyLength)
{
    const std::string digits = "-0.74364388703715870475219150611477405" + std::string(300, '3');
    RenderOptions o;
    std::string error;
    ASSERT_TRUE(ParseRenderOptions({"--type", "1", "--centre", digits + ",0.125", "--extent", "1e-300,1e-300",
                                    "--size", "8x8", "-o", "out.png"},
                                   o, error))
        << error;
    EXPECT_EQ(o.centreReDigits, digits);
    EXPECT_TRUE(o.centreImDigits.empty());  // 0.125 is its own long double
    EXPECT_EQ(o.centreRe, ParsePrecise(digits).value.Rounded());
    EXPECT_FALSE(ParseRenderOptions({"--type", "1", "--centre", "nan,0", "--extent", "1,1", "--size", "8x8", "-o",
                                     "out.png"},
                                    o, error));
}

}  // namespace
