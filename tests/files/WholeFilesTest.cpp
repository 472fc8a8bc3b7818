#include <gtest/gtest.h>

#include <fcntl.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "files/PictureFiles.h"
#include "files/WholeFiles.h"

namespace {

namespace fs = std::filesystem;

class WholeFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/qv-files-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override
    {
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder);
    }

    std::string Path(const std::string& name) const { return (folder / name).string(); }

    static void Store(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

    static std::string Content(const std::string& path)
    {
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    static FileWriteResult Write(const std::string& path, const std::string& text)
    {
        std::string reason;
        return WriteWholeFile(path, text.data(), text.size(), reason);
    }

    // Runs body in a child process and returns its exit status; a child
    // that a signal ended gives 128 + the signal.
    static int InChild(const std::function<int()>& body)
    {
        const pid_t child = ::fork();
        if (child == 0)
            std::_Exit(body());
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
    }

    // The text in two pieces, as an encoder streams it.
    static FileWriteResult Stream(const std::string& path, const std::string& text, std::string& reason)
    {
        WholeFileWriter writer(path);
        if (writer.Open(reason) != FileWriteResult::Written)
            return FileWriteResult::CreateFailed;
        writer.Write(text.data(), text.size() / 2);
        writer.Write(text.data() + text.size() / 2, text.size() - text.size() / 2);
        return writer.Commit(reason);
    }

    static unsigned Mode(const std::string& path)
    {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
    }

    // 64 KiB over a file-size limit of 4 KiB, as the program meets it.
    static int WriteOverTheSizeLimit(const std::string& path)
    {
        IgnoreFileSizeSignal();
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        return int(Write(path, std::string(64 * 1024, 'z')));
    }

    fs::path folder;
};

TEST_F(WholeFilesTest, OnlyRegularFilesAreReadAndNoneOfTheOthersBlocks)
{
    const std::string pipe = Path("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::string socketPath = Path("socket");
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socketPath.copy(address.sun_path, sizeof(address.sun_path) - 1);
    ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    const std::string regular = Path("regular");
    Store(regular, "abc");

    for (const std::string& path : {pipe, socketPath, std::string("/dev/zero"), folder.string(), Path("missing")}) {
        SCOPED_TRACE(path);
        std::vector<uint8_t> bytes{1, 2};
        std::string reason;
        EXPECT_EQ(ReadRegularFile(path, 1024, bytes, reason), FileReadResult::OpenFailed);
        EXPECT_TRUE(bytes.empty());
        EXPECT_FALSE(reason.empty());
    }
    std::vector<uint8_t> bytes;
    std::string reason;
    EXPECT_EQ(ReadRegularFile(regular, 2, bytes, reason), FileReadResult::Done);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{'a', 'b'}));
    EXPECT_EQ(ReadRegularFile(regular, 1024, bytes, reason), FileReadResult::Done);
    EXPECT_EQ(bytes.size(), 3u);
    ::close(listener);
}

TEST_F(WholeFilesTest, AReplacedFileKeepsItsPermissionBitsAndALinkKeepsPointingAtIt)
{
    const std::string file = Path("kept");
    Store(file, "old content");
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    const std::string link = Path("link");
    ASSERT_EQ(::symlink("kept", link.c_str()), 0);

    EXPECT_EQ(Write(link, "new"), FileWriteResult::Written);
    EXPECT_EQ(Content(file), "new");
    EXPECT_TRUE(fs::is_symlink(link));
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0444u);

    const std::string fresh = Path("fresh");
    EXPECT_EQ(Write(fresh, "x"), FileWriteResult::Written);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ASSERT_EQ(::stat(fresh.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0666u & ~mask);
    // Nothing is left beside the files.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 3);
}

// A folder the writer may not add to, holding a file it may write: as root,
// the child becomes another user, for root may add to any folder.
TEST_F(WholeFilesTest, AWritableFileInAClosedFolderIsRewrittenInPlaceAndAFailedRewriteChangesNothing)
{
    const std::string file = Path("inside");
    Store(file, "a rather long old content");
    const passwd* nobody = ::getpwnam("nobody");
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_NE(nobody, nullptr);
        ASSERT_EQ(::chown(file.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    }
    ASSERT_EQ(::chmod(file.c_str(), 0644), 0);
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    const auto asWriter = [&] {
        if (root && (::setgid(nobody->pw_gid) != 0 || ::setuid(nobody->pw_uid) != 0))
            return 10;
        return 0;
    };

    EXPECT_EQ(InChild([&] { return asWriter() ? 10 : int(Write(file, "short")); }), int(FileWriteResult::Written));
    EXPECT_EQ(Content(file), "short");

    EXPECT_EQ(InChild([&] { return asWriter() ? 10 : WriteOverTheSizeLimit(file); }), int(FileWriteResult::WriteFailed));
    EXPECT_EQ(Content(file), "short");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

    // A picture streamed to the file follows the same rule, and so does its failure.
    std::string reason;
    EXPECT_EQ(InChild([&] { return asWriter() ? 10 : int(Stream(file, "streamed anew", reason)); }),
              int(FileWriteResult::Written));
    EXPECT_EQ(Content(file), "streamed anew");
    EXPECT_EQ(InChild([&] {
                  if (asWriter())
                      return 10;
                  IgnoreFileSizeSignal();
                  const rlimit limit{4096, 4096};
                  ::setrlimit(RLIMIT_FSIZE, &limit);
                  return int(Stream(file, std::string(64 * 1024, 'z'), reason));
              }),
              int(FileWriteResult::WriteFailed));
    EXPECT_EQ(Content(file), "streamed anew");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);

    // Rewritten in place, it loses setuid and setgid too.
    ASSERT_EQ(::chmod(file.c_str(), 06744), 0);
    EXPECT_EQ(InChild([&] { return asWriter() ? 10 : int(Write(file, "plain")); }), int(FileWriteResult::Written));
    EXPECT_EQ(Mode(file), 0744u);
}

