#include "engine/deep/DeepBla.h"

#include <algorithm>
#include <bit>
#include <cmath>

// Why the radii hold.
//
// One perturbed step is d' = a1 d + N(d) + dc with N(d) = a2 d^2 + a3 d^3 +
// a4 d^4 (DeepSteps.h). Computed in long double, the product a1 d alone
// carries a rounding error of up to about eps |a1| |d|, eps = 2^-64. The
// linear step d' = a1 d + dc leaves out N(d), and for |d| <= r <= 1
//   |N(d)| <= |d|^2 (|a2| + |a3| + |a4|) = |d|^2 S <= |d| r S,
// so with r = eps |a1| / S the part left out is no larger than the rounding
// the exact step makes anyway (r at most 1, so that |d|^3, |d|^4 <= |d|^2;
// 0 where a1 = 0, at a critical point). The single step's radius is that r,
// and at most eps |Z|, so that inside any span |Z + d| is |Z| to a relative
// eps (below).
//
// Two spans x (from point m, lx steps) and y (from m + lx) make one:
//   d(m + lx) = Ax d(m) + Bx dc,  d(m + lx + ly) = Ay d(m + lx) + By dc,
// so A = Ay Ax and B = Ay Bx + By. Span x holds while |d(m)| < rx; then
// |d(m + lx)| <= |Ax| |d(m)| + |Bx| |dc|, which is below ry, and y holds,
// while |d(m)| < (ry - |Bx| |dc|) / |Ax|. With |dc| the largest of the
// picture, the radius min(rx, max(0, (ry - |Bx| |dc|) / |Ax|)) is valid for
// every pixel, and the table is the view's alone: the same for every band
// and every thread. The error of a span is the rounding error of its steps
// carried along the orbit, as the exact steps' own rounding is: relative to
// d it grows with the number of steps, never with the depth. (The radii are
// tolerances, not cliffs: a difference a relative few eps beyond one, as an
// approximated d(m + lx) may be, leaves out a part a few eps larger.)
//
// A span skips the escape and rebasing tests of the steps inside it. There
// every |d| is below eps |Z|: a pixel escaping inside a span is one whose
// |Z + d|^2 differs from the orbit's |Z|^2 < 10 by a relative 2^-63, a point
// the rounding of 80 bits already places on either side of the circle; and
// rebasing (|Z + d| < |d|, or closer to a critical point than to Z) would ask
// for |d| > |Z| / 2, or for an orbit within 2 eps |Z| of a critical point,
// where a1 and so the radius all but vanish.
//
// Pixels test their difference by its taxi size |re| + |im|, which is never
// below the modulus and never underflows as |d|^2 would at 10^-2500.

namespace {

BlaSpan Merge(const BlaSpan& x, const BlaSpan& y, long double largestDc)
{
    BlaSpan m{y.a * x.a, y.a * x.b + y.b, 0.0L};
    const long double ax = Modulus(x.a);
    const long double room = y.radius - Modulus(x.b) * largestDc;
    if (room > 0)
        m.radius = std::min(x.radius, ax > 0 ? room / ax : x.radius);
    if (!std::isfinite(m.a.re) || !std::isfinite(m.a.im) || !std::isfinite(m.b.re) || !std::isfinite(m.b.im) ||
        !(m.radius > 0))
        m = BlaSpan{};
    return m;
}

}  // namespace

void BlaTable::Build(std::vector<BlaSpan> singles, long double largestDc)
{
    std::vector<BlaSpan> below = std::move(singles);
    while (below.size() >= 2) {
        std::vector<BlaSpan> level(below.size() / 2);
        for (size_t j = 0; j < level.size(); ++j)
            level[j] = Merge(below[2 * j], below[2 * j + 1], largestDc);
        levels_.push_back(level);
        below = std::move(level);
    }
}

// The radii of the spans from one point never grow with their length (a
// span's radius is at most its first half's), so the valid spans from m are
// those up to some length: found by halving the range of levels.
const BlaSpan* BlaTable::Find(size_t m, long double size, uint64_t room, uint32_t& steps) const
{
    const size_t t = m - 1;
    size_t top = levels_.size();
    if (t != 0)
        top = std::min(top, size_t(std::countr_zero(t)));
    while (top >= 1 && ((uint64_t(1) << top) > room || (t >> top) >= levels_[top - 1].size()))
        --top;
    // Where the shortest span fails, as in the last steps before a pixel
    // escapes, one look settles it.
    if (top == 0 || !(size < levels_[0][t >> 1].radius))
        return nullptr;
    size_t low = 1;  // spans up to level low are valid
    while (low < top) {
        const size_t k = (low + top + 1) / 2;
        if (size < levels_[k - 1][t >> k].radius)
            low = k;
        else
            top = k - 1;
    }
    steps = uint32_t(1) << low;
    return &levels_[low - 1][t >> low];
}

size_t BlaTable::Spans() const
{
    size_t n = 0;
    for (const std::vector<BlaSpan>& level : levels_)
        n += level.size();
    return n;
}
