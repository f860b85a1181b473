// Whole "FREQUENCIES:" blocks, byte for byte. Every count, share, mean and
// standard deviation below is worked out by hand from the protocol of the
// test (population s.d.: sqrt(N*sum(x^2) - sum(x)^2) / N).
#include "analyses/frequency_report.h"

#include <gtest/gtest.h>

#include "analyses/frequency_analysis.h"
#include "analysis_fixture.h"
#include "store/text.h"

namespace {

using test::At;
using test::R8;
using test::Rule;

const std::string kTime = "01-02-2024/13:45:07";

std::string Heading() {
    return At({{1, "cd  code-"},
               {18, "   abs."},
               {27, "   abs."},
               {37, "   valid"},
               {47, "   mean"},
               {57, "   s.d."},
               {67, "   mean"},
               {77, "   s.d."}}) +
           At({{1, "no. label"},
               {18, "   freq"},
               {27, "   perc"},
               {37, "   perc"},
               {47, "   time"},
               {57, "   time"},
               {67, "   events"},
               {77, "   events"}}) +
           Rule('-');
}

// A category row: number, label, count, record share, valid share, mean and
// s.d. of the durations, mean and s.d. of the records spanned.
std::string CategoryRow(const std::string& r, const std::string& label, const std::string& n,
                        const std::string& abs, const std::string& valid, const std::string& mt,
                        const std::string& st, const std::string& me, const std::string& se) {
    return At({{1, r},
               {5, label},
               {18, R8(n)},
               {27, R8(abs)},
               {37, R8(valid)},
               {47, R8(mt)},
               {57, R8(st)},
               {67, R8(me)},
               {77, R8(se)}});
}

std::string MissingRow(const std::string& r, const std::string& n, const std::string& abs) {
    return At({{1, r}, {6, "   "}, {18, R8(n)}, {27, R8(abs)}});
}

std::string TotalsRow(const std::string& n, const std::string& valid, const std::string& mt,
                      const std::string& st, const std::string& me, const std::string& se) {
    return At({{1, "  "},
               {5, "Total:"},
               {18, R8(n)},
               {27, R8("100.00%")},
               {37, R8(valid)},
               {47, R8(mt)},
               {57, R8(st)},
               {67, R8(me)},
               {77, R8(se)}});
}

class FrequencyReport : public test::AnalysisTest {
protected:
    void Run(int16_t varIndex) {
        ASSERT_TRUE(core::FrequencyAnalysis(s, ui, varIndex, test::FixedClock()));
    }
    std::string NewFileLeadIn() const { return AnaPath() + "\r\n\r\n\r\n"; }
};

// Codes B, A, B, D over six records. Events and durations:
//   B at 10 s, spans 1, lasts 10; A at 20, spans 1, lasts 15;
//   B at 35, spans 2 (35, 40), lasts 20; D at 55, spans 2, lasts 0 (last).
// A: N 1, 1/6 = 16.67%, 1/4 = 25.00%, time 15.00 / 0.00, span 1.00 / 0.00
// B: N 2, 33.33%, 50.00%, times 10 and 20: mean 15.00, s.d. sqrt(2*500-900)/2 = 5.00;
//    spans 1 and 2: mean 1.50, s.d. sqrt(2*5-9)/2 = 0.50
// D: N 1, 16.67%, 25.00%, time 0.00 / 0.00, span 2.00 / 0.00
// missing: 6 - 4 = 2 records, 33.33%
// totals: times sum 45, squares 725: mean 11.25, s.d. sqrt(4*725-2025)/4 = 7.395 -> 7.40;
//         spans sum 6, squares 10: mean 1.50, s.d. sqrt(40-36)/4 = 0.50
TEST_F(FrequencyReport, DistinctCodesBlockInANewFile) {
    Protocol({{"00:00:10", 0, "", "B"},
              {"00:00:20", 0, "", "A"},
              {"00:00:35", 0, "", "B"},
              {"00:00:40", 0, "", ""},
              {"00:00:55", 0, "", "D"},
              {"00:01:00", 0, "", ""}});
    Run(4);
    const std::string block =
        At({{1, "FREQUENCIES:"}, {15, "V4 (no. 1-6)"}, {82, kTime}}) + Rule('=') + Heading() +
        CategoryRow("1", "A", "1", "16.67%", "25.00%", "15.00", "0.00", "1.00", "0.00") +
        CategoryRow("2", "B", "2", "33.33%", "50.00%", "15.00", "5.00", "1.50", "0.50") +
        CategoryRow("3", "D", "1", "16.67%", "25.00%", "0.00", "0.00", "2.00", "0.00") +
        MissingRow("4", "2", "33.33%") + Rule('-') +
        TotalsRow("6", "(4)", "11.25", "7.40", "1.50", "0.50") + "\r\n\r\n";
    EXPECT_EQ(Ana(), NewFileLeadIn() + block);
    EXPECT_EQ(s.AnalysisFileName, AnaPath());
    EXPECT_EQ(ui.outputText, Ana());
    EXPECT_EQ(ui.outputCaption, "KOVA Output file: " + AnaPath());

    // A second report goes after the first one's closing lines, one empty line
    // before it.
    Run(4);
    EXPECT_EQ(Ana(), NewFileLeadIn() + block + "\r\n" + block);
}

// Codes A, -, -, B, A with episode filling: events A, A, A, B, A, each one
// record. The filled events take the start time 10 of the first A, so the
// durations are 0, 0, 30, 10, 0.
// A: N 4, 80.00%, 80.00%, times 0,0,30,0: mean 7.50, s.d. sqrt(4*900-900)/4 = 12.99
// B: N 1, 20.00%, 20.00%, time 10.00 / 0.00
// totals: sum 40, squares 1000: mean 8.00, s.d. sqrt(5*1000-1600)/5 = 11.66; spans 1.00 / 0.00
TEST_F(FrequencyReport, EpisodeFillingBlock) {
    Protocol({{"10", 0, "", "A"}, {"20"}, {"30"}, {"40", 0, "", "B"}, {"50", 0, "", "A"}});
    s.EpisodeFilling = 1;
    Run(4);
    EXPECT_EQ(Ana(),
              NewFileLeadIn() +
                  At({{1, "FREQUENCIES:"}, {15, "V4 (no. 1-5) (EPISODE FILLED)"}, {82, kTime}}) +
                  Rule('=') + Heading() +
                  CategoryRow("1", "A", "4", "80.00%", "80.00%", "7.50", "12.99", "1.00", "0.00") +
                  CategoryRow("2", "B", "1", "20.00%", "20.00%", "10.00", "0.00", "1.00", "0.00") +
                  Rule('-') + TotalsRow("5", "(5)", "8.00", "11.66", "1.00", "0.00") + "\r\n\r\n");
}

// A selection is shown: positions 2..4 hold the records numbered 5, 7 and 9.
// Actor codes x, y, - (no time codes): x spans 1, y spans 2; missing 1.
TEST_F(FrequencyReport, RangeOfAShownSelectionWithItsLabel) {
    Protocol({{}, {"", 0, "x"}, {"", 0, "y"}, {}, {}});
    s.Records1[2].V0 = 5;
    s.Records1[3].V0 = 7;
    s.Records1[4].V0 = 9;
    s.SelectionShown1 = core::kTrue;
    s.FromRecord = 2;
    s.ToRecord = 4;
    s.Varnaam[3] = "Actor";
    Run(3);
    EXPECT_EQ(Ana(),
              NewFileLeadIn() +
                  At({{1, "FREQUENCIES:"}, {15, "Actor (no. 2-4) (Selected:5-9)"}, {82, kTime}}) +
                  Rule('=') + Heading() +
                  CategoryRow("1", "x", "1", "33.33%", "50.00%", "0.00", "0.00", "1.00", "0.00") +
                  CategoryRow("2", "y", "1", "33.33%", "50.00%", "0.00", "0.00", "2.00", "0.00") +
                  MissingRow("3", "1", "33.33%") + Rule('-') +
                  TotalsRow("3", "(2)", "0.00", "0.00", "1.50", "0.50") + "\r\n\r\n");
}

// Table A, B, C; codes A, X, B: C gets an empty row, X counts as missing.
TEST_F(FrequencyReport, TableBasedCategories) {
    Protocol(
        {{"", 0, "", "", "", "", "A"}, {"", 0, "", "", "", "", "X"}, {"", 0, "", "", "", "", "B"}});
    s.CategoryLists[7] = {"A", "B", "C"};
    s.TableBasedCategories = 1;
    Run(7);
    EXPECT_EQ(Ana(),
              NewFileLeadIn() + At({{1, "FREQUENCIES:"}, {15, "V7 (no. 1-3)"}, {82, kTime}}) +
                  Rule('=') + Heading() +
                  CategoryRow("1", "A", "1", "33.33%", "50.00%", "0.00", "0.00", "1.00", "0.00") +
                  CategoryRow("2", "B", "1", "33.33%", "50.00%", "0.00", "0.00", "1.00", "0.00") +
                  CategoryRow("3", "C", "0", "0.00%", "0.00%", "0.00", "0.00", "0.00", "0.00") +
                  MissingRow("4", "1", "33.33%") + Rule('-') +
                  TotalsRow("3", "(2)", "0.00", "0.00", "1.00", "0.00") + "\r\n\r\n");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(FrequencyReport, TableBasedWithAnEmptyTableStopsWithAMessage) {
    Protocol({{"", 0, "", "", "", "A"}});
    s.TableBasedCategories = 1;
    Run(6);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0],
              "Error|Tablebased option checked. However no categories of coding specified. "
              "Procedure stopped!");
    EXPECT_FALSE(std::filesystem::exists(AnaPath()));
    EXPECT_EQ(ui.outputCaption, "");  // no report yet in this run: nothing to show
    // V2 and V3 have no table: the option does not apply to them.
    Protocol({{"", 0, "a"}});
    Run(3);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(AnaPath()));
}

