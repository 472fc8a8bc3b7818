#pragma once
// What an escape count shows: the rules by which a pixel's count, and for the
// smooth colouring the end of its orbit, becomes its colour, and the tables
// of those rules the painting loops look up.

#include <array>
#include <cstdint>
#include <vector>

#include "colour/model/ColorMap.h"
#include "engine/Iteration.h"
#include "engine/PictureDepth.h"

// The count colouring's entry of an escaped point: the count itself up to
// 255; above, count n takes entry ((n - 1) mod 255) + 1, so that the counts
// run through entries 1..255 again and entry 0 stays count 0's.
constexpr int WrappedEntry(EscapeCount count) { return count <= 255 ? int(count) : int((count - 1) % 255) + 1; }

// The colour of a pixel with the given count in the count colouring: its
// entry of the map, black for a captured point.
ColorWord ColorWordOfCount(EscapeCount count, const ColorMap& map, int limit = kDefaultIterationLimit);

// What the 8-bit iteration buffer keeps of a count: its entry in the count
// colouring (the count itself with a limit of 256), 0 for a captured point.
inline uint8_t BufferValueOfCount(EscapeCount count, int limit = kDefaultIterationLimit)
{
    return IsEscapeCount(count, limit) ? uint8_t(WrappedEntry(count)) : 0;
}
// The count a value of the 8-bit buffer is painted as again: the buffer
// cannot tell count 0 from a captured point, and both are painted black.
inline EscapeCount CountOfBufferValue(uint8_t value) { return value == 0 ? kCaptured : value; }

// The counter of the escape histogram a count goes to: its buffer value's,
// and the last one for a captured point.
inline constexpr int kCapturedCounter = 256;
inline int HistogramCounterOfCount(EscapeCount count, int limit = kDefaultIterationLimit)
{
    return IsEscapeCount(count, limit) ? WrappedEntry(count) : kCapturedCounter;
}

// The colour every value of the 8-bit buffer is painted again with.
using BufferColorWords = std::array<ColorWord, 256>;
BufferColorWords ColorWordsOfBufferValues(const ColorMap& map);

// The fraction f in (0, 1] of the smooth colouring: with a = |z_j|^2 < 10
// and b = |z_j+1|^2 >= 10 of a point escaping with count j,
//   f = (ln 10 - ln a) / (ln b - ln a),
// the place of the circle between the two iterates on the scale of ln |z|^2.
// As b comes down to 10 the point is about to take count j + 1, and f goes
// to 1; as a comes up to 10 it is about to take count j - 1, and f goes to
// 0: so j + f runs on without a step across the edge of every band. f = 1
// where a is 0 (z_0, for count 0). Worked out in double and rounded to a
// float, the value every picture of the point is painted from.
float SmoothFraction(const EscapeEnd& end);
// j + f: the smooth colouring's continuous count of an escaped point.
inline double ContinuousCount(EscapeCount count, const EscapeEnd& end) { return count + SmoothFraction(end); }

// The escaped points of a picture by their count: what the histogram
// colouring spreads over the map.
class CountTally {
public:
    explicit CountTally(int limit) : byCount_(size_t(limit), 0) {}
    void Add(EscapeCount count)
    {
        if (count >= 0 && size_t(count) < byCount_.size()) {
            ++byCount_[size_t(count)];
            ++escaped_;
        }
    }
    void Merge(const CountTally& other);
    uint64_t Escaped() const { return escaped_; }
    const std::vector<uint32_t>& ByCount() const { return byCount_; }

private:
    std::vector<uint32_t> byCount_;
    uint64_t escaped_ = 0;
};

// A colouring of a picture at its limit, and the map it paints from.
class CountPainter {
public:
    // tally: the picture's escaped points, read by the histogram colouring
    // alone (and there only while the painter is made).
    CountPainter(const PictureDepth& depth, const CountTally* tally = nullptr);
    void TakeMap(const ColorMap& map);

    // The entry a pixel's colour comes from, -1 for a captured point: the
    // count's entry in the count colouring (0 for count 0), the colouring's
    // entry 1..255 in the logarithmic and the histogram colouring, and in
    // the smooth colouring the count's entry in the count colouring, the
    // nearer of the two its colour is mixed from.
    int EntryOf(EscapeCount count) const
    {
        if (!IsEscapeCount(count, limit_))
            return -1;
        if (entryOfCount_.empty())
            return WrappedEntry(count);
        return size_t(count) < entryOfCount_.size() ? entryOfCount_[size_t(count)] : 255;
    }
    // The pixel's colour: its entry's, black for a captured point. The
    // smooth colouring puts a count at c = j + f - 1/2 on the scale of the
    // count colouring's entries and mixes the entries of the counts floor(c)
    // and floor(c) + 1, each of red, green and blue by linear interpolation
    // in 256ths: (lower * (256 - w) + upper * w + 128) / 256 with
    // w = floor(256 (c - floor(c))).
    ColorWord ColorOf(EscapeCount count, const EscapeEnd& end) const
    {
        if (!IsEscapeCount(count, limit_))
            return kBlackWord;
        if (coloring_ == Coloring::Smooth)
            return SmoothColor(count, double(SmoothFraction(end)));
        return words_[size_t(EntryOf(count))];
    }
    // The same with the smooth colouring's fraction worked out already.
    ColorWord ColorOfFraction(EscapeCount count, double fraction) const
    {
        if (!IsEscapeCount(count, limit_))
            return kBlackWord;
        if (coloring_ == Coloring::Smooth)
            return SmoothColor(count, fraction);
        return words_[size_t(EntryOf(count))];
    }
    bool UsesEnds() const { return coloring_ == Coloring::Smooth; }
    Coloring coloring() const { return coloring_; }

private:
    ColorWord SmoothColor(EscapeCount count, double fraction) const;

    Coloring coloring_;
    int limit_;
    std::vector<uint8_t> entryOfCount_;  // the logarithmic and the histogram colouring's
    std::array<ColorWord, 256> words_{};
};
