#pragma once
// Progress of a whole zoom film on a terminal: the frame being drawn of the
// frames this run draws, the share of them done and the time left, from the
// time taken so far (frames kept from an earlier run are not counted).

#include <chrono>
#include <cstdio>
#include <string>

class SequenceProgress {
public:
    // Nothing is shown unless `shown` (a terminal, no --quiet).
    SequenceProgress(int frames, bool shown, std::FILE* out = stderr);
    // `done` frames finished and `share` (0 to 1) of the next; a line at
    // most every fifth of a second, and the last one when all are done.
    void Show(int done, double share);

    // The line for that much work after `seconds`, as
    // "frame 13/48  25%  1:30 left"; "... done in 2:00" once all are done.
    static std::string Line(int done, double share, int frames, double seconds);

private:
    int frames_;
    bool shown_;
    std::FILE* out_;
    std::chrono::steady_clock::time_point start_;
    std::chrono::steady_clock::time_point shownAt_{};
};
