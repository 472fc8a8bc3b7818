#include "commands/QVCommands.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

#include "commands/CommandSet.h"
#include "commands/PictureExport.h"
#include "commands/WindowPorts.h"
#include "commands/WindowsHostAdapter.h"
#include "engine/EngineState.h"
#include "engine/Formulas.h"
#include "engine/History.h"
#include "engine/Navigation.h"
#include "engine/Place.h"
#include "engine/RenderDriver.h"
#include "platform/PictureSave.h"
#include "platform/QVApplication.h"
#include "platform/QVDialogs.h"
#include "platform/QtSupport.h"
#include "platform/StartupSettings.h"

namespace {

std::string CurrentPlaceText() { return FormatPlace(PlaceOfCurrentView()); }

QWidget* WindowOf(ControlWindowPort* port) { return port ? port->Window() : nullptr; }
QWidget* WindowOf(DrawingWindowPort* port) { return port ? port->Window() : nullptr; }

void SetTrackResize(bool on)
{
    if (DrawingWindowPort* drawing = Ports().drawing)
        drawing->SetTrackResize(on);
}

// The steps of the wheel and the keys that wait to be taken, and a place
// pasted during a render, which opens once the render has returned.
std::vector<ViewStep> waitingSteps;
std::optional<Place> waitingPlace;
WheelSteps wheelSteps;
bool stepsScheduled = false;
// The waiting steps or place asked the render under way, or the last one, to stop.
bool stoppedForWaiting = false;

void ForgetWaitingSteps()
{
    waitingSteps.clear();
    waitingPlace.reset();
    wheelSteps.Clear();
    stepsScheduled = false;
    stoppedForWaiting = false;
}

// Every command that starts a render first ends a drag of the rubber band
// and forgets its rectangle: the new picture is painted over both.
void ForgetRubberBand()
{
    if (DrawingWindowPort* drawing = Ports().drawing)
        drawing->ForgetRubberBand();
}

// dpNext becomes the current view as after a zoom: history, indicator marks,
// the coefficients in use back in the dialog, window fitted, render. `left`
// goes into the history as the view being left; without intoHistory the
// next view takes the current view's place in the history.
void TakeNextView(bool intoHistory = true, const HistoryEntry& left = CurrentEntry())
{
    ForgetRubberBand();
    QVHost& host = WindowsHost();
    if (DebugMode)
        host.RefreshDiagnostics();
    if (intoHistory)
        ZoomHistoryStep(host, left);
    else
        dpCurr = dpNext;
    UpdateIndicatorMarks();
    EditedParams = ActiveParams;
    if (CoefficientDialogPort* coefficients = Ports().coefficients)
        coefficients->ShowParams();
    host.FitWindowToView(dpCurr);
    RenderView(host, dpCurr);
}

// How often steps that wait for a render look whether it has returned.
constexpr int kRenderReturnCheckMs = 10;

void ScheduleWaitingSteps(int delayMs);
void OpenPlace(const Place& place);

// The waiting steps lead from the view on screen, or the one being drawn, to another.
bool WaitingStepsLeadSomewhere()
{
    ViewRecord next;
    return ViewAfterSteps(dpCurr, ShownPictureSize(dpCurr), waitingSteps, next);
}

// A render under way stops at its next block for a waiting place, or for
// steps that will draw another view. Steps that came to nothing take back the
// stop they asked for: the render has not seen it while it still runs.
void StopRenderForWaiting()
{
    if (waitingPlace || WaitingStepsLeadSomewhere()) {
        CancelRequested = true;
        stoppedForWaiting = true;
    } else if (std::exchange(stoppedForWaiting, false)) {
        CancelRequested = false;
    }
}

bool ShowsWholeView()
{
    const ViewRecord& v = dpCurr;
    const ViewRecord& w = WholeView;
    return std::tie(v.diType, v.diImgW, v.diImgH, v.dwa, v.dwb, v.dwx, v.dwy, v.dwPitchX, v.dwPitchY) ==
           std::tie(w.diType, w.diImgW, w.diImgH, w.dwa, w.dwb, w.dwx, w.dwy, w.dwPitchX, w.dwPitchY);
}

// A render stopped for steps that then came to nothing is drawn again, at
// the size it had, or as a redraw at the size the window has taken since.
void DrawStoppedViewAgain()
{
    const RenderedArea stopped = LastRenderedArea;
    if (stopped.columns >= stopped.width)
        return;
    QVHost& host = WindowsHost();
    if (stopped.width == dpCurr.diImgW && stopped.rows == dpCurr.diImgH) {
        host.FitWindowToView(dpCurr);
        RenderView(host, dpCurr);
    } else {
        Redraw(host);
    }
    if (ShowsWholeView())
        RefreshIndicator();
}

void TakeWaitingSteps()
{
    stepsScheduled = false;
    bool sameStep = false;
    while (!waitingSteps.empty() || waitingPlace) {
        if (IsRendering) {
            StopRenderForWaiting();
            if (stoppedForWaiting)
                ScheduleWaitingSteps(kRenderReturnCheckMs);
            else
                waitingSteps.clear();  // they lead nowhere; the render goes on
            return;
        }
        const bool stopped = std::exchange(stoppedForWaiting, false);
        if (waitingPlace) {
            const Place place = *std::exchange(waitingPlace, std::nullopt);
            OpenPlace(place);
        } else {
            const std::vector<ViewStep> steps = std::exchange(waitingSteps, {});
            if (ViewAfterSteps(dpCurr, ShownPictureSize(dpCurr), steps, dpNext)) {
                if (sameStep)
                    dpNext.dinum = dpCurr.dinum;
                TakeNextView(!sameStep);
            } else if (stopped) {
                DrawStoppedViewAgain();
            }
        }
        // Steps that came while that view was drawn stopped its render: they
        // go on from it as one step of the history with it, so a wheel turned
        // fast is one zoom by the product of its steps.
        sameStep = !waitingSteps.empty();
    }
}

// The timer goes with the command set, so no step outlives the windows.
void ScheduleWaitingSteps(int delayMs)
{
    QVCommandSet* set = CurrentCommandSet();
    if (stepsScheduled || !set)
        return;
    stepsScheduled = true;
    QTimer::singleShot(delayMs, set, TakeWaitingSteps);
}

void AddWaitingStep(const ViewStep& step)
{
    AddViewStep(waitingSteps, step);
    if (IsRendering)
        StopRenderForWaiting();
    ScheduleWaitingSteps(0);
}

bool ViewStepsPossible() { return dpCurr.diType != 0 && Ports().drawing; }

const QString kPlaceFilter = QStringLiteral("場所ファイル (*.qvplace)");
// A PNG the program saved holds its place too.
const QString kPlaceOpenFilter = QStringLiteral("場所ファイル (*.qvplace *.png)");

QString NativePath(const QString& path) { return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()); }

