#pragma once
// The engine's host on the program's windows: each request goes to the
// window that carries it, through its port.

#include "engine/QVHost.h"

class WindowsHostAdapter final : public QVHost {
public:
    void FillPictureBackground(int width, int height) override;
    void ForgetSelectionMark() override;
    void PaintColumn(int x, const uint32_t* colorWords, int height) override;
    void ColumnsComplete() override;
    void ProcessPendingMessages() override;
    void ShowReadouts(const ViewReadouts& readouts) override;
    void ResetProgress(int maximum) override;
    void StepProgress() override;
    void SetCommandEnabled(QVCommand command, bool enabled) override;
    void RefreshDiagnostics() override;
    void FitWindowToView(ViewRecord& view) override;
    void ShowEditedParams() override;
    void ShowPictureDepth() override;
};

// The host every command hands to the engine.
QVHost& WindowsHost();
