#include "render/PictureOutputs.h"

#include <algorithm>
#include <future>

#include "engine/Place.h"
#include "render/TerminationSignals.h"

namespace {

constexpr int kPictureSlot = 0;
constexpr int kRawSlot = 1;

}  // namespace

PictureOutputs::PictureOutputs(const PictureTargets& targets, const PictureJob& job, int rows,
                               const std::string& place)
    : targets_(targets), width_(job.width)
{
    if (!targets.picture.empty())
        picture_.emplace(targets.picture, PictureFormatOfName(targets.picture), job.width, rows, kPlacePngKey, place,
                         PngRowFilterOf(job));
    if (!targets.raw.empty())
        raw_.emplace(targets.raw, RawIterationLayout{job.width, rows, uint32_t(job.region.iteration.limit),
                                                     job.coloring == Coloring::Smooth, kPlacePngKey, place});
}

PictureOutputs::~PictureOutputs()
{
    const HeldTerminationSignals held;
    picture_.reset();
    raw_.reset();
    RemoveOnTermination({}, kPictureSlot);
    RemoveOnTermination({}, kRawSlot);
}

bool PictureOutputs::Open(std::string& reason)
{
    const HeldTerminationSignals held;
    std::string why;
    if (picture_) {
        if (picture_->Open(why) != FileWriteResult::Written) {
            reason = targets_.picture + ": " + why;
            return false;
        }
        RemoveOnTermination(picture_->TemporaryPath(), kPictureSlot);
    }
    if (raw_) {
        if (raw_->Open(why) != FileWriteResult::Written) {
            reason = targets_.raw + ": " + why;
            return false;
        }
        RemoveOnTermination(raw_->TemporaryPath(), kRawSlot);
    }
    return true;
}

void PictureOutputs::Stage(const PictureRenderer& renderer, int rows)
{
    if (!raw_ || failed_)
        return;
    // The renderer's samples go column after column; one a pixel here.
    const std::vector<EscapeCount>& counts = renderer.Counts();
    const std::vector<float>& fractions = renderer.Fractions();
    const size_t size = size_t(width_) * size_t(rows);
    counts_.resize(size);
    fractions_.resize(fractions.empty() ? 0 : size);
    for (int x = 0; x < width_; ++x)
        for (int y = 0; y < rows; ++y) {
            const size_t from = size_t(x) * size_t(rows) + size_t(y);
            const size_t to = size_t(y) * size_t(width_) + size_t(x);
            counts_[to] = uint32_t(counts[from]);
            if (!fractions.empty())
                fractions_[to] = fractions[from];
        }
}

bool PictureOutputs::Write(const uint8_t* rgb, int rows)
{
    if (failed_)
        return false;
    if (picture_ && !picture_->WriteRows(rgb, rows))
        failed_ = true;
    if (targets_.video && !targets_.video->WriteRows(rgb, rows))
        failed_ = true;
    if (raw_ && !failed_ &&
        !raw_->WriteRows(counts_.data(), fractions_.empty() ? nullptr : fractions_.data(), rows))
        failed_ = true;
    return !failed_;
}

bool PictureOutputs::Finish(std::string& reason)
{
    const HeldTerminationSignals held;
    std::string why;
    bool done = true;
    if (picture_ && picture_->Finish(why) != FileWriteResult::Written) {
        reason = targets_.picture + ": " + why;
        done = false;
    }
    picture_.reset();
    RemoveOnTermination({}, kPictureSlot);
    if (raw_ && done && raw_->Finish(why) != FileWriteResult::Written) {
        reason = targets_.raw + ": " + why;
        done = false;
    }
    raw_.reset();
    RemoveOnTermination({}, kRawSlot);
    return done;
}

namespace {

// Rows drawn at a time: about an eighth of the picture, so that writing a
// band overlaps computing the next, where that divides no rows from their
// mirror rows (a picture across the real axis keeps its one band) and the
// renderer's bands are not already smaller.
int DrawnBandRows(const PictureRenderer& renderer, const PictureJob& job, int first, int end)
{
    constexpr int kBands = 8;
    constexpr int kLeastRows = 16;
    const int band = BandRowsFor(job.width, job.samples);
    const int n = job.samples;
    const PlaneRegion samples = job.region.plane.AtSize(job.width * n, job.height * n);
    const long double top = samples.RenderIm(first * n);
    const long double bottom = samples.RenderIm(end * n - 1);
    if (renderer.Deep() || !(top > 0 ? bottom > 0 : top < 0 && bottom < 0))
        return band;
    return std::min(band, std::max(kLeastRows, (end - first + kBands - 1) / kBands));
}

}  // namespace

bool DrawPicture(PictureRenderer& renderer, const PictureJob& job, int first, int end, PictureOutputs& outputs,
                 const std::function<void(int rows)>& done)
{
    const int band = DrawnBandRows(renderer, job, first, end);
    std::vector<uint8_t> rgb(size_t(job.width) * 3 * size_t(band));
    const std::atomic<bool> never{false};
    std::future<bool> writing;  // the band before, being written
    const auto written = [&] { return !writing.valid() || writing.get(); };
    for (int y = first; y < end; y += band) {
        const int count = std::min(band, end - y);
        if (!renderer.ComputeRows(y, count, never) || !written())
            return false;
        if (y > first)
            done(y - first);
        renderer.PaintRows(rgb.data());
        outputs.Stage(renderer, count);
        writing = std::async(std::launch::async, [&outputs, &rgb, count] { return outputs.Write(rgb.data(), count); });
    }
    if (!written())
        return false;
    done(end - first);
    return true;
}
