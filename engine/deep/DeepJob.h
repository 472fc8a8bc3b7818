#pragma once
// What a deep render takes (a view whose centre has more digits than 80 bits
// hold), when the program needs one, and why a view may be beyond drawing.

#include <cstdint>

#include "engine/FormulaParams.h"
#include "engine/deep/PreciseNumber.h"

inline constexpr int kFirstDeepType = 1;
inline constexpr int kLastDeepType = 4;
inline constexpr uint32_t kMaxDeepLimit = 1u << 20;
// The largest picture off screen (16384) with 4 x 4 samples a pixel.
inline constexpr int kMaxDeepSide = 65536;
// The smallest pixel a deep view may have. Every pixel's offset from the
// centre is a multiple of half a pixel; at 2^-16318 the offsets, and the
// orbits' differences that grow from them, stay normal long doubles with
// all 64 bits, with 64 binary orders to spare above the smallest normal one
// (2^-16382): views down to about 10^-4909 wide at 1600 pixels.
inline constexpr long double kSmallestDeepPixel = 0x1p-16318L;
// The most bits a reference orbit is computed with: the smallest pixels at a
// centre of magnitude up to 2^500 (any point farther out than sqrt(10)
// escapes at once).
inline constexpr long kMaxReferenceBits = 17000;

// A picture of formula type 1 to 4 whose pixel (x, y) stands for the point
// centre + ((x - width/2) pitchX, (y - height/2) pitchY), the offsets taken in
// long double: rows grow downwards with the imaginary part.
struct DeepJob {
    int type = 1;
    FormulaParams params{};  // xi, eta, lambda, mu of type 4
    PreciseReal centreX;
    PreciseReal centreY;
    long double pitchX = 0.0L;
    long double pitchY = 0.0L;
    int width = 0;
    int height = 0;
    uint32_t limit = 256;  // counts 0 .. limit - 1; a point not escaped after limit steps is captured
};

enum class DeepFault {
    None,
    Formula,        // not one of the polynomial maps 1 to 4
    PictureSize,    // width or height outside 1 .. kMaxDeepSide
    Limit,          // outside 1 .. kMaxDeepLimit
    NotFinite,      // a centre, pixel size or coefficient that is NaN or infinite
    ZeroExtent,     // a pixel size of zero or below
    PixelTooSmall,  // below kSmallestDeepPixel
    Precision,      // the reference would need more than kMaxReferenceBits
};

// A short English reason for the command line and the logs.
const char* DeepFaultText(DeepFault fault);

// DeepFault::None when the job can be drawn, else the first reason it cannot.
DeepFault CheckDeepJob(const DeepJob& job);

// The precision of the reference orbit: fixed by the centre's magnitude and
// the pixel size alone, so that the same view is the same picture.
long ReferenceBits(const DeepJob& job);

// The offset of pixel column x (or row) from the centre, as the direct render takes it.
inline long double PixelOffset(int x, int size, long double pitch) { return (x - size / 2.0L) * pitch; }

// True when the direct 80-bit kernels draw the view pixel for pixel; false
// from where the deep renderer must take over (the argument beside the code).
bool DirectKernelsResolve(long double centreX, long double centreY, long double pitchX, long double pitchY);
