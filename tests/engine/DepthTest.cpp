// Limits above 256, the ends of the orbits, the four colourings and the
// automatic limit: the render, the recolouring, the history and the
// pictures off screen.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>
#include <vector>

#include "FakeHost.h"
#include "colour/model/ColorMap.h"
#include "engine/AutomaticLimit.h"
#include "engine/CountColors.h"
#include "engine/EngineState.h"
#include "engine/Formulas.h"
#include "engine/History.h"
#include "engine/Navigation.h"
#include "engine/PictureRenderer.h"
#include "engine/Place.h"
#include "engine/PlaceView.h"
#include "engine/RenderDriver.h"

namespace {

class DepthTest : public ::testing::Test {
protected:
    void SetUp() override { ResetEngineState(); }
    void TearDown() override { ResetEngineState(); }

    // dpCurr as a view of type 1 at the given depth; WholeView the whole view.
    static void SetUpView(long double a, long double b, long double extentX, int width, int height,
                          const PictureDepth& depth)
    {
        dpCurr.diImgW = width;
        dpCurr.diImgH = height;
        SetUpWholeView(1);
        dpCurr.dwa = a;
        dpCurr.dwb = b;
        dpCurr.dwx = extentX;
        dpCurr.dwy = extentX * height / width;
        dpCurr.dwPitchX = dpCurr.dwx / width;
        dpCurr.dwPitchY = dpCurr.dwy / height;
        ActiveDepth = depth;
    }

