#include "render/FilmFrames.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>

namespace {

// Up to two digits at `at`; false with more.
bool ShortNumber(const std::string& text, std::size_t& at)
{
    const std::size_t from = at;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9')
        ++at;
    return at - from <= 2;
}

// The integer field starting at text[at] == '%', up to and with its
// conversion; empty when it is none.
std::string IntegerField(const std::string& text, std::size_t at)
{
    std::size_t end = at + 1;
    while (end < text.size() && (text[end] == '0' || text[end] == '-'))
        ++end;
    if (!ShortNumber(text, end))
        return {};
    if (end < text.size() && text[end] == '.' && !ShortNumber(text, ++end))
        return {};
    if (end >= text.size() || (text[end] != 'd' && text[end] != 'i' && text[end] != 'u'))
        return {};
    return text.substr(at, end + 1 - at);
}

bool FrameNumber(const std::string& text, int& value)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    value = std::atoi(text.c_str());
    return true;
}

}  // namespace

bool FrameNames::Make(const std::string& pattern, FrameNames& names, std::string& error)
{
    FrameNames made;
    std::string* part = &made.before_;
    for (std::size_t at = 0; at < pattern.size(); ++at) {
        if (pattern[at] != '%') {
            *part += pattern[at];
            continue;
        }
        if (at + 1 < pattern.size() && pattern[at + 1] == '%') {
            *part += '%';
            ++at;
            continue;
        }
        const std::string field = IntegerField(pattern, at);
        if (field.empty() || !made.field_.empty()) {
            error = "frame names " + pattern + ": the pattern takes exactly one number, as %05d or %d, and no other %";
            return false;
        }
        made.field_ = field;
        part = &made.after_;
        at += field.size() - 1;
    }
    if (made.field_.empty()) {
        error = "frame names " + pattern + ": the pattern has no frame number, such as %05d";
        return false;
    }
    names = std::move(made);
    return true;
}

std::string FrameNames::Name(int frame) const
{
    // Widths and precisions of two digits at most fit.
    char number[128];
    std::snprintf(number, sizeof number, field_.c_str(), frame);
    return before_ + number + after_;
}

bool ParseFrameRange(const std::string& text, int frames, FrameRange& range, std::string& error)
{
    const std::size_t dash = text.find('-');
    FrameRange read;
    const bool numbers = dash == std::string::npos
                             ? FrameNumber(text, read.first) && FrameNumber(text, read.last)
                             : FrameNumber(text.substr(0, dash), read.first) &&
                                   FrameNumber(text.substr(dash + 1), read.last);
    if (!numbers || read.first > read.last || read.last >= frames) {
        error = "--frames " + text + ": frames are A-B or K, numbered 0 to " + std::to_string(frames - 1) +
                ", with A <= B";
        return false;
    }
    range = read;
    return true;
}

bool FrameIsComplete(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::vector<int> FramesToDraw(const FrameRange& range, const FrameNames& names)
{
    std::vector<int> frames;
    for (int frame = range.first; frame <= range.last; ++frame)
        if (!FrameIsComplete(names.Name(frame)))
            frames.push_back(frame);
    return frames;
}
