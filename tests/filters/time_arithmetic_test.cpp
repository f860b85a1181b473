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

namespace {

struct TimeCase {
    const char* a;
    const char* b;
    const char* expected;
};

TEST(AddTimes, CaseByCase) {
    const TimeCase cases[] = {
        {"0:0:0.1", "0:0:0.2", "0:0:0.3"},  // single precision, seven digits
        {"0:0:1.23456789", "0:0:0", "0:0:1.234568"},
        {"0:59:0", "0:1:0", "1:0:0"},
        {"23:59:59", "0:0:1", "0:0:0"},     // every field carries once
        {"1:0:0", "0:30", "1:30:0"},        // h:m counts as no seconds
        {" 1: 2: 3", "0:0:0", "1:2:3"},     // blanks before a part's number
        {"0:0:59.5", "0:0:0", "0:1:-0.5"},  // above 59 carries, fractions too
        {"0:0:59", "0:0:0", "0:0:59"},
        {"1:2:3", "x:y:z", "1:2:3"},
        {"-1:0:0", "0:0:0", "-1:0:0"},
    };
    for (const TimeCase& c : cases)
        EXPECT_EQ(AddTimes(c.a, c.b), c.expected) << c.a << " + " << c.b;
}

TEST(SubtractTimes, CaseByCase) {
    const TimeCase cases[] = {
        {"2:10:0", "0:20:0", "1:50:0"},
        {"1:0:0", "0:0:1", "0:59:59"},
        {"1:0:0", "0:1:1", "0:58:59"},
        {"30", "0:0:10", "-1:59:50"},  // a code without ":" is 0:0:0
        {"0:0:10.25", "0:0:0.5", "0:0:9.75"},
        {"1:30", "0:0:30", "1:29:30"},
        {"0:0:0", "0:0:0", "0:0:0"},
        {"0:0:0", "", "0:0:0"},
        {"", "", "0"},
    };
    for (const TimeCase& c : cases)
        EXPECT_EQ(SubtractTimes(c.a, c.b), c.expected) << c.a << " - " << c.b;
}

}  // namespace
