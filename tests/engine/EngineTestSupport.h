#pragma once
// Helpers the engine tests share. Records are turned into plain values so that
// one check compares them whole and a failure prints every field.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <tuple>

#include "FakeHost.h"
#include "engine/EngineState.h"
#include "engine/ViewRecord.h"
#include "engine/untQVINC.h"

// Marks the rubber band from (csx, csy) to (cex, cey) with its size and centre.
inline void SelectRectangle(ViewRecord& view, int csx, int csy, int cex, int cey)
{
    view.csx = csx;
    view.csy = csy;
    view.cex = cex;
    view.cey = cey;
    view.cdx = cex - csx;
    view.cdy = cey - csy;
    view.ccx = (csx + cex) / 2;
    view.ccy = (csy + cey) / 2;
}

// csx, csy, cex, cey, cdx, cdy, ccx, ccy.
using SelectionFields = std::array<int32_t, 8>;

inline SelectionFields SelectionOf(const ViewRecord& v)
{
    return {v.csx, v.csy, v.cex, v.cey, v.cdx, v.cdy, v.ccx, v.ccy};
}

// status, re, im.
using ComplexParts = std::tuple<int32_t, long double, long double>;

inline ComplexParts PartsOf(const ComplexValue& v) { return {v.status, v.re, v.im}; }

// Type, depth, picture size, pitches and centre: what a view keeps through
// back, forward and redraw (the extents are recomputed).
inline auto KeptFieldsOf(const ViewRecord& v)
{
    return std::make_tuple(v.diType, v.dinum, v.diImgW, v.diImgH, v.dwPitchX, v.dwPitchY, v.dwa, v.dwb);
}

// dpCurr after a redraw on a width x height picture: centre and pitches of
// `before`, extents following the new size.
inline void ExpectRedrawnAtSamePitch(const ViewRecord& before, int width, int height)
{
    EXPECT_EQ(dpCurr.dwa, before.dwa);
    EXPECT_EQ(dpCurr.dwb, before.dwb);
    EXPECT_EQ(dpCurr.dwPitchX, before.dwPitchX);
    EXPECT_EQ(dpCurr.dwPitchY, before.dwPitchY);
    EXPECT_EQ(dpCurr.dwx, width * before.dwPitchX);
    EXPECT_EQ(dpCurr.dwy, height * before.dwPitchY);
}

// Every pixel of the columns x rows rectangle painted exactly once, nothing
// else within probeWidth x probeHeight.
inline void ExpectPaintedOnce(const FakeHost& host, int columns, int rows, int probeWidth, int probeHeight)
{
    for (int x = 0; x < probeWidth; ++x)
        for (int y = 0; y < probeHeight; ++y)
            ASSERT_EQ(host.PaintCount(x, y), (x < columns && y < rows) ? 1 : 0) << x << "," << y;
}
