#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "colour/model/ColorMapFile.h"

namespace {

namespace fs = std::filesystem;

// Every byte of the map different, key flags 0..255 included.
ColorMap TellingMap()
{
    ColorMap map{};
    for (int i = 0; i < 256; ++i)
        map[i] = ColorMapEntry{uint8_t(255 - i), uint8_t(i), uint8_t(i * 7 + 1), uint8_t(i * 13 + 2)};
    return map;
}

bool Same(const ColorMap& a, const ColorMap& b) { return BytesOfColorMap(a) == BytesOfColorMap(b); }

class ColorMapFileTest : public ::testing::Test {
protected:
    fs::path folder;

    void SetUp() override
    {
        folder = fs::temp_directory_path() / ("colormapfile-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string WriteBytes(const char* name, const std::vector<uint8_t>& bytes)
    {
        const fs::path path = folder / name;
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return path.string();
    }

    std::vector<uint8_t> FileBytesOf(const ColorMap& map, size_t length)
    {
        const ColorMapBytes bytes = BytesOfColorMap(map);
        std::vector<uint8_t> file(length, 0xEE);
        std::copy_n(bytes.begin(), std::min(length, bytes.size()), file.begin());
        return file;
    }
};

}  // namespace

TEST_F(ColorMapFileTest, EntryIOccupiesBytes4iToFourIPlus3AsKeyRedGreenBlue)
{
    const ColorMapBytes bytes = BytesOfColorMap(TellingMap());
    for (int i : {0, 1, 128, 255}) {
        EXPECT_EQ(bytes[4 * i + 0], 255 - i);
        EXPECT_EQ(bytes[4 * i + 1], i);
        EXPECT_EQ(bytes[4 * i + 2], uint8_t(i * 7 + 1));
        EXPECT_EQ(bytes[4 * i + 3], uint8_t(i * 13 + 2));
    }
    EXPECT_TRUE(Same(ColorMapOfBytes(bytes), TellingMap()));
}

TEST_F(ColorMapFileTest, TheFirst1024BytesLoadByteForByteKeyFlagsOfAnyValueIncluded)
{
    for (size_t length : {1024u, 2048u}) {
        ColorMap map{};
        EXPECT_EQ(ReadColorMapFile(WriteBytes("map.col", FileBytesOf(TellingMap(), length)), map), ColorMapFileResult::Done);
        EXPECT_TRUE(Same(map, TellingMap())) << length;
        EXPECT_EQ(map[3].keyFlag, 252);
    }
}

TEST_F(ColorMapFileTest, AShortOrMissingFileLeavesTheMapAsItWas)
{
    ColorMap map{};
    FillPresetColorMap(map, kPresetSetting2);
    const ColorMap before = map;

    EXPECT_EQ(ReadColorMapFile(WriteBytes("short.col", FileBytesOf(TellingMap(), 1023)), map), ColorMapFileResult::ReadFailed);
    EXPECT_TRUE(Same(map, before));
    EXPECT_EQ(ReadColorMapFile(WriteBytes("empty.col", {}), map), ColorMapFileResult::ReadFailed);
    EXPECT_TRUE(Same(map, before));
    EXPECT_EQ(ReadColorMapFile((folder / "absent.col").string(), map), ColorMapFileResult::OpenFailed);
    EXPECT_TRUE(Same(map, before));
}

TEST_F(ColorMapFileTest, AReadOnlyFileLoads)
{
    const std::string path = WriteBytes("readonly.col", FileBytesOf(TellingMap(), 1024));
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    ColorMap map{};
    EXPECT_EQ(ReadColorMapFile(path, map), ColorMapFileResult::Done);
    EXPECT_TRUE(Same(map, TellingMap()));
}
