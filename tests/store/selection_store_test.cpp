#include "store/selection_store.h"

#include <gtest/gtest.h>

#include "store_test_util.h"
#include "support/fake_ui.h"

namespace {

using core::kFalse;
using core::kTrue;

struct SelectionStoreTest : ::testing::Test {
    core::KovaState s;
    test::FakeUi ui;
    const core::MainWindowModel& m = s.Main;

    void Set1(int count) {
        s.ViewMode = 1;
        s.Records1 = test::NumberedSet(count);
        s.RecordCount1 = static_cast<int16_t>(count);
        s.CurrentRecord1 = count > 0 ? 1 : 0;
    }
    // A selection of data set 1 showing the given record numbers.
    void Select1(std::initializer_list<int> numbers) {
        core::BeginSelection(s, ui);
        for (int k : numbers)
            s.SelectionMarks1[k] = static_cast<int16_t>(k);
        core::ApplySelection(s, ui);
    }
    bool RecordButtonsEnabled() const {
        for (const core::ControlState* c :
             {&m.CDelete, &m.CCopy, &m.CInsrt, &m.CAdd, &m.CJoin, &m.CSplit})
            if (!c->enabled)
                return false;
        return true;
    }
    bool RecordButtonsDisabled() const {
        for (const core::ControlState* c :
             {&m.CDelete, &m.CCopy, &m.CInsrt, &m.CAdd, &m.CJoin, &m.CSplit})
            if (c->enabled)
                return false;
        return true;
    }
    bool SelectionLabelsShown() const {
        return m.Teller2.visible && m.SelLabel[0].visible && m.SelLabel[1].visible &&
               m.CSaveSelection.visible;
    }
    bool SelectionLabelsHidden() const {
        return !m.Teller2.visible && !m.SelLabel[0].visible && !m.SelLabel[1].visible &&
               !m.CSaveSelection.visible;
    }
};

TEST_F(SelectionStoreTest, BeginKeepsTheShownSetAndDisablesTheRecordButtons) {
    Set1(30);
    s.CurrentRecord1 = 12;
    core::BeginSelection(s, ui);
    EXPECT_EQ(s.SelectionShown1, kTrue);
    EXPECT_EQ(s.FullCount1, 30);
    EXPECT_EQ(s.FullRecords1, s.Records1);
    EXPECT_EQ(s.SelectionMarks1, std::vector<int16_t>(31, 0));
    EXPECT_EQ(s.RecordCount1, 30);
    EXPECT_EQ(s.CurrentRecord1, 12);
    EXPECT_TRUE(RecordButtonsDisabled());

    // A second Begin on a shown selection changes nothing at all.
    s.SelectionMarks1[4] = 4;
    s.Records1[4].V4 = "shown edit";
    s.Main.CAdd.enabled = true;
    core::BeginSelection(s, ui);
    EXPECT_EQ(s.SelectionMarks1[4], 4);
    EXPECT_EQ(s.FullRecords1[4].V4, "Q");
    EXPECT_TRUE(s.Main.CAdd.enabled);
}

TEST_F(SelectionStoreTest, ApplyShowsTheMarkedRecordsWithTheirNumbers) {
    Set1(300);
    Select1({17, 4, 9, 120});
    ASSERT_EQ(s.RecordCount1, 4);
    ASSERT_EQ(s.Records1.size(), 5u);
    EXPECT_EQ(s.Records1[1].V0, 4);
    EXPECT_EQ(s.Records1[2].V0, 9);
    EXPECT_EQ(s.Records1[3].V0, 17);
    EXPECT_EQ(s.Records1[3].V8, "text 17");
    EXPECT_EQ(s.SelectionMarks1[17], 3);
    EXPECT_EQ(s.SelectionMarks1[120], 4);
    EXPECT_EQ(s.SelectionMarks1[5], 0);
    EXPECT_EQ(m.Teller.caption, "4");
    EXPECT_EQ(m.Teller2.caption, "300");
    EXPECT_TRUE(SelectionLabelsShown());
    EXPECT_EQ(m.scrollMin, 1);
    EXPECT_EQ(m.scrollMax, 4);
    EXPECT_TRUE(RecordButtonsDisabled());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SelectionStoreTest, EverythingMarkedShowsEveryRecord) {
    Set1(5);
    Select1({1, 2, 3, 4, 5});
    EXPECT_EQ(s.RecordCount1, 5);
    EXPECT_EQ(s.Records1, test::NumberedSet(5));
    EXPECT_EQ(m.Teller.caption, m.Teller2.caption);
    EXPECT_TRUE(SelectionLabelsShown());
}

TEST_F(SelectionStoreTest, EditsReachTheFullSetOnlyThroughStore) {
    Set1(20);
    Select1({4, 9, 17});
    s.Records1[3].V5 = "edited";  // the shown record numbered 17
    s.Records1[1].Memo = "note";
    core::StoreSelectionEdits(s);
    EXPECT_EQ(s.FullRecords1[17].V5, "edited");
    EXPECT_EQ(s.FullRecords1[4].Memo, "note");
    EXPECT_EQ(s.SelectionShown1, kTrue);
    EXPECT_EQ(s.RecordCount1, 3);

    s.Records1[2].V6 = "lost";  // not stored before the end
    s.CurrentRecord1 = 3;
    core::EndSelection(s, ui);
    EXPECT_EQ(s.SelectionShown1, kFalse);
    EXPECT_EQ(s.RecordCount1, 20);
    EXPECT_EQ(s.CurrentRecord1, 1);
    EXPECT_EQ(s.Records1[17].V5, "edited");
    EXPECT_EQ(s.Records1[9].V6, "");
    EXPECT_EQ(s.Records1.size(), 21u);
    EXPECT_EQ(s.FullRecords1.size(), 1u);
    EXPECT_EQ(s.SelectionMarks1.size(), 1u);
    EXPECT_EQ(m.Teller.caption, "20");
    EXPECT_EQ(m.Teller2.caption, "0");
    EXPECT_TRUE(SelectionLabelsHidden());
    EXPECT_TRUE(RecordButtonsEnabled());
    EXPECT_EQ(m.scrollMax, 20);
}

TEST_F(SelectionStoreTest, NothingMarkedEndsTheSelection) {
    Set1(8);
    s.CurrentRecord1 = 6;
    Select1({});
    EXPECT_EQ(ui.messages, std::vector<std::string>{"KOVA|No records selected!"});
    EXPECT_EQ(s.SelectionShown1, kFalse);
    EXPECT_EQ(s.RecordCount1, 8);
    EXPECT_EQ(s.CurrentRecord1, 1);
    EXPECT_EQ(s.Records1, test::NumberedSet(8));
    EXPECT_TRUE(SelectionLabelsHidden());
    EXPECT_TRUE(RecordButtonsEnabled());

    // The second set says it in its own words, for data set 2 and filter lines.
    for (int16_t mode : {2, 3}) {
        ui.messages.clear();
        s.ViewMode = mode;
        s.Records2 = test::NumberedSet(4);
        (mode == 2 ? s.RecordCount2 : s.FilterCount) = 4;
        core::BeginSelection(s, ui);
        core::ApplySelection(s, ui);
        EXPECT_EQ(ui.messages, std::vector<std::string>{"KOVA|no. records selected!"});
        EXPECT_EQ(s.SelectionShown2, kFalse);
        EXPECT_EQ(mode == 2 ? s.CurrentRecord2 : s.CurrentFilterLine, 1);
    }
}

TEST_F(SelectionStoreTest, FilterLinesUseTheirOwnCounts) {
    s.ViewMode = 3;
    s.Records2 = test::NumberedSet(6);
    s.FilterCount = 6;
    s.RecordCount2 = 0;
    core::BeginSelection(s, ui);
    EXPECT_EQ(s.FullFilterCount, 6);
    EXPECT_EQ(s.FullCount2, 0);
    s.SelectionMarks2[2] = 2;
    s.SelectionMarks2[6] = 6;
    core::ApplySelection(s, ui);
    EXPECT_EQ(s.FilterCount, 2);
    EXPECT_EQ(s.SelectionMarks2[6], 2);
    s.Records2[2].V1 = "|nil";
    core::StoreSelectionEdits(s);
    core::EndSelection(s, ui);
    EXPECT_EQ(s.FilterCount, 6);
    EXPECT_EQ(s.CurrentFilterLine, 1);
    EXPECT_EQ(s.Records2[6].V1, "|nil");
    EXPECT_EQ(s.SelectionShown2, kFalse);
}

TEST_F(SelectionStoreTest, WithoutASelectionStoreAndEndDoNothing) {
    Set1(5);
    s.CurrentRecord1 = 4;
    s.Records1[2].V4 = "x";
    const core::KovaState before = s;
    core::StoreSelectionEdits(s);
    core::EndSelection(s, ui);
    core::ApplySelection(s, ui);
    EXPECT_EQ(s.Records1, before.Records1);
    EXPECT_EQ(s.CurrentRecord1, 4);
    EXPECT_EQ(s.Main, before.Main);

    // In view mode 0 the end only hides the labels and enables the buttons.
    s.ViewMode = 0;
    s.Main.SelLabel[0].visible = true;
    s.Main.CSaveSelection.visible = true;
    s.Main.CJoin.enabled = false;
    core::BeginSelection(s, ui);
    EXPECT_EQ(s.SelectionShown1, kFalse);
    core::EndSelection(s, ui);
    EXPECT_TRUE(SelectionLabelsHidden());
    EXPECT_TRUE(RecordButtonsEnabled());
    EXPECT_EQ(s.RecordCount1, 5);
}

TEST_F(SelectionStoreTest, OddNumbersAndEmptySetsStayInRange) {
    Set1(6);
    Select1({2, 3});
    s.Records1[1].V0 = 99;  // a number the full set does not hold
    s.Records1[2].V0 = 0;
    s.Records1[1].V4 = "nowhere";
    core::StoreSelectionEdits(s);
    EXPECT_EQ(s.FullRecords1.size(), 7u);
    for (int k = 1; k <= 6; ++k)
        EXPECT_NE(s.FullRecords1[k].V4, "nowhere");

    // A selection over an empty set ends with no current record.
    Set1(0);
    s.SelectionShown1 = kFalse;
    Select1({});
    EXPECT_EQ(s.RecordCount1, 0);
    EXPECT_EQ(s.CurrentRecord1, 0);
    EXPECT_FALSE(m.scrollEnabled);
}

}  // namespace
