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
// The count of one pixel in the given bits.
uint32_t TruthCount(const DeepJob& job, int x, int y, long bits);
