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
