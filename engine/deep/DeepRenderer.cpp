#include "engine/deep/DeepRenderer.h"

#include <algorithm>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "engine/RenderWorkers.h"
#include "engine/deep/DeepBla.h"

struct DeepRenderer::Orbits {
    std::vector<ReferenceOrbit> orbits;  // [0]: the orbit of 0, where every pixel starts
    std::vector<BlaTable> tables;        // one for each orbit, when spans are used
    std::vector<DeepComplex> starts;     // where each orbit starts: [0] is 0
};

namespace {

constexpr long double kEscape = 10.0L;
// |z| <= |re| + |im|: below this no point escapes, and its square, which may
// underflow where a part of z is tiny, is not needed.
constexpr long double kEscapeTaxi = 3.16L;
constexpr int kCancelEveryPixels = 16;

// |a| < |b| where the squares underflow (differences of 10^-2500 and below).
[[gnu::noinline]] bool NearerWhenTiny(DeepComplex a, DeepComplex b)
{
    return Norm(0x1p8000L * a) < Norm(0x1p8000L * b);
}

// |a| < |b|. The taxi sizes settle it unless the two are within a factor
// sqrt 2 of each other (|a| <= |re| + |im| <= sqrt 2 |a|), which also
// spares squaring a difference of 10^-2500 or less: its square underflows,
// slowly on the x87.
inline bool Nearer(DeepComplex a, DeepComplex b)
{
    constexpr long double kSqrt2 = 1.41421356237309504880L;
    constexpr long double kTiny = 0x1p-16000L;
    const long double ta = TaxiSize(a);
    const long double tb = TaxiSize(b);
    if (tb * kSqrt2 < ta)
        return false;
    if (ta * kSqrt2 < tb)
        return true;
    const long double na = Norm(a);
    const long double nb = Norm(b);
    if (na >= kTiny || nb >= kTiny)
        return na < nb;
    return NearerWhenTiny(a, b);
}

// |z|^2 >= 10, the escape.
inline bool Escaped(DeepComplex z) { return TaxiSize(z) >= kEscapeTaxi && Norm(z) >= kEscape; }

void Add(DeepStats& total, const DeepStats& part)
{
    total.pixelSteps += part.pixelSteps;
    total.exactSteps += part.exactSteps;
    total.spanSteps += part.spanSteps;
    total.spans += part.spans;
    total.rebases += part.rebases;
}

// One pixel's orbit, as the difference d from a reference orbit point W(m):
// the pixel's z is W(m) + d after n steps.
template <typename Formula>
class PixelOrbit {
public:
    PixelOrbit(const Formula& formula, const DeepRenderer::Orbits& orbits, uint32_t limit, bool spans)
        : formula_(formula), orbits_(orbits), limit_(limit), spans_(spans)
    {
    }

    DeepPixel Run(DeepComplex dc, DeepStats& stats) const
    {
        State s;
        uint64_t exact = 0;
        while (s.n < limit_) {
            if (spans_ && s.m >= 1 && s.n >= s.singlesUntil &&
                orbits_.tables[s.orbit].MayStart(s.m, TaxiSize(s.d)) && TakeSpan(s, dc, stats))
                continue;
            if (Steps(s, dc, exact, stats)) {
                stats.exactSteps += exact;
                stats.pixelSteps += s.n;
                return {s.n - 1, double(s.last), double(Norm(s.previous))};
            }
        }
        stats.exactSteps += exact;
        stats.pixelSteps += limit_;
        return {limit_, 0.0, 0.0};
    }

private:
    struct State {
        DeepComplex d;
        size_t m = 0;
        size_t orbit = 0;
        uint32_t n = 0;
        DeepComplex previous;      // the iterate before the current one
        long double last = 0.0L;   // |z|^2 of the iterate that escaped
        uint32_t singlesUntil = 0;    // steps up to here are taken one by one
    };

