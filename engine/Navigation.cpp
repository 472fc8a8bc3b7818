#include "engine/Navigation.h"

#include <algorithm>
#include <cmath>

#include "engine/EngineState.h"
#include "engine/History.h"
#include "engine/NumberFormat.h"
#include "engine/RenderDriver.h"

namespace {

// 0x4000 E666666666666666: 3.6 rounded to 64 mantissa bits.
constexpr long double kWholeExtent = 3.6L;

void FitExtendAndRender(QVHost& host)
{
    host.FitWindowToView(dpCurr);
    RecomputeExtents(dpCurr);
    RenderView(host, dpCurr);
}

// One step of back or forward: from takes the step, to receives dpCurr.
void StepThroughHistory(QVHost& host, ViewStack& from, ViewStack& to, QVCommand fromCommand, QVCommand toCommand)
{
    const size_t n = from.size();
    if (n <= 1)
        host.SetCommandEnabled(fromCommand, false);
    if (n == 0)
        return;
    std::unique_ptr<ViewRecord> record = PopView(from);
    PushView(to);
    host.SetCommandEnabled(toCommand, true);
    dpCurr = *record;
    record.reset();
    FitExtendAndRender(host);
}

}  // namespace

void ResetHistory(QVHost& host)
{
    ClearHistoryStack(BackStack);
    ClearHistoryStack(ForwardStack);
    host.SetCommandEnabled(QVCommand::Back, false);
    host.SetCommandEnabled(QVCommand::Forward, false);
}

void ZoomHistoryStep(QVHost& host)
{
    PushView(BackStack);
    host.SetCommandEnabled(QVCommand::Back, true);
    ClearHistoryStack(ForwardStack);
    host.SetCommandEnabled(QVCommand::Forward, false);
    dpCurr = dpNext;
}

void GoBack(QVHost& host)
{
    StepThroughHistory(host, BackStack, ForwardStack, QVCommand::Back, QVCommand::Forward);
}

void GoForward(QVHost& host)
{
    StepThroughHistory(host, ForwardStack, BackStack, QVCommand::Forward, QVCommand::Back);
}

void Redraw(QVHost& host) { FitExtendAndRender(host); }

void SetUpWholeView(int type)
{
    dpCurr.diType = type;
    dpCurr.dinum = 1;
    dpCurr.dwx = kWholeExtent;
    dpCurr.dwy = (static_cast<long double>(dpCurr.diImgH) / dpCurr.diImgW) * kWholeExtent;
    dpCurr.dwPitchX = kWholeExtent / dpCurr.diImgW;
    dpCurr.dwPitchY = dpCurr.dwy / dpCurr.diImgH;
    switch (type) {
    case 1:
        dpCurr.dwa = -0.5L;
        dpCurr.dwb = 0.0L;
        break;
    case 6:
        dpCurr.dwa = -1.5L;
        dpCurr.dwb = 0.0L;
        break;
    default:
        dpCurr.dwa = EditedParams.Og.re;
        dpCurr.dwb = EditedParams.Og.im;
        break;
    }
    ActiveParams = EditedParams;
    WholeView = dpCurr;
}

void SetSelection(ViewRecord& view, int x1, int y1, int x2, int y2)
{
    view.csx = std::min(x1, x2);
    view.cex = std::max(x1, x2);
    view.csy = std::min(y1, y2);
    view.cey = std::max(y1, y2);
    view.cdx = view.cex - view.csx;
    view.cdy = view.cey - view.csy;
    view.ccx = (view.csx + view.cex) / 2;
    view.ccy = (view.csy + view.cey) / 2;
}

ZoomResult ComputeNextView()
{
    const ViewRecord& cur = dpCurr;
    if (cur.diType == 0 || cur.cdx == 0 || cur.cdy == 0)
        return ZoomResult::NoSelection;

    dpNext = ViewTemplate;
    dpNext.diType = cur.diType;
    dpNext.dinum = cur.dinum + 1;

    const long double d = static_cast<long double>(cur.diImgW + cur.diImgH) / (cur.cdx + cur.cdy);
    long long w = RoundHalfUp(cur.cdx * d);
    long long h = RoundHalfUp(cur.cdy * d);
    if (w > kMaxPictureWidth && h > kMaxPictureHeight)
        return ZoomResult::TooLarge;
    if (w > kMaxPictureWidth) {
        w = kMaxPictureWidth;
        h = RoundHalfUp(static_cast<long double>(kMaxPictureWidth) / cur.cdx * cur.cdy);
    }
    if (h > kMaxPictureHeight) {
        h = kMaxPictureHeight;
        w = RoundHalfUp(static_cast<long double>(kMaxPictureHeight) / cur.cdy * cur.cdx);
    }
    // A sliver of a selection still gets a picture one pixel across, so that
    // the new pixel size stays finite; the selected region is kept.
    w = std::max(w, 1LL);
    h = std::max(h, 1LL);

    // The selection lies on the picture on screen, whatever size the window
    // has taken since: its extents over its own size.
    const PictureSize shown = ShownPictureSize(cur);
    const long double pX = cur.dwx / shown.width;
    const long double pY = cur.dwy / shown.height;
    dpNext.diImgW = int32_t(w);
    dpNext.diImgH = int32_t(h);
    dpNext.dwx = cur.cdx * pX;
    dpNext.dwy = cur.cdy * pY;
    dpNext.dwPitchX = dpNext.dwx / dpNext.diImgW;
    dpNext.dwPitchY = dpNext.dwy / dpNext.diImgH;
    dpNext.dwa = cur.ccx * pX - cur.dwx / 2 + cur.dwa;
    dpNext.dwb = cur.ccy * pY - cur.dwy / 2 + cur.dwb;
    return ZoomResult::Ready;
}

IndicatorScale IndicatorScaleOf(const ViewRecord& whole)
{
    const long double extent = std::min(whole.dwx, whole.dwy);
    return IndicatorScale{extent, extent / kIndicatorSize};
}

IndicatorSquare IndicatorSquareOf(const ViewRecord& whole)
{
    const long long r = std::min(RoundHalfUp(whole.dwy / 2 / whole.dwPitchY),
                                 RoundHalfUp(whole.dwx / 2 / whole.dwPitchX));
    const int cx = whole.diImgW / 2;
    const int cy = whole.diImgH / 2;
    return IndicatorSquare{int(cx - r), int(cy - r), int(cx + r), int(cy + r)};
}

CrossMarks CrossMarksOf(const ViewRecord& view, const ViewRecord& whole, const IndicatorScale& scale)
{
    const long double e = scale.extent;
    const long double s = scale.step;
    CrossMarks marks;
    if (s == 0.0L)
        return marks;
    const long double offX = view.dwa - whole.dwa;
    const long double offY = view.dwb - whole.dwb;
    if (std::fabs(offX) <= e / 2)
        marks.x = int32_t(RoundHalfUp((offX + e / 2) / s));
    if (std::fabs(offY) <= e / 2)
        marks.y = int32_t(RoundHalfUp((offY + e / 2) / s));
    return marks;
}
