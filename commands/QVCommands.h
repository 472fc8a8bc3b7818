#pragma once
// The program's commands. The tool bar, the menus and the popup of every
// window start them here; they reach the windows only through the ports
// ProgramWindows hands over (commands/WindowPorts.h).

#include <QPoint>
#include <QSize>
#include <QStringList>
#include <memory>

#include "colour/model/ColorMap.h"
#include "engine/QVHost.h"

class QMenu;
class QWidget;
class QVCommandSet;

// The command set with every command's trigger: the start of the program.
std::unique_ptr<QVCommandSet> CreateCommandSet();

// The engine's start-up values, with the square picture the settings file,
// the screen size and the tallest drawing window give. Runs while the
// control window is created.
void SetStartupValues(QSize screen, int frameHeight);

// The whole view of a formula type 1..6: history reset, defaults, render,
// indicator.
void ShowWholeView(int type);
// The rectangle between two corners of the drawing window's picture becomes
// the selection: "選択領域描画" on and "再描画" off. A rectangle without
// width or height selects nothing and does the opposite.
void SelectRegion(QPoint corner1, QPoint corner2);
// Zooms into the rectangle selected in the drawing window.
void DrawSelectedRegion();
// The steps of the wheel and the keys wait for the next turn of the event
// loop, or stop a render under way and wait for it to return; the steps that
// came meanwhile are then taken as one view step from the view on screen, into
// the history like a zoom into a selection. Nothing before the first picture.
// A turn of the wheel over pixel (x, y) of the picture: each whole step of
// 120 zooms in (forward) or out by 2 about that pixel, which keeps its point.
void TurnWheel(QPoint pixel, int angleDelta);
// "+" and "-": zooms in (steps > 0) or out by 2 a step about the centre.
void ZoomAboutCentre(int steps);
// The arrow keys: the view moved right and down by quarters of the picture.
void MoveView(int right, int down);
// Home: the whole view of the formula shown, where "全景描画" is enabled.
void ShowWholeViewOfCurrentFormula();

// "場所を保存…" and "場所を開く…": the place of the picture on screen to a
// .qvplace file, and a place file opened as a view step. "場所をコピー" and
// the paste key do the same through the clipboard's text. A bad place is
// refused with an error box naming it and its fault, and changes nothing.
void SavePlaceFile();
void OpenPlaceFile();
void CopyPlace();
void PastePlace();

// Fits the drawing window to the current view and renders it again.
void RedrawView();
// A running render stops at its next column check.
void CancelRender();
void StepBack();
void StepForward();
// The drawing window took a size of the user's: the next picture's size.
void TakeDrawingWindowSize(QSize outer, int frameHeight);

// Fills currentColorMap from a built-in map code, or the band map for
// kBandColorMap, and recolours the picture.
inline constexpr int kBandColorMap = -1;
void ChooseColorMap(int presetCode);
// Inverts currentColorMap and recolours the picture.
void InvertCurrentColorMap();
// A map from the editor or a colour-map file becomes currentColorMap and the
// picture is recoloured.
void ApplyColorMap(const ColorMap& map);
// "更新": the editor's map applied, and "ユーザー設定" checked for good.
void ApplyUserColorMap(const ColorMap& map);
// "カラーマップ確認と加工/設定": the user editor on a fresh copy of
// currentColorMap.
void OpenColorMapEditor();
// "ユーザ設定読み込み" and "ユーザ設定保存": the editor's colour-map file commands.
void LoadUserColorMapFile();
void SaveUserColorMapFile();
// Repaints the picture from the iteration buffer with currentColorMap.
void RecolorCurrentPicture();

// Asks "本当に終了しますか"; on OK stops a running render and closes both
// windows, which ends the program.
void ConfirmAndExit(QWidget* asker);
// The control window is closing: a running render stops, the history is
// released, the settings file written and the event loop asked to end.
void EndProgram();
// Closes the control window without asking, which ends the program: what a
// request from the system to end does.
void CloseProgram();

// Thumbnail of the whole view, scale values, marks cleared.
void RefreshIndicator();
// Erases the old cross marks and draws them at the centre of dpCurr.
void UpdateIndicatorMarks();

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
// "大きさを指定して保存…": the export window, offering the size of the
// picture on screen.
void ExportPictureAtSize();
// Asks for the file, then writes the current view's region at the size with
// n x n samples a pixel, off screen while the program goes on. False when
// there is nothing to write or the user cancelled the file dialog.
bool StartPictureExport(QSize size, int samples);
// Stops a running export, and the export window hears how it ended: nothing
// is written, unless the file was in place before the stop came.
void CancelPictureExport();
bool IsExportingPicture();
// The size of the picture on screen, which an export offers; empty before the
// first picture and while one is drawn.
QSize ExportablePictureSize();
// The help file and the folders it is looked for in, in order: the current
// folder, the installation's own data folder (prefix/share/quorvex beside
// prefix/bin), then "quorvex" in each shared data folder
// (~/.local/share, /usr/local/share, /usr/share).
inline constexpr char kHelpFileName[] = "Qorvix.html";
QStringList HelpFoldersFor(const QString& currentFolder, const QString& executableFolder,
                           const QStringList& dataFolders);
QStringList HelpFolders();
// The help file in the first folder that holds one; empty when none does.
QString FindHelpFile(const QStringList& folders);
// "ヘルプ": the help file opened by the desktop, else shown in the program's
// own viewer; the error box when there is none or it cannot be read.
void OpenHelpFile();
// "バージョン情報": the version-and-help window, modeless.
void ShowVersionWindow();
// "情報グリッド表示": the diagnostics grid and the drawing window shown,
// the latter without taking its size as the user's, and the diagnostics
// refresh switched on for good.
void ShowInfoGrid();
// "４次多項式/有理型の係数設定": the coefficient dialog, modeless.
void ShowCoefficientDialog();

// Adds a whole-view entry for each formula of the table, in its order, to a
// formula menu, each with the caption and the name of that menu's item.
enum class FormulaMenu { Control, Drawing };
void AddWholeViewEntries(QMenu* menu, FormulaMenu which);
