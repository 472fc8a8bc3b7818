#include "engine/PictureRenderer.h"

#include <algorithm>
#include <thread>

#include "engine/ColumnKernels.h"
#include "engine/CountColors.h"
#include "engine/DeepPictures.h"
#include "engine/RenderWorkers.h"
#include "engine/SharedSamples.h"

namespace {

// Each sRGB value's linear light, times 2^24, rounded.
constexpr uint32_t kLinear[256] = {
    0, 5092, 10185, 15277, 20369, 25462, 30554, 35646,
    40739, 45831, 50923, 56146, 61682, 67524, 73676, 80144,
    86931, 94043, 101483, 109255, 117364, 125813, 134607, 143749,
    153244, 163095, 173306, 183880, 194821, 206133, 217819, 229883,
    242327, 255157, 268373, 281981, 295983, 310382, 325182, 340386,
    355996, 372016, 388449, 405298, 422565, 440255, 458369, 476910,
    495881, 515286, 535127, 555406, 576126, 597291, 618902, 640963,
    663476, 686443, 709868, 733752, 758099, 782910, 808189, 833938,
    860159, 886854, 914027, 941680, 969814, 998433, 1027538, 1057133,
    1087218, 1117798, 1148873, 1180447, 1212520, 1245097, 1278179, 1311767,
    1345865, 1380475, 1415598, 1451237, 1487394, 1524071, 1561270, 1598994,
    1637244, 1676023, 1715332, 1755173, 1795550, 1836463, 1877915, 1919907,
    1962442, 2005522, 2049149, 2093324, 2138049, 2183328, 2229161, 2275550,
    2322497, 2370005, 2418074, 2466708, 2515908, 2565675, 2616012, 2666920,
    2718402, 2770458, 2823092, 2876304, 2930097, 2984472, 3039432, 3094977,
    3151110, 3207832, 3265145, 3323052, 3381553, 3440650, 3500346, 3560641,
    3621538, 3683038, 3745144, 3807855, 3871176, 3935106, 3999648, 4064803,
    4130573, 4196960, 4263965, 4331589, 4399836, 4468706, 4538200, 4608321,
    4679069, 4750448, 4822457, 4895099, 4968376, 5042288, 5116838, 5192027,
    5267856, 5344328, 5421443, 5499204, 5577611, 5656667, 5736372, 5816729,
    5897738, 5979402, 6061722, 6144699, 6228335, 6312631, 6397589, 6483210,
    6569496, 6656448, 6744068, 6832357, 6921317, 7010948, 7101253, 7192233,
    7283889, 7376223, 7469237, 7562930, 7657306, 7752366, 7848110, 7944540,
    8041658, 8139465, 8237963, 8337152, 8437035, 8537612, 8638885, 8740855,
    8843524, 8946893, 9050964, 9155737, 9261215, 9367397, 9474287, 9581885,
    9690192, 9799210, 9908940, 10019383, 10130542, 10242416, 10355008, 10468318,
    10582349, 10697100, 10812575, 10928773, 11045697, 11163346, 11281724, 11400831,
    11520668, 11641236, 11762538, 11884573, 12007344, 12130852, 12255098, 12380082,
    12505807, 12632274, 12759484, 12887438, 13016137, 13145583, 13275776, 13406719,
    13538412, 13670857, 13804054, 13938006, 14072712, 14208175, 14344396, 14481375,
    14619114, 14757615, 14896878, 15036905, 15177696, 15319253, 15461578, 15604671,
    15748533, 15893166, 16038571, 16184750, 16331702, 16479430, 16627934, 16777216,
};

// A block of sample columns a worker takes at a time.
constexpr int kColumnsPerTask = 64;
constexpr size_t kBandCounts = 16 * 1024 * 1024;

}  // namespace

PngRowFilter PngRowFilterOf(const PictureJob& job)
{
    return job.samples == 1 && job.coloring != Coloring::Smooth ? PngRowFilter::None : PngRowFilter::Adaptive;
}

int BandRowsFor(int width, int samples)
{
    const size_t perRow = size_t(std::max(width, 1)) * size_t(samples) * size_t(samples);
    return int(std::clamp<size_t>(kBandCounts / perRow, 1, 4096));
}

