#pragma once
// A video made from a film's frames as they are drawn: ffmpeg, found on the
// PATH, runs as a child process (no shell) and reads raw 8-bit RGB frames
// from a pipe on its standard input. It encodes into a new file beside the
// video's name, which takes that name only once ffmpeg has ended well; on a
// failure, or when the pipe is dropped unfinished (a run that stops on a
// signal), ffmpeg is stopped and the new file removed. Defaults: H.264
// (libx264, constant rate factor 18) in yuv420p with BT.709 colours, which
// every player takes; yuv420p wants even sides, so a frame of an odd width
// or height gets its last column or row once more.
//
// While a pipe is open the program ignores SIGPIPE, so that a write to an
// ffmpeg that has gone fails instead of ending the program.

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "files/WholeFiles.h"

struct VideoSettings {
    std::string output;  // .mp4, .m4v, .mov or .mkv
    int width = 0;  // the frames' size
    int height = 0;
    std::string frameRate = "30";  // frames a second: "24", "29.97" or "30000/1001"
    std::string codec = "libx264";
    std::string pixelFormat = "yuv420p";
    int quality = 18;  // constant rate factor for x264 and x265: 0 lossless, 51 worst
    std::string program = "ffmpeg";  // looked for on the PATH unless it names a folder
};

// The container ffmpeg writes for a video's name; empty for a name of
// another kind.
std::string VideoContainerOfName(const std::string& path);
// A frame rate of 0.01 to 1000 frames a second; false with a message.
bool CheckFrameRate(const std::string& rate, std::string& error);
// A program as given where it names a folder, else the first executable
// regular file of that name in the PATH's folders; empty when there is none.
std::string FindProgram(const std::string& name);
// ffmpeg's arguments after its name, for a video written into `into`.
std::vector<std::string> VideoArguments(const VideoSettings& settings, const std::string& into);

class VideoPipe {
public:
    explicit VideoPipe(const VideoSettings& settings);
    ~VideoPipe();
    VideoPipe(const VideoPipe&) = delete;
    VideoPipe& operator=(const VideoPipe&) = delete;

    // Checks the settings, finds ffmpeg, makes the new file and starts
    // ffmpeg on it; false with a message for the user.
    bool Open(std::string& reason);
    // The next rows of the frame being sent, 3 bytes a pixel, row after row;
    // a frame's last row starts the next frame. False once anything failed.
    bool WriteRows(const uint8_t* rgb, int rows);
    // Ends the frames, waits for ffmpeg and puts the video in place when it
    // ended well with every frame whole; false with the reason otherwise.
    bool Finish(std::string& reason);

    int FramesWritten() const { return frames_; }
    // ffmpeg while it runs, else -1.
    pid_t Child() const { return child_; }
    // The new file ffmpeg writes into while it runs; empty once it failed.
    std::string TemporaryPath() const { return file_ ? file_->TemporaryPath() : std::string(); }

private:
    bool Send(const uint8_t* bytes, std::size_t size);
    bool Start(const std::string& program, std::string& reason);
    int Wait();
    bool Fail(std::string& reason, const std::string& why);
    void Stop();

    VideoSettings settings_;
    // Dropped, and so the new file removed, as soon as the video fails.
    std::unique_ptr<WholeFileWriter> file_;
    std::vector<uint8_t> rows_;  // rows widened to an even width
    pid_t child_ = -1;
    int pipe_ = -1;
    int row_ = 0;  // of the frame being sent
    int frames_ = 0;
    bool broken_ = false;
};
