#include "analyses/cross_tables.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <fstream>

#include "analyses/analysis_commands.h"
#include "analyses/analysis_fixture.h"
#include "store/text.h"

namespace {

class CrossTablesTest : public test::AnalysisTest {
protected:
    // The counts row by row with the totals, as "a:3,2,5".
    std::vector<std::string> Counts(const core::CountTable& t) {
        std::vector<std::string> out;
        for (int r = 1; r <= t.Rows() + 1; ++r) {
            std::string line = r <= t.Rows() ? t.rowCategories[r - 1] : "Total";
            line += ":";
            for (int c = 1; c <= t.Columns() + 1; ++c)
                line +=
                    (c > 1 ? "," : "") + core::PlainNumber(static_cast<long long>(t.counts(r, c)));
            out.push_back(line);
        }
        return out;
    }
};

TEST_F(CrossTablesTest, PairsAtTheLagWithFillingPerVariable) {
    struct Case {
        const char* name;
        const char* v4;
        const char* v5;
        int16_t lag;
        int16_t fillingX;
        int16_t fillingY;
        std::vector<std::string> counts;
    } cases[] = {
        // The values at lag 0 and 1 are worked out in data/table_values.py.
        {"lag 0",
         "aabbaccbaabc",
         "xyxxyyxyyxxy",
         0,
         0,
         0,
         {"a:2,3,5", "b:3,1,4", "c:1,2,3", "Total:6,6,12"}},
        {"lag 1",
         "aabbaccbaabc",
         "xyxxyyxyyxxy",
         1,
         0,
         0,
         {"a:3,2,5", "b:1,3,4", "c:1,1,2", "Total:5,6,11"}},
        // A record pairs with itself at lag 0. A pair with an empty code is
        // left out, and its other code is no category.
        {"empty codes are not paired", "a.b", "xy.", 0, 0, 0, {"a:1,1", "Total:1,1"}},
        {"rows filled", "a.b", "xy.", 0, 1, 0, {"a:1,1,2", "Total:1,1,2"}},
        {"columns filled", "a.b", "xy.", 0, 0, 1, {"a:1,0,1", "b:0,1,1", "Total:1,1,2"}},
        {"lag past the range", "ab", "xy", 2, 0, 0, {"Total:0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CodeProtocol(c.v4, c.v5);
        s.Lag = c.lag;
        s.EpisodeFilling = c.fillingX;
        s.EpisodeFillingY = c.fillingY;
        std::optional<core::CountTable> t = core::BuildCrossTable(s, ui, 4, 5);
        ASSERT_TRUE(t.has_value());
        EXPECT_EQ(Counts(*t), c.counts);
    }
}

TEST_F(CrossTablesTest, TableBasedCategoriesComeFromTheListsInTheirOrder) {
    CodeProtocol("abz", "xyx");
    s.TableBasedCategories = 1;
    EXPECT_FALSE(core::BuildCrossTable(s, ui, 4, 5).has_value());
    s.CategoryLists[4] = {"b", "a"};
    s.CategoryLists[5] = {"y", "x", "w"};
    std::optional<core::CountTable> t = core::BuildCrossTable(s, ui, 4, 5);
    ASSERT_TRUE(t.has_value());
    // "z" is no category: its pair is not counted.
    EXPECT_EQ(Counts(*t), (std::vector<std::string>{"b:1,0,0,1", "a:0,1,0,1", "Total:1,1,0,2"}));
    // V3 has no list: its own codes stay the categories.
    EXPECT_EQ(core::BuildCrossTable(s, ui, 3, 5)->Rows(), 0);
}

TEST_F(CrossTablesTest, LagOneGivesTheGoldenReport) {
    CodeProtocol("aabbaccbaabc", "xyxxyyxyyxxy");
    s.Varnaam[4] = "speaker";
    s.Varnaam[5] = "move";
    ASSERT_TRUE(core::RunCrossTablesFromDialog(s, ui, {"1", "12", 1, 4, 5}, test::FixedClock()));
    EXPECT_EQ(s.Lag, 1);
    const std::string golden = test::ReadAll(std::filesystem::path(KOVA_SOURCE_DIR) /
                                             "tests/analyses/data/cross_table_report.golden");
    EXPECT_EQ(Ana(), core::ReplaceAll(golden, "@ANA@", AnaPath()));
}

// Long codes and labels are printed cut; two codes that differ only past
// the cut are two rows.
TEST_F(CrossTablesTest, LongCodesAndLabelsArePrintedCut) {
    const std::string a = test::LongCode(1 << 20, 'a'), b = test::LongCode(1 << 20, 'b');
    Protocol({{"", 0, "", a, "x"}, {"", 0, "", b, "y"}, {"", 0, "", a, "y"}});
    s.Varnaam[4] = test::LongCode(1 << 20, 'v');
    ASSERT_TRUE(core::RunCrossTablesFromDialog(s, ui, {"1", "3", 0, 4, 5}, test::FixedClock()));
    const std::string ana = Ana();
    EXPECT_LT(ana.size(), 16000u);
    // The label in the three block titles, both codes in the rows of each.
    EXPECT_EQ(test::Count(ana, std::string(core::kCutMark)), 3u + 3 * 2);
}

TEST_F(CrossTablesTest, TheDialogRefusesWhatCannotRun) {
    CodeProtocol("ab", "xy");
    struct Case {
        const char* name;
        core::CrossOptions o;
    } cases[] = {
        {"no row variable", {"1", "2", 0, 0, 5}},
        {"no column variable", {"1", "2", 0, 4, 0}},
        {"lag past 20", {"1", "2", 21, 4, 5}},
        {"a number past 16 bits", {"1", "99999", 0, 4, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.messages.clear();
        EXPECT_FALSE(core::RunCrossTablesFromDialog(s, ui, c.o, test::FixedClock()));
        EXPECT_EQ(ui.messages.size(), 1u);
        EXPECT_FALSE(std::filesystem::exists(AnaPath()));
    }
    // A range outside the set runs nothing, silently, as the other analyses.
    ui.messages.clear();
    EXPECT_TRUE(core::RunCrossTablesFromDialog(s, ui, {"1", "3", 0, 4, 5}, test::FixedClock()));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(AnaPath()));
    // With every table unticked nothing is written, and an earlier report is
    // not shown again.
    std::ofstream(AnaPath(), std::ios::binary) << "earlier\r\n";
    s.AnalysisFileName = AnaPath();
    ui.log.clear();
    EXPECT_TRUE(core::RunCrossTablesFromDialog(
        s, ui, {"1", "2", 0, 4, 5, false, false, false, false, false, false}, test::FixedClock()));
    EXPECT_EQ(Ana(), "earlier\r\n");
    EXPECT_TRUE(ui.log.empty());
}

TEST_F(CrossTablesTest, TooManyCategoriesAreRefusedBeforeAnyTableIsBuilt) {
    struct Case {
        const char* name;
        int rowCodes;
        int columnCodes;
    } cases[] = {
        // 8000 distinct codes: their table would take half a gigabyte.
        {"8000 by 8000", 8000, 8000},
        {"1001 by two", 1001, 2},
        {"two by 1001", 2, 1001},
    };
    auto peakKilobytes = [] {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_maxrss;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<test::Row> rows;
        const int count = std::max(c.rowCodes, c.columnCodes);
        for (int i = 0; i < count; ++i)
            rows.push_back(test::Row("", 0, "", "c" + std::to_string(i % c.rowCodes),
                                     "d" + std::to_string(i % c.columnCodes)));
        Protocol(rows);
        ui.messages.clear();
        ui.log.clear();
        // An earlier run's report.
        std::ofstream(AnaPath(), std::ios::binary) << "earlier\r\n";
        s.AnalysisFileName = AnaPath();
        const long before = peakKilobytes();
        ASSERT_TRUE(core::RunCrossTablesFromDialog(s, ui, {"1", std::to_string(count), 0, 4, 5},
                                                   test::FixedClock()));
        EXPECT_LT(peakKilobytes() - before, 100 * 1024);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_NE(ui.messages[0].find("Too many categories"), std::string::npos);
        // Nothing is written, and the earlier report is not shown again.
        EXPECT_EQ(Ana(), "earlier\r\n");
        EXPECT_EQ(
            std::count(ui.log.begin(), ui.log.end(), "ShowOutput KOVA Output file: " + AnaPath()),
            0);
    }
}

TEST_F(CrossTablesTest, OneRowCategoryHasNoCramerAndNoLambdaOfTheRows) {
    CodeProtocol("aaaa", "xyxy");
    s.ShowFrequencyTable = 0;
    s.ShowExpectedTable = 1;
    ASSERT_TRUE(core::RunCrossTables(s, ui, 4, 5, test::FixedClock()));
    test::ExpectStats(
        Ana(), {{"Cramer coefficient:", "   *******"}, {"Lambda (rows predicted):", "   *******"}});
}

}  // namespace
