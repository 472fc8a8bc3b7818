#pragma once
// What an escape count shows: the one rule by which a pixel's count becomes
// its colour, and the tables of that rule the painting loops look up.

#include <array>
#include <cstdint>

#include "colour/model/ColorMap.h"
#include "engine/Iteration.h"

// The colour of a pixel with the given count: entry `count` of the map,
// black for a captured point.
ColorWord ColorWordOfCount(EscapeCount count, const ColorMap& map);

// What the 8-bit iteration buffer keeps of a count: the count of an escaped
// point, 0 for a captured one.
inline uint8_t BufferValueOfCount(EscapeCount count) { return count == kCaptured ? 0 : uint8_t(count); }
// The count a value of the 8-bit buffer is painted as again: the buffer
// cannot tell count 0 from a captured point, and both are painted black.
inline EscapeCount CountOfBufferValue(uint8_t value) { return value == 0 ? kCaptured : value; }

// ColorWordOfCount of every count, 0 to kCaptured.
using CountColorWords = std::array<ColorWord, kCaptured + 1>;
CountColorWords ColorWordsOfCounts(const ColorMap& map);
// The colour every value of the 8-bit buffer is painted again with.
using BufferColorWords = std::array<ColorWord, 256>;
BufferColorWords ColorWordsOfBufferValues(const ColorMap& map);
