#include "model/NumericText.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstdint>
#include <limits>
#include <string>

using vistrel::model::decimalText;
using vistrel::model::numericValue;

TEST(NumericValue, TextWithoutLeadingNumberIsZero) {
    for (const char* text : {"", "abc", "|A", "-", ".", "--5", "e5", "\r5"}) EXPECT_EQ(numericValue(text), 0.0) << text;
}

TEST(NumericValue, BlanksTabsAndLineFeedsAreSkippedEvenBetweenDigits) {
    EXPECT_EQ(numericValue("1 2\t3\n4"), 1234.0);
    EXPECT_EQ(numericValue("- 2 0 . 5"), -20.5);
    EXPECT_EQ(numericValue("1 e 3"), 1000.0);
}

TEST(NumericValue, ReadingStopsAtFirstOtherCharacter) {
    EXPECT_EQ(numericValue("00000300|B"), 300.0);
    EXPECT_EQ(numericValue("12 34abc56"), 1234.0);
    EXPECT_EQ(numericValue("1.2.3"), 1.2);
    EXPECT_EQ(numericValue("7-3"), 7.0);
    EXPECT_EQ(numericValue("5\r5"), 5.0);
}

TEST(NumericValue, SignFractionAndExponent) {
    EXPECT_EQ(numericValue("+20"), 20.0);
    EXPECT_EQ(numericValue("-.25"), -0.25);
    EXPECT_EQ(numericValue("3."), 3.0);
    EXPECT_EQ(numericValue("1E-2"), 0.01);
    EXPECT_EQ(numericValue("2d+2"), 200.0);
    EXPECT_EQ(numericValue("5e+x"), 5.0);  // a marker without digits ends the number
}

TEST(NumericValue, HugeValuesStayFinite) {
    EXPECT_EQ(numericValue("1e999"), DBL_MAX);
    EXPECT_EQ(numericValue("-1e999"), -DBL_MAX);
    EXPECT_EQ(numericValue("1e-999"), 0.0);
    // Out of range is told by the size of the whole number, not the exponent's sign.
    const std::string zeros(400, '0');
    EXPECT_EQ(numericValue("0." + zeros + "1"), 0.0);
    EXPECT_EQ(numericValue("1" + zeros + "e-10"), DBL_MAX);
    EXPECT_EQ(numericValue("-0." + zeros + "1e+20"), -0.0);
    EXPECT_EQ(numericValue("1e-99999999999999999999999"), 0.0);
}

TEST(DecimalText, WholeNumbersHaveNoPointAndNoLeadingBlank) {
    EXPECT_EQ(decimalText(-0.0), "0");
    EXPECT_EQ(decimalText(-9.0), "-9");
    EXPECT_EQ(decimalText(999999999999999.0), "999999999999999");
    EXPECT_EQ(decimalText(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
}

TEST(DecimalText, FractionsKeepFifteenSignificantDigitsWithoutTrailingZeros) {
    EXPECT_EQ(decimalText(-280.5), "-280.5");
    EXPECT_EQ(decimalText(0.1), "0.1");
    EXPECT_EQ(decimalText(2.0 / 3.0), "0.666666666666667");
}

TEST(DecimalText, VeryLargeAndVerySmallTakeExponentForm) {
    EXPECT_EQ(decimalText(1e15), "1E+15");
    EXPECT_EQ(decimalText(1e-5), "1E-05");
}