    // Perturbed steps one by one from the pixel's point, in locals, until it
    // escapes (true), reaches the limit, rebases, or may take a span again.
    bool Steps(State& s, DeepComplex dc, uint64_t& exact, DeepStats& stats) const
    {
        const ReferenceOrbit& orbit = Orbit(s);
        const DeepComplex* points = orbit.points.data();
        const DeepComplex* slopes = orbit.slopes.data();
        const size_t end = orbit.Last();
        const BlaTable* table = spans_ ? &orbits_.tables[s.orbit] : nullptr;
        const bool onlyZero = orbits_.starts.size() == 1;
        DeepComplex d = s.d;
        size_t m = s.m;
        uint32_t n = s.n;
        for (;;) {
            d = PerturbedStep(formula_, points[m], Formula::kUsesSlopes ? slopes[m] : DeepComplex{}, d, dc);
            ++m;
            ++n;
            ++exact;
            const DeepComplex z = points[m] + d;
            if (Escaped(z)) {
                s.n = n;
                s.last = Norm(z);
                return true;
            }
            s.previous = z;
            const bool leave = m == end || n >= limit_ || !onlyZero || Nearer(z, d) ||
                               (table && n >= s.singlesUntil && table->MayStart(m, TaxiSize(d)));
            if (leave) {
                s.d = d;
                s.m = m;
                s.n = n;
                Rebase(s, z, stats);
                return false;
            }
        }
    }

    // The longest valid span from the pixel's point, unless the pixel leaves
    // the circle at its end: then the steps inside are taken one by one, to
    // find the step it escaped at and the iterate before. True if taken.
    bool TakeSpan(State& s, DeepComplex dc, DeepStats& stats) const
    {
        uint32_t length = 0;
        const BlaSpan* span = orbits_.tables[s.orbit].Find(s.m, TaxiSize(s.d), limit_ - s.n, length);
        if (!span)
            return false;
        const DeepComplex d = span->a * s.d + span->b * dc;
        const DeepComplex z = Orbit(s).points[s.m + length] + d;
        if (Escaped(z)) {
            s.singlesUntil = s.n + length;
            return false;
        }
        s.d = d;
        s.m += length;
        s.n += length;
        stats.spanSteps += length;
        ++stats.spans;
        s.previous = z;
        Rebase(s, z, stats);
        return true;
    }

    const ReferenceOrbit& Orbit(const State& s) const { return orbits_.orbits[s.orbit]; }

    // Rebasing: when the pixel's z is nearer the start of an orbit (0, or a
    // critical point) than to the orbit point it follows, or that orbit has
    // ended, the difference from that start takes over, from its point 0.
    void Rebase(State& s, DeepComplex z, DeepStats& stats) const
    {
        size_t best = 0;
        DeepComplex nearest = z;
        for (size_t j = 1; j < orbits_.starts.size(); ++j) {
            const DeepComplex d = z - orbits_.starts[j];
            if (Nearer(d, nearest)) {
                best = j;
                nearest = d;
            }
        }
        if (s.m == Orbit(s).Last() || Nearer(nearest, s.d)) {
            s.d = nearest;
            s.m = 0;
            s.orbit = best;
            ++stats.rebases;
        }
    }

    const Formula& formula_;
    const DeepRenderer::Orbits& orbits_;
    const uint32_t limit_;
    const bool spans_;
};

// Rows of a picture that threads take one at a time.
struct Band {
    Band(const DeepJob& job, int first, int end, DeepPixel* out, const std::atomic<bool>& cancel,
         DeepProgress* progress)
        : job(job), first(first), end(end), out(out), cancel(cancel), progress(progress), next(first)
    {
        for (int x = 0; x < job.width; ++x)
            columns.push_back(PixelOffset(x, job.width, job.pitchX));
    }

