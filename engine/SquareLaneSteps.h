#pragma once
// What the C++ loops of two and of three orbits (SquarePair.cpp,
// SquareTriple.cpp) do to one lane, operation for operation as the assembly.

#include <cstdint>
#include <cstring>

#include "engine/InteriorTrap.h"
#include "engine/KernelLoops.h"
#include "engine/SquareLane.h"

namespace square_lane {

inline uint64_t DoubleBits(long double value)
{
    const double rounded = double(value);
    uint64_t bits;
    std::memcpy(&bits, &rounded, sizeof bits);
    return bits;
}

inline bool InDisk(const SquareLane& l)
{
    TrapDisk disk;
    disk.centreX = l.trapX;
    disk.centreY = l.trapY;
    disk.radiusSquared = l.trapRadiusSquared;
    return InTrap(disk, l.x, l.y);
}

inline void RenewMark(SquareLane& l)
{
    if (kernel_loops::RenewsMark(l.steps)) {
        l.markXBits = DoubleBits(l.x);
        l.markX = l.x;
        l.markY = l.y;
    }
}

// z equal in value to the mark: the orbit repeats it, up to the signs of
// zeros, for ever.
inline bool AtMark(const SquareLane& l)
{
    return DoubleBits(l.x) == l.markXBits && l.x == l.markX && l.y == l.markY;
}

inline void Checkpoint(SquareLane& l)
{
    l.checkX = l.x;
    l.checkY = l.y;
}

// One step without the escape test.
inline void FastStep(SquareLane& l, long double cx)
{
    const long double x = l.x;
    const long double y = l.y;
    const long double xx = x * x;
    const long double yy = y * y;
    l.x = (xx - yy) + cx;
    l.y = (x + x) * y + (static_cast<long double>(l.cyHigh) + l.cyLow);
    ++l.steps;
}

}  // namespace square_lane
