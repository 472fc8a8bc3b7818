#include "engine/SharedSamples.h"

#include <cmath>

namespace {

bool SameIteration(const Iteration& a, const Iteration& b)
{
    return a.type == b.type && a.params == b.params && a.limit == b.limit;
}

// Exactly half, where halving loses nothing.
bool Half(long double inner, long double outer) { return std::isnormal(inner) && inner * 2 == outer; }

}  // namespace

std::optional<SharedSamples> SamplesShared(const Iteration& outerIteration, const PlaneRegion& o,
                                           const Iteration& innerIteration, const PlaneRegion& i, int width,
                                           int height, bool fractions, size_t most)
{
    if (!SameIteration(outerIteration, innerIteration) || width < 2 || height < 2 || (width & 1) || (height & 1) ||
        o.centreX != i.centreX || o.centreY != i.centreY || !Half(i.extentX, o.extentX) ||
        !Half(i.extentY, o.extentY))
        return std::nullopt;
    SharedSamples shared;
    shared.halfWidth = width / 2;
    shared.halfHeight = height / 2;
    // Outer x with 0 <= 2x - w/2 < w.
    shared.firstColumn = (shared.halfWidth + 1) / 2;
    shared.endColumn = (width - 1 + shared.halfWidth) / 2 + 1;
    shared.firstRow = (shared.halfHeight + 1) / 2;
    shared.endRow = (height - 1 + shared.halfHeight) / 2 + 1;
    const size_t count = size_t(shared.Columns()) * size_t(shared.endRow - shared.firstRow);
    if (count > most)
        return std::nullopt;
    shared.counts.assign(count, 0);
    shared.fractions.assign(fractions ? count : 0, 0.0f);
    return shared;
}
