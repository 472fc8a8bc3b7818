#pragma once
// The files of a zoom film's frames: their names from a pattern, the range
// of frames one run draws, and which of them a resumed run still has to draw.
// Frames are numbered from 0 (the start) to N-1 (the place), in names and
// ranges alike, as ffmpeg numbers a sequence by default.

#include <string>
#include <vector>

inline constexpr char kDefaultFramePattern[] = "frame-%05d.png";

// A name pattern with exactly one printf integer field: '%', optional flags
// '0' and '-', an optional width and precision of up to two digits each,
// then 'd', 'i' or 'u'; "%%" stands for '%'.
class FrameNames {
public:
    // False with a message when the pattern has no field, more than one, or
    // any other conversion.
    static bool Make(const std::string& pattern, FrameNames& names, std::string& error);
    std::string Name(int frame) const;

private:
    std::string before_;
    std::string field_;
    std::string after_;
};

// Frames first..last, both included.
struct FrameRange {
    int first = 0;
    int last = 0;
};

// "A-B" or "K", 0-based, within a film of `frames` frames; false with a
// message otherwise.
bool ParseFrameRange(const std::string& text, int frames, FrameRange& range, std::string& error);

// A frame is complete when a regular file has its name: every frame is
// written beside it and renamed into place whole, so anything under the
// name is whole. The frames of the range that are not, in order.
bool FrameIsComplete(const std::string& path);
std::vector<int> FramesToDraw(const FrameRange& range, const FrameNames& names);
