#pragma once
// The windows' side of the engine's host interface.

#include <QPointer>
#include <vector>

#include "QVHost.h"
#include "QVImage.h"

// Columns are gathered up to 16 at a time and written into the picture row by
// row: the picture is laid out row by row, and a column at a time would touch
// a new memory page with nearly every pixel. Every call but the progress step
// writes what is gathered first, so the picture is whole whenever anything
// else happens: messages, command states at the end of a render, and so on.
class QtHost final : public QVHost {
public:
    void FillPictureBackground(int width, int height) override;
    void ForgetSelectionMark() override;
    void PaintColumn(int x, const uint32_t* colourWords, int height) override;
    void ProcessPendingMessages() override;
    void ProcessMessagesWhileWaiting() override;
    void ShowReadouts(const ViewReadouts& readouts) override;
    void ResetProgress(int maximum) override;
    void StepProgress() override;
    void SetCommandEnabled(QVCommand command, bool enabled) override;
    void RefreshDiagnostics() override;
    void FitWindowToView(ViewRecord& view) override;

private:
    void WriteGatheredColumns();

    QPointer<TQVImage> gatheredFor_;
    std::vector<uint32_t> gathered_;  // pixels row after row, 16 to a row
    int gatheredFirst_ = 0;
    int gatheredCount_ = 0;
    int gatheredRows_ = 0;
};

// The host every window command hands to the engine.
QVHost& WindowsHost();

class QWidget;
// Shows a window and brings it to the front; a null window is passed over.
void BringToFront(QWidget* window);
