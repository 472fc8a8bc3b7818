#pragma once
// Files read and written whole, named by paths in the system's file-name
// bytes. Only regular files are read: a pipe, a socket, a device or a folder
// under a chosen name would block the program or feed it endless bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <sys/types.h>

enum class FileReadResult { Done, OpenFailed, ReadFailed };

// Reads at most maxBytes bytes from the start of a regular file into bytes;
// fewer where the file is shorter. OpenFailed, with bytes empty, for a file
// that cannot be opened or is not a regular file; `reason` gets the system's
// description of a failure.
FileReadResult ReadRegularFile(const std::string& path, std::size_t maxBytes, std::vector<uint8_t>& bytes,
                               std::string& reason);

enum class FileWriteResult { Written, CreateFailed, WriteFailed };

// Makes `size` bytes the whole new content of the file at path, through a
// symbolic link to its target. The bytes go to a new file beside it that
// takes the old one's place once all are written, with the old file's
// permission bits less setuid and setgid (and its owner, where the program
// may give it): on a failure nothing is left behind and the old file stays
// as it was. Where the folder cannot take a new file but the file itself can
// be written, the file is rewritten in place, its space reserved first so
// that a full disk or a size limit stops the write before it changes a byte.
// A target that is no regular file is refused.
FileWriteResult WriteWholeFile(const std::string& path, const void* data, std::size_t size, std::string& reason);

// The same for content written piece by piece, as an encoder streams it:
// the pieces go to a new file beside the target, which takes the target's
// place at Commit; to rewrite a file in place they wait in an unnamed file
// of the temporary folder. Destroyed without a successful Commit, it leaves
// nothing behind.
class WholeFileWriter {
public:
    explicit WholeFileWriter(const std::string& path);
    ~WholeFileWriter();
    WholeFileWriter(const WholeFileWriter&) = delete;
    WholeFileWriter& operator=(const WholeFileWriter&) = delete;

    // CreateFailed when the new file cannot be made beside the target, nor
    // the target rewritten in place.
    FileWriteResult Open(std::string& reason);
    // False once any write has failed; the reason comes with Commit.
    bool Write(const void* data, std::size_t size);
    // The same at a given offset, for a format that goes back to fill in a
    // table; Write goes on after the furthest byte written.
    bool WriteAt(const void* data, std::size_t size, off_t offset);
    FileWriteResult Commit(std::string& reason);

    // The system's error of the first failed write; 0 while none failed.
    int WriteError() const { return writeError_; }
    // The new file beside the target while it is being written, for a
    // program that must remove it when it is ended; empty when there is
    // none (nothing open, or the target rewritten in place).
    const std::string& TemporaryPath() const { return temporary_; }
    const std::string& Target() const { return target_; }

private:
    bool OpenInPlace();
    // 0, or the system's error.
    int CommitInPlace();
    int CommitBeside();
    void Discard();

    std::string target_;
    std::string temporary_;
    int fd_ = -1;
    int inPlace_ = -1;  // the target itself, when it is rewritten in place
    off_t written_ = 0;
    int writeError_ = 0;
    bool targetExists_ = false;
    unsigned oldMode_ = 0;
    unsigned oldOwner_ = 0;
    unsigned oldGroup_ = 0;
};

// A write past the process's file-size limit fails like any other write
// instead of ending the program.
void IgnoreFileSizeSignal();
