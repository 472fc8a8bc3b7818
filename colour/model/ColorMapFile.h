#pragma once
// The colour-map file: the 1024 bytes of one map, entry after entry, each as
// key flag, red, green, blue. No header, no trailer; any byte value is kept.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "colour/model/ColorMap.h"

inline constexpr size_t kColorMapFileSize = 1024;
using ColorMapBytes = std::array<uint8_t, kColorMapFileSize>;

ColorMapBytes BytesOfColorMap(const ColorMap& map);
ColorMap ColorMapOfBytes(const ColorMapBytes& bytes);

enum class ColorMapFileResult { Done, OpenFailed, CreateFailed, ReadFailed, WriteFailed };

// The error box's text for a load or save of path that failed; empty for Done.
std::string ColorMapFileMessage(ColorMapFileResult result, const std::string& path);

// Reads the first 1024 bytes of the file (a path in the system's
// file-name bytes) into map. A file that cannot be opened for reading or is
// not a regular file (OpenFailed), or holds fewer bytes (ReadFailed), leaves
// map as it was.
ColorMapFileResult ReadColorMapFile(const std::string& path, ColorMap& map);
