#pragma once
// The picture on screen as a file: JPEG (baseline JFIF, quality 90, three
// 8-bit components) or PNG (lossless 8-bit RGB, carrying the place).

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "files/PictureFiles.h"

class QImage;

// Encodes width x height pixels of 8-bit red, green, blue, rows top to bottom
// bytesPerLine apart. False with the library's message in `error` when the
// encoder refuses the picture.
bool EncodeJpeg(const uint8_t* rgb, int width, int height, int bytesPerLine, std::vector<uint8_t>& jpeg,
                std::string& error);

// Writes the picture to `path` in one step: on any failure nothing is left
// behind and an existing file stays as it was. Returns the failure's
// description with the full path and the system's reason, empty on success.
QString SaveJpegFile(const QImage& picture, const QString& path);
// The same as PNG, with `text` under `key` (its place).
QString SavePngFile(const QImage& picture, const QString& path, const std::string& key, const std::string& text);
