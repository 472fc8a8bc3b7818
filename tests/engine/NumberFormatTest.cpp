#include <gtest/gtest.h>

#include "NumberFormat.h"

namespace {

TEST(FormatExponent, SignDigitsAndThreeDigitExponent)
{
    EXPECT_EQ(FormatExponent(-0.5L, 3), "-5.00E-001");
    EXPECT_EQ(FormatExponent(3.6L, 3), "3.60E+000");
    EXPECT_EQ(FormatExponent(0.0L, 3), "0.00E+000");
    EXPECT_EQ(FormatExponent(1e-20L, 3), "1.00E-020");
    EXPECT_EQ(FormatExponent(1.23456e123L, 3), "1.23E+123");
    EXPECT_EQ(FormatExponent(-1.5L, 3), "-1.50E+000");
}

TEST(FormatExponent, ExponentBeyondThreeDigitsIsWrittenWhole)
{
    EXPECT_EQ(FormatExponent(1e-1000L, 3), "1.00E-1000");
    EXPECT_EQ(FormatExponent(2.5e4000L, 3), "2.50E+4000");
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
    EXPECT_EQ(FormatExponent(9.995L, 3), "9.99E+000");
    EXPECT_EQ(FormatExponent(9.9951L, 3), "1.00E+001");
    EXPECT_EQ(FormatExponent(-9.9996L, 3), "-1.00E+001");
    EXPECT_EQ(FormatExponent(0.99999L, 3), "1.00E+000");
    EXPECT_EQ(FormatExponent(9.9951e-100L, 3), "1.00E-099");
}

TEST(FormatThousands, RoundsAndGroups)
{
    EXPECT_EQ(FormatThousands(12345.6L), "12,346");
    EXPECT_EQ(FormatThousands(1.0L), "1");
    EXPECT_EQ(FormatThousands(0.0L), "0");
    EXPECT_EQ(FormatThousands(999.0L), "999");
    EXPECT_EQ(FormatThousands(999.5L), "1,000");
    EXPECT_EQ(FormatThousands(1234567.0L), "1,234,567");
    EXPECT_EQ(FormatThousands(100000.4L), "100,000");
    EXPECT_EQ(FormatThousands(999999999999999999.0L), "999,999,999,999,999,999");
}

TEST(FormatThousands, HugeValuesUseExponentForm)
{
    EXPECT_EQ(FormatThousands(1e18L), "1.00E+018");
    EXPECT_EQ(FormatThousands(2.5e20L), "2.50E+020");
    EXPECT_EQ(FormatThousands(1.23456e123L), "1.23E+123");
}

TEST(FormatGeneral15, FifteenSignificantDigitsWithoutTrailingZeros)
{
    EXPECT_EQ(FormatGeneral15(3.6L / 580), "0.00620689655172414");
    EXPECT_EQ(FormatGeneral15(2.0L / 3), "0.666666666666667");
    EXPECT_EQ(FormatGeneral15(3.6L), "3.6");
    EXPECT_EQ(FormatGeneral15(-0.5L), "-0.5");
    EXPECT_EQ(FormatGeneral15(580.0L), "580");
    EXPECT_EQ(FormatGeneral15(1234.5L), "1234.5");
    EXPECT_EQ(FormatGeneral15(0.0L), "0");
}

TEST(FormatGeneral15, FixedFormBelowOneE15)
{
    EXPECT_EQ(FormatGeneral15(999999999999999.0L), "999999999999999");
    EXPECT_EQ(FormatGeneral15(123456789012345.4L), "123456789012345");
    EXPECT_EQ(FormatGeneral15(1e15L), "1E15");
    EXPECT_EQ(FormatGeneral15(123456789012345678.0L), "1.23456789012346E17");
    EXPECT_EQ(FormatGeneral15(-2e20L), "-2E20");
}

TEST(FormatGeneral15, FixedFormDownToOneE5)
{
    EXPECT_EQ(FormatGeneral15(0.0001L), "0.0001");
    EXPECT_EQ(FormatGeneral15(0.00001L), "0.00001");
    EXPECT_EQ(FormatGeneral15(0.000025L), "0.000025");
    EXPECT_EQ(FormatGeneral15(-0.000025L), "-0.000025");
    EXPECT_EQ(FormatGeneral15(0.0000123456789012345678L), "0.0000123456789012346");
    EXPECT_EQ(FormatGeneral15(0.000001L), "1E-6");
    EXPECT_EQ(FormatGeneral15(9.99e-6L), "9.99E-6");
    EXPECT_EQ(FormatGeneral15(1.5e-10L), "1.5E-10");
    EXPECT_EQ(FormatGeneral15(-3.25e-300L), "-3.25E-300");
}

TEST(RoundHalfUp, HalvesGoUpward)
{
    EXPECT_EQ(RoundHalfUp(2.5L), 3);
    EXPECT_EQ(RoundHalfUp(-2.5L), -2);
    EXPECT_EQ(RoundHalfUp(-0.5L), 0);
    EXPECT_EQ(RoundHalfUp(2.4999999L), 2);
    EXPECT_EQ(RoundHalfUp(-2.5000001L), -3);
    EXPECT_EQ(RoundHalfUp(773.3333L), 773);
    EXPECT_EQ(RoundHalfUp(0.0L), 0);
}

}  // namespace