    const DeepJob& job;
    const int first, end;
    DeepPixel* const out;
    const std::atomic<bool>& cancel;
    DeepProgress* const progress;
    std::vector<long double> columns;  // each column's offset from the centre
    std::atomic<int> next;
};

// Draws rows of the band until none is left or cancel is set.
template <typename Formula>
void DrawRows(const PixelOrbit<Formula>& pixels, Band& band, DeepStats& stats)
{
    const DeepJob& job = band.job;
    for (int y; (y = band.next++) < band.end && !band.cancel.load(std::memory_order_relaxed);) {
        const long double dy = PixelOffset(y, job.height, job.pitchY);
        DeepPixel* row = band.out + size_t(y - band.first) * size_t(job.width);
        int x = 0;
        for (; x < job.width; ++x) {
            if (x % kCancelEveryPixels == 0 && band.cancel.load(std::memory_order_relaxed))
                break;
            row[x] = pixels.Run({band.columns[size_t(x)], dy}, stats);
        }
        if (band.progress && x == job.width)
            ++band.progress->rowsDone;
    }
}

// Runs work on this thread and up to threads - 1 more (no more than rows).
void OnThreads(int threads, int rows, const std::function<void()>& work)
{
    std::vector<std::thread> helpers;
    try {
        for (int i = 1; i < std::min(threads, rows); ++i)
            helpers.emplace_back(work);
    } catch (const std::system_error&) {
        // Fewer helpers, or none: this thread takes the rows that are left.
    }
    work();
    for (std::thread& t : helpers)
        t.join();
}

}  // namespace

DeepRenderer::DeepRenderer(const DeepJob& job, const DeepSettings& settings)
    : job_(job), settings_(settings), fault_(CheckDeepJob(job))
{
    if (fault_ == DeepFault::None)
        bits_ = ReferenceBits(job_);
}

DeepRenderer::~DeepRenderer() = default;

bool DeepRenderer::Prepare(const std::atomic<bool>& cancel, DeepProgress* progress)
{
    if (fault_ != DeepFault::None)
        return false;
    if (orbits_)
        return true;
    auto orbits = std::make_unique<Orbits>();
    orbits->starts.push_back({});
    if (job_.type == 4 && settings_.criticalOrbits)
        for (const DeepComplex& point : QuarticCriticalPoints(job_.params))
            orbits->starts.push_back(point);
    const long double largestDc = Modulus(
        {PixelOffset(0, job_.width, job_.pitchX), PixelOffset(0, job_.height, job_.pitchY)});
    for (const DeepComplex& start : orbits->starts) {
        ReferenceOrbit orbit;
        if (!ComputeReferenceOrbit(job_, start, bits_, orbit, cancel, progress ? &progress->referenceSteps : nullptr))
            return false;
        if (settings_.bla)
            orbits->tables.push_back(WithDeepFormula(job_.type, job_.params, [&](const auto& formula) {
                return BlaTable(orbit, formula, largestDc);
            }));
        orbits->orbits.push_back(std::move(orbit));
    }
    orbits_ = std::move(orbits);
    return true;
}

bool DeepRenderer::RenderRows(int first, int count, DeepPixel* out, const std::atomic<bool>& cancel,
                              DeepProgress* progress)
{
    if (first < 0 || count < 0 || first + count > job_.height || !Prepare(cancel, progress))
        return false;
    Band band{job_, first, first + count, out, cancel, progress};
    std::mutex statsMutex;
    WithDeepFormula(job_.type, job_.params, [&](const auto& formula) {
        const PixelOrbit pixels(formula, *orbits_, job_.limit, settings_.bla);
        OnThreads(settings_.threads > 0 ? settings_.threads : RenderThreadCount(), count, [&] {
            DeepStats stats;
            DrawRows(pixels, band, stats);
            std::lock_guard<std::mutex> lock(statsMutex);
            Add(stats_, stats);
        });
    });
    return !cancel.load();
}

size_t DeepRenderer::OrbitPoints() const
{
    size_t n = 0;
    if (orbits_)
        for (const ReferenceOrbit& o : orbits_->orbits)
            n += o.points.size();
    return n;
}

size_t DeepRenderer::TableSpans() const
{
    size_t n = 0;
    if (orbits_)
        for (const BlaTable& t : orbits_->tables)
            n += t.Spans();
    return n;
}
