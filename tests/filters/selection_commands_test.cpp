#include "filters/selection_commands.h"

#include <gtest/gtest.h>

#include "filters/selection_test_support.h"
#include "support/fake_ui.h"

using core::KovaState;
using core::RowChange;
using core::SelectionFamily;
using V = std::vector<int>;

namespace {

TEST(SelectionCommands, PresetFollowsVariableAndFamily) {
    KovaState s;
    s.ViewMode = 1;
    s.CategoryLists[4] = {"a", "B", "c"};
    s.Varnaam[4] = "Speech act";
    core::SelectionPreset p = core::PresetSelection(s, SelectionFamily::OrEvents, 4);
    EXPECT_EQ(p.title, "Speech act");
    EXPECT_EQ(p.labelCaption, "Or Select code");
    EXPECT_TRUE(!p.rangeRowVisible && p.comboVisible && p.clearCombo);
    EXPECT_EQ(p.comboItems, (std::vector<std::string>{"a", "B", "c", ""}));
    EXPECT_EQ(p.comboHeightTwips, 1980);
    EXPECT_EQ(p.contextRow, RowChange::Show);
    EXPECT_EQ(s.SelectVariable1, "V4");

    p = core::PresetSelection(s, SelectionFamily::AndEvents, 0);
    EXPECT_EQ(p.labelCaption, "And Select lines");
    EXPECT_TRUE(p.rangeRowVisible && p.clearRange && !p.comboVisible);
    EXPECT_EQ(p.contextRow, RowChange::Keep);
    EXPECT_EQ(core::PresetSelection(s, SelectionFamily::OrEvents, 1).contextRow, RowChange::Hide);
    p = core::PresetSelection(s, SelectionFamily::OrEvents, 8);
    EXPECT_EQ(p.labelCaption, "Or Select string");
    EXPECT_EQ(p.comboHeightTwips, 300);

    s.ViewMode = 3;
    p = core::PresetSelection(s, SelectionFamily::AndEpisodes, 3);
    EXPECT_EQ(p.labelCaption, "And Select code");
    EXPECT_TRUE(p.comboItems.empty());
    EXPECT_EQ(p.contextRow, RowChange::Hide);
    EXPECT_EQ(s.SelectVariable2, "V3");
    EXPECT_EQ(s.SelectVariable1, "V8");  // the other set's variable stays
}

TEST(SelectionCommands, SubmenuSetsTheKindOfTheShownSet) {
    KovaState s;
    s.ViewMode = 1;
    EXPECT_TRUE(core::OpenSelectionSubmenu(s, 2));
    s.ViewMode = 3;
    EXPECT_TRUE(core::OpenSelectionSubmenu(s, 5));
    EXPECT_EQ(s.SelectionKind1, "OR");
    EXPECT_EQ(s.SelectionKind2, "EPI-AND");
    s.ViewMode = 2;
    EXPECT_TRUE(core::OpenSelectionSubmenu(s, 3));
    EXPECT_EQ(s.SelectionKind2, "AND");
    s.ViewMode = 0;
    EXPECT_FALSE(core::OpenSelectionSubmenu(s, 4));
    EXPECT_EQ(s.SelectionKind1, "OR");
    EXPECT_EQ(s.SelectionKind2, "AND");
}

TEST(SelectionCommands, NumbersAndLags) {
    for (const char* t : {"5", " 5 ", "-1", "+2.5", "1e3", ".5", "5.", "1e999"})
        EXPECT_TRUE(core::IsNumberText(t)) << t;
    for (const char* t : {"", " ", "x", "5x", "1 2", "--1", "+", "inf", "nan", "0x10", "1e", "."})
        EXPECT_FALSE(core::IsNumberText(t)) << t;
    EXPECT_EQ(core::ReadLag("2.5"), 2);
    EXPECT_EQ(core::ReadLag("3.5"), 4);
    EXPECT_EQ(core::ReadLag("-1"), -1);
    EXPECT_EQ(core::ReadLag("x"), 0);
    EXPECT_EQ(core::ReadLag("40000"), 40000);
    EXPECT_EQ(core::ReadLag("1e12"), 1000000000);
    EXPECT_EQ(core::ReadLag("-1e999"), -1000000000);
}

// Data set 1 shown with twelve records whose V4 is A at 1, 6 and 11.
struct SelectionDialog : ::testing::Test {
    KovaState s;
    test::FakeUi ui;
    core::SelectionDialogInput in;
    SelectionDialog() {
        s.Records1 =
            test::RecordsWithField(4, {"A", "B", "", "B", "", "A", "B", "", "", "B", "A", ""});
        s.RecordCount1 = 12;
        s.CurrentRecord1 = 5;
        s.ViewMode = 1;
        in.text3 = in.text4 = "0";
    }
    // Opens submenu `item` (2..5), presets variable k and presses OK.
    bool Ok(int item, int k, const std::string& value, bool negated = false) {
        core::OpenSelectionSubmenu(s, item);
        core::PresetSelection(s, SelectionFamily::OrEvents, k);
        in.combo = value;
        in.notChecked = negated;
        return core::SelectionDialogOk(s, ui, in).close;
    }
    V Shown() const {
        V numbers;
        for (int i = 1; i <= s.RecordCount1; ++i)
            numbers.push_back(s.Records1[i].V0);
        return numbers;
    }
};

TEST_F(SelectionDialog, FieldsThatAreNotFilledInKeepItOpen) {
    core::OpenSelectionSubmenu(s, 2);
    core::PresetSelection(s, SelectionFamily::OrEvents, 0);
    in.text1 = "3";
    in.text3 = "2";
    in.text4 = "1";
    in.contextRowVisible = false;
    EXPECT_FALSE(core::SelectionDialogOk(s, ui, in).close);
    EXPECT_EQ(ui.messages, std::vector<std::string>{"KOVA|Specify field(s)!"});
    EXPECT_EQ(s.LagBefore, 2);  // the lags are taken before the fields are checked
    EXPECT_EQ(s.LagAfter, 1);
    in.text2 = "five";
    EXPECT_FALSE(core::SelectionDialogOk(s, ui, in).close);
    core::PresetSelection(s, SelectionFamily::OrEvents, 2);
    in.combo = "";  // a sequence number must be a number
    EXPECT_FALSE(core::SelectionDialogOk(s, ui, in).close);

    // A lag that is seen or used must be a number; a used one in a hidden row
    // has the row shown again to be mended.
    core::PresetSelection(s, SelectionFamily::OrEvents, 4);
    in.combo = "A";
    in.text3 = "x";
    core::SelectionDialogResult r = core::SelectionDialogOk(s, ui, in);
    EXPECT_TRUE(!r.close && r.showContextRow);
    EXPECT_EQ(ui.messages.size(), 4u);
    EXPECT_EQ(s.LagBefore, 2);
    EXPECT_EQ(s.SelectionShown1, core::kFalse);
    EXPECT_EQ(s.RecordCount1, 12);

    // Neither seen nor used (a range): no check.
    core::PresetSelection(s, SelectionFamily::OrEvents, 0);
    in.text2 = "4";
    EXPECT_TRUE(core::SelectionDialogOk(s, ui, in).close);
    EXPECT_EQ(Shown(), (V{3, 4}));
    EXPECT_EQ(s.LagBefore, 0);
    EXPECT_EQ(ui.messages.size(), 4u);
}

TEST_F(SelectionDialog, NothingOpenOnlyStoresTheLags) {
    s.ViewMode = 0;
    in.text3 = "2.5";
    in.text4 = "3.5";
    EXPECT_TRUE(core::SelectionDialogOk(s, ui, in).close);
    EXPECT_EQ(s.LagBefore, 2);
    EXPECT_EQ(s.LagAfter, 4);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.redraws, 0);
}

