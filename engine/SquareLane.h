#pragma once
// One orbit of z^2 + c as the column loops of type 1 hold it (SquarePair.h,
// SquareTriple.h), and the point it is taken up from.

#include <climits>
#include <cstddef>
#include <cstdint>

#include "engine/SquarePairLayout.h"

// The steps past which a lane leaves out its escape test between renewals,
// and the value that keeps it in.
inline constexpr int32_t kFastFrom = 256;
inline constexpr int32_t kNeverFast = INT32_MAX;
// Steps between two renewals past kFastFrom; a lane runs that way only
// where the limit is a multiple of it.
inline constexpr int kFastPeriod = SQUARE_FAST_PERIOD;
// Steps between two checkpoints past kFastFrom.
inline constexpr int kCheckPeriod = SQUARE_CHECK_PERIOD;
static_assert(kFastPeriod == 8 && kFastFrom % kCheckPeriod == 0 && kCheckPeriod % kFastPeriod == 0 &&
              (kCheckPeriod & (kCheckPeriod - 1)) == 0);

// A point of the column that needs steps, as the loop takes it up.
struct SquareRow {
    double cyHigh = 0;  // cy == cyHigh + cyLow exactly
    double cyLow = 0;
    double trapX = 0;  // the certified disk (InteriorTrap), if hasTrap
    double trapY = 0;
    double trapRadiusSquared = 0;
    int32_t hasTrap = 0;
    int32_t row = 0;
};

// The state of one orbit; the assembly knows its layout (SquarePairLayout.h).
struct alignas(16) SquareLane {
    long double x = 0;  // z_s
    long double y = 0;
    long double markX = 0;  // the point of the orbit it is compared with
    long double markY = 0;
    double cyHigh = 0;  // as in SquareRow
    double cyLow = 0;
    double trapX = 0;
    double trapY = 0;
    double trapRadiusSquared = 0;
    uint64_t markXBits = 0;  // the bits of double(markX)
    int32_t steps = 0;       // s
    int32_t hasTrap = 0;
    int32_t row = 0;
    float before = 0;  // |z_s-1|^2, rounded to float: set by the step that made z_s
    long double checkX = 0;  // z at the last renewal past pair.fastFrom
    long double checkY = 0;
};

static_assert(sizeof(SquareRow) == SQUARE_ROW_SIZE && offsetof(SquareRow, cyHigh) == 0 &&
              offsetof(SquareRow, trapRadiusSquared) == 32 && offsetof(SquareRow, hasTrap) == SQUARE_ROW_HAS_TRAP &&
              offsetof(SquareRow, row) == SQUARE_ROW_ROW);
static_assert(sizeof(SquareLane) == SQUARE_LANE_SIZE && offsetof(SquareLane, x) == SQUARE_LANE_X &&
              offsetof(SquareLane, y) == SQUARE_LANE_Y && offsetof(SquareLane, markX) == SQUARE_LANE_MARK_X &&
              offsetof(SquareLane, markY) == SQUARE_LANE_MARK_Y && offsetof(SquareLane, cyHigh) == SQUARE_LANE_CY_HIGH &&
              offsetof(SquareLane, cyLow) == SQUARE_LANE_CY_LOW && offsetof(SquareLane, trapX) == SQUARE_LANE_TRAP_X &&
              offsetof(SquareLane, trapY) == SQUARE_LANE_TRAP_Y &&
              offsetof(SquareLane, trapRadiusSquared) == SQUARE_LANE_TRAP_RADIUS2 &&
              offsetof(SquareLane, markXBits) == SQUARE_LANE_MARK_X_BITS &&
              offsetof(SquareLane, steps) == SQUARE_LANE_STEPS && offsetof(SquareLane, hasTrap) == SQUARE_LANE_HAS_TRAP &&
              offsetof(SquareLane, row) == SQUARE_LANE_ROW && offsetof(SquareLane, before) == SQUARE_LANE_BEFORE &&
              offsetof(SquareLane, checkX) == SQUARE_LANE_CHECK_X && offsetof(SquareLane, checkY) == SQUARE_LANE_CHECK_Y);
