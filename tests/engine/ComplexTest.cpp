#include <gtest/gtest.h>

#include "EngineTestSupport.h"
#include "engine/untQVINC.h"

namespace {

ComplexValue Make(long double re, long double im, int32_t status = 0)
{
    ComplexValue v;
    v.status = status;
    v.re = re;
    v.im = im;
    return v;
}

// An output record whose parts a failed division must leave alone.
ComplexValue Sentinel() { return Make(-123.25L, 456.5L, 7); }
// The sentinel after a failed division: status 1, parts untouched.
const ComplexParts kSentinelAfterFailure{1, -123.25L, 456.5L};

TEST(ComplexArithmetic, ZeroInitialisedRecord)
{
    const ComplexValue v{};
    EXPECT_EQ(PartsOf(v), (ComplexParts{0, 0.0L, 0.0L}));
}

TEST(ComplexArithmetic, MultiplyGivesTextbookProduct)
{
    ComplexValue out = Sentinel();
    ComplexMul(Make(3, 4), Make(1, -2), out);
    EXPECT_EQ(PartsOf(out), (ComplexParts{0, 11.0L, -2.0L}));
}

TEST(ComplexArithmetic, SubtractGivesDifference)
{
    ComplexValue out = Sentinel();
    ComplexSub(Make(3, 4), Make(1, -2), out);
    EXPECT_EQ(PartsOf(out), (ComplexParts{0, 2.0L, 6.0L}));
}

TEST(ComplexArithmetic, DivideUndoesMultiply)
{
    ComplexValue out = Sentinel();
    ComplexDiv(Make(11, -2), Make(1, -2), out);
    EXPECT_EQ(PartsOf(out), (ComplexParts{0, 3.0L, 4.0L}));
}

TEST(ComplexArithmetic, InputsAreNotModified)
{
    const ComplexValue a = Make(11, -2, 1);
    const ComplexValue b = Make(1, -2, 1);
    ComplexValue copyA = a, copyB = b, out;
    ComplexDiv(copyA, copyB, out);
    ComplexMul(copyA, copyB, out);
    ComplexSub(copyA, copyB, out);
    EXPECT_EQ(PartsOf(copyA), PartsOf(a));
    EXPECT_EQ(PartsOf(copyB), PartsOf(b));
}

TEST(ComplexDivision, ByZeroFailsAndLeavesPartsUntouched)
{
    for (const ComplexValue& a : {Make(0, 0), Make(1, 0), Make(-3, 7)}) {
        ComplexValue out = Sentinel();
        ComplexDiv(a, Make(0, 0), out);
        EXPECT_EQ(PartsOf(out), kSentinelAfterFailure);
    }
}

TEST(ComplexDivision, ByNegativeZeroFails)
{
    ComplexValue out = Sentinel();
    ComplexDiv(Make(2, 3), Make(-0.0L, -0.0L), out);
    EXPECT_EQ(PartsOf(out), kSentinelAfterFailure);
}

TEST(ComplexDivision, DivisorWhoseSquareUnderflowsFails)
{
    const long double tiny = 1e-3000L;
    ASSERT_NE(tiny, 0.0L);
    ASSERT_EQ(tiny * tiny, 0.0L);
    for (const ComplexValue& b : {Make(tiny, 0), Make(0, tiny), Make(tiny, -tiny)}) {
        ComplexValue out = Sentinel();
        ComplexDiv(Make(1, 1), b, out);
        EXPECT_EQ(PartsOf(out), kSentinelAfterFailure);
    }
}

TEST(ComplexDivision, SmallDivisorWithRepresentableSquareDivides)
{
    const long double small = 1e-2000L;
    ASSERT_NE(small * small, 0.0L);
    ComplexValue out = Sentinel();
    ComplexDiv(Make(small, -small * 3), Make(small, 0), out);
    const long double square = small * small;
    EXPECT_EQ(PartsOf(out), (ComplexParts{0, square / square, (-small * 3 * small) / square}));
    EXPECT_NEAR(double(out.re), 1.0, 1e-15);
    EXPECT_NEAR(double(out.im), -3.0, 1e-15);
}

TEST(ComplexDivision, PureImaginaryDivisor)
{
    ComplexValue out = Sentinel();
    ComplexDiv(Make(2, 4), Make(0, 2), out);  // (2 + 4i) / 2i = 2 - i
    EXPECT_EQ(PartsOf(out), (ComplexParts{0, 2.0L, -1.0L}));
}

TEST(ComplexDivision, SuccessClearsAnEarlierFailure)
{
    ComplexValue out = Sentinel();
    ComplexDiv(Make(1, 1), Make(0, 0), out);
    ASSERT_EQ(out.status, 1);
    ComplexDiv(Make(11, -2), Make(1, -2), out);
    EXPECT_EQ(PartsOf(out), (ComplexParts{0, 3.0L, 4.0L}));
}

TEST(ComplexStatus, MultiplyAfterFailedDivisionIsValid)
{
    ComplexValue out = Sentinel();
    ComplexDiv(Make(5, 5), Make(0, 0), out);
    ASSERT_EQ(out.status, 1);
    ComplexMul(Make(3, 4), Make(1, -2), out);
    EXPECT_EQ(PartsOf(out), (ComplexParts{0, 11.0L, -2.0L}));
}

TEST(ComplexStatus, SubtractAndMultiplyAlwaysClearStatus)
{
    ComplexValue out = Make(0, 0, 1);
    ComplexSub(Make(1, 2), Make(1, 2), out);
    EXPECT_EQ(out.status, 0);
    out.status = 1;
    ComplexMul(Make(0, 0), Make(0, 0), out);
    EXPECT_EQ(out.status, 0);
}

TEST(ComplexStatus, InputStatusDoesNotLeakIntoResult)
{
    ComplexValue out = Sentinel();
    ComplexMul(Make(3, 4, 1), Make(1, -2, 1), out);
    EXPECT_EQ(out.status, 0);
    out = Sentinel();
    ComplexSub(Make(3, 4, 1), Make(1, -2, 1), out);
    EXPECT_EQ(out.status, 0);
    out = Sentinel();
    ComplexDiv(Make(11, -2, 1), Make(1, -2, 1), out);
    EXPECT_EQ(out.status, 0);
}

}  // namespace
