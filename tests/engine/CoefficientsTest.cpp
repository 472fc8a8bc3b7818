#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/Coefficients.h"
#include "engine/EngineState.h"

namespace {

const long double kStep = StartupKeyStep();

// The bar position after a key, its value taken back from the position as
// the bar's change handler does.
int PositionAfter(const char* key, int& position)
{
    const auto step = StepByKey(key, CoefficientOfPosition(position), kStep);
    if (step)
        position = step->position;
    return position;
}

TEST(CoefficientBar, PositionsAndValuesMeetExactly)
{
    EXPECT_EQ(CoefficientOfPosition(20200), 1.01L);
    EXPECT_EQ(CoefficientOfPosition(32000), 1.6L);
    EXPECT_EQ(CoefficientOfPosition(-32000), -1.6L);

    // Every position survives the way to its value and back.
    for (int p = kCoefficientBarMin; p <= kCoefficientBarMax; ++p)
        ASSERT_EQ(PositionOfCoefficient(CoefficientOfPosition(p)), p);

    // Halves go upward; values beyond the ends stop there.
    EXPECT_EQ(PositionOfCoefficient(-31415.5L / 20000), -31415);
    EXPECT_EQ(PositionOfCoefficient(1.60004L), 32000);
    EXPECT_EQ(PositionOfCoefficient(-7.0L), -32000);
    EXPECT_EQ(PositionOfCoefficient(1e4000L), 32000);
    EXPECT_EQ(PositionOfCoefficient(-INFINITY), -32000);
}

TEST(CoefficientKeys, ZeroPlusAndMinusWithTheirWraps)
{
    const auto zero = StepByKey("0", -0.75L, kStep);
    ASSERT_TRUE(zero);
    EXPECT_EQ(zero->position, 0);
    EXPECT_EQ(zero->value, 0.0L);
    EXPECT_FALSE(std::signbit(zero->value));

    int position = 24000;
    EXPECT_EQ(PositionAfter("P", position), 31854);
    EXPECT_EQ(PositionAfter("P", position), -31416);
    EXPECT_EQ(StepByKey("P", CoefficientOfPosition(31854), kStep)->value, 0 - 4 * kStep);
    EXPECT_EQ(PositionAfter("M", position), 31416);
    EXPECT_EQ(StepByKey("M", CoefficientOfPosition(-31416), kStep)->value, 4 * kStep);
    EXPECT_EQ(PositionAfter("m", position), 23562);
    EXPECT_EQ(PositionAfter("p", position), 31416);

    // From 0, P walks the multiples of pi/8 from -pi/2 to pi/2 and starts over.
    position = 0;
    std::vector<int> walk;
    for (int i = 0; i < 10; ++i)
        walk.push_back(PositionAfter("P", position));
    EXPECT_EQ(walk, (std::vector<int>{7854, 15708, 23562, 31416, -31416, -23562, -15708, -7854, 0, 7854}));
}

TEST(CoefficientKeys, OtherKeysAreLeftToTheBar)
{
    for (const char* key : {"", "1", "O", "o", "x", "+", "-", " ", "PP", "00", "\x10"})
        EXPECT_FALSE(StepByKey(key, 0.5L, kStep)) << "key '" << key << "'";
}

}  // namespace