    FakeHost host;
};

// Every colour word different and none black.
ColorMap DistinctMap()
{
    ColorMap map{};
    for (int i = 0; i < 256; ++i)
        map[size_t(i)] = ColorMapEntry{0, uint8_t(i), uint8_t(255 - i), uint8_t((i * 7 + 1) & 0xFF)};
    return map;
}

TEST(CountColors, CountsAboveTheMapRunThroughItAgainAndCapturedPointsAreBlack)
{
    const ColorMap map = DistinctMap();
    const auto entryOf = [&](EscapeCount n, int limit) {
        const ColorWord word = ColorWordOfCount(n, map, limit);
        for (int e = 0; e < 256; ++e)
            if (ColorWordOf(map[size_t(e)]) == word)
                return e;
        return word == kBlackWord ? -1 : -2;
    };
    for (const auto& [n, entry] : {std::pair{0, 0}, {1, 1}, {255, 255}, {256, 1}, {510, 255}, {511, 1}, {4095, 15}})
        EXPECT_EQ(entryOf(n, 4096), entry) << n;
    EXPECT_EQ(entryOf(4096, 4096), -1);
    EXPECT_EQ(entryOf(256, 256), -1);  // the limit of 256: as it always was
    EXPECT_EQ(BufferValueOfCount(511, 4096), 1);
    EXPECT_EQ(HistogramCounterOfCount(4096, 4096), kCapturedCounter);
}

// The logarithmic colouring spreads 0 .. L-1 over entries 1..255, the
// histogram colouring takes each count's share of smaller escaped counts.
TEST(CountColors, LogarithmAndHistogramSpreadCountsOverTheWholeMap)
{
    const CountPainter log(PictureDepth{65536, Coloring::Log});
    EXPECT_EQ(log.EntryOf(0), 1);
    EXPECT_EQ(log.EntryOf(65535), 255);
    EXPECT_EQ(log.EntryOf(65536), -1);
    int previous = 1;
    for (EscapeCount n = 0; n < 65536; n += 97) {
        EXPECT_GE(log.EntryOf(n), previous) << n;
        previous = log.EntryOf(n);
    }
    EXPECT_EQ(log.EntryOf(255), 1 + int(255 * std::log(256.0) / std::log(65536.0)));

    CountTally tally(1024);
    tally.Add(5);
    for (int i = 0; i < 3; ++i)
        tally.Add(900);
    tally.Add(1024);  // captured: not counted
    const CountPainter histogram(PictureDepth{1024, Coloring::Histogram}, &tally);
    EXPECT_EQ(tally.Escaped(), 4u);
    EXPECT_EQ(histogram.EntryOf(5), 1);
    EXPECT_EQ(histogram.EntryOf(900), 1 + 255 / 4);
    EXPECT_EQ(histogram.EntryOf(1023), 255);
}

// On two lines of points across many bands, every edge between a count j
// and j + 1 narrowed down to the last bits: j + f meets the neighbouring
// band's value there, so the smooth colouring has no step at the edge.
TEST(CountColors, TheSmoothCountIsContinuousAcrossTheEdgesOfTheBands)
{
    const Iteration what{1, {}, 4096};
    struct Sample {
        EscapeCount n;
        double mu;
    };
    const auto at = [&](long double cx, long double cy) {
        EscapeEnd end;
        const EscapeCount n = IteratePoint(what, cx, cy, &end);
        return Sample{n, ContinuousCount(n, end)};
    };
    int edges = 0;
    double widest = 0;
    for (const auto& [fromX, fromY, toX, toY] : {std::tuple{0.26L, 0.0L, 2.5L, 0.0L}, {-0.75L, 0.02L, -0.75L, 1.3L}}) {
        constexpr int kPoints = 3000;
        for (int i = 0; i < kPoints; ++i) {
            long double lo = i / (long double)kPoints, hi = (i + 1) / (long double)kPoints;
            const auto point = [&](long double t) { return at(fromX + (toX - fromX) * t, fromY + (toY - fromY) * t); };
            Sample a = point(lo), b = point(hi);
            if (a.n == b.n || std::abs(a.n - b.n) != 1 || a.n >= 4096 || b.n >= 4096)
                continue;
            for (int k = 0; k < 60 && hi - lo > 1e-18L; ++k) {
                const long double mid = (lo + hi) / 2;
                const Sample m = point(mid);
                (m.n == a.n ? lo : hi) = mid;
                (m.n == a.n ? a : b) = m;
            }
            if (a.n == b.n)
                continue;
            ++edges;
            widest = std::max(widest, std::fabs(a.mu - b.mu));
        }
    }
    EXPECT_GT(edges, 100);
    EXPECT_LT(widest, 1e-4);
    // The edges themselves: b = 10 gives 1, a = 10 gives 0.
    EXPECT_EQ(SmoothFraction(EscapeEnd{2.0f, 10.0f}), 1.0f);
    EXPECT_EQ(SmoothFraction(EscapeEnd{10.0f, 300.0f}), 0.0f);
    EXPECT_EQ(SmoothFraction(EscapeEnd{0.0f, 12.0f}), 1.0f);
}

TEST(AutomaticLimit, RaisesWhereCountsGoOnLowersWhereTheyStayFarBelowAndKeepsOtherwise)
{
    const auto next = [](int limit, uint64_t escaped, uint64_t captured, uint64_t upperHalf, int largest) {
        CountSummary s;
        s.limit = limit;
        s.escaped = escaped;
        s.captured = captured;
        s.upperHalf = upperHalf;
        s.smallest = escaped ? 1 : INT32_MAX;
        s.largest = escaped ? largest : -1;
        return NextAutomaticLimit(s);
    };
    EXPECT_EQ(next(256, 0, 1000, 0, 0), 1024);           // all captured
    EXPECT_EQ(next(256, 600, 400, 10, 250), 1024);       // 1 % in the upper half
    EXPECT_EQ(next(256, 600, 400, 9, 250), 256);         // less
    EXPECT_EQ(next(65536, 1000, 0, 0, 5000), 65536);     // 4 x 5000 needs 65536
    EXPECT_EQ(next(65536, 1000, 0, 0, 4000), 16384);
    EXPECT_EQ(next(4096, 1000, 0, 0, 10), 256);          // never below 256
    EXPECT_EQ(next(1048576, 0, 1000, 0, 0), 1048576);    // the highest stays
    EXPECT_EQ(next(5000, 1000, 0, 0, 1000), 4096);       // a limit between levels goes to a level
    EXPECT_EQ(next(4096, 0, 0, 0, 0), 4096);             // nothing computed
}

// A render at a high limit keeps every count whole and the end of every
// escaping orbit; the 8-bit buffer and the histogram hold the count
// colouring's entries.
TEST_F(DepthTest, ARenderAtAHighLimitKeepsWholeCountsAndTheEndsOfTheOrbits)
{
    SetUpView(-0.743643887037151L, 0.131825904205330L, 1e-10L, 48, 36, PictureDepth{65536, Coloring::Count});
    currentColorMap = DistinctMap();
    RenderView(host, dpCurr);
    const Iteration what{1, ActiveParams, 65536};
    const PlaneRegion region = dpCurr.Region();
    int above255 = 0;
    for (int x = 0; x < 48; ++x)
        for (int y = 0; y < 36; ++y) {
            EscapeEnd end;
            const EscapeCount n = IteratePoint(what, region.RenderRe(x), region.RenderIm(y), &end);
            const size_t i = size_t(BufferIndex(x, y));
            ASSERT_EQ(WholeCountBuffer[i], n) << x << "," << y;
            ASSERT_EQ(IterationBuffer[i], n < 65536 ? WrappedEntry(n) : 0);
            ASSERT_EQ(host.Pixel(x, y), ColorWordOfCount(n, currentColorMap, 65536));
            if (n < 65536) {
                ASSERT_EQ(EscapeEndBuffer[i], end);
            }
            above255 += n > 255 && n < 65536;
        }
    EXPECT_GT(above255, 1000);
    EXPECT_EQ(LastCountSummary.escaped + LastCountSummary.captured, 48u * 36u);
    EXPECT_LE(100 * LastCountSummary.captured, 48u * 36u);  // at most 1 % black
    EXPECT_GT(LastCountSummary.smallest, 255);
}

// Every colouring repaints from what the render kept: a picture drawn in the
// count colouring and recoloured is the picture drawn in that colouring.
TEST_F(DepthTest, EveryColouringRepaintsWithoutIteratingAsItsOwnRenderPaints)
{
    for (Coloring coloring : {Coloring::Log, Coloring::Smooth, Coloring::Histogram}) {
        SetUpView(-0.75L, 0.1L, 0.05L, 64, 48, PictureDepth{1024, coloring});
        FakeHost own;
        RenderView(own, dpCurr);
        ActiveDepth.coloring = Coloring::Count;
        FakeHost recoloured;
        RenderView(recoloured, dpCurr);
        ActiveDepth.coloring = coloring;
        RecolorPicture(recoloured);
        std::set<ColorWord> colours;
        for (int x = 0; x < 64; ++x)
            for (int y = 0; y < 48; ++y) {
                ASSERT_EQ(recoloured.Pixel(x, y), own.Pixel(x, y)) << ColoringName(coloring) << " " << x << "," << y;
                colours.insert(own.Pixel(x, y).value_or(0));
            }
        EXPECT_GT(colours.size(), 20u) << ColoringName(coloring);
    }
}

// Back and forward draw each view at its own limit and in its own colouring;
// the automatic limit gives a new view the limit the rule chose.
TEST_F(DepthTest, HistoryEntriesKeepTheirLimitAndColouring)
{
    SetUpView(-0.743643887037151L, 0.131825904205330L, 1e-6L, 32, 24, PictureDepth{256, Coloring::Count});
    AutomaticLimit = true;
    RenderView(host, dpCurr);
    const int chosen = NextAutomaticLimit(LastCountSummary);
    ASSERT_GT(chosen, 256);
    dpNext = dpCurr;
    dpNext.dinum = 2;
    ZoomHistoryStep(host);
    TakeLimitForNewView();
    EXPECT_EQ(ActiveDepth.limit, chosen);
    ActiveDepth.coloring = Coloring::Smooth;
    RenderView(host, dpCurr);

    GoBack(host);
    EXPECT_EQ(ActiveDepth, (PictureDepth{256, Coloring::Count}));
    EXPECT_EQ(LastCountSummary.limit, 256);
    GoForward(host);
    EXPECT_EQ(ActiveDepth, (PictureDepth{chosen, Coloring::Smooth}));
    EXPECT_EQ(LastCountSummary.limit, chosen);
}

// Off screen, at the view's own size, every colouring gives the screen's
// picture; bands at another size join into the whole, the histogram taken
// from the view's own counts for each.
TEST_F(DepthTest, PicturesOffScreenAreTheScreensInEveryColouringAndBandsJoin)
{
    for (Coloring coloring : kColorings) {
        SetUpView(-0.1225L, 0.7448L, 0.3L, 40, 30, PictureDepth{4096, coloring});
        currentColorMap = DistinctMap();
        RenderView(host, dpCurr);
        PictureJob job;
        job.region = PictureRegion{Iteration{1, ActiveParams, 4096}, dpCurr.Region()};
        job.width = 40;
        job.height = 30;
        job.colors = currentColorMap;
        job.coloring = coloring;
        job.threads = 2;
        const std::atomic<bool> never{false};
        std::vector<uint8_t> rgb(40 * 30 * 3);
        PictureRenderer(job).RenderRows(0, 30, rgb.data(), never);
        for (int x = 0; x < 40; ++x)
            for (int y = 0; y < 30; ++y) {
                const uint8_t* p = &rgb[(size_t(y) * 40 + size_t(x)) * 3];
                ASSERT_EQ(ColorWord(p[0] | p[1] << 8 | p[2] << 16), host.Pixel(x, y))
                    << ColoringName(coloring) << " " << x << "," << y;
            }

        job.width = 90;
        job.height = 70;
        job.samples = 2;
        std::vector<uint8_t> whole(90 * 70 * 3), bands(whole.size());
        PictureRenderer(job).RenderRows(0, 70, whole.data(), never);
        for (int first = 0; first < 70; first += 23)
            PictureRenderer(job).RenderRows(first, std::min(23, 70 - first), &bands[size_t(first) * 90 * 3], never);
        EXPECT_EQ(bands, whole) << ColoringName(coloring);
    }
}

// The smooth colouring of the whole view: no one-count bands, so many more
// colours, and no larger steps between neighbouring pixels than the count
// colouring's.
TEST(SmoothColouring, TheWholeViewHasManyMoreColoursAndNoLargerStepsBetweenNeighbours)
{
    struct Figures {
        size_t colours = 0;
        double meanStep = 0;
    };
    const auto figures = [](Coloring coloring) {
        PictureJob job;
        const FormulaParams params = StartupEditedParams();
        job.region = PictureRegion{Iteration{1, params}, WholeViewRegion(1, params.Og, PictureSize{580, 580})};
        job.width = job.height = 580;
        FillPresetColorMap(job.colors, kPresetSetting1);
        job.coloring = coloring;
        std::vector<uint8_t> rgb(580 * 580 * 3);
        const std::atomic<bool> never{false};
        PictureRenderer(job).RenderRows(0, 580, rgb.data(), never);
        Figures f;
        std::set<uint32_t> colours;
        double steps = 0;
        long pairs = 0;
        for (int y = 0; y < 580; ++y)
            for (int x = 0; x < 580; ++x) {
                const uint8_t* p = &rgb[(size_t(y) * 580 + size_t(x)) * 3];
                colours.insert(uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]);
                for (const uint8_t* q : {x + 1 < 580 ? p + 3 : nullptr, y + 1 < 580 ? p + 580 * 3 : nullptr})
                    if (q) {
                        steps += std::abs(p[0] - q[0]) + std::abs(p[1] - q[1]) + std::abs(p[2] - q[2]);
                        ++pairs;
                    }
            }
        f.colours = colours.size();
        f.meanStep = steps / double(pairs);
        return f;
    };
    const Figures count = figures(Coloring::Count);
    const Figures smooth = figures(Coloring::Smooth);
    EXPECT_GE(smooth.colours, 8 * count.colours) << count.colours << " against " << smooth.colours;
    EXPECT_LE(smooth.meanStep, count.meanStep);
}

