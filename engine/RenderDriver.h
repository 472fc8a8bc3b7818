#pragma once
// Turns dpCurr into a picture, the iteration buffer and the escape histogram.

#include "engine/QVHost.h"
#include "engine/ViewRecord.h"

// Full render of the view (always dpCurr) at ActiveDepth, column by column,
// handling pending messages every 16 columns and stopping at a column
// boundary on cancel. In the histogram colouring the columns show the count
// colouring until the render ends, and then what it drew is painted again.
void RenderView(QVHost& host, ViewRecord& view);
// Repaints what the last render filled in ActiveDepth's colouring and
// currentColorMap, without iterating: the count colouring from the
// iteration buffer (escape count 0 paints black), the others from the whole
// counts and the ends of the orbits.
void RecolorPicture(QVHost& host);

void EnterRenderingState(QVHost& host);
void LeaveRenderingState(QVHost& host);

// Read-outs of a view: centre, extents, magnification against WholeView and
// the nesting counters for the given history counts.
ViewReadouts MakeReadouts(const ViewRecord& view, int backCount, int forwardCount);

// Magnification of the view against WholeView; 1 for the whole view itself.
long double Magnification(const ViewRecord& view);