uint32_t LinearOfSrgb(uint8_t value) { return kLinear[value]; }

uint8_t SrgbOfLinear(uint32_t linear)
{
    // The value whose linear light is nearest; a tie goes to the darker.
    const uint32_t* above = std::lower_bound(kLinear, kLinear + 256, linear);
    if (above == kLinear)
        return 0;
    if (above == kLinear + 256)
        return 255;
    const uint32_t* below = above - 1;
    return uint8_t((linear - *below <= *above - linear ? below : above) - kLinear);
}

namespace {

// Runs work(task) for tasks 0..tasks-1 on up to `threads` threads, this one among them.
void RunTasks(int tasks, int threads, const std::atomic<bool>& cancel, const std::function<void(int)>& work)
{
    std::atomic<int> nextTask{0};
    const auto worker = [&] {
        for (int task; !cancel && (task = nextTask++) < tasks;)
            work(task);
    };
    std::vector<std::thread> helpers;
    for (int i = 1; i < std::min(threads, tasks); ++i)
        helpers.emplace_back(worker);
    worker();
    for (std::thread& helper : helpers)
        helper.join();
}

}  // namespace

std::optional<RegionCounts> CountsOfRegion(const PictureRegion& region, int fallbackWidth, int fallbackHeight,
                                           int threads, const std::atomic<bool>& cancel)
{
    const bool own = region.plane.width > 0 && region.plane.height > 0;
    const PlaneRegion plane = region.plane.AtSize(own ? region.plane.width : fallbackWidth,
                                                  own ? region.plane.height : fallbackHeight);
    std::vector<long double> cy(size_t(std::max(plane.height, 0)));
    for (int y = 0; y < plane.height; ++y)
        cy[size_t(y)] = plane.RenderIm(y);
    const int limit = region.iteration.limit;
    const int tasks = (plane.width + kColumnsPerTask - 1) / kColumnsPerTask;
    threads = threads > 0 ? threads : RenderThreadCount();
    std::vector<CountTally> tallies(size_t(std::max(tasks, 0)), CountTally(0));
    const std::unique_ptr<DeepRenderer> deep = DeepRendererFor(region.iteration, region.plane, region.centre, plane, threads);
    if (deep) {
        std::vector<EscapeCount> counts(size_t(plane.width) * size_t(plane.height));
        if (!DeepSampleColumns(*deep, 0, plane.height, counts.data(), nullptr, cancel))
            return std::nullopt;
        tallies.assign(1, CountTally(limit));
        for (EscapeCount n : counts)
            tallies[0].Add(n);
    }
    RunTasks(deep ? 0 : tasks, threads, cancel, [&](int task) {
        CountTally tally(limit);
        std::vector<EscapeCount> counts(cy.size());
        for (int x = task * kColumnsPerTask; x < std::min(plane.width, (task + 1) * kColumnsPerTask); ++x) {
            IterateColumn(region.iteration, plane.RenderRe(x), cy.data(), plane.height, counts.data());
            for (EscapeCount n : counts)
                tally.Add(n);
        }
        tallies[size_t(task)] = std::move(tally);
    });
    if (cancel)
        return std::nullopt;
    RegionCounts whole{CountTally(limit), CountSummary{}};
    whole.summary.limit = limit;
    for (const CountTally& t : tallies)
        whole.tally.Merge(t);
    // Every escaped count is in the tally; the rest were captured.
    const std::vector<uint32_t>& byCount = whole.tally.ByCount();
    for (size_t n = 0; n < byCount.size(); ++n)
        whole.summary.Add(EscapeCount(n), byCount[n]);
    const uint64_t points = uint64_t(std::max(plane.width, 0)) * uint64_t(std::max(plane.height, 0));
    whole.summary.Add(limit, points - whole.summary.escaped);
    return whole;
}

int32_t SettledAutomaticLimit(const PictureRegion& region, int fallbackWidth, int fallbackHeight, int threads,
                              const std::atomic<bool>& cancel)
{
    PictureRegion at = region;
    // Each choice is a level, and after a lower one the rule keeps it: a few
    // rounds at most.
    for (size_t round = 0; round < 2 * std::size(kLimitLevels); ++round) {
        const std::optional<RegionCounts> counts = CountsOfRegion(at, fallbackWidth, fallbackHeight, threads, cancel);
        if (!counts)
            return region.iteration.limit;
        const int32_t next = NextAutomaticLimit(counts->summary);
        if (next == at.iteration.limit)
            break;
        at.iteration.limit = next;
    }
    return at.iteration.limit;
}

