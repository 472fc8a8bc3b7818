#include "engine/ViewRecord.h"

void RecomputeExtents(ViewRecord& view)
{
    view.dwx = view.diImgW * view.dwPitchX;
    view.dwy = view.diImgH * view.dwPitchY;
}

void FitWindowSize(ViewRecord& view, int frameHeight)
{
    view.diWinW = view.diImgW + kWindowExtraWidth;
    view.diWinH = view.diImgH + frameHeight + kWindowExtraHeight;
}

void TakeWindowSize(ViewRecord& view, int windowWidth, int windowHeight, int frameHeight)
{
    view.diWinW = windowWidth;
    view.diWinH = windowHeight;
    view.diImgW = windowWidth - kWindowExtraWidth;
    view.diImgH = PictureHeightOfWindow(windowHeight, frameHeight);
}
