#pragma once
// Moving through views: whole view set-up, zoom, back, forward and redraw.

#include <vector>

#include "engine/FormulaParams.h"
#include "engine/History.h"
#include "engine/PlaneRegion.h"
#include "engine/QVHost.h"
#include "engine/ViewRecord.h"
#include "engine/deep/PreciseCentre.h"

// Both stacks emptied; the popup's back and forward disabled.
void ResetHistory(QVHost& host);
// The entry of the view being left (the view on screen unless given) onto
// BackStack, back enabled, ForwardStack emptied, forward disabled, dpNext
// becomes dpCurr. Before the first picture (diType 0) there is no view to go
// back to, and nothing is pushed.
void ZoomHistoryStep(QVHost& host, const HistoryEntry& left = CurrentEntry());
// Back and forward show an entry as it was drawn: where its coefficients are
// not those in use, they become the ones in use and the edited ones, and the
// host shows them, as after a zoom.
void GoBack(QVHost& host);
void GoForward(QVHost& host);
// Fit the window to dpCurr, recompute the extents, render.
void Redraw(QVHost& host);

// Whole-view defaults of a formula type written into dpCurr, the edited
// parameters made active and WholeView taken; with the automatic limit, the
// limit starts again at 256. Sizes stay.
void SetUpWholeView(int type);
// A view made from the one on screen (a zoom, the wheel, the keys) keeps its
// limit and colouring; with the automatic limit it takes the limit the rule
// chose from the last render.
void TakeLimitForNewView();
// The whole-view fields of a formula type on the view's own picture size:
// depth 1, extents, pixel sizes and the centre, which is og for types 2 to 5.
void SetWholeViewFields(ViewRecord& view, int type, const ComplexValue& og);

// The selection rectangle of a view from two corners in picture pixels, in
// either order: csx..cey, its size cdx and cdy, its centre ccx and ccy.
void SetSelection(ViewRecord& view, int x1, int y1, int x2, int y2);

enum class ZoomResult { Ready, NoSelection, TooLarge, TooDeep };
// Computes dpNext from dpCurr's selection, and NextCentre from CurrentCentre;
// TooDeep where the formula can draw no such view (DepthLimitOf).
ZoomResult ComputeNextView();

// The square of the picture the indicator shows: left, top, right, bottom
// (right and bottom exclusive).
struct IndicatorSquare {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
inline constexpr int kIndicatorSize = 128;

// Plane units the indicator shows: the side of its square (the smaller of
// the whole view's extents) and the size of one indicator pixel.
struct IndicatorScale {
    long double extent = 0.0L;
    long double step = 0.0L;
};

// Positions of the indicator's vertical and horizontal mark; 0 means no line.
struct CrossMarks {
    int32_t x = 0;
    int32_t y = 0;
};

// The scale of the indicator for a whole view as its render left it.
IndicatorScale IndicatorScaleOf(const ViewRecord& whole);
// The square of the whole view's picture the indicator shows.
IndicatorSquare IndicatorSquareOf(const ViewRecord& whole);
// The marks at the centre of a view, measured from the whole view's centre.
CrossMarks CrossMarksOf(const ViewRecord& view, const ViewRecord& whole, const IndicatorScale& scale);

// ---- steps of the wheel and the keys ----------------------------------------

// The point of pixel (x, y) of a picture of the given size showing the view,
// by the pixel-size rule: (x - width / 2) pixel sizes right of the centre and
// (y - height / 2) below it, the halves truncated.
PlanePoint PointOfPixel(const ViewRecord& view, PictureSize picture, int x, int y);

// One step of the wheel or the keys: the view zoomed in by 2^zoom (out where
// zoom is negative) about pixel (x, y) of its picture, which keeps its point,
// or without atPixel about the centre; then moved right and down by quarters
// of that picture. The next picture has the view's own size (diImgW, diImgH).
struct ViewStep {
    int zoom = 0;
    bool atPixel = false;
    int x = 0;
    int y = 0;
    int right = 0;
    int down = 0;
};

// Appends a step, merged with the last one where it can be: zooms about the
// same pixel (or both about the centre) multiply, moves add up.
void AddViewStep(std::vector<ViewStep>& steps, const ViewStep& step);

// The view the steps lead to from a view whose picture on screen has the
// given size, each step taken from the picture the one before would show, all
// as one step of depth. False where they lead nowhere: no change at all, or a
// pixel size, extent or centre beyond what the numbers can hold, or a view
// deeper than the formula can draw (limit says which, where given). A deep
// view's centre moves from its precise centre (centre), and nextCentre, where
// given, receives the next one.
enum class DepthLimit;
bool ViewAfterSteps(const ViewRecord& view, PictureSize shown, const std::vector<ViewStep>& steps, ViewRecord& next,
                    const PreciseCentre& centre = {}, PreciseCentre* nextCentre = nullptr, DepthLimit* limit = nullptr);

// Whole wheel steps from the wheel's angle deltas, 120 to a step: a
// smooth-scrolling touchpad's small deltas add up, and the rest waits for
// the next delta unless that one turns the other way.
class WheelSteps {
public:
    static constexpr int kAngleOfStep = 120;
    int Take(int angleDelta);
    void Clear() { rest_ = 0; }

private:
    int rest_ = 0;
};
