// Julia sets: the kernels against the plain loop, the view in the history,
// the place's Julia point and the preview's pictures.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "../../bench/JuliaViews.h"
#include "EngineTestSupport.h"
#include "engine/ColumnKernels.h"
#include "engine/DeepView.h"
#include "engine/Formulas.h"
#include "engine/History.h"
#include "engine/JuliaPreview.h"
#include "engine/JuliaView.h"
#include "engine/Navigation.h"
#include "engine/Place.h"
#include "engine/PictureRenderer.h"
#include "engine/PlaceView.h"
#include "engine/RenderDriver.h"

namespace {

// Named points, random c for every formula (real and not), views through 0
// and far out: a share of bench_render --verify.
TEST(JuliaKernels, CountAsThePlainLoopForEveryFormula)
{
    for (const VerifyView& v : MakeJuliaVerifyViews(4))
        EXPECT_EQ(CountMismatches(v, 32, 24), 0) << v.name << " at " << v.centreX << " + " << v.centreY << "i";
}

// For a c off the real axis the set is not its own mirror image: a column
// symmetric about the axis has rows whose conjugates differ, and the
// kernels must not copy them. The even map z^2 + c is symmetric under
// z -> -z for every c, which the plain loop shows for z^2 + c.
TEST(JuliaKernels, NoMirrorRowsForANonRealC)
{
    constexpr int kRows = 101;
    std::vector<long double> cy(kRows);
    for (int i = 0; i < kRows; ++i)
        cy[size_t(i)] = (i - kRows / 2.0L) * 2.4L / kRows;  // cy[i] = -cy[kRows - i]
    for (int type = kFirstFormulaType; type <= kLastFormulaType; ++type) {
        SCOPED_TRACE(type);
        const Iteration what{type, StartupEditedParams(), 256, JuliaPoint::At(-0.8L, 0.156L)};
        for (long double cx : {0.0L, 0.31L}) {
            std::vector<EscapeCount> column(kRows);
            IterateColumn(what, cx, cy.data(), kRows, column.data());
            int asymmetric = 0;
            for (int i = 1; i < kRows; ++i) {
                ASSERT_EQ(column[size_t(i)], IteratePoint(what, cx, cy[size_t(i)])) << cx << " + " << cy[size_t(i)] << "i";
                asymmetric += IteratePoint(what, cx, cy[size_t(i)]) != IteratePoint(what, cx, -cy[size_t(i)]);
            }
            if (cx != 0 || (type != 1 && type != 3 && type != 6)) {
                EXPECT_GT(asymmetric, 0) << "the view tests no asymmetry at " << cx;
            }
        }
    }
    const Iteration square{1, {}, 256, JuliaPoint::At(-0.8L, 0.156L)};
    for (long double x : {0.1L, -0.37L, 1.2L})
        EXPECT_EQ(IteratePoint(square, x, 0.2L), IteratePoint(square, -x, -0.2L));
}

// A lane that takes up a point escaping at once after one that took steps
// gives it the end of its own orbit, as the plain loop does: |z0|^2 before.
TEST(JuliaKernels, AnOrbitEscapingAtOnceAfterALongOneEndsAsThePlainLoop)
{
    const std::vector<long double> cy{0.9L, 0.95L, 4.0L, 4.1L, 0.5L, 5.0L};
    for (const Iteration& what : {Iteration{2, {}}, Iteration{3, {}}, Iteration{2, {}, 256, JuliaPoint::At(0.2L, 0.1L)}}) {
        std::vector<EscapeCount> counts(cy.size());
        std::vector<EscapeEnd> ends(cy.size());
        IterateColumn(what, 0.01L, cy.data(), int(cy.size()), counts.data(), ends.data());
        for (size_t i = 0; i < cy.size(); ++i) {
            EscapeEnd end;
            ASSERT_EQ(counts[i], IteratePoint(what, 0.01L, cy[i], &end));
            if (counts[i] < what.limit) {
                EXPECT_EQ(ends[i], end) << "type " << what.type << " row " << i;
            }
        }
    }
}

class JuliaHistory : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetEngineState();
        dpCurr.diImgW = 48;
        dpCurr.diImgH = 36;
        SetUpWholeView(1);
        RenderView(host, dpCurr);
    }

    std::vector<EscapeCount> Counts() const
    {
        std::vector<EscapeCount> counts;
        for (int x = 0; x < dpCurr.diImgW; ++x)
            for (int y = 0; y < dpCurr.diImgH; ++y)
                counts.push_back(WholeCountBuffer[size_t(BufferIndex(x, y))]);
        return counts;
    }

    // What the commands do for "この点のジュリア集合".
    void EnterJulia(PlanePoint c)
    {
        const HistoryEntry left = CurrentEntry();
        dpNext = JuliaWholeView(dpCurr, ActiveParams);
        ActiveJulia = JuliaPoint::At(c.re, c.im);
        ZoomHistoryStep(host, left);
        RenderView(host, dpCurr);
    }

    FakeHost host;
};

