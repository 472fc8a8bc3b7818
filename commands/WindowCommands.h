#pragma once
// The commands that show windows and help, and those that end the program.

#include <QString>
#include <QStringList>

class QWidget;

// Asks "本当に終了しますか"; on OK stops a running render and closes both
// windows, which ends the program.
void ConfirmAndExit(QWidget* asker);
// The control window is closing: a running render stops, the history is
// released, the settings file written and the event loop asked to end.
void EndProgram();
// Closes the control window without asking, which ends the program: what a
// request from the system to end does.
void CloseProgram();

void ShowDrawingWindow();
void ShowControlWindow();
// "パレットコード表示": the pixel information window for the pixel under the
// drawing window's last right press, placed where the popup opened.
void ShowPixelInformation();
// "カラーパレット設定": the colour-map view shown, then drawn from currentColorMap.
void ShowColorMapView();
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