TEST_F(FrequencyReport, NoCodesBlock) {
    Protocol({{"", 0, "", "", "x"}, {}, {}, {}, {"", 0, "", "", "y"}});
    s.FromRecord = 2;
    s.ToRecord = 4;
    Run(5);
    const std::string block = At({{1, "FREQUENCIES:"}, {15, "V5 (no.  2 - 4 )"}, {82, kTime}}) +
                              Rule('=') + " No Codes Found! \r\n";
    EXPECT_EQ(Ana(), AnaPath() + "\r\n\r\n\r\n\r\n" + block);
    // In an existing file the block starts with two empty lines.
    Run(5);
    EXPECT_EQ(Ana(), AnaPath() + "\r\n\r\n\r\n\r\n" + block + "\r\n\r\n" + block);
}

// Filled events of a range that begins after position 1 copy event 0: an
// empty code. No category: only the totals up to the valid count.
TEST_F(FrequencyReport, NoValidEventWritesNoMeans) {
    Protocol({{}, {}, {}});
    s.FromRecord = 2;
    s.ToRecord = 3;
    s.EpisodeFilling = 1;
    Run(4);
    EXPECT_EQ(
        Ana(),
        NewFileLeadIn() +
            At({{1, "FREQUENCIES:"}, {15, "V4 (no. 2-3) (EPISODE FILLED)"}, {82, kTime}}) +
            Rule('=') + Heading() + MissingRow("1", "2", "100.00%") + Rule('-') +
            At({{1, "  "}, {5, "Total:"}, {18, R8("2")}, {27, R8("100.00%")}, {37, R8("(0)")}}) +
            "\r\n\r\n");
}

