#include "filters/filter_conditions.h"

#include <gtest/gtest.h>

#include "filters/filter_program.h"
#include "filters/filter_test_support.h"

namespace {

using core::ConditionError;
using core::ProtocolRecord;

struct Conditions : ::testing::Test {
    core::KovaState s;
    ProtocolRecord record;

    bool Accepts(const std::string& cell, const std::string& value,
                 const std::string& anchorValue = "") {
        return core::MatchFieldCondition(s, value, cell, anchorValue, record) == 1;
    }
};

TEST_F(Conditions, PatternsAndLiterals) {
    EXPECT_TRUE(Accepts("*", ""));
    EXPECT_TRUE(Accepts("", ""));
    EXPECT_FALSE(Accepts("", "x"));
    EXPECT_TRUE(Accepts(" *", " lead"));
    EXPECT_FALSE(Accepts(" *", "lead"));
    EXPECT_TRUE(Accepts("abc", "abc"));
    EXPECT_FALSE(Accepts("abc", "ABC"));
    EXPECT_FALSE(Accepts("abc", "abcd"));
    EXPECT_TRUE(Accepts("abc*", "abcd"));
    EXPECT_TRUE(Accepts("##", "42"));
    // A "|" form is also accepted by a value holding the same text.
    EXPECT_TRUE(Accepts("|n>5", "|n>5"));
}

TEST_F(Conditions, NilAndRecordNumber) {
    EXPECT_TRUE(Accepts("|nil", ""));
    EXPECT_FALSE(Accepts("|nil", "x"));
    record.V0 = 12;
    EXPECT_TRUE(Accepts("|V0=12", "whatever"));
    EXPECT_TRUE(Accepts("|V0= 12", ""));
    EXPECT_FALSE(Accepts("|V0=13", "whatever"));
}

TEST_F(Conditions, NumberComparisons) {
    EXPECT_TRUE(Accepts("|n>5", "10:30"));
    EXPECT_FALSE(Accepts("|n>5", "word"));
    EXPECT_TRUE(Accepts("|n=0", "word"));
    EXPECT_TRUE(Accepts("|n<2.5", "2.4"));
    EXPECT_TRUE(Accepts("|n~3", "4"));
    EXPECT_FALSE(Accepts("|n~3", "3"));
    EXPECT_FALSE(Accepts("|n?3", "3"));
    s.FilterVariables[1] = "7";
    EXPECT_TRUE(Accepts("|n>$V1", "8"));
    EXPECT_FALSE(Accepts("|n>$V1", "7"));
    // "$V1 " (trailing blank) and "$v1" are no references: their value is 0.
    EXPECT_TRUE(Accepts("|n>$V1 ", "1"));
    EXPECT_TRUE(Accepts("|n>$v1", "1"));
}

TEST_F(Conditions, TimeDifferenceIsAnchorMinusTested) {
    const std::string anchor = "10:00:00";
    EXPECT_TRUE(Accepts("|dt<-30", "10:00:45", anchor));
    EXPECT_FALSE(Accepts("|dt>0", "10:00:45", anchor));
    EXPECT_TRUE(Accepts("|dt=-45", "10:00:45", anchor));
    EXPECT_TRUE(Accepts("|dt<0:01:00", "10:00:45", anchor));
    EXPECT_TRUE(Accepts("|dt~0", "10:00:45", anchor));
    EXPECT_FALSE(Accepts("|dt:0", "10:00:45", anchor));
    s.FilterVariables[2] = "0:00:10";
    EXPECT_TRUE(Accepts("|dt=$V2", "10:00:00", "10:00:10"));
}

TEST_F(Conditions, TimeDifferenceIsWideAndRoundsHalvesToEven) {
    // Twenty hours apart: far beyond a 16-bit number of seconds, still no error.
    EXPECT_TRUE(Accepts("|dt=-72000", "20:00:00", "0:00:00"));
    EXPECT_TRUE(Accepts("|dt=72000", "0:00:00", "20:00:00"));
    EXPECT_TRUE(Accepts("|dt=0", "0:0:0.5", "0:0:0"));
    EXPECT_TRUE(Accepts("|dt=2", "0:0:0", "0:0:1.5"));
    EXPECT_TRUE(Accepts("|dt=2", "0:0:0", "0:0:2.5"));
}

TEST_F(Conditions, WordCount) {
    EXPECT_TRUE(Accepts("|wcount=3", "one, two.three"));
    EXPECT_TRUE(Accepts("|wcount>2", "a b  c"));
    EXPECT_TRUE(Accepts("|wcount=0", ""));
    EXPECT_FALSE(Accepts("|wcount:3", "a b c"));
    EXPECT_TRUE(s.ScratchText.empty());
}

TEST_F(Conditions, TextComparisons) {
    EXPECT_TRUE(Accepts("|$>m", "n"));
    EXPECT_FALSE(Accepts("|$>m", "M"));
    EXPECT_TRUE(Accepts("|$<m", "M"));
    EXPECT_TRUE(Accepts("|$~abc", "abd"));
    EXPECT_FALSE(Accepts("|$=abc", "abd"));
    s.FilterVariables[4] = "abd";
    EXPECT_TRUE(Accepts("|$=$V4", "abd"));
}

TEST_F(Conditions, VariableStoresAndAssignments) {
    EXPECT_TRUE(Accepts("|n:$V1", "12 apples"));
    EXPECT_EQ(s.FilterVariables[1], "12 apples");
    EXPECT_TRUE(Accepts("|$:$V2", "text"));
    EXPECT_EQ(s.FilterVariables[2], "text");
    EXPECT_FALSE(Accepts("|n:$V6", "x"));
    EXPECT_FALSE(Accepts("|$:plain", "x"));
    EXPECT_TRUE(Accepts("|$V3:yes", "anything"));
    EXPECT_EQ(s.FilterVariables[3], "yes");
    EXPECT_TRUE(Accepts("|$V3:", "anything"));
    EXPECT_EQ(s.FilterVariables[3], "");
    EXPECT_FALSE(Accepts("|$V6:yes", "anything"));
    EXPECT_FALSE(Accepts("|$Vx", "anything"));
}

TEST_F(Conditions, UnknownFormsReject) {
    EXPECT_FALSE(Accepts("|d>3", "5"));
    EXPECT_FALSE(Accepts("|wc>3", "a b c d"));
    EXPECT_FALSE(Accepts("|x", "x1"));
}

TEST_F(Conditions, CellsThatCannotBeEvaluatedCarryTheirText) {
    for (std::string cell : {"|n", "|dt", "|wcount", "|$", "[abc", "a[!b"}) {
        try {
            Accepts(cell, "value");
            ADD_FAILURE() << cell << " did not fail";
        } catch (const ConditionError& e) {
            EXPECT_EQ(std::string(e.what()), cell);
        }
    }
    // The whole text equal to the bare form is accepted by the pattern test first.
    EXPECT_TRUE(Accepts("|n", "|n"));
}

TEST_F(Conditions, LineTestsCellsInOrderAndStopsAtFirstFailure) {
    ProtocolRecord anchor;
    record.V1 = "10:00";
    record.V4 = "10:00";
    // V1 stores into $V2, V4 compares with it: V4 must equal the tested V1.
    ProtocolRecord line = test::FilterLine(0, {{1, "|$:$V2"}, {4, "|$=$V2"}});
    EXPECT_EQ(core::RecordMatchesFilterLine(s, line, record, anchor), 1);
    record.V4 = "11:00";
    EXPECT_EQ(core::RecordMatchesFilterLine(s, line, record, anchor), 0);

    // Exchanged: the comparison sees the value stored by the previous test.
    s.FilterVariables[2] = "old";
    ProtocolRecord swapped = test::FilterLine(0, {{1, "|$=$V2"}, {4, "|$:$V2"}});
    record.V1 = "old";
    EXPECT_EQ(core::RecordMatchesFilterLine(s, swapped, record, anchor), 1);
    EXPECT_EQ(s.FilterVariables[2], "11:00");
    EXPECT_EQ(core::RecordMatchesFilterLine(s, swapped, record, anchor), 0);
    // The V4 store behind the failing V1 cell did not run.
    EXPECT_EQ(s.FilterVariables[2], "11:00");

    // Cells are read untrimmed; V0, V2 and the memo are never compared.
    ProtocolRecord padded = test::FilterLine(0, {{3, " P"}});
    record.V3 = "P";
    EXPECT_EQ(core::RecordMatchesFilterLine(s, padded, record, anchor), 0);
}

TEST_F(Conditions, AnchorFieldOfTheSameColumnFeedsTimeDifferences) {
    ProtocolRecord anchor;
    anchor.V1 = "0:01:00";
    record.V1 = "0:00:30";
    ProtocolRecord line = test::FilterLine(-1, {{1, "|dt=30"}});
    EXPECT_EQ(core::RecordMatchesFilterLine(s, line, record, anchor), 1);
}

}  // namespace
