#pragma once
// The program's windows, created in their order, each completely before the
// next, and handed to the command layer as ports; destroyed in the reverse
// order after their ports are taken back. The only place that knows every
// window: CreateProgramWindows lists them once, and the list it builds is
// what moves and destroys them.

#include <functional>
#include <memory>
#include <vector>

class QObject;
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

// A window the set owns, as its callers see it.
template <typename Window>
class WindowRef {
public:
    Window* get() const { return window_; }
    Window* operator->() const { return window_; }
    Window& operator*() const { return *window_; }
    explicit operator bool() const { return window_ != nullptr; }
    void Set(Window* window) { window_ = window; }

private:
    Window* window_ = nullptr;
};

struct ProgramWindowRefs {
    WindowRef<TfrmQVCtrl> control;
    WindowRef<TfrmQVView> drawing;
    WindowRef<TfrmDebg> diagnostics;
    WindowRef<TfrmSetPalette> colorMapView;
    WindowRef<TfrmSetCoeff> coefficients;
    WindowRef<TfrmColorUser> colorEditor;
    WindowRef<TfrmHelpAbout> helpAbout;
    WindowRef<TfrmDisplay1> pixelInformation;
    // The program's own, after the eight of its design.
    WindowRef<TfrmExportPicture> exportPicture;
};

struct ProgramWindows : ProgramWindowRefs {
    ProgramWindows();
    ProgramWindows(ProgramWindows&& other) noexcept;
    ProgramWindows& operator=(ProgramWindows&& other) noexcept;
    ~ProgramWindows();

    // Made before the windows, which follow its commands.
    std::unique_ptr<QVCommandSet> commands;

    // Shows the control window, with the "デバッグ" button when asked.
    void Show(bool withDiagnosticsButton);

    // Takes a new window into the set, last in the order; `forgetPort` takes
    // its port back from the commands before it is destroyed.
    void Adopt(std::unique_ptr<QObject> window, std::function<void()> forgetPort);

private:
    void Release();

    struct Owned {
        std::unique_ptr<QObject> window;
        std::function<void()> forgetPort;
    };
    std::vector<Owned> owned_;  // in the order of creation
};

// Program start: the control window sets the start-up values, then the other
// windows follow. Only the control window is shown.
ProgramWindows CreateProgramWindows();
