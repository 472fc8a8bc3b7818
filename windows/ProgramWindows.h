#pragma once
// The program's windows, created in their order, each completely before the
// next, and handed to the command layer as ports; destroyed in the reverse
// order after their ports are taken back. The only place that knows every
// window.

#include <memory>

class QVCommandSet;
class TfrmColorUser;
class TfrmDebg;
class TfrmDisplay1;
class TfrmExportPicture;
class TfrmHelpAbout;
class TfrmQVCtrl;
class TfrmQVView;
class TfrmSetCoeff;
class TfrmSetPalette;

struct ProgramWindows {
    ProgramWindows();
    ProgramWindows(ProgramWindows&& other) noexcept;
    ProgramWindows& operator=(ProgramWindows&& other) noexcept;
    ~ProgramWindows();

    // Made before the windows, which follow its commands.
    std::unique_ptr<QVCommandSet> commands;
    std::unique_ptr<TfrmQVCtrl> control;
    std::unique_ptr<TfrmQVView> drawing;
    std::unique_ptr<TfrmDebg> diagnostics;
    std::unique_ptr<TfrmSetPalette> colorMapView;
    std::unique_ptr<TfrmSetCoeff> coefficients;
    std::unique_ptr<TfrmColorUser> colorEditor;
    std::unique_ptr<TfrmHelpAbout> helpAbout;
    std::unique_ptr<TfrmDisplay1> pixelInformation;
    // The program's own, after the eight of its design.
    std::unique_ptr<TfrmExportPicture> exportPicture;

    // Shows the control window, with the "デバッグ" button when asked.
    void Show(bool withDiagnosticsButton);

private:
    void Release();
};

// Program start: the control window sets the start-up values, then the other
// windows follow. Only the control window is shown.
ProgramWindows CreateProgramWindows();
