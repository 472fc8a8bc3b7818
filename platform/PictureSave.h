#pragma once
// The picture on screen as a file: JPEG (baseline JFIF, quality 90, three
// 8-bit components) or PNG (lossless 8-bit RGB, carrying its place).

#include <QString>
#include <string>

#include "files/PictureFiles.h"

class QImage;

// Writes the picture to `path` as a whole: on any failure nothing is left
// behind and an existing file stays as it was. For a PNG, `text` goes under
// `key`. Returns the failure's description, empty on success.
QString SavePictureFile(const QImage& picture, const QString& path, PictureFormat format, const std::string& key = {},
                        const std::string& text = {});

// A picture file that could not be written: its full path and the reason.
QString PictureFailureText(const QString& path, const std::string& reason);
