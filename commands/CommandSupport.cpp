#include "commands/CommandSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>

#include "commands/WindowPorts.h"
#include "commands/WindowsHostAdapter.h"
#include "engine/EngineState.h"
#include "engine/Navigation.h"
#include "engine/Place.h"
#include "engine/PlaceView.h"
#include "engine/RenderDriver.h"
#include "platform/QVDialogs.h"

std::string CurrentPlaceText() { return FormatPlace(PlaceOfCurrentView()); }

QWidget* WindowOf(ControlWindowPort* port) { return port ? port->Window() : nullptr; }
QWidget* WindowOf(DrawingWindowPort* port) { return port ? port->Window() : nullptr; }

void SetTrackResize(bool on)
{
    if (DrawingWindowPort* drawing = Ports().drawing)
        drawing->SetTrackResize(on);
}

void ForgetRubberBand()
{
    if (DrawingWindowPort* drawing = Ports().drawing)
        drawing->ForgetRubberBand();
}

void TakeNextView(bool intoHistory, const HistoryEntry& left, bool madeFromView)
{
    ForgetRubberBand();
    QVHost& host = WindowsHost();
    if (DebugMode)
        host.RefreshDiagnostics();
    if (intoHistory)
        ZoomHistoryStep(host, left);
    else
        dpCurr = dpNext, CurrentCentre = NextCentre;
    if (madeFromView)
        TakeLimitForNewView();
    UpdateIndicatorMarks();
    EditedParams = ActiveParams;
    if (CoefficientDialogPort* coefficients = Ports().coefficients)
        coefficients->ShowParams();
    host.FitWindowToView(dpCurr);
    RenderView(host, dpCurr);
}

void SayDepthLimit(DepthLimit limit)
{
    // Once for a view: more turns of the wheel there say nothing more.
    static ViewRecord saidAt{};
    const auto same = [](const ViewRecord& a, const ViewRecord& b) {
        return a.diType == b.diType && a.dwa == b.dwa && a.dwb == b.dwb && a.dwPitchX == b.dwPitchX &&
               a.dwPitchY == b.dwPitchY;
    };
    if (same(saidAt, dpCurr))
        return;
    saidAt = dpCurr;
    Dialogs().Notify(WindowOf(Ports().drawing), QString::fromUtf8(DepthLimitMessage(limit)));
}

QString NativePath(const QString& path) { return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()); }

void RefreshIndicator()
{
    ControlWindowPort* control = Ports().control;
    DrawingWindowPort* drawing = Ports().drawing;
    if (!control || !drawing)
        return;
    const IndicatorSquare square = IndicatorSquareOf(dpCurr);
    const QRect source(square.left, square.top, square.right - square.left, square.bottom - square.top);
    const QImage picture = source.isEmpty() ? QImage() : drawing->Picture().copy(source);
    control->ShowIndicator(picture, IndicatorScaleOf(dpCurr));
}

void UpdateIndicatorMarks()
{
    if (ControlWindowPort* control = Ports().control)
        control->MoveCrossMarks(CrossMarksOf(dpCurr, WholeView, control->IndicatorScaleShown()));
}
