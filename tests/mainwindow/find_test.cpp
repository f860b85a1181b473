#include "mainwindow/find.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mainwindow/daily_fixture.h"
#include "store/text.h"

namespace {

struct Find : ::testing::Test {
    core::KovaState s;
    test::FakeUi ui;
};

TEST_F(Find, NewTextTestsTheCurrentRecordAndARepeatMovesOn) {
    test::ShowSet1(s, ui, 10, 3);
    s.Records1[3].V8 = "the word here";
    s.Records1[7].V8 = "a word again";
    core::FindResult r = core::FindStep(s, ui, "word", 8);
    EXPECT_TRUE(r.hit);
    EXPECT_EQ(s.CurrentRecord1, 3);
    EXPECT_EQ(r.offset, 4u);
    EXPECT_EQ(r.length, 4u);
    r = core::FindStep(s, ui, "word", 8);
    EXPECT_EQ(s.CurrentRecord1, 7);
    EXPECT_EQ(r.offset, 2u);
    r = core::FindStep(s, ui, "word", 8);
    EXPECT_FALSE(r.hit);
    EXPECT_EQ(s.CurrentRecord1, 10);  // no wrap: the end of the search
    EXPECT_EQ(s.Main.scrollValue, 10);

    core::ToggleFindDirection(s);
    r = core::FindStep(s, ui, "word", 8);
    EXPECT_EQ(s.CurrentRecord1, 7);
    r = core::FindStep(s, ui, "Word", 8);  // case-sensitive: not found
    EXPECT_FALSE(r.hit);
    EXPECT_EQ(s.CurrentRecord1, 1);
}

TEST_F(Find, FoundTextOffsetIsCountedInTheTrimmedText) {
    test::ShowSet1(s, ui, 5, 1);
    s.Records1[4].V8 = "   lead word";
    core::FindResult r = core::FindStep(s, ui, "word", 8);
    EXPECT_EQ(s.CurrentRecord1, 4);
    EXPECT_EQ(r.offset, 5u);
    EXPECT_EQ(core::EditorIndex("a\r\nb word", 5), 4u);
}

TEST_F(Find, EmptyTextFindsFilledFieldsAndNumbersCompareAsNumbers) {
    test::ShowSet1(s, ui, 6, 2);
    // A first empty search counts as a repeat: it starts one record on.
    core::FindStep(s, ui, "", 0);
    EXPECT_EQ(s.CurrentRecord1, 3);
    s.Records1[5].V2 = 0;
    core::FindStep(s, ui, "none", 2);  // no numeric prefix compares with 0
    EXPECT_EQ(s.CurrentRecord1, 5);
    s.Records1[6].Memo = "note";
    core::FindResult r = core::FindStep(s, ui, "", core::kFindMemo);
    EXPECT_TRUE(r.hit);
    EXPECT_EQ(s.CurrentRecord1, 6);
    r = core::FindStep(s, ui, "x", -1);  // a variable that names no entry
    EXPECT_FALSE(r.hit);
    EXPECT_EQ(s.CurrentRecord1, 6);
}

TEST_F(Find, PatternsMatchTheWholeFieldAndNumbersWithTheirSignPosition) {
    test::ShowSet1(s, ui, 15, 1);
    s.Records1[9].V8 = "one word in it";
    core::ToggleFindMode(s, ui);
    EXPECT_EQ(s.Main.CString.caption, "Pattern");
    EXPECT_FALSE(core::FindStep(s, ui, "word", 8).hit);
    s.CurrentRecord1 = 1;
    core::FindResult r = core::FindStep(s, ui, "*word*", 8);
    EXPECT_TRUE(r.hit);
    EXPECT_EQ(s.CurrentRecord1, 9);
    s.CurrentRecord1 = 1;
    EXPECT_FALSE(core::FindStep(s, ui, "12", 0).hit);
    s.CurrentRecord1 = 1;
    EXPECT_TRUE(core::FindStep(s, ui, "?12", 0).hit);
    EXPECT_EQ(s.CurrentRecord1, 12);
}

TEST_F(Find, BadPatternGivesAMessageAndLeavesThePosition) {
    test::ShowSet1(s, ui, 15, 4);
    core::ToggleFindMode(s, ui);
    const std::string pasted = "[" + std::string(1 << 20, 'x');
    for (const std::string& pattern : std::vector<std::string>{"[abc", "*[]*", "[z-a]", pasted}) {
        ui.messages.clear();
        core::FindResult r = core::FindStep(s, ui, pattern, 8);
        EXPECT_FALSE(r.hit) << pattern;
        EXPECT_EQ(s.CurrentRecord1, 4) << pattern;
        EXPECT_EQ(s.LastFindText, "") << pattern;
        EXPECT_TRUE(s.FindTexts.empty()) << pattern;
        ASSERT_EQ(ui.messages.size(), 1u) << pattern;
        EXPECT_NE(ui.messages[0].find(core::QuoteForMessage(pattern)), std::string::npos);
        EXPECT_LT(ui.messages[0].size(), 400u);
        EXPECT_NE(ui.messages[0].find("[a-z]"), std::string::npos);
    }
}

TEST_F(Find, FilterViewCountsAStarAsEmpty) {
    s.Records2 = test::MakeRecords(4);
    s.Records2[2].V5 = "*";
    s.Records2[3].V5 = "";
    s.FilterCount = 4;
    s.CurrentFilterLine = 1;
    s.FilterFileName = "/tmp/f.fil";
    core::ShowFilterMode(s, ui);
    s.Records2[1].V5 = "*";
    core::FindStep(s, ui, "", 5);
    EXPECT_EQ(s.CurrentFilterLine, 3);
}

TEST_F(Find, SieveIsSteppedOnlyInTheViewOfDataSet1) {
    test::ShowSet1(s, ui, 20, 3);
    s.SieveActive = 1;
    s.SieveList = {0.0f, 3.0f, 8.0f};
    s.SieveCount = 2;
    s.SievePosition = 1;
    s.Main.CString.caption = "Sieve";
    core::FindStep(s, ui, "anything", 8);
    EXPECT_EQ(s.CurrentRecord1, 8);
    core::FindStep(s, ui, "anything", 8);
    EXPECT_EQ(s.CurrentRecord1, 3);  // wraps to the first entry

    test::ShowSet2(s, ui, 5, 1);
    s.Records2[4].V8 = "found";
    core::FindResult r = core::FindStep(s, ui, "found", 8);
    EXPECT_TRUE(r.hit);
    EXPECT_EQ(s.CurrentRecord2, 4);
    EXPECT_EQ(s.CurrentRecord1, 3);

    core::ToggleFindMode(s, ui);  // ends the sieve
    EXPECT_EQ(s.SieveActive, 0);
    EXPECT_EQ(s.FindMode, 1);
    EXPECT_EQ(s.Main.CString.caption, "String");
}

TEST_F(Find, SearchTextsAndCategoriesJoinTheListOnce) {
    test::ShowSet1(s, ui, 3, 1);
    core::FindStep(s, ui, "beta", 8);
    core::FindStep(s, ui, "", 8);
    core::FindStep(s, ui, "beta", 8);
    core::FindStep(s, ui, "Alpha", 8);
    s.CategoryLists[5] = {"beta", "Gamma"};
    core::AddCategoriesToFindTexts(s, 5);
    core::AddCategoriesToFindTexts(s, 5);
    core::AddCategoriesToFindTexts(s, 8);
    EXPECT_EQ(s.FindTexts, (std::vector<std::string>{"Alpha", "beta", "Gamma"}));
}

}  // namespace
