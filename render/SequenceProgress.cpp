#include "render/SequenceProgress.h"

#include <algorithm>
#include <cmath>

namespace {

std::string Duration(double seconds)
{
    const long total = std::lround(std::max(0.0, seconds));
    char text[48];
    if (total >= 3600)
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
    else
        std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
    return text;
}

}  // namespace

SequenceProgress::SequenceProgress(int frames, bool shown, std::FILE* out)
    : frames_(frames), shown_(shown && frames > 0), out_(out), start_(std::chrono::steady_clock::now())
{
}

std::string SequenceProgress::Line(int done, double share, int frames, double seconds)
{
    const double work = std::clamp(done + std::clamp(share, 0.0, 1.0), 0.0, double(frames));
    std::string line = "frame " + std::to_string(std::min(done + 1, frames)) + "/" + std::to_string(frames) + "  " +
                       std::to_string(int(100.0 * work / frames)) + "%";
    if (done >= frames)
        return line + "  done in " + Duration(seconds);
    if (work > 0.0)
        line += "  " + Duration(seconds * (frames - work) / work) + " left";
    return line;
}

void SequenceProgress::Show(int done, double share)
{
    const auto now = std::chrono::steady_clock::now();
    if (!shown_ || (done < frames_ && now - shownAt_ < std::chrono::milliseconds(200)))
        return;
    shownAt_ = now;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    // Spaces cover what a longer line before left.
    std::fprintf(out_, "\r%s   ", Line(done, share, frames_, seconds).c_str());
    if (done >= frames_) {
        std::fputc('\n', out_);
        shown_ = false;
    }
    std::fflush(out_);
}
