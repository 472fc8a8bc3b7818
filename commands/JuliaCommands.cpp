#include "commands/JuliaCommands.h"

#include <algorithm>

#include "commands/CommandSupport.h"
#include "commands/WindowPorts.h"
#include "engine/EngineState.h"
#include "engine/JuliaTable.h"
#include "engine/JuliaView.h"
#include "platform/QVDialogs.h"

namespace {

std::function<void(PlanePoint)> previewSink;

bool PixelOnPicture(QPoint pixel)
{
    const PictureSize shown = ShownPictureSize(dpCurr);
    return pixel.x() >= 0 && pixel.y() >= 0 && pixel.x() < shown.width && pixel.y() < shown.height;
}

}  // namespace

void ShowJuliaOfPixel(QPoint pixel)
{
    if (IsRendering || dpCurr.diType == 0)
        return;
    ShowJuliaOfPoint(PointUnderPixel(pixel.x(), pixel.y()));
}

void ShowJuliaOfPoint(PlanePoint c)
{
    if (IsRendering || dpCurr.diType == 0)
        return;
    if (!IsJuliaParameter(c.re, c.im)) {
        Dialogs().ShowError(WindowOf(Ports().drawing), QStringLiteral("この点のジュリア集合は描けません（有限の数ではありません）"));
        return;
    }
    const HistoryEntry left = CurrentEntry();
    dpNext = JuliaWholeView(dpCurr, ActiveParams);
    ActiveJulia = JuliaPoint::At(c.re, c.im);
    TakeNextView(true, left);
}

void ShowFormulaPlane()
{
    if (IsRendering || !ActiveJulia.isSet)
        return;
    const HistoryEntry left = CurrentEntry();
    dpNext = PlaneWholeView(dpCurr, ActiveParams);
    ActiveJulia = kNoJuliaPoint;
    TakeNextView(true, left);
}

bool InJuliaView() { return ActiveJulia.isSet; }

Iteration PreviewIteration(PlanePoint c)
{
    return Iteration{dpCurr.diType, ActiveParams, std::min<int32_t>(ActiveDepth.limit, kMostPreviewLimit),
                     JuliaPoint::At(c.re, c.im)};
}

PlaneRegion PreviewRegion()
{
    return JuliaWholeRegion(dpCurr.diType, ActiveParams, PictureSize{kPreviewSide, kPreviewSide});
}

void SetJuliaPreviewSink(std::function<void(PlanePoint)> sink) { previewSink = std::move(sink); }

bool JuliaPreviewOn() { return bool(previewSink); }

void PointerOverPicture(QPoint pixel)
{
    if (!previewSink || ActiveJulia.isSet || dpCurr.diType == 0 || !PixelOnPicture(pixel))
        return;
    const PlanePoint c = PointUnderPixel(pixel.x(), pixel.y());
    if (IsJuliaParameter(c.re, c.im))
        previewSink(c);
}