// A blank indicator at a new whole view's scale: no picture of it has been drawn.
void ShowBlankIndicator()
{
    ControlWindowPort* control = Ports().control;
    if (!control)
        return;
    QImage blank(kIndicatorSize, kIndicatorSize, QImage::Format_RGB32);
    blank.fill(Qt::white);
    control->ShowIndicator(blank, IndicatorScaleOf(WholeView));
}

// A place read whole becomes the current view as after a zoom.
void OpenPlace(const Place& place)
{
    DrawingWindowPort* drawing = Ports().drawing;
    if (IsRendering || !drawing)
        return;
    // Steps still waiting were meant for the view being left.
    waitingSteps.clear();
    const HistoryEntry left = CurrentEntry();
    const PlaceChanges changes = SetUpPlace(place);
    if (changes.wholeView)
        ShowBlankIndicator();
    if (changes.colorMap)
        if (ControlWindowPort* control = Ports().control)
            control->MarkUserColorMap();
    // Sized before it is shown, so that no size the window passes through is
    // taken for the user's.
    drawing->FitWindowToView(dpNext);
    BringToFront(drawing->Window());
    TakeNextView(true, left);
}

bool PlacesCanOpen() { return !IsRendering && IsCommandEnabled(QVCommand::DrawAll); }
bool PlaceCanBeTaken() { return !IsRendering && dpCurr.diType != 0; }

}  // namespace

