#include "commands/PictureExport.h"

#include <QFile>
#include <QMetaObject>

#include "engine/PictureBands.h"
#include "platform/PictureSave.h"

PictureExport::PictureExport(const PictureJob& job, const QString& path, const std::string& placeText,
                             std::function<void()> finished)
    : job_(job), path_(path), finished_(std::move(finished))
{
    clock_.start();
    worker_ = std::thread(&PictureExport::Run, this, QFile::encodeName(path).toStdString(), placeText);
}

int PictureExport::SecondsLeft() const
{
    const int done = rowsDone_;
    const qint64 ms = clock_.elapsed();
    return done > 0 && ms > 500 ? int(ms * (job_.height - done) / done / 1000) : -1;
}

PictureExport::~PictureExport() { Stop(); }

PictureExport::Outcome PictureExport::Stop()
{
    cancel_ = true;
    if (worker_.joinable())
        worker_.join();
    return outcome_;
}

void PictureExport::Run(std::string path, std::string placeText)
{
    Outcome outcome;
    {
        std::string reason;
        PictureFileWriter file(path, PictureFormatOfName(path), job_.width, job_.height, kPlacePngKey, placeText,
                               PngRowFilterOf(job_));
        if (file.Open(reason) != FileWriteResult::Written) {
            outcome.failure = PictureFailureText(path_, reason);
        } else {
            RenderPictureRows(job_, 0, job_.height, cancel_, [&](const uint8_t* rgb, int rows) {
                if (!file.WriteRows(rgb, rows))
                    return false;
                rowsDone_ += rows;
                return true;
            });
            if (cancel_)
                outcome.cancelled = true;
            else if (file.Finish(reason) == FileWriteResult::Written)
                outcome.written = true;
            else
                outcome.failure = PictureFailureText(path_, reason);
        }
    }
    // The new file is in place, or gone, before anyone hears of it.
    outcome_ = outcome;
    QMetaObject::invokeMethod(this, [this] { finished_(); }, Qt::QueuedConnection);
}
