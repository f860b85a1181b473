// The lag-sequential analysis. Whole reports are compared with
// data/sequential_*.ana, which data/stats_golden.py works out from the
// protocols with its own arithmetic; the event lists, the degenerate tables
// and the mended kappa and z-score cases are worked out by hand.
#include "analyses/sequential_analysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "analyses/sequential_reports.h"
#include "analyses/transition_diagram.h"
#include "analyses/transition_tables.h"
#include "analysis_fixture.h"
#include "store/text.h"

namespace {

using core::CountMatrix;
using core::SingleMatrix;
using test::At;
using test::R8;
using test::Row;
using test::Rule;

const std::string kTime = "01-02-2024/13:45:07";

std::string Golden(const std::string& name) {
    return test::ReadAll(std::string(KOVA_SOURCE_DIR) + "/tests/analyses/data/" + name);
}

std::vector<Row> V4Rows(const std::vector<std::string>& codes) {
    std::vector<Row> rows;
    for (const std::string& c : codes)
        rows.emplace_back("", 0, "", c);
    return rows;
}

std::vector<std::string> Codes(const core::EventList& list) {
    std::vector<std::string> codes;
    for (size_t k = 1; k < list.events.size(); ++k)
        codes.emplace_back(list.events[k].code);
    return codes;
}

std::vector<int> Spans(const core::EventList& list) {
    std::vector<int> spans;
    for (const auto& e : list.events)
        spans.push_back(e.span);
    return spans;
}

class Sequential : public test::AnalysisTest {
protected:
    void AllTables() {
        s.ShowFrequencyTable = s.ShowExpectedTable = s.ShowResidualsTable = 1;
        s.ShowProbabilityTable = s.ShowUniZScores = s.ShowUniKappa = 1;
        s.ShowBiZScores = s.ShowBiKappa = 1;
    }
    // An existing, empty output file: the blocks start without its name.
    void EmptyOutputFile() { std::ofstream(AnaPath(), std::ios::binary).flush(); }
    bool Run(int16_t var, int16_t lag) {
        return core::SequentialAnalysis(s, ui, var, lag, test::FixedClock());
    }
};

TEST_F(Sequential, EveryTableOfThreeCategoriesByteForByte) {
    Protocol(V4Rows({"a", "b", "c", "a", "b", "a", "c", "c", "b", "a", "b", "c", "a", "a", "b"}));
    AllTables();
    EmptyOutputFile();
    ASSERT_TRUE(Run(4, 1));
    EXPECT_EQ(Ana(), Golden("sequential_all.ana"));
    EXPECT_EQ(ui.outputCaption, "KOVA Output file: " + AnaPath());
    EXPECT_EQ(ui.outputText, Ana());
}

TEST_F(Sequential, FilledTableBasedLagTwoByteForByte) {
    // "x" is not in the coding list: it keeps its place and blocks the
    // transitions through it; the categories come in list order.
    Protocol(V4Rows({"a", "", "b", "c", "", "a", "x", "b", "", "c", "a", "b"}));
    s.CategoryLists[4] = {"c", "a", "b"};
    s.TableBasedCategories = 1;
    s.EpisodeFilling = 1;
    AllTables();
    EmptyOutputFile();
    ASSERT_TRUE(Run(4, 2));
    EXPECT_EQ(Ana(), Golden("sequential_filled_lag2.ana"));
}

TEST_F(Sequential, EventLists) {
    struct Case {
        const char* name;
        std::vector<std::string> v4;
        int16_t filling, from, to;
        std::vector<std::string> codes;
        std::vector<int> spans;  // event 0 first
    };
    const std::vector<std::string> sample = {"a", "", "", "b", "", "a"};
    const std::vector<Case> cases = {
        {"no filling", sample, 0, 1, 6, {"a", "b", "a"}, {0, 3, 2, 1}},
        // Filling from the second record on, as the frequency analysis does.
        {"filling", sample, 1, 1, 6, {"a", "a", "a", "b", "b", "a"}, {0, 1, 1, 1, 1, 1, 1}},
        {"filled range starting empty", sample, 1, 5, 6, {"", "a"}, {0, 1, 1}},
        {"nothing coded", {"", "", ""}, 0, 1, 3, {}, {3}},
        {"other filling value", sample, 2, 1, 6, {}, {6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Protocol(V4Rows(c.v4));
        s.EpisodeFilling = c.filling;
        s.FromRecord = c.from;
        s.ToRecord = c.to;
        const core::EventList list = core::BuildSequentialEvents(s, 4);
        EXPECT_EQ(Codes(list), c.codes);
        EXPECT_EQ(Spans(list), c.spans);
    }
}

// Every table, the chi-square blocks and the diagram print long codes and
// the label cut, a few kilobytes whatever the codes hold; two codes that
// differ only past the cut remain two categories.
TEST_F(Sequential, LongCodesArePrintedCutInEveryTable) {
    const std::string a = test::LongCode(1 << 20, 'a'), b = test::LongCode(1 << 20, 'b');
    Protocol(V4Rows({a, b, a, "c", b, a}));
    s.Varnaam[4] = test::LongCode(1 << 20, 'v');
    AllTables();
    s.ShowUniDiagram = 1;
    ASSERT_TRUE(Run(4, 1));
    const std::string ana = Ana();
    EXPECT_LT(ana.size(), 32000u);
    // Eight blocks, each with the label in its title and both long codes in
    // its heading and its rows.
    EXPECT_EQ(test::Count(ana, std::string(core::kCutMark)), 8u * 5);
    ASSERT_EQ(ui.diagrams.size(), 1u);
    const core::TransitionDiagram& d = ui.diagrams[0];
    EXPECT_EQ(d.variable, core::PrintedLabel(s.Varnaam[4]));
    ASSERT_EQ(d.nodes.size(), 3u);
    EXPECT_EQ(d.nodes[2].label, core::PrintedLabel(b));
}

TEST_F(Sequential, SequenceNumbersAreCodesWithoutBlanks) {
    Protocol({Row("", 0), Row("", 12), Row("", 0), Row("", 3), Row("", -1)});
    const core::EventList list = core::BuildSequentialEvents(s, 2);
    EXPECT_EQ(Codes(list), (std::vector<std::string>{"12", "3", "-1"}));
    EXPECT_EQ(Spans(list), (std::vector<int>{1, 2, 1, 1}));
}

TEST(TransitionTables, CountsAtLagOneAndTwo) {
    const std::vector<std::string_view> codes = {"a", "b", "a", "b", "a"};
    const CountMatrix f1 = core::CountTransitions({"a", "b"}, codes, 1);
    EXPECT_EQ(f1(1, 2), 2);
    EXPECT_EQ(f1(2, 1), 2);
    EXPECT_EQ(f1(1, 3), 2);
    EXPECT_EQ(f1(3, 2), 2);
    EXPECT_EQ(f1(3, 3), 4);
    const CountMatrix f2 = core::CountTransitions({"a", "b"}, codes, 2);
    EXPECT_EQ(f2(1, 1), 2);
    EXPECT_EQ(f2(2, 2), 1);
    EXPECT_EQ(f2(3, 3), 3);
    // A code twice in the list counts for its first place only.
    const CountMatrix f3 = core::CountTransitions({"a", "b", "a"}, codes, 1);
    EXPECT_EQ(f3(1, 2), 2);
    EXPECT_EQ(f3(3, 2), 0);
}

// The values of a square table as rows, for comparison.
std::vector<std::vector<float>> Cells(const SingleMatrix& m) {
    std::vector<std::vector<float>> rows;
    for (int a = 1; a < m.Rows(); ++a) {
        rows.emplace_back();
        for (int b = 1; b < m.Columns(); ++b)
            rows.back().push_back(m(a, b));
    }
    return rows;
}

TEST(TransitionTables, MendedKappasAndZScores) {
    using Cellsv = std::vector<std::vector<float>>;
    struct Case {
        const char* name;
        std::vector<std::string_view> events;
        SingleMatrix (*compute)(const CountMatrix&, int);
        int16_t lag;
        Cellsv expected;
    };
    const std::vector<Case> cases = {
        // A B A B: F(A,B) = 2, e = 2 x 2 / 4 = 1, the bound min(2, 1) = 1 is
        // raised to the observed 2: (2 - 1) / (2 - 1) = 1. B A: F = 1, e = 1,
        // bound 1: D = 0 gives 0. A A and B B: (0 - 1) / 1 = -1.
        {"uni kappa bound below the count",
         {"A", "B", "A", "B"},
         core::UniKappas,
         1,
         {{-1, 1}, {0, -1}}},
        // A B A B A: observed 4, e = 2 x 2 x 2 / 5 = 1.6, equal row totals
        // give the bound 2 x 2 - 1 = 3, raised to 4: 2.4 / 2.4 = 1. The
        // diagonal: observed 0 below e = 1.6: -1.
        {"bi kappa bound below the count",
         {"A", "B", "A", "B", "A"},
         core::BiKappas,
         1,
         {{-1, 1}, {1, -1}}},
        // A B: f(A) = f(B) = 1, N = 2: the factor 1 + 1 x 1 - 2 = 0 makes
        // every variance 0, so every z is 0.
        {"bi z without variance", {"A", "B"}, core::BiZScores, 1, {{0, 0}, {0, 0}}},
        // One event of a list of two categories: the marker value.
        {"uni z of one event", {"A"}, core::UniZScores, 1, {{0.001f, 0.001f}, {0.001f, 0.001f}}},
        {"bi kappa of one event", {"A"}, core::BiKappas, 1, {{0.001f, 0.001f}, {0.001f, 0.001f}}},
        // A single category: no value (A A A gave z 1.41 and kappa 1).
        {"uni z of one category", {"A", "A", "A"}, core::UniZScores, 1, {{9999}}},
        {"uni kappa of one category", {"A", "A", "A"}, core::UniKappas, 1, {{9999}}},
        {"bi z of one event", {"A"}, core::BiZScores, 1, {{9999}}},
        // A lag of N or more counts nothing: every value 0.
        {"uni z beyond the events", {"A", "B", "A"}, core::UniZScores, 3, {{0, 0}, {0, 0}}},
        {"uni kappa beyond the events", {"A", "B", "A"}, core::UniKappas, 3, {{0, 0}, {0, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::string> categories = c.expected.size() == 1
                                                        ? std::vector<std::string>{"A"}
                                                        : std::vector<std::string>{"A", "B"};
        const CountMatrix f = core::CountTransitions(categories, c.events, c.lag);
        EXPECT_EQ(Cells(c.compute(f, static_cast<int>(c.events.size()))), c.expected);
    }
}

TEST(TransitionTables, ProbabilitiesOfEmptyRows) {
    // b is only ever the later event: its row is empty.
    const CountMatrix f = core::CountTransitions({"a", "b"}, {"a", "b"}, 1);
    const SingleMatrix p = core::RowProbabilities(f);
    EXPECT_EQ(Cells(p), (std::vector<std::vector<float>>{{0, 1}, {0, 0}}));
    EXPECT_EQ(p(1, 3), 1);
    EXPECT_EQ(p(2, 3), 0);
    EXPECT_EQ(p(3, 2), 1);
    EXPECT_EQ(p(3, 3), 1);
}

TEST_F(Sequential, NoEventsWriteTheNoCodesBlock) {
    Protocol(V4Rows({"", ""}));
    AllTables();
    ASSERT_TRUE(Run(4, 1));
    EXPECT_EQ(Ana(), AnaPath() + "\r\n\r\n\r\n\r\n" +
                         At({{1, "SEQUENTIAL ANALYSIS:"}, {29, "V4"}, {85, kTime}}) + Rule('=') +
                         " No Codes Found! \r\n");
}

TEST_F(Sequential, OneEventOrALagBeyondTheEventsGiveTheSentinels) {
    struct Case {
        const char* name;
        std::vector<std::string> v4;
        int16_t lag;
        std::string critical;
        std::string zRow;         // row a of the z-score tables
        std::string kappaRow;     // row a of the kappa tables
        std::string residualRow;  // row a of the adjusted residuals
    };
    // One event: one category, no degree of freedom, no z or kappa. Three
    // events at lag 3: nothing counted, every z and kappa 0. Nothing counted
    // leaves every residual without a variance.
    const std::string stars = " *******";
    const std::vector<Case> cases = {
        {"one event",
         {"a"},
         1,
         "   *******",
         At({{1, "a"}, {12, stars}}),
         At({{1, "a"}, {12, stars}}),
         At({{1, "a"}, {12, stars}})},
        {"lag beyond",
         {"a", "b", "a"},
         3,
         "     3.841",
         At({{1, "a"}, {12, R8("---")}, {24, R8("---")}}),
         At({{1, "a"}, {12, R8("0.00")}, {24, R8("0.00")}}),
         At({{1, "a"}, {12, stars}, {24, stars}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(AnaPath());
        Protocol(V4Rows(c.v4));
        AllTables();
        s.ShowUniDiagram = 1;
        ui.diagrams.clear();
        ASSERT_TRUE(Run(4, c.lag));
        const std::string ana = Ana();
        test::ExpectStats(ana, {{"Chi square:", "     0.000"},
                                {"Critical value (P = 0.05):", c.critical},
                                {"Cramer coefficient:", "   *******"},
                                {"Lambda (rows predicted):", "   *******"}});
        // Both z-score tables (their footers), both kappa tables, the residuals.
        EXPECT_EQ(std::count(ana.begin(), ana.end(), '{'), 2);
        std::map<std::string, size_t> rows;
        rows[c.zRow] += 2;
        rows[c.kappaRow] += 2;
        rows[c.residualRow] += 1;
        for (const auto& [row, count] : rows)
            EXPECT_EQ(test::Count(ana, row), count) << row;
        // No z is significant: the diagram has no arrow.
        ASSERT_EQ(ui.diagrams.size(), 1u);
        EXPECT_TRUE(ui.diagrams[0].arrows.empty());
    }
}

TEST_F(Sequential, TableBasedWithoutCategoriesStops) {
    Protocol(V4Rows({"a", "b"}));
    s.TableBasedCategories = 1;
    AllTables();
    ASSERT_TRUE(Run(4, 1));
    EXPECT_EQ(ui.messages,
              std::vector<std::string>{"Error|Tablebased option checked. However no categories "
                                       "of coding specified. Procedure stopped!"});
    EXPECT_FALSE(std::filesystem::exists(AnaPath()));
    // V3 takes its distinct codes whatever the option says.
    Protocol({Row("", 0, "x"), Row("", 0, "y")});
    ui.messages.clear();
    ASSERT_TRUE(Run(3, 1));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(std::filesystem::exists(AnaPath()));
}

TEST_F(Sequential, NoCategoryGivesEmptyTables) {
    // Filled from an empty start: two events with the empty code, which is
    // no category.
    Protocol(V4Rows({"a", "", ""}));
    s.FromRecord = 2;
    s.EpisodeFilling = 1;
    s.ShowFrequencyTable = 1;
    EmptyOutputFile();
    ASSERT_TRUE(Run(4, 1));
    EXPECT_EQ(Ana(),
              "\r\n\r\n" +
                  At({{1, "SEQUENTIAL ANALYSIS: V4 (EPISODE FILLED) (no.  2 - 3 )"}, {85, kTime}}) +
                  Rule('=') + At({{1, "Frequency Transition Table"}, {89, "Row at Lag:-1 "}}) +
                  Rule('-') + At({{12, "Total:"}}) + Rule('-') + Rule('-') +
                  At({{1, "Total:"}, {12, R8("0")}}));
}

TEST_F(Sequential, ChecksEndTheRunSilently) {
    Protocol(V4Rows({"a", "b"}));
    AllTables();
    struct Case {
        const char* name;
        int16_t lag, from, to, view;
    };
    for (const Case& c : {Case{"lag 0", 0, 1, 2, 1}, Case{"lag 21", 21, 1, 2, 1},
                          Case{"from 0", 1, 0, 2, 1}, Case{"to beyond", 1, 1, 3, 1},
                          Case{"from after to", 1, 2, 1, 1}, Case{"filter view", 1, 1, 2, 3}}) {
        SCOPED_TRACE(c.name);
        s.FromRecord = c.from;
        s.ToRecord = c.to;
        s.ViewMode = c.view;
        ASSERT_TRUE(Run(4, c.lag));
        EXPECT_FALSE(std::filesystem::exists(AnaPath()));
        EXPECT_TRUE(ui.log.empty());
    }
}

class SequentialWriters : public test::AnalysisTest {
protected:
    core::SequentialReport Report(std::vector<std::string> labels, int16_t lag = 1) {
        core::SequentialReport r;
        r.varIndex = 4;
        r.lag = lag;
        r.categories = std::move(labels);
        r.clock = test::FixedClock();
        s.FromRecord = 1;
        s.ToRecord = 9;
        return r;
    }
};

TEST_F(SequentialWriters, ZCellsAndLongValues) {
    SingleMatrix z(5, 5);
    const float values[5] = {1.95f, 1.96f, -1.96f, -2.5f, 123456.0f};
    for (int b = 1; b <= 5; ++b)
        z(1, b) = values[b - 1];
    ASSERT_TRUE(core::WriteZScoreTable(s, ui, "uni", Report({"a", "b", "c", "d", "e"}, 3), z));
    const std::string ana = Ana();
    // The last value is wider than its field and written whole.
    EXPECT_NE(ana.find(At({{1, "a"},
                           {12, R8("---")},
                           {24, R8("1.96")},
                           {36, R8("-1.96")},
                           {48, R8("-2.50")},
                           {60, "123456.00"}})),
              std::string::npos);
    EXPECT_EQ(ana.find("Row at Lag:"), std::string::npos);
    EXPECT_TRUE(ui.diagrams.empty());
}

TEST_F(SequentialWriters, LongLabelsMoveToTheNextLine) {
    CountMatrix f(2, 2);
    core::FillTotals(f);
    ASSERT_TRUE(
        core::WriteFrequencyTransitionTable(s, ui, Report({"twelve chars", "thirteen char"}), f));
    const std::string ana = Ana();
    // A heading label of 13 characters pushes "Total:" to the next line; a
    // row label of 12 characters pushes its first cell.
    EXPECT_NE(ana.find(At({{14, "twelve chars"}, {26, "thirteen char"}}) + At({{38, "Total:"}})),
              std::string::npos);
    EXPECT_NE(ana.find("twelve chars\r\n" + At({{12, R8("0")}, {24, R8("0")}, {36, R8("0")}})),
              std::string::npos);
}

TEST_F(Sequential, OnlyTheBiDiagramIsDrawnFromTheBiZScores) {
    Protocol(V4Rows({"a", "b", "c", "a", "b", "a", "c", "c", "b", "a", "b", "c", "a", "a", "b"}));
    s.ShowUniZScores = s.ShowBiZScores = 1;
    s.ShowBiDiagram = 1;
    ASSERT_TRUE(Run(4, 1));
    ASSERT_EQ(ui.diagrams.size(), 1u);
    const core::TransitionDiagram& d = ui.diagrams[0];
    // The bi-directional z of b b is -2.52 (see the golden report); nothing
    // else reaches 1.96.
    ASSERT_EQ(d.arrows.size(), 1u);
    EXPECT_TRUE(d.arrows[0].loop);
    EXPECT_TRUE(d.arrows[0].dashed);
    EXPECT_FALSE(d.arrows[0].head);
    EXPECT_EQ(d.arrows[0].label, "-2.52");
    // The diagram comes after the bi-directional table, before the viewer.
    EXPECT_EQ(ui.log.front().rfind("ShowTransitionDiagram Bi-directional", 0), 0u);
    EXPECT_EQ(ui.log.back().rfind("ShowOutput", 0), 0u);
}

TEST(TransitionDiagram, ArrowsOfSignificantCells) {
    SingleMatrix z(3, 3);
    z(1, 2) = 2.5f;
    z(2, 1) = -2.0f;
    z(3, 3) = 1.96f;
    z(1, 3) = 1.95f;
    const core::TransitionDiagram d =
        core::DescribeTransitionDiagram("V4", {"a", "b", "c"}, z, false, 1);
    ASSERT_EQ(d.nodes.size(), 3u);
    // Clockwise from the top of a circle of radius 260 - 90 = 170 around
    // (260, 44 + 260), under the two title lines.
    EXPECT_DOUBLE_EQ(d.nodes[0].centre.x, 260);
    EXPECT_DOUBLE_EQ(d.nodes[0].centre.y, 134);
    EXPECT_GT(d.nodes[1].centre.x, 260);
    EXPECT_LT(d.nodes[2].centre.x, 260);
    ASSERT_EQ(d.arrows.size(), 3u);
    EXPECT_EQ(d.arrows[0].from, 0);
    EXPECT_EQ(d.arrows[0].to, 1);
    EXPECT_FALSE(d.arrows[0].dashed);
    EXPECT_TRUE(d.arrows[0].head);
    EXPECT_EQ(d.arrows[0].label, "2.50");
    EXPECT_EQ(d.arrows[1].from, 1);
    EXPECT_TRUE(d.arrows[1].dashed);
    EXPECT_EQ(d.arrows[1].label, "-2.00");
    EXPECT_TRUE(d.arrows[2].loop);
    // a->b starts on a's rim, 22 pixels from its centre (5 to the side).
    const auto& a = d.nodes[0].centre;
    EXPECT_NEAR(std::hypot(d.arrows[0].start.x - a.x, d.arrows[0].start.y - a.y),
                std::hypot(22.0, 5.0), 1e-9);
    // The bi-directional form draws a pair once.
    z(2, 1) = 2.5f;
    const core::TransitionDiagram bi =
        core::DescribeTransitionDiagram("V4", {"a", "b", "c"}, z, true, 1);
    EXPECT_EQ(bi.arrows.size(), 2u);
    // Forty nodes on the circle get smaller, keeping 3 pixels apart:
    // pi x 170 / 40 - 3 = 10.35.
    const core::TransitionDiagram many = core::DescribeTransitionDiagram(
        "V4", std::vector<std::string>(40, "x"), SingleMatrix(40, 40), false, 1);
    EXPECT_NEAR(many.nodeRadius, 3.14159265 * 170 / 40 - 3, 1e-6);
}

// Every z label is nearer its own arrow than any other, also where all six
// categories are linked and the lines cross in the middle; a label wider
// than its node stands beside it; the picture names the variable and lag.
TEST(TransitionDiagram, LabelsStandByTheirOwnArrowsAndNodes) {
    SingleMatrix z(6, 6);
    for (int a = 1; a <= 6; ++a)
        for (int b = 1; b <= 6; ++b)
            z(a, b) = a == b ? (a == 1 ? -2.5f : 0.0f) : static_cast<float>(a * 10 + b);
    auto distance = [](const core::DiagramPoint& p, const core::DiagramArrow& a) {
        if (a.loop)
            return std::abs(std::hypot(p.x - a.start.x, p.y - a.start.y) - a.loopRadius);
        const double dx = a.end.x - a.start.x, dy = a.end.y - a.start.y;
        const double t = std::clamp(
            ((p.x - a.start.x) * dx + (p.y - a.start.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
        return std::hypot(p.x - a.start.x - t * dx, p.y - a.start.y - t * dy);
    };
    for (const bool bi : {false, true}) {
        const core::TransitionDiagram d = core::DescribeTransitionDiagram(
            "Speech act", {"Question", "A", "E", "I", "F", "R"}, z, bi, 2);
        ASSERT_EQ(d.arrows.size(), bi ? 16u : 31u);
        for (const core::DiagramArrow& own : d.arrows) {
            for (const core::DiagramArrow& other : d.arrows) {
                if (&own != &other && !own.loop) {
                    EXPECT_LT(distance(own.labelAt, own), distance(own.labelAt, other))
                        << own.label << " by " << other.label << (bi ? " bi" : " uni");
                }
            }
        }
        EXPECT_FALSE(d.nodes[0].labelInside);
        EXPECT_TRUE(d.nodes[1].labelInside);
        const core::DiagramPoint& beside = d.nodes[0].besideAt;
        EXPECT_GT(std::hypot(beside.x - d.nodes[0].centre.x, beside.y - d.nodes[0].centre.y),
                  d.nodeRadius);
        EXPECT_EQ(d.variable, "Speech act");
        EXPECT_EQ(d.caption, std::string("KOVA Transition Diagram: Speech act, lag 2, ") +
                                 (bi ? "bi-directional" : "uni-directional"));
    }
}

TEST_F(Sequential, MenuItems) {
    Protocol(V4Rows({"a", "b", "a"}));
    s.CategoryLists[4] = {"a"};
    int asked = 0;
    auto ok = [&] {
        ++asked;
        s.Lag = 1;
        s.ShowFrequencyTable = 1;
    };
    core::SequentialMenuItem(s, ui, 1, ok, test::FixedClock());
    core::SequentialMenuItem(s, ui, 8, ok, test::FixedClock());
    EXPECT_EQ(asked, 0);
    core::SequentialMenuItem(
        s, ui, 9, [&] { s.DialogCancelled = 1; }, test::FixedClock());
    EXPECT_FALSE(std::filesystem::exists(AnaPath()));

    s.EpisodeFilling = 1;
    core::SequentialMenuItem(s, ui, 9, ok, test::FixedClock());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(s.EpisodeFilling, 0);
    // V2, V3, V5, V6 and V7 hold no codes; V4 has its tables; every run
    // shows the file.
    const std::string ana = Ana();
    size_t at = 0;
    for (const char* v : {"V2", "V3", "V4", "V5", "V6", "V7"}) {
        at = ana.find(std::string(v), ana.find("SEQUENTIAL ANALYSIS:", at));
        ASSERT_NE(at, std::string::npos) << v;
    }
    EXPECT_EQ(std::count(ui.log.begin(), ui.log.end(), "ShowOutput KOVA Output file: " + AnaPath()),
              6);
}

TEST_F(Sequential, TooManyCategoriesAreRefusedAtOnceAndAllGoesOn) {
    // 3000 distinct codes of V4 would need tables of 3000 x 3000 cells.
    std::vector<test::Row> rows;
    for (int i = 0; i < 3000; ++i)
        rows.push_back(test::Row("", 0, "", "c" + std::to_string(i), i % 2 ? "a" : "b"));
    Protocol(rows);
    const auto started = std::chrono::steady_clock::now();
    core::SequentialMenuItem(
        s, ui, 9,
        [&] {
            s.Lag = 1;
            s.ShowFrequencyTable = s.ShowUniZScores = 1;
        },
        test::FixedClock());
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
    EXPECT_EQ(ui.messages, std::vector<std::string>{"Error|Too many categories for a table (3000; "
                                                    "at most 1000). Procedure stopped!"});
    const std::string ana = Ana();
    EXPECT_EQ(ana.find("SEQUENTIAL ANALYSIS: V4"), std::string::npos);
    EXPECT_NE(ana.find("SEQUENTIAL ANALYSIS: V5"), std::string::npos);
    // The refused V4 shows no file; the five others do.
    EXPECT_EQ(std::count(ui.log.begin(), ui.log.end(), "ShowOutput KOVA Output file: " + AnaPath()),
              5);
}

// What the lag options' OK asks the user to tick before it runs.
TEST(LagSwitchRule, SaysWhatToTick) {
    const std::pair<std::vector<size_t>, std::string> cases[] = {
        {{}, "tick at least one of the tables"},
        {{0, 1, 7}, "tick \"Uni-directional z-scores\""},
        {{9, 1}, "tick \"Bi-directional z-scores\""},
        {{1}, ""},
    };
    for (const auto& [ticked, says] : cases) {
        core::LagSwitches on{};
        for (size_t i : ticked)
            on[i] = true;
        const std::string said = core::MissingLagSwitch(on);
        EXPECT_EQ(said.empty(), says.empty()) << said;
        EXPECT_NE(said.find(says), std::string::npos) << said;
    }
}

TEST_F(Sequential, LagOptions) {
    Protocol(V4Rows({"a", "b", "c", "d"}));
    core::LagSwitches boxes{};
    boxes[0] = boxes[3] = boxes[9] = true;
    s.Lag = 2;
    ASSERT_TRUE(core::ApplyLagOptions(s, ui, " 2", " 3", false, true, boxes));
    EXPECT_EQ(s.ShowUniDiagram, 1);
    EXPECT_EQ(s.ShowResidualsTable, 1);
    EXPECT_EQ(s.ShowBiDiagram, 1);
    EXPECT_EQ(s.ShowFrequencyTable + s.ShowExpectedTable + s.ShowProbabilityTable +
                  s.ShowUniZScores + s.ShowUniKappa + s.ShowBiZScores + s.ShowBiKappa,
              0);
    EXPECT_EQ(s.TableBasedCategories, 1);
    EXPECT_EQ(s.FromRecord, 2);
    EXPECT_EQ(s.ToRecord, 3);

    // A shown selection: typed record numbers become positions.
    s.SelectionShown1 = 1;
    s.Records1[1].V0 = 10;
    s.Records1[2].V0 = 12;
    s.Records1[3].V0 = 15;
    s.Records1[4].V0 = 20;
    ASSERT_TRUE(core::ApplyLagOptions(s, ui, "12", "15", false, false, boxes));
    EXPECT_EQ(s.FromRecord, 2);
    EXPECT_EQ(s.ToRecord, 3);
    // Numbers of unselected records: the selected records between them.
    ASSERT_TRUE(core::ApplyLagOptions(s, ui, "11", "19", false, false, boxes));
    EXPECT_EQ(s.FromRecord, 2);
    EXPECT_EQ(s.ToRecord, 3);

    // A bad lag keeps the dialog open; an overflowing number too, with a message.
    s.Lag = 21;
    EXPECT_FALSE(core::ApplyLagOptions(s, ui, "1", "2", false, false, boxes));
    EXPECT_EQ(s.FromRecord, 2);
    s.Lag = 1;
    EXPECT_FALSE(core::ApplyLagOptions(s, ui, "1", "40000", false, false, boxes));
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(core::LagRangePreset(s), (std::array<std::string, 2>{" 10", " 20"}));
}

}  // namespace