std::unique_ptr<QVCommandSet> CreateCommandSet()
{
    ForgetWaitingSteps();
    auto set = std::make_unique<QVCommandSet>();
    set->SetTrigger(QVCommand::DrawSelect, DrawSelectedRegion);
    set->SetTrigger(QVCommand::ReDraw, RedrawView);
    set->SetTrigger(QVCommand::Cancel, CancelRender);
    set->SetTrigger(QVCommand::Back, StepBack);
    set->SetTrigger(QVCommand::Forward, StepForward);
    set->SetTrigger(QVCommand::Save, SavePicture);
    set->SetTrigger(QVCommand::SavePlace, SavePlaceFile);
    return set;
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
    if (IsRendering || type < kFirstFormulaType || type > kLastFormulaType || !Ports().drawing)
        return;
    ForgetRubberBand();
    QVHost& host = WindowsHost();
    ResetHistory(host);
    SetTrackResize(false);
    BringToFront(Ports().drawing->Window());
    SetUpWholeView(type);
    RenderView(host, dpCurr);
    SetTrackResize(true);
    RefreshIndicator();
}

void SelectRegion(QPoint corner1, QPoint corner2)
{
    const bool selected = corner1.x() != corner2.x() && corner1.y() != corner2.y();
    if (selected)
        SetSelection(dpCurr, corner1.x(), corner1.y(), corner2.x(), corner2.y());
    EnableCommand(QVCommand::DrawSelect, selected);
    EnableCommand(QVCommand::ReDraw, !selected);
}

void DrawSelectedRegion()
{
    ForgetRubberBand();
    if (IsRendering)
        return;
    const ZoomResult result = ComputeNextView();
    if (result == ZoomResult::NoSelection)
        return;
    if (result == ZoomResult::TooLarge) {
        Dialogs().ShowError(WindowOf(Ports().drawing), QStringLiteral("周囲計算致命的エラー"));
        return;
    }
    TakeNextView();
}

void TurnWheel(QPoint pixel, int angleDelta)
{
    if (!ViewStepsPossible())
        return;
    const int steps = wheelSteps.Take(angleDelta);
    if (steps != 0)
        AddWaitingStep(ViewStep{steps, true, pixel.x(), pixel.y()});
}

void ZoomAboutCentre(int steps)
{
    if (ViewStepsPossible())
        AddWaitingStep(ViewStep{steps});
}

void MoveView(int right, int down)
{
    if (ViewStepsPossible())
        AddWaitingStep(ViewStep{0, false, 0, 0, right, down});
}

void ShowWholeViewOfCurrentFormula()
{
    if (IsCommandEnabled(QVCommand::DrawAll) && dpCurr.diType != 0)
        ShowWholeView(dpCurr.diType);
}

void SavePlaceFile()
{
    if (!PlaceCanBeTaken())
        return;
    QWidget* parent = WindowOf(Ports().control);
    const QString path = Dialogs().GetSaveFileName(parent, QStringLiteral("Quorvex.qvplace"), kPlaceFilter);
    if (path.isEmpty())
        return;
    std::string reason;
    if (!WritePlaceFile(QFile::encodeName(path).toStdString(), PlaceOfCurrentView(), reason))
        Dialogs().ShowError(parent, QStringLiteral("場所ファイルを保存できません:") + NativePath(path) +
                                        QStringLiteral("\n") + QString::fromLocal8Bit(reason.c_str()));
}

void OpenPlaceFile()
{
    if (!PlacesCanOpen())
        return;
    QWidget* parent = WindowOf(Ports().control);
    const QString path = Dialogs().GetOpenFileName(parent, kPlaceOpenFilter);
    if (path.isEmpty())
        return;
    Place place;
    std::string reason;
    if (!ReadPlaceFile(QFile::encodeName(path).toStdString(), place, reason)) {
        Dialogs().ShowError(parent, QStringLiteral("場所ファイルを開けません:") + NativePath(path) +
                                        QStringLiteral("\n") + QString::fromUtf8(reason));
        return;
    }
    OpenPlace(place);
}

