#pragma once
// The windows' side of the engine's host interface.

#include "QVHost.h"

// The drawing window gathers painted columns; every call but the progress
// step has it write them first, so the picture is whole whenever anything
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
};

// The host every command hands to the engine.
QVHost& WindowsHost();
