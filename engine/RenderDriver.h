#pragma once
// Turns dpCurr into a picture, the iteration buffer and the escape histogram.

#include "engine/QVHost.h"
#include "engine/ViewRecord.h"

// Full render of the view (always dpCurr), column by column, handling pending
// messages every 16 columns and stopping at a column boundary on cancel.
void RenderView(QVHost& host, ViewRecord& view);
// Repaints what the last render filled from the iteration buffer and
// currentColorMap, without iterating. Escape count 0 paints black.
void RecolorPicture(QVHost& host);

void EnterRenderingState(QVHost& host);
void LeaveRenderingState(QVHost& host);

// Read-outs of a view: centre, extents, magnification against WholeView and
// the nesting counters for the given history counts.
ViewReadouts MakeReadouts(const ViewRecord& view, int backCount, int forwardCount);

// Magnification of the view against WholeView; 1 for the whole view itself.
long double Magnification(const ViewRecord& view);