// Back from a Julia view brings the view it came from, picture and read-outs
// exact; forward the Julia view again; the Julia view's picture is the plain
// loop's of that c.
TEST_F(JuliaHistory, BackAndForwardBringEachViewExactly)
{
    const std::vector<EscapeCount> plane = Counts();
    const ViewReadouts planeReadouts = host.LastReadouts();
    const auto planeView = KeptFieldsOf(dpCurr);
    EnterJulia(PointUnderPixel(10, 20));
    const std::vector<EscapeCount> julia = Counts();
    const Iteration what{1, ActiveParams, 256, ActiveJulia};
    const PlaneRegion region = dpCurr.Region();
    for (int x = 0; x < dpCurr.diImgW; ++x)
        for (int y = 0; y < dpCurr.diImgH; ++y)
            ASSERT_EQ(julia[size_t(x * dpCurr.diImgH + y)], IteratePoint(what, region.RenderRe(x), region.RenderIm(y)));
    EXPECT_FALSE(host.LastReadouts().julia.empty());

    GoBack(host);
    EXPECT_FALSE(ActiveJulia.isSet);
    EXPECT_EQ(Counts(), plane);
    EXPECT_EQ(KeptFieldsOf(dpCurr), planeView);
    const ViewReadouts back = host.LastReadouts();
    EXPECT_EQ(std::tie(back.centerXFull, back.centerYFull, back.areaXFull, back.areaYFull, back.scaleFull, back.julia),
              std::tie(planeReadouts.centerXFull, planeReadouts.centerYFull, planeReadouts.areaXFull,
                       planeReadouts.areaYFull, planeReadouts.scaleFull, planeReadouts.julia));
    GoForward(host);
    EXPECT_TRUE(ActiveJulia.isSet);
    EXPECT_EQ(Counts(), julia);
    // A whole view of the formula leaves the Julia set.
    SetUpWholeView(1);
    EXPECT_FALSE(ActiveJulia.isSet);
}

Place JuliaPlace()
{
    ResetEngineState();
    dpCurr.diImgW = 40;
    dpCurr.diImgH = 30;
    SetUpWholeView(2);
    dpCurr = JuliaWholeView(dpCurr, ActiveParams);
    ActiveJulia = JuliaPoint::At(-0.8L, 0x1.3f7ced916872b021p-3L);
    return PlaceOfCurrentView();
}

