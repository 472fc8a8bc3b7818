#pragma once
// The ground truth for deep views: every pixel iterated on its own, directly
// in MPFR, with ample precision. Slow: for small pictures.

#include <cstdint>
#include <vector>

#include "engine/deep/DeepJob.h"

// The bits the truth takes by default: 64 more than the deep renderer's reference.
long TruthBits(const DeepJob& job);

// The escape counts of rows [first, first + count) of the job's picture, row
// after row (the job's limit for a captured point), each pixel the point
// centre + offset exactly, iterated from z = 0 with the formula's update
// and the escape test |z|^2 >= 10 in `bits` of precision (0: TruthBits).
std::vector<uint32_t> TruthCounts(const DeepJob& job, int first, int count, long bits = 0, int threads = 0);
// The count of one pixel in the given bits; with a shift, of its point moved
// right by 2^shift of a pixel.
uint32_t TruthCount(const DeepJob& job, int x, int y, long bits, long shift = 0);

// Whether the truth's count of a pixel is settled: the same with twice the
// bits, and for the point moved by 2^-90 of a pixel. A view is drawn to
// about 2^-96 of a pixel (its centre is rounded to the reference's bits, the
// reference computed in them); a count that changes within that, as at the
// centre of a view on a Misiurewicz point, which the view's point is closer
// to than its digits tell, is not the view's to give.
bool TruthSettled(const DeepJob& job, int x, int y, uint32_t count);
