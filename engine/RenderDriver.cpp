#include "engine/RenderDriver.h"

#include <algorithm>
#include <array>
#include <string>

#include "colour/model/ColorMap.h"
#include "engine/CountColors.h"
#include "engine/DeepRows.h"
#include "engine/DeepView.h"
#include "engine/PictureDepth.h"
#include "engine/EngineState.h"
#include "engine/Formulas.h"
#include "engine/JuliaTable.h"
#include "engine/NumberFormat.h"
#include "engine/RenderWorkers.h"

namespace {

// Rows of a deep view drawn between two paintings of the picture.
constexpr int kDeepBandRows = 32;

using ColumnColors = std::array<ColorWord, kBufferRows>;

// Stores one computed column in the buffers, the histogram and the summary,
// and paints it.
void StoreAndPaintColumn(QVHost& host, int x, const EscapeCount* counts, const EscapeEnd* ends, int height,
                         const CountPainter& painter, ColumnColors& colors)
{
    uint8_t* bufferColumn = &IterationBuffer[BufferIndex(x, 0)];
    EscapeCount* wholeColumn = &WholeCountBuffer[BufferIndex(x, 0)];
    EscapeEnd* endColumn = &EscapeEndBuffer[BufferIndex(x, 0)];
    for (int y = 0; y < height; ++y) {
        const EscapeCount j = counts[y];
        colors[y] = painter.ColorOf(j, ends[y]);
        bufferColumn[y] = BufferValueOfCount(j, LastCountSummary.limit);
        wholeColumn[y] = j;
        endColumn[y] = ends[y];
        ++EscapeHistogram[size_t(HistogramCounterOfCount(j, LastCountSummary.limit))];
        LastCountSummary.Add(j);
    }
    host.PaintColumn(x, colors.data(), height);
}

// Stores one row of the deep renderer's pixels in the buffers, the histogram and the summary.
void StoreDeepRow(int y, const DeepPixel* pixels, int width)
{
    for (int x = 0; x < width; ++x) {
        const DeepPixel& p = pixels[x];
        const EscapeCount j = EscapeCount(p.count);
        const size_t at = size_t(BufferIndex(x, y));
        IterationBuffer[at] = BufferValueOfCount(j, LastCountSummary.limit);
        WholeCountBuffer[at] = j;
        EscapeEndBuffer[at] = IsEscapeCount(j, LastCountSummary.limit)
                                  ? EscapeEnd{float(p.previousNorm), float(p.lastNorm)}
                                  : EscapeEnd{};
        ++EscapeHistogram[size_t(HistogramCounterOfCount(j, LastCountSummary.limit))];
        LastCountSummary.Add(j);
    }
}

// The escaped points of the area by count, from the whole counts.
CountTally TallyOfArea(const RenderedArea& area, int limit)
{
    CountTally tally(limit);
    for (int x = 0; x < area.columns; ++x) {
        const EscapeCount* column = &WholeCountBuffer[BufferIndex(x, 0)];
        for (int y = 0; y < area.rows; ++y)
            tally.Add(column[y]);
    }
    return tally;
}

// The painter of a colouring for the picture the buffers hold.
CountPainter PainterOfBuffers(Coloring coloring, const RenderedArea& area)
{
    const PictureDepth depth{LastCountSummary.limit, coloring};
    if (coloring != Coloring::Histogram)
        return CountPainter(depth);
    const CountTally tally = TallyOfArea(area, depth.limit);
    return CountPainter(depth, &tally);
}

// Paints the area again from the whole counts, handling messages before
// every block of columns; currentColorMap as it is at each block.
void PaintFromWholeCounts(QVHost& host, const RenderedArea& area, CountPainter& painter)
{
    static ColumnColors colors;
    for (int first = 0; first < area.columns; first += kColumnBlock) {
        host.ProcessPendingMessages();
        painter.TakeMap(currentColorMap);
        for (int x = first; x < std::min(area.columns, first + kColumnBlock); ++x) {
            const size_t column = size_t(BufferIndex(x, 0));
            for (int y = 0; y < area.rows; ++y)
                colors[size_t(y)] = painter.ColorOf(WholeCountBuffer[column + size_t(y)], EscapeEndBuffer[column + size_t(y)]);
            host.PaintColumn(x, colors.data(), area.rows);
        }
        host.ColumnsComplete();
    }
}

// The count colouring's way, from the 8-bit buffer: count 0 paints black.
void PaintFromBuffer(QVHost& host, const RenderedArea& area)
{
    static ColumnColors colors;
    for (int first = 0; first < area.columns; first += kColumnBlock) {
        host.ProcessPendingMessages();
        const BufferColorWords words = ColorWordsOfBufferValues(currentColorMap);
        for (int x = first; x < std::min(area.columns, first + kColumnBlock); ++x) {
            const uint8_t* bufferColumn = &IterationBuffer[BufferIndex(x, 0)];
            for (int y = 0; y < area.rows; ++y)
                colors[size_t(y)] = words[bufferColumn[y]];
            host.PaintColumn(x, colors.data(), area.rows);
        }
        host.ColumnsComplete();
    }
}

// The direct kernels' picture, block after block of columns from the left.
void DrawDirectColumns(QVHost& host, const ScanFrame& frame, CountPainter& painter)
{
    // Cancel is seen where messages are handled before a block; one handled
    // while the block is awaited lets that block be painted first.
    BlockWorkers workers(frame, RenderThreadCount());
    static ColumnColors colors;
    for (int block = 0; block * kColumnBlock < frame.region.width; ++block) {
        host.ProcessPendingMessages();
        if (CancelRequested)
            break;
        workers.WaitForBlock(block, [&host] { host.ProcessMessagesWhileWaiting(); });
        // currentColorMap as it is now: handling messages may change it.
        painter.TakeMap(currentColorMap);
        const int first = block * kColumnBlock;
        for (int x = first; x < std::min(frame.region.width, first + kColumnBlock); ++x) {
            StoreAndPaintColumn(host, x, workers.Column(x), workers.Ends(x), frame.region.height, painter, colors);
            LastRenderedArea.columns = x + 1;
            host.StepProgress();
        }
        host.ColumnsComplete();
    }
}

// The deep renderer's picture, band after band of rows from the top: each
// band done is stored and the picture so far painted again.
void DrawDeepBands(QVHost& host, const ScanFrame& frame, const PreciseCentre& centre, CountPainter& painter)
{
    const int width = frame.region.width;
    const int height = frame.region.height;
    host.ResetProgress(height);
    DeepRows rows(DeepJobOf(frame.iteration.type, frame.iteration.params, frame.region, centre, frame.iteration.limit),
                  kDeepBandRows, RenderThreadCount());
    int shown = 0;
    const auto whileWaiting = [&] {
        host.ProcessMessagesWhileWaiting();
        if (CancelRequested)
            rows.Cancel();
        for (; shown < rows.RowsDone() && shown < height; ++shown)
            host.StepProgress();
    };
    for (int band = 0; band < rows.Bands(); ++band) {
        host.ProcessPendingMessages();
        if (CancelRequested || !rows.WaitForBand(band, whileWaiting))
            break;
        const int first = band * rows.BandRows();
        const int end = std::min(height, first + rows.BandRows());
        for (int y = first; y < end; ++y)
            StoreDeepRow(y, rows.Row(y), width);
        LastRenderedArea = RenderedArea{width, end, width};
        PaintFromWholeCounts(host, LastRenderedArea, painter);
        for (; shown < end; ++shown)
            host.StepProgress();
    }
}

void SetRenderCommands(QVHost& host, bool rendering, int backCount, int forwardCount)
{
    const bool idle = !rendering;
    host.SetCommandEnabled(QVCommand::DrawAll, idle);
    host.SetCommandEnabled(QVCommand::DrawSelect, false);
    host.SetCommandEnabled(QVCommand::ReDraw, idle);
    host.SetCommandEnabled(QVCommand::Cancel, rendering);
    host.SetCommandEnabled(QVCommand::Back, idle && backCount > 0);
    host.SetCommandEnabled(QVCommand::Forward, idle && forwardCount > 0);
    host.SetCommandEnabled(QVCommand::ColorMaps, idle);
    host.SetCommandEnabled(QVCommand::Save, idle);
    host.SetCommandEnabled(QVCommand::SavePlace, idle);
}

int ClampToBuffer(int value, int limit) { return std::clamp(value, 0, limit); }

}  // namespace

