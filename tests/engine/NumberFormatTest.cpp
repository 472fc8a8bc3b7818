#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "engine/NumberFormat.h"

namespace {

struct Written {
    long double value;
    const char* text;
};

// Every value, written by `format`, reads as its text.
template <typename Format>
void ExpectWritten(Format format, std::initializer_list<Written> cases)
{
    for (const Written& c : cases)
        EXPECT_EQ(format(c.value), c.text) << "value " << c.value;
}

std::string ThreeDigitExponent(long double value) { return FormatExponent(value, 3); }

TEST(FormatExponent, SignDigitsAndThreeDigitExponent)
{
    ExpectWritten(ThreeDigitExponent, {
        {-0.5L, "-5.00E-001"}, {3.6L, "3.60E+000"}, {0.0L, "0.00E+000"}, {1e-20L, "1.00E-020"},
        {1.23456e123L, "1.23E+123"}, {-1.5L, "-1.50E+000"}});
}

TEST(FormatExponent, ExponentBeyondThreeDigitsIsWrittenWhole)
{
    ExpectWritten(ThreeDigitExponent, {{1e-1000L, "1.00E-1000"}, {2.5e4000L, "2.50E+4000"}});
}

TEST(FormatExponent, SignificantDigitCount)
{
    EXPECT_EQ(FormatExponent(1.01L, 5), "1.0100E+000");
    EXPECT_EQ(FormatExponent(1.18L, 2), "1.2E+000");
    EXPECT_EQ(FormatExponent(-1.12L, 4), "-1.120E+000");
}

TEST(FormatExponent, RoundingCarriesIntoTheExponent)
{
    // 9.995 has no exact binary form; the nearest extended value lies just
    // below the midpoint, so it rounds down.
    ExpectWritten(ThreeDigitExponent, {
        {9.995L, "9.99E+000"}, {9.9951L, "1.00E+001"}, {-9.9996L, "-1.00E+001"}, {0.99999L, "1.00E+000"},
        {9.9951e-100L, "1.00E-099"}});
}

TEST(FormatThousands, RoundsAndGroups)
{
    ExpectWritten(FormatThousands, {
        {12345.6L, "12,346"}, {1.0L, "1"}, {0.0L, "0"}, {999.0L, "999"}, {999.5L, "1,000"},
        {1234567.0L, "1,234,567"}, {100000.4L, "100,000"}, {999999999999999999.0L, "999,999,999,999,999,999"}});
}

TEST(FormatThousands, HugeValuesUseExponentForm)
{
    ExpectWritten(FormatThousands, {{1e18L, "1.00E+018"}, {2.5e20L, "2.50E+020"}, {1.23456e123L, "1.23E+123"}});
}

TEST(FormatGeneral15, FifteenSignificantDigitsWithoutTrailingZeros)
{
    ExpectWritten(FormatGeneral15, {
        {3.6L / 580, "0.00620689655172414"}, {2.0L / 3, "0.666666666666667"}, {3.6L, "3.6"}, {-0.5L, "-0.5"},
        {580.0L, "580"}, {1234.5L, "1234.5"}, {0.0L, "0"}});
}

TEST(FormatGeneral15, FixedFormBelowOneE15)
{
    ExpectWritten(FormatGeneral15, {
        {999999999999999.0L, "999999999999999"}, {123456789012345.4L, "123456789012345"}, {1e15L, "1E15"}, {2e15L, "2E15"},
        {123456789012345678.0L, "1.23456789012346E17"}, {-2e20L, "-2E20"}});
}

TEST(FormatGeneral15, FixedFormDownToOneE4)
{
    ExpectWritten(FormatGeneral15, {
        {0.00625L, "0.00625"}, {0.0001L, "0.0001"}, {-0.00012345678901234567L, "-0.000123456789012346"},
        {0.00009999999999999999L, "0.0001"}, {0.00001L, "1E-5"}, {0.000015L, "1.5E-5"}, {-0.000025L, "-2.5E-5"},
        {0.0000123456789012345678L, "1.23456789012346E-5"}, {1.5e-10L, "1.5E-10"}, {-3.25e-300L, "-3.25E-300"}});
}

TEST(RoundHalfUp, HalvesGoUpward)
{
    const std::pair<long double, long long> cases[] = {
        {2.5L, 3}, {-2.5L, -2}, {-0.5L, 0}, {2.4999999L, 2}, {-2.5000001L, -3}, {773.3333L, 773}, {0.0L, 0},
    };
    for (const auto& [value, rounded] : cases)
        EXPECT_EQ(RoundHalfUp(value), rounded) << "value " << value;
}

}  // namespace
