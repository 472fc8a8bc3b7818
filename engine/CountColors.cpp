#include "engine/CountColors.h"

#include <cstddef>

ColorWord ColorWordOfCount(EscapeCount count, const ColorMap& map)
{
    return count >= kCaptured ? kBlackWord : ColorWordOf(map[std::size_t(count)]);
}

CountColorWords ColorWordsOfCounts(const ColorMap& map)
{
    CountColorWords words;
    for (std::size_t count = 0; count < words.size(); ++count)
        words[count] = ColorWordOfCount(EscapeCount(count), map);
    return words;
}

BufferColorWords ColorWordsOfBufferValues(const ColorMap& map)
{
    BufferColorWords words;
    for (std::size_t value = 0; value < words.size(); ++value)
        words[value] = ColorWordOfCount(CountOfBufferValue(uint8_t(value)), map);
    return words;
}
