#pragma once
// Real numbers with more digits than 80 bits hold: a value type over MPFR for
// the centre of a deep view. Read from decimals of any length or exact
// hexadecimal, written with the digits that matter at a pixel size, rounded
// to long double for everything that needs no more.

#include <mpfr.h>

#include <string>
#include <string_view>

// The most significant digits a number may carry: a view at the smallest
// pixel long double holds needs about 4,950.
inline constexpr int kMaxPreciseDigits = 10000;
// The most bits a number or a reference orbit is computed with.
inline constexpr long kMaxPreciseBits = 34000;
// Bits of a number made from a long double: exactly its value.
inline constexpr long kLongDoubleBits = 64;

class PreciseReal {
public:
    PreciseReal();  // zero
    explicit PreciseReal(long double value);
    PreciseReal(long double value, long bits);
    PreciseReal(const PreciseReal& other);
    PreciseReal(PreciseReal&& other) noexcept;
    PreciseReal& operator=(const PreciseReal& other);
    PreciseReal& operator=(PreciseReal&& other) noexcept;
    ~PreciseReal();

    long Bits() const { return long(mpfr_get_prec(value_)); }
    bool IsFinite() const { return mpfr_number_p(value_) != 0; }
    // The nearest long double; an infinity beyond its range.
    long double Rounded() const { return mpfr_get_ld(value_, MPFR_RNDN); }
    // This value plus an offset, rounded to the given bits.
    PreciseReal Plus(long double offset, long bits) const;
    // The same value in the given bits, rounded to nearest.
    PreciseReal WithBits(long bits) const;

    mpfr_srcptr Get() const { return value_; }
    mpfr_ptr Set() { return value_; }

    friend bool operator==(const PreciseReal& a, const PreciseReal& b) { return mpfr_equal_p(a.value_, b.value_) != 0; }

private:
    mpfr_t value_;
};

enum class PreciseFault {
    None,
    Empty,
    Malformed,      // not a decimal or hexadecimal number
    TooManyDigits,  // more than kMaxPreciseDigits significant digits
    NotANumber,     // "nan"
    Infinite,       // "inf"
    OutOfRange,     // beyond the range of long double
};

// A short English reason for the command line and the logs.
const char* PreciseFaultText(PreciseFault fault);

struct PreciseParse {
    PreciseReal value;
    PreciseFault fault = PreciseFault::None;
};

// "-0.7436438870371587047521915061147740", "1.5e-300", "0x1.8p-3": an
// optional sign, digits with an optional point, an optional exponent (e for
// decimals, p for a power of two after hexadecimal digits). The value keeps
// every digit given: a decimal of s significant digits gets 3.33 s + 8 bits,
// a hexadecimal one is exact.
PreciseParse ParsePrecise(std::string_view text);

// Bits a coordinate of the given magnitude needs so that one pixel of the
// given size is 2^64 of its units: what a view's centre must carry.
long BitsForPixel(long double magnitude, long double pixel);

// The value in decimal with the digits that matter at the pixel size (the
// last digit a hundredth of a pixel or finer), in exponent form:
// "-7.43643887037158704752e-01".
std::string FormatPrecise(const PreciseReal& value, long double pixel);
// The exact value in hexadecimal ("0x1.8p-3", "-0x1p+0"), read back by ParsePrecise.
std::string FormatPreciseExact(const PreciseReal& value);
