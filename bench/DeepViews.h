#pragma once
// Fixed deep views for checking the deep renderer against the truth and for
// timing it.

#include <string>
#include <vector>

#include "engine/Formulas.h"
#include "engine/deep/DeepJob.h"

struct DeepView {
    std::string name;
    int type;
    std::string re;
    std::string im;
    long double extent;  // the width in the plane; the height follows the picture's shape
    uint32_t limit;
    int side;  // checked: a square picture this wide (the truth takes a while); timed: see BenchDeepViews
};

// The view at width x height pixels, type 4 with the coefficients the program starts with.
inline DeepJob JobOfView(const DeepView& v, int width, int height)
{
    DeepJob job;
    job.type = v.type;
    job.params = StartupEditedParams();
    job.centreX = ParsePrecise(v.re).value;
    job.centreY = ParsePrecise(v.im).value;
    job.pitchX = v.extent / width;
    job.pitchY = v.extent / width;
    job.width = width;
    job.height = height;
    job.limit = v.limit;
    return job;
}

// The views bench_render --verify-deep checks; the engine tests take a few.
std::vector<DeepView> VerifyDeepViews();
// The views bench_render --deep times.
std::vector<DeepView> BenchDeepViews();