// During a render: the place of the view being drawn.
void CopyPlace()
{
    if (dpCurr.diType != 0)
        Dialogs().SetClipboardText(QString::fromStdString(FormatPlace(PlaceOfCurrentView())));
}

// During a render the place is read at once; it stops the render and opens
// when the render has returned, as the steps of the wheel do.
void PastePlace()
{
    if (!PlacesCanOpen() && !IsRendering)
        return;
    const QByteArray text = Dialogs().ClipboardText().toUtf8();
    Place place;
    std::string reason;
    if (!ParsePlace(std::string_view(text.constData(), size_t(text.size())), place, reason)) {
        Dialogs().ShowError(WindowOf(Ports().drawing),
                            QStringLiteral("クリップボードの場所を開けません\n") + QString::fromUtf8(reason));
        return;
    }
    if (!IsRendering) {
        OpenPlace(place);
        return;
    }
    waitingPlace = place;
    StopRenderForWaiting();
    ScheduleWaitingSteps(0);
}

void RedrawView()
{
    if (IsRendering)
        return;
    ForgetRubberBand();
    Redraw(WindowsHost());
}

// The user's stop is not taken back by steps that come to nothing.
void CancelRender()
{
    CancelRequested = true;
    stoppedForWaiting = false;
}

void StepBack()
{
    if (IsRendering)
        return;
    if (!BackStack.empty())
        ForgetRubberBand();
    GoBack(WindowsHost());
}

void StepForward()
{
    if (IsRendering)
        return;
    if (!ForwardStack.empty())
        ForgetRubberBand();
    GoForward(WindowsHost());
}

