#include "render/ZoomFilm.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include "engine/JuliaTable.h"
#include "engine/PlaceView.h"
#include "engine/SharedSamples.h"
#include "engine/ViewRecord.h"
#include "files/SystemReason.h"
#include "render/FilmFrames.h"
#include "render/PictureOutputs.h"
#include "render/RenderRegion.h"
#include "render/SequenceProgress.h"
#include "render/TerminationSignals.h"
#include "render/VideoPipe.h"
#include "render/ZoomSchedule.h"

namespace {

constexpr int kVideoSlot = 2;
// The most samples kept from one frame for the next: two such sets are
// held at a time, 8 bytes a sample.
constexpr size_t kMostSharedSamples = size_t(4) << 20;

int Fail(int status, const std::string& message)
{
    std::fprintf(stderr, "quorvex-render: %s\n", message.c_str());
    return status;
}

FilmView ViewOfRegion(const PlaneRegion& r) { return FilmView{r.centreX, r.centreY, r.extentX, r.extentY}; }

// The start the options give, else the place's whole view (for a Julia
// place the Julia set's), widened to the target's proportions.
FilmView StartOf(const RenderOptions& o, const Place& place, const FilmView& target)
{
    FilmView start;
    if (o.zoomStartNumbers == 4)
        start = FilmView{o.zoomStart[0], o.zoomStart[1], o.zoomStart[2], o.zoomStart[3]};
    else if (o.zoomStartNumbers == 2)
        start = FilmView{target.centreRe, target.centreIm, o.zoomStart[0], o.zoomStart[1]};
    else if (place.julia.isSet)
        start = ViewOfRegion(JuliaWholeRegion(place.type, place.params, PictureSize{place.wholeWidth, place.wholeHeight}));
    else {
        const ViewRecord whole = WholeViewOfPlace(place);
        start = FilmView{whole.dwa, whole.dwb, whole.dwx, whole.dwy};
    }
    return StartInProportion(start, target);
}

// Whether the folder a file goes into takes new files; the reason if not.
bool FolderTakesFiles(const std::string& path, std::string& reason)
{
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    struct stat info {};
    int error = 0;
    if (::stat(folder.c_str(), &info) != 0)
        error = errno;
    else if (!S_ISDIR(info.st_mode))
        error = ENOTDIR;
    else if (::access(folder.c_str(), W_OK | X_OK) != 0)
        error = errno;
    if (error == 0)
        return true;
    reason = path + ": the folder " + folder + " takes no new files: " + SystemReason(error);
    return false;
}

class Film {
public:
    Film(const RenderOptions& o, const Place& place, const PictureJob& job) : o_(o), place_(place), job_(job) {}
    int Run();

private:
    bool Prepare(std::string& error);
    PictureJob JobOf(int frame, Place& framePlace) const;
    int DrawFrames();
    bool DrawFrame(int index, std::optional<SharedSamples>& kept, std::string& reason);
    std::string Name(const std::optional<FrameNames>& names, int frame) const
    {
        return names ? names->Name(frame) : std::string();
    }

