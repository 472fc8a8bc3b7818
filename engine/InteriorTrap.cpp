#include "engine/InteriorTrap.h"

#include <cmath>
#include <complex>

// Why an orbit that reaches a certified disk is captured.
//
// F(z) = z^2 + c; F~ is the step as the program rounds it:
//   x' = fl(fl(fl(x*x) - fl(y*y)) + cx),  y' = fl(fl(fl(x*2)*y) + cy),
// each fl rounding to nearest with 64 mantissa bits, off by at most u|v| for a
// result v, u = 2^-64 (an underflow adds at most 2^-16445: nothing below).
// For |z| <= 1.6, |F(z)| <= 2.5 and |cx|, |cy| <= 1.5 the six roundings of
// one step add at most u (x^2 + y^2 + |x^2 - y^2| + |x'| + |2xy| + |y'|) < 16u;
// for |z| <= 1.01 and |cx|, |cy| <= 1 at most 8u.
//
// Fixed point. Centre a (any point), radius r, t = 1 - 2|a|, d = a^2 + c - a.
// For |z - a| <= r, w = z - a: F(z) - a = d + 2a w + w^2, so
//   |F~(z) - a| <= |d| + (1 - t) r + r^2 + 8u = r - (r (t - r) - |d| - 8u).
// r (t - r) >= |d| + 8u makes the disk invariant; with r <= t + 4u it lies in
// |z| <= |a| + r <= 1 - |a| + 4u, so the bound of 8u holds and x^2 + y^2 < 10.
//
// Two-cycle. Centre p, Q = p^2 + c, d = Q^2 + c - p, G = F(F(z)). For w = z - p:
//   G(z) - p = d + 4Qp w + (2Q + 4p^2) w^2 + 4p w^3 + w^4,
// so with m = 4|Q||p|, k = 2|Q| + 4|p|^2 + 4|p| + 1 and |w| <= r <= 1:
//   |G(z) - p| <= |d| + m r + k r^2.
// The two rounded steps add at most (2|F(z)| + e1) e1 + e2 < 6 * 16u + 40u
// < 2^-56 when (|p| + r)^2 + |cx| + |cy| <= 2.5, which also keeps the disk
// in |z|^2 <= 2.5 and the odd steps in |F~(z)|^2 < 6.3. r (1 - m - k r) >=
// |d| + 2^-56 makes the disk invariant under G~.
//
// The tests below compute t, m, k, d and r in 64-bit arithmetic from values
// under 32 in magnitude; their few dozen roundings move each side by less
// than 2^-50. The slacks 2^-48 and 2^-44 cover those and the error terms.
// The kernels test membership at even steps only, by InTrap: its four
// roundings make the computed distance squared at least (1 - 4u) times the
// true one, and radiusSquared is below radius^2 (1 - 2^-21).

namespace {

constexpr long double kFixedPointSlack = 0x1p-48L;
constexpr long double kTwoCycleSlack = 0x1p-44L;
// The widest disk, r = t, leaves no room for the rounding; 15/16 of t keeps
// r (t - r) at about t^2 / 17.
constexpr long double kRadiusShare = 0.9375L;

long double Modulus(long double x, long double y) { return std::sqrt(x * x + y * y); }

// sqrt(re + i im) with a positive real part, in doubles: a centre need not be
// exact, and this runs for most points of a view near the cardioid.
std::optional<std::complex<double>> RootRightHalf(double re, double im)
{
    const double real = std::sqrt((std::sqrt(re * re + im * im) + re) / 2);
    if (!(real > 0))
        return std::nullopt;
    return std::complex<double>(real, im / (2 * real));
}

TrapDisk Disk(long double x, long double y, long double radius, int period)
{
    TrapDisk disk;
    disk.centreX = double(x);
    disk.centreY = double(y);
    disk.radius = radius;
    disk.radiusSquared = double(radius * radius * (1 - 0x1p-20L));
    disk.period = period;
    return disk;
}

std::optional<TrapDisk> FixedPointTrap(long double cx, long double cy)
{
    if (!(std::fabs(cx) <= 1 && std::fabs(cy) <= 1))
        return std::nullopt;
    const std::optional<std::complex<double>> root = RootRightHalf(1 - 4 * double(cx), -4 * double(cy));
    if (!root)
        return std::nullopt;
    const std::complex<double> a = (1.0 - *root) / 2.0;
    if (!(std::norm(a) < 0.25))
        return std::nullopt;
    const long double ax = a.real(), ay = a.imag();
    const long double t = 1 - 2 * Modulus(ax, ay);
    const long double dx = ((ax * ax - ay * ay) + cx) - ax;
    const long double dy = (ax * 2 * ay + cy) - ay;
    const long double r = t * kRadiusShare;
    if (!(r > 0 && r * (t - r) >= std::fabs(dx) + std::fabs(dy) + kFixedPointSlack))
        return std::nullopt;
    return Disk(ax, ay, r, 1);
}

std::optional<TrapDisk> TwoCycleTrap(long double cx, long double cy)
{
    // Where the cycle attracts, |c + 1| < 1/4.
    if (!(std::norm(std::complex<double>(double(cx) + 1, double(cy))) < 0.0625))
        return std::nullopt;
    const std::optional<std::complex<double>> root = RootRightHalf(-3 - 4 * double(cx), -4 * double(cy));
    if (!root)
        return std::nullopt;
    // The point of the cycle that the even steps from 0 come to.
    const std::complex<double> p = (-1.0 + *root) / 2.0;
    const long double px = p.real(), py = p.imag();
    const long double qx = (px * px - py * py) + cx;
    const long double qy = px * 2 * py + cy;
    const long double dx = ((qx * qx - qy * qy) + cx) - px;
    const long double dy = (qx * 2 * qy + cy) - py;
    const long double pm = Modulus(px, py);
    const long double qm = Modulus(qx, qy);
    const long double m = 4 * qm * pm;
    const long double k = 2 * qm + 4 * pm * pm + 4 * pm + 1;
    const long double r = (1 - m) / (2 * k);
    const long double reach = (pm + r) * (pm + r) + std::fabs(cx) + std::fabs(cy);
    if (!(r > 0 && reach <= 2.5L && r * ((1 - m) - k * r) >= std::fabs(dx) + std::fabs(dy) + kTwoCycleSlack))
        return std::nullopt;
    return Disk(px, py, r, 2);
}

}  // namespace

std::optional<TrapDisk> CertifyTrap(long double cx, long double cy)
{
    if (std::optional<TrapDisk> disk = FixedPointTrap(cx, cy))
        return disk;
    return TwoCycleTrap(cx, cy);
}

bool InTrap(const TrapDisk& disk, long double x, long double y)
{
    const long double dx = x - disk.centreX;
    const long double dy = y - disk.centreY;
    return dx * dx + dy * dy <= disk.radiusSquared;
}
