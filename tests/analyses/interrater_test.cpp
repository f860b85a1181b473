#include <gtest/gtest.h>

#include <cmath>

#include "analyses/analysis_commands.h"
#include "analyses/analysis_fixture.h"
#include "analyses/interrater.h"
#include "store/text.h"
#include "support/scripted_chooser.h"

namespace {

using core::kUndefined;

core::CountTable Table(const std::vector<std::string>& categories,
                       const std::vector<std::string>& coder1,
                       const std::vector<std::string>& coder2) {
    core::CountTable table = core::MakeCountTable(categories, categories);
    for (size_t i = 0; i < coder1.size(); ++i)
        core::CountPair(table, coder1[i], coder2[i]);
    return table;
}

std::vector<std::string> Split(const std::string& codes) {
    std::vector<std::string> out;
    for (char c : codes)
        if (c != ' ')
            out.push_back(std::string(1, c == '_' ? ' ' : c));
    return out;
}

struct AgreementCase {
    const char* name;
    const char* categories;
    const char* coder1;
    const char* coder2;
    double agreements;
    double percentage;
    double kappa;
    std::vector<double> categoryKappas;
};

// The values come from tests/analyses/data/table_values.py (the 10-pair
// case) and from the two-by-two definitions worked by hand.
TEST(ComputeAgreement, AgreementCohensKappaAndCategoryKappas) {
    const AgreementCase cases[] = {
        {"ten pairs, three categories",
         "ABC",
         "AAABBBCCAB",
         "AABBBACAAB",
         7,
         0.7,
         16.0 / 31,
         {0.4, 7.0 / 12, 8.0 / 13}},
        {"full agreement", "AB", "AABB", "AABB", 4, 1, 1, {1, 1}},
        {"agreement no better than chance", "AB", "ABAB", "AABB", 2, 0.5, 0, {0, 0}},
        {"all disagree", "AB", "AB", "BA", 0, 0, -1, {-1, -1}},
        // One category: the chance agreement is 1, kappa has no value.
        {"one category", "A", "AAA", "AAA", 3, 1, kUndefined, {kUndefined}},
        // A category no coder used has a kappa of no value; the rest stand.
        {"unused category", "ABC", "AB", "AB", 2, 1, 1, {1, 1, kUndefined}},
        {"no pairs", "AB", "", "", 0, kUndefined, kUndefined, {kUndefined, kUndefined}},
        // Codes outside the categories are not counted.
        {"uncategorised codes", "AB", "AXBB", "AAYB", 2, 1, 1, {1, 1}},
        // Pairs of one category only: no kappa, as with one category.
        {"one category used", "AB", "AXB", "AAY", 1, 1, kUndefined, {kUndefined, kUndefined}},
    };
    for (const AgreementCase& c : cases) {
        SCOPED_TRACE(c.name);
        core::Agreement a =
            core::ComputeAgreement(Table(Split(c.categories), Split(c.coder1), Split(c.coder2)));
        EXPECT_EQ(a.agreements, c.agreements);
        EXPECT_NEAR(a.percentage, c.percentage, 1e-12);
        EXPECT_NEAR(a.kappa, c.kappa, 1e-12);
        ASSERT_EQ(a.categoryKappas.size(), c.categoryKappas.size());
        for (size_t k = 0; k < c.categoryKappas.size(); ++k)
            EXPECT_NEAR(a.categoryKappas[k], c.categoryKappas[k], 1e-12) << k;
    }
}

TEST(RangeCodes, FillingRepeatsTheCodeBeforeWithinTheRange) {
    core::RecordSet records(6);
    const char* codes[] = {"", "A", "", "", "B", ""};
    for (int i = 1; i <= 5; ++i)
        records[i].V5 = codes[i];
    EXPECT_EQ(core::RangeCodes(records, 1, 5, 5, false),
              (std::vector<std::string_view>{"A", "", "", "B", ""}));
    const std::vector<std::string_view> filled = core::RangeCodes(records, 1, 5, 5, true);
    EXPECT_EQ(filled, (std::vector<std::string_view>{"A", "A", "A", "B", "B"}));
    // A repeated code is the record's own text, not a copy of it.
    EXPECT_EQ(filled[2].data(), records[1].V5.data());
    // A range that starts on an empty record has nothing to repeat.
    EXPECT_EQ(core::RangeCodes(records, 2, 3, 5, true), (std::vector<std::string_view>{"", ""}));
    EXPECT_TRUE(core::RangeCodes(records, 4, 3, 5, true).empty());
    EXPECT_TRUE(core::RangeCodes(records, 1, 6, 5, true).empty());
}

class InterraterReportTest : public test::AnalysisTest {
protected:
    void SetUp() override {
        AnalysisTest::SetUp();
        CodeProtocol("AAABBBCCAB");
        s.Records2 = s.Records1;
        for (int i = 1; i <= 10; ++i)
            s.Records2[i].V4 = std::string(1, "AABBBACAAB"[i - 1]);
        s.RecordCount2 = 10;
        s.DataFileName2 = (dir / "coder2.kov").string();
        s.FromRecord2 = 1;
        s.ToRecord2 = 10;
        s.ShowFrequencyTable = 1;
        s.ShowAgreementKappa = 1;
        s.ShowCategoryKappas = 1;
    }
};

TEST_F(InterraterReportTest, TenPairsGiveTheGoldenReport) {
    // Coder 1 leaves record 11 empty where coder 2 has D; coder 2's records
    // 12 and 13 have no partner. Neither adds a category.
    s.Records1.push_back(core::ProtocolRecord{});
    s.Records1.back().V0 = 11;
    for (const char* code : {"D", "D", "E"}) {
        s.Records2.push_back(core::ProtocolRecord{});
        s.Records2.back().V0 = static_cast<int16_t>(s.Records2.size() - 1);
        s.Records2.back().V4 = code;
    }
    s.RecordCount1 = s.ToRecord = 11;
    s.RecordCount2 = s.ToRecord2 = 13;
    s.ShowExpectedTable = 1;
    s.ShowResidualsTable = 1;
    ASSERT_TRUE(core::RunInterraterAgreement(s, ui, 4, test::FixedClock()));
    const std::string golden = test::ReadAll(std::filesystem::path(KOVA_SOURCE_DIR) /
                                             "tests/analyses/data/interrater_report.golden");
    EXPECT_EQ(Ana(), core::ReplaceAll(golden, "@ANA@", AnaPath()));
    EXPECT_EQ(s.CompareVariable, 4);
    EXPECT_EQ(s.AnalysisFileName, AnaPath());
}

// The ten pairs of the golden report with A and B made long codes that
// differ only past the cut: printed cut, and counted apart (seven
// agreements, not the nine of one merged category).
TEST_F(InterraterReportTest, LongCodesArePrintedCutAndCountedApart) {
    const std::string a = test::LongCode(1 << 20, 'A'), b = test::LongCode(1 << 20, 'B');
    for (core::RecordSet* set : {&s.Records1, &s.Records2})
        for (core::ProtocolRecord& r : *set)
            r.V4 = r.V4 == "A" ? a : r.V4 == "B" ? b : r.V4;
    s.Varnaam[4] = test::LongCode(1 << 20, 'v');
    ASSERT_TRUE(core::RunInterraterAgreement(s, ui, 4, test::FixedClock()));
    const std::string ana = Ana();
    EXPECT_LT(ana.size(), 16000u);
    // Three block titles; the frequency table's heading and rows, the
    // category kappas' rows.
    EXPECT_EQ(test::Count(ana, std::string(core::kCutMark)), 3u + 4 + 2);
    EXPECT_NE(ana.find(test::At({{1, "Total:"},
                                 {12, test::R8("10")},
                                 {24, test::R8("7")},
                                 {36, test::R8("70.00%")},
                                 {48, test::R8("0.516")}})),
              std::string::npos);
}

TEST_F(InterraterReportTest, NothingWithoutDataSet2OrWithABadRange) {
    struct Case {
        const char* name;
        void (*change)(core::KovaState&);
    } cases[] = {
        {"no data set 2", [](core::KovaState& s) { s.DataFileName2.clear(); }},
        {"from above to", [](core::KovaState& s) { s.FromRecord = 5, s.ToRecord = 4; }},
        {"to past the set", [](core::KovaState& s) { s.ToRecord = 11; }},
        {"set 2 from 0", [](core::KovaState& s) { s.FromRecord2 = 0; }},
        {"set 2 to past the set", [](core::KovaState& s) { s.ToRecord2 = 11; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        core::KovaState saved = s;
        c.change(s);
        s.CompareVariable = 0;
        EXPECT_TRUE(core::RunInterraterAgreement(s, ui, 4, test::FixedClock()));
        EXPECT_FALSE(std::filesystem::exists(AnaPath()));
        EXPECT_EQ(s.CompareVariable, 0);
        s = saved;
    }
}

TEST_F(InterraterReportTest, UndefinedStatisticsPrintStars) {
    // One category used by both coders: kappa and the category kappa have no
    // value.
    for (int i = 1; i <= 10; ++i)
        s.Records1[i].V4 = s.Records2[i].V4 = "A";
    s.ShowFrequencyTable = 0;
    ASSERT_TRUE(core::RunInterraterAgreement(s, ui, 4, test::FixedClock()));
    const std::string ana = Ana();
    for (auto [label, agreed] : {std::pair{"Total:", "100.00%"}, std::pair{"A", "10"}})
        EXPECT_NE(ana.find(test::At({{1, label},
                                     {12, test::R8("10")},
                                     {24, test::R8("10")},
                                     {36, test::R8(agreed)},
                                     {48, " *******"}})),
                  std::string::npos)
            << ana;
}

TEST_F(InterraterReportTest, TableBasedWithoutCategoriesIsRefused) {
    s.TableBasedCategories = 1;
    ASSERT_TRUE(core::RunInterraterAgreement(s, ui, 4, test::FixedClock()));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0],
              "Error|Tablebased option checked. However no categories of coding specified. "
              "Procedure stopped!");
    EXPECT_FALSE(std::filesystem::exists(AnaPath()));
    // With the list the table has its categories in list order, unused ones too.
    ui.messages.clear();
    s.CategoryLists[4] = {"C", "B", "A", "D"};
    ASSERT_TRUE(core::RunInterraterAgreement(s, ui, 4, test::FixedClock()));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_NE(Ana().find(test::At({{14, "C"}, {26, "B"}, {38, "A"}, {50, "D"}, {62, "Total:"}})),
              std::string::npos);
}

TEST_F(InterraterReportTest, TooManyCategoriesAreRefused) {
    for (int i = 1; i <= 10; ++i)
        s.Records1[i].V1 = "t" + std::to_string(i);
    s.ToRecord = 10;
    std::vector<std::string> many;
    for (size_t i = 0; i <= core::kMaxTableCategories; ++i)
        many.push_back("c" + std::to_string(i));
    s.CategoryLists[5] = many;
    s.TableBasedCategories = 1;
    // From the menu: nothing is written, and an earlier report is not shown again.
    std::ofstream(AnaPath(), std::ios::binary) << "earlier\r\n";
    s.AnalysisFileName = AnaPath();
    test::ScriptedChooser dialog;
    core::InterraterMenuItem(
        s, ui, 7, dialog, [] {}, test::FixedClock());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("Too many categories"), std::string::npos);
    EXPECT_EQ(Ana(), "earlier\r\n");
    EXPECT_EQ(ui.outputCaption, "");
}

}  // namespace