// A place of the first version opens at 256 in the count colouring; one at
// another depth comes back with it; a bad limit or colouring is refused with
// the value named, and the place read into stays as it was.
TEST_F(DepthTest, PlacesCarryTheDepthAndRefuseABadOneNamingIt)
{
    SetUpView(-0.75L, 0.1L, 0.05L, 64, 48, PictureDepth{65536, Coloring::Smooth});
    Place deep = PlaceOfCurrentView();
    const std::string text = FormatPlace(deep);
    ASSERT_EQ(text.rfind("quorvex-place 2\n", 0), 0u);
    Place read;
    std::string reason;
    ASSERT_TRUE(ParsePlace(text, read, reason)) << reason;
    EXPECT_EQ(FormatPlace(read), text);
    EXPECT_EQ((PictureDepth{read.limit, read.coloring}), (PictureDepth{65536, Coloring::Smooth}));

    Place plain = deep;
    plain.limit = kDefaultIterationLimit;
    plain.coloring = Coloring::Count;
    const std::string first = FormatPlace(plain);
    ASSERT_EQ(first.rfind("quorvex-place 1\n", 0), 0u);
    EXPECT_EQ(first.find("limit"), std::string::npos);
    ASSERT_TRUE(ParsePlace(first, read = deep, reason)) << reason;
    EXPECT_EQ((PictureDepth{read.limit, read.coloring}), PictureDepth{});

    // The text with the line that starts with `from` (a key or the format
    // line) put as `to`.
    const auto with = [&](const std::string& from, const std::string& to) {
        std::string t = text;
        const size_t at = t.find("\n" + from.substr(0, from.find(' '))) + 1;
        t.replace(at, t.find('\n', at) - at, to);
        return t;
    };
    const std::pair<std::string, std::string> bad[] = {
        {with("limit 65536", "limit 65537"), "65537"},
        {with("limit 65536", "limit 2097152"), "2097152"},
        {with("limit 65536", "limit 0"), "（0）"},
        {with("coloring smooth", "coloring rainbow"), "「rainbow」"},
        {with("coloring smooth", "coloring Smooth"), "「Smooth」"},
        {with("limit 65536", "limit 65536\nlimit 1024"), "「limit」が二度"},
        {with("coloring smooth", ""), "「coloring」がありません"},
        {"quorvex-place 1" + text.substr(text.find('\n')), "知らない項目「limit」"},
    };
    for (const auto& [badText, named] : bad) {
        Place kept = plain;
        EXPECT_FALSE(ParsePlace(badText, kept, reason)) << named;
        EXPECT_NE(reason.find(named), std::string::npos) << "wanted " << named << ", got " << reason;
        EXPECT_EQ(FormatPlace(kept), first) << named;
    }
}

}  // namespace
