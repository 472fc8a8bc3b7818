#include "files/WholeFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <utility>

#include "files/SystemReason.h"

namespace {

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

bool WriteAll(int fd, const uint8_t* data, std::size_t size, off_t offset)
{
    while (size > 0) {
        const ssize_t step = ::pwrite(fd, data, size, offset);
        if (step < 0 && errno == EINTR)
            continue;
        if (step <= 0) {
            if (step == 0)
                errno = EIO;
            return false;
        }
        data += step;
        size -= std::size_t(step);
        offset += step;
    }
    return true;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a path names once every symbolic link on the way is followed,
// also one that does not exist yet.
std::string LinkTarget(std::string path)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return path;
        std::string target(std::size_t(info.st_size > 0 ? info.st_size : 4096) + 1, '\0');
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0)
            return path;
        target.resize(std::size_t(length));
        path = target.front() == '/' ? target : FolderOf(path) + "/" + target;
    }
    return path;
}

mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// A rewritten file loses setuid and setgid, as cp and install make it.
constexpr mode_t kKeptModeBits = 07777 & ~mode_t(S_ISUID | S_ISGID);

FileWriteResult Fail(FileWriteResult result, std::string& reason, int error)
{
    reason = SystemReason(error);
    return result;
}

// ".name.XXXXXX" in the folder, the name cut short (between characters)
// where the whole would be longer than the folder's longest name.
std::string TemporaryName(const std::string& folder, const std::string& name)
{
    constexpr std::size_t kAdded = 8;  // the leading dot and ".XXXXXX"
    const long longest = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    const std::size_t room = std::size_t(longest > long(kAdded) ? longest : NAME_MAX) - kAdded;
    std::size_t kept = std::min(name.size(), room);
    while (kept > 0 && kept < name.size() && (static_cast<unsigned char>(name[kept]) & 0xC0) == 0x80)
        --kept;
    return folder + "/." + name.substr(0, kept) + ".XXXXXX";
}

// A file without a name in the temporary folder, gone when it is closed.
int UnnamedTemporaryFile()
{
    const char* folder = std::getenv("TMPDIR");
    const std::string tmp = folder && *folder == '/' ? folder : "/tmp";
    const int fd = ::open(tmp.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
        return fd;
    std::string name = tmp + "/.quorvex.XXXXXX";
    const int named = ::mkostemp(name.data(), O_CLOEXEC);
    if (named >= 0)
        ::unlink(name.c_str());
    return named;
}

// Copies the first `size` bytes of `from` over `to`, its space reserved
// first, then cuts `to` to that length. 0, or the system's error.
int CopyOver(int from, int to, off_t size)
{
    if (size > 0) {
        const int reserved = ::posix_fallocate(to, 0, size);
        if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL)
            return reserved;
    }
    std::vector<uint8_t> buffer(std::size_t(1) << 20);
    for (off_t at = 0; at < size;) {
        const std::size_t wanted = std::size_t(std::min(off_t(buffer.size()), size - at));
        const ssize_t got = ::pread(from, buffer.data(), wanted, at);
        if (got < 0 && errno == EINTR)
            continue;
        if (got == 0)
            return EIO;
        if (got < 0 || !WriteAll(to, buffer.data(), std::size_t(got), at))
            return errno;
        at += got;
    }
    return ::ftruncate(to, size) == 0 && ::fsync(to) == 0 ? 0 : errno;
}

}  // namespace

FileReadResult ReadRegularFile(const std::string& path, std::size_t maxBytes, std::vector<uint8_t>& bytes,
                               std::string& reason)
{
    bytes.clear();
    // Without blocking: a pipe opens at once, and is then turned away.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (file.Get() < 0) {
        reason = SystemReason(errno);
        return FileReadResult::OpenFailed;
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        reason = S_ISDIR(info.st_mode) ? SystemReason(EISDIR) : kNotRegularFile;
        return FileReadResult::OpenFailed;
    }
    bytes.resize(maxBytes);
    std::size_t got = 0;
    while (got < maxBytes) {
        const ssize_t step = ::read(file.Get(), bytes.data() + got, maxBytes - got);
        if (step < 0 && errno == EINTR)
            continue;
        if (step < 0) {
            reason = SystemReason(errno);
            bytes.clear();
            return FileReadResult::ReadFailed;
        }
        if (step == 0)
            break;
        got += std::size_t(step);
    }
    bytes.resize(got);
    return FileReadResult::Done;
}

WholeFileWriter::WholeFileWriter(const std::string& path) : target_(LinkTarget(path)) {}

