#include "QtHost.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QToolButton>

#include "untQVCtrl.h"
#include "untQVView.h"

namespace {

QRgb RgbOfColourWord(uint32_t word)
{
    return qRgb(int(word & 0xFF), int((word >> 8) & 0xFF), int((word >> 16) & 0xFF));
}

void SetText(QLabel* label, const std::string& text)
{
    if (label)
        label->setText(QString::fromStdString(text));
}

}  // namespace

void QtHost::FillPictureBackground(int width, int height)
{
    if (!frmQVView)
        return;
    frmQVView->imgQVView->FillRect(width, height);
    // A window held at its minimum size shows more than the picture: nothing
    // of an older picture may stay beside the new one.
    frmQVView->imgQVView->FillOutside(width, height, frmQVView->palette().color(QPalette::Window));
}

void QtHost::ForgetSelectionMark()
{
    SelDeltaX = 0;
    SelDeltaY = 0;
}

void QtHost::PaintColumn(int x, const uint32_t* colourWords, int height)
{
    if (!frmQVView)
        return;
    QImage& surface = frmQVView->imgQVView->Picture();
    if (x < 0 || x >= surface.width())
        return;
    const int rows = std::min(height, surface.height());
    for (int y = 0; y < rows; ++y)
        reinterpret_cast<QRgb*>(surface.scanLine(y))[x] = RgbOfColourWord(colourWords[y]);
    frmQVView->imgQVView->update(QRect(x, 0, 1, rows));
}

void QtHost::ProcessPendingMessages() { QApplication::processEvents(); }

void QtHost::ShowReadouts(const ViewReadouts& readouts)
{
    if (!frmQVCtrl)
        return;
    SetText(frmQVCtrl->stCenterX, readouts.centerX);
    SetText(frmQVCtrl->stCenterY, readouts.centerY);
    SetText(frmQVCtrl->stAreaX, readouts.areaX);
    SetText(frmQVCtrl->stAreaY, readouts.areaY);
    SetText(frmQVCtrl->stScale, readouts.scale);
    SetText(frmQVCtrl->stDrawNest, readouts.drawNest);
    SetText(frmQVCtrl->stDrawNestTotal, readouts.drawNestTotal);
}

void QtHost::ResetProgress(int maximum)
{
    if (!frmQVCtrl)
        return;
    frmQVCtrl->pbQVCtrl->setRange(0, maximum);
    frmQVCtrl->pbQVCtrl->setValue(0);
}

void QtHost::StepProgress()
{
    if (frmQVCtrl)
        frmQVCtrl->pbQVCtrl->setValue(frmQVCtrl->pbQVCtrl->value() + 1);
}

void QtHost::SetCommandEnabled(QVCommand command, bool enabled)
{
    TfrmQVCtrl* c = frmQVCtrl;
    TfrmQVView* v = frmQVView;
    QWidget* button = nullptr;
    QAction* action = nullptr;
    switch (command) {
    case QVCommand::tbtnDrawAll: button = c ? c->tbtnDrawAll : nullptr; break;
    case QVCommand::tbtnDrawSelect: button = c ? c->tbtnDrawSelect : nullptr; break;
    case QVCommand::tbtnReDraw: button = c ? c->tbtnReDraw : nullptr; break;
    case QVCommand::tbtnCancel: button = c ? c->tbtnCancel : nullptr; break;
    case QVCommand::tbtnPrev: button = c ? c->tbtnPrev : nullptr; break;
    case QVCommand::tbtnNext: button = c ? c->tbtnNext : nullptr; break;
    case QVCommand::pmiColorChange: action = c ? c->pmiColorChange->menuAction() : nullptr; break;
    case QVCommand::pmiSave: action = c ? c->pmiSave : nullptr; break;
    case QVCommand::pmiDrawSelect: action = v ? v->pmiDrawSelect : nullptr; break;
    case QVCommand::pmiReDraw: action = v ? v->pmiReDraw : nullptr; break;
    case QVCommand::pmiCancel: action = v ? v->pmiCancel : nullptr; break;
    case QVCommand::pmiPrev: action = v ? v->pmiPrev : nullptr; break;
    case QVCommand::pmiNext: action = v ? v->pmiNext : nullptr; break;
    case QVCommand::pmiDrawAll: action = v ? v->pmiDrawAll->menuAction() : nullptr; break;
    }
    if (button)
        button->setEnabled(enabled);
    if (action)
        action->setEnabled(enabled);
}

void QtHost::RefreshDiagnostics()
{
    // The diagnostics grid joins here once that window exists.
}

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

void BringToFront(QWidget* window)
{
    if (!window)
        return;
    window->show();
    window->raise();
    window->activateWindow();
}
