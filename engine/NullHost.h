#pragma once
// A host without windows: every request is accepted and nothing is shown.
// For programs that only want the engine's results.

#include "QVHost.h"

class NullHost : public QVHost {
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
