#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <numeric>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "EngineTestSupport.h"
#include "colour/model/ColorMap.h"
#include "engine/EngineState.h"
#include "engine/Formulas.h"
#include "engine/History.h"
#include "engine/Navigation.h"
#include "engine/RenderDriver.h"

namespace {

constexpr std::array<QVCommand, kQVCommandCount> kAllCommands{
    QVCommand::DrawAll, QVCommand::DrawSelect, QVCommand::ReDraw,     QVCommand::Cancel,
    QVCommand::Back,    QVCommand::Forward,    QVCommand::ColorMaps, QVCommand::Save,
    QVCommand::SavePlace,
};

bool EnabledWhileRendering(QVCommand c) { return c == QVCommand::Cancel; }

bool EnabledAfterRendering(QVCommand c, int backCount, int forwardCount)
{
    switch (c) {
    case QVCommand::DrawSelect:
    case QVCommand::Cancel: return false;
    case QVCommand::Back: return backCount > 0;
    case QVCommand::Forward: return forwardCount > 0;
    default: return true;
    }
}

void ExpectRenderingCommandState(const std::map<QVCommand, bool>& states)
{
    for (QVCommand c : kAllCommands) {
        SCOPED_TRACE(int(c));
        ASSERT_EQ(states.count(c), 1u);
        EXPECT_EQ(states.at(c), EnabledWhileRendering(c));
    }
}

void ExpectIdleCommandState(const FakeHost& host, int backCount, int forwardCount)
{
    for (QVCommand c : kAllCommands) {
        SCOPED_TRACE(int(c));
        EXPECT_EQ(host.Enabled(c), EnabledAfterRendering(c, backCount, forwardCount));
    }
    // Leaving the rendering state sets every command itself.
    ASSERT_GE(host.commandCalls.size(), size_t(kQVCommandCount));
    std::set<QVCommand> lastSet;
    for (size_t i = host.commandCalls.size() - kQVCommandCount; i < host.commandCalls.size(); ++i)
        lastSet.insert(host.commandCalls[i].first);
    EXPECT_EQ(lastSet.size(), size_t(kQVCommandCount));
}

// A view of type 1 (or another type) with its own pixel sizes; WholeView is
// taken from it so its magnification is 1.
void SetUpView(int type, int width, int height, long double a, long double b, long double extentX,
               long double extentY)
{
    dpCurr.diType = type;
    dpCurr.dinum = 1;
    dpCurr.diImgW = width;
    dpCurr.diImgH = height;
    dpCurr.dwa = a;
    dpCurr.dwb = b;
    dpCurr.dwx = extentX;
    dpCurr.dwy = extentY;
    dpCurr.dwPitchX = extentX / width;
    dpCurr.dwPitchY = extentY / height;
    ActiveParams = EditedParams;
    WholeView = dpCurr;
}

void SetUpWholeViewOfSize(int type, int width, int height)
{
    dpCurr.diImgW = width;
    dpCurr.diImgH = height;
    SetUpWholeView(type);
}

long double PixelRe(const ViewRecord& v, int x) { return (x - v.diImgW / 2.0L) * v.dwx / v.diImgW + v.dwa; }
long double PixelIm(const ViewRecord& v, int y) { return (y - v.diImgH / 2.0L) * v.dwy / v.diImgH + v.dwb; }

// What the buffer holds for a point: its escape count, 0 when captured.
int BufferValueOf(int type, long double cx, long double cy)
{
    const int n = IteratePoint(type, cx, cy, ActiveParams);
    return n == kCaptured ? 0 : n;
}

int Buffer(int x, int y) { return IterationBuffer[BufferIndex(x, y)]; }

uint64_t HistogramSum() { return std::accumulate(EscapeHistogram.begin(), EscapeHistogram.end(), uint64_t(0)); }

void ExpectMessagesEverySixteenColumns(const FakeHost& host, int width)
{
    const int expectedCalls = (width + 15) / 16;
    ASSERT_EQ(int(host.columnsPaintedAtMessages.size()), expectedCalls);
    for (int k = 0; k < expectedCalls; ++k)
        EXPECT_EQ(host.columnsPaintedAtMessages[k], 16 * k) << "call " << k;
}

// The point of the plane a mapping gives for a pixel.
using PixelMapping = std::function<std::pair<long double, long double>(int x, int y)>;

PixelMapping RenderMappingOf(const ViewRecord& v)
{
    return [v](int x, int y) { return std::pair{PixelRe(v, x), PixelIm(v, y)}; };
}

// Pixels of columns first..columns-1 and rows 0..rows-1 whose buffer value is
// not the count of the point the mapping gives for them.
int PixelsNotCountedAt(int first, int columns, int rows, const PixelMapping& pointOf)
{
    int differing = 0;
    for (int x = first; x < columns; ++x)
        for (int y = 0; y < rows; ++y) {
            const auto [re, im] = pointOf(x, y);
            differing += Buffer(x, y) != BufferValueOf(1, re, im);
        }
    return differing;
}

// Each painted pixel shows its buffer value through the current map, black for 0.
void ExpectPixelsShowTheBuffer(const FakeHost& host, int columns, int rows)
{
    for (int x = 0; x < columns; ++x)
        for (int y = 0; y < rows; ++y) {
            const int n = Buffer(x, y);
            ASSERT_EQ(host.Pixel(x, y), n > 0 ? ColorWordOf(currentColorMap[n]) : kBlackWord) << x << "," << y;
        }
}

// A message handler that runs `action` at the given call only.
std::function<void(int)> AtCall(int callNumber, std::function<void()> action)
{
    return [callNumber, action](int call) {
        if (call == callNumber)
            action();
    };
}

// Fresh history stacks holding `back` and `forward` copies of the current view.
void SetHistoryCounts(int back, int forward)
{
    ClearHistoryStack(BackStack);
    ClearHistoryStack(ForwardStack);
    for (int i = 0; i < back; ++i)
        PushView(BackStack);
    for (int i = 0; i < forward; ++i)
        PushView(ForwardStack);
}

// A map whose 256 colour words are all different and none is black.
ColorMap DistinctColorMap()
{
    ColorMap map{};
    for (int i = 0; i < 256; ++i)
        map[i] = ColorMapEntry{0, uint8_t(i), uint8_t(255 - i), uint8_t((i * 7 + 1) & 0xFF)};
    return map;
}

// Type 1 over |re| <= 4, |im| <= 3: the corners escape at count 0, the
// centre is captured, the rest escapes at various counts.
void SetUpViewWithEveryKindOfPixel(int width, int height) { SetUpView(1, width, height, 0.0L, 0.0L, 8.0L, 6.0L); }

class RenderDriverTest : public ::testing::Test {
protected:
    void SetUp() override { ResetEngineState(); }
    void TearDown() override { ResetEngineState(); }

