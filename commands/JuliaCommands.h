#pragma once
// Julia views: the Julia set of a point of the picture on screen as the next
// view, the formula's own plane again, and the live preview that follows the
// pointer over a picture of the formula's plane.

#include <QPoint>
#include <functional>

#include "engine/Iteration.h"
#include "engine/PlaneRegion.h"

// The whole view of the Julia set of the point at pixel (x, y) of the picture
// on screen, into the history like a zoom. Nothing during a render or before
// the first picture; a point that is not finite is refused with a message.
void ShowJuliaOfPixel(QPoint pixel);
// The same for a point of the plane.
void ShowJuliaOfPoint(PlanePoint c);
// From a Julia view: the formula's own whole view, into the history.
void ShowFormulaPlane();
// Whether the view on screen is a Julia view.
bool InJuliaView();

// The preview: what it draws for a point, and the window's way to receive it.
// The limit of a preview: the view's, at most this.
inline constexpr int kMostPreviewLimit = 256;
inline constexpr int kPreviewSide = 160;
// The iteration and the region a preview of the Julia set of c draws.
Iteration PreviewIteration(PlanePoint c);
PlaneRegion PreviewRegion();
// The pointer over pixel (x, y) of the drawing window's picture: the sink
// (the preview window, while it is shown) gets the point, on the formula's
// own plane only.
void SetJuliaPreviewSink(std::function<void(PlanePoint)> sink);
bool JuliaPreviewOn();
void PointerOverPicture(QPoint pixel);
