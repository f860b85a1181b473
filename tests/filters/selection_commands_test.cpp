#include "filters/selection_commands.h"

#include <gtest/gtest.h>

#include "filters/selection_test_support.h"
#include "support/fake_ui.h"

using core::KovaState;
using core::RowChange;
using core::SelectionDialogInput;
using core::SelectionFamily;
using V = std::vector<int>;

namespace {

TEST(SelectionPreset, RowsFollowVariableAndFamily) {
    KovaState s;
    s.ViewMode = 1;
    s.CategoryLists[4] = {"a", "B", "c"};
    s.Varnaam[4] = "Speech act";
    core::SelectionPreset p = core::PresetSelection(s, SelectionFamily::OrEvents, 4);
    EXPECT_EQ(p.title, "Speech act");
    EXPECT_EQ(p.labelCaption, "Or Select code");
    EXPECT_FALSE(p.rangeRowVisible);
    EXPECT_TRUE(p.comboVisible && p.clearCombo);
    EXPECT_EQ(p.comboItems, (std::vector<std::string>{"a", "B", "c", ""}));
    EXPECT_EQ(p.comboHeightTwips, 1980);
    EXPECT_EQ(p.contextRow, RowChange::Show);
    EXPECT_EQ(s.SelectVariable1, "V4");

    p = core::PresetSelection(s, SelectionFamily::AndEvents, 0);
    EXPECT_EQ(p.labelCaption, "And Select lines");
    EXPECT_TRUE(p.rangeRowVisible && p.clearRange);
    EXPECT_FALSE(p.comboVisible);
    EXPECT_EQ(p.contextRow, RowChange::Keep);
    EXPECT_EQ(s.SelectVariable1, "V0");

    p = core::PresetSelection(s, SelectionFamily::OrEvents, 1);
    EXPECT_EQ(p.labelCaption, "Or Select timecodes");
    EXPECT_EQ(p.contextRow, RowChange::Hide);

    p = core::PresetSelection(s, SelectionFamily::OrEvents, 8);
    EXPECT_EQ(p.labelCaption, "Or Select string");
    EXPECT_TRUE(p.comboItems.empty());
    EXPECT_EQ(p.comboHeightTwips, 300);
    EXPECT_EQ(p.contextRow, RowChange::Show);

    s.ViewMode = 3;
    p = core::PresetSelection(s, SelectionFamily::AndEpisodes, 3);
    EXPECT_EQ(p.labelCaption, "And Select code");
    EXPECT_EQ(p.comboHeightTwips, 300);
    EXPECT_EQ(p.contextRow, RowChange::Hide);
    EXPECT_EQ(s.SelectVariable2, "V3");
    EXPECT_EQ(s.SelectVariable1, "V8");  // the other set's variable stays
}

TEST(SelectionMenu, SubmenuSetsTheKindOfTheShownSet) {
    KovaState s;
    s.ViewMode = 1;
    EXPECT_TRUE(core::OpenSelectionSubmenu(s, 2));
    EXPECT_EQ(s.SelectionKind1, "OR");
    s.ViewMode = 3;
    EXPECT_TRUE(core::OpenSelectionSubmenu(s, 5));
    EXPECT_EQ(s.SelectionKind2, "EPI-AND");
    EXPECT_EQ(s.SelectionKind1, "OR");
    s.ViewMode = 2;
    EXPECT_TRUE(core::OpenSelectionSubmenu(s, 3));
    EXPECT_EQ(s.SelectionKind2, "AND");
    s.ViewMode = 0;
    EXPECT_FALSE(core::OpenSelectionSubmenu(s, 4));
    EXPECT_EQ(s.SelectionKind1, "OR");
    EXPECT_EQ(s.SelectionKind2, "AND");
}

TEST(SelectionDialog, NumbersAndLags) {
    for (const char* t : {"5", " 5 ", "-1", "+2.5", "1e3", ".5", "5.", "0", "1e999"})
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
struct Fixture : ::testing::Test {
    KovaState s;
    test::FakeUi ui;
    Fixture() {
        s.Records1 =
            test::RecordsWithField(4, {"A", "B", "", "B", "", "A", "B", "", "", "B", "A", ""});
        s.RecordCount1 = 12;
        s.CurrentRecord1 = 5;
        s.ViewMode = 1;
    }
    core::SelectionDialogResult Ok(const std::string& kind, int k, const std::string& value,
                                   bool negated = false) {
        core::OpenSelectionSubmenu(s, kind == "OR"       ? 2
                                      : kind == "AND"    ? 3
                                      : kind == "EPI-OR" ? 4
                                                         : 5);
        core::PresetSelection(s, SelectionFamily::OrEvents, k);
        SelectionDialogInput in;
        in.text3 = "0";
        in.text4 = "0";
        in.combo = value;
        in.notChecked = negated;
        return core::SelectionDialogOk(s, ui, in);
    }
    V Shown() const {
        V numbers;
        for (int i = 1; i <= s.RecordCount1; ++i)
            numbers.push_back(s.Records1[i].V0);
        return numbers;
    }
};

using SelectionDialogFields = Fixture;

TEST_F(SelectionDialogFields, IncompleteFieldsKeepTheDialogOpen) {
    core::PresetSelection(s, SelectionFamily::OrEvents, 0);
    s.SelectionKind1 = "OR";
    SelectionDialogInput in;
    in.text1 = "3";
    in.text3 = "2";
    in.text4 = "1";
    in.contextRowVisible = false;
    core::SelectionDialogResult r = core::SelectionDialogOk(s, ui, in);
    EXPECT_FALSE(r.close);
    EXPECT_EQ(ui.messages, std::vector<std::string>{"KOVA|Specify field(s)!"});
    EXPECT_EQ(s.LagBefore, 2);  // the lags are taken before the fields are checked
    EXPECT_EQ(s.LagAfter, 1);
    EXPECT_EQ(s.SelectionShown1, core::kFalse);
    EXPECT_EQ(s.RecordCount1, 12);

    // A record number that is not a number, a sequence number that is not one.
    in.text2 = "five";
    EXPECT_FALSE(core::SelectionDialogOk(s, ui, in).close);
    core::PresetSelection(s, SelectionFamily::OrEvents, 2);
    in.combo = "";
    EXPECT_FALSE(core::SelectionDialogOk(s, ui, in).close);
    EXPECT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(s.SelectionShown1, core::kFalse);
}

TEST_F(SelectionDialogFields, LagsMustBeNumbersWhereSeenOrUsed) {
    s.SelectionKind1 = "OR";
    core::PresetSelection(s, SelectionFamily::OrEvents, 4);
    SelectionDialogInput in;
    in.text3 = "x";
    in.text4 = "0";
    in.combo = "A";
    core::SelectionDialogResult r = core::SelectionDialogOk(s, ui, in);
    EXPECT_FALSE(r.close);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(s.SelectionShown1, core::kFalse);

    // Used but hidden: the row is shown again so that the lag can be mended.
    in.contextRowVisible = false;
    r = core::SelectionDialogOk(s, ui, in);
    EXPECT_FALSE(r.close);
    EXPECT_TRUE(r.showContextRow);

    // Neither seen nor used (a range): no check.
    core::PresetSelection(s, SelectionFamily::OrEvents, 0);
    in.text1 = "2";
    in.text2 = "3";
    r = core::SelectionDialogOk(s, ui, in);
    EXPECT_TRUE(r.close);
    EXPECT_EQ(Shown(), (V{2, 3}));
    EXPECT_EQ(ui.messages.size(), 2u);
}

TEST_F(SelectionDialogFields, NothingOpenOnlyStoresTheLags) {
    s.ViewMode = 0;
    SelectionDialogInput in;
    in.text3 = "2.5";
    in.text4 = "3.5";
    EXPECT_TRUE(core::SelectionDialogOk(s, ui, in).close);
    EXPECT_EQ(s.LagBefore, 2);
    EXPECT_EQ(s.LagAfter, 4);
    EXPECT_TRUE(ui.messages.empty());
}

using SelectionDialogRun = Fixture;

TEST_F(SelectionDialogRun, OrThenAndNarrowsAndShowsTheCounters) {
    ASSERT_TRUE(Ok("OR", 4, "A").close);
    EXPECT_EQ(Shown(), (V{1, 6, 11}));
    EXPECT_EQ(s.SelectValue1, "A");
    EXPECT_EQ(s.SelectValueTo1, "");
    EXPECT_EQ(s.CurrentRecord1, 1);
    EXPECT_EQ(s.Main.Teller.caption, "3");
    EXPECT_EQ(s.Main.Teller2.caption, "12");
    EXPECT_TRUE(s.Main.Teller2.visible && s.Main.SelLabel[0].visible && s.Main.SelLabel[1].visible);
    EXPECT_TRUE(s.Main.CSaveSelection.visible);
    EXPECT_FALSE(s.Main.CDelete.enabled || s.Main.CAdd.enabled || s.Main.CSplit.enabled);

    // A further AND on the record numbers narrows; OR widens.
    core::OpenSelectionSubmenu(s, 3);
    core::PresetSelection(s, SelectionFamily::AndEvents, 0);
    SelectionDialogInput in;
    in.text1 = "2";
    in.text2 = "11";
    in.text3 = in.text4 = "0";
    ASSERT_TRUE(core::SelectionDialogOk(s, ui, in).close);
    EXPECT_EQ(Shown(), (V{6, 11}));
    EXPECT_EQ(s.SelectionMarks1[11], 2);
    ASSERT_TRUE(Ok("OR", 4, "", true).close);  // NOT empty: every coded record
    EXPECT_EQ(Shown(), (V{1, 2, 4, 6, 7, 10, 11}));
    EXPECT_EQ(s.Main.Teller.caption, "7");
}

TEST_F(SelectionDialogRun, AndWithoutSelectionActsAsOr) {
    ASSERT_TRUE(Ok("AND", 4, "B").close);
    EXPECT_EQ(Shown(), (V{2, 4, 7, 10}));
    EXPECT_EQ(s.SelectionShown1, core::kTrue);
    // Outside the B episodes: every shown record lies inside one, so nothing
    // is left and the full set comes back.
    ASSERT_TRUE(Ok("EPI-AND", 4, "B", true).close);
    EXPECT_EQ(ui.messages.back(), "KOVA|No records selected!");
    EXPECT_EQ(s.SelectionShown1, core::kFalse);
    EXPECT_EQ(s.RecordCount1, 12);
}

TEST_F(SelectionDialogRun, NoMatchShowsTheFullSet) {
    ASSERT_TRUE(Ok("OR", 4, "Z").close);
    EXPECT_EQ(ui.messages, std::vector<std::string>{"KOVA|No records selected!"});
    EXPECT_EQ(s.SelectionShown1, core::kFalse);
    EXPECT_EQ(s.RecordCount1, 12);
    EXPECT_EQ(s.CurrentRecord1, 1);
    EXPECT_FALSE(s.Main.CSaveSelection.visible);
    EXPECT_TRUE(s.Main.CDelete.enabled);
}

TEST_F(SelectionDialogRun, EditsSurviveFurtherSelectionsAndUndo) {
    ASSERT_TRUE(Ok("OR", 4, "A").close);
    s.Records1[2].V5 = "edited";  // record 6
    ASSERT_TRUE(Ok("OR", 4, "B").close);
    EXPECT_EQ(Shown(), (V{1, 2, 4, 6, 7, 10, 11}));
    EXPECT_EQ(s.Records1[4].V5, "edited");
    s.Records1[7].V8 = "also edited";  // record 11

    core::UndoSelection(s, ui);
    EXPECT_EQ(s.SelectionShown1, core::kFalse);
    EXPECT_EQ(s.RecordCount1, 12);
    EXPECT_EQ(s.CurrentRecord1, 1);
    EXPECT_EQ(s.Records1[6].V5, "edited");
    EXPECT_EQ(s.Records1[11].V8, "also edited");
    EXPECT_EQ(Shown(), (V{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_FALSE(s.Main.SelLabel[0].visible);

    // Undo without a selection only redraws; in view mode 0 it does nothing.
    core::UndoSelection(s, ui);
    EXPECT_EQ(s.RecordCount1, 12);
    s.ViewMode = 0;
    int redraws = ui.redraws;
    core::UndoSelection(s, ui);
    EXPECT_EQ(ui.redraws, redraws);
}

TEST_F(SelectionDialogRun, SecondSetWithNot) {
    s.Records2 = test::RecordsWithField(3, {"x", "y", "x", "z"});
    s.FilterCount = 4;
    s.CurrentFilterLine = 3;
    s.ViewMode = 3;
    ASSERT_TRUE(Ok("OR", 3, "x", true).close);
    EXPECT_EQ(s.FilterCount, 2);
    EXPECT_EQ(s.Records2[1].V0, 2);
    EXPECT_EQ(s.Records2[2].V0, 4);
    EXPECT_EQ(s.CurrentFilterLine, 1);
    EXPECT_EQ(s.SelectionShown2, core::kTrue);
    EXPECT_EQ(s.SelectionShown1, core::kFalse);

    ASSERT_TRUE(Ok("OR", 3, "q").close);  // adds nothing, keeps the shown two
    EXPECT_EQ(s.FilterCount, 2);
    ASSERT_TRUE(Ok("AND", 3, "q").close);
    EXPECT_EQ(ui.messages.back(), "KOVA|no. records selected!");
    EXPECT_EQ(s.FilterCount, 4);
}

}  // namespace
