#!/usr/bin/env bash
# Draws a Julia set of every formula with quorvex-render at 580 x 580 and
# compares it pixel for pixel with the plain 80-bit loop's picture, worked
# out here one pixel after the other in the start-up colours (z^2 + c
# written out; the other maps step by step from formula_steps).
# Needs build/ with quorvex-render and the engine's libraries.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cat > "$work/plain.cpp" <<'CPP'
#include <cstdio>
#include <cstdlib>
#include "engine/CountColors.h"
#include "engine/EngineState.h"
#include "engine/FormulaSteps.h"
using namespace formula_steps;
int Square(long double x, long double y, long double cx, long double cy) {
    for (int j = 0; j < 256; ++j) {
        const long double nx = x * x - y * y + cx, ny = x * 2 * y + cy;
        x = nx; y = ny;
        if (x * x + y * y >= 10.0L) return j;
    }
    return 256;
}
int main(int, char** argv) {
    const int type = std::atoi(argv[1]), side = std::atoi(argv[4]);
    const long double re = std::strtold(argv[2], nullptr), im = std::strtold(argv[3], nullptr);
    ResetEngineState();
    const FormulaParams p = StartupEditedParams();
    std::printf("P3\n%d %d\n255\n", side, side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const long double zx = (x - side / 2.0L) * 3.6L / side, zy = (y - side / 2.0L) * 3.6L / side;
            int n = 0;
            switch (type) {
            case 1: n = Square(zx, zy, re, im); break;
            case 2: n = IterateJuliaPlainly<Z3>(zx, zy, re, im, p); break;
            case 3: n = IterateJuliaPlainly<Z4>(zx, zy, re, im, p); break;
            case 4: n = IterateJuliaPlainly<Z4Poly>(zx, zy, re, im, p); break;
            case 5: n = IterateJuliaPlainly<ZRatio>(zx, zy, re, im, p); break;
            default: n = IterateJuliaPlainly<ExpZ2>(zx, zy, re, im, p); break;
            }
            const ColorMapEntry e = EntryOfColorWord(ColorWordOfCount(n, currentColorMap));
            std::printf("%d %d %d\n", e.red, e.green, e.blue);
        }
}
CPP
g++ -std=c++20 -O2 -I"$root" "$work/plain.cpp" "$build/engine/libqv_engine.a" "$build/colour/model/libqv_colour_model.a" \
  "$build/files/libqv_files.a" -lpng -ljpeg -lz -lpthread -o "$work/plain"
status=0
while read -r type re im; do
  "$build/quorvex-render" -q --type "$type" --julia "$re,$im" --centre 0,0 --extent 3.6,3.6 --size 580x580 \
    -o "$work/julia$type.png"
  "$work/plain" "$type" "$re" "$im" 580 > "$work/plain$type.ppm"
  differing=$(compare -metric AE "$work/julia$type.png" "$work/plain$type.ppm" null: 2>&1 || true)
  echo "type=$type c=$re,$im size=580x580 differing_pixels=$differing"
  [ "$differing" = 0 ] || status=1
done <<'POINTS'
1 -0.8 0.156
2 0.3 0.5
3 0.4 0.55
4 0.4 0.3
5 0.2 0.6
6 -1.5 0.5
POINTS
exit $status
