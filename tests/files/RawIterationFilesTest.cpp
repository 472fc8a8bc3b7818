#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "files/RawIterationFiles.h"

namespace {

namespace fs = std::filesystem;

class RawIterationFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/qv-raw-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string Path(const std::string& name) const { return (folder / name).string(); }
    long Entries() const { return long(std::distance(fs::directory_iterator(folder), fs::directory_iterator())); }

    // Writes counts and fractions of a width x height picture in bands of
    // `band` rows, and only the first `rows` rows.
    static FileWriteResult Write(const std::string& path, const RawIterationLayout& layout,
                                 const std::vector<uint32_t>& counts, const std::vector<float>& fractions, int band,
                                 int rows, std::string& reason)
    {
        RawIterationFileWriter writer(path, layout);
        if (writer.Open(reason) != FileWriteResult::Written)
            return FileWriteResult::CreateFailed;
        for (int y = 0; y < rows; y += band) {
            const std::size_t at = std::size_t(y) * std::size_t(layout.width);
            if (!writer.WriteRows(counts.data() + at, layout.fraction ? fractions.data() + at : nullptr,
                                  std::min(band, rows - y)))
                break;
        }
        return writer.Finish(reason);
    }

    fs::path folder;
};

TEST_F(RawIterationFilesTest, TheCountsComeBackAsTheFieldReadsThemWithCapturedPointsAndCountZero)
{
    RawIterationLayout layout;
    layout.width = 37;
    layout.height = 23;
    layout.limit = 65536;
    layout.fraction = true;
    layout.key = "quorvex-place";
    layout.text = "quorvex-place 1\ntype 1\nend\n";
    std::vector<uint32_t> counts;
    std::vector<float> fractions;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<float> oddFractions{0.0f, 0.25f, 0.99999994f, 1.0f, -0.5f, nan, 7.0f};
    for (int i = 0; i < layout.width * layout.height; ++i) {
        // Count 0, the last count before the limit, captured at and far past it.
        const uint32_t special[] = {0, 65535, 65536, 0xFFFFFFFFu};
        counts.push_back(i % 5 == 4 ? uint32_t(i * 37) : special[i % 5]);
        fractions.push_back(oddFractions[std::size_t(i) % oddFractions.size()]);
    }
    std::string reason;
    ASSERT_EQ(Write(Path("raw.exr"), layout, counts, fractions, 6, layout.height, reason), FileWriteResult::Written)
        << reason;

    RawIterationData data;
    ASSERT_TRUE(ReadRawIterationFile(Path("raw.exr"), layout.key, data, reason)) << reason;
    EXPECT_EQ(data.width, 37);
    EXPECT_EQ(data.height, 23);
    EXPECT_EQ(data.limit, 65536);
    EXPECT_EQ(data.bias, 1);
    EXPECT_EQ(data.text, layout.text);
    ASSERT_TRUE(data.hasFraction);
    ASSERT_EQ(data.n.size(), counts.size());
    for (std::size_t i = 0; i < counts.size(); ++i) {
        SCOPED_TRACE(i);
        if (counts[i] >= layout.limit) {
            EXPECT_EQ(data.n[i], 0xFFFFFFFFu);
            EXPECT_EQ(data.nf[i], 0.0f);
            continue;
        }
        EXPECT_EQ(int64_t(data.n[i]) - data.bias, int64_t(counts[i]));
        EXPECT_GE(data.nf[i], 0.0f);
        EXPECT_LT(data.nf[i], 1.0f);
        if (fractions[i] >= 0.0f && fractions[i] < 1.0f) {
            EXPECT_EQ(data.nf[i], fractions[i]);
        }
    }
    EXPECT_EQ(Entries(), 1);

    // Without the fraction there is no NF channel.
    layout.fraction = false;
    ASSERT_EQ(Write(Path("plain.exr"), layout, counts, {}, 100, layout.height, reason), FileWriteResult::Written);
    ASSERT_TRUE(ReadRawIterationFile(Path("plain.exr"), layout.key, data, reason)) << reason;
    EXPECT_FALSE(data.hasFraction);
    EXPECT_EQ(data.n[0], 1u);
}

TEST_F(RawIterationFilesTest, AnUnfinishedOrFailedPictureLeavesTheOldFileAsItWas)
{
    const std::string path = Path("raw.exr");
    std::ofstream(path) << "old";
    RawIterationLayout layout;
    layout.width = 300;
    layout.height = 300;
    layout.limit = 256;
    const std::vector<uint32_t> counts(300 * 300, 7);
    std::string reason;
    EXPECT_EQ(Write(path, layout, counts, {}, 16, 299, reason), FileWriteResult::WriteFailed);
    EXPECT_FALSE(reason.empty());

    // The library's writes meet a file-size limit in the middle of the picture.
    const pid_t child = ::fork();
    if (child == 0) {
        IgnoreFileSizeSignal();
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::vector<uint32_t> noisy(counts);
        for (std::size_t i = 0; i < noisy.size(); ++i)
            noisy[i] = uint32_t(i * 2654435761u % 256);
        std::string why;
        std::_Exit(int(Write(path, layout, noisy, {}, 16, 300, why)));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), int(FileWriteResult::WriteFailed));

    std::ifstream file(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), "old");
    EXPECT_EQ(Entries(), 1);
}

}  // namespace