TEST_F(SelectionDialog, OrWidensAndNarrows) {
    ASSERT_TRUE(Ok(2, 4, "A"));
    EXPECT_EQ(Shown(), (V{1, 6, 11}));
    EXPECT_EQ(s.SelectValue1, "A");
    EXPECT_EQ(s.CurrentRecord1, 1);
    EXPECT_EQ(s.Main.scrollValue, 1);

    core::OpenSelectionSubmenu(s, 3);
    core::PresetSelection(s, SelectionFamily::AndEvents, 0);
    in.text1 = "2";
    in.text2 = "11";
    ASSERT_TRUE(core::SelectionDialogOk(s, ui, in).close);
    EXPECT_EQ(Shown(), (V{6, 11}));
    EXPECT_EQ(s.SelectValueTo1, "11");
    EXPECT_EQ(s.SelectionMarks1[11], 2);
    ASSERT_TRUE(Ok(2, 4, "", true));  // NOT empty: every coded record
    EXPECT_EQ(Shown(), (V{1, 2, 4, 6, 7, 10, 11}));
}

TEST_F(SelectionDialog, AndWithoutSelectionActsAsOrAndNoMatchEndsIt) {
    ASSERT_TRUE(Ok(3, 4, "B"));
    EXPECT_EQ(Shown(), (V{2, 4, 7, 10}));
    // Outside the B episodes: every shown record lies inside one, so nothing
    // is left and the full set comes back.
    ASSERT_TRUE(Ok(5, 4, "B", true));
    EXPECT_EQ(ui.messages, std::vector<std::string>{"KOVA|No records selected!"});
    EXPECT_EQ(s.SelectionShown1, core::kFalse);
    EXPECT_EQ(s.RecordCount1, 12);
    EXPECT_EQ(s.CurrentRecord1, 1);
    EXPECT_FALSE(s.Main.CSaveSelection.visible);
}

