#pragma once
// The record of one view and the two history stacks that hold copies of it.

#include <cstdint>
#include <memory>
#include <vector>

struct ViewRecord {
    int32_t diType = 0;  // formula type 1..6; 0: no picture set up yet
    bool dbOK = false;   // set at the end of every render, cancelled ones too
    int32_t dinum = 0;   // nesting depth
    int32_t diWinW = 0;
    int32_t diWinH = 0;
    int32_t diImgW = 0;
    int32_t diImgH = 0;
    long double dwx = 0.0L;
    long double dwy = 0.0L;
    long double dwPitchX = 0.0L;
    long double dwPitchY = 0.0L;
    long double dwa = 0.0L;
    long double dwb = 0.0L;
    int32_t csx = 0;
    int32_t csy = 0;
    int32_t cex = 0;
    int32_t cey = 0;
    int32_t cdx = 0;
    int32_t cdy = 0;
    int32_t ccx = 0;
    int32_t ccy = 0;
};

// The largest picture a zoom makes and the drawing window can show.
inline constexpr int kMaxPictureWidth = 1600;
inline constexpr int kMaxPictureHeight = 1200;

// The drawing window around its picture: 6 pixels wider, and 2 pixels plus
// a window's caption and frame (the frame height) taller.
inline constexpr int kWindowExtraWidth = 6;
inline constexpr int kWindowExtraHeight = 2;

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

// Last in, first out; the stack owns its records.
using ViewStack = std::vector<std::unique_ptr<ViewRecord>>;

// dwx and dwy follow the picture size at the view's own pixel size.
void RecomputeExtents(ViewRecord& view);
