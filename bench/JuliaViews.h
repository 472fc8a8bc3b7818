#pragma once
// Julia sets where a shortcut of the kernels could go wrong: a connected
// set, a dust, the parabolic c = 1/4, a c on the edge of the bulb at -1,
// non-real c for every formula (no mirror rows), real c (mirror rows),
// views through 0 (the even maps' mirror column) and far out; checked
// against the plain loop by bench_render --verify and the engine tests.

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "VerifyViews.h"
#include "engine/JuliaTable.h"

namespace julia_views {

struct NamedPoint {
    const char* name;
    long double re, im;
};

// The edge of the bulb at -1, at angle 1: -1 + e^i / 4.
inline const NamedPoint kJuliaPoints[] = {
    {"connected", -0.8L, 0.156L},
    {"dust", 0.5L, 0.5L},
    {"parabolic", 0.25L, 0.0L},
    {"bulb edge", -1.0L + 0.25L * 0.54030230586813971740L, 0.25L * 0.84147098480789650665L},
};

inline VerifyView JuliaView(std::string name, int type, JuliaPoint c, long double x, long double y, long double extentX,
                            const FormulaParams& params = StartupEditedParams())
{
    VerifyView v = verify_views::Centred(std::move(name), type, x, y, extentX, params);
    v.julia = c;
    return v;
}

}  // namespace julia_views

// The named points for z^2 + c at the whole set and down to 1e-9 about
// their edges, then perType random views of every formula with random c.
inline std::vector<VerifyView> MakeJuliaVerifyViews(int perType, uint64_t seed = 26)
{
    using namespace julia_views;
    std::vector<VerifyView> views;
    for (const NamedPoint& p : kJuliaPoints) {
        const JuliaPoint c = JuliaPoint::At(p.re, p.im);
        const std::string name = std::string("julia ") + p.name;
        views.push_back(JuliaView(name + " whole", 1, c, 0, 0, 4.4L));
        for (long double extent : {1e-3L, 1e-6L, 1e-9L})
            views.push_back(JuliaView(name + " near 0.5", 1, c, 0.5L, 0.0L, extent));
        views.push_back(JuliaView(name + " high limit", 1, c, 0.1L, 0.2L, 0.5L));
        views.back().limit = 16384;
    }
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> unit(-0.5, 0.5);
    std::uniform_real_distribution<double> depth(-12.0, 1.0);
    for (int i = 0; i < perType; ++i)
        for (int type = kFirstFormulaType; type <= kLastFormulaType; ++type) {
            const FormulaParams params =
                FindFormula(type)->coefficients != 0 ? verify_views::RandomParams(random) : StartupEditedParams();
            const bool real = i % 3 == 0;
            const JuliaPoint c = JuliaPoint::At(2.4L * unit(random), real ? 0.0L : 2.4L * unit(random));
            const bool throughZero = i % 4 == 1;
            const long double x = throughZero ? 0.0L : 3.6L * unit(random);
            const long double y = throughZero ? 0.0L : 3.6L * unit(random);
            views.push_back(JuliaView("julia random type " + std::to_string(type), type, c, x, y,
                                      std::pow(10.0L, depth(random)), params));
        }
    // Far out, where the polynomial's first powers overflow.
    views.push_back(JuliaView("julia far out", 4, JuliaPoint::At(0.1L, 0.2L), 0, 0, 1e1300L));
    return views;
}