// Table A, B; codes X, -, Y: no event is valid. The category rows stop after
// their record share, the totals after the valid count; all three records are
// missing.
TEST_F(FrequencyReport, TableCategoriesNoneOfWhichOccurWriteNoMeans) {
    Protocol({{"", 0, "", "", "X"}, {}, {"", 0, "", "", "Y"}});
    s.CategoryLists[5] = {"A", "B"};
    s.TableBasedCategories = 1;
    Run(5);
    EXPECT_EQ(
        Ana(),
        NewFileLeadIn() + At({{1, "FREQUENCIES:"}, {15, "V5 (no. 1-3)"}, {82, kTime}}) + Rule('=') +
            Heading() + At({{1, "1"}, {5, "A"}, {18, R8("0")}, {27, R8("0.00%")}}) +
            At({{1, "2"}, {5, "B"}, {18, R8("0")}, {27, R8("0.00%")}}) +
            MissingRow("3", "3", "100.00%") + Rule('-') +
            At({{1, "  "}, {5, "Total:"}, {18, R8("3")}, {27, R8("100.00%")}, {37, R8("(0)")}}) +
            "\r\n\r\n");
}

TEST_F(FrequencyReport, CaseMakesSeparateCategoriesAndLongLabelsPushTheNumbers) {
    Protocol({{"", 0, "", "a"}, {"", 0, "", "A"}, {"", 0, "", "a-very-long-label"}});
    Run(4);
    const std::string text = Ana();
    EXPECT_NE(
        text.find(CategoryRow("1", "a", "1", "33.33%", "33.33%", "0.00", "0.00", "1.00", "0.00") +
                  CategoryRow("2", "A", "1", "33.33%", "33.33%", "0.00", "0.00", "1.00", "0.00")),
        std::string::npos)
        << text;
    // A label of 13 characters or more ends at or beyond column 18: the
    // numbers go to column 18 of the next line.
    EXPECT_NE(text.find("3   a-very-long-label\r\n" + std::string(17, ' ') + R8("1")),
              std::string::npos)
        << text;
}

// Codes and labels longer than a report prints are cut with a mark; two
// codes that differ only past the cut are still two categories.
TEST_F(FrequencyReport, LongCodesAndLabelsArePrintedCut) {
    const std::string a = test::LongCode(1 << 20, 'a'), b = test::LongCode(1 << 20, 'b');
    Protocol({{"", 0, "", a}, {"", 0, "", b}, {"", 0, "", a}});
    s.Varnaam[4] = test::LongCode(1 << 20, 'v');
    Run(4);
    const std::string text = Ana();
    EXPECT_LT(text.size(), 4000u);
    EXPECT_EQ(test::Count(text, std::string(core::kCutMark)), 3u);
    const std::string numbers = "\r\n" + std::string(17, ' ');
    EXPECT_NE(text.find("1   " + core::PrintedLabel(a) + numbers + R8("2")), std::string::npos);
    EXPECT_NE(text.find("2   " + core::PrintedLabel(b) + numbers + R8("1")), std::string::npos);
}

// Time codes of nine records (record 4 has none). Events and intervals:
//   10 (rec 1), 20 (rec 2), 20 (recs 3-4), 30, 40, 50, 60, 390 (recs 5..9)
//   intervals 10, 0, 10, 10, 10, 10, 330: sum 380, squares 109400
//   mean 380/7 = 54.29; s.d. sqrt(7*109400 - 380^2)/7 = sqrt(621400)/7 = 112.61
//   only 330 lies more than 2 s.d. (225.23) from the mean: records 8 and 9
// Per code: 00:00:20 twice (2/9 = 22.22%, 2/8 = 25.00%), the others once
// (1/9 = 11.11%, 1/8 = 12.50%); one record (4) is missing.
TEST_F(FrequencyReport, TimecodeBlock) {
    Protocol({{"00:00:10"},
              {"00:00:20"},
              {" 00:00:20 "},
              {""},
              {"00:00:30"},
              {"00:00:40"},
              {"00:00:50"},
              {"00:01:00"},
              {"00:06:30"}});
    Run(1);
    auto row = [](const std::string& r, const std::string& code, const std::string& n,
                  const std::string& abs, const std::string& valid) {
        return At({{1, r}, {5, code}, {18, R8(n)}, {27, R8(abs)}, {37, R8(valid)}});
    };
    EXPECT_EQ(
        Ana(),
        AnaPath() + "\r\n\r\n\r\n\r\n" +
            At({{1, "FREQUENCIES:"}, {15, "V1 (no. 1-9)"}, {85, kTime}}) + Rule('=') +
            At({{1, "cd  time-"}, {18, "   abs."}, {27, "   abs."}, {37, "   valid"}}) +
            At({{1, "no. code"}, {18, "   freq"}, {27, "   perc"}, {37, "   perc"}}) + Rule('-') +
            row("1", "00:00:10", "1", "11.11%", "12.50%") +
            row("2", "00:00:20", "2", "22.22%", "25.00%") +
            row("3", "00:00:30", "1", "11.11%", "12.50%") +
            row("4", "00:00:40", "1", "11.11%", "12.50%") +
            row("5", "00:00:50", "1", "11.11%", "12.50%") +
            row("6", "00:01:00", "1", "11.11%", "12.50%") +
            row("7", "00:06:30", "1", "11.11%", "12.50%") + MissingRow("8", "1", "11.11%") +
            Rule('-') +
            At({{1, "  "}, {5, "Total:"}, {18, R8("9")}, {27, R8("100.00%")}, {37, R8("(8)")}}) +
            "\r\n" + At({{1, "mean interval:"}, {18, R8("54.29")}}) +
            At({{1, "s.d. interval:"}, {18, R8("112.61")}}) + "Total session time: 380.00\r\n" +
            "Outliers (> 2 s.d.):\r\n" + At({{5, R8("330.00") + "  line-nos: 8-9"}}) + "\r\n\r\n");
    EXPECT_EQ(ui.outputText, Ana());
}