WholeFileWriter::~WholeFileWriter() { Discard(); }

void WholeFileWriter::Discard()
{
    if (inPlace_ >= 0)
        ::close(std::exchange(inPlace_, -1));
    if (fd_ >= 0)
        ::close(std::exchange(fd_, -1));
    if (!temporary_.empty())
        ::unlink(temporary_.c_str());
    temporary_.clear();
}

FileWriteResult WholeFileWriter::Open(std::string& reason)
{
    struct stat old {};
    targetExists_ = ::stat(target_.c_str(), &old) == 0;
    if (targetExists_ && S_ISDIR(old.st_mode))
        return Fail(FileWriteResult::CreateFailed, reason, EISDIR);
    if (targetExists_ && !S_ISREG(old.st_mode)) {
        reason = kNotRegularFile;
        return FileWriteResult::CreateFailed;
    }
    oldMode_ = old.st_mode & kKeptModeBits;
    oldOwner_ = old.st_uid;
    oldGroup_ = old.st_gid;
    const std::size_t slash = target_.find_last_of('/');
    temporary_ = TemporaryName(FolderOf(target_), slash == std::string::npos ? target_ : target_.substr(slash + 1));
    fd_ = ::mkostemp(temporary_.data(), O_CLOEXEC);
    if (fd_ >= 0)
        return FileWriteResult::Written;
    const int error = errno;
    temporary_.clear();
    // A folder closed to new files may still hold a file open to writing.
    if (targetExists_ && (error == EACCES || error == EPERM) && OpenInPlace())
        return FileWriteResult::Written;
    return Fail(FileWriteResult::CreateFailed, reason, error);
}

bool WholeFileWriter::OpenInPlace()
{
    inPlace_ = ::open(target_.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    struct stat info {};
    if (inPlace_ >= 0 && ::fstat(inPlace_, &info) == 0 && S_ISREG(info.st_mode) &&
        (fd_ = UnnamedTemporaryFile()) >= 0)
        return true;
    Discard();
    return false;
}

bool WholeFileWriter::Write(const void* data, std::size_t size) { return WriteAt(data, size, written_); }

bool WholeFileWriter::WriteAt(const void* data, std::size_t size, off_t offset)
{
    if (fd_ < 0 || writeError_ != 0)
        return false;
    if (!WriteAll(fd_, static_cast<const uint8_t*>(data), size, offset)) {
        writeError_ = errno;
        return false;
    }
    written_ = std::max(written_, offset + off_t(size));
    return true;
}

FileWriteResult WholeFileWriter::Commit(std::string& reason)
{
    if (fd_ < 0)
        return Fail(FileWriteResult::CreateFailed, reason, EBADF);
    int error = writeError_;
    if (!error)
        error = inPlace_ >= 0 ? CommitInPlace() : CommitBeside();
    Discard();
    return error ? Fail(FileWriteResult::WriteFailed, reason, error) : FileWriteResult::Written;
}

int WholeFileWriter::CommitInPlace()
{
    struct stat info {};
    // The owner may drop setuid and setgid; another user's write drops them anyway.
    if (::fstat(inPlace_, &info) == 0 && (info.st_mode & (S_ISUID | S_ISGID)) &&
        ::fchmod(inPlace_, info.st_mode & kKeptModeBits) != 0 && errno != EPERM)
        return errno;
    if (const int error = CopyOver(fd_, inPlace_, written_))
        return error;
    return ::close(std::exchange(inPlace_, -1)) == 0 ? 0 : errno;
}

int WholeFileWriter::CommitBeside()
{
    // Another's file stays theirs where the program may give it away;
    // elsewhere the new file is the program's own.
    if (targetExists_ && (oldOwner_ != ::geteuid() || oldGroup_ != ::getegid()) &&
        ::fchown(fd_, oldOwner_, oldGroup_) != 0 && errno != EPERM)
        return errno;
    if (::fchmod(fd_, targetExists_ ? mode_t(oldMode_) : NewFileMode()) != 0 || ::fsync(fd_) != 0 ||
        ::close(std::exchange(fd_, -1)) != 0 || ::rename(temporary_.c_str(), target_.c_str()) != 0)
        return errno;
    temporary_.clear();
    return 0;
}

FileWriteResult WriteWholeFile(const std::string& path, const void* data, std::size_t size, std::string& reason)
{
    WholeFileWriter writer(path);
    if (writer.Open(reason) != FileWriteResult::Written)
        return FileWriteResult::CreateFailed;
    writer.Write(data, size);
    return writer.Commit(reason);
}

void IgnoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }
