#include "engine/RenderDriver.h"

#include <algorithm>
#include <array>
#include <string>

#include "colour/model/ColorMap.h"
#include "engine/CountColors.h"
#include "engine/EngineState.h"
#include "engine/Formulas.h"
#include "engine/NumberFormat.h"
#include "engine/RenderWorkers.h"

namespace {

// Stores one computed column in the buffers and the histogram and paints it.
void StoreAndPaintColumn(QVHost& host, int x, const EscapeCount* counts, int height, const CountColorWords& words,
                         std::array<ColorWord, kBufferRows>& colors)
{
    uint8_t* bufferColumn = &IterationBuffer[BufferIndex(x, 0)];
    EscapeCount* wholeColumn = &WholeCountBuffer[BufferIndex(x, 0)];
    for (int y = 0; y < height; ++y) {
        const EscapeCount j = counts[y];
        colors[y] = words[size_t(j)];
        bufferColumn[y] = BufferValueOfCount(j);
        wholeColumn[y] = j;
        ++EscapeHistogram[size_t(j)];
    }
    host.PaintColumn(x, colors.data(), height);
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
    r.areaXFull = FormatFullPrecision(view.dwx);
    r.areaYFull = FormatFullPrecision(view.dwy);
    r.scaleFull = FormatFullPrecision(Magnification(view));
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
    const ScanFrame frame{view.Region(picture), Iteration{view.diType, ActiveParams}};

    host.FillPictureBackground(picture.width, picture.height);
    host.ForgetSelectionMark();
    EscapeHistogram.fill(0);

    LastBackCount = int(BackStack.size());
    LastForwardCount = int(ForwardStack.size());
    host.ShowReadouts(MakeReadouts(view, LastBackCount, LastForwardCount));
    host.ResetProgress(picture.width);

    LastRenderedArea = RenderedArea{0, picture.height, picture.width};
    CancelRequested = false;

    // Cancel is seen where messages are handled before a block; one handled
    // while the block is awaited lets that block be painted first.
    BlockWorkers workers(frame, RenderThreadCount());
    static std::array<ColorWord, kBufferRows> colors;
    for (int block = 0; block * kColumnBlock < picture.width; ++block) {
        host.ProcessPendingMessages();
        if (CancelRequested)
            break;
        workers.WaitForBlock(block, [&host] { host.ProcessMessagesWhileWaiting(); });
        // currentColorMap as it is now: handling messages may change it.
        const CountColorWords words = ColorWordsOfCounts(currentColorMap);
        const int first = block * kColumnBlock;
        for (int x = first; x < std::min(picture.width, first + kColumnBlock); ++x) {
            StoreAndPaintColumn(host, x, workers.Column(x), picture.height, words, colors);
            LastRenderedArea.columns = x + 1;
            host.StepProgress();
        }
        host.ColumnsComplete();
    }

    view.csx = view.csy = view.cex = view.cey = 0;
    view.dbOK = true;
    LeaveRenderingState(host);
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
    static std::array<ColorWord, kBufferRows> colors;
    for (int first = 0; first < area.columns; first += kColumnBlock) {
        host.ProcessPendingMessages();
        const BufferColorWords words = ColorWordsOfBufferValues(currentColorMap);
        for (int x = first; x < std::min(area.columns, first + kColumnBlock); ++x) {
            const uint8_t* bufferColumn = &IterationBuffer[BufferIndex(x, 0)];
            for (int y = 0; y < area.rows; ++y)
                colors[y] = words[bufferColumn[y]];
            host.PaintColumn(x, colors.data(), area.rows);
        }
        host.ColumnsComplete();
    }

    LeaveRenderingState(host);
    IsRendering = false;
}
