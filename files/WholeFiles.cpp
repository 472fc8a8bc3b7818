#include "files/WholeFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <utility>

namespace {

std::string SystemReason(int error) { return std::strerror(error); }

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
    // Closes now and tells whether the close succeeded.
    bool Close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

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

FileWriteResult Fail(FileWriteResult result, std::string& reason, int error)
{
    reason = SystemReason(error);
    return result;
}

// Rewrites an existing regular file in place: the space first, then the bytes,
// then the length.
FileWriteResult RewriteInPlace(const std::string& path, const uint8_t* data, std::size_t size, std::string& reason)
{
    Descriptor file(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (file.Get() < 0)
        return Fail(FileWriteResult::CreateFailed, reason, errno);
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return Fail(FileWriteResult::CreateFailed, reason, EINVAL);
    if (size > 0) {
        const int reserved = ::posix_fallocate(file.Get(), 0, off_t(size));
        if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL)
            return Fail(FileWriteResult::WriteFailed, reason, reserved);
    }
    if (!WriteAll(file.Get(), data, size, 0) || ::ftruncate(file.Get(), off_t(size)) != 0 ||
        ::fsync(file.Get()) != 0 || !file.Close())
        return Fail(FileWriteResult::WriteFailed, reason, errno);
    return FileWriteResult::Written;
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
        reason = "not a regular file";
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
    if (fd_ < 0)
        return;
    ::close(fd_);
    fd_ = -1;
    ::unlink(temporary_.c_str());
}

FileWriteResult WholeFileWriter::Open(std::string& reason)
{
    struct stat old {};
    targetExists_ = ::stat(target_.c_str(), &old) == 0;
    if (targetExists_ && !S_ISREG(old.st_mode))
        return Fail(FileWriteResult::CreateFailed, reason, openError_ = EINVAL);
    oldMode_ = old.st_mode & 07777;
    oldOwner_ = old.st_uid;
    oldGroup_ = old.st_gid;
    const std::size_t slash = target_.find_last_of('/');
    const std::string name = slash == std::string::npos ? target_ : target_.substr(slash + 1);
    temporary_ = FolderOf(target_) + "/." + name + ".XXXXXX";
    fd_ = ::mkostemp(temporary_.data(), O_CLOEXEC);
    if (fd_ < 0)
        return Fail(FileWriteResult::CreateFailed, reason, openError_ = errno);
    return FileWriteResult::Written;
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
        return Fail(FileWriteResult::CreateFailed, reason, openError_ ? openError_ : EBADF);
    int error = writeError_;
    // Another's file stays theirs where the program may give it away;
    // elsewhere the new file is the program's own.
    if (!error && targetExists_ && (oldOwner_ != ::geteuid() || oldGroup_ != ::getegid()) &&
        ::fchown(fd_, oldOwner_, oldGroup_) != 0 && errno != EPERM)
        error = errno;
    if (!error && ::fchmod(fd_, targetExists_ ? mode_t(oldMode_) : NewFileMode()) != 0)
        error = errno;
    if (!error && ::fsync(fd_) != 0)
        error = errno;
    if (!error) {
        const int fd = std::exchange(fd_, -1);
        if (::close(fd) != 0 || ::rename(temporary_.c_str(), target_.c_str()) != 0) {
            error = errno;
            ::unlink(temporary_.c_str());
        }
    }
    if (error) {
        Discard();
        return Fail(FileWriteResult::WriteFailed, reason, error);
    }
    return FileWriteResult::Written;
}

FileWriteResult WriteWholeFile(const std::string& path, const void* data, std::size_t size, std::string& reason)
{
    WholeFileWriter writer(path);
    if (writer.Open(reason) != FileWriteResult::Written) {
        const int error = writer.OpenError();
        struct stat info {};
        const bool exists = ::stat(writer.Target().c_str(), &info) == 0 && S_ISREG(info.st_mode);
        if (exists && (error == EACCES || error == EPERM || error == EROFS))
            return RewriteInPlace(writer.Target(), static_cast<const uint8_t*>(data), size, reason);
        return FileWriteResult::CreateFailed;
    }
    writer.Write(data, size);
    return writer.Commit(reason);
}

void IgnoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }
