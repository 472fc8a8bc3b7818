#include "render/VideoPipe.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <utility>

extern char** environ;

namespace {

bool Digits(const std::string& text) { return !text.empty() && text.find_first_not_of("0123456789") == text.npos; }

// "D", "D.D" or "N/M" as a number; 0 when it is none of them.
double RateValue(const std::string& rate)
{
    const std::size_t slash = rate.find('/');
    if (slash != std::string::npos) {
        const std::string n = rate.substr(0, slash), m = rate.substr(slash + 1);
        if (!Digits(n) || !Digits(m) || n.size() > 9 || m.size() > 9 || std::atol(m.c_str()) == 0)
            return 0.0;
        return double(std::atol(n.c_str())) / double(std::atol(m.c_str()));
    }
    const std::size_t dot = rate.find('.');
    const std::string whole = rate.substr(0, dot);
    const std::string part = dot == std::string::npos ? "0" : rate.substr(dot + 1);
    if (!Digits(whole) || !Digits(part) || whole.size() > 9 || part.size() > 9)
        return 0.0;
    return std::atof(rate.c_str());
}

bool Executable(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

int Even(int side) { return side + (side & 1); }

std::string WaitReason(const std::string& program, int status)
{
    if (WIFEXITED(status))
        return program + " failed with exit status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status))
        return program + " was ended by signal " + std::to_string(WTERMSIG(status)) + " (" +
               ::strsignal(WTERMSIG(status)) + ")";
    return program + " ended abnormally";
}

}  // namespace

std::string VideoContainerOfName(const std::string& path)
{
    const std::size_t dot = path.find_last_of("./");
    if (dot == std::string::npos || path[dot] != '.')
        return {};
    std::string ending = path.substr(dot + 1);
    std::transform(ending.begin(), ending.end(), ending.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (ending == "mp4" || ending == "m4v")
        return "mp4";
    if (ending == "mov")
        return "mov";
    if (ending == "mkv")
        return "matroska";
    return {};
}

bool CheckFrameRate(const std::string& rate, std::string& error)
{
    const double value = RateValue(rate);
    if (value >= 0.01 && value <= 1000.0)
        return true;
    error = "frame rate " + rate + ": 0.01 to 1000 frames a second, as 30, 29.97 or 30000/1001";
    return false;
}

std::string FindProgram(const std::string& name)
{
    if (name.find('/') != std::string::npos)
        return Executable(name) ? name : std::string();
    const char* path = std::getenv("PATH");
    const std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    for (std::size_t at = 0; at <= folders.size();) {
        std::size_t end = folders.find(':', at);
        if (end == std::string::npos)
            end = folders.size();
        // An empty entry would be the current folder: never looked in.
        const std::string folder = folders.substr(at, end - at);
        if (!folder.empty() && Executable(folder + "/" + name))
            return folder + "/" + name;
        at = end + 1;
    }
    return {};
}

std::vector<std::string> VideoArguments(const VideoSettings& s, const std::string& into)
{
    const std::string container = VideoContainerOfName(s.output);
    std::vector<std::string> a{"-hide_banner", "-loglevel", "error", "-f", "rawvideo", "-pixel_format", "rgb24",
                               "-video_size", std::to_string(Even(s.width)) + "x" + std::to_string(Even(s.height)),
                               "-framerate", s.frameRate, "-i", "pipe:0", "-an", "-c:v", s.codec};
    if (s.codec == "libx264" || s.codec == "libx265")
        a.insert(a.end(), {"-preset", "medium", "-crf", std::to_string(s.quality)});
    if (s.pixelFormat.rfind("yuv", 0) == 0)
        a.insert(a.end(), {"-vf", "scale=out_color_matrix=bt709", "-colorspace", "bt709", "-color_primaries", "bt709",
                           "-color_trc", "bt709"});
    a.insert(a.end(), {"-pix_fmt", s.pixelFormat});
    if (container == "mp4" || container == "mov")
        a.insert(a.end(), {"-movflags", "+faststart"});
    // "file:" keeps a name with a colon from reading as another protocol.
    a.insert(a.end(), {"-f", container, "-y", "file:" + into});
    return a;
}

VideoPipe::VideoPipe(const VideoSettings& settings)
    : settings_(settings), file_(std::make_unique<WholeFileWriter>(settings.output))
{
}

VideoPipe::~VideoPipe() { Stop(); }

bool VideoPipe::Open(std::string& reason)
{
    if (!file_ || child_ >= 0) {
        reason = "a video pipe opens once";
        return false;
    }
    if (settings_.width < 1 || settings_.height < 1 || VideoContainerOfName(settings_.output).empty()) {
        reason = settings_.output + ": a video is an .mp4, .m4v, .mov or .mkv file of frames 1 pixel or larger";
        return false;
    }
    if (!CheckFrameRate(settings_.frameRate, reason))
        return false;
    const std::string program = FindProgram(settings_.program);
    if (program.empty()) {
        reason = settings_.program + " was not found on the PATH: a video needs ffmpeg (Debian's package ffmpeg); "
                 "the frames can be joined with it later";
        return false;
    }
    if (file_->Open(reason) != FileWriteResult::Written)
        return Fail(reason, settings_.output + ": " + reason);
    // ffmpeg writes a file of its own name: a video in a folder that takes
    // no new file cannot be made whole beside its target.
    if (file_->TemporaryPath().empty())
        return Fail(reason, settings_.output + ": the folder takes no new file, so the video cannot be written whole");
    return Start(program, reason);
}

bool VideoPipe::Start(const std::string& program, std::string& reason)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return Fail(reason, std::strerror(errno));
    ::signal(SIGPIPE, SIG_IGN);
    std::vector<std::string> arguments = VideoArguments(settings_, file_->TemporaryPath());
    arguments.insert(arguments.begin(), program);
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[0], STDIN_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    // The child takes signals as a program started afresh would.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, pipeSignal;
    sigemptyset(&none);
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &pipeSignal);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    const int started = ::posix_spawn(&child_, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    ::close(ends[0]);
    if (started != 0) {
        child_ = -1;
        ::close(ends[1]);
        return Fail(reason, program + ": " + std::strerror(started));
    }
    pipe_ = ends[1];
    return true;
}

bool VideoPipe::Send(const uint8_t* bytes, std::size_t size)
{
    while (size > 0 && !broken_) {
        const ssize_t step = ::write(pipe_, bytes, size);
        if (step < 0 && errno == EINTR)
            continue;
        if (step <= 0) {
            broken_ = true;
            break;
        }
        bytes += step;
        size -= std::size_t(step);
    }
    return !broken_;
}

bool VideoPipe::WriteRows(const uint8_t* rgb, int rows)
{
    if (pipe_ < 0 || broken_ || rows < 0)
        return false;
    const std::size_t line = std::size_t(settings_.width) * 3;
    const std::size_t evenLine = std::size_t(Even(settings_.width)) * 3;
    for (int y = 0; y < rows; ++y) {
        const uint8_t* row = rgb + line * std::size_t(y);
        if (evenLine != line) {
            rows_.assign(row, row + line);
            rows_.insert(rows_.end(), row + line - 3, row + line);
            row = rows_.data();
        }
        if (!Send(row, evenLine))
            return false;
        if (++row_ < settings_.height)
            continue;
        // An odd frame's last row once more, for even sides.
        if ((settings_.height & 1) && !Send(row, evenLine))
            return false;
        row_ = 0;
        ++frames_;
    }
    return true;
}

int VideoPipe::Wait()
{
    if (pipe_ >= 0)
        ::close(std::exchange(pipe_, -1));
    int status = 0;
    while (::waitpid(child_, &status, 0) < 0 && errno == EINTR) {
    }
    child_ = -1;
    return status;
}

bool VideoPipe::Fail(std::string& reason, const std::string& why)
{
    reason = why;
    file_.reset();
    return false;
}

bool VideoPipe::Finish(std::string& reason)
{
    if (child_ < 0)
        return Fail(reason, "no video was started");
    const bool whole = row_ == 0 && frames_ > 0;
    const bool broken = broken_;
    const int status = Wait();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return Fail(reason, WaitReason(settings_.program, status));
    if (broken)
        return Fail(reason, settings_.program + " stopped reading the frames");
    if (!whole)
        return Fail(reason, "the video's last frame is not whole");
    std::string why;
    if (file_->Commit(why) != FileWriteResult::Written)
        return Fail(reason, settings_.output + ": " + why);
    return true;
}

void VideoPipe::Stop()
{
    if (child_ < 0)
        return;
    ::kill(child_, SIGTERM);
    Wait();
}
