#pragma once
// The deep renderer's pixels two at a time: a loop of DeepPair.h steps both
// while they plainly go on, and hands each back here where the one-pixel
// loop (DeepPixelOrbit.h) would decide something: an escape, a rebasing, a
// span. A lane whose pixel is done takes up the next one in place.

#include <algorithm>

#include "engine/deep/DeepPixelOrbit.h"

namespace deep_pixels {

// A pixel to draw: its offset from the centre and where its result goes.
struct PixelTask {
    DeepComplex dc;
    DeepPixel* out = nullptr;
    int row = 0;
};

template <typename Formula>
class PairedPixels {
public:
    using State = typename PixelOrbit<Formula>::State;

    PairedPixels(const PixelOrbit<Formula>& pixels, const Formula& formula, const DeepOrbits& orbits,
                 uint32_t limit, bool spans)
        : pixels_(pixels), formula_(formula), orbits_(orbits), limit_(limit), spans_(spans),
          onlyZero_(orbits.starts.size() == 1)
    {
    }

    // Draws the pixels the feed hands out (feed.Next(task), false when none
    // is left; feed.Stopped(), true when drawing stops; feed.Done(task) after
    // a pixel is written) with loop(pair), which steps the pair and returns
    // the lane that stopped.
    template <typename Feed, typename Loop>
    void Draw(Feed& feed, Loop&& loop, DeepStats& stats) const
    {
        DeepPair pair;
        Lane lanes[2];
        for (int i = 0; i < 2; ++i)
            if (!TakeUp(pair, lanes, i, feed, stats))
                return;
        for (;;) {
            const int i = loop(pair);
            Lane& l = lanes[i];
            Sync(pair.lane[i], l);
            DeepStats scratch;
            DeepStats& into = l.task.out ? stats : scratch;
            const Outcome outcome = pair.lane[i].reason == kLaneMayEscape ? StepOnce(l, into) : AfterStep(l, into);
            if (outcome == Outcome::GoesOn || (outcome == Outcome::Left && Top(l, into))) {
                Load(pair, i, l);
                continue;
            }
            if (l.task.out)
                feed.Done(l.task);
            if (!TakeUp(pair, lanes, i, feed, stats))
                return;
        }
    }

private:
    enum class Outcome { Done, GoesOn, Left };

    struct Lane {
        State s;
        PixelTask task;  // out is null for a lane that only keeps the other company
        const DeepComplex* synced = nullptr;  // the lane's point when the loop last took or left it
        uint64_t exact = 0;
    };

    // The next pixel into lane i, run to its first step; when none is left,
    // the other lane's pixel again, drawn for nothing, so that the loop
    // steps two lanes until the other is done. False once both are idle, or
    // drawing stops.
    template <typename Feed>
    bool TakeUp(DeepPair& pair, Lane* lanes, int i, Feed& feed, DeepStats& stats) const
    {
        Lane& l = lanes[i];
        for (;;) {
            PixelTask task;
            if (!feed.Next(task)) {
                if (feed.Stopped() || !lanes[1 - i].task.out)
                    return false;
                task = lanes[1 - i].task;
                task.out = nullptr;
            }
            l = Lane{};
            l.task = task;
            DeepStats scratch;
            if (Top(l, task.out ? stats : scratch)) {
                Load(pair, i, l);
                return true;
            }
            if (task.out)
                feed.Done(l.task);
        }
    }

    // The top of the one-pixel loop: spans while one may be taken; then true,
    // the pixel steps, or false, it is captured and written.
    bool Top(Lane& l, DeepStats& stats) const
    {
        State& s = l.s;
        while (s.n < limit_) {
            if (spans_ && s.m >= 1 && s.n >= s.singlesUntil &&
                orbits_.tables[s.orbit].MayStart(s.m, TaxiSize(s.d)) && pixels_.TakeSpan(s, l.task.dc, stats))
                continue;
            return true;
        }
        Finish(l, {limit_, 0.0, 0.0}, limit_, stats);
        return false;
    }

    void Finish(Lane& l, const DeepPixel& pixel, uint32_t steps, DeepStats& stats) const
    {
        stats.exactSteps += l.exact;
        stats.pixelSteps += steps;
        if (l.task.out)
            *l.task.out = pixel;
    }

    // The lane into the pair, to step from its point until it leaves.
    void Load(DeepPair& pair, int i, Lane& l) const
    {
        const State& s = l.s;
        const ReferenceOrbit& orbit = pixels_.Orbit(s);
        DeepLane& p = pair.lane[i];
        p.dRe = s.d.re;
        p.dIm = s.d.im;
        p.dcRe = l.task.dc.re;
        p.dcIm = l.task.dc.im;
        p.point = orbit.points.data() + s.m;
        p.gate = orbits_.gates[s.orbit].data() + s.m;
        const size_t steps = onlyZero_ ? std::min<size_t>(orbit.Last() - s.m, limit_ - s.n) : 1;
        p.stop = p.point + steps;
        p.singles = p.point + (s.singlesUntil > s.n ? s.singlesUntil - s.n : 0);
        p.tiny = TaxiSize(s.d) < kProductsUnderflow;
        p.reason = kLaneRunning;
        pair.points[i] = orbit.points.data();
        pair.slopes[i] = orbit.slopes.data();
        l.synced = p.point;
    }

    // The steps the loop took, into the lane's state; the iterate before the
    // next step is the point reached.
    void Sync(const DeepLane& p, Lane& l) const
    {
        const size_t taken = size_t(p.point - l.synced);
        if (taken == 0)
            return;
        State& s = l.s;
        s.m += taken;
        s.n += uint32_t(taken);
        l.exact += taken;
        s.d = {p.dRe, p.dIm};
        s.previous = pixels_.Orbit(s).points[s.m] + s.d;
        l.synced = p.point;
    }

    // One step as the one-pixel loop takes it.
    Outcome StepOnce(Lane& l, DeepStats& stats) const
    {
        State& s = l.s;
        const ReferenceOrbit& orbit = pixels_.Orbit(s);
        const DeepComplex slope = Formula::kUsesSlopes ? orbit.slopes[s.m] : DeepComplex{};
        s.d = PerturbedStep(formula_, orbit.points[s.m], slope, s.d, l.task.dc);
        ++s.m;
        ++s.n;
        ++l.exact;
        return AfterStep(l, stats);
    }

    // What the one-pixel loop asks after a step: has the pixel escaped (it is
    // done), or does it leave the steps, to rebase or take a span?
    Outcome AfterStep(Lane& l, DeepStats& stats) const
    {
        State& s = l.s;
        const DeepComplex z = pixels_.Orbit(s).points[s.m] + s.d;
        if (Escaped(z)) {
            s.last = Norm(z);
            Finish(l, {s.n - 1, double(s.last), double(Norm(s.previous))}, s.n, stats);
            return Outcome::Done;
        }
        s.previous = z;
        const BlaTable* table = spans_ ? &orbits_.tables[s.orbit] : nullptr;
        const bool leave = s.m == pixels_.Orbit(s).Last() || s.n >= limit_ || !onlyZero_ || Nearer(z, s.d) ||
                           (table && s.n >= s.singlesUntil && table->MayStart(s.m, TaxiSize(s.d)));
        if (!leave)
            return Outcome::GoesOn;
        pixels_.Rebase(s, z, stats);
        return Outcome::Left;
    }

    const PixelOrbit<Formula>& pixels_;
    const Formula& formula_;
    const DeepOrbits& orbits_;
    const uint32_t limit_;
    const bool spans_;
    const bool onlyZero_;
};

}  // namespace deep_pixels
