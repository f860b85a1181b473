#include "filters/filter_report.h"

#include <gtest/gtest.h>

#include "filters/filter_test_support.h"
#include "filters/run_filter_command.h"
#include "store/text.h"
#include "support/fake_ui.h"

namespace {

using test::FilterLine;

struct FilterReport : ::testing::Test {
    core::KovaState s;
    test::FakeUi ui;

    std::vector<std::string> Row(int r) { return s.ResultTable.cells.at(r); }
};

TEST_F(FilterReport, OneRowPerMatchWithActionTextsAndTotals) {
    test::SetCodedProtocol(s, 6, {2, 5});
    s.Records1[5].V3 = "P";
    test::SetProgram(s, {FilterLine(0, {{4, "A"}}), FilterLine(0, {{4, "*"}}),
                         FilterLine(0, {{4, "*"}}), FilterLine(999, {{4, " B "}, {8, "|==="}}),
                         FilterLine(0, {{3, "P"}}), FilterLine(0, {}), FilterLine(0, {}),
                         FilterLine(0, {}), FilterLine(999, {{3, "|del"}})});
    s.FilterReportOn = core::kTrue;
    ASSERT_TRUE(core::RunFilterCommand(s, ui, core::FilterRunKind::AllFilters));
    const core::ResultTableModel& t = s.ResultTable;
    EXPECT_EQ(t.caption, "KOVA Filter Report");
    EXPECT_EQ(t.columnWidths, (std::vector<int>{650, 650, 650, 650, 1500}));
    ASSERT_EQ(t.cells.size(), 4u);
    EXPECT_EQ(Row(0),
              (std::vector<std::string>{"", "no.", "prot.line", "filter no.", "filter action"}));
    EXPECT_EQ(Row(1), (std::vector<std::string>{"1", "1", "2", "4", "B |==="}));
    EXPECT_EQ(Row(2), (std::vector<std::string>{"2", "2", "5", "4", "B |==="}));
    // The deleted record is reported with the number it had when it matched.
    EXPECT_EQ(Row(3), (std::vector<std::string>{"3", "3", "5", "9", "|del"}));
    EXPECT_EQ(t.labels[1], "Total of succeeded filters:");
    EXPECT_EQ(t.labels[2], "Number of different filters:");
    EXPECT_EQ(t.labels[3], " 3");
    EXPECT_EQ(t.labels[4], " 2");
    EXPECT_EQ(s.FilterReportRow, 3);
    EXPECT_EQ(s.RecordCount1, 5);
}

// Every row holds the action text cut as the report prints it, not a copy
// of a long literal.
TEST_F(FilterReport, ALongActionTextIsCutInEveryRow) {
    test::SetCodedProtocol(s, 4, {1, 3});
    const std::string literal(1 << 20, 'w');
    test::SetProgram(s, {FilterLine(0, {{4, "A"}}), FilterLine(999, {{8, literal}})});
    s.FilterReportOn = core::kTrue;
    ASSERT_TRUE(core::RunFilterCommand(s, ui, core::FilterRunKind::AllFilters));
    ASSERT_EQ(s.ResultTable.cells.size(), 3u);
    const std::string cut =
        std::string(core::kPrintedLabelLength, 'w') + std::string(core::kCutMark);
    EXPECT_EQ(Row(1)[4], cut);
    EXPECT_EQ(Row(2)[4], cut);
}

TEST_F(FilterReport, RunWithoutMatchesKeepsOneEmptyRow) {
    test::SetCodedProtocol(s, 3, {});
    test::SetProgram(s, {FilterLine(0, {{4, "A"}}), FilterLine(999, {{4, "B"}})});
    s.FilterReportOn = core::kTrue;
    ASSERT_TRUE(core::RunFilterCommand(s, ui, core::FilterRunKind::AllFilters));
    ASSERT_EQ(s.ResultTable.cells.size(), 2u);
    EXPECT_EQ(Row(1), std::vector<std::string>(5));
    EXPECT_EQ(s.ResultTable.labels[3], " 0");
    EXPECT_EQ(s.ResultTable.labels[4], " 0");
    EXPECT_EQ(s.FilterReportRow, 0);
}

TEST_F(FilterReport, InitLaysTheTableOutAfreshEveryTime) {
    s.ResultTable.caption = "KOVA Word Frequency";
    s.ResultTable.columnWidths = {1000, 2000};
    s.ResultTable.cells = {{"word", "freq"}, {"a", "3"}, {"b", "1"}};
    s.ResultTable.labels[3] = "old";
    core::InitFilterReport(s);
    EXPECT_EQ(s.ResultTable.cells.size(), 2u);
    EXPECT_EQ(s.ResultTable.cells[1], std::vector<std::string>(5));
    EXPECT_EQ(s.ResultTable.columnWidths.size(), 5u);
    EXPECT_EQ(s.ResultTable.labels[3], "");
    EXPECT_EQ(s.FilterReportRow, 1);
}

TEST_F(FilterReport, ReportOffLeavesTheTableAlone) {
    test::SetCodedProtocol(s, 3, {1});
    test::SetProgram(s, {FilterLine(0, {{4, "A"}}), FilterLine(999, {{4, "B"}})});
    s.ResultTable.caption = "earlier";
    s.FilterReportOn = core::kFalse;
    ASSERT_TRUE(core::RunFilterCommand(s, ui, core::FilterRunKind::AllFilters));
    EXPECT_EQ(s.ResultTable.caption, "earlier");
    EXPECT_EQ(s.Records1[1].V4, "B");
}

TEST_F(FilterReport, SieveAndSelectBlocksAddNoRows) {
    test::SetCodedProtocol(s, 3, {1});
    test::SetProgram(s, {FilterLine(0, {{4, "A"}}), FilterLine(888, {})});
    s.FilterReportOn = core::kTrue;
    ASSERT_TRUE(core::RunFilterCommand(s, ui, core::FilterRunKind::CurrentFilter));
    EXPECT_EQ(s.ResultTable.cells.size(), 2u);
    EXPECT_EQ(s.ResultTable.labels[3], " 0");
}

TEST(FilterActionText, CellsOtherThanStarsJoinedByBlanks) {
    EXPECT_EQ(core::FilterActionText(FilterLine(999, {{3, "|del"}})), "|del");
    EXPECT_EQ(core::FilterActionText(FilterLine(999, {{4, "A"}, {8, "|==="}})), "A |===");
    EXPECT_EQ(core::FilterActionText(FilterLine(999, {})), "");
    EXPECT_EQ(core::FilterActionText(FilterLine(999, {{1, "|t+0:0:1"}, {7, "x"}})), "|t+0:0:1 x");
}

}  // namespace
