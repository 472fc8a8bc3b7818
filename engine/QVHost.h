#pragma once
// Everything the engine needs of the windows. The windows implement it; tests
// use a recording fake.

#include <cstdint>
#include <string>

struct ViewRecord;

// The commands whose enabled state follows the render and the selection. The
// windows decide which tool buttons and menu items carry each of them.
enum class QVCommand {
    DrawAll,     // the whole-view formula menus
    DrawSelect,  // zoom into the selected rectangle
    ReDraw,
    Cancel,
    Back,
    Forward,
    ColorMaps,  // the colour-map submenu
    Save,        // picture export
    SavePlace,   // saving or copying the place of the picture
};
inline constexpr int kQVCommandCount = int(QVCommand::SavePlace) + 1;

// What the read-outs show, and the full value behind each rounded one.
struct ViewReadouts {
    std::string centerX;
    std::string centerY;
    std::string areaX;
    std::string areaY;
    std::string scale;
    std::string drawNest;
    std::string drawNestTotal;
    std::string centerXFull;
    std::string centerYFull;
    std::string areaXFull;
    std::string areaYFull;
    std::string scaleFull;
    // A Julia view's c as JuliaPointCaption writes it; empty on the formula's own plane.
    std::string julia;
};

class QVHost {
public:
    virtual ~QVHost() = default;

    // Fills the picture from (0, 0) to (width, height) with the button-face colour.
    virtual void FillPictureBackground(int width, int height) = 0;
    // The finished selection rectangle is painted over and no longer counts as shown.
    virtual void ForgetSelectionMark() = 0;
    // Paints rows 0..height-1 of column x; colours are colour words.
    virtual void PaintColumn(int x, const uint32_t* colorWords, int height) = 0;
    // The columns painted since the last call are complete: a host that
    // gathers them may write them out now. Comes after every block of
    // columns, before anything else is asked of the host.
    virtual void ColumnsComplete() {}
    // Handles everything queued for the user interface and returns.
    virtual void ProcessPendingMessages() = 0;
    // The same while a render waits for its workers between two blocks.
    virtual void ProcessMessagesWhileWaiting() { ProcessPendingMessages(); }

    virtual void ShowReadouts(const ViewReadouts& readouts) = 0;
    // Progress bar: minimum 0, the given maximum, step 1, position 0.
    virtual void ResetProgress(int maximum) = 0;
    virtual void StepProgress() = 0;

    virtual void SetCommandEnabled(QVCommand command, bool enabled) = 0;
    // Refreshes the diagnostics grid.
    virtual void RefreshDiagnostics() = 0;
    // Sizes the drawing window to the view's picture and writes diWinW/diWinH.
    virtual void FitWindowToView(ViewRecord& view) = 0;
    // The coefficients in use changed with the view shown and were copied
    // into EditedParams: the coefficient dialog shows them.
    virtual void ShowEditedParams() {}
    // The limit or colouring in force may have changed, with the view shown
    // or the automatic limit's choice after a render: the menus show them.
    virtual void ShowPictureDepth() {}
};
