#include "commands/ViewSteps.h"

#include <QImage>
#include <QTimer>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

#include "commands/CommandSet.h"
#include "commands/CommandSupport.h"
#include "commands/WindowPorts.h"
#include "commands/WindowsHostAdapter.h"
#include "engine/EngineState.h"
#include "engine/Place.h"
#include "engine/PlaceView.h"
#include "engine/RenderDriver.h"
#include "platform/QtSupport.h"

namespace {

// The steps of the wheel and the keys that wait to be taken, and a place
// pasted during a render, which opens once the render has returned.
std::vector<ViewStep> waitingSteps;
std::optional<Place> waitingPlace;
WheelSteps wheelSteps;
bool stepsScheduled = false;
// The waiting steps or place asked the render under way, or the last one, to stop.
bool stoppedForWaiting = false;

// How often steps that wait for a render look whether it has returned.
constexpr int kRenderReturnCheckMs = 10;

void ScheduleWaitingSteps(int delayMs);

// A blank indicator at a new whole view's scale: no picture of it has been drawn.
void ShowBlankIndicator()
{
    ControlWindowPort* control = Ports().control;
    if (!control)
        return;
    QImage blank(kIndicatorSize, kIndicatorSize, QImage::Format_RGB32);
    blank.fill(Qt::white);
    control->ShowIndicator(blank, IndicatorScaleOf(WholeView));
}

// The waiting steps lead from the view on screen, or the one being drawn, to another.
bool WaitingStepsLeadSomewhere()
{
    ViewRecord next;
    return ViewAfterSteps(dpCurr, ShownPictureSize(dpCurr), waitingSteps, next, CurrentCentre);
}

// A render under way stops at its next block for a waiting place, or for
// steps that will draw another view. Steps that came to nothing take back the
// stop they asked for: the render has not seen it while it still runs.
void StopRenderForWaiting()
{
    if (waitingPlace || WaitingStepsLeadSomewhere()) {
        CancelRequested = true;
        stoppedForWaiting = true;
    } else if (std::exchange(stoppedForWaiting, false)) {
        CancelRequested = false;
    }
}

bool ShowsWholeView()
{
    const ViewRecord& v = dpCurr;
    const ViewRecord& w = WholeView;
    return std::tie(v.diType, v.diImgW, v.diImgH, v.dwa, v.dwb, v.dwx, v.dwy, v.dwPitchX, v.dwPitchY) ==
           std::tie(w.diType, w.diImgW, w.diImgH, w.dwa, w.dwb, w.dwx, w.dwy, w.dwPitchX, w.dwPitchY);
}

// A render stopped for steps that then came to nothing is drawn again, at
// the size it had, or as a redraw at the size the window has taken since.
void DrawStoppedViewAgain()
{
    const RenderedArea stopped = LastRenderedArea;
    if (stopped.columns >= stopped.width && stopped.rows >= std::min(dpCurr.diImgH, kBufferRows))
        return;
    QVHost& host = WindowsHost();
    if (stopped.width == dpCurr.diImgW && stopped.rows == dpCurr.diImgH) {
        host.FitWindowToView(dpCurr);
        RenderView(host, dpCurr);
    } else {
        Redraw(host);
    }
    if (ShowsWholeView())
        RefreshIndicator();
}

void TakeWaitingSteps()
{
    stepsScheduled = false;
    bool sameStep = false;
    while (!waitingSteps.empty() || waitingPlace) {
        if (IsRendering) {
            StopRenderForWaiting();
            if (stoppedForWaiting)
                ScheduleWaitingSteps(kRenderReturnCheckMs);
            else
                waitingSteps.clear();  // they lead nowhere; the render goes on
            return;
        }
        const bool stopped = std::exchange(stoppedForWaiting, false);
        if (waitingPlace) {
            const Place place = *std::exchange(waitingPlace, std::nullopt);
            OpenPlace(place);
        } else {
            const std::vector<ViewStep> steps = std::exchange(waitingSteps, {});
            DepthLimit limit = DepthLimit::None;
            if (ViewAfterSteps(dpCurr, ShownPictureSize(dpCurr), steps, dpNext, CurrentCentre, &NextCentre, &limit)) {
                if (sameStep)
                    dpNext.dinum = dpCurr.dinum;
                TakeNextView(!sameStep);
            } else if (limit != DepthLimit::None) {
                waitingSteps.clear();
                SayDepthLimit(limit);
                if (stopped)
                    DrawStoppedViewAgain();
            } else if (stopped) {
                DrawStoppedViewAgain();
            }
        }
        // Steps that came while that view was drawn stopped its render: they
        // go on from it as one step of the history with it, so a wheel turned
        // fast is one zoom by the product of its steps.
        sameStep = !waitingSteps.empty();
    }
}

// The timer goes with the command set, so no step outlives the windows.
void ScheduleWaitingSteps(int delayMs)
{
    QVCommandSet* set = CurrentCommandSet();
    if (stepsScheduled || !set)
        return;
    stepsScheduled = true;
    QTimer::singleShot(delayMs, set, TakeWaitingSteps);
}




}  // namespace

void ForgetWaitingSteps()
{
    waitingSteps.clear();
    waitingPlace.reset();
    wheelSteps.Clear();
    stepsScheduled = false;
    stoppedForWaiting = false;
}

void AddWaitingStep(const ViewStep& step)
{
    AddViewStep(waitingSteps, step);
    if (IsRendering)
        StopRenderForWaiting();
    ScheduleWaitingSteps(0);
}

bool ViewStepsPossible() { return dpCurr.diType != 0 && Ports().drawing; }

int TakeWheelSteps(int angleDelta) { return wheelSteps.Take(angleDelta); }

void OpenPlaceAfterRender(const Place& place)
{
    waitingPlace = place;
    StopRenderForWaiting();
    ScheduleWaitingSteps(0);
}

void DropWaitingSteps() { waitingSteps.clear(); }

void KeepUserStop() { stoppedForWaiting = false; }

// A place read whole becomes the current view as after a zoom.
void OpenPlace(const Place& place)
{
    DrawingWindowPort* drawing = Ports().drawing;
    if (IsRendering || !drawing)
        return;
    // Steps still waiting were meant for the view being left.
    waitingSteps.clear();
    const HistoryEntry left = CurrentEntry();
    const PlaceChanges changes = SetUpPlace(place);
    if (changes.wholeView)
        ShowBlankIndicator();
    if (changes.colorMap)
        if (ControlWindowPort* control = Ports().control)
            control->MarkUserColorMap();
    // Sized before it is shown, so that no size the window passes through is
    // taken for the user's.
    drawing->FitWindowToView(dpNext);
    BringToFront(drawing->Window());
    TakeNextView(true, left, false);
}
