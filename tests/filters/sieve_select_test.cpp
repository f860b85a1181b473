#include <gtest/gtest.h>

#include <functional>

#include "filters/filter_test_support.h"
#include "filters/run_filter_command.h"
#include "mainwindow/coding.h"
#include "mainwindow/find.h"
#include "mainwindow/navigation.h"
#include "store/data_file.h"
#include "store/open_save.h"
#include "store/record_edit.h"
#include "support/fake_ui.h"
#include "support/temp_dir.h"

namespace {

using test::FilterLine;

struct SieveSelect : ::testing::Test {
    core::KovaState s;
    test::FakeUi ui;

    bool RunCurrent(int line) {
        s.CurrentFilterLine = static_cast<int16_t>(line);
        return core::RunFilterCommand(s, ui, core::FilterRunKind::CurrentFilter);
    }
};

TEST_F(SieveSelect, SieveCollectsMatchesOfTheWholeSet) {
    test::SetCodedProtocol(s, 20, {4, 9, 15});
    test::SetProgram(s, {FilterLine(0, {{4, "A"}}), FilterLine(888, {})});
    s.FromRecord = 10;
    s.ToRecord = 20;
    ASSERT_TRUE(RunCurrent(1));
    EXPECT_EQ(s.SieveActive, 1);
    EXPECT_EQ(s.SieveCount, 3);
    EXPECT_EQ(s.SievePosition, 1);
    EXPECT_EQ(s.SieveList, (std::vector<float>{0, 4, 9, 15}));
    EXPECT_EQ(s.CurrentRecord1, 4);
    EXPECT_EQ(s.Main.CString.caption, "Sieve");
    EXPECT_EQ(s.Main.Teller.caption, "20");
    EXPECT_EQ(s.ViewMode, 1);
    EXPECT_EQ(test::Column(s, 4)[3], "A");  // a sieve changes no record
}

TEST_F(SieveSelect, FindPageUpAndTheCodingListsStepThroughTheSieve) {
    test::SetCodedProtocol(s, 20, {4, 9, 15});
    s.ChangeCount1 = 3;  // data set 1 changed before the run (an Open does)
    test::SetProgram(s, {FilterLine(0, {{4, "A"}}), FilterLine(888, {})});
    ASSERT_TRUE(RunCurrent(2));
    ASSERT_EQ(s.CurrentRecord1, 4);
    s.FindDirection = 1;
    std::vector<int> steps;
    for (int k = 0; k < 3; ++k) {
        core::FindStep(s, ui, "not searched", 8);
        steps.push_back(s.CurrentRecord1);
    }
    EXPECT_EQ(steps, (std::vector<int>{9, 15, 4}));
    core::PageUp(s, ui);  // backwards from the first entry to the last
    EXPECT_EQ(s.CurrentRecord1, 15);
    EXPECT_EQ(s.SievePosition, 3);
    core::AdvanceRecord(s, ui);  // a coding list's move on steps forwards
    EXPECT_EQ(s.CurrentRecord1, 4);
    EXPECT_EQ(s.SievePosition, 1);
    s.FindDirection = 0;  // Find searching backwards
    core::FindStep(s, ui, "not searched", 8);
    EXPECT_EQ(s.CurrentRecord1, 15);
}

// The list names records by position: a change of data set 1's records in
// number or order ends the sieve, edits of the filter lines do not. An
// ended sieve gives the search-mode button back to text find.
TEST_F(SieveSelect, SieveEndsWhenDataSet1ChangesAndOnlyThen) {
    test::TempDir dir;
    const std::string file = dir.File("other.kov");
    const struct {
        const char* what;
        std::function<void()> change;
        bool ends;
    } cases[] = {
        {"a filter line added", [&] { core::AddRecords(s, ui, core::FilterLines(s)); }, false},
        {"a record cut", [&] { core::DeleteRecords(s, ui, core::DataSet1(s), 1, 1); }, true},
        {"data set 1 opened", [&] { ASSERT_TRUE(core::OpenDataFile(s, ui, file)); }, true},
        {"data set 2 opened", [&] { ASSERT_TRUE(core::OpenData2File(s, ui, file)); }, true},
    };
    test::SetCodedProtocol(s, 20, {4, 9, 15});
    ASSERT_TRUE(core::SaveDataFile(s, ui, file, s.Records1, 20, 9, ""));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        s = core::KovaState();
        test::SetCodedProtocol(s, 20, {4, 9, 15});
        test::SetProgram(s, {FilterLine(0, {{4, "A"}}), FilterLine(888, {})});
        ASSERT_TRUE(RunCurrent(2));
        c.change();
        s.CurrentRecord1 = 4;
        core::PageUp(s, ui);
        EXPECT_EQ(s.CurrentRecord1, c.ends ? 4 : 15);
        EXPECT_EQ(s.Main.CString.caption, c.ends ? "String" : "Sieve");
    }
}

