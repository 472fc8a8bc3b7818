#pragma once
// The deep renderer's loops against the one-pixel loop they are held to:
// every count, both |z|^2 and the sums of steps, spans and rebases, bit for bit.
//   bench_render --compare-deep [W H]   the fixed deep views (the timed ones
//                                       at W x H, 400 x 300 unless given),
//                                       with spans and without; exits 1 on any
//                                       difference

#include "engine/deep/DeepRenderer.h"

struct DeepLoopComparison {
    bool identical = true;
    long differing = 0;       // pixels whose count or |z|^2 differ in any bit from the one-pixel loop's
    double singleSeconds = 0;  // the one-pixel loop
    double pairedSeconds = 0;  // two at a time, the x87 loop for z^2 + c
    double plainSeconds = 0;   // two at a time, the C++ loop
    DeepStats stats;
};

// The job drawn by every loop, settings as given but for the loop.
DeepLoopComparison CompareDeepLoops(const DeepJob& job, DeepSettings settings);

int CompareDeep(int argc, char** argv);
