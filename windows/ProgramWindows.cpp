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
#include "windows/untHelpAbout.h"
#include "windows/untQVCtrl.h"
#include "windows/untQVView.h"

namespace {

// Takes a port back unless another set of windows has put its own there.
template <typename Port, typename Window>
void TakeBack(Port*& port, const std::unique_ptr<Window>& window)
{
    if (window && port == static_cast<Port*>(window.get()))
        port = nullptr;
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
    }
    return *this;
}

ProgramWindows::~ProgramWindows() { Release(); }

void ProgramWindows::Release()
{
    WindowPorts& ports = Ports();
    TakeBack(ports.pixelInformation, pixelInformation);
    pixelInformation.reset();
    if (helpAbout && ports.versionWindow == helpAbout.get())
        ports.versionWindow = nullptr;
    helpAbout.reset();
    TakeBack(ports.colorEditor, colorEditor);
    colorEditor.reset();
    TakeBack(ports.coefficients, coefficients);
    coefficients.reset();
    TakeBack(ports.colorMapView, colorMapView);
    colorMapView.reset();
    TakeBack(ports.diagnostics, diagnostics);
    diagnostics.reset();
    TakeBack(ports.drawing, drawing);
    drawing.reset();
    TakeBack(ports.control, control);
    control.reset();
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
    windows.control = std::make_unique<TfrmQVCtrl>();
    ports.control = windows.control.get();
    windows.drawing = std::make_unique<TfrmQVView>(windows.control->FrameHeight());
    ports.drawing = windows.drawing.get();
    const TfrmQVCtrl& control = *windows.control;
    const int underControl = control.y() + control.height() + control.FrameHeight();
    windows.diagnostics = std::make_unique<TfrmDebg>(QPoint(0, underControl), control.FrameHeight());
    ports.diagnostics = windows.diagnostics.get();
    windows.colorMapView = std::make_unique<TfrmSetPalette>();
    ports.colorMapView = windows.colorMapView.get();
    windows.coefficients = std::make_unique<TfrmSetCoeff>();
    ports.coefficients = windows.coefficients.get();
    windows.colorEditor = std::make_unique<TfrmColorUser>();
    ports.colorEditor = windows.colorEditor.get();
    windows.helpAbout = std::make_unique<TfrmHelpAbout>();
    ports.versionWindow = windows.helpAbout.get();
    windows.pixelInformation = std::make_unique<TfrmDisplay1>();
    ports.pixelInformation = windows.pixelInformation.get();
    return windows;
}
