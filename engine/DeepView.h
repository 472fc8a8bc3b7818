#pragma once
// Views beyond the direct kernels: which views the deep renderer draws, the
// job it takes for one, and where a formula can go no deeper.

#include <cstdint>

#include "engine/FormulaParams.h"
#include "engine/Iteration.h"
#include "engine/JuliaPoint.h"
#include "engine/PlaneRegion.h"
#include "engine/ViewRecord.h"
#include "engine/deep/DeepJob.h"
#include "engine/deep/PreciseCentre.h"

// Formula types the deep renderer draws: the polynomial maps 1 to 4.
bool IsDeepType(int type);
// True when a picture of this region is drawn by the deep renderer: a deep
// type on its own plane (Julia views keep the direct kernels) whose pixels
// (the render's, extent over width) are below what the direct kernels
// resolve (DirectKernelsResolve).
bool IsDeepRegion(const Iteration& what, const PlaneRegion& region);

enum class DepthLimit {
    None,
    EightyBits,  // types 5 and 6: pixels the direct kernels no longer resolve
    JuliaEightyBits,  // the same in a Julia view of any type
    Smallest,    // pixels below the smallest a deep view may have
};
// Whether a view with these pixel sizes and centre may be drawn at all.
DepthLimit DepthLimitOf(int type, bool julia, long double centreX, long double centreY, long double pitchX,
                        long double pitchY);
inline DepthLimit DepthLimitOf(const ViewRecord& v, const JuliaPoint& julia)
{
    return DepthLimitOf(v.diType, julia.isSet, v.dwa, v.dwb, v.dwPitchX, v.dwPitchY);
}
// What the program says when a zoom goes no deeper.
const char* DepthLimitMessage(DepthLimit limit);

// The deep renderer's job for a region of the plane at its own size, its
// centre the precise one where it has one.
DeepJob DeepJobOf(int type, const FormulaParams& params, const PlaneRegion& region, const PreciseCentre& centre,
                  int32_t limit);