// Beside the file and in place alike, as cp and install do.
TEST_F(WholeFilesTest, ARewriteDropsSetuidAndSetgid)
{
    const std::string file = Path("tool");
    Store(file, "old");
    ASSERT_EQ(::chmod(file.c_str(), 06755), 0);
    ASSERT_EQ(Mode(file), 06755u);
    EXPECT_EQ(Write(file, "new"), FileWriteResult::Written);
    EXPECT_EQ(Mode(file), 0755u);

    const std::string link = Path("link");
    ASSERT_EQ(::symlink("tool", link.c_str()), 0);
    ASSERT_EQ(::chmod(file.c_str(), 02711), 0);
    std::string reason;
    EXPECT_EQ(Stream(link, "streamed", reason), FileWriteResult::Written) << reason;
    EXPECT_EQ(Mode(file), 0711u);
}

// The new file's name adds a dot and six letters: the longest names must still be written.
TEST_F(WholeFilesTest, TheLongestNamesAreWrittenAndLeaveNothingBeside)
{
    std::string kana;
    while (kana.size() + 3 <= 255)
        kana += "\xE3\x81\x82";  // あ
    for (const std::string& name : {std::string(250, 'n'), std::string(255, 'n'), kana}) {
        SCOPED_TRACE(name.size());
        std::string reason;
        EXPECT_EQ(WriteWholeFile(Path(name), "once", 4, reason), FileWriteResult::Written) << reason;
        EXPECT_EQ(Stream(Path(name), "twice", reason), FileWriteResult::Written) << reason;
        EXPECT_EQ(Content(Path(name)), "twice");
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 3);
}

// Each failure says the system's own reason, also through a picture's encoder.
TEST_F(WholeFilesTest, FailuresTellTheSystemsReason)
{
    const auto reasonOf = [](const std::string& path) {
        std::string reason;
        EXPECT_NE(WriteWholeFile(path, "x", 1, reason), FileWriteResult::Written) << path;
        return reason;
    };
    EXPECT_EQ(reasonOf(folder.string()), "フォルダです（EISDIR）");
    EXPECT_EQ(reasonOf("/dev/null"), "通常のファイルではありません（パイプや装置などです）");
    EXPECT_EQ(reasonOf(Path("none/x")), "ファイルかフォルダがありません（ENOENT）");

    const std::string picture = Path("big.png");
    for (const PictureFormat format : {PictureFormat::Png, PictureFormat::Jpeg}) {
        const int status = InChild([&] {
            IgnoreFileSizeSignal();
            const rlimit limit{4096, 4096};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            PictureFileWriter file(picture, format, 256, 256);
            std::string reason;
            std::vector<uint8_t> noise(256 * 3 * 256);
            uint32_t state = 1;
            for (uint8_t& byte : noise) {
                state ^= state << 13, state ^= state >> 17, state ^= state << 5;
                byte = uint8_t(state);
            }
            if (file.Open(reason) != FileWriteResult::Written)
                return 10;
            file.WriteRows(noise.data(), 256);
            return file.Finish(reason) == FileWriteResult::WriteFailed &&
                           reason == "ファイルの大きさの上限を超えます（EFBIG）"
                       ? 0
                       : 11;
        });
        EXPECT_EQ(status, 0) << int(format);
    }
    EXPECT_FALSE(fs::exists(picture));
}

TEST_F(WholeFilesTest, AWriteOverTheSizeLimitFailsInsteadOfEndingTheProgramAndKeepsTheOldFile)
{
    const std::string file = Path("limited");
    Store(file, "old");
    EXPECT_EQ(InChild([&] { return WriteOverTheSizeLimit(file); }), int(FileWriteResult::WriteFailed));
    EXPECT_EQ(Content(file), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

}  // namespace
