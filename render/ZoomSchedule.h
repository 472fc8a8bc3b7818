#pragma once
// The frames of a zoom film: from a start view (the place's whole view, or
// one given) down to the place, each frame a view of its own that
// quorvex-render draws as it would draw that view alone.
//
// The extents shrink (or grow) by one constant factor a frame along each
// axis: frame k of N has the start's extent times (place / start)^(k / (N-1)),
// frame 0 is exactly the start and frame N-1 exactly the place. Where the
// start's centre is not the place's, the centre moves with the extent: its
// distance from the place's centre shrinks in proportion to how much the
// extent still has to shrink,
//     centre(k) = place + (start - place) * (extent(k) - place's) / (start's - place's),
// so that one point of the plane (near the place) keeps its pixel in every
// frame and each frame is the one before it magnified about that point: the
// film never turns back. Frames are numbered from 0. Where the start's
// extents are the place's times 2^(m (N-1)) exactly, frame k's are the
// place's times 2^(m (N-1-k)), exactly: a film that halves each frame's
// extents does so to the last bit.

#include <string>

inline constexpr int kMaxFilmFrames = 1000000;

struct FilmView {
    long double centreRe = 0.0L;
    long double centreIm = 0.0L;
    long double extentRe = 0.0L;
    long double extentIm = 0.0L;
};

// The start widened along one axis to the place's proportions, so that it
// still shows all of the start and both axes share one zoom factor.
FilmView StartInProportion(const FilmView& start, const FilmView& place);

class ZoomSchedule {
public:
    // False with a message for the user when the views or the number of
    // frames make no film (fewer than 2 frames or more than kMaxFilmFrames,
    // an extent that is not a finite positive number, or a start of the
    // place's extent at another centre).
    static bool Make(const FilmView& start, const FilmView& place, int frames, ZoomSchedule& schedule,
                     std::string& error);

    int Frames() const { return frames_; }
    // Frame 0 .. Frames() - 1.
    FilmView Frame(int frame) const;
    // The frame's centre less the place's: exactly 0 at the last frame, for
    // a caller that holds the place's centre more precisely.
    long double OffsetRe(int frame) const;
    long double OffsetIm(int frame) const;

private:
    long double ExtentRe(int frame) const;
    long double ExtentIm(int frame) const;

    FilmView start_;
    FilmView place_;
    int frames_ = 0;
    bool powerOfTwo_ = false;
    int step_ = 0;  // each frame's extents 2^step_ times the next one's
};
