#pragma once
// Moving through views: whole view set-up, zoom, back, forward and redraw.

#include "engine/QVHost.h"
#include "engine/ViewRecord.h"

// Both stacks emptied; the popup's back and forward disabled.
void ResetHistory(QVHost& host);
// dpCurr onto BackStack, back enabled, ForwardStack emptied, forward disabled,
// dpNext becomes dpCurr.
void ZoomHistoryStep(QVHost& host);
void GoBack(QVHost& host);
void GoForward(QVHost& host);
// Fit the window to dpCurr, recompute the extents, render.
void Redraw(QVHost& host);

// Whole-view defaults of a formula type written into dpCurr, the edited
// parameters made active and WholeView taken. Sizes stay.
void SetUpWholeView(int type);

// The selection rectangle of a view from two corners in picture pixels, in
// either order: csx..cey, its size cdx and cdy, its centre ccx and ccy.
void SetSelection(ViewRecord& view, int x1, int y1, int x2, int y2);

enum class ZoomResult { Ready, NoSelection, TooLarge };
// Computes dpNext from dpCurr's selection.
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
