#include "render/PictureOutputs.h"

#include <algorithm>

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
        picture_.emplace(targets.picture, PictureFormatOfName(targets.picture), job.width, rows, kPlacePngKey, place);
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

bool PictureOutputs::Take(const PictureRenderer& renderer, const uint8_t* rgb, int rows)
{
    if (failed_)
        return false;
    if (picture_ && !picture_->WriteRows(rgb, rows))
        failed_ = true;
    if (targets_.video && !targets_.video->WriteRows(rgb, rows))
        failed_ = true;
    if (raw_ && !failed_) {
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
        if (!raw_->WriteRows(counts_.data(), fractions_.empty() ? nullptr : fractions_.data(), rows))
            failed_ = true;
    }
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

bool DrawPicture(PictureRenderer& renderer, const PictureJob& job, int first, int end, PictureOutputs& outputs,
                 const std::function<void(int rows)>& done)
{
    const int band = BandRowsFor(job.width, job.samples);
    std::vector<uint8_t> rgb(size_t(job.width) * 3 * size_t(band));
    const std::atomic<bool> never{false};
    for (int y = first; y < end; y += band) {
        const int count = std::min(band, end - y);
        if (!renderer.ComputeRows(y, count, never))
            return false;
        renderer.PaintRows(rgb.data());
        if (!outputs.Take(renderer, rgb.data(), count))
            return false;
        done(y + count - first);
    }
    return true;
}
