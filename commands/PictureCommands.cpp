#include "commands/PictureCommands.h"

#include <QFile>
#include <QImage>
#include <QTimer>

#include "commands/CommandSet.h"
#include "commands/CommandSupport.h"
#include "commands/PictureExport.h"
#include "commands/WindowPorts.h"
#include "engine/EngineState.h"
#include "engine/Place.h"
#include "engine/PlaceView.h"
#include "platform/PictureSave.h"
#include "platform/QVApplication.h"
#include "platform/QVDialogs.h"

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
    job.coloring = ActiveDepth.coloring;
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
