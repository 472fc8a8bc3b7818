#include "colour/model/ColorMapFile.h"

#include <fstream>
#include <initializer_list>
#include <string_view>

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
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open())
        return ColorMapFileResult::OpenFailed;
    // Read into a scratch buffer: a short file must not leave half a map behind.
    ColorMapBytes bytes{};
    file.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
    if (file.gcount() != std::streamsize(bytes.size()))
        return ColorMapFileResult::ReadFailed;
    map = ColorMapOfBytes(bytes);
    return ColorMapFileResult::Done;
}
