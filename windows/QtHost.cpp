#include "QtHost.h"

#include <QApplication>

#include "QVCommands.h"
#include "untQVCtrl.h"
#include "untQVView.h"

namespace {

void WritePaintedColumns()
{
    if (frmQVView)
        frmQVView->WritePaintedColumns();
}

}  // namespace

void QtHost::FillPictureBackground(int width, int height)
{
    WritePaintedColumns();
    if (frmQVView)
        frmQVView->FillPictureBackground(width, height);
}

void QtHost::ForgetSelectionMark()
{
    WritePaintedColumns();
    if (frmQVView)
        frmQVView->ForgetSelectionMark();
}

void QtHost::PaintColumn(int x, const uint32_t* colourWords, int height)
{
    if (frmQVView)
        frmQVView->PaintColumn(x, colourWords, height);
}

void QtHost::ProcessPendingMessages()
{
    WritePaintedColumns();
    QApplication::processEvents();
}

void QtHost::ProcessMessagesWhileWaiting() { ProcessPendingMessages(); }

void QtHost::ShowReadouts(const ViewReadouts& readouts)
{
    WritePaintedColumns();
    if (frmQVCtrl)
        frmQVCtrl->ShowReadouts(readouts);
}

void QtHost::ResetProgress(int maximum)
{
    WritePaintedColumns();
    if (frmQVCtrl)
        frmQVCtrl->ResetProgress(maximum);
}

void QtHost::StepProgress()
{
    if (frmQVCtrl)
        frmQVCtrl->StepProgress();
}

void QtHost::SetCommandEnabled(QVCommand command, bool enabled)
{
    WritePaintedColumns();
    SetCommandsEnabled(command, enabled);
}

void QtHost::RefreshDiagnostics()
{
    WritePaintedColumns();
    ::RefreshDiagnostics();
}

void QtHost::FitWindowToView(ViewRecord& view)
{
    WritePaintedColumns();
    if (frmQVView)
        frmQVView->FitWindowToView(view);
}

QVHost& WindowsHost()
{
    static QtHost host;
    return host;
}
