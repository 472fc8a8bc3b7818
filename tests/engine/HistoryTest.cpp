#include <gtest/gtest.h>

#include <string>

#include "EngineState.h"
#include "Navigation.h"
#include "RecordingHost.h"
#include "RenderDriver.h"

namespace {

struct Selection {
    int csx, csy, cex, cey;
};

class HistoryTest : public ::testing::Test {
protected:
    RecordingHost host;

    void SetUp() override
    {
        ResetEngineState();
        FrameHeight = host.frameHeight;
        dpCurr.dinum = 1;
        dpCurr.diImgW = 40;
        dpCurr.diImgH = 30;
    }

    void TearDown() override { ResetEngineState(); }

    void ShowWhole(int type = 1)
    {
        ResetHistory(host);
        SetUpWholeView(type);
        RenderView(host, dpCurr);
    }

    static void Select(const Selection& s)
    {
        dpCurr.csx = s.csx;
        dpCurr.csy = s.csy;
        dpCurr.cex = s.cex;
        dpCurr.cey = s.cey;
        dpCurr.cdx = s.cex - s.csx;
        dpCurr.cdy = s.cey - s.csy;
        dpCurr.ccx = (s.csx + s.cex) / 2;
        dpCurr.ccy = (s.csy + s.cey) / 2;
    }

    void Zoom(const Selection& s = {10, 5, 30, 20})
    {
        Select(s);
        ASSERT_EQ(ComputeNextView(), ZoomResult::Ready);
        ZoomHistoryStep(host);
        host.FitWindowToView(dpCurr);
        RenderView(host, dpCurr);
    }

    static int Reachable() { return int(BackStack.size() + ForwardStack.size()) + 1; }

    void ExpectCounts(int dinum, size_t back, size_t forward)
    {
        EXPECT_EQ(dpCurr.dinum, dinum);
        EXPECT_EQ(BackStack.size(), back);
        EXPECT_EQ(ForwardStack.size(), forward);
        ASSERT_FALSE(host.readouts.empty());
        EXPECT_EQ(host.LastReadouts().drawNest, std::to_string(dinum));
        EXPECT_EQ(host.LastReadouts().drawNestTotal, std::to_string(back + forward + 1));
        EXPECT_EQ(host.IsEnabled(QVCommand::pmiPrev), back > 0);
        EXPECT_EQ(host.IsEnabled(QVCommand::tbtnPrev), back > 0);
        EXPECT_EQ(host.IsEnabled(QVCommand::pmiNext), forward > 0);
        EXPECT_EQ(host.IsEnabled(QVCommand::tbtnNext), forward > 0);
    }

