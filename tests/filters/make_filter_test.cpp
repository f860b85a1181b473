#include <gtest/gtest.h>

#include "filters/filter_run.h"
#include "filters/filter_test_support.h"
#include "filters/make_filter.h"
#include "mainwindow/daily_fixture.h"
#include "store/open_save.h"
#include "store/selection_store.h"
#include "store/text.h"
#include "support/fake_ui.h"

namespace {

using core::MakeFilterCondition;

struct ConditionCase {
    const char* text;
    const char* selected;
    const char* condition;
};

TEST(MakeFilterCondition, StarsAroundTheFirstSelectionAndLiteralWildcards) {
    const ConditionCase cases[] = {
        {"one two three", "one", "one*"},
        {"one two three", "two", "*two*"},
        {"one two three", "three", "*three"},
        {"one two three", "", "one two three"},
        // The first copy starts the text, so the second copy selected still
        // gives a star after it.
        {"word word", "word", "word*"},
        {"abc", "abc", "abc*"},
        {"what?", "what?", "what[?]*"},
        {"say what?", "what?", "*what[?]"},
        // Wildcard characters become literal.
        {"[a]", "", "[[]a]"},
        {"a?b", "", "a[?]b"},
        {"#1", "", "[#]1"},
        {"*x*", "", "[*]x[*]"},
        // Escaping "[" first keeps the brackets of the later steps intact.
        {"[?#*]", "", "[[][?][#][*]]"},
        {"go [x] now", "[x]", "*[[]x]*"},
        {"x#? y", "x#?", "x[#][?]*"},
    };
    for (const ConditionCase& c : cases)
        EXPECT_EQ(MakeFilterCondition(c.text, c.selected), c.condition)
            << c.text << " / " << c.selected;
    // What the condition matches, read by the wildcard matcher of the filters.
    EXPECT_TRUE(core::WildcardMatch("[?#*]", MakeFilterCondition("[?#*]", "")));
    EXPECT_FALSE(core::WildcardMatch("[x#*]", MakeFilterCondition("[?#*]", "")));
    EXPECT_TRUE(core::WildcardMatch("go [x] now", MakeFilterCondition("go [x] now", "[x]")));
}

struct MakeFilterTest : ::testing::Test {
    core::KovaState s;
    test::FakeUi ui;

    void SetUp() override {
        std::vector<core::ProtocolRecord> records(3);
        records[0].V8 = "hello there";
        records[1].V8 = "say hello there friend";
        records[1].V4 = "Q";
        records[1].V5 = "";
        records[1].V6 = " ";
        records[1].V7 = "Z";
        records[2].V8 = "nothing";
        test::SetProtocol(s, std::move(records));
        std::vector<core::ProtocolRecord> lines;
        for (int k = 1; k <= 5; ++k)
            lines.push_back(test::FilterLine(0, {{8, "line " + std::to_string(k)}}));
        test::SetProgram(s, std::move(lines));
        s.CurrentRecord1 = 2;
    }

    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (int i = 1; i <= s.FilterCount; ++i)
            out.push_back(std::to_string(s.Records2[i].V0) + ":" + s.Records2[i].V8);
        return out;
    }
};

TEST_F(MakeFilterTest, TwoLinesGoAfterTheCurrentLineAndTheRestMoveDown) {
    s.CurrentFilterLine = 2;
    ASSERT_TRUE(core::MakeFilter(s, ui, "say hello there friend", "hello"));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"1:line 1", "2:line 2", "3:*hello*", "4:*",
                                                 "5:line 3", "6:line 4", "7:line 5"}));
    const core::ProtocolRecord& condition = s.Records2[3];
    EXPECT_EQ(condition.V2, 0);
    for (int k : {1, 3, 4, 5, 6, 7})
        EXPECT_EQ(*core::TextField(condition, k), "*") << k;
    const core::ProtocolRecord& header = s.Records2[4];
    EXPECT_EQ(header.V2, 999);
    EXPECT_EQ(header.V1, "*");
    EXPECT_EQ(header.V3, "*");
    // An empty code leaves the field alone; a blank is a code and is copied.
    EXPECT_EQ(header.V4, "Q");
    EXPECT_EQ(header.V5, "*");
    EXPECT_EQ(header.V6, " ");
    EXPECT_EQ(header.V7, "Z");
    EXPECT_EQ(header.Memo, "");
    EXPECT_EQ(s.FilterCount, 7);
    EXPECT_EQ(s.CurrentFilterLine, 4);
    EXPECT_EQ(s.ViewMode, 3);
    EXPECT_EQ(s.Main.Teller.caption, "7");
    EXPECT_EQ(s.Main.CRunfilter.caption, "Run Filter(s)");
}