    const RenderOptions& o_;
    Place place_;
    PictureJob job_;
    ZoomSchedule schedule_;
    std::optional<FrameNames> pictures_;
    std::optional<FrameNames> raw_;
    std::vector<int> frames_;  // in the order they are drawn
    std::unique_ptr<VideoPipe> video_;
    std::unique_ptr<SequenceProgress> progress_;
};

bool Film::Prepare(std::string& error)
{
    const FilmView target = ViewOfRegion(job_.region.plane);
    if (!ZoomSchedule::Make(StartOf(o_, place_, target), target, o_.zoomFrames, schedule_, error))
        return false;
    FrameRange range{0, o_.zoomFrames - 1};
    if (!o_.frames.empty() && !ParseFrameRange(o_.frames, o_.zoomFrames, range, error))
        return false;
    // -o names picture frames, or raw frames by its ending; --raw raw
    // frames beside the pictures; with neither (nor a video), the default.
    std::string pictures = o_.output.empty() && o_.raw.empty() && o_.video.empty() ? kDefaultFramePattern : o_.output;
    std::string raw = o_.raw;
    if (IsRawFileName(pictures))
        std::swap(pictures, raw);
    for (const auto& [pattern, names] : {std::pair{pictures, &pictures_}, std::pair{raw, &raw_}}) {
        FrameNames made;
        if (pattern.empty())
            continue;
        if (!FrameNames::Make(pattern, made, error))
            return false;
        *names = made;
    }
    for (int frame = range.first; frame <= range.last; ++frame) {
        const std::string picture = Name(pictures_, frame), rawName = Name(raw_, frame);
        const bool missing = !o_.video.empty() || (pictures_ && !FrameIsComplete(picture)) ||
                             (raw_ && !FrameIsComplete(rawName));
        if (!missing)
            continue;
        for (const std::string& name : {picture, rawName})
            if (!name.empty() && !FolderTakesFiles(name, error))
                return false;
        frames_.push_back(frame);
    }
    if (!o_.video.empty() && !FolderTakesFiles(o_.video, error))
        return false;
    // Deepest first where each frame can take its inner quarter from the
    // next: the frames of an exactly halving film all share alike.
    if (o_.video.empty() && frames_.size() > 1) {
        Place a, b;
        const PictureJob first = JobOf(0, a), second = JobOf(1, b);
        if (SamplesShared(first.region.iteration, first.region.plane, second.region.iteration, second.region.plane,
                          job_.width * job_.samples, job_.height * job_.samples, false, kMostSharedSamples))
            std::reverse(frames_.begin(), frames_.end());
    }
    return true;
}

// The frame's own job and place: its view at the film's size.
PictureJob Film::JobOf(int frame, Place& framePlace) const
{
    const FilmView view = schedule_.Frame(frame);
    framePlace = PlaceOfRegion(place_, PlaneRegion{view.centreRe, view.centreIm, view.extentRe, view.extentIm, 0, 0,
                                                   job_.width, job_.height});
    // As the frame's picture is drawn alone from its place.
    PictureJob job = job_;
    job.region = RegionAtSize(framePlace, job.width, job.height, false);
    return job;
}

bool Film::DrawFrame(int index, std::optional<SharedSamples>& kept, std::string& reason)
{
    const int frame = frames_[size_t(index)];
    Place framePlace;
    PictureJob job = JobOf(frame, framePlace);
    if (o_.automaticLimit) {
        const std::atomic<bool> never{false};
        framePlace.limit = SettledAutomaticLimit(job.region, job.width, job.height, job.threads, never);
        job.region.iteration.limit = framePlace.limit;
    }
    // The samples this frame shares with the next one drawn, which is the
    // next shallower frame when the film is drawn deepest first.
    std::optional<SharedSamples> into;
    const size_t next = size_t(index) + 1;
    if (o_.video.empty() && !o_.automaticLimit && next < frames_.size() && frames_[next] == frame - 1) {
        Place outerPlace;
        const PictureJob outer = JobOf(frame - 1, outerPlace);
        into = SamplesShared(outer.region.iteration, outer.region.plane, job.region.iteration, job.region.plane,
                             job.width * job.samples, job.height * job.samples, job.coloring == Coloring::Smooth,
                             kMostSharedSamples);
    }
    PictureRenderer renderer(job);
    if (renderer.Deep())
        into.reset();
    renderer.ShareSamples(kept ? &*kept : nullptr, into ? &*into : nullptr);
    PictureOutputs outputs(PictureTargets{Name(pictures_, frame), Name(raw_, frame), video_.get()},
                           job, job.height, FormatPlace(framePlace));
    if (!outputs.Open(reason))
        return false;
    const bool drawn = DrawPicture(renderer, job, 0, job.height, outputs, [&](int rows) {
        progress_->Show(index, double(rows) / job.height);
    });
    if (!drawn) {
        // The failure's reason comes with the file (or the video) that failed.
        if (outputs.Finish(reason) && video_)
            video_->Finish(reason);
        if (reason.empty())
            reason = "frame " + std::to_string(frame) + " could not be written";
        return false;
    }
    if (!outputs.Finish(reason))
        return false;
    kept = std::move(into);
    progress_->Show(index + 1, 0.0);
    return true;
}

int Film::DrawFrames()
{
    std::string reason;
    if (!o_.video.empty()) {
        VideoSettings settings;
        settings.output = o_.video;
        settings.width = job_.width;
        settings.height = job_.height;
        settings.frameRate = o_.fps;
        video_ = std::make_unique<VideoPipe>(settings);
        const HeldTerminationSignals held;
        if (!video_->Open(reason))
            return Fail(kNotWritten, reason);
        RemoveOnTermination(video_->TemporaryPath(), kVideoSlot);
        KillOnTermination(video_->Child());
    }
    progress_ = std::make_unique<SequenceProgress>(int(frames_.size()), !o_.quiet && ::isatty(STDERR_FILENO));
    std::optional<SharedSamples> kept;
    for (size_t i = 0; i < frames_.size(); ++i)
        if (!DrawFrame(int(i), kept, reason)) {
            KillOnTermination(-1);
            return Fail(kNotWritten, reason);
        }
    if (video_) {
        const HeldTerminationSignals held;
        KillOnTermination(-1);
        const bool finished = video_->Finish(reason);
        RemoveOnTermination({}, kVideoSlot);
        if (!finished)
            return Fail(kNotWritten, reason);
    }
    return 0;
}

int Film::Run()
{
    std::string error;
    if (!Prepare(error))
        return Fail(kBadUse, error);
    return DrawFrames();
}

}  // namespace

int RenderFilm(const RenderOptions& options, const Place& place, const PictureJob& job)
{
    return Film(options, place, job).Run();
}
