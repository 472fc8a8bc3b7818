#pragma once
// A picture of any size written to a file while the program goes on: the
// rows are rendered band by band on worker threads and streamed to the
// encoder, so memory stays small however large the picture; the file takes
// its place only when every row is written.

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <thread>

#include "engine/PictureRenderer.h"
#include "engine/Place.h"
#include "files/PictureFiles.h"

class PictureExport final : public QObject {
    Q_OBJECT
public:
    struct Outcome {
        bool written = false;
        bool cancelled = false;
        QString failure;  // the error box's text when neither
    };

    // Starts at once; `finished` comes on the user-interface thread once the
    // work has ended, unless the job is stopped or destroyed before.
    PictureExport(const PictureJob& job, const QString& path, const std::string& placeText,
                  std::function<void()> finished);
    // Stops the work and waits for it; nothing is left behind.
    ~PictureExport() override;

    // Stops the work and waits for it: how it ended. Cancelled, unless the
    // file was written (or failed) before the stop came.
    Outcome Stop();
    const QString& Path() const { return path_; }

    // Rows written so far, of the picture's height.
    int RowsDone() const { return rowsDone_; }
    int Rows() const { return job_.height; }
    // The time the rest will take at the pace so far; -1 while it cannot be told.
    int SecondsLeft() const;
    // The work stops within a band; the file is not written.
    void Cancel() { cancel_ = true; }

private:
    void Run(std::string path, std::string placeText);

    PictureJob job_;
    QString path_;
    std::function<void()> finished_;
    Outcome outcome_;  // the worker's, read once it has been joined
    std::atomic<int> rowsDone_{0};
    std::atomic<bool> cancel_{false};
    QElapsedTimer clock_;
    std::thread worker_;
};
