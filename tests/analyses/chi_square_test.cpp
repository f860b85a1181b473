// The shared chi-square statistics and their report block. The whole block is
// compared with data/chi_square_block.ana, which data/stats_golden.py works
// out from the counts with its own arithmetic; the degenerate tables and the
// critical values are worked out by hand.
#include "analyses/chi_square.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analyses/chi_square_report.h"
#include "analysis_fixture.h"

namespace {

using core::CountMatrix;
using core::kUndefined;

std::string Golden(const std::string& name) {
    return test::ReadAll(std::string(KOVA_SOURCE_DIR) + "/tests/analyses/data/" + name);
}

// A table of counts from its cells, row by row, with the totals filled in.
CountMatrix Counts(int rows, int columns, const std::vector<double>& cells) {
    CountMatrix f(rows, columns);
    for (int a = 1; a <= rows; ++a)
        for (int b = 1; b <= columns; ++b)
            f(a, b) = cells[static_cast<size_t>((a - 1) * columns + (b - 1))];
    core::FillTotals(f);
    return f;
}

// Transitions at lag 1 of the events a b c a b a c c b a b c a a b.
CountMatrix ThreeCategories() {
    return Counts(3, 3, {1, 4, 1, 2, 0, 2, 2, 1, 1});
}

TEST(ChiSquare, TotalsAndExpectedFrequencies) {
    const CountMatrix f = ThreeCategories();
    EXPECT_EQ(f(1, 4), 6);
    EXPECT_EQ(f(4, 2), 5);
    EXPECT_EQ(f(4, 4), 14);
    const core::SingleMatrix e = core::ExpectedFrequencies(f);
    EXPECT_FLOAT_EQ(e(1, 1), 6.0f * 5 / 14);
    EXPECT_FLOAT_EQ(e(3, 3), 4.0f * 4 / 14);
    EXPECT_EQ(e(2, 4), 4);
    EXPECT_EQ(e(4, 3), 4);
    EXPECT_EQ(e(4, 4), 14);
}

struct Degenerate {
    const char* name;
    CountMatrix f;
    double chi;
    double cramer;
    double lambdaRow;
    double lambdaColumn;
    int df;
};

TEST(ChiSquare, DegenerateTablesGiveUndefinedValues) {
    const std::vector<Degenerate> cases = {
        {"no category", CountMatrix(0, 0), 0, kUndefined, kUndefined, kUndefined, 0},
        {"one category", Counts(1, 1, {5}), 0, kUndefined, kUndefined, kUndefined, 0},
        {"nothing counted", Counts(3, 3, std::vector<double>(9, 0)), 0, kUndefined, kUndefined,
         kUndefined, 4},
        // One row holds every count: the row is certain, the column is not
        // predicted any better from it.
        {"one row used", Counts(2, 2, {3, 1, 0, 0}), 0, 0, kUndefined, 0, 1},
        // Perfect association: chi square N' (q - 1), Cramer 1, lambdas 1.
        {"diagonal", Counts(2, 2, {3, 0, 0, 3}), 6, 1, 1, 1, 1},
    };
    for (const Degenerate& c : cases) {
        SCOPED_TRACE(c.name);
        const core::ChiSquareResult r = core::ComputeChiSquare(c.f, core::ExpectedFrequencies(c.f));
        EXPECT_NEAR(r.chiSquare, c.chi, 1e-5);
        EXPECT_NEAR(r.cramer, c.cramer, 1e-6);
        EXPECT_NEAR(r.lambdaRow, c.lambdaRow, 1e-9);
        EXPECT_NEAR(r.lambdaColumn, c.lambdaColumn, 1e-9);
        EXPECT_EQ(core::DegreesOfFreedom(r.dfRows, r.dfColumns), c.df);
    }
}

TEST(ChiSquare, CriticalValuesAndZForManyDegreesOfFreedom) {
    EXPECT_EQ(core::CriticalChiSquare95(0), kUndefined);
    EXPECT_EQ(core::CriticalChiSquare95(1), 3.841);
    EXPECT_EQ(core::CriticalChiSquare95(4), 9.488);
    EXPECT_EQ(core::CriticalChiSquare95(30), 43.773);
    EXPECT_EQ(core::CriticalChiSquare95(31), kUndefined);
    // sqrt(2 x 50) - sqrt(2 x 36 - 1) = 10 - 8.42615
    EXPECT_NEAR(core::ChiSquareZ(50, 36), 1.57385, 1e-5);
}

TEST(ChiSquare, AdjustedResidualOfAnEmptyMarginIsUndefined) {
    // Column 2 is never used: its expected frequencies are 0, its residuals
    // have no variance.
    const CountMatrix f = Counts(2, 2, {2, 0, 1, 0});
    const core::SingleMatrix d = core::AdjustedResiduals(f, core::ExpectedFrequencies(f));
    EXPECT_EQ(d(1, 2), kUndefined);
    EXPECT_EQ(d(2, 2), kUndefined);
    // Column 1 holds everything, so its variance is 0 as well.
    EXPECT_EQ(d(1, 1), kUndefined);
}

TEST(ChiSquare, AnExpectedFrequencyOfFiveIsNotSmall) {
    const CountMatrix f = Counts(2, 2, {5, 5, 5, 5});
    const core::SmallExpected small = core::CountSmallExpected(core::ExpectedFrequencies(f));
    EXPECT_EQ(small.cells, 4);
    EXPECT_EQ(small.below5, 0);
}

class ChiSquareBlock : public test::AnalysisTest {
protected:
    bool Print(const CountMatrix& f, const std::vector<std::string>& labels) {
        const core::SingleMatrix e = core::ExpectedFrequencies(f);
        const core::ChiSquareResult r = core::ComputeChiSquare(f, e);
        core::ChiSquareLabels names{
            "Expected Transition Table", "V4", {" (no.  1 - 15 )"}, labels, labels};
        return core::PrintChiSquareStatistics(s, ui, names, f, e, r, test::FixedClock());
    }
};

TEST_F(ChiSquareBlock, ExpectedAndResidualBlocksByteForByte) {
    s.ShowExpectedTable = 1;
    s.ShowResidualsTable = 1;
    ASSERT_TRUE(Print(ThreeCategories(), {"a", "b", "c"}));
    EXPECT_EQ(Ana(), Golden("chi_square_block.ana"));
    EXPECT_EQ(s.AnalysisFileName, AnaPath());
}

TEST_F(ChiSquareBlock, WithNeitherTableTheFileIsCreatedEmpty) {
    ASSERT_TRUE(Print(ThreeCategories(), {"a", "b", "c"}));
    EXPECT_TRUE(std::filesystem::exists(AnaPath()));
    EXPECT_EQ(Ana(), "");
}

TEST_F(ChiSquareBlock, ManyDegreesOfFreedomGiveZAndSmallExpectedWarnings) {
    // Seven categories, one transition on each diagonal cell: every expected
    // frequency is 1/7, chi square 49 - 7 = 42, df 36,
    // z = sqrt(84) - sqrt(71) = 0.739, Cramer sqrt(42 / (7 x 6)) = 1.
    std::vector<double> cells(49, 0);
    for (int a = 0; a < 7; ++a)
        cells[static_cast<size_t>(a * 8)] = 1;
    s.ShowExpectedTable = 1;
    ASSERT_TRUE(Print(Counts(7, 7, cells), {"a", "b", "c", "d", "e", "f", "g"}));
    const std::string ana = Ana();
    test::ExpectStats(ana, {{"Chi square:", "    42.000"},
                            {"Degrees of freedom:", "        36"},
                            {"z (df > 30):", "      0.74"},
                            {"Cramer coefficient:", "     1.000"}});
    EXPECT_NE(ana.find("Warning: 49 of 49 expected frequencies (100.00%) are below 5.\r\n"),
              std::string::npos);
    EXPECT_NE(ana.find("Warning: 49 of 49 expected frequencies (100.00%) are below 1.\r\n"),
              std::string::npos);
    EXPECT_EQ(ana.find("Critical value"), std::string::npos);
}

TEST_F(ChiSquareBlock, ThirtyDegreesOfFreedomStillGiveTheCriticalValue) {
    // Six rows by seven columns: df 5 x 6 = 30.
    s.ShowExpectedTable = 1;
    ASSERT_TRUE(
        Print(Counts(6, 7, std::vector<double>(42, 1)), {"a", "b", "c", "d", "e", "f", "g"}));
    test::ExpectStats(Ana(), {{"Degrees of freedom:", "        30"},
                              {"Critical value (P = 0.05):", "    43.773"}});
}

// 9999 is a number in chi square and in the degrees of freedom (99 x 101).
TEST_F(ChiSquareBlock, AChiSquareAndDegreesOfFreedomOf9999AreNumbers) {
    s.ShowExpectedTable = 1;
    const CountMatrix f = ThreeCategories();
    const std::vector<std::string> abc{"a", "b", "c"};
    ASSERT_TRUE(core::PrintChiSquareStatistics(s, ui, {"Expected", "V4", {""}, abc, abc}, f,
                                               core::ExpectedFrequencies(f), {9999, 1, 99, 101},
                                               test::FixedClock()));
    test::ExpectStats(Ana(),
                      {{"Chi square:", "  9999.000"}, {"Degrees of freedom:", "      9999"}});
}

TEST_F(ChiSquareBlock, UndefinedValuesPrintAsStars) {
    s.ShowExpectedTable = 1;
    ASSERT_TRUE(Print(CountMatrix(0, 0), {}));
    const std::string ana = Ana();
    test::ExpectStats(ana, {{"Degrees of freedom:", "         0"},
                            {"Critical value (P = 0.05):", "   *******"},
                            {"Cramer coefficient:", "   *******"},
                            {"Lambda (columns predicted):", "   *******"}});
    // No category: the heading holds only "Total:" at column 12.
    EXPECT_NE(ana.find(test::At({{12, "Total:"}})), std::string::npos);
}

}  // namespace