PictureRenderer::PictureRenderer(const PictureJob& job)
    : job_(job),
      sampleWidth_(job.width * job.samples),
      sampleHeight_(job.height * job.samples),
      samplePlane_(job.region.plane.AtSize(sampleWidth_, sampleHeight_)),
      threads_(job.threads > 0 ? job.threads : RenderThreadCount()),
      sampleX_(size_t(sampleWidth_))
{
    // The samples are the pixels of the larger picture, mapped by the render's rule.
    for (int x = 0; x < sampleWidth_; ++x)
        sampleX_[size_t(x)] = samplePlane_.RenderRe(x);
    deep_ = DeepRendererFor(job.region.iteration, job.region.plane, job.region.centre, samplePlane_, threads_);
}

PictureRenderer::~PictureRenderer() = default;

bool PictureRenderer::MakePainter(const std::atomic<bool>& cancel)
{
    const PictureDepth depth{job_.region.iteration.limit, job_.coloring};
    if (depth.coloring != Coloring::Histogram) {
        painter_.emplace(depth);
    } else {
        const std::optional<RegionCounts> counts =
            CountsOfRegion(job_.region, job_.width, job_.height, threads_, cancel);
        if (!counts)
            return false;
        painter_.emplace(depth, &counts->tally);
    }
    painter_->TakeMap(job_.colors);
    return true;
}

void PictureRenderer::ShareSamples(const SharedSamples* from, SharedSamples* into)
{
    // The deep renderer's counts are its own: a deep picture shares nothing.
    sharedFrom_ = deep_ ? nullptr : from;
    sharedInto_ = deep_ ? nullptr : into;
}

// `rows` rows of sample column x, at the imaginary parts cy.
void PictureRenderer::ComputeRun(int x, const long double* cy, int rows, EscapeCount* counts, float* fractions,
                                 EscapeEnd* ends) const
{
    if (rows <= 0)
        return;
    IterateColumn(job_.region.iteration, sampleX_[size_t(x)], cy, rows, counts, fractions ? ends : nullptr);
    for (int y = 0; fractions && y < rows; ++y)
        fractions[y] = IsEscapeCount(counts[y], job_.region.iteration.limit) ? SmoothFraction(ends[y]) : 0.0f;
}

// This column's samples that a picture drawn after this one shares.
void PictureRenderer::KeepShared(int x, int first, int sampleRows, const EscapeCount* counts,
                                 const float* fractions) const
{
    SharedSamples& into = *sharedInto_;
    const std::optional<int> column = into.OuterColumn(x);
    if (!column)
        return;
    for (int y = 0; y < sampleRows; ++y)
        if (const std::optional<int> row = into.OuterRow(first + y)) {
            into.counts[into.At(*column, *row)] = counts[y];
            if (fractions && !into.fractions.empty())
                into.fractions[into.At(*column, *row)] = fractions[y];
        }
}

void PictureRenderer::ComputeColumns(int firstSampleRow, int sampleRows, int firstColumn, int endColumn,
                                     EscapeCount* counts, float* fractions) const
{
    std::vector<long double> cy(static_cast<size_t>(sampleRows));
    for (int y = 0; y < sampleRows; ++y)
        cy[size_t(y)] = samplePlane_.RenderIm(firstSampleRow + y);
    std::vector<EscapeEnd> ends(fractions ? cy.size() : 0);
    const int endRow = firstSampleRow + sampleRows;
    for (int x = firstColumn; x < endColumn; ++x) {
        const size_t column = size_t(x) * size_t(sampleRows);
        EscapeCount* c = &counts[column];
        float* f = fractions ? &fractions[column] : nullptr;
        const SharedSamples* from = sharedFrom_;
        if (!from || x < from->firstColumn || x >= from->endColumn || endRow <= from->firstRow ||
            firstSampleRow >= from->endRow) {
            ComputeRun(x, cy.data(), sampleRows, c, f, ends.data());
        } else {
            // Above the shared rows, the shared rows themselves, below them.
            const int top = std::max(firstSampleRow, from->firstRow);
            const int bottom = std::min(endRow, from->endRow);
            ComputeRun(x, cy.data(), top - firstSampleRow, c, f, ends.data());
            for (int y = top; y < bottom; ++y) {
                c[y - firstSampleRow] = from->counts[from->At(x, y)];
                if (f)
                    f[y - firstSampleRow] = from->fractions[from->At(x, y)];
            }
            const int below = bottom - firstSampleRow;
            ComputeRun(x, cy.data() + below, endRow - bottom, c + below, f ? f + below : nullptr, ends.data());
        }
        if (sharedInto_)
            KeepShared(x, firstSampleRow, sampleRows, c, f);
    }
}