    // Extents are left out: back, forward and redraw recompute them.
    static void ExpectSameView(const ViewRecord& a, const ViewRecord& b)
    {
        EXPECT_EQ(a.diType, b.diType);
        EXPECT_EQ(a.dinum, b.dinum);
        EXPECT_EQ(a.diImgW, b.diImgW);
        EXPECT_EQ(a.diImgH, b.diImgH);
        EXPECT_EQ(a.dwPitchX, b.dwPitchX);
        EXPECT_EQ(a.dwPitchY, b.dwPitchY);
        EXPECT_EQ(a.dwa, b.dwa);
        EXPECT_EQ(a.dwb, b.dwb);
    }
};

TEST_F(HistoryTest, WholeViewStartsWithEmptyHistory)
{
    ShowWhole();
    ExpectCounts(1, 0, 0);
    EXPECT_EQ(host.LastReadouts().drawNestTotal, "1");
}

TEST_F(HistoryTest, WholeViewAfterZoomsEmptiesBothStacks)
{
    ShowWhole();
    Zoom();
    Zoom();
    GoBack(host);
    ASSERT_EQ(BackStack.size(), 1u);
    ASSERT_EQ(ForwardStack.size(), 1u);

    ShowWhole(2);
    EXPECT_TRUE(BackStack.empty());
    EXPECT_TRUE(ForwardStack.empty());
    EXPECT_EQ(host.LastReadouts().drawNestTotal, "1");
    EXPECT_FALSE(host.IsEnabled(QVCommand::pmiPrev));
    EXPECT_FALSE(host.IsEnabled(QVCommand::pmiNext));
}

TEST_F(HistoryTest, ResetHistoryDisablesBackAndForwardItems)
{
    host.SetCommandEnabled(QVCommand::pmiPrev, true);
    host.SetCommandEnabled(QVCommand::pmiNext, true);
    PushView(BackStack);
    PushView(ForwardStack);
    ResetHistory(host);
    EXPECT_TRUE(BackStack.empty());
    EXPECT_TRUE(ForwardStack.empty());
    EXPECT_FALSE(host.IsEnabled(QVCommand::pmiPrev));
    EXPECT_FALSE(host.IsEnabled(QVCommand::pmiNext));
}

TEST_F(HistoryTest, TwoZoomsThenBackThenForward)
{
    ShowWhole();
    Zoom();
    Zoom();
    ExpectCounts(3, 2, 0);
    const ViewRecord third = dpCurr;

    GoBack(host);
    ExpectCounts(2, 1, 1);
    EXPECT_EQ(host.LastReadouts().drawNestTotal, "3");

    GoForward(host);
    ExpectCounts(3, 2, 0);
    ExpectSameView(dpCurr, third);
}

TEST_F(HistoryTest, ZoomPushesTheViewBeingLeftWithItsSelection)
{
    ShowWhole();
    const ViewRecord whole = dpCurr;
    const Selection s{4, 6, 24, 16};
    Zoom(s);
    ASSERT_EQ(BackStack.size(), 1u);
    const ViewRecord& left = *BackStack.back();
    ExpectSameView(left, whole);
    EXPECT_EQ(left.csx, 4);
    EXPECT_EQ(left.csy, 6);
    EXPECT_EQ(left.cex, 24);
    EXPECT_EQ(left.cey, 16);
    EXPECT_EQ(left.cdx, 20);
    EXPECT_EQ(left.cdy, 10);
    EXPECT_EQ(left.ccx, 14);
    EXPECT_EQ(left.ccy, 11);
}

TEST_F(HistoryTest, ZoomMakesNextViewCurrent)
{
    ShowWhole();
    Select({10, 5, 30, 20});
    ASSERT_EQ(ComputeNextView(), ZoomResult::Ready);
    const ViewRecord next = dpNext;
    ZoomHistoryStep(host);
    ExpectSameView(dpCurr, next);
    EXPECT_EQ(dpCurr.dwx, next.dwx);
    EXPECT_EQ(dpCurr.dwy, next.dwy);
    EXPECT_EQ(dpCurr.dinum, 2);
    EXPECT_TRUE(host.IsEnabled(QVCommand::pmiPrev));
    EXPECT_FALSE(host.IsEnabled(QVCommand::pmiNext));
}

TEST_F(HistoryTest, ZoomAfterGoingBackDropsForwardHistory)
{
    ShowWhole();
    Zoom();
    Zoom();
    GoBack(host);
    GoBack(host);
    ExpectCounts(1, 0, 2);
    EXPECT_EQ(host.LastReadouts().drawNestTotal, "3");

    Zoom({0, 0, 20, 30});
    ExpectCounts(2, 1, 0);
    EXPECT_EQ(host.LastReadouts().drawNestTotal, "2");
    EXPECT_FALSE(host.IsEnabled(QVCommand::pmiNext));
}

TEST_F(HistoryTest, BackWithOneRecordDisablesBackAtOnceAndShowsIt)
{
    ShowWhole();
    const ViewRecord whole = dpCurr;
    Zoom();
    host.ClearRecording();

    GoBack(host);
    ASSERT_GE(host.commandLog.size(), 2u);
    EXPECT_EQ(host.commandLog[0], std::make_pair(QVCommand::pmiPrev, false));
    EXPECT_EQ(host.commandLog[1], std::make_pair(QVCommand::pmiNext, true));
    ExpectSameView(dpCurr, whole);
    ExpectCounts(1, 0, 1);
}

TEST_F(HistoryTest, BackWithTwoRecordsKeepsBackEnabled)
{
    ShowWhole();
    Zoom();
    Zoom();
    host.ClearRecording();

    GoBack(host);
    ASSERT_FALSE(host.commandLog.empty());
    EXPECT_EQ(host.commandLog[0], std::make_pair(QVCommand::pmiNext, true));
    EXPECT_TRUE(host.IsEnabled(QVCommand::pmiPrev));
}

TEST_F(HistoryTest, ForwardWithOneRecordDisablesForwardAtOnce)
{
    ShowWhole();
    Zoom();
    GoBack(host);
    host.ClearRecording();

    GoForward(host);
    ASSERT_GE(host.commandLog.size(), 2u);
    EXPECT_EQ(host.commandLog[0], std::make_pair(QVCommand::pmiNext, false));
    EXPECT_EQ(host.commandLog[1], std::make_pair(QVCommand::pmiPrev, true));
    ExpectCounts(2, 1, 0);
}

TEST_F(HistoryTest, ReachableCountStaysConstantUnderBackAndForward)
{
    ShowWhole();
    Zoom({10, 5, 30, 20});
    Zoom({2, 2, 20, 12});
    Zoom({5, 5, 15, 25});
    ASSERT_EQ(Reachable(), 4);
    const int deepest = dpCurr.dinum;

    for (int i = 0; i < 3; ++i) {
        GoBack(host);
        EXPECT_EQ(Reachable(), 4);
        EXPECT_EQ(host.LastReadouts().drawNestTotal, "4");
        EXPECT_EQ(dpCurr.dinum, deepest - 1 - i);
    }
    GoBack(host);  // nothing further back
    EXPECT_EQ(Reachable(), 4);
    EXPECT_EQ(dpCurr.dinum, 1);
    for (int i = 0; i < 3; ++i) {
        GoForward(host);
        EXPECT_EQ(Reachable(), 4);
        EXPECT_EQ(host.LastReadouts().drawNestTotal, "4");
        EXPECT_EQ(dpCurr.dinum, 2 + i);
    }
}

TEST_F(HistoryTest, BackRestoresSelectionAndRenderClearsItsCorners)
{
    ShowWhole();
    Zoom({4, 6, 24, 16});
    host.ClearRecording();

    GoBack(host);
    ASSERT_TRUE(host.lastFittedView.has_value());
    const ViewRecord& restored = *host.lastFittedView;  // as it was before the render
    EXPECT_EQ(restored.csx, 4);
    EXPECT_EQ(restored.csy, 6);
    EXPECT_EQ(restored.cex, 24);
    EXPECT_EQ(restored.cey, 16);

    EXPECT_EQ(dpCurr.csx, 0);
    EXPECT_EQ(dpCurr.csy, 0);
    EXPECT_EQ(dpCurr.cex, 0);
    EXPECT_EQ(dpCurr.cey, 0);
    EXPECT_EQ(dpCurr.cdx, 20);
    EXPECT_EQ(dpCurr.cdy, 10);
    EXPECT_EQ(dpCurr.ccx, 14);
    EXPECT_EQ(dpCurr.ccy, 11);
    EXPECT_TRUE(dpCurr.dbOK);
}

TEST_F(HistoryTest, BackFitsWindowAndRendersTheRestoredPicture)
{
    ShowWhole();
    Zoom();
    host.ClearRecording();

    GoBack(host);
    EXPECT_EQ(host.fitCalls, 1);
    EXPECT_EQ(dpCurr.diWinW, 40 + 6);
    EXPECT_EQ(dpCurr.diWinH, 30 + host.frameHeight + 2);
    ASSERT_EQ(host.progressResets.size(), 1u);
    EXPECT_EQ(host.progressResets[0], 40);
    EXPECT_EQ(host.paintedColumns.size(), 40u);
    EXPECT_EQ(host.paintedColumns.at(39).size(), 30u);
}

TEST_F(HistoryTest, BackRecomputesExtentsFromRestoredPictureSize)
{
    ShowWhole();
    const ViewRecord whole = dpCurr;
    Zoom();
    dpCurr.diImgW = 25;  // the zoomed window was resized before going back
    dpCurr.diImgH = 17;

    GoBack(host);
    EXPECT_EQ(dpCurr.diImgW, 40);
    EXPECT_EQ(dpCurr.diImgH, 30);
    EXPECT_EQ(dpCurr.dwx, 40 * whole.dwPitchX);
    EXPECT_EQ(dpCurr.dwy, 30 * whole.dwPitchY);

    GoForward(host);
    EXPECT_EQ(dpCurr.diImgW, 25);
    EXPECT_EQ(dpCurr.diImgH, 17);
    EXPECT_EQ(dpCurr.dwx, 25 * dpCurr.dwPitchX);
    EXPECT_EQ(dpCurr.dwy, 17 * dpCurr.dwPitchY);
}

TEST_F(HistoryTest, RedrawAfterResizeKeepsCentreAndPitch)
{
    ShowWhole();
    Zoom();
    const ViewRecord before = dpCurr;
    host.ClearRecording();

    dpCurr.diImgW = 50;
    dpCurr.diImgH = 20;
    Redraw(host);

    EXPECT_EQ(dpCurr.dwa, before.dwa);
    EXPECT_EQ(dpCurr.dwb, before.dwb);
    EXPECT_EQ(dpCurr.dwPitchX, before.dwPitchX);
    EXPECT_EQ(dpCurr.dwPitchY, before.dwPitchY);
    EXPECT_EQ(dpCurr.dwx, 50 * before.dwPitchX);
    EXPECT_EQ(dpCurr.dwy, 20 * before.dwPitchY);
    EXPECT_NE(dpCurr.dwx, before.dwx);
    EXPECT_NE(dpCurr.dwy, before.dwy);
    EXPECT_EQ(dpCurr.diWinW, 56);
    EXPECT_EQ(dpCurr.diWinH, 20 + host.frameHeight + 2);
    EXPECT_EQ(host.lastFillWidth, 50);
    EXPECT_EQ(host.lastFillHeight, 20);
    EXPECT_EQ(host.paintedColumns.size(), 50u);
    EXPECT_EQ(host.paintedColumns.at(0).size(), 20u);
}

TEST_F(HistoryTest, RedrawLeavesHistoryAlone)
{
    ShowWhole();
    Zoom();
    Zoom();
    GoBack(host);
    Redraw(host);
    ExpectCounts(2, 1, 1);
}

TEST_F(HistoryTest, BackOnEmptyStackOnlyDisables)
{
    ShowWhole();
    const ViewRecord before = dpCurr;
    host.SetCommandEnabled(QVCommand::pmiPrev, true);
    host.ClearRecording();

    GoBack(host);
    EXPECT_FALSE(host.IsEnabled(QVCommand::pmiPrev));
    EXPECT_EQ(host.commandLog.size(), 1u);
    EXPECT_EQ(host.fitCalls, 0);
    EXPECT_TRUE(host.readouts.empty());
    EXPECT_TRUE(host.paintedColumns.empty());
    EXPECT_TRUE(ForwardStack.empty());
    ExpectSameView(dpCurr, before);
}

TEST_F(HistoryTest, ForwardOnEmptyStackOnlyDisables)
{
    ShowWhole();
    Zoom();
    const ViewRecord before = dpCurr;
    host.SetCommandEnabled(QVCommand::pmiNext, true);
    host.ClearRecording();

    GoForward(host);
    EXPECT_FALSE(host.IsEnabled(QVCommand::pmiNext));
    EXPECT_EQ(host.commandLog.size(), 1u);
    EXPECT_EQ(host.fitCalls, 0);
    EXPECT_TRUE(host.readouts.empty());
    EXPECT_EQ(BackStack.size(), 1u);
    ExpectSameView(dpCurr, before);
}

TEST_F(HistoryTest, PushViewStoresAnIndependentCopy)
{
    dpCurr.dwa = 1.25L;
    dpCurr.dinum = 7;
    PushView(BackStack);
    dpCurr.dwa = -3.0L;
    dpCurr.dinum = 8;
    ASSERT_EQ(BackStack.size(), 1u);
    EXPECT_EQ(BackStack.back()->dwa, 1.25L);
    EXPECT_EQ(BackStack.back()->dinum, 7);
}

TEST_F(HistoryTest, PopViewIsLastInFirstOut)
{
    for (int n = 1; n <= 3; ++n) {
        dpCurr.dinum = n;
        PushView(ForwardStack);
    }
    for (int n = 3; n >= 1; --n) {
        const std::unique_ptr<ViewRecord> top = PopView(ForwardStack);
        ASSERT_NE(top, nullptr);
        EXPECT_EQ(top->dinum, n);
    }
    EXPECT_EQ(PopView(ForwardStack), nullptr);
}

TEST_F(HistoryTest, ClearHistoryStackEmptiesIt)
{
    for (int n = 0; n < 5; ++n)
        PushView(BackStack);
    ClearHistoryStack(BackStack);
    EXPECT_TRUE(BackStack.empty());
    ClearHistoryStack(BackStack);
    EXPECT_TRUE(BackStack.empty());
}

TEST_F(HistoryTest, CancelledRenderStillEndsWithHistoryControls)
{
    ShowWhole();
    Zoom();
    host.onPendingMessages = [] { CancelRequested = true; };
    GoBack(host);
    EXPECT_EQ(dpCurr.dinum, 1);
    EXPECT_TRUE(host.IsEnabled(QVCommand::pmiNext));
    EXPECT_FALSE(host.IsEnabled(QVCommand::pmiPrev));
    EXPECT_TRUE(dpCurr.dbOK);
}

}  // namespace
