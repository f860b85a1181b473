#include "filters/filter_actions.h"

#include <gtest/gtest.h>

#include "filters/filter_program.h"
#include "filters/filter_test_support.h"
#include "store/open_save.h"

namespace {

using core::ProtocolRecord;

// A block of one condition line with the given offset and a header with the
// given cells, applied to one anchor without running the whole pass.
struct Actions : ::testing::Test {
    core::KovaState s;
    core::FilterPass pass;

    void SetUp() override {
        std::vector<ProtocolRecord> records(5);
        for (int k = 0; k < 5; ++k) {
            records[k].V1 = "0:0:" + std::to_string(10 * k);
            records[k].V3 = "P" + std::to_string(k + 1);
            records[k].V4 = "c" + std::to_string(k + 1);
            records[k].V8 = "text of record " + std::to_string(k + 1);
        }
        test::SetProtocol(s, records);
        pass.deleteQueued.assign(6, 0);
    }

    void Apply(int anchor, int offset, std::initializer_list<std::pair<int, std::string>> cells) {
        test::SetProgram(
            s, {test::FilterLine(static_cast<int16_t>(offset), {}), test::FilterLine(999, cells)});
        core::ApplyFilterActions(s, pass, s.Records2[2], anchor, 2);
    }

    ProtocolRecord& R(int k) { return s.Records1[k]; }
};

TEST_F(Actions, StarsChangeNothingAndEmptyCellsEmpty) {
    ProtocolRecord before = R(2);
    Apply(2, 0, {});
    EXPECT_EQ(R(2), before);
    Apply(2, 0, {{4, ""}});
    EXPECT_EQ(R(2).V4, "");
    s.FilterAppendMode = core::kTrue;
    Apply(3, 0, {{4, ""}});
    EXPECT_EQ(R(3).V4, "c3");
}

TEST_F(Actions, LiteralTextReplacesOrAppends) {
    Apply(2, 0, {{5, "X"}, {8, "new text"}});
    EXPECT_EQ(R(2).V5, "X");
    EXPECT_EQ(R(2).V8, "new text");
    s.FilterAppendMode = core::kTrue;
    Apply(3, 0, {{4, "+"}});
    EXPECT_EQ(R(3).V4, "c3+");
    // A misspelt action is literal text.
    s.FilterAppendMode = core::kFalse;
    Apply(3, 0, {{4, "|delete"}});
    EXPECT_EQ(R(3).V4, "|delete");
}

TEST_F(Actions, HeaderCellsAreTrimmedInTheProgram) {
    Apply(2, 0, {{3, "  |del  "}, {4, " B "}});
    EXPECT_EQ(s.Records2[2].V3, "|del");
    EXPECT_EQ(s.Records2[2].V4, "B");
    EXPECT_EQ(R(2).V4, "B");
}

TEST_F(Actions, CopyFromTheTarget) {
    Apply(3, -1, {{4, "|==="}});
    EXPECT_EQ(R(3).V4, "c2");
    Apply(3, 0, {{5, "|==="}});
    EXPECT_EQ(R(3).V5, "");
    R(3).V6 = "ab";
    s.FilterAppendMode = core::kTrue;
    Apply(3, 0, {{6, "|==="}});
    EXPECT_EQ(R(3).V6, "abab");
    Apply(4, -1, {{6, "|==="}});
    EXPECT_EQ(R(4).V6, "abab");  // anchor's empty V6 followed by the target's
}

TEST_F(Actions, CopyInTheTimeColumnRaisesTheSequenceNumber) {
    R(2).V2 = 4;
    Apply(2, 0, {{1, "|==="}});
    EXPECT_EQ(R(2).V2, 5);
    s.FilterAppendMode = core::kTrue;
    Apply(2, 0, {{1, "|==="}});
    EXPECT_EQ(R(2).V2, 6);
    EXPECT_EQ(R(2).V1, "0:0:100:0:10");
    R(2).V2 = 32767;
    Apply(2, 0, {{1, "|==="}});
    EXPECT_EQ(R(2).V2, 32767);
}

TEST_F(Actions, DeletionQueuesEachTargetOnce) {
    Apply(3, 1, {{3, "|del"}, {4, "|del"}});
    EXPECT_EQ(pass.FilterDeleteCount, 1);
    EXPECT_TRUE(pass.deleteQueued[4]);
    EXPECT_EQ(s.RecordCount1, 5);
}

TEST_F(Actions, WordCountOfTheTargetText) {
    R(1).V8 = "";
    Apply(2, -1, {{4, "|wcount"}});
    EXPECT_EQ(R(2).V4, "000");
    R(1).V8 = "one two three, four (five) six. seven";
    Apply(2, -1, {{5, "|wcount"}});
    EXPECT_EQ(R(2).V5, "007");
    std::string many;
    for (int k = 0; k < 1234; ++k)
        many += "w ";
    R(1).V8 = many;
    Apply(2, -1, {{6, "|wcount"}});
    EXPECT_EQ(R(2).V6, "1234");
    EXPECT_EQ(R(1).V8, many);
}

TEST_F(Actions, SetSequenceNumber) {
    Apply(2, 0, {{4, "|V2=7|"}});
    EXPECT_EQ(R(2).V2, 7);
    EXPECT_EQ(R(2).V4, "c2");
    Apply(2, 0, {{4, "|V2=|"}});
    EXPECT_EQ(R(2).V2, 0);
    Apply(2, 0, {{4, "|V2=2.5|"}});
    EXPECT_EQ(R(2).V2, 2);
    Apply(2, 0, {{4, "|V2=3.5|"}});
    EXPECT_EQ(R(2).V2, 4);
    // Without its closing bar the number runs to the end of the cell.
    Apply(2, 0, {{4, "|V2=12"}});
    EXPECT_EQ(R(2).V2, 12);
    // A number a sequence number cannot hold leaves it alone.
    Apply(2, 0, {{4, "|V2=40000|"}});
    EXPECT_EQ(R(2).V2, 12);
    Apply(2, 0, {{4, "|V2=-32768|"}});
    EXPECT_EQ(R(2).V2, -32768);
}

TEST_F(Actions, LetterCase) {
    R(1).V8 = "Ab\xC9\x8A";
    Apply(2, -1, {{8, "|lowercase"}});
    EXPECT_EQ(R(2).V8, "ab\xE9\x9A");
    Apply(2, -1, {{8, "|uppercase"}});
    EXPECT_EQ(R(2).V8, "AB\xC9\x8A");
}

TEST_F(Actions, NumberArithmetic) {
    R(1).V4 = "12";
    R(1).V5 = "letters";
    R(1).V6 = "10:30";
    R(1).V7 = "1";
    Apply(2, -1, {{4, "|n+5"}, {5, "|n+5"}, {6, "|n+5"}, {7, "|n-2.5"}});
    EXPECT_EQ(R(2).V4, "17");
    EXPECT_EQ(R(2).V5, "5");
    EXPECT_EQ(R(2).V6, "15");
    EXPECT_EQ(R(2).V7, "-1.5");
    s.FilterVariables[2] = "";
    R(2).V5 = " 5.50 kg";
    R(3).V6 = "keep6";
    R(3).V7 = "keep7";
    Apply(3, -1, {{4, "|n+$V2"}, {5, "|n+"}, {6, "|n*2"}, {7, "|n"}});
    EXPECT_EQ(R(3).V4, "17");
    EXPECT_EQ(R(3).V5, "5.5");
    EXPECT_EQ(R(3).V6, "keep6");
    EXPECT_EQ(R(3).V7, "keep7");
    R(2).V4 = "0.1";
    R(2).V5 = "5";
    Apply(3, -1, {{4, "|n+0.2"}, {5, "|n+1E20"}});
    EXPECT_EQ(R(3).V4, "0.3");
    EXPECT_EQ(R(3).V5, "1E+20");
}

TEST_F(Actions, TimeArithmeticOnlyInTheTimeColumn) {
    R(1).V1 = " 10:59:45 ";
    R(1).V3 = "10:59:45";
    Apply(2, -1, {{1, "|t+0:0:30"}, {3, "|t+0:0:30"}});
    EXPECT_EQ(R(2).V1, "11:0:15");
    EXPECT_EQ(R(2).V3, "P2");
    Apply(3, -1, {{1, "|t+30"}});
    EXPECT_EQ(R(3).V1, "11:0:15");
    R(3).V1 = "";
    Apply(4, -1, {{1, "|t-0:0:5"}});
    EXPECT_EQ(R(4).V1, "0");
    Apply(4, 0, {{1, "|t*0:0:5"}});
    EXPECT_EQ(R(4).V1, "0");
    s.FilterVariables[5] = "1:0:0";
    R(4).V1 = "2:0:0";
    Apply(4, 0, {{1, "|t-$V5"}});
    EXPECT_EQ(R(4).V1, "1:0:0");
}

TEST_F(Actions, TimeDifferenceIsTargetMinusAnchor) {
    R(2).V1 = "0:1:30";
    R(3).V1 = "0:1:00";
    Apply(3, -1, {{4, "|diftime"}});
    EXPECT_EQ(R(3).V4, "30");
    R(3).V1 = "0:1:00";
    Apply(2, 1, {{3, "|diftime"}});
    EXPECT_EQ(R(2).V3, "-30");
    // The V1 cell acts first, so a later column reads the rewritten time.
    R(4).V1 = "0:0:0";
    R(5).V1 = "0:0:10";
    Apply(4, 1, {{1, "|t+0:0:4"}, {5, "|diftime"}});
    EXPECT_EQ(R(4).V1, "0:0:14");
    EXPECT_EQ(R(4).V5, "-4");
}

TEST_F(Actions, TextOperationsOnTheAnchorField) {
    R(2).V8 = "the theme of the day";
    Apply(2, 0, {{8, "|$~the"}});
    EXPECT_EQ(R(2).V8, " me of  day");
    R(2).V8 = "a cat in the hat";
    Apply(2, 0, {{8, "|$~| the|"}});
    EXPECT_EQ(R(2).V8, "a cat in hat");
    R(2).V4 = "  ab  ";
    Apply(2, 0, {{4, "|$+| cd|"}});
    EXPECT_EQ(R(2).V4, "ab cd");
    Apply(2, 0, {{4, "|$\\x-"}});
    EXPECT_EQ(R(2).V4, "x-ab cd");
    R(2).V5 = "a-b-a";
    Apply(2, 0, {{5, "|$=|a|bb|"}});
    EXPECT_EQ(R(2).V5, "bb-b-bb");
    Apply(2, 0, {{5, "|$=|b|"}});
    EXPECT_EQ(R(2).V5, "--");
    Apply(2, 0, {{5, "|$=|-|+"}});
    EXPECT_EQ(R(2).V5, "++");
    Apply(2, 0, {{5, "|$=plain"}});
    EXPECT_EQ(R(2).V5, "plain");
    s.FilterVariables[1] = "from var";
    Apply(2, 0, {{5, "|$=$V1"}});
    EXPECT_EQ(R(2).V5, "from var");
    s.FilterVariables[1] = "|var|";
    Apply(2, 0, {{5, "|$=$V1"}});
    EXPECT_EQ(R(2).V5, "from ");  // the variable's value goes through the bar rules
    Apply(2, 0, {{5, "|$="}});
    EXPECT_EQ(R(2).V5, "");
    R(2).V6 = "keep6";
    R(2).V7 = "keep7";
    Apply(2, 0, {{6, "|$?x"}, {7, "|$"}});
    EXPECT_EQ(R(2).V6, "keep6");
    EXPECT_EQ(R(2).V7, "keep7");
}

TEST_F(Actions, SplitMarksAfterAText) {
    R(2).V8 = "first part. second part";
    Apply(2, 0, {{4, "|///part."}});
    EXPECT_EQ(R(2).V8, "first part./// second part");
    EXPECT_EQ(pass.FilterSplitCount, 1);
    // A word that ends the text gets no mark.
    R(3).V8 = "one two";
    Apply(3, 0, {{4, "|///two"}});
    EXPECT_EQ(R(3).V8, "one two");
    EXPECT_EQ(pass.FilterSplitCount, 1);
    // Every occurrence is marked.
    R(4).V8 = "go, go, gone";
    Apply(4, 0, {{4, "|///go,"}});
    EXPECT_EQ(R(4).V8, "go,/// go,/// gone");
    // After the k-th character of the text.
    R(5).V8 = "abcdef";
    Apply(5, 0, {{4, "|///bcd|1"}});
    EXPECT_EQ(R(5).V8, "ab///cdef");
}

// The saved size follows a split mark, a copy and a sequence number gaining a
// digit as a count over the whole set finds it.
TEST_F(Actions, TheSavedSizeFollowsEachChange) {
    R(2).V2 = 9;
    R(3).V8 = "first part. second part";
    pass.saved = core::SavedSizeOfSet(s, 1);
    Apply(2, 1, {{1, "|==="}, {3, "a longer actor"}, {4, "|///part."}});
    EXPECT_EQ(R(2).V2, 10);
    EXPECT_EQ(R(3).V8, "first part./// second part");
    EXPECT_EQ(pass.saved.Bytes(), core::SavedSizeOfSet(s, 1).Bytes());
}

TEST_F(Actions, SplitMarksBeforeAText) {
    R(2).V8 = "one. Two three";
    Apply(2, 0, {{4, "|\\\\\\Two"}});
    EXPECT_EQ(R(2).V8, "one. ///Two three");
    // Without a position the test uses the text's last character: a text
    // that ends the record's text gets no mark.
    R(4).V8 = "one. Two";
    Apply(4, 0, {{4, "|\\\\\\Two"}});
    EXPECT_EQ(R(4).V8, "one. Two");
    R(3).V8 = "abcdef";
    Apply(3, 0, {{4, "|\\\\\\bcd|2"}});
    EXPECT_EQ(R(3).V8, "ab///cdef");
}

TEST_F(Actions, SplitMarkPositionTests) {
    // The text does not occur, but k - 1 lies inside the record's text: the
    // count rises (the split pass will run) while this text stays unchanged.
    R(2).V8 = "abcdef";
    Apply(2, 0, {{4, "|///xyz|3"}});
    EXPECT_EQ(R(2).V8, "abcdef");
    EXPECT_EQ(pass.FilterSplitCount, 1);
    // A position no 16-bit number holds places no mark.
    Apply(2, 0, {{4, "|///bc|99999"}});
    EXPECT_EQ(R(2).V8, "abcdef");
    EXPECT_EQ(pass.FilterSplitCount, 1);
    // A position before the text falls back to the mark after the whole text.
    R(3).V8 = "xx abc abc";
    Apply(3, 0, {{4, "|///abc|-2"}});
    EXPECT_EQ(R(3).V8, "xx abc/// abc///");
    // The mark goes into the target's text, whatever the column.
    R(4).V8 = "a b";
    Apply(5, -1, {{1, "|///a"}});
    EXPECT_EQ(R(4).V8, "a/// b");
    EXPECT_EQ(R(5).V1, "0:0:40");
}

TEST_F(Actions, HeaderBelowAnotherHeaderActsOnTheAnchor) {
    test::SetProgram(s, {test::FilterLine(999, {}), test::FilterLine(999, {{4, "|==="}})});
    R(3).V4 = "own";
    core::ApplyFilterActions(s, pass, s.Records2[2], 3, 2);
    EXPECT_EQ(R(3).V4, "own");
    test::SetProgram(s, {test::FilterLine(999, {{4, "first"}})});
    core::ApplyFilterActions(s, pass, s.Records2[1], 3, 1);
    EXPECT_EQ(R(3).V4, "first");
}

// One action cell in one column: the anchor (record 3) reads the target
// (record 2) and its own field of the column.
struct ActionCase {
    int field;
    const char* cell;
    const char* target;
    const char* anchor;
    const char* expected;
};

TEST_F(Actions, EachFormWritesTheAnchorFieldExactly) {
    s.FilterVariables[1] = "|x|";
    s.FilterVariables[2] = "2.5";
    s.FilterVariables[3] = "0:0:20";
    const ActionCase cases[] = {
        // Number arithmetic: operator third, operand fourth on; general number
        // form with "." as the decimal point, in every column.
        {4, "|n+1", "2.5", "a", "3.5"},
        {8, "|n-1", "0.5", "a", "-0.5"},
        {1, "|n+$V2", "1", "a", "3.5"},
        {5, "|n+ 1", "1", "a", "2"},
        {5, "|n+1/3", "0", "a", "1"},
        {5, "|n-0.000001", "0", "a", "-1E-06"},
        {5, "|n+1", "123456789012345678", "a", "1.23456789012346E+17"},
        {5, "|n+", "4.25 kg", "a", "4.25"},
        {5, "|n=3", "1", "a", "a"},
        {5, "|n+1x", "1", "a", "2"},
        // Time arithmetic: only the time column, target trimmed.
        {1, "|t-0:0:30", " 1:0:10 ", "a", "0:59:40"},
        {1, "|t+$V3", "0:0:50", "a", "0:1:10"},
        {1, "|t*0:0:1", "0:0:50", "a", "a"},
        {4, "|t-0:0:30", "1:0:10", "a", "a"},
        // Text operations on the anchor's own field; the target is not read.
        {4, "|$~b", "zzz", "abcb", "ac"},
        {4, "|$~|", "zzz", "a|b", "ab"},
        {4, "|$~||", "zzz", "a|b", "a|b"},
        {4, "|$~$V1", "zzz", "axbx", "ab"},
        {4, "|$+x", "zzz", " a ", "ax"},
        {4, "|$+| x |", "zzz", " a ", "a x "},
        {4, "|$\\| x |", "zzz", " a ", " x a"},
        {4, "|$\\$V1", "zzz", "a", "xa"},
        {4, "|$=|a|b|c|", "zzz", "aXa", "b|cXb|c"},
        {4, "|$=|a||", "zzz", "aXa", "X"},
        {4, "|$=|a|", "zzz", "aXa", "X"},
        {4, "|$=|a|b", "zzz", "aXa", "bXb"},
        {4, "|$=||", "zzz", "aXa", "aXa"},
        {4, "|$=|||", "zzz", "aXa", "aXa"},
        {4, "|$=|", "zzz", "aXa", "|"},
        {4, "|$=|abc", "zzz", "aXa", "|abc"},
        {4, "|$=$V1", "zzz", "axa", "aa"},
        {4, "|$=x y", "zzz", "a", "x y"},
        {4, "|$*x", "zzz", "a", "a"},
        // Replacements are case-sensitive and do not overlap.
        {4, "|$=|aa|b|", "zzz", "aaaA", "baA"},
        // Copies, letter case and the word count of the target's text.
        {5, "|===", "T", "a", "T"},
        {5, "|lowercase", "MiX", "a", "mix"},
        {5, "|uppercase", "MiX", "a", "MIX"},
        // Near misses are literal text.
        {5, "|== =", "T", "a", "|== ="},
        {5, "|Lowercase", "T", "a", "|Lowercase"},
        {5, "|wcounts", "T", "a", "|wcounts"},
        {5, "|diftime2", "T", "a", "|diftime2"},
        {5, "|v2=3|", "T", "a", "|v2=3|"},
        {5, "|x", "T", "a", "|x"},
    };
    for (const ActionCase& c : cases) {
        *core::TextField(R(2), c.field) = c.target;
        *core::TextField(R(3), c.field) = c.anchor;
        Apply(3, -1, {{c.field, c.cell}});
        EXPECT_EQ(*core::TextField(R(3), c.field), c.expected) << "cell \"" << c.cell << "\"";
        EXPECT_EQ(*core::TextField(R(2), c.field), c.target) << "cell \"" << c.cell << "\"";
    }
}

TEST_F(Actions, AppendModeChangesOnlyCopiesAndLiteralText) {
    s.FilterAppendMode = core::kTrue;
    const ActionCase cases[] = {
        {5, "|===", "T", "a", "aT"},      {5, "lit", "T", "a", "alit"},
        {5, "", "T", "a", "a"},           {5, "|n+1", "1", "a", "2"},
        {5, "|lowercase", "T", "a", "t"}, {5, "|uppercase", "t", "a", "T"},
        {5, "|$=x", "T", "a", "x"},       {5, "|$+x", "T", "a", "ax"},
        {5, "|diftime", "T", "a", "-10"}, {1, "|t+0:0:5", "0:0:10", "a", "0:0:15"},
    };
    for (const ActionCase& c : cases) {
        *core::TextField(R(2), c.field) = c.target;
        *core::TextField(R(3), c.field) = c.anchor;
        if (c.field != 1) {
            R(2).V1 = "0:0:10";
            R(3).V1 = "0:0:20";
        }
        Apply(3, -1, {{c.field, c.cell}});
        EXPECT_EQ(*core::TextField(R(3), c.field), c.expected) << "cell \"" << c.cell << "\"";
    }
    R(2).V8 = "one two";
    Apply(3, -1, {{4, "|wcount"}});
    EXPECT_EQ(R(3).V4, "002");
}

TEST_F(Actions, WordCountWritesThreeDigitsFromTheTargetTextInAnyColumn) {
    R(2).V8 = "one two";
    R(3).V8 = "a b c d e f g h i j k l";
    Apply(3, -1, {{1, "|wcount"}, {3, "|wcount"}, {8, "|wcount"}});
    EXPECT_EQ(R(3).V1, "002");
    EXPECT_EQ(R(3).V3, "002");
    EXPECT_EQ(R(3).V8, "002");
    R(2).V8 =
        "w w w w w w w w w w w w w w w w w w w w w w w w w w w w w w w w w w w w w w "
        "w w w w w w w w w w w w w w w w w w w w w w w w w w w w w w w w w w w w w w "
        "w w w w w w w w w w w w w w w w w w w w w w w w";
    Apply(3, -1, {{4, "|wcount"}});
    EXPECT_EQ(R(3).V4, "100");
}

// One split mark: the target's text before and after, and whether the count
// of split marks rose.
struct SplitCase {
    const char* cell;
    const char* text;
    const char* expected;
    bool counted;
};

TEST_F(Actions, SplitMarksPlacedCaseByCase) {
    const SplitCase cases[] = {
        // After: k counts from the text's start; k of 0 or the text's length
        // falls back to the mark behind the whole text, the test still uses k.
        {"|///bcd|1", "abcdef", "ab///cdef", true},
        {"|///bcd|2", "abcdef", "abc///def", true},
        {"|///bcd|3", "abcdef", "abcd///ef", true},
        {"|///bcd|0", "abcdef", "abcd///ef", true},
        {"|///bcd|1.5", "abcdef", "abc///def", true},
        {"|///bcd|2.5", "abcdef", "abc///def", true},
        {"|///bcd|5", "abcdef", "abcdef", false},
        {"|///bcd", "abcdef", "abcd///ef", true},
        {"|///def", "abcdef", "abcdef", false},
        {"|///abc|-1", "abcdef", "abcdef", false},
        // Before: 2 <= k <= the text's length marks inside, else before it.
        {"|\\\\\\bcd|1", "abcdef", "a///bcdef", true},
        {"|\\\\\\bcd|2", "abcdef", "ab///cdef", true},
        {"|\\\\\\bcd|3", "abcdef", "abc///def", true},
        {"|\\\\\\bcd|4", "abcdef", "a///bcdef", true},
        {"|\\\\\\bcd|5", "abcdef", "abcdef", false},
        {"|\\\\\\bcd", "abcdef", "a///bcdef", true},
        {"|\\\\\\a", "abcdef", "///abcdef", true},
        {"|\\\\\\ef", "abcdef", "abcdef", false},
        {"|\\\\\\ab", "abcdef", "///abcdef", true},
        // Every occurrence; an empty text is found at the start but marks nothing.
        {"|\\\\\\b|1", "abab", "a///ba///b", true},
        {"|///|3", "abcdef", "abcdef", true},
        {"|///", "abcdef", "abcdef", false},
        {"|///|0", "abcdef", "abcdef", false},
        // The mark text is the rest of the cell up to its first bar; the
        // position is the leading number behind it.
        {"|///b c|2|9", "ab cd", "ab ///cd", true},
        {"|///b c|2", "ab cd", "ab ///cd", true},
    };
    for (const SplitCase& c : cases) {
        R(2).V8 = c.text;
        const int before = pass.FilterSplitCount;
        Apply(3, -1, {{4, c.cell}});
        EXPECT_EQ(R(2).V8, c.expected) << "cell \"" << c.cell << "\" on \"" << c.text << "\"";
        EXPECT_EQ(pass.FilterSplitCount - before, c.counted ? 1 : 0) << "cell \"" << c.cell << "\"";
        EXPECT_EQ(R(3).V4, "c3");
    }
}

TEST(TextBetweenMarkers, FindsTheTextBetweenTheFirstMarkers) {
    EXPECT_EQ(core::TextBetweenMarkers("|V2=12|x|", "=", "|"), "12");
    EXPECT_EQ(core::TextBetweenMarkers("|V2=|", "=", "|"), "");
    EXPECT_EQ(core::TextBetweenMarkers("|V2=5", "=", "|"), "5");
    EXPECT_EQ(core::TextBetweenMarkers("a=b=c|", "=", "|"), "b=c");
}

}  // namespace
