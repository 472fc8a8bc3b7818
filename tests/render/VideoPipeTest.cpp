#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "render/VideoPipe.h"

namespace {

namespace fs = std::filesystem;

class VideoPipeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/qv-video-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder = pattern;
        settings.output = (folder / "film.mp4").string();
        settings.width = 33;
        settings.height = 17;
        settings.frameRate = "10";
    }
    void TearDown() override { fs::remove_all(folder); }

    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        return names;
    }

    // Frame k of the test film, in bands of 5 rows.
    static bool SendFrame(VideoPipe& pipe, const VideoSettings& s, int k)
    {
        std::vector<uint8_t> rgb(std::size_t(s.width) * std::size_t(s.height) * 3);
        for (std::size_t i = 0; i < rgb.size(); ++i)
            rgb[i] = uint8_t(i * 7 + std::size_t(k) * 40);
        for (int y = 0; y < s.height; y += 5)
            if (!pipe.WriteRows(rgb.data() + std::size_t(y) * std::size_t(s.width) * 3, std::min(5, s.height - y)))
                return false;
        return true;
    }

    static bool NoChildLeft()
    {
        errno = 0;
        return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
    }

    fs::path folder;
    VideoSettings settings;
};

TEST_F(VideoPipeTest, FramesOfAnOddSizeMakeAnMp4WhoseFramesFfprobeCounts)
{
    const std::string ffprobe = FindProgram("ffprobe");
    ASSERT_FALSE(ffprobe.empty()) << "ffprobe (Debian's ffmpeg) is needed";
    VideoPipe pipe(settings);
    std::string reason;
    ASSERT_TRUE(pipe.Open(reason)) << reason;
    for (int k = 0; k < 5; ++k)
        ASSERT_TRUE(SendFrame(pipe, settings, k));
    ASSERT_TRUE(pipe.Finish(reason)) << reason;
    EXPECT_EQ(pipe.FramesWritten(), 5);
    EXPECT_EQ(Entries(), std::vector<std::string>{"film.mp4"});

    const std::string command = ffprobe + " -v error -count_frames -select_streams v:0 -show_entries "
                                          "stream=codec_name,width,height,pix_fmt,nb_read_frames -of csv=p=0 '" +
                                settings.output + "'";
    FILE* out = ::popen(command.c_str(), "r");
    ASSERT_NE(out, nullptr);
    char line[256] = {};
    EXPECT_NE(std::fgets(line, sizeof line, out), nullptr);
    EXPECT_EQ(::pclose(out), 0);
    // Odd sides made even.
    EXPECT_EQ(std::string(line), "h264,34,18,yuv420p,5\n");
}

TEST_F(VideoPipeTest, AFailingFfmpegLeavesNoNewFileAndTheOldVideoAsItWas)
{
    std::ofstream(settings.output) << "old";
    settings.codec = "no-such-encoder";
    VideoPipe pipe(settings);
    std::string reason;
    ASSERT_TRUE(pipe.Open(reason)) << reason;
    // ffmpeg gives up at once; the frames may still fit into the pipe.
    for (int k = 0; k < 3; ++k)
        SendFrame(pipe, settings, k);
    EXPECT_FALSE(pipe.Finish(reason));
    EXPECT_NE(reason.find("exit status"), std::string::npos) << reason;
    EXPECT_EQ(Entries(), std::vector<std::string>{"film.mp4"});
    std::ifstream file(settings.output);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "old");
    EXPECT_TRUE(NoChildLeft());
}

TEST_F(VideoPipeTest, AVideoDroppedUnfinishedStopsFfmpegAndLeavesNothing)
{
    {
        VideoPipe pipe(settings);
        std::string reason;
        ASSERT_TRUE(pipe.Open(reason)) << reason;
        ASSERT_TRUE(SendFrame(pipe, settings, 0));
    }
    EXPECT_TRUE(Entries().empty());
    EXPECT_TRUE(NoChildLeft());

    // Nothing is made for a missing ffmpeg, a name of no video kind or a bad rate.
    VideoSettings missing = settings;
    missing.program = "quorvex-no-such-ffmpeg";
    VideoSettings kind = settings;
    kind.output = (folder / "film.png").string();
    VideoSettings rate = settings;
    rate.frameRate = "30/0";
    for (const VideoSettings& refused : {missing, kind, rate}) {
        VideoPipe pipe(refused);
        std::string reason;
        EXPECT_FALSE(pipe.Open(reason));
        EXPECT_FALSE(reason.empty());
    }
    std::string reason;
    VideoPipe pipe(missing);
    pipe.Open(reason);
    EXPECT_NE(reason.find("quorvex-no-such-ffmpeg was not found on the PATH"), std::string::npos) << reason;
    EXPECT_TRUE(Entries().empty());
}

}  // namespace