TEST_F(MakeFilterTest, AfterTheLastLineNothingMoves) {
    s.CurrentFilterLine = 5;
    ASSERT_TRUE(core::MakeFilter(s, ui, "nothing", ""));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"1:line 1", "2:line 2", "3:line 3", "4:line 4",
                                                 "5:line 5", "6:nothing", "7:*"}));
    EXPECT_EQ(s.CurrentFilterLine, 7);
}

TEST_F(MakeFilterTest, TheNewBlockRunGivesTheMatchingRecordsTheCodes) {
    test::SetProgram(s, {});
    s.FilterCount = 0;
    s.CurrentFilterLine = 0;
    ASSERT_TRUE(core::MakeFilter(s, ui, "say hello there friend", "hello there"));
    EXPECT_EQ(s.Records2[1].V8, "*hello there*");
    s.ViewMode = 1;
    s.FromRecord = 1;
    s.ToRecord = 3;
    core::RunAllFilters(s, ui);
    // Record 1 ends in the selection, record 2 holds it inside, record 3 not.
    EXPECT_EQ(test::Column(s, 4), (std::vector<std::string>{"Q", "Q", ""}));
    EXPECT_EQ(test::Column(s, 7), (std::vector<std::string>{"Z", "Z", ""}));
    EXPECT_EQ(test::Column(s, 5), (std::vector<std::string>{"", "", ""}));
}

// Full by its lines, or by the bytes its file may hold: the two lines take
// more than the 20 bytes left.
TEST_F(MakeFilterTest, AFullProgramIsRefusedAndKeptWhole) {
    for (bool bytes : {false, true}) {
        SCOPED_TRACE(bytes);
        if (bytes) {
            s = core::KovaState();
            SetUp();
            const size_t fill = core::kMaxDataFileBytes - 20 - core::SavedSizeOfSet(s, 3).Bytes();
            s.Records2[1].V8.append(fill, 'x');
        } else {
            s.Records2.resize(32767);
            s.FilterCount = 32766;
        }
        s.CurrentFilterLine = 3;
        ui.messages.clear();
        const core::RecordSet before = s.Records2;
        const int16_t count = s.FilterCount;
        EXPECT_FALSE(core::MakeFilter(s, ui, "x", ""));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].substr(0, 6), bytes ? "KOVA|S" : "Error|");
        EXPECT_EQ(s.FilterCount, count);
        EXPECT_TRUE(s.Records2 == before);
        EXPECT_EQ(s.ViewMode, 1);
    }
}

// The header line copies the current record's codes: with long codes the two
// lines take exactly the bytes left, and with one byte fewer they are refused.
TEST_F(MakeFilterTest, TheLinesTakeTheLastBytesLeftWithTheRecordsLongCodes) {
    for (int k = 4; k <= 7; ++k)
        *core::TextField(s.Records1[2], k) = std::string(250, static_cast<char>('a' + k));
    s.CurrentFilterLine = 3;
    ASSERT_EQ(s.FilterCount, 5);
    EXPECT_GT(test::ExpectTheLastBytesTaken(s, ui, 3,
                                            [this] { return core::MakeFilter(s, ui, "x", ""); }),
              4 * 250u);
    EXPECT_EQ(s.FilterCount, 7);
}

TEST_F(MakeFilterTest, AShownSelectionOfTheLinesIsWrittenBackAndEndedFirst) {
    // Lines 2 and 4 are shown; line 4 (shown second) is current and edited.
    s.ViewMode = 3;
    s.CurrentFilterLine = 2;
    core::BeginSelection(s, ui);
    s.SelectionMarks2[2] = 1;
    s.SelectionMarks2[4] = 2;
    core::ApplySelection(s, ui);
    ASSERT_EQ(s.FilterCount, 2);
    s.Records2[2].V8 = "line 4 edited";
    s.CurrentFilterLine = 2;
    s.ViewMode = 1;
    ASSERT_TRUE(core::MakeFilter(s, ui, "nothing", ""));
    EXPECT_EQ(s.SelectionShown2, core::kFalse);
    EXPECT_EQ(Texts(),
              (std::vector<std::string>{"1:line 1", "2:line 2", "3:line 3", "4:line 4 edited",
                                        "5:nothing", "6:*", "7:line 5"}));
    EXPECT_EQ(s.CurrentFilterLine, 6);
}

}  // namespace
