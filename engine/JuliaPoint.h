#pragma once
// The fixed c of a Julia view: its orbits start at the pixel's point and add
// this c at every step. A view of a formula's own plane has none.

struct JuliaPoint {
    bool isSet = false;  // false: the formula's own plane, z0 = 0 and c the pixel's point
    long double re = 0.0L;
    long double im = 0.0L;

    static JuliaPoint At(long double re, long double im) { return JuliaPoint{true, re, im}; }
    bool operator==(const JuliaPoint&) const = default;
};

// The formula's own plane.
inline constexpr JuliaPoint kNoJuliaPoint{};
