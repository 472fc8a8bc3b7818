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

// Creates a window and hands its port to the commands.
template <typename Window, typename Port, typename... Args>
void Create(std::unique_ptr<Window>& window, Port*& port, Args&&... args)
{
    window = std::make_unique<Window>(std::forward<Args>(args)...);
    port = window.get();
}

// Takes a window's port back, unless another set of windows has put its
// own there, and destroys the window.
template <typename Window, typename Port>
void Destroy(std::unique_ptr<Window>& window, Port*& port)
{
    if (window && port == static_cast<Port*>(window.get()))
        port = nullptr;
    window.reset();
}

}  // namespace

ProgramWindows::ProgramWindows() = default;

ProgramWindows::ProgramWindows(ProgramWindows&& other) noexcept { *this = std::move(other); }

ProgramWindows& ProgramWindows::operator=(ProgramWindows&& other) noexcept
{
    if (this != &other) {
        Release();
        commands = std::move(other.commands);
        control = std::move(other.control);
        drawing = std::move(other.drawing);
        diagnostics = std::move(other.diagnostics);
        colorMapView = std::move(other.colorMapView);
        coefficients = std::move(other.coefficients);
        colorEditor = std::move(other.colorEditor);
        helpAbout = std::move(other.helpAbout);
        pixelInformation = std::move(other.pixelInformation);
        exportPicture = std::move(other.exportPicture);
    }
    return *this;
}

ProgramWindows::~ProgramWindows() { Release(); }

void ProgramWindows::Release()
{
    WindowPorts& ports = Ports();
    Destroy(exportPicture, ports.exportPicture);
    Destroy(pixelInformation, ports.pixelInformation);
    Destroy(helpAbout, ports.versionWindow);
    Destroy(colorEditor, ports.colorEditor);
    Destroy(coefficients, ports.coefficients);
    Destroy(colorMapView, ports.colorMapView);
    Destroy(diagnostics, ports.diagnostics);
    Destroy(drawing, ports.drawing);
    Destroy(control, ports.control);
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
    Create(windows.control, ports.control);
    const TfrmQVCtrl& control = *windows.control;
    Create(windows.drawing, ports.drawing, control.FrameHeight());
    const int underControl = control.y() + control.height() + control.FrameHeight();
    Create(windows.diagnostics, ports.diagnostics, QPoint(0, underControl), control.FrameHeight());
    Create(windows.colorMapView, ports.colorMapView);
    Create(windows.coefficients, ports.coefficients);
    Create(windows.colorEditor, ports.colorEditor);
    Create(windows.helpAbout, ports.versionWindow);
    Create(windows.pixelInformation, ports.pixelInformation);
    Create(windows.exportPicture, ports.exportPicture);
    return windows;
}
