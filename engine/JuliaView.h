#pragma once
// Julia views among the views: the whole view of the Julia set of a point of
// the picture on screen, and the formula's own plane again.

#include "engine/JuliaPoint.h"
#include "engine/PlaneRegion.h"
#include "engine/ViewRecord.h"

// The point of pixel (x, y) of the picture on screen, by the rule pixel
// information shows it with.
PlanePoint PointUnderPixel(int x, int y);

// The whole view of the Julia set of c on the picture size of `from`: the
// same formula, depth 1, centre and extents of JuliaWholeRegion.
ViewRecord JuliaWholeView(const ViewRecord& from, const FormulaParams& params);
// The formula's own whole view on the picture size of `from`.
ViewRecord PlaneWholeView(const ViewRecord& from, const FormulaParams& params);