TEST_F(SelectionDialog, EditsSurviveFurtherSelectionsAndUndo) {
    ASSERT_TRUE(Ok(2, 4, "A"));
    s.Records1[2].V5 = "edited";  // record 6
    ASSERT_TRUE(Ok(2, 4, "B"));
    EXPECT_EQ(Shown(), (V{1, 2, 4, 6, 7, 10, 11}));
    EXPECT_EQ(s.Records1[4].V5, "edited");
    s.Records1[7].V8 = "also edited";  // record 11

    core::UndoSelection(s, ui);
    EXPECT_EQ(s.SelectionShown1, core::kFalse);
    EXPECT_EQ(Shown(), (V{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(s.CurrentRecord1, 1);
    EXPECT_EQ(s.Records1[6].V5, "edited");
    EXPECT_EQ(s.Records1[11].V8, "also edited");

    // Without a selection Undo only redraws; in view mode 0 it does nothing.
    const int redraws = ui.redraws;
    core::UndoSelection(s, ui);
    EXPECT_GT(ui.redraws, redraws);
    s.ViewMode = 0;
    core::UndoSelection(s, ui);
    EXPECT_EQ(s.RecordCount1, 12);
}

TEST_F(SelectionDialog, FilterLinesWithNot) {
    s.Records2 = test::RecordsWithField(3, {"x", "y", "x", "z"});
    s.FilterCount = 4;
    s.CurrentFilterLine = 3;
    s.ViewMode = 3;
    ASSERT_TRUE(Ok(2, 3, "x", true));
    EXPECT_EQ(s.FilterCount, 2);
    EXPECT_EQ(s.Records2[2].V0, 4);
    EXPECT_EQ(s.CurrentFilterLine, 1);
    EXPECT_TRUE(s.SelectionShown2 && !s.SelectionShown1);
    ASSERT_TRUE(Ok(3, 3, "q"));
    EXPECT_EQ(ui.messages.back(), "KOVA|no. records selected!");
    EXPECT_EQ(s.FilterCount, 4);
}

}  // namespace
