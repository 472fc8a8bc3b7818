#pragma once
// Files that are replaced whole or not at all.

#include <QString>

enum class WholeFileResult { Written, CreateFailed, WriteFailed };

// Writes `size` bytes as the new content of `path` through a temporary file
// that takes the old one's place only once every byte is written: on any
// failure nothing is left behind and an existing file stays as it was.
// `reason` receives the system's description of a failure.
WholeFileResult WriteWholeFile(const QString& path, const char* data, qint64 size, QString& reason);
