#include "commands/WindowsHostAdapter.h"

#include <QApplication>

#include "commands/CommandSet.h"
#include "commands/WindowPorts.h"

void WindowsHostAdapter::FillPictureBackground(int width, int height)
{
    if (DrawingWindowPort* drawing = Ports().drawing)
        drawing->FillPictureBackground(width, height);
}

void WindowsHostAdapter::ForgetSelectionMark()
{
    if (DrawingWindowPort* drawing = Ports().drawing)
        drawing->ForgetSelectionMark();
}

void WindowsHostAdapter::PaintColumn(int x, const uint32_t* colorWords, int height)
{
    if (DrawingWindowPort* drawing = Ports().drawing)
        drawing->PaintColumn(x, colorWords, height);
}

void WindowsHostAdapter::ColumnsComplete()
{
    if (DrawingWindowPort* drawing = Ports().drawing)
        drawing->ColumnsComplete();
}

void WindowsHostAdapter::ProcessPendingMessages() { QApplication::processEvents(); }

void WindowsHostAdapter::ShowReadouts(const ViewReadouts& readouts)
{
    if (ControlWindowPort* control = Ports().control)
        control->ShowReadouts(readouts);
}

void WindowsHostAdapter::ResetProgress(int maximum)
{
    if (ControlWindowPort* control = Ports().control)
        control->ResetProgress(maximum);
}

void WindowsHostAdapter::StepProgress()
{
    if (ControlWindowPort* control = Ports().control)
        control->StepProgress();
}

void WindowsHostAdapter::SetCommandEnabled(QVCommand command, bool enabled) { EnableCommand(command, enabled); }

void WindowsHostAdapter::RefreshDiagnostics()
{
    DiagnosticsWindowPort* diagnostics = Ports().diagnostics;
    DrawingWindowPort* drawing = Ports().drawing;
    if (diagnostics && drawing)
        diagnostics->FillGrid(drawing->PictureControlWidth(), drawing->Picture().width());
}

void WindowsHostAdapter::FitWindowToView(ViewRecord& view)
{
    if (DrawingWindowPort* drawing = Ports().drawing)
        drawing->FitWindowToView(view);
}

void WindowsHostAdapter::ShowEditedParams()
{
    if (CoefficientDialogPort* coefficients = Ports().coefficients)
        coefficients->ShowParams();
}

void WindowsHostAdapter::ShowPictureDepth()
{
    if (ControlWindowPort* control = Ports().control)
        control->ShowPictureDepth();
}

QVHost& WindowsHost()
{
    static WindowsHostAdapter host;
    return host;
}
