#include "QVCommands.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include "ColorMap.h"
#include "EngineState.h"
#include "Formulas.h"
#include "JpegExport.h"
#include "Navigation.h"
#include "QVApplication.h"
#include "QVDialogs.h"
#include "QtHost.h"
#include "QtSupport.h"
#include "RenderDriver.h"
#include "StartupSettings.h"
#include "untCoeff.h"
#include "untDebg.h"
#include "untDisplay1.h"
#include "untHelpAbout.h"
#include "untQVCtrl.h"
#include "untColorUser.h"
#include "untQVView.h"
#include "untSetPalette.h"

ProgramWindows::ProgramWindows() = default;
ProgramWindows::ProgramWindows(ProgramWindows&&) noexcept = default;
ProgramWindows& ProgramWindows::operator=(ProgramWindows&&) noexcept = default;

ProgramWindows::~ProgramWindows()
{
    pixelInformation.reset();
    helpAbout.reset();
    colourEditor.reset();
    coefficients.reset();
    colourMapView.reset();
    diagnostics.reset();
    drawing.reset();
    control.reset();
}

ProgramWindows CreateProgramWindows()
{
    ProgramWindows windows;
    windows.control = std::make_unique<TfrmQVCtrl>();
    windows.drawing = std::make_unique<TfrmQVView>(windows.control->FrameHeight());
    const TfrmQVCtrl& control = *windows.control;
    const int underControl = control.y() + control.height() + control.FrameHeight();
    windows.diagnostics = std::make_unique<TfrmDebg>(QPoint(0, underControl), control.FrameHeight());
    windows.colourMapView = std::make_unique<TfrmSetPalette>();
    windows.coefficients = std::make_unique<TfrmSetCoeff>();
    windows.colourEditor = std::make_unique<TfrmColorUser>();
    windows.helpAbout = std::make_unique<TfrmHelpAbout>();
    windows.pixelInformation = std::make_unique<TfrmDisplay1>();
    return windows;
}

void SetStartupValues(QSize screen, int frameHeight)
{
    ResetEngineState();
    dpCurr.dinum = 1;
    int storedWidth = 0;
    int storedHeight = 0;
    ReadStoredPictureSize(storedWidth, storedHeight);
    const int side = StartupPictureSide(storedWidth, storedHeight, screen, frameHeight);
    dpCurr.diImgW = side;
    dpCurr.diImgH = side;
}

void ShowWholeView(int type)
{
    if (IsRendering || type < kFirstFormulaType || type > kLastFormulaType || !frmQVView)
        return;
    QVHost& host = WindowsHost();
    ResetHistory(host);
    frmQVView->SetTrackResize(false);
    BringToFront(frmQVView);
    SetUpWholeView(type);
    RenderView(host, dpCurr);
    frmQVView->SetTrackResize(true);
    RefreshIndicator();
}

void DrawSelectedRegion()
{
    if (frmQVView)
        frmQVView->ForgetRubberBand();
    if (IsRendering)
        return;
    const ZoomResult result = ComputeNextView();
    if (result == ZoomResult::NoSelection)
        return;
    if (result == ZoomResult::TooLarge) {
        Dialogs().ShowError(frmQVView, QStringLiteral("周囲計算致命的エラー"));
        return;
    }
    QVHost& host = WindowsHost();
    if (DebugMode)
        host.RefreshDiagnostics();
    ZoomHistoryStep(host);
    UpdateIndicatorMarks();
    EditedParams = ActiveParams;
    if (frmSetCoeff)
        frmSetCoeff->ShowParams();
    host.FitWindowToView(dpCurr);
    RenderView(host, dpCurr);
}

void RedrawView()
{
    if (!IsRendering)
        Redraw(WindowsHost());
}

void CancelRender() { CancelRequested = true; }

void StepBack()
{
    if (!IsRendering)
        GoBack(WindowsHost());
}

void StepForward()
{
    if (!IsRendering)
        GoForward(WindowsHost());
}

void ChooseColorMap(int presetCode)
{
    if (presetCode == kBandColorMap)
        FillBandColorMap(currentColorMap);
    else
        FillPresetColorMap(currentColorMap, presetCode);
    RecolorCurrentPicture();
}

void InvertCurrentColorMap()
{
    InvertColorMap(currentColorMap);
    RecolorCurrentPicture();
}

void OpenColorMapEditor()
{
    if (frmColorUser)
        frmColorUser->Open();
}

void LoadUserColorMapFile()
{
    if (frmColorUser)
        frmColorUser->GetUserFile();
}

void SaveUserColorMapFile()
{
    if (frmColorUser)
        frmColorUser->SaveUserFile();
}

void MarkUserColorMapApplied()
{
    if (frmQVCtrl)
        frmQVCtrl->MarkUserColorMap();
}

void RecolorCurrentPicture() { RecolorPicture(WindowsHost()); }

void ConfirmAndExit(QWidget* asker)
{
    if (!Dialogs().Confirm(asker, QStringLiteral("本当に終了しますか")))
        return;
    // A running render stops at its next column.
    CancelRequested = true;
    if (frmQVView)
        frmQVView->close();
    if (frmQVCtrl)
        frmQVCtrl->close();
}

void EndProgram()
{
    // A render running underneath stops at its next column; the windows stay
    // alive until it has returned, and the event loop then ends.
    CancelRequested = true;
    ClearHistoryStack(BackStack);
    ClearHistoryStack(ForwardStack);
    // A settings file that cannot be written is passed over: the program ends either way.
    WriteStoredPictureSize(dpCurr.diImgW, dpCurr.diImgH);
    if (frmQVView)
        frmQVView->hide();
    QCoreApplication::quit();
}