// The outliers name records by their own numbers: under a selection the
// records at positions 8 and 9 are the full set's records 80 and 90.
TEST_F(FrequencyReport, TimecodeOutliersNameRecordNumbersOfASelection) {
    Protocol({{"00:00:10"},
              {"00:00:20"},
              {"00:00:20"},
              {""},
              {"00:00:30"},
              {"00:00:40"},
              {"00:00:50"},
              {"00:01:00"},
              {"00:06:30"}});
    for (int i = 1; i <= 9; ++i)
        s.Records1[static_cast<size_t>(i)].V0 = static_cast<int16_t>(10 * i);
    s.SelectionShown1 = core::kTrue;
    Run(1);
    EXPECT_NE(Ana().find("(Selected:10-90)"), std::string::npos) << Ana();
    EXPECT_NE(
        Ana().find("Outliers (> 2 s.d.):\r\n" + At({{5, R8("330.00") + "  line-nos: 80-90"}})),
        std::string::npos)
        << Ana();
}

TEST_F(FrequencyReport, TimecodeBlockWithoutOutliersAndWithoutCodes) {
    Protocol({{"00:00:10"}, {"00:00:20"}});
    Run(1);
    EXPECT_NE(Ana().find("Total session time: 10.00\r\nOutliers (> 2 s.d.): none\r\n\r\n\r\n"),
              std::string::npos)
        << Ana();
    std::filesystem::remove(AnaPath());
    Protocol({{}, {}});
    Run(1);
    EXPECT_EQ(Ana(), AnaPath() + "\r\n\r\n\r\n\r\n" +
                         At({{1, "FREQUENCIES:"}, {15, "V1 (no.  1 - 2 )"}, {82, kTime}}) +
                         Rule('=') + " No Codes Found! \r\n");
}

}  // namespace
