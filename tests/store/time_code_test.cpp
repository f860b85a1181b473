#include "store/time_code.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <unordered_map>

using core::ParseTimeCode;

TEST(ParseTimeCode, ColonFormsGiveSeconds) {
    EXPECT_EQ(ParseTimeCode(""), 0.0);
    EXPECT_EQ(ParseTimeCode("1:02:03"), 3723.0);
    EXPECT_EQ(ParseTimeCode("1:02"), 3720.0);
    EXPECT_EQ(ParseTimeCode("0:90:0"), 5400.0);  // no range check on the parts
    EXPECT_EQ(ParseTimeCode("1: 02: 03"), 3723.0);
    EXPECT_EQ(ParseTimeCode(" 1 :02:03"), 3723.0);
    EXPECT_EQ(ParseTimeCode("0:00:01.25"), 1.25);
    EXPECT_EQ(ParseTimeCode("1:2:3:4"), 3723.0);  // text after a third colon is ignored
    EXPECT_EQ(ParseTimeCode("-1:30"), -1800.0);
    EXPECT_EQ(ParseTimeCode(":30"), 1800.0);
    EXPECT_EQ(ParseTimeCode("::7"), 7.0);
    EXPECT_EQ(ParseTimeCode("a:b:c"), 0.0);
    EXPECT_EQ(ParseTimeCode("1:"), 3600.0);
}

TEST(ParseTimeCode, HoursAndMinutesAreSinglePrecision) {
    // 1234.567 hours does not fit seven significant digits once in seconds.
    const float h = static_cast<float>(1234.567 * 3600.0);
    EXPECT_EQ(ParseTimeCode("1234.567:0:0.5"), static_cast<double>(h) + 0.5);
    EXPECT_NE(ParseTimeCode("1234.567:0:0.5"), 1234.567 * 3600.0 + 0.5);
    // The seconds keep double precision.
    EXPECT_EQ(ParseTimeCode("0:0:0.123456789"), 0.123456789);
}

TEST(ParseTimeCode, DayMonthHourCodesGiveHours) {
    EXPECT_EQ(ParseTimeCode("15Mr0930"), 15 * 24 + 1416 + 9);
    EXPECT_EQ(ParseTimeCode("15Mr0900"), ParseTimeCode("15Mr0930"));  // minutes do not count
    EXPECT_EQ(ParseTimeCode("5Dc2359"), 5 * 24 + 8016 + 23);
    EXPECT_EQ(ParseTimeCode("01Jn0000"), 24.0);
    EXPECT_EQ(ParseTimeCode("01Ju0000"), 24.0 + 3624);  // June has its own code
    EXPECT_EQ(ParseTimeCode("01Jl0100"), 24.0 + 4344 + 1);
    EXPECT_EQ(ParseTimeCode("15Xy0930"), 15 * 24 + 9);  // unknown month code
    EXPECT_EQ(ParseTimeCode("15Mr093"), 24.0);   // length decides: day 1, code "5M", hour "r0"
    EXPECT_EQ(ParseTimeCode("5Mr093"), 0.0);     // matches, but length 6
    EXPECT_EQ(ParseTimeCode("15Mr09300"), 0.0);  // matches, but length 9
    EXPECT_EQ(ParseTimeCode("15mr0930"), 15.0);  // month codes are case-sensitive
    EXPECT_EQ(ParseTimeCode("15MR0930"), 15.0);
}

TEST(ParseTimeCode, OtherTextsGiveTheirNumber) {
    EXPECT_EQ(ParseTimeCode("12.5"), 12.5);
    EXPECT_EQ(ParseTimeCode("abc"), 0.0);
    EXPECT_EQ(ParseTimeCode(" 7 s"), 7.0);
    EXPECT_EQ(ParseTimeCode("[x"), 0.0);  // never an error
}

TEST(MonthOffsetHours, TableAndUnknownCodes) {
    EXPECT_EQ(core::MonthOffsetHours("Jn"), 0);
    EXPECT_EQ(core::MonthOffsetHours("Fb"), 744);
    EXPECT_EQ(core::MonthOffsetHours("Ju"), 3624);
    EXPECT_EQ(core::MonthOffsetHours("Dc"), 8016);
    EXPECT_EQ(core::MonthOffsetHours("dc"), 0);
    EXPECT_EQ(core::MonthOffsetHours(""), 0);
}

TEST(CollectionHasKey, FindsWithoutChanging) {
    std::map<std::string, int> counts;
    EXPECT_FALSE(core::CollectionHasKey(counts, std::string("a")));
    EXPECT_TRUE(counts.empty());
    counts["word"] = 3;
    EXPECT_TRUE(core::CollectionHasKey(counts, std::string("word")));
    EXPECT_FALSE(core::CollectionHasKey(counts, std::string("Word")));
    std::set<std::string> keys{"x"};
    EXPECT_TRUE(core::CollectionHasKey(keys, std::string("x")));
    std::unordered_map<int, int> byNumber{{5, 1}};
    EXPECT_FALSE(core::CollectionHasKey(byNumber, 6));
}
