#include "engine/deep/PreciseNumber.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <vector>

namespace {

// Decimal digits whose last one stands for one unit at 2^-bits of the leading one.
constexpr double kDigitsPerBit = 0.30103;
constexpr double kBitsPerDigit = 3.3219281;
constexpr size_t kMaxExponentDigits = 6;

bool IsDigitOf(char c, bool hex) { return hex ? std::isxdigit(static_cast<unsigned char>(c)) != 0 : (c >= '0' && c <= '9'); }

bool SameWord(std::string_view text, std::string_view word)
{
    if (text.size() != word.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != word[i])
            return false;
    return true;
}

// The shape of a number: its significant digits, or a fault.
struct Shape {
    PreciseFault fault = PreciseFault::None;
    bool hex = false;
    size_t significant = 0;
};

Shape ShapeOf(std::string_view text)
{
    Shape s;
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    const std::string_view body = text.substr(i);
    if (SameWord(body, "nan"))
        return {PreciseFault::NotANumber};
    if (SameWord(body, "inf") || SameWord(body, "infinity"))
        return {PreciseFault::Infinite};
    if (body.size() > 2 && body[0] == '0' && (body[1] == 'x' || body[1] == 'X')) {
        s.hex = true;
        i += 2;
    }
    size_t digits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (text[i] == '.' && !point) {
            point = true;
        } else if (IsDigitOf(text[i], s.hex)) {
            ++digits;
            if (s.significant > 0 || text[i] != '0')
                ++s.significant;
        } else {
            break;
        }
    }
    if (digits == 0)
        return {PreciseFault::Malformed};
    if (i < text.size()) {
        const char mark = char(std::tolower(static_cast<unsigned char>(text[i])));
        if (mark != (s.hex ? 'p' : 'e'))
            return {PreciseFault::Malformed};
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        const size_t first = i;
        while (i < text.size() && IsDigitOf(text[i], false))
            ++i;
        if (i == first || i != text.size())
            return {PreciseFault::Malformed};
        if (i - first > kMaxExponentDigits)
            return {PreciseFault::OutOfRange};
    }
    if (s.significant > size_t(kMaxPreciseDigits))
        return {PreciseFault::TooManyDigits};
    return s;
}

}  // namespace

PreciseReal::PreciseReal() : PreciseReal(0.0L) {}

PreciseReal::PreciseReal(long double value) : PreciseReal(value, kLongDoubleBits) {}

PreciseReal::PreciseReal(long double value, long bits)
{
    mpfr_init2(value_, std::clamp(bits, long(MPFR_PREC_MIN), kMaxPreciseBits));
    mpfr_set_ld(value_, value, MPFR_RNDN);
}

PreciseReal::PreciseReal(const PreciseReal& other)
{
    mpfr_init2(value_, mpfr_get_prec(other.value_));
    mpfr_set(value_, other.value_, MPFR_RNDN);
}

PreciseReal::PreciseReal(PreciseReal&& other) noexcept
{
    mpfr_init2(value_, kLongDoubleBits);
    mpfr_set_zero(value_, 1);
    mpfr_swap(value_, other.value_);
}

PreciseReal& PreciseReal::operator=(const PreciseReal& other)
{
    if (this != &other) {
        mpfr_set_prec(value_, mpfr_get_prec(other.value_));
        mpfr_set(value_, other.value_, MPFR_RNDN);
    }
    return *this;
}

PreciseReal& PreciseReal::operator=(PreciseReal&& other) noexcept
{
    mpfr_swap(value_, other.value_);
    return *this;
}

PreciseReal::~PreciseReal() { mpfr_clear(value_); }

PreciseReal PreciseReal::Plus(long double offset, long bits) const
{
    PreciseReal sum(0.0L, bits);
    PreciseReal step(offset);
    mpfr_add(sum.value_, value_, step.value_, MPFR_RNDN);
    return sum;
}

PreciseReal PreciseReal::WithBits(long bits) const
{
    PreciseReal out(0.0L, bits);
    mpfr_set(out.value_, value_, MPFR_RNDN);
    return out;
}

const char* PreciseFaultText(PreciseFault fault)
{
    switch (fault) {
    case PreciseFault::None: return "a number";
    case PreciseFault::Empty: return "no number given";
    case PreciseFault::Malformed: return "not a decimal or hexadecimal number";
    case PreciseFault::TooManyDigits: return "more than 10000 significant digits";
    case PreciseFault::NotANumber: return "not a number (NaN)";
    case PreciseFault::Infinite: return "infinite";
    case PreciseFault::OutOfRange: return "beyond the range of 80-bit numbers";
    }
    return "?";
}

PreciseParse ParsePrecise(std::string_view text)
{
    PreciseParse out;
    if (text.empty()) {
        out.fault = PreciseFault::Empty;
        return out;
    }
    if (text.size() > size_t(kMaxPreciseDigits) + 64) {
        out.fault = PreciseFault::TooManyDigits;
        return out;
    }
    const Shape shape = ShapeOf(text);
    if (shape.fault != PreciseFault::None) {
        out.fault = shape.fault;
        return out;
    }
    const long bits = shape.hex ? long(4 * shape.significant) + 4
                                : long(std::ceil(double(shape.significant) * kBitsPerDigit)) + 8;
    out.value = PreciseReal(0.0L, std::max(bits, kLongDoubleBits));
    const std::string copy(text);
    mpfr_strtofr(out.value.Set(), copy.c_str(), nullptr, shape.hex ? 16 : 10, MPFR_RNDN);
    if (!std::isfinite(out.value.Rounded()))
        out.fault = PreciseFault::OutOfRange;
    return out;
}

long BitsForPixel(long double magnitude, long double pixel)
{
    if (!(pixel > 0) || !std::isfinite(pixel) || !std::isfinite(magnitude))
        return kLongDoubleBits;
    const long above = std::max(std::fabs(magnitude) >= 1 ? long(std::ilogb(magnitude)) + 1 : 0L, 0L);
    return std::clamp(above - long(std::ilogb(pixel)) + kLongDoubleBits, kLongDoubleBits, kMaxPreciseBits);
}

std::string FormatPrecise(const PreciseReal& value, long double pixel)
{
    const long carried = long(std::ceil(double(value.Bits()) * kDigitsPerBit)) + 2;
    long digits = carried;
    if (mpfr_zero_p(value.Get())) {
        digits = 1;
    } else if (pixel > 0 && std::isfinite(pixel)) {
        const long leading = long(std::floor(double(mpfr_get_exp(value.Get())) * kDigitsPerBit));
        const long last = long(std::floor(std::log10(pixel))) - 2;
        digits = std::clamp(leading - last + 1, 1L, carried);
    }
    std::vector<char> text(size_t(digits) + 32);
    mpfr_snprintf(text.data(), text.size(), "%.*Re", int(digits - 1), value.Get());
    return text.data();
}

std::string FormatPreciseExact(const PreciseReal& value)
{
    const size_t size = size_t(value.Bits()) / 4 + 32;
    std::vector<char> text(size);
    mpfr_snprintf(text.data(), text.size(), "%Ra", value.Get());
    return text.data();
}
