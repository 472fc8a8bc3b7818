#pragma once
// The record of one view, the history stacks that hold copies of it with
// what their pictures are drawn from, and the drawing window's size around
// its picture.

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/FormulaParams.h"
#include "engine/JuliaPoint.h"
#include "engine/PictureDepth.h"
#include "engine/PlaneRegion.h"
#include "engine/deep/PreciseCentre.h"

// The names are the program's own, kept short: di- a 32-bit integer, db- a
// flag, dw- an extended float, c- a selection value in picture pixels.
struct ViewRecord {
    int32_t diType = 0;         // formula type 1..6; 0: no picture set up yet
    bool dbOK = false;          // rendered: set at the end of every render, cancelled ones too
    int32_t dinum = 0;          // nesting depth: 1 for a whole view, one more per zoom
    int32_t diWinW = 0;         // outer width of the drawing window
    int32_t diWinH = 0;         // outer height of the drawing window
    int32_t diImgW = 0;         // picture width in pixels: the columns rendered
    int32_t diImgH = 0;         // picture height in pixels: the rows rendered
    long double dwx = 0.0L;     // extent of the picture along the real axis
    long double dwy = 0.0L;     // extent along the imaginary axis
    long double dwPitchX = 0.0L;  // size of one pixel along the real axis; what a view keeps
    long double dwPitchY = 0.0L;  // size of one pixel along the imaginary axis
    long double dwa = 0.0L;     // real part of the picture's centre
    long double dwb = 0.0L;     // imaginary part of the picture's centre
    int32_t csx = 0;            // selection's left column
    int32_t csy = 0;            // selection's top row
    int32_t cex = 0;            // selection's right column
    int32_t cey = 0;            // selection's bottom row
    int32_t cdx = 0;            // selection's width, cex - csx
    int32_t cdy = 0;            // selection's height, cey - csy
    int32_t ccx = 0;            // selection's centre column, (csx + cex) / 2
    int32_t ccy = 0;            // selection's centre row, (csy + cey) / 2

    // The view's rectangle of the plane on a picture of the given size: its
    // centre, extents and pixel sizes; on its own picture size without one.
    PlaneRegion Region(PictureSize picture) const
    {
        return PlaneRegion{dwa, dwb, dwx, dwy, dwPitchX, dwPitchY, picture.width, picture.height};
    }
    PlaneRegion Region() const { return Region(PictureSize{diImgW, diImgH}); }
    // Centre, extents and pixel sizes from a region (its picture size aside).
    void TakeRegion(const PlaneRegion& r)
    {
        dwx = r.extentX;
        dwy = r.extentY;
        dwPitchX = r.pitchX;
        dwPitchY = r.pitchY;
        dwa = r.centreX;
        dwb = r.centreY;
    }
};

// The largest picture a zoom makes and the drawing window can show.
inline constexpr int kMaxPictureWidth = 1600;
inline constexpr int kMaxPictureHeight = 1200;

// The drawing window around its picture: 6 pixels wider, and 2 pixels plus
// a window's caption and frame (the frame height) taller.
inline constexpr int kWindowExtraWidth = 6;
inline constexpr int kWindowExtraHeight = 2;
// Of these, the window's client area holds the picture at (1, 1) and is as
// much wider and taller than it; the frame takes the rest.
inline constexpr int kPictureInset = 1;
inline constexpr int kFrameExtraWidth = kWindowExtraWidth - kPictureInset;
inline constexpr int kFrameExtraHeight = kWindowExtraHeight - kPictureInset;

// diWinW and diWinH of a window that fits the view's picture.
void FitWindowSize(ViewRecord& view, int frameHeight);
// A window of the given outer size: diWinW and diWinH, and the picture it
// holds in diImgW and diImgH.
void TakeWindowSize(ViewRecord& view, int windowWidth, int windowHeight, int frameHeight);
// The picture height a window of the given outer height holds.
inline constexpr int PictureHeightOfWindow(int windowHeight, int frameHeight)
{
    return windowHeight - frameHeight - kWindowExtraHeight;
}

// One view of the history with what its picture is drawn from besides the
// view record: the coefficients in use, the limit and the colouring, a Julia
// view's c and a deep view's precise centre.
struct HistoryEntry {
    ViewRecord view;
    FormulaParams params;
    PictureDepth depth;
    JuliaPoint julia;  // the c of a Julia view; kNoJuliaPoint on the formula's own plane
    PreciseCentre centre;  // the view's precise centre, empty when its fields are the centre
};

// Last in, first out; the stack owns its entries.
using ViewStack = std::vector<std::unique_ptr<HistoryEntry>>;

// dwx and dwy follow the picture size at the view's own pixel size.
void RecomputeExtents(ViewRecord& view);