    FakeHost host;
};

// --- A whole render ----------------------------------------------------------

TEST_F(RenderDriverTest, WholeViewOf580FillsBufferHistogramAndProgress)
{
    SetUpWholeViewOfSize(1, 580, 580);
    dpCurr.csx = 11, dpCurr.csy = 12, dpCurr.cex = 13, dpCurr.cey = 14;
    dpCurr.cdx = 5, dpCurr.cdy = 6, dpCurr.ccx = 7, dpCurr.ccy = 8;

    RenderView(host, dpCurr);

    EXPECT_EQ(host.progressMaximum, 580);
    EXPECT_EQ(host.progressSteps, 580);
    ASSERT_FALSE(host.progressEvents.empty());
    EXPECT_EQ(host.progressEvents.front(), FakeHost::ProgressEvent::Reset);
    EXPECT_EQ(host.ProgressResets(), 1);
    ASSERT_EQ(host.backgroundFills.size(), 1u);
    EXPECT_EQ(host.backgroundFills[0], std::make_pair(580, 580));

    EXPECT_EQ(HistogramSum(), 336400u);
    EXPECT_EQ(EscapeHistogram[0], 0u);
    std::array<uint32_t, 256> valueCounts{};
    for (int x = 0; x < 580; ++x)
        for (int y = 0; y < 580; ++y) {
            const int n = Buffer(x, y);
            ++valueCounts[n];
            if (n == 0) {
                ASSERT_EQ(IteratePoint(1, PixelRe(dpCurr, x), PixelIm(dpCurr, y), ActiveParams), kCaptured)
                    << x << "," << y;
            }
        }
    EXPECT_EQ(valueCounts[0], EscapeHistogram[256]);
    EXPECT_GT(EscapeHistogram[256], 0u);
    for (int j = 1; j < 256; ++j)
        EXPECT_EQ(valueCounts[j], EscapeHistogram[j]) << "count " << j;

    EXPECT_TRUE(dpCurr.dbOK);
    EXPECT_EQ(SelectionOf(dpCurr), (SelectionFields{0, 0, 0, 0, 5, 6, 7, 8}));
    EXPECT_EQ(LastRenderedArea.columns, 580);
    EXPECT_EQ(LastRenderedArea.rows, 580);

    ExpectMessagesEverySixteenColumns(host, 580);
    ExpectPaintedOnce(host, 580, 580, 581, 581);
    EXPECT_EQ(host.forgetSelectionCalls, 1);
    EXPECT_FALSE(IsRendering);
}

TEST_F(RenderDriverTest, MessagesAreProcessedBeforeEverySixteenthColumn)
{
    for (int width : {1, 15, 16, 17, 48, 49}) {
        SCOPED_TRACE(width);
        FakeHost h;
        SetUpWholeViewOfSize(1, width, 3);
        RenderView(h, dpCurr);
        ExpectMessagesEverySixteenColumns(h, width);
        EXPECT_EQ(h.paintColumnCalls, width);
    }
}

// A host that gathers painted columns writes them out at ColumnsComplete; the
// picture must be whole whenever it is asked anything else.
TEST_F(RenderDriverTest, EveryBlockOfColumnsIsCompleteBeforeTheHostIsAskedAnythingElse)
{
    for (int width : {1, 15, 16, 17, 49}) {
        SCOPED_TRACE(width);
        FakeHost h;
        h.onProcessMessages = AtCall(3, [] { CancelRequested = true; });
        SetUpWholeViewOfSize(1, width, 3);
        RenderView(h, dpCurr);
        RecolorPicture(h);
        EXPECT_EQ(h.requestsWithColumnsOpen, 0);
        EXPECT_EQ(h.openColumns, 0);
        EXPECT_GT(h.paintColumnCalls, 0);
    }
}

TEST_F(RenderDriverTest, IsRenderingOnlyWhileTheScanRuns)
{
    SetUpWholeViewOfSize(1, 20, 4);
    std::vector<bool> seen;
    host.onProcessMessages = [&](int) { seen.push_back(IsRendering); };
    RenderView(host, dpCurr);
    EXPECT_EQ(seen, (std::vector<bool>{true, true}));
    EXPECT_FALSE(IsRendering);
}

TEST_F(RenderDriverTest, DiagnosticsRefreshedOnceAtTheEndOnlyInDebugMode)
{
    SetUpWholeViewOfSize(1, 20, 4);
    DebugMode = true;
    RenderView(host, dpCurr);
    EXPECT_EQ(host.refreshDiagnosticsCalls, 1);
    EXPECT_EQ(host.columnsPaintedAtRefresh, 20);

    FakeHost quiet;
    DebugMode = false;
    RenderView(quiet, dpCurr);
    EXPECT_EQ(quiet.refreshDiagnosticsCalls, 0);
}

// --- Cancel --------------------------------------------------------------------

TEST_F(RenderDriverTest, CancelDuringColumnZeroIsSeenAtColumnSixteen)
{
    SetUpWholeViewOfSize(1, 40, 6);
    dpCurr.csx = 1, dpCurr.csy = 2, dpCurr.cex = 3, dpCurr.cey = 4;
    IterationBuffer.fill(77);
    host.onProcessMessages = AtCall(2, [] { CancelRequested = true; });

    RenderView(host, dpCurr);

    EXPECT_EQ(host.columnsPaintedAtMessages, (std::vector<int>{0, 16}));
    ExpectPaintedOnce(host, 16, 6, 41, 7);
    EXPECT_EQ(host.progressMaximum, 40);
    EXPECT_EQ(host.progressSteps, 16);
    EXPECT_TRUE(dpCurr.dbOK);
    EXPECT_EQ(SelectionOf(dpCurr), SelectionFields{});
    EXPECT_EQ(LastRenderedArea.columns, 16);
    EXPECT_EQ(LastRenderedArea.rows, 6);
    EXPECT_EQ(HistogramSum(), 16u * 6u);
    // Columns the scan never reached keep the counts of the previous render.
    for (int x = 16; x < 40; ++x)
        for (int y = 0; y < 6; ++y)
            ASSERT_EQ(Buffer(x, y), 77) << x << "," << y;
    ExpectIdleCommandState(host, 0, 0);
    EXPECT_FALSE(IsRendering);
}

TEST_F(RenderDriverTest, CancelAtTheFirstMessagesPaintsNothingButMarksRendered)
{
    SetUpWholeViewOfSize(1, 40, 6);
    host.onProcessMessages = [](int) { CancelRequested = true; };
    RenderView(host, dpCurr);
    EXPECT_EQ(host.paintColumnCalls, 0);
    EXPECT_EQ(host.progressSteps, 0);
    EXPECT_EQ(HistogramSum(), 0u);
    EXPECT_TRUE(dpCurr.dbOK);
    EXPECT_EQ(LastRenderedArea.columns, 0);
    EXPECT_FALSE(IsRendering);
}

TEST_F(RenderDriverTest, CancelRequestedBeforeTheRenderIsCleared)
{
    SetUpWholeViewOfSize(1, 40, 6);
    CancelRequested = true;
    RenderView(host, dpCurr);
    EXPECT_EQ(host.paintColumnCalls, 40);
    EXPECT_EQ(LastRenderedArea.columns, 40);
    EXPECT_FALSE(CancelRequested);
}

// --- Command states ------------------------------------------------------------

TEST_F(RenderDriverTest, CommandsDuringTheScanFollowTheRenderingState)
{
    SetUpWholeViewOfSize(1, 20, 4);
    SetHistoryCounts(1, 1);
    std::map<QVCommand, bool> during;
    host.onProcessMessages = AtCall(1, [&] { during = host.commandEnabled; });
    RenderView(host, dpCurr);
    ExpectRenderingCommandState(during);
}

TEST_F(RenderDriverTest, CommandsAfterTheRenderFollowTheHistoryCounts)
{
    SetUpWholeViewOfSize(1, 20, 4);
    for (auto [back, forward] : {std::pair{0, 0}, std::pair{1, 0}, std::pair{0, 1}, std::pair{2, 3}}) {
        SCOPED_TRACE(::testing::Message() << "back " << back << " forward " << forward);
        SetHistoryCounts(back, forward);
        FakeHost h;
        RenderView(h, dpCurr);
        ExpectIdleCommandState(h, back, forward);
    }
}

TEST_F(RenderDriverTest, HistoryCountsAreTakenWhenTheRenderStarts)
{
    SetUpWholeViewOfSize(1, 20, 4);
    PushView(BackStack);
    host.onProcessMessages = AtCall(1, [] { SetHistoryCounts(0, 2); });
    RenderView(host, dpCurr);
    ExpectIdleCommandState(host, 1, 0);
    EXPECT_EQ(host.LastReadouts().drawNestTotal, "2");
}

// --- Read-outs -----------------------------------------------------------------

TEST_F(RenderDriverTest, ReadoutsOfTheWholeView)
{
    SetUpWholeViewOfSize(1, 32, 32);
    RenderView(host, dpCurr);
    ASSERT_EQ(host.readouts.size(), 1u);
    const ViewReadouts& r = host.LastReadouts();
    EXPECT_EQ(r.centerX, "-5.00E-001");
    EXPECT_EQ(r.centerY, "0.00E+000");
    EXPECT_EQ(r.areaX, "3.60E+000");
    EXPECT_EQ(r.areaY, "3.60E+000");
    EXPECT_EQ(r.scale, "1");
    EXPECT_EQ(r.drawNest, "1");
    EXPECT_EQ(r.drawNestTotal, "1");
}

TEST_F(RenderDriverTest, NestTotalCountsBothStacksAndTheCurrentView)
{
    SetUpWholeViewOfSize(1, 16, 16);
    dpCurr.dinum = 3;
    SetHistoryCounts(2, 1);
    RenderView(host, dpCurr);
    EXPECT_EQ(host.LastReadouts().drawNest, "3");
    EXPECT_EQ(host.LastReadouts().drawNestTotal, "4");
}

TEST_F(RenderDriverTest, ScaleAveragesBothAxesAgainstTheWholeView)
{
    SetUpWholeViewOfSize(1, 16, 16);
    dpCurr.dwPitchX = WholeView.dwPitchX / 2;
    dpCurr.dwPitchY = WholeView.dwPitchY / 4;
    RenderView(host, dpCurr);
    EXPECT_EQ(host.LastReadouts().scale, "3");

    FakeHost deep;
    dpCurr.dwPitchX = WholeView.dwPitchX / 12345.6L;
    dpCurr.dwPitchY = WholeView.dwPitchY / 12345.6L;
    RenderView(deep, dpCurr);
    EXPECT_EQ(deep.LastReadouts().scale, "12,346");
}

// --- The view during the scan --------------------------------------------------

TEST_F(RenderDriverTest, ResizeDuringTheScanDoesNotChangeTheRenderInProgress)
{
    for (auto [newW, newH] : {std::pair{60, 12}, std::pair{8, 3}}) {
        SCOPED_TRACE(::testing::Message() << "resized to " << newW << "x" << newH);
        SetUpWholeViewOfSize(1, 40, 6);
        FakeHost h;
        h.onProcessMessages = AtCall(1, [newW = newW, newH = newH] {
            dpCurr.diImgW = newW;
            dpCurr.diImgH = newH;
        });
        RenderView(h, dpCurr);
        EXPECT_EQ(h.progressMaximum, 40);
        EXPECT_EQ(h.progressSteps, 40);
        ExpectPaintedOnce(h, 40, 6, 61, 13);
        ExpectMessagesEverySixteenColumns(h, 40);
        EXPECT_EQ(HistogramSum(), 240u);
        EXPECT_EQ(LastRenderedArea.columns, 40);
        EXPECT_EQ(LastRenderedArea.rows, 6);
    }
}

TEST_F(RenderDriverTest, CentreAndExtentChangedDuringTheScanDoNotMoveThePicture)
{
    SetUpView(1, 40, 6, -0.75L, 0.1L, 0.4L, 0.06L);
    const ViewRecord started = dpCurr;
    host.onProcessMessages = AtCall(2, [] {
        dpCurr.dwa = 0.3L;
        dpCurr.dwx = 2.0L;
        dpCurr.dwb = -0.7L;
    });
    RenderView(host, dpCurr);
    EXPECT_EQ(PixelsNotCountedAt(16, 40, 6, RenderMappingOf(started)), 0);
}

TEST_F(RenderDriverTest, RenderCalledAgainDuringTheScanReturnsAtOnce)
{
    SetUpWholeViewOfSize(1, 40, 6);
    size_t commandCallsBefore = 0;
    size_t commandCallsAfter = 0;
    bool renderingAfterNestedCall = false;
    host.onProcessMessages = AtCall(2, [&] {
        commandCallsBefore = host.commandCalls.size();
        RenderView(host, dpCurr);
        commandCallsAfter = host.commandCalls.size();
        renderingAfterNestedCall = IsRendering;
    });
    RenderView(host, dpCurr);
    EXPECT_EQ(commandCallsAfter, commandCallsBefore);
    EXPECT_TRUE(renderingAfterNestedCall);
    EXPECT_EQ(host.backgroundFills.size(), 1u);
    EXPECT_EQ(host.readouts.size(), 1u);
    EXPECT_EQ(host.progressMaximum, 40);
    EXPECT_EQ(host.progressSteps, 40);
    ExpectMessagesEverySixteenColumns(host, 40);
    ExpectPaintedOnce(host, 40, 6, 41, 7);
    EXPECT_EQ(HistogramSum(), 240u);
    EXPECT_FALSE(IsRendering);
}

// --- Pixels --------------------------------------------------------------------

TEST_F(RenderDriverTest, EscapedPixelsTakeTheirMapEntryAndCapturedOnesBlack)
{
    currentColorMap = DistinctColorMap();
    SetUpViewWithEveryKindOfPixel(16, 12);
    RenderView(host, dpCurr);

    int escapedAtZero = 0, captured = 0, escapedLater = 0;
    for (int x = 0; x < 16; ++x)
        for (int y = 0; y < 12; ++y) {
            const int n = IteratePoint(1, PixelRe(dpCurr, x), PixelIm(dpCurr, y), ActiveParams);
            const uint32_t expected = n == kCaptured ? kBlackWord : ColorWordOf(currentColorMap[n]);
            ASSERT_EQ(host.Pixel(x, y), expected) << x << "," << y;
            (n == kCaptured ? captured : n == 0 ? escapedAtZero : escapedLater)++;
        }
    EXPECT_GT(escapedAtZero, 0);
    EXPECT_GT(captured, 0);
    EXPECT_GT(escapedLater, 0);
    EXPECT_EQ(EscapeHistogram[0], uint32_t(escapedAtZero));
    EXPECT_EQ(EscapeHistogram[256], uint32_t(captured));
}

// Beside the 8-bit buffer, whose 0 stands for count 0 and for a captured
// point alike, the whole counts tell the two apart.
TEST_F(RenderDriverTest, WholeCountsKeepCountZeroApartFromCapturedPoints)
{
    SetUpViewWithEveryKindOfPixel(16, 12);
    WholeCountBuffer.fill(-1);
    RenderView(host, dpCurr);
    for (int x = 0; x < 17; ++x)
        for (int y = 0; y < 13; ++y) {
            const int expected = x < 16 && y < 12 ? IteratePoint(1, PixelRe(dpCurr, x), PixelIm(dpCurr, y), ActiveParams) : -1;
            ASSERT_EQ(WholeCountBuffer[BufferIndex(x, y)], expected) << x << "," << y;
        }
}

TEST_F(RenderDriverTest, OddWidthMapsColumnsFromTheLeftEdgeWithHalfWidthAsReal)
{
    SetUpView(1, 5, 3, -0.75L, 0.1L, 0.05L, 0.03L);
    RenderView(host, dpCurr);

    EXPECT_EQ(PixelsNotCountedAt(0, 5, 3, RenderMappingOf(dpCurr)), 0);
    const PixelMapping truncatedHalf = [](int x, int y) {
        return std::pair{(x - 2) * dpCurr.dwx / 5 + dpCurr.dwa, (y - 1) * dpCurr.dwy / 3 + dpCurr.dwb};
    };
    EXPECT_GT(PixelsNotCountedAt(0, 5, 3, truncatedHalf), 0) << "the view no longer tells the two mappings apart";
}

TEST_F(RenderDriverTest, EvenWidthPutsColumnHalfWOnTheCentre)
{
    SetUpView(1, 6, 4, -0.75L, 0.1L, 0.06L, 0.04L);
    RenderView(host, dpCurr);

    EXPECT_EQ(PixelsNotCountedAt(0, 6, 4, RenderMappingOf(dpCurr)), 0);
    const PixelMapping pixelCentres = [](int x, int y) {
        return std::pair{(x + 0.5L - 3) * dpCurr.dwx / 6 + dpCurr.dwa, (y + 0.5L - 2) * dpCurr.dwy / 4 + dpCurr.dwb};
    };
    EXPECT_GT(PixelsNotCountedAt(0, 6, 4, pixelCentres), 0) << "the view no longer tells the two mappings apart";
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(Buffer(3, y), BufferValueOf(1, -0.75L, PixelIm(dpCurr, y))) << y;
}

// --- Worker threads ------------------------------------------------------------

// QUORVEX_THREADS for the renders of one scope (unset: one worker per core).
class WorkerThreads {
public:
    explicit WorkerThreads(const char* count)
    {
        if (count)
            setenv("QUORVEX_THREADS", count, 1);
    }
    ~WorkerThreads() { unsetenv("QUORVEX_THREADS"); }
};

// What a render leaves for the user to see and for the program to keep.
struct RenderOutcome {
    std::vector<int> buffer;
    EscapeHistogramType histogram;
    std::vector<std::optional<uint32_t>> pixels;
    std::vector<int> columnsPaintedAtMessages;
    int renderedColumns;
    int progressSteps;
    bool operator==(const RenderOutcome&) const = default;
};

// The whole view of a type rendered with the given worker count, cancelled
// at the given message call (0: not at all).
RenderOutcome RenderWholeView(const char* threads, int type, int width, int height, int cancelAtCall)
{
    WorkerThreads scope(threads);
    SetUpWholeViewOfSize(type, width, height);
    IterationBuffer.fill(77);
    FakeHost h;
    if (cancelAtCall > 0)
        h.onProcessMessages = AtCall(cancelAtCall, [] { CancelRequested = true; });
    RenderView(h, dpCurr);
    RenderOutcome o{{}, EscapeHistogram, {}, h.columnsPaintedAtMessages, LastRenderedArea.columns, h.progressSteps};
    for (int x = 0; x <= width; ++x)
        for (int y = 0; y <= height; ++y) {
            o.buffer.push_back(Buffer(x, y));
            o.pixels.push_back(h.Pixel(x, y));
        }
    return o;
}

TEST_F(RenderDriverTest, WorkerThreadsPaintWhatOneWorkerPaints)
{
    // 53 columns: three blocks of 16 and one of 5; cancelled at the third block.
    for (int type = kFirstFormulaType; type <= kLastFormulaType; ++type)
        for (int cancelAt : {0, 3}) {
            SCOPED_TRACE(::testing::Message() << "type " << type << " cancel at call " << cancelAt);
            const RenderOutcome one = RenderWholeView("1", type, 53, 29, cancelAt);
            EXPECT_EQ(one.renderedColumns, cancelAt ? 32 : 53);
            EXPECT_TRUE(RenderWholeView("3", type, 53, 29, cancelAt) == one);
            EXPECT_TRUE(RenderWholeView(nullptr, type, 53, 29, cancelAt) == one);
        }
}

// A block of 16 x 1200 points of the mysterious map keeps one worker busy far
// longer than a wait slice, so the render handles messages while it waits.
TEST_F(RenderDriverTest, CancelHandledWhileWaitingForABlockPaintsThatBlockAndStops)
{
    WorkerThreads one("1");
    SetUpView(6, 48, 1200, -1.5L, 0.2L, 3.6L, 2.7L);
    int paintedAtCancel = -1;
    host.onWaitingMessages = [&] {
        if (paintedAtCancel < 0) {
            paintedAtCancel = host.paintColumnCalls;
            CancelRequested = true;
        }
    };
    RenderView(host, dpCurr);
    ASSERT_FALSE(host.columnsPaintedAtWaits.empty());
    const int painted = paintedAtCancel + 16;
    EXPECT_EQ(LastRenderedArea.columns, painted);
    EXPECT_EQ(host.progressSteps, painted);
    EXPECT_EQ(HistogramSum(), uint64_t(painted) * 1200);
    ExpectPaintedOnce(host, painted, 1200, 49, 1201);
    EXPECT_FALSE(IsRendering);
}

// --- Recolouring ---------------------------------------------------------------

TEST_F(RenderDriverTest, RecolorDoesNothingWithoutARenderedPicture)
{
    IterationBuffer.fill(5);
    LastRenderedArea = RenderedArea{8, 4};
    dpCurr.diImgW = 8;
    dpCurr.diImgH = 4;
    dpCurr.dbOK = false;
    RecolorPicture(host);
    EXPECT_EQ(host.paintColumnCalls, 0);
    EXPECT_TRUE(host.commandCalls.empty());
    EXPECT_TRUE(host.columnsPaintedAtMessages.empty());
    EXPECT_EQ(host.forgetSelectionCalls, 0);
    EXPECT_FALSE(IsRendering);
}

TEST_F(RenderDriverTest, RecolorRepaintsFromTheBufferWithTheNewMap)
{
    SetUpViewWithEveryKindOfPixel(40, 12);
    RenderView(host, dpCurr);
    ASSERT_EQ(IteratePoint(1, PixelRe(dpCurr, 0), PixelIm(dpCurr, 0), ActiveParams), 0);
    ASSERT_NE(host.Pixel(0, 0), std::optional<uint32_t>(kBlackWord));

    const EscapeHistogramType histogramBefore = EscapeHistogram;
    currentColorMap = DistinctColorMap();
    FakeHost recolor;
    std::vector<bool> renderingSeen;
    std::map<QVCommand, bool> during;
    recolor.onProcessMessages = [&](int call) {
        renderingSeen.push_back(IsRendering);
        if (call == 1)
            during = recolor.commandEnabled;
    };

    RecolorPicture(recolor);

    ExpectPaintedOnce(recolor, 40, 12, 41, 13);
    ExpectPixelsShowTheBuffer(recolor, 40, 12);
    EXPECT_EQ(recolor.Pixel(0, 0), kBlackWord);
    ExpectMessagesEverySixteenColumns(recolor, 40);
    EXPECT_EQ(renderingSeen, (std::vector<bool>{true, true, true}));
    EXPECT_FALSE(IsRendering);
    EXPECT_EQ(recolor.forgetSelectionCalls, 1);
    ExpectRenderingCommandState(during);
    ExpectIdleCommandState(recolor, 0, 0);

    EXPECT_EQ(EscapeHistogram, histogramBefore);
    EXPECT_TRUE(recolor.readouts.empty());
    EXPECT_TRUE(recolor.progressEvents.empty());
    EXPECT_TRUE(recolor.backgroundFills.empty());
    EXPECT_TRUE(dpCurr.dbOK);
}

TEST_F(RenderDriverTest, RecolorIgnoresCancel)
{
    SetUpWholeViewOfSize(1, 40, 6);
    RenderView(host, dpCurr);
    FakeHost recolor;
    recolor.onProcessMessages = [](int) { CancelRequested = true; };
    RecolorPicture(recolor);
    ExpectPaintedOnce(recolor, 40, 6, 41, 7);
}

TEST_F(RenderDriverTest, RecolorRestoresHistoryCommandsFromTheLastRender)
{
    SetUpWholeViewOfSize(1, 20, 4);
    SetHistoryCounts(2, 0);
    RenderView(host, dpCurr);
    SetHistoryCounts(0, 1);

    FakeHost recolor;
    RecolorPicture(recolor);
    ExpectIdleCommandState(recolor, 2, 0);
}

TEST_F(RenderDriverTest, RecolorAfterCancelAndResizeRepaintsOnlyWhatWasRendered)
{
    for (auto [newW, newH] : {std::pair{60, 20}, std::pair{8, 5}}) {
        SCOPED_TRACE(::testing::Message() << "resized to " << newW << "x" << newH);
        IterationBuffer.fill(9);
        SetUpWholeViewOfSize(1, 40, 10);
        FakeHost h;
        h.onProcessMessages = AtCall(2, [] { CancelRequested = true; });
        RenderView(h, dpCurr);
        dpCurr.diImgW = newW;
        dpCurr.diImgH = newH;
        FillPresetColorMap(currentColorMap, kPresetSetting2);

        FakeHost recolor;
        RecolorPicture(recolor);

        ExpectPaintedOnce(recolor, 16, 10, 61, 21);
        ExpectPixelsShowTheBuffer(recolor, 16, 10);
        EXPECT_EQ(recolor.columnsPaintedAtMessages, std::vector<int>{0});
        FillPresetColorMap(currentColorMap, kPresetSetting1);
    }
}

}  // namespace
