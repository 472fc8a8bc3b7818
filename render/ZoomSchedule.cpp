#include "render/ZoomSchedule.h"

#include <cmath>
#include <optional>

namespace {

bool PositiveExtent(long double extent) { return std::isfinite(extent) && extent > 0.0L; }

bool UsableView(const FilmView& view)
{
    return std::isfinite(view.centreRe) && std::isfinite(view.centreIm) && PositiveExtent(view.extentRe) &&
           PositiveExtent(view.extentIm);
}

// One axis's extent at frame k of n, between the first and the last frame.
long double ExtentBetween(long double start, long double place, int frame, int frames)
{
    const long double share = static_cast<long double>(frame) / (frames - 1);
    return start * std::exp(share * (std::log(place) - std::log(start)));
}

// m where start = place * 2^(m (frames - 1)) exactly, so that each frame is
// 2^m times the next, exactly; none otherwise.
std::optional<int> PowerOfTwoStep(long double start, long double place, int frames)
{
    int exponent = 0;
    std::frexp(start / place, &exponent);
    const int power = exponent - 1;
    if (std::ldexp(place, power) != start || power % (frames - 1) != 0)
        return std::nullopt;
    return power / (frames - 1);
}

// How far one axis's centre is from the place's at an extent.
long double OffsetAt(long double startCentre, long double placeCentre, long double startExtent,
                     long double placeExtent, long double extent)
{
    if (startExtent == placeExtent)
        return 0.0L;
    return (startCentre - placeCentre) * ((extent - placeExtent) / (startExtent - placeExtent));
}

}  // namespace

FilmView StartInProportion(const FilmView& start, const FilmView& place)
{
    FilmView fitted = start;
    const long double proportion = place.extentIm / place.extentRe;
    if (start.extentIm / start.extentRe == proportion)
        return start;
    if (start.extentIm / start.extentRe < proportion)
        fitted.extentIm = start.extentRe * proportion;
    else
        fitted.extentRe = start.extentIm / proportion;
    return fitted;
}

bool ZoomSchedule::Make(const FilmView& start, const FilmView& place, int frames, ZoomSchedule& schedule,
                        std::string& error)
{
    if (frames < 2 || frames > kMaxFilmFrames) {
        error = "a zoom film has 2 to " + std::to_string(kMaxFilmFrames) + " frames";
        return false;
    }
    if (!UsableView(start) || !UsableView(place)) {
        error = "the start and the place need finite centres and extents greater than 0";
        return false;
    }
    if ((start.extentRe == place.extentRe && start.centreRe != place.centreRe) ||
        (start.extentIm == place.extentIm && start.centreIm != place.centreIm)) {
        error = "a start of the place's extent must have the place's centre: the film zooms, it does not pan";
        return false;
    }
    schedule.start_ = start;
    schedule.place_ = place;
    schedule.frames_ = frames;
    const std::optional<int> stepRe = PowerOfTwoStep(start.extentRe, place.extentRe, frames);
    const std::optional<int> stepIm = PowerOfTwoStep(start.extentIm, place.extentIm, frames);
    schedule.powerOfTwo_ = stepRe && stepRe == stepIm;
    schedule.step_ = schedule.powerOfTwo_ ? *stepRe : 0;
    return true;
}

FilmView ZoomSchedule::Frame(int frame) const
{
    if (frame <= 0)
        return start_;
    if (frame >= frames_ - 1)
        return place_;
    FilmView view;
    view.extentRe = ExtentRe(frame);
    view.extentIm = ExtentIm(frame);
    view.centreRe = place_.centreRe + OffsetRe(frame);
    view.centreIm = place_.centreIm + OffsetIm(frame);
    return view;
}

long double ZoomSchedule::OffsetRe(int frame) const
{
    if (frame >= frames_ - 1)
        return 0.0L;
    if (frame <= 0)
        return start_.centreRe - place_.centreRe;
    return OffsetAt(start_.centreRe, place_.centreRe, start_.extentRe, place_.extentRe, ExtentRe(frame));
}

long double ZoomSchedule::OffsetIm(int frame) const
{
    if (frame >= frames_ - 1)
        return 0.0L;
    if (frame <= 0)
        return start_.centreIm - place_.centreIm;
    return OffsetAt(start_.centreIm, place_.centreIm, start_.extentIm, place_.extentIm, ExtentIm(frame));
}

long double ZoomSchedule::ExtentRe(int frame) const
{
    if (powerOfTwo_)
        return std::ldexp(place_.extentRe, step_ * (frames_ - 1 - frame));
    return ExtentBetween(start_.extentRe, place_.extentRe, frame, frames_);
}

long double ZoomSchedule::ExtentIm(int frame) const
{
    if (powerOfTwo_)
        return std::ldexp(place_.extentIm, step_ * (frames_ - 1 - frame));
    return ExtentBetween(start_.extentIm, place_.extentIm, frame, frames_);
}
