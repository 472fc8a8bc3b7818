#include "commands/WindowCommands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QWidget>
#include <cstdio>

#include "commands/CommandSupport.h"
#include "commands/PictureCommands.h"
#include "commands/ViewSteps.h"
#include "commands/WindowPorts.h"
#include "engine/EngineState.h"
#include "engine/History.h"
#include "platform/QVDialogs.h"
#include "platform/QtSupport.h"
#include "platform/StartupSettings.h"

void ConfirmAndExit(QWidget* asker)
{
    if (!Dialogs().Confirm(asker, QStringLiteral("本当に終了しますか")))
        return;
    // A running render stops at its next column.
    CancelRequested = true;
    if (QWidget* drawing = WindowOf(Ports().drawing))
        drawing->close();
    if (QWidget* control = WindowOf(Ports().control))
        control->close();
}

void EndProgram()
{
    // A render running underneath stops at its next column; the windows stay
    // alive until it has returned, and the event loop then ends.
    CancelRequested = true;
    CancelPictureExport();
    ForgetWaitingSteps();
    ClearHistoryStack(BackStack);
    ClearHistoryStack(ForwardStack);
    // The program ends either way; where no settings file can be written, it
    // says so once, on the terminal it may have been started from.
    if (!WriteStoredPictureSize(dpCurr.diImgW, dpCurr.diImgH))
        std::fprintf(stderr, "Qorvix: the picture size is not kept: %s cannot be written\n",
                     QFile::encodeName(QDir::toNativeSeparators(SettingsFilePath())).constData());
    if (QWidget* drawing = WindowOf(Ports().drawing))
        drawing->hide();
    QCoreApplication::quit();
}

void CloseProgram()
{
    if (QWidget* control = WindowOf(Ports().control))
        control->close();
    else
        QCoreApplication::quit();
}

void ShowDrawingWindow() { BringToFront(WindowOf(Ports().drawing)); }

void ShowControlWindow() { BringToFront(WindowOf(Ports().control)); }

void ShowPixelInformation()
{
    PixelInformationPort* information = Ports().pixelInformation;
    DrawingWindowPort* drawing = Ports().drawing;
    if (!information || !drawing)
        return;
    information->Inspect(drawing->InspectedPixel(), drawing->PopupPosition());
    BringToFront(information->Window());
}

void ShowColorMapView()
{
    ColorMapViewPort* view = Ports().colorMapView;
    if (!view)
        return;
    BringToFront(view->Window());
    view->DrawColorMap();
}

QStringList HelpFoldersFor(const QString& currentFolder, const QString& executableFolder,
                           const QStringList& dataFolders)
{
    const QString own = QLatin1Char('/') + QLatin1String(kProgramFolder);
    QStringList folders{currentFolder, QDir::cleanPath(executableFolder + QStringLiteral("/../share") + own)};
    for (const QString& data : dataFolders)
        folders << QDir::cleanPath(data + own);
    folders.removeDuplicates();
    return folders;
}

QStringList HelpFolders()
{
    return HelpFoldersFor(QDir::currentPath(), QCoreApplication::applicationDirPath(),
                          QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation));
}

QString FindHelpFile(const QStringList& folders)
{
    for (const QString& folder : folders) {
        const QFileInfo help(QDir(folder).filePath(QLatin1String(kHelpFileName)));
        if (help.isFile())
            return help.absoluteFilePath();
    }
    return QString();
}

void OpenHelpFile()
{
    const QString help = FindHelpFile(HelpFolders());
    if (help.isEmpty()) {
        Dialogs().ShowErrorWithButton(WindowOf(Ports().control),
                                      QStringLiteral("ヘルプファイルがありません:") + QLatin1String(kHelpFileName),
                                      QStringLiteral("キャンセル"));
        return;
    }
    // Where the desktop cannot open it (no xdg-open, or no browser behind
    // it), the program shows it itself.
    const auto showInProgram = [help] {
        if (!Dialogs().ShowDocument(help))
            Dialogs().ShowError(WindowOf(Ports().control),
                                QStringLiteral("ヘルプファイルを開けません:") + QDir::toNativeSeparators(help));
    };
    if (!Dialogs().OpenWithShell(help, showInProgram))
        showInProgram();
}

void ShowVersionWindow() { BringToFront(Ports().versionWindow); }

void ShowInfoGrid()
{
    SetTrackResize(false);
    if (DiagnosticsWindowPort* diagnostics = Ports().diagnostics)
        BringToFront(diagnostics->Window());
    BringToFront(WindowOf(Ports().drawing));
    DebugMode = true;
    SetTrackResize(true);
}

void ShowCoefficientDialog()
{
    if (CoefficientDialogPort* coefficients = Ports().coefficients)
        BringToFront(coefficients->Window());
}
