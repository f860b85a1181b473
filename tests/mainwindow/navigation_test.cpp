#include "mainwindow/navigation.h"

#include <gtest/gtest.h>

#include "mainwindow/daily_fixture.h"

namespace {

using core::NavigationKey;

struct Navigation : ::testing::Test {
    core::KovaState s;
    test::FakeUi ui;
};

// The page buttons step ten within the set (the PgUp button only from 11
// on); near the record limit nothing overflows.
TEST_F(Navigation, PageButtonsStepTenWithinTheSet) {
    using Step = void (*)(core::KovaState&, core::KovaUi&);
    const Step pageDownKey = [](core::KovaState& s, core::KovaUi& ui) {
        core::PressNavigationKey(s, ui, NavigationKey::PageDown);
    };
    struct Case {
        int count, start;
        Step step;
        int expected;
    };
    const Case cases[] = {
        {50, 7, core::PageUp, 7},
        {50, 11, core::PageUp, 1},
        {50, 15, core::PageUp, 5},
        {50, 47, core::PageDown, 50},
        {50, 50, core::PageDown, 50},
        {core::kMaxRecords, core::kMaxRecords - 5, core::PageDown, core::kMaxRecords},
        {core::kMaxRecords, core::kMaxRecords - 5, pageDownKey, core::kMaxRecords},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        test::ShowSet1(s, ui, c.count, c.start);
        c.step(s, ui);
        EXPECT_EQ(s.CurrentRecord1, c.expected);
        EXPECT_EQ(s.Main.scrollValue, c.expected);
    }
}

TEST_F(Navigation, PageUpStepsBackThroughTheSieveAndWraps) {
    test::ShowSet1(s, ui, 20, 3);
    s.SieveActive = 1;
    s.SieveList = {0.0f, 3.0f, 8.0f, 12.0f};
    s.SieveCount = 3;
    s.SievePosition = 1;
    core::PageUp(s, ui);
    EXPECT_EQ(s.SievePosition, 3);
    EXPECT_EQ(s.CurrentRecord1, 12);
    core::PageDown(s, ui);  // the page down ignores the sieve
    EXPECT_EQ(s.CurrentRecord1, 20);
    EXPECT_EQ(s.SievePosition, 3);
}

TEST_F(Navigation, KeysMoveWithinTheScrollBarLimits) {
    test::ShowSet1(s, ui, 30, 4);
    // The PgUp key goes to 1 where the PgUp button would stay at 4.
    const std::pair<NavigationKey, int> steps[] = {
        {NavigationKey::PageUp, 1},    {NavigationKey::Up, 1},   {NavigationKey::Down, 2},
        {NavigationKey::PageDown, 12}, {NavigationKey::End, 30}, {NavigationKey::Down, 30},
        {NavigationKey::Home, 1}};
    for (const auto& [key, expected] : steps) {
        core::PressNavigationKey(s, ui, key);
        EXPECT_EQ(s.CurrentRecord1, expected) << "after key " << static_cast<int>(key);
    }
}

TEST_F(Navigation, FirstAndLastInEveryShownSetAndNothingWithoutOne) {
    core::GoFirst(s, ui);
    core::GoLast(s, ui);
    core::PageDown(s, ui);
    core::PressNavigationKey(s, ui, NavigationKey::End);
    EXPECT_EQ(s.ViewMode, 0);
    EXPECT_EQ(s.CurrentRecord1, 0);

    test::ShowSet2(s, ui, 12, 5);
    core::GoLast(s, ui);
    EXPECT_EQ(s.CurrentRecord2, 12);
    core::GoFirst(s, ui);
    EXPECT_EQ(s.CurrentRecord2, 1);
    EXPECT_EQ(s.Main.scrollValue, 1);

    // An empty set: nothing moves past its end.
    s.RecordCount2 = 0;
    s.CurrentRecord2 = 0;
    s.Records2.resize(1);
    core::GoFirst(s, ui);
    core::GoLast(s, ui);
    core::ScrollbarChange(s, ui, 1);
    EXPECT_EQ(s.CurrentRecord2, 0);
}

TEST_F(Navigation, ScrollBarValueBecomesThePosition) {
    test::ShowSet1(s, ui, 40, 1);
    core::ScrollbarChange(s, ui, 25);
    EXPECT_EQ(s.CurrentRecord1, 25);
    EXPECT_EQ(s.Main.rows[10].v[0], "25");
    EXPECT_EQ(s.Main.scrollValue, 25);
    core::ScrollbarChange(s, ui, 99);  // out of range: ignored
    EXPECT_EQ(s.CurrentRecord1, 25);
}

TEST_F(Navigation, RowClicksMapShownNumbersThroughTheSelection) {
    test::ShowSet1(s, ui, 20, 20);
    core::RowClick(s, ui, 3, false);
    EXPECT_EQ(s.CurrentRecord1, 13);

    // A selection of the full records 4, 9 and 57: the shown records keep
    // their numbers.
    s.Records1 = test::MakeRecords(3);
    s.Records1[1].V0 = 4;
    s.Records1[2].V0 = 9;
    s.Records1[3].V0 = 57;
    s.RecordCount1 = 3;
    s.CurrentRecord1 = 3;
    s.SelectionShown1 = core::kTrue;
    s.SelectionMarks1.assign(60, 0);
    s.SelectionMarks1[4] = 1;
    s.SelectionMarks1[9] = 2;
    s.SelectionMarks1[57] = 3;
    core::ShowDataMode(s, ui);
    EXPECT_EQ(core::RowPosition(s, 9), 2);
    core::RowClick(s, ui, 9, true);
    EXPECT_EQ(s.CurrentRecord1, 2);
    EXPECT_EQ(s.Main.scrollValue, 2);
    // Rows before the first record are empty: a click there does nothing.
    core::RowClick(s, ui, 1, true);
    EXPECT_EQ(s.CurrentRecord1, 2);
}

TEST_F(Navigation, DoubleClickClearsOnlyTextFieldsOfTheCurrentRecord) {
    test::ShowSet1(s, ui, 5, 5);
    s.Records1[5].V4 = "code";
    s.Records1[5].V3 = "actor";
    core::ClearCurrentField(s, ui, 4);
    core::ClearCurrentField(s, ui, 2);
    EXPECT_EQ(s.Records1[5].V4, "");
    EXPECT_EQ(s.Records1[5].V2, 1);
    EXPECT_EQ(s.Records1[5].V3, "actor");
    // A position outside the set edits nothing.
    s.CurrentRecord1 = 6;
    s.Records1.resize(8);
    s.Records1[6].V3 = "beyond";
    core::ClearCurrentField(s, ui, 3);
    EXPECT_EQ(s.Records1[6].V3, "beyond");
}

}  // namespace
