#include "engine/CountColors.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

// Count n of a limit L spread by its logarithm: entries 1..255 each take an
// equal share of 0 .. ln L on the scale of ln (1 + n).
std::vector<uint8_t> LogEntries(int limit)
{
    std::vector<uint8_t> entries(static_cast<size_t>(limit));
    const double top = std::log(double(limit));
    for (int n = 0; n < limit; ++n)
        entries[size_t(n)] = uint8_t(1 + std::min(254, int(255.0 * std::log1p(double(n)) / top)));
    return entries;
}

// Count n takes 1 + floor(255 s), s the share of the escaped points whose
// count is smaller than n.
std::vector<uint8_t> HistogramEntries(int limit, const CountTally* tally)
{
    std::vector<uint8_t> entries(size_t(limit), 1);
    if (!tally || tally->Escaped() == 0)
        return entries;
    const std::vector<uint32_t>& byCount = tally->ByCount();
    uint64_t smaller = 0;
    for (size_t n = 0; n < entries.size() && n < byCount.size(); ++n) {
        entries[n] = uint8_t(1 + std::min<uint64_t>(254, 255 * smaller / tally->Escaped()));
        smaller += byCount[n];
    }
    return entries;
}

ColorWord Mix(ColorWord lower, ColorWord upper, uint32_t w)
{
    ColorWord mixed = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t a = (lower >> shift) & 0xFFu;
        const uint32_t b = (upper >> shift) & 0xFFu;
        mixed |= ((a * (256 - w) + b * w + 128) >> 8) << shift;
    }
    return mixed;
}

}  // namespace

ColorWord ColorWordOfCount(EscapeCount count, const ColorMap& map, int limit)
{
    return IsEscapeCount(count, limit) ? ColorWordOf(map[std::size_t(WrappedEntry(count))]) : kBlackWord;
}

BufferColorWords ColorWordsOfBufferValues(const ColorMap& map)
{
    BufferColorWords words;
    for (std::size_t value = 0; value < words.size(); ++value)
        words[value] = ColorWordOfCount(CountOfBufferValue(uint8_t(value)), map);
    return words;
}

float SmoothFraction(const EscapeEnd& end)
{
    const double a = end.before;
    const double b = end.after;
    if (!(a > 0))
        return 1;
    const double f = std::log(10.0 / a) / std::log(b / a);
    if (!(f >= 0))
        return f < 0 ? 0 : 1;  // a rounded up to 10, or no number
    return float(std::min(f, 1.0));
}

void CountTally::Merge(const CountTally& other)
{
    for (size_t n = 0; n < byCount_.size() && n < other.byCount_.size(); ++n)
        byCount_[n] += other.byCount_[n];
    escaped_ += other.escaped_;
}

CountPainter::CountPainter(const PictureDepth& depth, const CountTally* tally)
    : coloring_(depth.coloring), limit_(depth.limit)
{
    if (coloring_ == Coloring::Log)
        entryOfCount_ = LogEntries(depth.limit);
    else if (coloring_ == Coloring::Histogram)
        entryOfCount_ = HistogramEntries(depth.limit, tally);
}

void CountPainter::TakeMap(const ColorMap& map)
{
    for (std::size_t i = 0; i < words_.size(); ++i)
        words_[i] = ColorWordOf(map[i]);
}

ColorWord CountPainter::SmoothColor(EscapeCount count, double fraction) const
{
    const double c = std::max(0.0, count + fraction - 0.5);
    const double lower = std::floor(c);
    const uint32_t w = std::min(255u, uint32_t((c - lower) * 256));
    const EscapeCount n = EscapeCount(lower);
    return Mix(words_[size_t(WrappedEntry(n))], words_[size_t(WrappedEntry(n + 1))], w);
}
