#include "store/view.h"

#include <gtest/gtest.h>

#include "store_test_util.h"
#include "support/fake_ui.h"

namespace {

using core::kPaleYellow;
using core::kVeryPaleYellow;
using core::kWhite;

struct ViewTest : ::testing::Test {
    core::KovaState s;
    test::FakeUi ui;
    const core::MainWindowModel& m = s.Main;

    void OpenSet1(int count, int16_t position) {
        s.Records1 = test::NumberedSet(count);
        s.RecordCount1 = static_cast<int16_t>(count);
        s.CurrentRecord1 = position;
        s.DataFileName1 = "/data/lesson.kov";
    }
    void OpenFilters(int count, int16_t position) {
        s.Records2 = test::NumberedSet(count);
        s.FilterCount = static_cast<int16_t>(count);
        s.CurrentFilterLine = position;
        s.FilterFileName = "/data/rules.fil";
    }
    void ExpectBlankRow(int r) {
        for (const std::string& v : m.rows[r].v)
            EXPECT_EQ(v, "") << "row " << r;
        if (r < 10) {
            EXPECT_EQ(m.rows[r].lab, "") << "row " << r;
            EXPECT_EQ(m.rows[r].labColour, kVeryPaleYellow) << "row " << r;
        }
    }
};

TEST_F(ViewTest, EmptySetDrawsABlankPage) {
    OpenSet1(0, 0);
    core::ShowDataMode(s, ui);
    for (int r = 1; r <= 10; ++r)
        ExpectBlankRow(r);
    EXPECT_EQ(m.text1, "");
    EXPECT_EQ(m.text1Colour, kWhite);
    EXPECT_EQ(m.scrollValue, 0);
    EXPECT_EQ(m.scrollMax, 0);
    EXPECT_FALSE(m.scrollEnabled);
    EXPECT_EQ(m.Teller.caption, "0");
}

TEST_F(ViewTest, CurrentRecordOnTheBottomRow) {
    OpenSet1(50, 3);
    s.ViewMode = 1;
    int16_t p = 3;
    core::RefreshRecordList1(s, ui, p);
    EXPECT_EQ(ui.redraws, 1);
    for (int r = 1; r <= 7; ++r)
        ExpectBlankRow(r);
    EXPECT_EQ(m.rows[8].v[0], "1");
    EXPECT_EQ(m.rows[8].v[1], "0:00:1");
    EXPECT_EQ(m.rows[8].v[2], "1");
    EXPECT_EQ(m.rows[8].v[3], "T");
    EXPECT_EQ(m.rows[8].v[4], "Q");
    EXPECT_EQ(m.rows[8].lab, "text 1");
    EXPECT_EQ(m.rows[9].lab, "text 2");
    EXPECT_EQ(m.rows[10].v[0], "3");
    EXPECT_EQ(m.text1, "text 3");
    EXPECT_EQ(m.scrollValue, 3);
    // The buffer holds the record of the topmost filled row.
    EXPECT_EQ(s.RecordBuffer1, s.Records1[1]);

    // A position above the count is lowered in the caller's variable.
    p = 60;
    core::RefreshRecordList1(s, ui, p);
    EXPECT_EQ(p, 50);
    EXPECT_EQ(m.rows[1].v[0], "41");
    EXPECT_EQ(m.text1, "text 50");
    EXPECT_EQ(m.scrollValue, 50);
}

// Texts are shown trimmed; showing them changes no record, the current one
// included (only typing into the text box does).
TEST_F(ViewTest, TextsShownTrimmedAndNoneWrittenBack) {
    OpenSet1(3, 3);
    s.ViewMode = 1;
    s.Records1[2].V8 = "  word  ";
    s.Records1[3].V8 = "  last\r\nline  ";
    s.Records1[2].Memo = " ";
    int16_t p = 3;
    core::RefreshRecordList1(s, ui, p);
    EXPECT_EQ(m.rows[9].lab, "word");
    EXPECT_EQ(m.rows[9].labColour, kPaleYellow);  // a memo of one blank is a memo
    EXPECT_EQ(m.rows[8].labColour, kVeryPaleYellow);
    EXPECT_EQ(m.text1, "last\r\nline");
    EXPECT_EQ(m.text1Record, "  last\r\nline  ");
    EXPECT_EQ(m.text1Colour, kWhite);
    EXPECT_EQ(s.Records1[3].V8, "  last\r\nline  ");
    EXPECT_EQ(s.Records1[2].V8, "  word  ");

    s.Records1[3].Memo = "m";
    core::RefreshRecordList1(s, ui, p);
    EXPECT_EQ(m.text1Colour, kPaleYellow);

    // Nor while the filter lines are shown.
    OpenFilters(3, 3);
    s.ViewMode = 3;
    s.Records1[3].V8 = " spaced ";
    core::RefreshRecordList1(s, ui, p);
    EXPECT_EQ(m.text1, "spaced");
    EXPECT_EQ(s.Records1[3].V8, " spaced ");
    EXPECT_EQ(s.Records2[3].V8, "text 3");
}

TEST_F(ViewTest, SecondSetShowsNumbersAsTheyAre) {
    OpenFilters(3, 3);
    s.ViewMode = 3;
    s.Records2[1].V0 = 4;
    s.Records2[2].V0 = 9;
    s.Records2[3].V0 = 17;
    s.Records2[2].V2 = 999;
    s.Records2[3].V2 = -5;
    int16_t p = 3;
    core::RefreshRecordList2(s, ui, p);
    EXPECT_EQ(m.rows[8].v[0], "4");
    EXPECT_EQ(m.rows[9].v[0], "9");
    EXPECT_EQ(m.rows[10].v[0], "17");
    EXPECT_EQ(m.rows[9].v[2], "999");
    EXPECT_EQ(m.rows[10].v[2], "-5");
    EXPECT_EQ(s.RecordBuffer2, s.Records2[1]);
    // A position past the records held draws blank rows rather than reading outside.
    p = 12;
    core::RefreshRecordList2(s, ui, p);
    EXPECT_EQ(p, 12);
    ExpectBlankRow(10);
    ExpectBlankRow(2);
    EXPECT_EQ(m.rows[1].v[0], "17");
}

TEST_F(ViewTest, DataModeCaptionsAndTitle) {
    OpenSet1(25, 1);
    core::ShowDataMode(s, ui);
    EXPECT_EQ(s.ViewMode, 1);
    EXPECT_EQ(m.title, "KOVA Datafile: /data/lesson.kov");
    EXPECT_EQ(m.background, core::kGrey);
    EXPECT_EQ(m.CSave, (core::ControlState{"Save Data", true}));
    EXPECT_EQ(m.CPrint, (core::ControlState{"List Data", true}));
    EXPECT_TRUE(m.CFileInfo.visible);
    EXPECT_FALSE(m.CRunfilter.visible);
    EXPECT_FALSE(m.CBack.visible);
    EXPECT_FALSE(m.CAnaf.visible);
    EXPECT_FALSE(m.Teller2.visible);
    EXPECT_EQ(m.Teller.caption, "25");
    EXPECT_EQ(m.scrollMin, 1);
    EXPECT_EQ(m.scrollMax, 25);
    EXPECT_TRUE(m.scrollEnabled);
    EXPECT_EQ(m.scrollValue, 1);
    EXPECT_EQ(m.rows[10].v[0], "1");
    EXPECT_EQ(ui.redraws, 1);
}

TEST_F(ViewTest, BackAndForthWithFilterLines) {
    OpenSet1(20, 7);
    OpenFilters(4, 4);
    s.DataFileName2 = "/data/coder2.kov";
    s.RecordCount2 = 9;
    s.CurrentRecord2 = 2;
    s.AnalysisFileName = "/data/lesson.ana";

    core::ShowFilterMode(s, ui);
    EXPECT_EQ(m.background, core::kTeal);
    EXPECT_EQ(m.title, "KOVA Filterfile: /data/rules.fil");
    EXPECT_EQ(m.CRunfilter, (core::ControlState{"Run Filter(s)", true}));
    EXPECT_EQ(m.CBack, (core::ControlState{"<< Data", true}));
    EXPECT_EQ(m.CSave.caption, "Save Filters");
    EXPECT_EQ(m.CPrint.caption, "List Filters");
    EXPECT_FALSE(m.CAnaf.visible);
    EXPECT_EQ(m.Teller.caption, "4");
    // Data set 2 shared Records2 and is dropped.
    EXPECT_EQ(s.DataFileName2, "");
    EXPECT_EQ(s.RecordCount2, 0);
    EXPECT_EQ(s.CurrentRecord2, 0);

    core::ShowDataMode(s, ui);
    EXPECT_EQ(m.CBack, (core::ControlState{">> Filters", true}));
    EXPECT_EQ(m.CRunfilter, (core::ControlState{"Make Filter", true}));
    EXPECT_TRUE(m.CAnaf.visible);
    EXPECT_EQ(m.text1, "text 7");
    EXPECT_EQ(m.Teller.caption, "20");
}

TEST_F(ViewTest, SecondDataSetDropsTheFilterLines) {
    OpenFilters(4, 4);
    s.Records2 = test::NumberedSet(6);
    s.DataFileName2 = "/data/coder2.kov";
    s.RecordCount2 = 6;
    s.CurrentRecord2 = 1;
    core::ShowData2Mode(s, ui);
    EXPECT_EQ(s.ViewMode, 2);
    EXPECT_EQ(m.background, core::kDarkOrange);
    EXPECT_EQ(m.title, "KOVA Data2file: /data/coder2.kov");
    EXPECT_EQ(m.CSave.caption, "Save Data2");
    EXPECT_EQ(m.CPrint.caption, "List Data2");
    EXPECT_FALSE(m.CRunfilter.visible);
    EXPECT_FALSE(m.CBack.visible);  // no data set 1 to go back to
    EXPECT_EQ(s.FilterFileName, "");
    EXPECT_EQ(s.FilterCount, 0);
    EXPECT_EQ(s.CurrentFilterLine, 0);
    EXPECT_EQ(m.Teller.caption, "6");

    s.DataFileName1 = "/data/lesson.kov";
    core::ShowData2Mode(s, ui);
    EXPECT_EQ(m.CBack, (core::ControlState{"<< Data1", true}));
    core::ShowDataMode(s, ui);
    EXPECT_EQ(m.CBack, (core::ControlState{">> Data2", true}));
}

TEST_F(ViewTest, ShownSelectionAndDisabledRecordButtons) {
    OpenSet1(12, 5);
    s.SelectionShown1 = core::kTrue;
    s.FullCount1 = 80;
    OpenFilters(2, 1);
    core::ShowDataMode(s, ui);
    auto expectSelection = [&] {
        EXPECT_EQ(m.Teller.caption, "12");
        EXPECT_EQ(m.SelLabel[0], (core::ControlState{" of", true}));
        EXPECT_EQ(m.Teller2, (core::ControlState{"80", true}));
        EXPECT_EQ(m.SelLabel[1], (core::ControlState{" selected", true}));
        EXPECT_TRUE(m.CSaveSelection.visible);
        for (const core::ControlState* c :
             {&m.CDelete, &m.CCopy, &m.CInsrt, &m.CAdd, &m.CJoin, &m.CSplit})
            EXPECT_FALSE(c->enabled) << c->caption;
    };
    expectSelection();
    core::ShowFilterMode(s, ui);
    EXPECT_FALSE(m.Teller2.visible);
    EXPECT_FALSE(m.SelLabel[0].visible);
    EXPECT_TRUE(m.CAdd.enabled);
    core::ShowDataMode(s, ui);
    expectSelection();
    EXPECT_EQ(m.text1, "text 5");
}

TEST_F(ViewTest, SwitchWithoutFileNameLeavesPageAndTitle) {
    OpenSet1(5, 2);
    core::ShowDataMode(s, ui);
    const auto rowsBefore = m.rows;
    core::ShowFilterMode(s, ui);  // no filter file open
    EXPECT_EQ(s.ViewMode, 3);
    EXPECT_EQ(m.background, core::kTeal);
    EXPECT_EQ(m.title, "KOVA Datafile: /data/lesson.kov");
    EXPECT_EQ(m.rows, rowsBefore);
    EXPECT_EQ(m.Teller.caption, "5");
    EXPECT_EQ(m.scrollMax, 5);
}

TEST_F(ViewTest, ShownSetAccessors) {
    EXPECT_EQ(core::ShownCount(s), 0);
    core::ShownPosition(s) = 9;  // view 0: lands nowhere
    EXPECT_EQ(core::ShownPosition(s), 0);
    core::ShownRecords(s).resize(3);
    EXPECT_TRUE(core::ShownRecords(s).empty());
    EXPECT_TRUE(s.Records1.empty());

    OpenSet1(5, 2);
    OpenFilters(3, 1);
    s.ViewMode = 1;
    EXPECT_EQ(core::ShownCount(s), 5);
    EXPECT_EQ(&core::ShownPosition(s), &s.CurrentRecord1);
    EXPECT_EQ(&core::ShownRecords(s), &s.Records1);
    s.ViewMode = 3;
    EXPECT_EQ(core::ShownCount(s), 3);
    EXPECT_EQ(&core::ShownPosition(s), &s.CurrentFilterLine);
    EXPECT_EQ(&core::ShownRecords(s), &s.Records2);
    s.ViewMode = 2;
    s.RecordCount2 = 4;
    EXPECT_EQ(core::ShownCount(s), 4);
    EXPECT_EQ(&core::ShownPosition(s), &s.CurrentRecord2);
}

}  // namespace
