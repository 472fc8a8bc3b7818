#pragma once
// Disks of the plane that z^2 + c, stepped exactly as the program rounds it,
// provably maps into itself: around the attracting fixed point of the main
// cardioid, and around a point of the attracting 2-cycle of the bulb at -1.
// An orbit inside such a disk stays there and never escapes.

#include <optional>

struct TrapDisk {
    double centreX = 0;
    double centreY = 0;
    long double radius = 0;        // the certified radius
    double radiusSquared = 0;      // a little below radius^2: what InTrap compares with
    int period = 1;                // steps from the disk back into it: 1 or 2
};

// The disk for c = cx + i cy, when one can be certified.
std::optional<TrapDisk> CertifyTrap(long double cx, long double cy);

// Whether z is in the disk, computed as the column kernels compute it:
// (x - centreX)^2 + (y - centreY)^2 <= radiusSquared, rounded to 64 bits.
bool InTrap(const TrapDisk& disk, long double x, long double y);
