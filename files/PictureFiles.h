#pragma once
// Pictures written as JPEG or PNG files row by row, so that a picture of any
// size streams to the file without being held whole; the file is replaced
// whole or not at all. A PNG can carry a text under a key, read back without
// decoding the picture.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "files/WholeFiles.h"

enum class PictureFormat { Jpeg, Png };

inline constexpr int kJpegQuality = 90;

// The format a file name's extension names: ".png" (any case) is PNG,
// everything else JPEG.
PictureFormat PictureFormatOfName(const std::string& path);

// How a PNG's rows are filtered before they are compressed. A picture whose
// pixels are colour-map entries compresses smaller, and in about half the
// time, unfiltered; one of gradients (averaged samples, the smooth
// colouring) with the library's adaptive filters.
enum class PngRowFilter { Adaptive, None };

class PictureFileWriter {
public:
    // An 8-bit RGB picture; for a PNG, `text` goes under `key` (may be empty).
    PictureFileWriter(const std::string& path, PictureFormat format, int width, int height, const std::string& key = {},
                      const std::string& text = {}, PngRowFilter filter = PngRowFilter::Adaptive);
    ~PictureFileWriter();
    PictureFileWriter(const PictureFileWriter&) = delete;
    PictureFileWriter& operator=(const PictureFileWriter&) = delete;

    // Makes the new file beside the target and starts the picture.
    FileWriteResult Open(std::string& reason);
    // The next rows, 3 bytes a pixel, row after row; false once anything failed.
    bool WriteRows(const uint8_t* rgb, int rows);
    // Ends the picture and puts the file in place of the target.
    FileWriteResult Finish(std::string& reason);
    // The new file while it is written (see WholeFileWriter).
    const std::string& TemporaryPath() const { return file_.TemporaryPath(); }

    struct Encoder;

private:
    WholeFileWriter file_;
    PictureFormat format_;
    int width_;
    int height_;
    std::string key_;
    std::string text_;
    PngRowFilter filter_;
    std::unique_ptr<Encoder> encoder_;
    std::string failure_;
};

// The whole picture encoded in memory, rows bytesPerLine apart; false with
// the library's message when the encoder refuses it.
bool EncodePicture(PictureFormat format, const uint8_t* rgb, int width, int height, size_t bytesPerLine,
                   const std::string& key, const std::string& text, std::vector<uint8_t>& encoded, std::string& error);

// The size of the picture in a PNG file, from its header; false for a file
// that is no PNG.
bool ReadPngSize(const std::string& path, int& width, int& height);

// The text a PNG file holds under the key, from its chunks before the
// picture data; `reason` gets the system's description where the file cannot
// be read.
enum class PngTextResult { Found, OpenFailed, NotPng, NoText };
PngTextResult ReadPngText(const std::string& path, const std::string& key, std::string& text, std::string& reason);
