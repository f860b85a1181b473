#include "filters/filter_report_output.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "filters/filter_test_support.h"
#include "filters/run_filter_command.h"
#include "patterns/result_table.h"
#include "store/text.h"
#include "support/fake_ui.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using test::FilterLine;

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t at; (at = bytes.find("\r\n", from)) != std::string::npos; from = at + 2)
        lines.push_back(bytes.substr(from, at - from));
    lines.push_back(bytes.substr(from));
    return lines;
}

struct FilterReportOutput : ::testing::Test {
    core::KovaState s;
    test::FakeUi ui;
    fs::path dir;

    void SetUp() override {
        dir = test::MakeTempDir("kova_filter_report_");
        test::SetCodedProtocol(s, 6, {2, 5});
        s.Records1[5].V3 = "P";
        s.DataFileName1 = (dir / "talk.kov").string();
        test::SetProgram(s, {FilterLine(0, {{4, "A"}}), FilterLine(0, {}), FilterLine(0, {}),
                             FilterLine(999, {{4, "B"}, {8, "|==="}}), FilterLine(0, {{3, "P"}}),
                             FilterLine(0, {}), FilterLine(0, {}), FilterLine(0, {}),
                             FilterLine(999, {{3, "|del"}})});
        s.FilterReportOn = core::kTrue;
        ASSERT_TRUE(core::RunFilterCommand(s, ui, core::FilterRunKind::AllFilters));
    }
    void TearDown() override { fs::remove_all(dir); }

    std::vector<std::string> Block() {
        std::ifstream in(dir / "talk.ana", std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        std::vector<std::string> lines = Lines(ss.str());
        for (size_t k = 0; k < lines.size(); ++k)
            if (lines[k].rfind("FILTER REPORT: ", 0) == 0)
                return std::vector<std::string>(lines.begin() + k, lines.end());
        return {};
    }
};

// A report row: the three numbers right-aligned in fields at columns 1, 10
// and 24, the action text at column 36.
std::string Row(const std::string& no, const std::string& line, const std::string& filter,
                const std::string& action) {
    return std::string(6 - no.size(), ' ') + no + "   " + std::string(6 - line.size(), ' ') + line +
           std::string(8, ' ') + std::string(6 - filter.size(), ' ') + filter +
           std::string(6, ' ') + action;
}

TEST_F(FilterReportOutput, BlockListsTheRowsAndTotals) {
    ASSERT_TRUE(core::WriteFilterReportOutput(s, ui, {"01-02-2024", "10:11:12"}));
    std::vector<std::string> b = Block();
    // The title with the date at column 82, on a line of its own when the
    // title reaches that column; then the rule.
    const std::string title =
        "FILTER REPORT: " + s.DataFileName1 + " (no. 1 - 5 ) - filterfile: program.fil";
    const std::string date = "01-02-2024/10:11:12";
    size_t rule = 1;
    if (title.size() <= 81) {
        EXPECT_EQ(b.at(0), title + std::string(81 - title.size(), ' ') + date);
    } else {
        EXPECT_EQ(b.at(0), title);
        EXPECT_EQ(b.at(1), std::string(81, ' ') + date);
        rule = 2;
    }
    ASSERT_EQ(b.at(rule), std::string(103, '='));
    b.erase(b.begin(), b.begin() + static_cast<long>(rule));
    ASSERT_EQ(b.size(), 9u);
    EXPECT_EQ(b[1], "Number     Prot.line   Filter no.  Filter Action");
    EXPECT_EQ(b[2], std::string(103, '-'));
    EXPECT_EQ(b[3], Row("1", "2", "4", "B |==="));
    EXPECT_EQ(b[4], Row("2", "5", "4", "B |==="));
    EXPECT_EQ(b[5], Row("3", "5", "9", "|del"));
    EXPECT_EQ(b[6], std::string(103, '-'));
    // The totals line ends the block: no closing empty lines follow it.
    EXPECT_EQ(b[7], "Number of different filters:  2  Total of succeeded filters: 3 ");
    EXPECT_EQ(b[8], "");
    EXPECT_EQ(s.AnalysisFileName, (dir / "talk.ana").string());
    EXPECT_EQ(s.OutputKind, "ana");
}

TEST_F(FilterReportOutput, ALongActionTextIsPrintedCut) {
    s.ResultTable.cells[1][4] = std::string(1 << 20, 'w');
    ASSERT_TRUE(core::WriteFilterReportOutput(s, ui, {"d", "t"}));
    const std::vector<std::string> b = Block();
    const std::string row = Row(
        "1", "2", "4", std::string(core::kPrintedLabelLength, 'w') + std::string(core::kCutMark));
    EXPECT_NE(std::find(b.begin(), b.end(), row), b.end());
}

TEST_F(FilterReportOutput, RowsFollowTheTableOrderAndRepeatOnEveryList) {
    s.ResultTable.cells[1][2] = "9";
    core::SortResultTable(s.ResultTable, 2);
    s.ResultTable.cells[1][1] = "12";
    ASSERT_TRUE(core::WriteFilterReportOutput(s, ui, {"d", "t"}));
    const size_t once = Block().size();
    ASSERT_TRUE(core::WriteFilterReportOutput(s, ui, {"d", "t"}));
    std::vector<std::string> b = Block();
    std::vector<std::string> rows;
    for (const std::string& line : b)
        if (line.size() > 35 && line[34] == ' ' && line[35] != ' ' && line[0] == ' ')
            rows.push_back(line);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0], Row("12", "5", "4", "B |==="));
    EXPECT_EQ(rows[1], Row("3", "5", "9", "|del"));
    EXPECT_EQ(rows[2], Row("1", "9", "4", "B |==="));
    // The second block follows the first after the lead-in's two empty lines.
    ASSERT_EQ(b.size(), 2 * once + 1);
    EXPECT_EQ(b[once - 1], "");
    EXPECT_EQ(b[once], "");
    EXPECT_EQ(b[once + 1].rfind("FILTER REPORT: ", 0), 0u);
}

}  // namespace
