#pragma once
// The program's commands. The tool bar, the menus and the popup of every
// window start them here, so no window reaches into another.

#include <QSize>
#include <array>
#include <memory>

#include "QVHost.h"

class QAction;
class QMenu;
class QWidget;
class TfrmDebg;
class TfrmQVCtrl;
class TfrmQVView;
class TfrmDisplay1;
class TfrmHelpAbout;
class TfrmSetCoeff;
class TfrmSetPalette;
class TfrmColorUser;

// The program's windows, created in their order, each completely before the
// next; destroyed in the reverse order.
struct ProgramWindows {
    ProgramWindows();
    ProgramWindows(ProgramWindows&&) noexcept;
    ProgramWindows& operator=(ProgramWindows&&) noexcept;
    ~ProgramWindows();

    std::unique_ptr<TfrmQVCtrl> control;
    std::unique_ptr<TfrmQVView> drawing;
    std::unique_ptr<TfrmDebg> diagnostics;
    std::unique_ptr<TfrmSetPalette> colourMapView;
    std::unique_ptr<TfrmSetCoeff> coefficients;
    std::unique_ptr<TfrmColorUser> colourEditor;
    std::unique_ptr<TfrmHelpAbout> helpAbout;
    std::unique_ptr<TfrmDisplay1> pixelInformation;
};

// Program start: the control window sets the start-up values, then the other
// windows follow. Only the control window is shown.
ProgramWindows CreateProgramWindows();

// The engine's start-up values, with the square picture the settings file,
// the screen size and the tallest drawing window give. Runs while the
// control window is created.
void SetStartupValues(QSize screen, int frameHeight);

// The whole view of a formula type 1..6: history reset, defaults, render,
// indicator.
void ShowWholeView(int type);
// Zooms into the rectangle selected in the drawing window.
void DrawSelectedRegion();
// Fits the drawing window to the current view and renders it again.
void RedrawView();
// A running render stops at its next column check.
void CancelRender();
void StepBack();
void StepForward();
// Fills currentColorMap from a built-in map code, or the band map for
// kBandColorMap, and recolours the picture.
inline constexpr int kBandColorMap = -1;
void ChooseColorMap(int presetCode);
// Inverts currentColorMap and recolours the picture.
void InvertCurrentColorMap();
// "カラーマップ確認と加工/設定": the user editor on a fresh copy of
// currentColorMap.
void OpenColorMapEditor();
// "ユーザ設定読み込み" and "ユーザ設定保存": the editor's colour-map file commands.
void LoadUserColorMapFile();
void SaveUserColorMapFile();
// The editor applied a map: "ユーザー設定" gets its check mark for good.
void MarkUserColorMapApplied();
// Repaints the picture from the iteration buffer with currentColorMap.
void RecolorCurrentPicture();
// Asks "本当に終了しますか"; on OK stops a running render and closes both
// windows, which ends the program.
void ConfirmAndExit(QWidget* asker);
// The control window is closing: a running render stops, the history is
// released, the settings file written and the event loop asked to end.
void EndProgram();

// Thumbnail of the whole view, scale values, marks cleared.
void RefreshIndicator();
// Erases the old cross marks and draws them at the centre of dpCurr.
void UpdateIndicatorMarks();

// Enables or disables a command wherever a window carries it.
void SetCommandsEnabled(QVCommand command, bool enabled);
// Refreshes the diagnostics grid from dpCurr, dpNext and the drawing
// window's picture.
void RefreshDiagnostics();

void ShowDrawingWindow();
void ShowControlWindow();
// "パレットコード表示": the pixel information window for the pixel under the
// drawing window's last right press, placed where the popup opened.
void ShowPixelInformation();
// "カラーパレット設定": the colour-map view shown, then drawn from currentColorMap.
void ShowColorMapView();
// "画像を名前をつけて保存": the picture of the current size as a JPEG file; a
// failure goes to the general error report.
void SavePicture();
// "ヘルプ": "Qorvix.html" of the current folder opened by the desktop, or
// the error box when it is not there.
void OpenHelpFile();
// "バージョン情報": the version-and-help window, modeless.
void ShowVersionWindow();
// "情報グリッド表示": the diagnostics grid and the drawing window shown,
// the latter without taking its size as the user's, and the diagnostics
// refresh switched on for good.
void ShowInfoGrid();
// "４次多項式/有理型の係数設定": the coefficient dialog, modeless.
void ShowCoefficientDialog();

// Adds the six whole-view entries, formula types 1 to 6 in order, to a
// formula menu, each with the caption and the name of that menu's item.
enum class FormulaMenu { Control, Drawing };
std::array<QAction*, 6> AddWholeViewEntries(QMenu* menu, FormulaMenu which);
