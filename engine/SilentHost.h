#pragma once
// A host without windows: every request of the engine is passed over. Tools
// that render off screen derive from it and keep what they need.

#include "engine/QVHost.h"

class SilentHost : public QVHost {
public:
    void FillPictureBackground(int, int) override {}
    void ForgetSelectionMark() override {}
    void PaintColumn(int, const uint32_t*, int) override {}
    void ProcessPendingMessages() override {}
    void ShowReadouts(const ViewReadouts&) override {}
    void ResetProgress(int) override {}
    void StepProgress() override {}
    void SetCommandEnabled(QVCommand, bool) override {}
    void RefreshDiagnostics() override {}
    void FitWindowToView(ViewRecord&) override {}
};
