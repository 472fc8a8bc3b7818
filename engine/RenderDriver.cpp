#include "RenderDriver.h"

#include <algorithm>
#include <array>
#include <string>

#include "ColorMap.h"
#include "EngineState.h"
#include "Formulas.h"
#include "NumberFormat.h"

namespace {

// Columns between two turns of the message loop; also the block of columns
// whose counts are computed before any of them is painted.
constexpr int kColumnBlock = 16;

// Counts of one block of columns, kCaptured for captured points.
using BlockCounts = std::array<std::array<uint16_t, kBufferRows>, kColumnBlock>;

struct ScanFrame {
    long double centreX;
    long double centreY;
    long double extentX;
    long double extentY;
    int width;
    int height;
    int type;
    FormulaParams params;
};

void ComputeBlock(const ScanFrame& f, int firstColumn, int lastColumn, BlockCounts& counts)
{
    const long double halfW = f.width / 2.0L;
    const long double halfH = f.height / 2.0L;
    for (int x = firstColumn; x < lastColumn; ++x) {
        const long double cx = (x - halfW) * f.extentX / f.width + f.centreX;
        auto& column = counts[x - firstColumn];
        for (int y = 0; y < f.height; ++y) {
            const long double cy = (y - halfH) * f.extentY / f.height + f.centreY;
            column[y] = uint16_t(IteratePoint(f.type, cx, cy, f.params));
        }
    }
}

// Stores one computed column in the buffer and histogram and paints it.
void StoreAndPaintColumn(QVHost& host, int x, const std::array<uint16_t, kBufferRows>& counts, int height,
                         std::array<ColourWord, kBufferRows>& colours)
{
    uint8_t* bufferColumn = &IterationBuffer[BufferIndex(x, 0)];
    for (int y = 0; y < height; ++y) {
        const int j = counts[y];
        if (j == kCaptured) {
            colours[y] = kBlackWord;
            bufferColumn[y] = 0;
            ++EscapeHistogram[256];
        } else {
            colours[y] = ColourWordOf(currentColorMap[j]);
            bufferColumn[y] = uint8_t(j);
            ++EscapeHistogram[j];
        }
    }
    host.PaintColumn(x, colours.data(), height);
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
    host.SetCommandEnabled(QVCommand::ColourMaps, idle);
    host.SetCommandEnabled(QVCommand::Save, idle);
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
    return r;
}

void RenderView(QVHost& host, ViewRecord& view)
{
    if (IsRendering)
        return;  // the rendering state keeps every drawing command out meanwhile
    IsRendering = true;
    EnterRenderingState(host);

    // The buffer bounds every picture, whatever the view asks for.
    const ScanFrame frame{view.dwa,
                          view.dwb,
                          view.dwx,
                          view.dwy,
                          ClampToBuffer(view.diImgW, kBufferColumns),
                          ClampToBuffer(view.diImgH, kBufferRows),
                          view.diType,
                          ActiveParams};

    host.FillPictureBackground(frame.width, frame.height);
    host.ForgetSelectionMark();
    EscapeHistogram.fill(0);

    LastBackCount = int(BackStack.size());
    LastForwardCount = int(ForwardStack.size());
    host.ShowReadouts(MakeReadouts(view, LastBackCount, LastForwardCount));
    host.ResetProgress(frame.width);

    LastRenderedArea = RenderedArea{0, frame.height};
    CancelRequested = false;

    static BlockCounts counts;
    static std::array<ColourWord, kBufferRows> colours;
    for (int blockStart = 0; blockStart < frame.width; blockStart += kColumnBlock) {
        host.ProcessPendingMessages();
        if (CancelRequested)
            break;
        const int blockEnd = std::min(frame.width, blockStart + kColumnBlock);
        ComputeBlock(frame, blockStart, blockEnd, counts);
        for (int x = blockStart; x < blockEnd && !CancelRequested; ++x) {
            StoreAndPaintColumn(host, x, counts[x - blockStart], frame.height, colours);
            LastRenderedArea.columns = x + 1;
            host.StepProgress();
        }
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
    static std::array<ColourWord, kBufferRows> colours;
    for (int x = 0; x < area.columns; ++x) {
        if (x % kColumnBlock == 0)
            host.ProcessPendingMessages();
        const uint8_t* bufferColumn = &IterationBuffer[BufferIndex(x, 0)];
        for (int y = 0; y < area.rows; ++y) {
            const uint8_t n = bufferColumn[y];
            colours[y] = n > 0 ? ColourWordOf(currentColorMap[n]) : kBlackWord;
        }
        host.PaintColumn(x, colours.data(), area.rows);
    }

    LeaveRenderingState(host);
    IsRendering = false;
}
