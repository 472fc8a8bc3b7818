#pragma once
// What the command files share among themselves: the windows behind the
// ports, the drag that a new render ends, and the step from dpNext to the
// view on screen that zooms, wheel and key steps and places all take.

#include <QString>
#include <string>

#include "engine/DeepView.h"
#include "engine/History.h"

class QWidget;
struct ControlWindowPort;
struct DrawingWindowPort;

QWidget* WindowOf(ControlWindowPort* port);
QWidget* WindowOf(DrawingWindowPort* port);
void SetTrackResize(bool on);
// Every command that starts a render first ends a drag of the rubber band
// and forgets its rectangle: the new picture is painted over both.
void ForgetRubberBand();
// dpNext becomes the current view as after a zoom: history, indicator marks,
// the coefficients in use back in the dialog, window fitted, render. `left`
// goes into the history as the view being left; without intoHistory the
// next view takes the current view's place in the history. A view made from
// the one on screen (madeFromView) takes the automatic limit's choice where
// that is on; a place brings its own.
void TakeNextView(bool intoHistory = true, const HistoryEntry& left = CurrentEntry(), bool madeFromView = true);
// A zoom that goes no deeper: the program says why, once for the view on
// screen, and the view stays.
void SayDepthLimit(DepthLimit limit);
// Thumbnail of the whole view, scale values, marks cleared.
void RefreshIndicator();
// Erases the old cross marks and draws them at the centre of dpCurr.
void UpdateIndicatorMarks();
// The place of the picture on screen as text, for a PNG to carry.
std::string CurrentPlaceText();
QString NativePath(const QString& path);
