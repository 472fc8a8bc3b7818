#pragma once
// The picture as a JPEG file: baseline JFIF, quality 90, three 8-bit components.

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
