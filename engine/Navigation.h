#pragma once
// Moving through views: whole view set-up, zoom, back, forward and redraw.

#include "QVHost.h"
#include "ViewRecord.h"

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

enum class ZoomResult { Ready, NoSelection, TooLarge };
inline constexpr int kMaxPictureWidth = 1600;
inline constexpr int kMaxPictureHeight = 1200;
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
// Sets IndicatorExtent and IndicatorStep from dpCurr, clears the cross
// marks and returns the square of the picture to copy.
IndicatorSquare UpdateIndicatorScale();
// Positions of the cross marks for dpCurr against WholeView; 0 means no line.
void ComputeCrossMarks(int32_t& crossX, int32_t& crossY);