bool PictureRenderer::RenderRows(int first, int count, uint8_t* rgb, const std::atomic<bool>& cancel)
{
    if (!ComputeRows(first, count, cancel))
        return false;
    PaintRows(rgb);
    return true;
}

bool PictureRenderer::ComputeRows(int first, int count, const std::atomic<bool>& cancel)
{
    if (!painter_ && !MakePainter(cancel))
        return false;
    const int n = job_.samples;
    const int sampleRows = count * n;
    const size_t samples = size_t(sampleWidth_) * size_t(sampleRows);
    bandRows_ = count;
    counts_.resize(samples);
    // The smooth colouring's fractions, worked out beside the counts.
    fractions_.resize(painter_->UsesEnds() ? samples : 0);
    const int tasks = (sampleWidth_ + kColumnsPerTask - 1) / kColumnsPerTask;
    if (deep_ && !DeepSampleColumns(*deep_, first * n, sampleRows, counts_.data(),
                                    fractions_.empty() ? nullptr : fractions_.data(), cancel))
        return false;
    RunTasks(deep_ ? 0 : tasks, threads_, cancel, [&](int task) {
        ComputeColumns(first * n, sampleRows, task * kColumnsPerTask,
                       std::min(sampleWidth_, (task + 1) * kColumnsPerTask), counts_.data(),
                       fractions_.empty() ? nullptr : fractions_.data());
    });
    return !cancel;
}

void PictureRenderer::PaintRows(uint8_t* rgb) const
{
    const CountPainter& painter = *painter_;
    const int n = job_.samples;
    const int count = bandRows_;
    const int sampleRows = count * n;
    const std::vector<EscapeCount>& counts = counts_;
    const std::vector<float>& fractions = fractions_;
    const auto colorAt = [&](size_t sample) {
        return painter.ColorOfFraction(counts[sample], fractions.empty() ? 0.0 : double(fractions[sample]));
    };
    if (n == 1) {
        // One sample: the count's own colour, as the render paints it.
        for (int y = 0; y < count; ++y)
            for (int x = 0; x < job_.width; ++x) {
                const ColorMapEntry e = EntryOfColorWord(colorAt(size_t(x) * size_t(sampleRows) + size_t(y)));
                uint8_t* pixel = rgb + (size_t(y) * size_t(job_.width) + size_t(x)) * 3;
                pixel[0] = e.red;
                pixel[1] = e.green;
                pixel[2] = e.blue;
            }
        return;
    }
    const uint32_t area = uint32_t(n * n);
    for (int y = 0; y < count; ++y) {
        for (int x = 0; x < job_.width; ++x) {
            uint32_t sum[3] = {0, 0, 0};
            for (int i = 0; i < n; ++i)
                for (int j = 0; j < n; ++j) {
                    const size_t column = size_t(x * n + i);
                    const ColorMapEntry e = EntryOfColorWord(colorAt(column * size_t(sampleRows) + size_t(y * n + j)));
                    sum[0] += kLinear[e.red];
                    sum[1] += kLinear[e.green];
                    sum[2] += kLinear[e.blue];
                }
            uint8_t* pixel = rgb + (size_t(y) * size_t(job_.width) + size_t(x)) * 3;
            for (int k = 0; k < 3; ++k)
                pixel[k] = SrgbOfLinear((sum[k] + area / 2) / area);
        }
    }
}
