#pragma once
// The windows' side of the engine's host interface.

#include "QVHost.h"

class QtHost final : public QVHost {
public:
    void FillPictureBackground(int width, int height) override;
    void ForgetSelectionMark() override;
    void PaintColumn(int x, const uint32_t* colourWords, int height) override;
    void ProcessPendingMessages() override;
    void ShowReadouts(const ViewReadouts& readouts) override;
    void ResetProgress(int maximum) override;
    void StepProgress() override;
    void SetCommandEnabled(QVCommand command, bool enabled) override;
    void RefreshDiagnostics() override;
    void FitWindowToView(ViewRecord& view) override;
};

// The host every command hands to the engine.
QVHost& WindowsHost();
