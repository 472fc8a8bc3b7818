#include "engine/AutomaticLimit.h"

#include <iterator>

#include "engine/PictureDepth.h"

namespace {

// The lowest level not below the value; the highest where none is.
int32_t LevelAtLeast(int64_t value)
{
    for (int32_t level : kLimitLevels)
        if (level >= value)
            return level;
    return kLimitLevels[std::size(kLimitLevels) - 1];
}

}  // namespace

int32_t NextAutomaticLimit(const CountSummary& counts)
{
    const uint64_t computed = counts.escaped + counts.captured;
    if (computed == 0)
        return LevelAtLeast(counts.limit);
    if (counts.escaped == 0 || 100 * counts.upperHalf >= computed)
        return LevelAtLeast(4 * int64_t(counts.limit));
    const int32_t enough = LevelAtLeast(4 * int64_t(counts.largest) + 1);
    if (enough < counts.limit)
        return enough;
    return LevelAtLeast(counts.limit);
}
