#include "filters/time_arithmetic.h"

#include <gtest/gtest.h>

namespace {

using core::AddTimes;
using core::SubtractTimes;

TEST(AddTimes, CarriesOncePerField) {
    EXPECT_EQ(AddTimes("10:59:45", "0:0:30"), "11:0:15");
    EXPECT_EQ(AddTimes("23:30:0", "1:0:0"), "0:30:0");
    EXPECT_EQ(AddTimes("1:2", "0:0:5"), "1:2:5");
    EXPECT_EQ(AddTimes("0:0:90", "0:0:50"), "0:1:80");
    EXPECT_EQ(AddTimes("20:0:0", "30:0:0"), "26:0:0");
    EXPECT_EQ(AddTimes("12:0:30", "0:0:0.5"), "12:0:30.5");
    EXPECT_EQ(AddTimes("0:59:59", "0:0:1"), "1:0:0");
}

TEST(AddTimes, EmptyAndCodelessArguments) {
    EXPECT_EQ(AddTimes("01:02:03", "0:0:0"), "1:2:3");
    EXPECT_EQ(AddTimes("01:02:03", ""), "01:02:03");
    EXPECT_EQ(AddTimes("01:02:03", "30"), "1:2:3");
    EXPECT_EQ(AddTimes("", "1:0:0"), "0");
    EXPECT_EQ(AddTimes("", ""), "0");
    EXPECT_EQ(AddTimes("word", "0:0:5"), "0:0:5");
    // A third ":" ends the seconds' number.
    EXPECT_EQ(AddTimes("1:2:3:4", "0:0:1"), "1:2:4");
}

TEST(SubtractTimes, BorrowsOncePerFieldAndNeverWrapsHours) {
    EXPECT_EQ(SubtractTimes("1:0:10", "0:0:20"), "0:59:50");
    EXPECT_EQ(SubtractTimes("1:0:0", "2:0:0"), "-1:0:0");
    EXPECT_EQ(SubtractTimes("0:0:10", "0:0:20"), "-1:59:50");
    EXPECT_EQ(SubtractTimes("30:0:0", "1:0:0"), "29:0:0");
    EXPECT_EQ(SubtractTimes("1:5:10", "0:10:0"), "0:55:10");
    // Negative minutes take no borrow: the seconds stay negative.
    EXPECT_EQ(SubtractTimes("1:-5:10", "0:0:20"), "0:55:-10");
    EXPECT_EQ(SubtractTimes("", "1:0:0"), "0");
    EXPECT_EQ(SubtractTimes("1:0:0", ""), "1:0:0");
}

TEST(SevenDigitText, PlainDecimalsWithoutExponent) {
    EXPECT_EQ(core::SevenDigitText(0.0f), "0");
    EXPECT_EQ(core::SevenDigitText(-0.0f), "0");
    EXPECT_EQ(core::SevenDigitText(30.5f), "30.5");
    EXPECT_EQ(core::SevenDigitText(-1.0f), "-1");
    EXPECT_EQ(core::SevenDigitText(0.1f), "0.1");
    EXPECT_EQ(core::SevenDigitText(1234567.0f), "1234567");
    EXPECT_EQ(core::SevenDigitText(123456789.0f), "123456800");
    EXPECT_EQ(core::SevenDigitText(0.00001234f), "0.00001234");
    EXPECT_EQ(core::SevenDigitText(59.99999f), "59.99999");
}

}  // namespace