void EnterRenderingState(QVHost& host) { SetRenderCommands(host, true, 0, 0); }

void LeaveRenderingState(QVHost& host) { SetRenderCommands(host, false, LastBackCount, LastForwardCount); }

long double Magnification(const ViewRecord& view)
{
    return ((WholeView.dwPitchX / view.dwPitchX) + (WholeView.dwPitchY / view.dwPitchY)) / 2;
}

ViewReadouts MakeReadouts(const ViewRecord& view, int backCount, int forwardCount)
{
    ViewReadouts r;
    r.centerX = FormatExponent(view.dwa, 3);
    r.centerY = FormatExponent(view.dwb, 3);
    r.areaX = FormatExponent(view.dwx, 3);
    r.areaY = FormatExponent(view.dwy, 3);
    r.scale = FormatThousands(Magnification(view));
    r.drawNest = std::to_string(view.dinum);
    r.drawNestTotal = std::to_string(backCount + forwardCount + 1);
    r.centerXFull = FormatFullPrecision(view.dwa);
    r.centerYFull = FormatFullPrecision(view.dwb);
    // A deep view's centre with the digits that matter at its pixels.
    const PreciseCentre centre = WithoutRoundingOnly(CentreOrFields(CurrentCentre, PlanePoint{view.dwa, view.dwb}));
    if (!centre.Empty()) {
        r.centerXFull = FormatPrecise(centre.Re(), view.dwPitchX);
        r.centerYFull = FormatPrecise(centre.Im(), view.dwPitchY);
    }
    r.areaXFull = FormatFullPrecision(view.dwx);
    r.areaYFull = FormatFullPrecision(view.dwy);
    r.scaleFull = FormatFullPrecision(Magnification(view));
    if (ActiveJulia.isSet)
        r.julia = JuliaPointCaption(ActiveJulia);
    return r;
}

