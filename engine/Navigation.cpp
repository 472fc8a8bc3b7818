#include "engine/Navigation.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine/DeepView.h"
#include "engine/EngineState.h"
#include "engine/FormulaTable.h"
#include "engine/History.h"
#include "engine/NumberFormat.h"
#include "engine/RenderDriver.h"

namespace {

void FitExtendAndRender(QVHost& host)
{
    host.FitWindowToView(dpCurr);
    RecomputeExtents(dpCurr);
    RenderView(host, dpCurr);
}

// A view made from another takes a precise centre where the other has one or
// where it is deep: views the direct kernels draw keep today's arithmetic.
bool TakesPreciseCentre(const ViewRecord& from, const PreciseCentre& centre, const ViewRecord& to)
{
    return IsDeepType(to.diType) &&
           (!WithoutRoundingOnly(CentreOrFields(centre, PlanePoint{from.dwa, from.dwb})).Empty() ||
            !DirectKernelsResolve(to.dwa, to.dwb, to.dwPitchX, to.dwPitchY));
}

// The depth of a view one zoom further in; a place may bring the largest.
int32_t DeeperBy1(int32_t depth) { return depth < INT32_MAX ? depth + 1 : depth; }

// One step of back or forward: from takes the step, to receives dpCurr.
void StepThroughHistory(QVHost& host, ViewStack& from, ViewStack& to, QVCommand fromCommand, QVCommand toCommand)
{
    const size_t n = from.size();
    if (n <= 1)
        host.SetCommandEnabled(fromCommand, false);
    if (n == 0)
        return;
    std::unique_ptr<HistoryEntry> entry = PopView(from);
    PushView(to);
    host.SetCommandEnabled(toCommand, true);
    dpCurr = entry->view;
    CurrentCentre = entry->centre;
    if (entry->params != ActiveParams) {
        ActiveParams = entry->params;
        EditedParams = ActiveParams;
        host.ShowEditedParams();
    }
    if (entry->depth != ActiveDepth) {
        ActiveDepth = entry->depth;
        host.ShowPictureDepth();
    }
    ActiveJulia = entry->julia;
    entry.reset();
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

void ZoomHistoryStep(QVHost& host, const HistoryEntry& left)
{
    if (left.view.diType != 0) {
        PushView(BackStack, left);
        host.SetCommandEnabled(QVCommand::Back, true);
    }
    ClearHistoryStack(ForwardStack);
    host.SetCommandEnabled(QVCommand::Forward, false);
    dpCurr = dpNext;
    CurrentCentre = NextCentre;
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

void SetWholeViewFields(ViewRecord& view, int type, const ComplexValue& og)
{
    view.diType = type;
    view.dinum = 1;
    view.TakeRegion(WholeViewRegion(type, og, PictureSize{view.diImgW, view.diImgH}));
}

void SetUpWholeView(int type)
{
    SetWholeViewFields(dpCurr, type, EditedParams.Og);
    ActiveParams = EditedParams;
    ActiveJulia = kNoJuliaPoint;
    CurrentCentre = PreciseCentre();
    if (AutomaticLimit)
        ActiveDepth.limit = kDefaultIterationLimit;
    WholeView = dpCurr;
}

void TakeLimitForNewView()
{
    if (AutomaticLimit)
        ActiveDepth.limit = NextAutomaticLimit(LastCountSummary);
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
    dpNext.dinum = DeeperBy1(cur.dinum);

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
    // has taken since: its extents over its own size, by the zoom's rule.
    const PlaneRegion shown = cur.Region(ShownPictureSize(cur));
    const PlanePoint centre = shown.ZoomCentre(cur.ccx, cur.ccy);
    dpNext.diImgW = int32_t(w);
    dpNext.diImgH = int32_t(h);
    dpNext.dwx = cur.cdx * shown.PixelExtentX();
    dpNext.dwy = cur.cdy * shown.PixelExtentY();
    dpNext.dwPitchX = dpNext.dwx / dpNext.diImgW;
    dpNext.dwPitchY = dpNext.dwy / dpNext.diImgH;
    dpNext.dwa = centre.re;
    dpNext.dwb = centre.im;
    NextCentre = PreciseCentre();
    if (DepthLimitOf(dpNext, ActiveJulia) != DepthLimit::None)
        return ZoomResult::TooDeep;
    if (TakesPreciseCentre(cur, CurrentCentre, dpNext)) {
        // The selection's centre from the precise centre, by the zoom's rule.
        NextCentre = MovedCentre(CentreOrFields(CurrentCentre, PlanePoint{cur.dwa, cur.dwb}),
                                 cur.ccx * shown.PixelExtentX() - shown.extentX / 2,
                                 cur.ccy * shown.PixelExtentY() - shown.extentY / 2,
                                 std::min(dpNext.dwPitchX, dpNext.dwPitchY));
        const PlanePoint rounded = NextCentre.Rounded();
        dpNext.dwa = rounded.re;
        dpNext.dwb = rounded.im;
    }
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
    CrossMarks marks;
    if (scale.step == 0.0L)
        return marks;
    // The indicator's square of the plane, around the whole view's centre:
    // the marks go where the view's centre falls in it.
    const long double e = scale.extent;
    const PlaneRegion square{whole.dwa, whole.dwb, e, e, scale.step, scale.step, kIndicatorSize, kIndicatorSize};
    marks.x = square.ColumnOf(view.dwa).value_or(0);
    marks.y = square.RowOf(view.dwb).value_or(0);
    return marks;
}

PlanePoint PointOfPixel(const ViewRecord& view, PictureSize picture, int x, int y)
{
    return view.Region(picture).PitchPoint(x, y);
}

namespace {

bool IsPureZoom(const ViewStep& s) { return s.right == 0 && s.down == 0; }
bool IsPureMove(const ViewStep& s) { return s.zoom == 0; }

bool SameAnchor(const ViewStep& a, const ViewStep& b)
{
    return a.atPixel == b.atPixel && (!a.atPixel || (a.x == b.x && a.y == b.y));
}

// Far beyond any step the numbers can take: 2^-20000 is below every pixel size.
int AddSteps(int a, int b) { return int(std::clamp(long(a) + long(b), -20000L, 20000L)); }

bool IsPositiveNormal(long double v) { return std::isnormal(v) && v > 0; }

// The step's move of the centre, from the offsets the pixel-size rule takes:
// in the old view's pixels, and back in the new view's (apart, as a zoom by
// 2^1000 makes the second far smaller than the first).
struct StepOffsets {
    PlanePoint old;
    PlanePoint next;
};
StepOffsets StepOffsetsOf(const ViewRecord& from, const ViewRecord& to, PictureSize shown, const ViewStep& step)
{
    StepOffsets offsets;
    if (step.atPixel) {
        offsets.old = PlanePoint{(step.x - shown.width / 2) * from.dwPitchX, (step.y - shown.height / 2) * from.dwPitchY};
        offsets.next = PlanePoint{-((step.x - to.diImgW / 2) * to.dwPitchX), -((step.y - to.diImgH / 2) * to.dwPitchY)};
    }
    offsets.old.re += static_cast<long double>(step.right) * (shown.width / 4) * from.dwPitchX;
    offsets.old.im += static_cast<long double>(step.down) * (shown.height / 4) * from.dwPitchY;
    return offsets;
}

// One step from `from`, whose picture has the size `shown`.
bool TakeStep(const ViewRecord& from, PictureSize shown, const ViewStep& step, ViewRecord& to);

// The same with the precise centres: a deep view's centre moves in MPFR.
bool TakePreciseStep(const ViewRecord& from, const PreciseCentre& centre, PictureSize shown, const ViewStep& step,
                     ViewRecord& to, PreciseCentre& toCentre, DepthLimit& limit)
{
    // A step to pixels too small for any number says so as one too deep does.
    const bool taken = TakeStep(from, shown, step, to);
    toCentre = PreciseCentre();
    limit = DepthLimitOf(to, ActiveJulia);
    if (!taken || limit != DepthLimit::None)
        return false;
    if (!TakesPreciseCentre(from, centre, to))
        return true;
    const StepOffsets offsets = StepOffsetsOf(from, to, shown, step);
    const long double pixel = std::min(to.dwPitchX, to.dwPitchY);
    toCentre = MovedCentre(CentreOrFields(centre, PlanePoint{from.dwa, from.dwb}), offsets.old.re, offsets.old.im, pixel);
    toCentre = MovedCentre(toCentre, offsets.next.re, offsets.next.im, pixel);
    const PlanePoint rounded = toCentre.Rounded();
    to.dwa = rounded.re;
    to.dwb = rounded.im;
    return std::isfinite(to.dwa) && std::isfinite(to.dwb);
}

bool TakeStep(const ViewRecord& from, PictureSize shown, const ViewStep& step, ViewRecord& to)
{
    to = from;
    to.dwPitchX = std::ldexp(from.dwPitchX, -step.zoom);
    to.dwPitchY = std::ldexp(from.dwPitchY, -step.zoom);
    if (step.atPixel) {
        // Pixel (x, y) of the next picture shows the point it showed before,
        // both by the pixel-size rule, which pixel information shows too.
        const PlanePoint kept = PointOfPixel(from, shown, step.x, step.y);
        const PlanePoint centre = to.Region().CentreKeeping(step.x, step.y, kept);
        to.dwa = centre.re;
        to.dwb = centre.im;
    }
    to.dwa += static_cast<long double>(step.right) * (shown.width / 4) * from.dwPitchX;
    to.dwb += static_cast<long double>(step.down) * (shown.height / 4) * from.dwPitchY;
    RecomputeExtents(to);
    return IsPositiveNormal(to.dwPitchX) && IsPositiveNormal(to.dwPitchY) && std::isfinite(to.dwx) &&
           std::isfinite(to.dwy) && std::isfinite(to.dwa) && std::isfinite(to.dwb);
}

}  // namespace

void AddViewStep(std::vector<ViewStep>& steps, const ViewStep& step)
{
    if (!steps.empty()) {
        ViewStep& last = steps.back();
        if (IsPureZoom(last) && IsPureZoom(step) && SameAnchor(last, step)) {
            last.zoom = AddSteps(last.zoom, step.zoom);
            return;
        }
        if (IsPureMove(last) && IsPureMove(step)) {
            last.right = AddSteps(last.right, step.right);
            last.down = AddSteps(last.down, step.down);
            return;
        }
    }
    steps.push_back(step);
}

bool ViewAfterSteps(const ViewRecord& view, PictureSize shown, const std::vector<ViewStep>& steps, ViewRecord& next,
                    const PreciseCentre& centre, PreciseCentre* nextCentre, DepthLimit* limit)
{
    ViewRecord at = view;
    PreciseCentre atCentre = centre;
    DepthLimit refused = DepthLimit::None;
    if (limit)
        *limit = DepthLimit::None;
    for (const ViewStep& step : steps) {
        if (step.zoom == 0 && step.right == 0 && step.down == 0)
            continue;
        ViewRecord to;
        PreciseCentre toCentre;
        if (!TakePreciseStep(at, atCentre, shown, step, to, toCentre, refused)) {
            if (limit)
                *limit = refused;
            return false;
        }
        at = to;
        atCentre = toCentre;
        shown = PictureSize{at.diImgW, at.diImgH};
    }
    // A move by a quarter of a picture narrower than 4 pixels, or steps that
    // undo each other, lead nowhere.
    if (at.dwa == view.dwa && at.dwb == view.dwb && at.dwPitchX == view.dwPitchX && at.dwPitchY == view.dwPitchY &&
        WithoutRoundingOnly(atCentre) == WithoutRoundingOnly(CentreOrFields(centre, PlanePoint{view.dwa, view.dwb})))
        return false;
    if (nextCentre)
        *nextCentre = WithoutRoundingOnly(atCentre);
    // A view not yet rendered, without a selection.
    next = at;
    next.dinum = DeeperBy1(view.dinum);
    next.dbOK = false;
    SetSelection(next, 0, 0, 0, 0);
    return true;
}

int WheelSteps::Take(int angleDelta)
{
    if ((rest_ < 0 && angleDelta > 0) || (rest_ > 0 && angleDelta < 0))
        rest_ = 0;
    // Deltas beyond any wheel's are cut to keep the sum in range.
    rest_ += std::clamp(angleDelta, -1000 * kAngleOfStep, 1000 * kAngleOfStep);
    const int steps = rest_ / kAngleOfStep;
    rest_ -= steps * kAngleOfStep;
    return steps;
}
