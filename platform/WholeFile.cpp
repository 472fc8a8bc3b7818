#include "platform/WholeFile.h"

#include <QSaveFile>

WholeFileResult WriteWholeFile(const QString& path, const char* data, qint64 size, QString& reason)
{
    QSaveFile file(path);
    // Unbuffered, so that every failed write reaches the save file and it
    // refuses to commit; a buffered flush that fails at commit time would
    // still put the incomplete file in place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        reason = file.errorString();
        return WholeFileResult::CreateFailed;
    }
    // Writing on after a short write makes the system's reason for
    // stopping the file's error.
    for (qint64 written = 0; written < size;) {
        const qint64 step = file.write(data + written, size - written);
        if (step <= 0) {
            reason = file.errorString();
            return WholeFileResult::WriteFailed;
        }
        written += step;
    }
    if (!file.commit()) {
        reason = file.errorString();
        return WholeFileResult::WriteFailed;
    }
    return WholeFileResult::Written;
}
