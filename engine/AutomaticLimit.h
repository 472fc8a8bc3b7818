#pragma once
// The automatic iteration limit: a fixed rule on the counts a render has just
// computed that chooses the limit of the next view.

#include <climits>
#include <cstdint>

#include "engine/Iteration.h"

// What the rule, and the diagnostics grid, look at of a render's counts.
struct CountSummary {
    int32_t limit = kDefaultIterationLimit;
    uint64_t escaped = 0;
    uint64_t captured = 0;
    // Escaped with a count of at least half the limit.
    uint64_t upperHalf = 0;
    EscapeCount smallest = INT32_MAX;  // of the escaped points; INT32_MAX when none escaped
    EscapeCount largest = -1;          // -1 when none escaped

    // One point of the count, or `times` of them.
    void Add(EscapeCount count, uint64_t times = 1)
    {
        if (times == 0)
            return;
        if (!IsEscapeCount(count, limit)) {
            captured += times;
            return;
        }
        escaped += times;
        upperHalf += 2 * int64_t(count) >= limit ? times : 0;
        smallest = count < smallest ? count : smallest;
        largest = count > largest ? count : largest;
    }
};

// The limit for the next view, one of kLimitLevels (never below 256):
// - nothing computed: the limit as it was (a level at least);
// - no point escaped, or at least 1 % of the points computed escaped in the
//   upper half of the limit: the counts go on beyond it, and the next level
//   at least four times the limit is taken;
// - otherwise the lowest level above four times the largest count, if it is
//   lower than the limit: counts stay far below it;
// - otherwise the limit as it was (a level at least).
int32_t NextAutomaticLimit(const CountSummary& counts);