void TakeDrawingWindowSize(QSize outer, int frameHeight)
{
    TakeWindowSize(dpCurr, outer.width(), outer.height(), frameHeight);
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

void ApplyColorMap(const ColorMap& map)
{
    SetCurrentColorMap(map);
    RecolorCurrentPicture();
}

void ApplyUserColorMap(const ColorMap& map)
{
    SetCurrentColorMap(map);
    if (ControlWindowPort* control = Ports().control)
        control->MarkUserColorMap();
    RecolorCurrentPicture();
}

void OpenColorMapEditor()
{
    if (ColorEditorPort* editor = Ports().colorEditor)
        editor->Open();
}

void LoadUserColorMapFile()
{
    if (ColorEditorPort* editor = Ports().colorEditor)
        editor->GetUserFile();
}

void SaveUserColorMapFile()
{
    if (ColorEditorPort* editor = Ports().colorEditor)
        editor->SaveUserFile();
}

void RecolorCurrentPicture() { RecolorPicture(WindowsHost()); }

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

void RefreshIndicator()
{
    ControlWindowPort* control = Ports().control;
    DrawingWindowPort* drawing = Ports().drawing;
    if (!control || !drawing)
        return;
    const IndicatorSquare square = IndicatorSquareOf(dpCurr);
    const QRect source(square.left, square.top, square.right - square.left, square.bottom - square.top);
    const QImage picture = source.isEmpty() ? QImage() : drawing->Picture().copy(source);
    control->ShowIndicator(picture, IndicatorScaleOf(dpCurr));
}

void UpdateIndicatorMarks()
{
    if (ControlWindowPort* control = Ports().control)
        control->MoveCrossMarks(CrossMarksOf(dpCurr, WholeView, control->IndicatorScaleShown()));
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

void SavePicture()
{
    DrawingWindowPort* drawing = Ports().drawing;
    if (IsRendering || !drawing)
        return;
    const QString path = Dialogs().GetSaveFileName(WindowOf(Ports().control), QStringLiteral("Quorvex.jpg"),
                                                   QStringLiteral("Ｊｐｅｇ画像ファイル (*.jpg);;ＰＮＧ画像ファイル (*.png)"));
    if (path.isEmpty())
        return;
    // The picture's size as it is now; a window enlarged since the last
    // render exports its new size.
    const QImage picture = drawing->Picture().copy(0, 0, dpCurr.diImgW, dpCurr.diImgH);
    const QString failure = SavePictureFile(picture, path, PictureFormatOfName(QFile::encodeName(path).toStdString()),
                                            kPlacePngKey, CurrentPlaceText());
    if (!failure.isEmpty())
        ReportUnhandledError(failure);
}

namespace {

std::unique_ptr<PictureExport> runningExport;

PictureJob CurrentPictureJob(QSize size, int samples)
{
    PictureJob job;
    job.region = RegionOfPlace(PlaceOfCurrentView());
    job.width = size.width();
    job.height = size.height();
    job.samples = samples;
    job.colors = currentColorMap;
    return job;
}

// The export window hears how the job ended; a failure gets its error box.
void TellExportEnded(const PictureExport::Outcome& outcome, const QString& path)
{
    ExportPicturePort* window = Ports().exportPicture;
    const ExportEnd end = outcome.written     ? ExportEnd::Written
                          : outcome.cancelled ? ExportEnd::Cancelled
                                              : ExportEnd::Failed;
    if (window)
        window->ExportEnded(end, path);
    if (end == ExportEnd::Failed)
        Dialogs().ShowError(window ? window->Window() : WindowOf(Ports().control), outcome.failure);
}

// The job's own call on the event loop: it is deleted once that call has
// returned, and a new export may start at once.
void ExportFinished()
{
    if (!runningExport)
        return;
    PictureExport* job = runningExport.release();
    const PictureExport::Outcome outcome = job->Stop();
    job->deleteLater();
    TellExportEnded(outcome, job->Path());
}

void FollowExport(PictureExport* job)
{
    auto* timer = new QTimer(job);
    QObject::connect(timer, &QTimer::timeout, job, [job] {
        // An ended job waiting to be deleted has told its end already.
        if (runningExport.get() != job)
            return;
        if (ExportPicturePort* window = Ports().exportPicture)
            window->ShowProgress(job->RowsDone(), job->Rows(), job->SecondsLeft());
    });
    timer->start(200);
}

}  // namespace

void ExportPictureAtSize()
{
    const QSize shown = ExportablePictureSize();
    if (shown.isEmpty())
        return;
    if (ExportPicturePort* window = Ports().exportPicture)
        window->Open(shown);
}

bool StartPictureExport(QSize size, int samples)
{
    if (runningExport || ExportablePictureSize().isEmpty())
        return false;
    ExportPicturePort* window = Ports().exportPicture;
    const QString path = Dialogs().GetSaveFileName(window ? window->Window() : nullptr, QStringLiteral("Quorvex.png"),
                                                   QStringLiteral("ＰＮＧ画像ファイル (*.png);;Ｊｐｅｇ画像ファイル (*.jpg)"));
    if (path.isEmpty())
        return false;
    runningExport = std::make_unique<PictureExport>(CurrentPictureJob(size, samples), path, CurrentPlaceText(),
                                                    ExportFinished);
    FollowExport(runningExport.get());
    return true;
}

void CancelPictureExport()
{
    if (!runningExport)
        return;
    // Destroyed here, the job's own call to ExportFinished never comes.
    const std::unique_ptr<PictureExport> job = std::move(runningExport);
    TellExportEnded(job->Stop(), job->Path());
}

bool IsExportingPicture() { return bool(runningExport); }

QSize ExportablePictureSize()
{
    // Saving the place is off while a picture is drawn, and on from the
    // moment it is done.
    if (!IsCommandEnabled(QVCommand::SavePlace) || dpCurr.diType == 0 || !dpCurr.dbOK)
        return QSize();
    const PictureSize shown = ShownPictureSize(dpCurr);
    return QSize(shown.width, shown.height);
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

void AddWholeViewEntries(QMenu* menu, FormulaMenu which)
{
    const bool control = which == FormulaMenu::Control;
    for (const FormulaRecord& formula : FormulaTable()) {
        const int type = formula.type;
        QAction* item = menu->addAction(QString::fromUtf8(control ? formula.controlCaption : formula.drawingCaption),
                                        menu, [type] { ShowWholeView(type); });
        Named(item, control ? formula.controlName : formula.drawingName);
    }
}
