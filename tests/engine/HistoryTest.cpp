#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "EngineTestSupport.h"
#include "engine/EngineState.h"
#include "engine/History.h"
#include "engine/Navigation.h"
#include "engine/RenderDriver.h"

namespace {

struct Selection {
    int csx, csy, cex, cey;
};

class HistoryTest : public ::testing::Test {
protected:
    FakeHost host;

    void SetUp() override
    {
        ResetEngineState();
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

    static void Select(const Selection& s) { SelectRectangle(dpCurr, s.csx, s.csy, s.cex, s.cey); }

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
        EXPECT_EQ(host.IsEnabled(QVCommand::Back), back > 0);
        EXPECT_EQ(host.IsEnabled(QVCommand::Forward), forward > 0);
    }

    // Back or forward with nothing to go to only disables its command.
    void ExpectStepOnEmptyStackOnlyDisables(void (*step)(QVHost&), QVCommand item)
    {
        const ViewRecord before = dpCurr;
        host.SetCommandEnabled(item, true);
        host.ClearRecording();

        step(host);
        EXPECT_FALSE(host.IsEnabled(item));
        EXPECT_EQ(host.commandCalls.size(), 1u);
        EXPECT_EQ(host.fitWindowCalls, 0);
        EXPECT_TRUE(host.readouts.empty());
        EXPECT_EQ(host.paintColumnCalls, 0);
        EXPECT_EQ(KeptFieldsOf(dpCurr), KeptFieldsOf(before));
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
    EXPECT_FALSE(host.IsEnabled(QVCommand::Back));
    EXPECT_FALSE(host.IsEnabled(QVCommand::Forward));
}

TEST_F(HistoryTest, ResetHistoryDisablesBackAndForwardItems)
{
    host.SetCommandEnabled(QVCommand::Back, true);
    host.SetCommandEnabled(QVCommand::Forward, true);
    PushView(BackStack);
    PushView(ForwardStack);
    ResetHistory(host);
    EXPECT_TRUE(BackStack.empty());
    EXPECT_TRUE(ForwardStack.empty());
    EXPECT_FALSE(host.IsEnabled(QVCommand::Back));
    EXPECT_FALSE(host.IsEnabled(QVCommand::Forward));
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
    EXPECT_EQ(KeptFieldsOf(dpCurr), KeptFieldsOf(third));
}

TEST_F(HistoryTest, ZoomPushesTheViewBeingLeftWithItsSelection)
{
    ShowWhole();
    const ViewRecord whole = dpCurr;
    const Selection s{4, 6, 24, 16};
    Zoom(s);
    ASSERT_EQ(BackStack.size(), 1u);
    const ViewRecord& left = BackStack.back()->view;
    EXPECT_EQ(KeptFieldsOf(left), KeptFieldsOf(whole));
    EXPECT_EQ(SelectionOf(left), (SelectionFields{4, 6, 24, 16, 20, 10, 14, 11}));
}

TEST_F(HistoryTest, ZoomMakesNextViewCurrent)
{
    ShowWhole();
    Select({10, 5, 30, 20});
    ASSERT_EQ(ComputeNextView(), ZoomResult::Ready);
    const ViewRecord next = dpNext;
    ZoomHistoryStep(host);
    EXPECT_EQ(KeptFieldsOf(dpCurr), KeptFieldsOf(next));
    EXPECT_EQ(dpCurr.dwx, next.dwx);
    EXPECT_EQ(dpCurr.dwy, next.dwy);
    EXPECT_EQ(dpCurr.dinum, 2);
    EXPECT_TRUE(host.IsEnabled(QVCommand::Back));
    EXPECT_FALSE(host.IsEnabled(QVCommand::Forward));
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
    EXPECT_FALSE(host.IsEnabled(QVCommand::Forward));
}

TEST_F(HistoryTest, BackWithOneRecordDisablesBackAtOnceAndShowsIt)
{
    ShowWhole();
    const ViewRecord whole = dpCurr;
    Zoom();
    host.ClearRecording();

    GoBack(host);
    ASSERT_GE(host.commandCalls.size(), 2u);
    EXPECT_EQ(host.commandCalls[0], std::make_pair(QVCommand::Back, false));
    EXPECT_EQ(host.commandCalls[1], std::make_pair(QVCommand::Forward, true));
    EXPECT_EQ(KeptFieldsOf(dpCurr), KeptFieldsOf(whole));
    ExpectCounts(1, 0, 1);
}

TEST_F(HistoryTest, BackWithTwoRecordsKeepsBackEnabled)
{
    ShowWhole();
    Zoom();
    Zoom();
    host.ClearRecording();

    GoBack(host);
    ASSERT_FALSE(host.commandCalls.empty());
    EXPECT_EQ(host.commandCalls[0], std::make_pair(QVCommand::Forward, true));
    EXPECT_TRUE(host.IsEnabled(QVCommand::Back));
}

TEST_F(HistoryTest, ForwardWithOneRecordDisablesForwardAtOnce)
{
    ShowWhole();
    Zoom();
    GoBack(host);
    host.ClearRecording();

    GoForward(host);
    ASSERT_GE(host.commandCalls.size(), 2u);
    EXPECT_EQ(host.commandCalls[0], std::make_pair(QVCommand::Forward, false));
    EXPECT_EQ(host.commandCalls[1], std::make_pair(QVCommand::Back, true));
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
    EXPECT_EQ(SelectionOf(restored), (SelectionFields{4, 6, 24, 16, 20, 10, 14, 11}));
    EXPECT_EQ(SelectionOf(dpCurr), (SelectionFields{0, 0, 0, 0, 20, 10, 14, 11}));
    EXPECT_TRUE(dpCurr.dbOK);
}

TEST_F(HistoryTest, BackFitsWindowAndRendersTheRestoredPicture)
{
    ShowWhole();
    Zoom();
    host.ClearRecording();

    GoBack(host);
    EXPECT_EQ(host.fitWindowCalls, 1);
    EXPECT_EQ(dpCurr.diWinW, 40 + 6);
    EXPECT_EQ(dpCurr.diWinH, 30 + host.frameHeight + 2);
    EXPECT_EQ(host.ProgressResets(), 1);
    EXPECT_EQ(host.progressMaximum, 40);
    ExpectPaintedOnce(host, 40, 30, 41, 31);
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

    ExpectRedrawnAtSamePitch(before, 50, 20);
    EXPECT_NE(dpCurr.dwx, before.dwx);
    EXPECT_NE(dpCurr.dwy, before.dwy);
    EXPECT_EQ(dpCurr.diWinW, 56);
    EXPECT_EQ(dpCurr.diWinH, 20 + host.frameHeight + 2);
    EXPECT_EQ(host.backgroundFills, (std::vector<std::pair<int, int>>{{50, 20}}));
    ExpectPaintedOnce(host, 50, 20, 51, 21);
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
    ExpectStepOnEmptyStackOnlyDisables(GoBack, QVCommand::Back);
    EXPECT_TRUE(ForwardStack.empty());
}

TEST_F(HistoryTest, ForwardOnEmptyStackOnlyDisables)
{
    ShowWhole();
    Zoom();
    ExpectStepOnEmptyStackOnlyDisables(GoForward, QVCommand::Forward);
    EXPECT_EQ(BackStack.size(), 1u);
}

TEST_F(HistoryTest, PushViewStoresAnIndependentCopy)
{
    dpCurr.dwa = 1.25L;
    dpCurr.dinum = 7;
    PushView(BackStack);
    dpCurr.dwa = -3.0L;
    dpCurr.dinum = 8;
    ASSERT_EQ(BackStack.size(), 1u);
    EXPECT_EQ(BackStack.back()->view.dwa, 1.25L);
    EXPECT_EQ(BackStack.back()->view.dinum, 7);
}

TEST_F(HistoryTest, PopViewIsLastInFirstOut)
{
    for (int n = 1; n <= 3; ++n) {
        dpCurr.dinum = n;
        PushView(ForwardStack);
    }
    for (int n = 3; n >= 1; --n) {
        const std::unique_ptr<HistoryEntry> top = PopView(ForwardStack);
        ASSERT_NE(top, nullptr);
        EXPECT_EQ(top->view.dinum, n);
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
    host.onProcessMessages = [](int) { CancelRequested = true; };
    GoBack(host);
    EXPECT_EQ(dpCurr.dinum, 1);
    EXPECT_TRUE(host.IsEnabled(QVCommand::Forward));
    EXPECT_FALSE(host.IsEnabled(QVCommand::Back));
    EXPECT_TRUE(dpCurr.dbOK);
}

// Depths along the history, finite views and the command states, after any
// step.
testing::AssertionResult HistoryIsSound(const FakeHost& host)
{
    const size_t back = BackStack.size();
    const size_t forward = ForwardStack.size();
    if (dpCurr.dinum != int(back) + 1)
        return testing::AssertionFailure() << "dinum " << dpCurr.dinum << " with " << back << " back";
    for (size_t i = 0; i < back; ++i)
        if (BackStack[i]->view.dinum != int(i) + 1)
            return testing::AssertionFailure() << "back record " << i << " at depth " << BackStack[i]->view.dinum;
    for (size_t j = 0; j < forward; ++j)
        if (ForwardStack[j]->view.dinum != dpCurr.dinum + int(forward - j))
            return testing::AssertionFailure() << "forward record " << j << " at depth " << ForwardStack[j]->view.dinum;
    if (host.IsEnabled(QVCommand::Back) != (back > 0) || host.IsEnabled(QVCommand::Forward) != (forward > 0))
        return testing::AssertionFailure() << "back/forward commands do not follow the stacks";
    if (!host.readouts.empty() && (host.LastReadouts().drawNest != std::to_string(dpCurr.dinum) ||
                                   host.LastReadouts().drawNestTotal != std::to_string(back + forward + 1)))
        return testing::AssertionFailure() << "read-outs " << host.LastReadouts().drawNest << '/'
                                           << host.LastReadouts().drawNestTotal;
    const auto finite = [](const ViewRecord& v) {
        return v.diImgW >= 1 && v.diImgH >= 1 && v.dwPitchX > 0 && v.dwPitchY > 0 && std::isfinite(v.dwPitchX) &&
               std::isfinite(v.dwPitchY) && std::isfinite(v.dwx) && std::isfinite(v.dwy) && std::isfinite(v.dwa) &&
               std::isfinite(v.dwb);
    };
    if (!finite(dpCurr))
        return testing::AssertionFailure() << "current view " << dpCurr.diImgW << 'x' << dpCurr.diImgH << " pitch "
                                           << double(dpCurr.dwPitchX) << ", " << double(dpCurr.dwPitchY);
    for (const ViewStack* stack : {&BackStack, &ForwardStack})
        for (const auto& record : *stack)
            if (!finite(record->view))
                return testing::AssertionFailure() << "a stored view is not finite";
    return testing::AssertionSuccess();
}

TEST_F(HistoryTest, ThousandsOfRandomStepsKeepTheHistorySound)
{
    std::mt19937 random(12);
    const auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    // Within the picture, or a drag far beyond it.
    const auto extent = [&](int side) { return pick(0, 7) == 0 ? pick(1, 900) : pick(1, std::max(1, side)); };

    ShowWhole();
    for (int step = 0; step < 3000; ++step) {
        host.ClearRecording();
        const size_t reachable = Reachable();
        const int dinum = dpCurr.dinum;
        switch (pick(0, 4)) {
        case 0:
        case 1: {
            const int csx = pick(0, dpCurr.diImgW - 1);
            const int csy = pick(0, dpCurr.diImgH - 1);
            Zoom({csx, csy, csx + extent(dpCurr.diImgW), csy + extent(dpCurr.diImgH)});
            ASSERT_EQ(dpCurr.dinum, dinum + 1) << "step " << step;
            ASSERT_TRUE(ForwardStack.empty()) << "step " << step;
            break;
        }
        case 2:
            GoBack(host);
            ASSERT_EQ(size_t(Reachable()), reachable) << "step " << step;
            break;
        case 3:
            GoForward(host);
            ASSERT_EQ(size_t(Reachable()), reachable) << "step " << step;
            break;
        default:
            // The window resized by hand, then redrawn.
            dpCurr.diImgW = pick(1, 24);
            dpCurr.diImgH = pick(1, 24);
            Redraw(host);
            ASSERT_EQ(size_t(Reachable()), reachable) << "step " << step;
            break;
        }
        ASSERT_TRUE(HistoryIsSound(host)) << "step " << step;
    }
    ResetHistory(host);
    EXPECT_TRUE(BackStack.empty());
    EXPECT_TRUE(ForwardStack.empty());
}

}  // namespace
