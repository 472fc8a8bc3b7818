#include "windows/ProgramWindows.h"

#include <utility>

#include "colour/windows/untColorUser.h"
#include "colour/windows/untDisplay1.h"
#include "colour/windows/untSetPalette.h"
#include "commands/CommandSet.h"
#include "commands/QVCommands.h"
#include "commands/WindowPorts.h"
#include "dialogs/untCoeff.h"
#include "dialogs/untDebg.h"
#include "dialogs/untExportPicture.h"
#include "windows/untHelpAbout.h"
#include "windows/untQVCtrl.h"
#include "windows/untQVView.h"

namespace {

// Creates a window, hands its port to the commands and gives the set the
// window with the way to take that port back, unless another set of windows
// has put its own there by then.
template <typename Window, typename Port, typename... Args>
void Create(ProgramWindows& windows, WindowRef<Window>& ref, Port*& port, Args&&... args)
{
    auto window = std::make_unique<Window>(std::forward<Args>(args)...);
    Window* created = window.get();
    ref.Set(created);
    port = created;
    windows.Adopt(std::move(window), [&port, created] {
        if (port == static_cast<Port*>(created))
            port = nullptr;
    });
}

}  // namespace

ProgramWindows::ProgramWindows() = default;

ProgramWindows::ProgramWindows(ProgramWindows&& other) noexcept { *this = std::move(other); }

ProgramWindows& ProgramWindows::operator=(ProgramWindows&& other) noexcept
{
    if (this != &other) {
        Release();
        static_cast<ProgramWindowRefs&>(*this) = std::exchange(static_cast<ProgramWindowRefs&>(other), {});
        commands = std::move(other.commands);
        owned_ = std::exchange(other.owned_, {});
    }
    return *this;
}

ProgramWindows::~ProgramWindows() { Release(); }

void ProgramWindows::Adopt(std::unique_ptr<QObject> window, std::function<void()> forgetPort)
{
    owned_.push_back(Owned{std::move(window), std::move(forgetPort)});
}

void ProgramWindows::Release()
{
    while (!owned_.empty()) {
        owned_.back().forgetPort();
        owned_.pop_back();
    }
    static_cast<ProgramWindowRefs&>(*this) = {};
    commands.reset();
}

void ProgramWindows::Show(bool withDiagnosticsButton)
{
    if (withDiagnosticsButton)
        control->ShowDiagnosticsButton();
    control->show();
}

ProgramWindows CreateProgramWindows()
{
    ProgramWindows windows;
    WindowPorts& ports = Ports();
    windows.commands = CreateCommandSet();
    Create(windows, windows.control, ports.control);
    const TfrmQVCtrl& control = *windows.control;
    Create(windows, windows.drawing, ports.drawing, control.FrameHeight());
    const int underControl = control.y() + control.height() + control.FrameHeight();
    Create(windows, windows.diagnostics, ports.diagnostics, QPoint(0, underControl), control.FrameHeight());
    Create(windows, windows.colorMapView, ports.colorMapView);
    Create(windows, windows.coefficients, ports.coefficients);
    Create(windows, windows.colorEditor, ports.colorEditor);
    Create(windows, windows.helpAbout, ports.versionWindow);
    Create(windows, windows.pixelInformation, ports.pixelInformation);
    Create(windows, windows.exportPicture, ports.exportPicture);
    return windows;
}