TEST_F(SieveSelect, SieveLookAheadNeverReachesPastTheLastRecord) {
    test::SetCodedProtocol(s, 5, {1, 2, 3, 4, 5});
    test::SetProgram(s, {FilterLine(1, {{4, "A"}}), FilterLine(888, {})});
    ASSERT_TRUE(RunCurrent(2));
    EXPECT_EQ(s.SieveList, (std::vector<float>{0, 1, 2, 3, 4}));
}

TEST_F(SieveSelect, SieveWithoutHitsKeepsTheEarlierSieve) {
    test::SetCodedProtocol(s, 6, {2, 5});
    test::SetProgram(s, {FilterLine(0, {{4, "A"}}), FilterLine(888, {}),
                         FilterLine(0, {{4, "none"}}), FilterLine(888, {})});
    ASSERT_TRUE(RunCurrent(2));
    s.SievePosition = 2;
    s.CurrentRecord1 = 5;
    ASSERT_TRUE(RunCurrent(4));
    EXPECT_EQ(s.SieveActive, 1);
    EXPECT_EQ(s.SieveCount, 2);
    EXPECT_EQ(s.SievePosition, 2);
    EXPECT_EQ(s.SieveList, (std::vector<float>{0, 2, 5}));
    EXPECT_EQ(s.Main.CString.caption, "Sieve");
    EXPECT_EQ(s.CurrentRecord1, 6);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SieveSelect, SelectTakesRecordsThatAnyLineMatches) {
    test::SetCodedProtocol(s, 8, {2, 6});
    s.Records1[3].V4 = "B";
    s.Records1[7].V4 = "C";
    test::SetProgram(s,
                     {FilterLine(0, {{4, "A"}}), FilterLine(0, {{4, "B"}}), FilterLine(777, {})});
    s.FromRecord = 7;
    s.ToRecord = 8;
    ASSERT_TRUE(RunCurrent(1));
    EXPECT_EQ(s.SelectionShown1, core::kTrue);
    EXPECT_EQ(test::Numbers(s), (std::vector<int>{2, 3, 6}));
    EXPECT_EQ(s.CurrentRecord1, 1);
    EXPECT_EQ(s.FullCount1, 8);

    // Again while shown, with one line now accepting C: the union, and an
    // edit made in the shown records is kept in the new selection.
    s.Records2[2].V4 = "C";
    s.Records1[1].V8 = "edited";
    ASSERT_TRUE(RunCurrent(3));
    EXPECT_EQ(test::Numbers(s), (std::vector<int>{2, 3, 6, 7}));
    EXPECT_EQ(s.Records1[1].V8, "edited");
}

TEST_F(SieveSelect, SelectOfNothingReportsAndKeepsTheWholeSet) {
    test::SetCodedProtocol(s, 4, {});
    test::SetProgram(s, {FilterLine(0, {{4, "nothing"}}), FilterLine(777, {})});
    ASSERT_TRUE(RunCurrent(2));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("No records selected!"), std::string::npos);
    EXPECT_EQ(s.SelectionShown1, core::kFalse);
    EXPECT_EQ(s.RecordCount1, 4);
}

TEST_F(SieveSelect, SelectLooksAtOffsetsWithinTheFullSet) {
    test::SetCodedProtocol(s, 5, {3});
    // Records followed by an A.
    test::SetProgram(s, {FilterLine(1, {{4, "A"}}), FilterLine(777, {})});
    ASSERT_TRUE(RunCurrent(1));
    EXPECT_EQ(test::Numbers(s), (std::vector<int>{2}));
}

}  // namespace
