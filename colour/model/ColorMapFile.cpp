#include "colour/model/ColorMapFile.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "files/WholeFiles.h"

ColorMapBytes BytesOfColorMap(const ColorMap& map)
{
    ColorMapBytes bytes{};
    for (size_t i = 0; i < map.size(); ++i) {
        bytes[4 * i + 0] = map[i].keyFlag;
        bytes[4 * i + 1] = map[i].red;
        bytes[4 * i + 2] = map[i].green;
        bytes[4 * i + 3] = map[i].blue;
    }
    return bytes;
}

ColorMap ColorMapOfBytes(const ColorMapBytes& bytes)
{
    ColorMap map{};
    for (size_t i = 0; i < map.size(); ++i)
        map[i] = ColorMapEntry{bytes[4 * i + 0], bytes[4 * i + 1], bytes[4 * i + 2], bytes[4 * i + 3]};
    return map;
}

namespace {

// Appended piece by piece: g++ 12 at -O3 misreads "text" + string as an
// overlapping copy (-Wrestrict).
std::string Joined(std::initializer_list<std::string_view> parts)
{
    std::string text;
    for (const std::string_view part : parts)
        text.append(part);
    return text;
}

}  // namespace

std::string ColorMapFileMessage(ColorMapFileResult result, const std::string& path)
{
    const std::string size = std::to_string(kColorMapFileSize);
    switch (result) {
    case ColorMapFileResult::Done: return {};
    case ColorMapFileResult::OpenFailed: return Joined({"FileOpen Error:", path});
    case ColorMapFileResult::CreateFailed: return Joined({"FileCreate Error:", path});
    case ColorMapFileResult::ReadFailed: return Joined({"FileRead Error:", path, ",", size});
    case ColorMapFileResult::WriteFailed: return Joined({"FileWrite Error:", path, ",", size});
    }
    return {};
}

ColorMapFileResult ReadColorMapFile(const std::string& path, ColorMap& map)
{
    // Read into a scratch buffer: a short file must not leave half a map behind.
    std::vector<uint8_t> read;
    std::string reason;
    switch (ReadRegularFile(path, kColorMapFileSize, read, reason)) {
    case FileReadResult::OpenFailed: return ColorMapFileResult::OpenFailed;
    case FileReadResult::ReadFailed: return ColorMapFileResult::ReadFailed;
    case FileReadResult::Done: break;
    }
    if (read.size() != kColorMapFileSize)
        return ColorMapFileResult::ReadFailed;
    ColorMapBytes bytes{};
    std::copy(read.begin(), read.end(), bytes.begin());
    map = ColorMapOfBytes(bytes);
    return ColorMapFileResult::Done;
}
