#pragma once
// Samples that two pictures of a zoom share: a picture (the outer one) and
// the picture of exactly half its extents about the same centre, at the same
// size. Where the sample grid's sides are even, the render's rule
// (x - w/2) * extent / w + centre gives outer sample x and inner sample
// 2x - w/2 the very same point, bit for bit: the two products are one real
// number (a factor 2 moved from one side to the other is exact), divided by
// the same w and added to the same centre. So the inner quarter of the outer
// picture's samples are every other sample of the inner picture, and their
// counts and smooth fractions can be taken from it.

#include <optional>
#include <vector>

#include "engine/Iteration.h"
#include "engine/PlaneRegion.h"

// The rectangle of the outer picture's samples that are inner samples too,
// with their counts (and fractions) once the inner picture has filled them:
// row after row over the rectangle.
struct SharedSamples {
    int firstColumn = 0;  // in the outer picture's samples
    int endColumn = 0;
    int firstRow = 0;
    int endRow = 0;
    int halfWidth = 0;  // half the sample grid's width and height
    int halfHeight = 0;
    std::vector<EscapeCount> counts;
    std::vector<float> fractions;  // empty where the colouring takes none

    int Columns() const { return endColumn - firstColumn; }
    size_t At(int column, int row) const
    {
        return size_t(row - firstRow) * size_t(Columns()) + size_t(column - firstColumn);
    }
    // The outer sample an inner sample is, if any: column 2x - w/2 of the
    // inner picture is column x of the outer one.
    std::optional<int> OuterColumn(int innerColumn) const { return Outer(innerColumn, halfWidth, firstColumn, endColumn); }
    std::optional<int> OuterRow(int innerRow) const { return Outer(innerRow, halfHeight, firstRow, endRow); }

private:
    static std::optional<int> Outer(int inner, int half, int first, int end)
    {
        if (((inner + half) & 1) != 0)
            return std::nullopt;
        const int outer = (inner + half) / 2;
        return outer >= first && outer < end ? std::optional<int>(outer) : std::nullopt;
    }
};

// The samples an outer picture shares with an inner one, both drawn on a
// grid of width x height samples, room made for their counts; none unless
// both iterate the same about the same centre, the inner extents exactly
// half the outer ones, the grid's sides are even and the shared samples
// number at most `most`.
std::optional<SharedSamples> SamplesShared(const Iteration& outerIteration, const PlaneRegion& outer,
                                           const Iteration& innerIteration, const PlaneRegion& inner, int width,
                                           int height, bool fractions, size_t most);
