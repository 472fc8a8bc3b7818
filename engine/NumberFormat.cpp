#include "engine/NumberFormat.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

std::string NonFinite(long double value)
{
    if (std::isnan(value))
        return "NAN";
    return value < 0 ? "-INF" : "INF";
}

// Splits printf's "d.dddE+dd" and rewrites the exponent with the given
// minimum digit count; the sign is always written when forceSign is set.
std::string RewriteExponent(const std::string& text, size_t minDigits, bool forceSign)
{
    const size_t e = text.find_first_of("eE");
    if (e == std::string::npos)
        return text;
    const int exponent = std::atoi(text.c_str() + e + 1);
    std::string digits = std::to_string(std::abs(exponent));
    if (digits.size() < minDigits)
        digits.insert(0, minDigits - digits.size(), '0');
    std::string sign = exponent < 0 ? "-" : (forceSign ? "+" : "");
    return text.substr(0, e) + "E" + sign + digits;
}

std::string GroupThousands(const std::string& digits)
{
    std::string out;
    const size_t n = digits.size();
    for (size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

}  // namespace

long long RoundHalfUp(long double value)
{
    return static_cast<long long>(std::floor(value + 0.5L));
}

std::string FormatExponent(long double value, int significantDigits)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*LE", significantDigits - 1, value);
    return RewriteExponent(buffer, 3, true);
}

std::string FormatThousands(long double value)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    const long double rounded = std::floor(value + 0.5L);
    // Beyond 18 digits the exponent form says more than a row of digits.
    if (std::fabs(rounded) >= 1e18L)
        return FormatExponent(rounded, 3);
    const long long whole = static_cast<long long>(rounded);
    const std::string grouped = GroupThousands(std::to_string(whole < 0 ? -whole : whole));
    return whole < 0 ? "-" + grouped : grouped;
}

std::string FormatGeneral15(long double value)
{
    if (!std::isfinite(value))
        return NonFinite(value);
    if (value == 0.0L)
        return "0";
    // %G chooses the fixed form for exactly the exponents -4..14 of the
    // rounded value and drops trailing zeros itself.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15LG", value);
    return RewriteExponent(buffer, 1, false);
}