void RenderView(QVHost& host, ViewRecord& view)
{
    if (IsRendering)
        return;  // the rendering state keeps every drawing command out meanwhile
    IsRendering = true;
    EnterRenderingState(host);

    // The buffer bounds every picture, whatever the view asks for. The
    // render's rule maps the pixels to points.
    const PictureSize picture{ClampToBuffer(view.diImgW, kBufferColumns), ClampToBuffer(view.diImgH, kBufferRows)};
    const PictureDepth depth = ActiveDepth;
    const ScanFrame frame{view.Region(picture), Iteration{view.diType, ActiveParams, depth.limit, ActiveJulia}};

    host.FillPictureBackground(picture.width, picture.height);
    host.ForgetSelectionMark();
    EscapeHistogram.fill(0);
    LastCountSummary = CountSummary{};
    LastCountSummary.limit = depth.limit;

    LastBackCount = int(BackStack.size());
    LastForwardCount = int(ForwardStack.size());
    host.ShowReadouts(MakeReadouts(view, LastBackCount, LastForwardCount));
    host.ResetProgress(picture.width);

    LastRenderedArea = RenderedArea{0, picture.height, picture.width};
    CancelRequested = false;

    // The histogram colouring needs the whole picture's counts: the columns
    // show the count colouring until the last is done.
    const bool histogram = depth.coloring == Coloring::Histogram;
    CountPainter painter(histogram ? PictureDepth{depth.limit, Coloring::Count} : depth);
    const PreciseCentre centre = CentreOrFields(CurrentCentre, PlanePoint{view.dwa, view.dwb});
    if (IsDeepRegion(frame.iteration, frame.region))
        DrawDeepBands(host, frame, centre, painter);
    else
        DrawDirectColumns(host, frame, painter);
    if (histogram) {
        CountPainter final = PainterOfBuffers(Coloring::Histogram, LastRenderedArea);
        PaintFromWholeCounts(host, LastRenderedArea, final);
    }

    view.csx = view.csy = view.cex = view.cey = 0;
    view.dbOK = true;
    LeaveRenderingState(host);
    host.ShowPictureDepth();
    if (DebugMode)
        host.RefreshDiagnostics();
    IsRendering = false;
}

void RecolorPicture(QVHost& host)
{
    if (!dpCurr.dbOK || IsRendering)
        return;
    IsRendering = true;
    EnterRenderingState(host);
    host.ForgetSelectionMark();

    // Only what the last render really drew: columns a cancelled render never
    // reached, or rows beyond its height, hold counts of another picture.
    const RenderedArea area = LastRenderedArea;
    if (ActiveDepth.coloring == Coloring::Count) {
        PaintFromBuffer(host, area);
    } else {
        CountPainter painter = PainterOfBuffers(ActiveDepth.coloring, area);
        PaintFromWholeCounts(host, area, painter);
    }

    LeaveRenderingState(host);
    IsRendering = false;
}