// A Julia place keeps its c bit for bit in version 2; a place without one
// is the version 1 text it always was, and version 1 takes no Julia point.
TEST(JuliaPlaces, TheJuliaPointGoesThereAndBackAndVersionOneStaysAsItWas)
{
    Place place = JuliaPlace();
    const std::string text = FormatPlace(place);
    EXPECT_EQ(text.rfind(kPlaceFormatLine2, 0), 0u) << text;
    Place read;
    std::string reason;
    ASSERT_TRUE(ParsePlace(text, read, reason)) << reason;
    EXPECT_EQ(read.julia, place.julia);
    EXPECT_EQ(RegionOfPlace(read).iteration.julia, place.julia);

    place.julia = kNoJuliaPoint;
    const std::string plain = FormatPlace(place);
    EXPECT_EQ(plain.rfind(std::string(kPlaceFormatLine) + "\n", 0), 0u);
    EXPECT_EQ(plain.find("julia"), std::string::npos);
    ASSERT_TRUE(ParsePlace(plain, read, reason)) << reason;
    EXPECT_FALSE(read.julia.isSet);

    const auto replaced = [](std::string s, const std::string& from, const std::string& to) {
        return s.replace(s.find(from), from.size(), to);
    };
    const std::string refused[] = {
        replaced(plain, "end\n", "julia-re 0x1p-1\njulia-im 0x0p+0\nend\n"),  // version 1
        replaced(text, "julia-im", "# julia-im"),                            // half a point
        replaced(text, "julia-re     -0xc", "julia-re     inf #"),           // not finite
        replaced(text, "julia-re     -0xc", "julia-re     nan #"),
    };
    for (const std::string& bad : refused) {
        read = Place{};
        EXPECT_FALSE(ParsePlace(bad, read, reason)) << bad;
        EXPECT_FALSE(reason.empty());
    }
    SetUpPlace(JuliaPlace());
    EXPECT_TRUE(ActiveJulia.isSet);
}

// The newest request is drawn and handed over with its ticket; its counts
// are the plain loop's at the preview's size and limit.
TEST(JuliaPreview, TheNewestPictureComesWithThePlainLoopsCounts)
{
    std::mutex mutex;
    std::condition_variable done;
    JuliaPreviewPicture last;
    {
        JuliaPreviewer previewer(2, [&](JuliaPreviewPicture&& p) {
            std::lock_guard<std::mutex> lock(mutex);
            if (p.ticket > last.ticket)
                last = std::move(p);
            done.notify_all();
        });
        const PlaneRegion region = JuliaWholeRegion(1, {}, PictureSize{40, 30});
        uint64_t ticket = 0;
        for (int i = 0; i < 20; ++i)
            ticket = previewer.Request(Iteration{1, {}, 64, JuliaPoint::At(-0.1L * i, 0.65L)}, region);
        std::unique_lock<std::mutex> lock(mutex);
        ASSERT_TRUE(done.wait_for(lock, std::chrono::seconds(60), [&] { return last.ticket == ticket; }));
        const Iteration newest{1, {}, 64, JuliaPoint::At(-0.1L * 19, 0.65L)};
        EXPECT_EQ(last.counts, DrawJuliaPreview(newest, region).counts);
        for (int x = 0; x < region.width; ++x)
            for (int y = 0; y < region.height; ++y)
                ASSERT_EQ(last.Count(x, y), IteratePoint(newest, region.RenderRe(x), region.RenderIm(y)));
    }
}

// The deep renderer draws the formula's own plane only: a Julia view finer
// than the direct kernels resolve is still drawn by them (z0 = 0 is captured
// on the plane there, but escapes in this dust), and a zoom there stops.
TEST(JuliaDepth, AJuliaViewBelowTheDirectKernelsKeepsThemAndGoesNoDeeper)
{
    const Iteration what{1, StartupEditedParams(), 256, JuliaPoint::At(0.5L, 0.5L)};
    PictureJob job;
    job.region = PictureRegion{what, PlaneRegion{0, 0, 1e-19L, 1e-19L, 0, 0, 8, 8}};
    job.width = job.height = 8;
    job.threads = 1;
    PictureRenderer renderer(job);
    const std::atomic<bool> never{false};
    ASSERT_TRUE(renderer.ComputeRows(0, 8, never));
    const PlaneRegion& plane = job.region.plane;
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 8; ++y)
            EXPECT_EQ(renderer.Counts()[size_t(x * renderer.SampleRows() + y)],
                      IteratePoint(what, plane.RenderRe(x), plane.RenderIm(y)));
    EXPECT_EQ(DepthLimitOf(1, true, 0, 0, 1e-20L, 1e-20L), DepthLimit::JuliaEightyBits);
    EXPECT_EQ(DepthLimitOf(1, false, 0, 0, 1e-20L, 1e-20L), DepthLimit::None);
}

}  // namespace