void RefreshIndicator()
{
    if (!frmQVCtrl || !frmQVView)
        return;
    const IndicatorSquare square = IndicatorSquareOf(dpCurr);
    const QRect source(square.left, square.top, square.right - square.left, square.bottom - square.top);
    const QImage picture = source.isEmpty() ? QImage() : frmQVView->Picture().copy(source);
    frmQVCtrl->ShowIndicator(picture, IndicatorScaleOf(dpCurr));
}

void UpdateIndicatorMarks()
{
    if (frmQVCtrl)
        frmQVCtrl->MoveCrossMarks(CrossMarksOf(dpCurr, WholeView, frmQVCtrl->IndicatorScaleShown()));
}

void SetCommandsEnabled(QVCommand command, bool enabled)
{
    if (frmQVCtrl)
        frmQVCtrl->SetCommandEnabled(command, enabled);
    if (frmQVView)
        frmQVView->SetCommandEnabled(command, enabled);
    if (frmDisplay1)
        frmDisplay1->SetCommandEnabled(command, enabled);
    if (frmColorUser)
        frmColorUser->SetCommandEnabled(command, enabled);
}

void RefreshDiagnostics()
{
    if (frmDebg && frmQVView)
        frmDebg->FillGrid(frmQVView->PictureControlWidth(), frmQVView->Picture().width());
}

void ShowDrawingWindow() { BringToFront(frmQVView); }

void ShowControlWindow() { BringToFront(frmQVCtrl); }

void ShowPixelInformation()
{
    if (!frmDisplay1 || !frmQVView)
        return;
    frmDisplay1->Inspect(frmQVView->InspectedPixel(), frmQVView->PopupPosition());
    BringToFront(frmDisplay1);
}

void ShowColorMapView()
{
    if (!frmSetPalette)
        return;
    BringToFront(frmSetPalette);
    frmSetPalette->DrawColorMap();
}

void SavePicture()
{
    if (IsRendering || !frmQVView)
        return;
    const QString path = Dialogs().GetSaveFileName(frmQVCtrl, QStringLiteral("Quorvex.jpg"),
                                                   QStringLiteral("Ｊｐｅｇ画像ファイル (*.jpg)"));
    if (path.isEmpty())
        return;
    // The picture's size as it is now; a window enlarged since the last
    // render exports its new size.
    const QImage picture = frmQVView->Picture().copy(0, 0, dpCurr.diImgW, dpCurr.diImgH);
    const QString failure = SaveJpegFile(picture, path);
    if (!failure.isEmpty())
        ReportUnhandledError(failure);
}

void OpenHelpFile()
{
    const QString name = QStringLiteral("Qorvix.html");
    // The current folder only, not the executable's.
    const QFileInfo help(QDir::current(), name);
    if (help.isFile())
        Dialogs().OpenWithShell(help.absoluteFilePath());
    else
        Dialogs().ShowErrorWithButton(frmQVCtrl, QStringLiteral("ヘルプファイルがありません:") + name,
                                      QStringLiteral("キャンセル"));
}

void ShowVersionWindow() { BringToFront(frmHelpAbout); }

void ShowInfoGrid()
{
    if (frmQVView)
        frmQVView->SetTrackResize(false);
    BringToFront(frmDebg);
    BringToFront(frmQVView);
    DebugMode = true;
    if (frmQVView)
        frmQVView->SetTrackResize(true);
}

void ShowCoefficientDialog() { BringToFront(frmSetCoeff); }

namespace {

struct WholeViewEntry {
    int type;
    const char* controlName;
    const char* controlCaption;
    const char* drawingName;
    const char* drawingCaption;
};

// The two formula menus name the rational function differently.
constexpr WholeViewEntry kWholeViewEntries[] = {
    {1, "pmiChangeZ2", "Ｚの２乗（マンデルブロ集合）", "pmiDrawZ2", "Ｚの２乗（マンデルブロ集合）(&2)"},
    {2, "pmiChangeZ3", "Ｚの３乗", "pmiDrawZ3", "Ｚの３乗(&3)"},
    {3, "pmiChangeZ4", "Ｚの４乗", "pmiDrawZ4", "Ｚの４乗(&4)"},
    {4, "pmiChageZ4Polynom", "Ｚの４次多項式", "pmiDrawZ4Poly", "Ｚの４次多項式"},
    {5, "pmiChangeZRatio", "Ｚの有理関数", "pmiDrawZRatio", "Ｚの有理型関数"},
    {6, "pmiChangeExpZ2", "謎の関数", "pmiDrawExpZ2", "謎の関数"},
};

}  // namespace

std::array<QAction*, 6> AddWholeViewEntries(QMenu* menu, FormulaMenu which)
{
    std::array<QAction*, 6> items{};
    for (size_t i = 0; i < items.size(); ++i) {
        const WholeViewEntry& entry = kWholeViewEntries[i];
        const bool control = which == FormulaMenu::Control;
        const int type = entry.type;
        QAction* item = menu->addAction(QString::fromUtf8(control ? entry.controlCaption : entry.drawingCaption), menu,
                                        [type] { ShowWholeView(type); });
        items[i] = Named(item, control ? entry.controlName : entry.drawingName);
    }
    return items;
}
