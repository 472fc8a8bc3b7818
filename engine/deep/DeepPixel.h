#pragma once
// What the deep renderer gives for a pixel and counts of its work, apart from
// the renderer, so that its pixel loops need not include it.

#include <cstdint>

// A pixel's result: the escape count (0 .. limit - 1, limit for a captured
// point) and, for an escaped point, |z|^2 of its last two iterates (the one
// that left the circle and the one before it; 0 for a captured point).
struct DeepPixel {
    uint32_t count = 0;
    double lastNorm = 0.0;
    double previousNorm = 0.0;
};

// What a render did, summed over its pixels.
struct DeepStats {
    uint64_t pixelSteps = 0;   // the steps the counts stand for
    uint64_t exactSteps = 0;   // perturbed steps taken one by one
    uint64_t spanSteps = 0;    // steps skipped by bilinear approximation
    uint64_t spans = 0;
    uint64_t rebases = 0;
};

// The reference orbits and their tables (DeepPixelOrbit.h).
struct DeepOrbits;
