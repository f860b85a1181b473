#include "mainwindow/memo_edit.h"

#include <gtest/gtest.h>

#include "mainwindow/daily_fixture.h"

namespace {

using core::MemoStore;

struct Memo : ::testing::Test {
    core::KovaState s;
    test::FakeUi ui;
};

TEST_F(Memo, OkStoresIntoTheRowsRecordAndMarksTheRow) {
    test::ShowSet1(s, ui, 20, 20);
    core::MemoTarget t = core::MemoTargetForRow(s, 3);
    ASSERT_TRUE(t.valid);
    EXPECT_EQ(t.caption, "Memo at 13");
    EXPECT_EQ(core::StoreMemo(s, ui, t, false, "a note\r\nline 2"), MemoStore::Stored);
    EXPECT_EQ(s.Records1[13].Memo, "a note\r\nline 2");
    EXPECT_EQ(s.Main.rows[3].labColour, core::kPaleYellow);

    core::MemoTarget current = core::MemoTargetForCurrent(s);
    EXPECT_EQ(current.row, 10);
    ui.answers = {core::Answer::Yes};
    s.Records1[20].Memo = " ";
    EXPECT_EQ(core::StoreMemo(s, ui, current, true, "ignored"), MemoStore::Stored);
    EXPECT_EQ(s.Records1[20].Memo, "");
    EXPECT_EQ(s.Main.text1Colour, core::kWhite);
}

TEST_F(Memo, DeleteAnsweredNoKeepsEverything) {
    test::ShowSet1(s, ui, 5, 5);
    s.Records1[5].Memo = "keep";
    ui.answers = {core::Answer::No};
    EXPECT_EQ(core::StoreMemo(s, ui, core::MemoTargetForCurrent(s), true, ""), MemoStore::Kept);
    EXPECT_EQ(s.Records1[5].Memo, "keep");
}

TEST_F(Memo, EmptiedMemoIsStoredButLeavesTheColour) {
    test::ShowSet1(s, ui, 5, 5);
    s.Records1[5].Memo = "old";
    core::ShowDataMode(s, ui);
    EXPECT_EQ(core::StoreMemo(s, ui, core::MemoTargetForCurrent(s), false, ""), MemoStore::Stored);
    EXPECT_EQ(s.Records1[5].Memo, "");
    EXPECT_EQ(s.Main.text1Colour, core::kPaleYellow);
}

TEST_F(Memo, SelectionStoresIntoTheShownRecordCarryingTheNumber) {
    test::ShowSet1(s, ui, 3, 3);
    s.Records1[3].V0 = 57;
    s.SelectionShown1 = core::kTrue;
    s.SelectionMarks1.assign(60, 0);
    s.SelectionMarks1[57] = 3;
    core::ShowDataMode(s, ui);
    core::MemoTarget t = core::MemoTargetForCurrent(s);
    EXPECT_EQ(t.caption, "Memo at 57");
    core::StoreMemo(s, ui, t, false, "memo");
    EXPECT_EQ(s.Records1[3].Memo, "memo");
}

TEST_F(Memo, RecordMovedOrRemovedSinceOpeningIsNotStoredInto) {
    test::ShowSet1(s, ui, 10, 10);
    core::MemoTarget t = core::MemoTargetForRow(s, 5);  // record 5
    // A record before it is cut: record 5 moved to position 4.
    s.Records1.erase(s.Records1.begin() + 2);
    s.RecordCount1 = 9;
    for (int k = 1; k <= 9; ++k)
        s.Records1[k].V0 = static_cast<int16_t>(k);
    EXPECT_EQ(core::StoreMemo(s, ui, t, false, "typed"), MemoStore::Refused);
    for (const core::ProtocolRecord& r : s.Records1)
        EXPECT_EQ(r.Memo, "");
    EXPECT_EQ(ui.messages.size(), 1u);

    // Another file opened in its place.
    core::ShowDataMode(s, ui);
    core::MemoTarget u = core::MemoTargetForRow(s, 10);
    s.DataFileName1 = "/tmp/other.kov";
    EXPECT_EQ(core::StoreMemo(s, ui, u, false, "typed"), MemoStore::Refused);
}

TEST_F(Memo, StoresIntoTheSetItWasOpenedOnAfterAViewSwitch) {
    test::ShowSet1(s, ui, 4, 4);
    core::MemoTarget t = core::MemoTargetForRow(s, 9);
    test::ShowSet2(s, ui, 6, 6);
    EXPECT_EQ(core::StoreMemo(s, ui, t, false, "for set 1"), MemoStore::Stored);
    EXPECT_EQ(s.Records1[3].Memo, "for set 1");
    EXPECT_EQ(s.Records2[5].Memo, "");
    EXPECT_EQ(s.Main.rows[9].labColour, core::kVeryPaleYellow);  // data set 2's row
}

TEST_F(Memo, FileInfoIsNeverLeftEmpty) {
    test::ShowSet2(s, ui, 2, 1);
    s.FileInfo2 = "about";
    core::MemoTarget t = core::FileInfoTarget(s);
    EXPECT_EQ(t.caption, "File info: /tmp/two.kov");
    EXPECT_EQ(core::MemoTargetText(s, t), "about");
    core::StoreMemo(s, ui, t, false, "");
    EXPECT_EQ(s.FileInfo2, "/tmp/two.kov");
    core::StoreMemo(s, ui, t, false, "new info");
    EXPECT_EQ(s.FileInfo2, "new info");
    ui.answers = {core::Answer::Yes};
    core::StoreMemo(s, ui, t, true, "new info");
    EXPECT_EQ(s.FileInfo2, "/tmp/two.kov");
    s.ViewMode = 0;
    EXPECT_FALSE(core::FileInfoTarget(s).valid);
}

}  // namespace
