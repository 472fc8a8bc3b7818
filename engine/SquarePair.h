#pragma once
// Two orbits of z^2 + c stepped side by side, the column kernel of type 1.
//
// The stepping loop exists twice, with the same results bit for bit: in plain
// C++ (StepSquarePair) and in x87 assembly (quorvex_step_square_pair,
// SquarePairX87.S). The compiler keeps the two orbits' long doubles in memory
// between steps, and reloading an 80-bit value costs as much as a
// multiplication; the assembly keeps both orbits, cx and the escape radius on
// the x87 stack for the whole loop.

#include <cstddef>
#include <cstdint>

// The lane state both loops read and write; the assembly knows its layout.
struct alignas(16) SquareLane {
    long double x = 0;      // z_s
    long double y = 0;
    long double markX = 0;  // the point of the orbit it is compared with
    long double markY = 0;
    double cyHigh = 0;      // cy == cyHigh + cyLow exactly
    double cyLow = 0;
    double trapX = 0;       // the certified disk (InteriorTrap)
    double trapY = 0;
    double trapRadiusSquared = 0;
    uint64_t markXBits = 0;  // the bits of double(markX)
    int32_t steps = 0;       // s
    int32_t hasTrap = 0;     // 1: test the disk at each renewal
    int32_t row = -1;
    int32_t unused = 0;
};

struct alignas(16) SquarePair {
    SquareLane lane[2];
    long double cx = 0;
    double scratch[2] = {};  // the assembly's
};

static_assert(sizeof(SquareLane) == 128 && offsetof(SquareLane, cyHigh) == 64 &&
              offsetof(SquareLane, trapRadiusSquared) == 96 && offsetof(SquareLane, markXBits) == 104 &&
              offsetof(SquareLane, steps) == 112 && offsetof(SquareLane, hasTrap) == 116);
static_assert(offsetof(SquarePair, cx) == 256 && offsetof(SquarePair, scratch) == 272);

// What stopped the loop, for lane l the code 2 * event + l.
enum SquareEvent {
    kEscaped = 1,     // z_s escaped: the count is s - 1
    kRepeated = 2,    // z_s equals the mark in value (the bits still to compare)
    kLimit = 3,       // z_256 is inside: captured
    kTrapped = 4,     // z_s is in the disk: captured
};

// Steps lane 0, then lane 1, and again, until one of them stops on an event;
// returns its code. Each step of a lane whose s is a multiple of 8 first tests
// the escape of z_s, the limit (s == 256), renews the mark with z_s and tests
// the disk. After kEscaped the escaped lane's x and y are left undefined.
int StepSquarePair(SquarePair& pair);
extern "C" int quorvex_step_square_pair(SquarePair* pair);

// One lane alone, until it stops: the code as above.
int StepSquareLane(SquarePair& pair, int lane);

// counts[i] = IteratePoint(1, cx, cy[i]) for i = 0..rows-1, stepping the
// pairs with the assembly or with the C++ loop.
void IterateSquareColumn(long double cx, const long double* cy, int rows, uint16_t* counts, bool assembly = true);
