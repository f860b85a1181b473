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

// One cell against one value: the operator and operand sit at fixed places
// (third, fourth or eighth character), and the first form that applies decides.
struct CellCase {
    const char* cell;
    const char* value;
    const char* anchor;
    bool accepts;
};

TEST_F(Conditions, EachFormReadsItsOperatorAndOperandAtFixedPlaces) {
    s.FilterVariables[1] = "3";
    s.FilterVariables[2] = "0:00:10";
    s.FilterVariables[4] = "abd";
    record.V0 = 7;
    const CellCase cases[] = {
        // "|nil" accepts only the empty value; anything else is a "|n" form
        // with the unknown operator "i".
        {"|nil", "", "", true},
        {"|nil", " ", "", false},
        {"|nil", "nil", "", false},
        // Record number: the fifth character on.
        {"|V0=7", "x", "", true},
        {"|V0=7.0", "x", "", true},
        {"|V0=", "x", "", false},
        {"|V1=7", "|V1=8", "", false},
        // "|n": operator third, operand fourth on, blanks in it ignored.
        {"|n=", "abc", "", true},
        {"|n= 12", "12", "", true},
        {"|n=0.1", "0.1", "", true},
        {"|n>$V1", "4", "", true},
        {"|n>$V1", "3", "", false},
        {"|n=$V4", "0", "", true},   // a variable that is no number counts as 0
        {"|n=$V1 ", "0", "", true},  // no reference: "$V1 " counts as 0
        {"|n:", "x", "", false},
        {"|n:$V1 ", "x", "", false},
        {"|n ", "x", "", false},
        // "|dt": operator fourth, operand fifth on; anchor minus tested.
        {"|dt=", "10:00:00", "10:00:00", true},
        {"|dt=10", "10:00:00", "10:00:10", true},
        {"|dt=$V2", "10:00:00", "10:00:10", true},
        {"|dt:$V2", "10:00:00", "10:00:10", false},
        {"|dt>0:0:09", "10:00:00", "10:00:10", true},
        {"|dt>0:0:10", "10:00:00", "10:00:10", false},
        {"|dt=0", "word", "other", true},
        {"|dtx=10", "10:00:00", "10:00:10", false},
        // "|wcount": operator eighth, operand ninth on; no variables.
        {"|wcount=3", "a b c", "", true},
        {"|wcount= 3", "a b c", "", true},
        {"|wcount=$V1", "a b c", "", false},
        {"|wcount=$V1", "", "", true},
        {"|wcount~2", "a b c", "", true},
        {"|wcount<1", "", "", true},
        {"|wcounts=3", "a b c", "", false},
        {"|wcount =3", "a b c", "", false},
        // "|$": operator third, operand fourth on, compared by character codes.
        {"|$=", "", "", true},
        {"|$=", "x", "", false},
        {"|$= a", " a", "", true},
        {"|$= a", "a", "", false},
        {"|$>z", "\xE9", "", true},  // a byte above 127 sorts after the letters
        {"|$<a", "Z", "", true},
        {"|$=$V4", "abd", "", true},
        {"|$=$V4 ", "$V4 ", "", true},  // no reference: the text itself
        {"|$~$V4", "abd", "", false},
        {"|$?x", "x", "", false},
        {"|$V9:x", "x", "", false},
        {"|$V1x", "x", "", false},
        // Forms told apart by their first characters only.
        {"|d=3", "3", "", false},
        {"|w", "a", "", false},
        {"|N>1", "5", "", false},
        {"n>1", "5", "", false},
        // The wildcard test comes first, also for "|" cells.
        {"|$=abc", "|$=abc", "", true},
        {"|n>#", "|n>5", "", true},
    };
    for (const CellCase& c : cases)
        EXPECT_EQ(Accepts(c.cell, c.value, c.anchor), c.accepts)
            << "cell \"" << c.cell << "\" value \"" << c.value << "\"";
    // None of these cells stores anything.
    EXPECT_EQ(s.FilterVariables[1], "3");
    EXPECT_EQ(s.FilterVariables[2], "0:00:10");
    EXPECT_EQ(s.FilterVariables[4], "abd");
}

TEST_F(Conditions, RecordNumberTestWorksInAnyColumn) {
    ProtocolRecord anchor;
    record.V0 = 12;
    for (int field : {1, 3, 4, 5, 6, 7, 8}) {
        ProtocolRecord line = test::FilterLine(0, {{field, "|V0=12"}});
        EXPECT_EQ(core::RecordMatchesFilterLine(s, line, record, anchor), 1) << field;
        line = test::FilterLine(0, {{field, "|V0=11"}});
        EXPECT_EQ(core::RecordMatchesFilterLine(s, line, record, anchor), 0) << field;
    }
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
