#include <gtest/gtest.h>

#include "mainwindow/coding.h"
#include "mainwindow/daily_fixture.h"
#include "mainwindow/field_edit.h"

namespace {

struct Fields : ::testing::Test {
    core::KovaState s;
    test::FakeUi ui;
};

TEST_F(Fields, SequenceNumberBoxReadsTheNumericPrefixRoundingHalvesToEven) {
    const std::pair<const char*, int16_t> cases[] = {{"12abc", 12}, {"", 0},    {"abc", 0},
                                                     {"2.5", 2},    {"3.5", 4}, {"-7", -7}};
    for (int mode = 1; mode <= 2; ++mode) {
        if (mode == 1)
            test::ShowSet1(s, ui, 3, 2);
        else
            test::ShowSet2(s, ui, 3, 2);
        for (const auto& [text, value] : cases) {
            EXPECT_TRUE(core::StoreEditBox(s, ui, 2, text)) << text;
            EXPECT_EQ(core::ShownRecords(s)[2].V2, value) << text;
            EXPECT_EQ(s.Main.rows[10].v[2], std::to_string(value));
        }
    }
}

TEST_F(Fields, SequenceNumberOutsideSixteenBitsIsRefusedAndKept) {
    test::ShowSet1(s, ui, 3, 2);
    EXPECT_FALSE(core::StoreEditBox(s, ui, 2, "40000"));
    EXPECT_EQ(s.Records1[2].V2, 1);
    ASSERT_EQ(ui.messages.size(), 1u);
}

TEST_F(Fields, TimeAndActorBoxesStoreTheTextAsTyped) {
    test::ShowSet1(s, ui, 3, 3);
    EXPECT_TRUE(core::StoreEditBox(s, ui, 3, " O'Brien "));
    EXPECT_EQ(s.Records1[3].V3, " O'Brien ");
    EXPECT_EQ(s.Main.rows[10].v[3], " O'Brien ");
    EXPECT_TRUE(core::StoreEditBox(s, ui, 1, ""));
    EXPECT_EQ(s.Records1[3].V1, "");
    EXPECT_EQ(s.Main.rows[10].v[1], "");
}

TEST_F(Fields, NothingIsStoredWithoutACurrentRecordInTheShownSet) {
    EXPECT_FALSE(core::StoreEditBox(s, ui, 3, "actor"));
    core::StoreText1(s, ui, "text");
    test::ShowSet1(s, ui, 3, 0);
    EXPECT_FALSE(core::StoreEditBox(s, ui, 1, "10:00"));
    s.CurrentRecord1 = 4;  // beyond the count
    s.Records1.resize(6);
    EXPECT_FALSE(core::StoreEditBox(s, ui, 1, "10:00"));
    core::StoreText1(s, ui, "text");
    EXPECT_EQ(s.Records1[4].V8, "");
    EXPECT_EQ(s.Records1[4].V1, "");
}

TEST_F(Fields, TextBoxWritesTheWholeTextIntoTheCurrentRecord) {
    test::ShowSet1(s, ui, 3, 2);
    core::StoreText1(s, ui, "line one\r\nline two");
    EXPECT_EQ(s.Records1[2].V8, "line one\r\nline two");
    EXPECT_EQ(s.Main.text1, "line one\r\nline two");
}

TEST_F(Fields, CodingWritesTheCodeAndAdvances) {
    test::ShowSet1(s, ui, 3, 2);
    EXPECT_TRUE(core::WriteCode(s, ui, 5, "talk"));
    core::AdvanceRecord(s, ui);
    EXPECT_EQ(s.Records1[2].V5, "talk");
    EXPECT_EQ(s.CurrentRecord1, 3);
    EXPECT_EQ(s.Main.scrollValue, 3);
    core::WriteCode(s, ui, 5, "last");
    core::AdvanceRecord(s, ui);
    EXPECT_EQ(s.Records1[3].V5, "last");
    EXPECT_EQ(s.CurrentRecord1, 3);
    core::ClearCode(s, ui, 5);
    EXPECT_EQ(s.Records1[3].V5, "");
    EXPECT_EQ(s.Main.rows[10].v[5], "");
}

TEST_F(Fields, CodingStepsThroughTheSieveOnlyInDataSet1) {
    test::ShowSet1(s, ui, 20, 12);
    s.SieveActive = 1;
    s.SieveList = {0.0f, 3.0f, 8.0f, 12.0f};
    s.SieveCount = 3;
    s.SievePosition = 3;
    core::WriteCode(s, ui, 4, "a");
    core::AdvanceRecord(s, ui);
    EXPECT_EQ(s.Records1[12].V4, "a");
    EXPECT_EQ(s.SievePosition, 1);
    EXPECT_EQ(s.CurrentRecord1, 3);

    test::ShowSet2(s, ui, 4, 4);  // Enter on the last record of data set 2
    core::AdvanceRecord(s, ui);
    EXPECT_EQ(s.CurrentRecord2, 4);
    EXPECT_EQ(s.SievePosition, 1);
}

TEST_F(Fields, NoCodingWithNothingShown) {
    EXPECT_FALSE(core::WriteCode(s, ui, 4, "a"));
    core::AdvanceRecord(s, ui);
    core::ClearCode(s, ui, 6);
    EXPECT_EQ(s.CurrentRecord1, 0);
}

TEST_F(Fields, TypedCategoryTogglesCaseSensitivelyInTheSortedList) {
    for (const char* c : {"cherry", "Apple", "banana", "apple"})
        EXPECT_TRUE(core::ToggleCategory(s, ui, 4, c));
    // One order for every sorted list: case-insensitive, equal items kept in
    // the order they came.
    EXPECT_EQ(s.CategoryLists[4], (std::vector<std::string>{"Apple", "apple", "banana", "cherry"}));
    core::ToggleCategory(s, ui, 4, "apple");
    EXPECT_EQ(s.CategoryLists[4], (std::vector<std::string>{"Apple", "banana", "cherry"}));
    core::ToggleCategory(s, ui, 4, "");
    EXPECT_EQ(s.CategoryLists[4].size(), 3u);
    EXPECT_TRUE(s.CategoryLists[5].empty());
}

TEST_F(Fields, OneTypingRemovesOnlyTheFirstOfTwoEqualEntries) {
    s.CategoryLists[6] = {"a", "x", "x", "z"};
    core::ToggleCategory(s, ui, 6, "x");
    EXPECT_EQ(s.CategoryLists[6], (std::vector<std::string>{"a", "x", "z"}));
}

TEST_F(Fields, CategoryWithADoubleQuoteIsRefused) {
    EXPECT_FALSE(core::ToggleCategory(s, ui, 7, "say \"hi\""));
    EXPECT_TRUE(s.CategoryLists[7].empty());
    EXPECT_EQ(ui.messages.size(), 1u);
}

}  // namespace
