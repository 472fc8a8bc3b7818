#include "QtHost.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QToolButton>
#include <algorithm>
#include <cstring>
#include <utility>

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

namespace {

constexpr int kGatheredColumns = 16;

}  // namespace

void QtHost::FillPictureBackground(int width, int height)
{
    WriteGatheredColumns();
    if (frmQVView)
        frmQVView->imgQVView->FillRect(width, height);
}

void QtHost::ForgetSelectionMark()
{
    WriteGatheredColumns();
    SelDeltaX = 0;
    SelDeltaY = 0;
}

void QtHost::PaintColumn(int x, const uint32_t* colourWords, int height)
{
    if (!frmQVView)
        return;
    TQVImage* image = frmQVView->imgQVView;
    const QImage& surface = image->Picture();
    if (x < 0 || x >= surface.width())
        return;
    const int rows = std::min(height, surface.height());
    if (gatheredCount_ == kGatheredColumns || gatheredFor_ != image || rows != gatheredRows_ ||
        x != gatheredFirst_ + gatheredCount_)
        WriteGatheredColumns();
    if (gatheredCount_ == 0) {
        gatheredFor_ = image;
        gatheredFirst_ = x;
        gatheredRows_ = rows;
        gathered_.resize(size_t(kGatheredColumns) * size_t(rows));
    }
    QRgb* pixel = &gathered_[size_t(gatheredCount_)];
    for (int y = 0; y < rows; ++y, pixel += kGatheredColumns)
        *pixel = RgbOfColourWord(colourWords[y]);
    ++gatheredCount_;
}

void QtHost::WriteGatheredColumns()
{
    const int count = std::exchange(gatheredCount_, 0);
    if (count == 0 || !gatheredFor_)
        return;
    QImage& surface = gatheredFor_->Picture();
    uchar* line = surface.bits() + qsizetype(gatheredFirst_) * qsizetype(sizeof(QRgb));
    for (int y = 0; y < gatheredRows_; ++y, line += surface.bytesPerLine())
        std::memcpy(line, &gathered_[size_t(y) * kGatheredColumns], sizeof(QRgb) * size_t(count));
    gatheredFor_->update(QRect(gatheredFirst_, 0, count, gatheredRows_));
}

void QtHost::ProcessPendingMessages()
{
    WriteGatheredColumns();
    QApplication::processEvents();
}

void QtHost::ProcessMessagesWhileWaiting() { ProcessPendingMessages(); }

void QtHost::ShowReadouts(const ViewReadouts& readouts)
{
    WriteGatheredColumns();
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
    WriteGatheredColumns();
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
    WriteGatheredColumns();
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
    WriteGatheredColumns();
    // The diagnostics grid joins here once that window exists.
}

void QtHost::FitWindowToView(ViewRecord& view)
{
    WriteGatheredColumns();
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
