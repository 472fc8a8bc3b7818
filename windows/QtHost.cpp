#include "QtHost.h"

#include <QApplication>

#include "QVCommands.h"
#include "untQVCtrl.h"
#include "untQVView.h"

void QtHost::FillPictureBackground(int width, int height)
{
    if (frmQVView)
        frmQVView->FillPictureBackground(width, height);
}

void QtHost::ForgetSelectionMark()
{
    if (frmQVView)
        frmQVView->ForgetSelectionMark();
}

void QtHost::PaintColumn(int x, const uint32_t* colourWords, int height)
{
    if (frmQVView)
        frmQVView->PaintColumn(x, colourWords, height);
}

void QtHost::ProcessPendingMessages() { QApplication::processEvents(); }

void QtHost::ShowReadouts(const ViewReadouts& readouts)
{
    if (frmQVCtrl)
        frmQVCtrl->ShowReadouts(readouts);
}

void QtHost::ResetProgress(int maximum)
{
    if (frmQVCtrl)
        frmQVCtrl->ResetProgress(maximum);
}

void QtHost::StepProgress()
{
    if (frmQVCtrl)
        frmQVCtrl->StepProgress();
}

void QtHost::SetCommandEnabled(QVCommand command, bool enabled) { SetCommandsEnabled(command, enabled); }

void QtHost::RefreshDiagnostics() { ::RefreshDiagnostics(); }

void QtHost::FitWindowToView(ViewRecord& view)
{
    if (frmQVView)
        frmQVView->FitWindowToView(view);
}

QVHost& WindowsHost()
{
    static QtHost host;
    return host;
}
