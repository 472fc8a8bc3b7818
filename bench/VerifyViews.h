#pragma once
// Views where a shortcut of the column kernels could go wrong, and the check
// of the program's counts on them against the plain loop, point by point.
// bench_render --verify runs all of them; the engine tests a small share.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "engine/Formulas.h"
#include "engine/RenderWorkers.h"

struct VerifyView {
    std::string name;
    int type;
    long double centreX, centreY, extentX, extentY;
    FormulaParams params;
    int limit = kDefaultIterationLimit;
    JuliaPoint julia{};
};

struct VerifyTally {
    long views = 0;
    long points = 0;
    long mismatches = 0;
};

namespace verify_views {

inline VerifyView Centred(std::string name, int type, long double x, long double y, long double extentX,
                          const FormulaParams& params = StartupEditedParams())
{
    return {std::move(name), type, x, y, extentX, extentX * 0.75L, params};
}

// Views of z^2 + c across the edges of the cardioid and the bulb at -1, where
// orbits take longest to settle and a trap taken too wide would show.
inline void AddSquareEdges(std::vector<VerifyView>& views)
{
    for (long double extent : {1e-3L, 1e-6L, 1e-9L, 1e-12L}) {
        const std::string e = " extent " + std::to_string(double(extent));
        views.push_back(Centred("cusp" + e, 1, 0.25L, 0, extent));
        views.push_back(Centred("junction -0.75" + e, 1, -0.75L, 0, extent));
        for (long double angle : {0.3L, 1.0L, 2.0L, 2.9L}) {
            const long double cardioidX = std::cos(angle) / 2 - std::cos(2 * angle) / 4;
            const long double cardioidY = std::sin(angle) / 2 - std::sin(2 * angle) / 4;
            views.push_back(Centred("cardioid edge" + e, 1, cardioidX, cardioidY, extent));
            views.push_back(Centred("bulb edge" + e, 1, -1 + std::cos(angle) / 4, std::sin(angle) / 4, extent));
        }
    }
    views.push_back(Centred("deep", 1, -0.743643887L, 0.131825904L, 3.6e-9L));
    views.push_back(Centred("interior", 1, -0.2L, 0, 0.8L));
    views.push_back(Centred("bulb", 1, -1, 0, 0.5L));
}

// Views at limits above 256, where the marks of long orbits are renewed
// ever more rarely: the seahorse valley deep down, the cusp and the edges
// where orbits settle slowly, a bulb of period 3, a small copy of the set
// on the real axis, and the other formulas at the edge of their sets.
inline void AddHighLimits(std::vector<VerifyView>& views)
{
    struct Deep {
        const char* name;
        int type;
        long double x, y, extent;
        int limit;
    };
    static const Deep kDeep[] = {
        {"seahorse", 1, -0.743643887037151L, 0.131825904205330L, 1e-10L, 65536},
        {"seahorse", 1, -0.743643887037151L, 0.131825904205330L, 1e-6L, 4096},
        {"cusp", 1, 0.25L, 0, 1e-6L, 65536},
        {"cusp", 1, 0.25L, 0, 1e-9L, 262144},
        {"junction -0.75", 1, -0.75L, 0, 1e-8L, 65536},
        {"cardioid edge", 1, 0.3L, 0.5L, 1e-5L, 16384},
        {"period 3 bulb", 1, -0.1225L, 0.7448L, 0.08L, 1048576},
        {"period 3 bulb edge", 1, -0.125L, 0.6495L, 1e-4L, 65536},
        {"small copy at -1.75", 1, -1.7548776662L, 0, 1e-7L, 262144},
        {"edge z^3", 2, -0.6L, 0.3L, 1e-4L, 4096},
        {"edge z^4", 3, 0.4L, 0.55L, 1e-4L, 4096},
        {"edge polynomial", 4, 0.4L, 0.3L, 1e-3L, 1024},
        {"edge rational", 5, 0.2L, 0.6L, 1e-3L, 1024},
        {"edge mysterious", 6, -1.5L, 0.5L, 1e-2L, 1024},
    };
    for (const Deep& d : kDeep) {
        VerifyView v = Centred(std::string(d.name) + " at " + std::to_string(d.limit), d.type, d.x, d.y, d.extent);
        v.limit = d.limit;
        views.push_back(v);
    }
}

// Coefficients for the maps that read them: the start-up ones, real ones,
// complex ones, and ones with parts exactly zero.
inline FormulaParams RandomParams(std::mt19937_64& random)
{
    std::uniform_real_distribution<double> part(-1.6, 1.6);
    FormulaParams p = StartupEditedParams();
    const int kind = int(random() % 4);
    if (kind == 0)
        return p;
    for (ComplexValue* k : {&p.Gz, &p.It, &p.Rm, &p.Mu}) {
        k->re = part(random);
        k->im = kind == 1 ? 0.0L : part(random);
        if (kind == 3 && random() % 2)
            (random() % 2 ? k->re : k->im) = 0;
    }
    return p;
}

// A view of the type somewhere in its whole view, 3.6 wide down to 1e-13.
inline VerifyView RandomView(int type, std::mt19937_64& random)
{
    std::uniform_real_distribution<double> unit(-0.5, 0.5);
    std::uniform_real_distribution<double> depth(-13.0, std::log10(3.6));
    const FormulaParams p = FindFormula(type)->coefficients != 0 ? RandomParams(random) : StartupEditedParams();
    const long double wholeX = WholeViewCentre(type, p.Og).re;
    const long double x = wholeX + 3.6L * unit(random);
    const long double y = 2.7L * unit(random);
    return Centred("random type " + std::to_string(type), type, x, y, std::pow(10.0L, depth(random)), p);
}

}  // namespace verify_views

// The views to check: perType random views of each of the six types, from a
// fixed seed, and, with edges, the edges of the cardioid and the bulb.
inline std::vector<VerifyView> MakeVerifyViews(int perType, bool edges, uint64_t seed = 18)
{
    std::vector<VerifyView> views;
    if (edges) {
        verify_views::AddSquareEdges(views);
        verify_views::AddHighLimits(views);
    }
    std::mt19937_64 random(seed);
    for (int i = 0; i < perType; ++i)
        for (int type = kFirstFormulaType; type <= kLastFormulaType; ++type)
            views.push_back(verify_views::RandomView(type, random));
    return views;
}

// Renders the view with the program's workers and with IteratePoint per
// pixel, pixels mapped as the render maps them; returns the points whose
// counts, or the ends of whose escaping orbits, differ.
inline long CountMismatches(const VerifyView& v, int width, int height, int threads = 2)
{
    const PlaneRegion region = PlaneRegion{v.centreX, v.centreY, v.extentX, v.extentY, 0, 0, 0, 0}.AtSize(width, height);
    const Iteration what{v.type, v.params, v.limit, v.julia};
    BlockWorkers workers(ScanFrame{region, what}, threads);
    long mismatches = 0;
    for (int block = 0; block * kColumnBlock < width; ++block) {
        workers.WaitForBlock(block, [] {});
        for (int x = block * kColumnBlock; x < std::min(width, (block + 1) * kColumnBlock); ++x) {
            const EscapeCount* column = workers.Column(x);
            const EscapeEnd* ends = workers.Ends(x);
            for (int y = 0; y < height; ++y) {
                EscapeEnd end;
                const EscapeCount n = IteratePoint(what, region.RenderRe(x), region.RenderIm(y), &end);
                mismatches += column[y] != n || (n < v.limit && !(ends[y] == end));
            }
        }
    }
    return mismatches;
}
