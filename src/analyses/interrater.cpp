#include "analyses/interrater.h"

#include <algorithm>

#include "analyses/chi_square_report.h"
#include "analyses/frequency_analysis.h"
#include "analyses/table_layout.h"
#include "store/record_range.h"
#include "store/text.h"

namespace core {

std::vector<std::string_view> RangeCodes(const RecordSet& records, int16_t from, int16_t to,
                                         int varIndex, bool filling) {
    std::vector<std::string_view> codes;
    if (from < 1 || to < from || static_cast<size_t>(to) >= records.size())
        return codes;
    codes.reserve(static_cast<size_t>(to - from + 1));
    for (int i = from; i <= to; ++i) {
        std::string_view code = EventCode(records[static_cast<size_t>(i)], varIndex);
        if (code.empty() && filling && !codes.empty())
            code = codes.back();
        codes.push_back(code);
    }
    return codes;
}

CodedPairs PairCodes(const std::vector<std::string_view>& a,
                     const std::vector<std::string_view>& b) {
    CodedPairs pairs;
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        if (!a[i].empty() && !b[i].empty()) {
            pairs.first.push_back(a[i]);
            pairs.second.push_back(b[i]);
        } else if (!a[i].empty() || !b[i].empty()) {
            ++pairs.oneEmpty;
        }
    }
    return pairs;
}

CountTable MakeCountTable(std::vector<std::string> rows, std::vector<std::string> columns) {
    CountTable table;
    table.rowCategories = std::move(rows);
    table.columnCategories = std::move(columns);
    table.counts = CountMatrix(table.Rows(), table.Columns());
    for (int i = 0; i < table.Rows(); ++i)
        table.rowIndex.emplace(table.rowCategories[static_cast<size_t>(i)], i + 1);
    for (int i = 0; i < table.Columns(); ++i)
        table.columnIndex.emplace(table.columnCategories[static_cast<size_t>(i)], i + 1);
    return table;
}

void CountPair(CountTable& table, std::string_view row, std::string_view column) {
    auto r = table.rowIndex.find(row);
    auto c = table.columnIndex.find(column);
    if (r == table.rowIndex.end() || c == table.columnIndex.end())
        return;
    const int totalRow = table.Rows() + 1;
    const int totalColumn = table.Columns() + 1;
    table.counts(r->second, c->second) += 1;
    table.counts(r->second, totalColumn) += 1;
    table.counts(totalRow, c->second) += 1;
    table.counts(totalRow, totalColumn) += 1;
}

Agreement ComputeAgreement(const CountTable& table) {
    Agreement a;
    const int k = std::min(table.Rows(), table.Columns());
    const int totalRow = table.Rows() + 1;
    const int totalColumn = table.Columns() + 1;
    const CountMatrix& f = table.counts;
    const double n = table.Total();
    a.pairs = n;
    double chance = 0;  // the sum of r_k c_k
    for (int i = 1; i <= k; ++i) {
        a.agreements += f(i, i);
        chance += f(i, totalColumn) * f(totalRow, i);
    }
    a.categoryKappas.assign(static_cast<size_t>(k), kUndefined);
    if (n <= 0)
        return a;
    a.percentage = a.agreements / n;
    // Cohen: (N A - sum r c) / (N^2 - sum r c), the observed and the chance
    // agreement both taken over N^2, so that no rounding enters before the
    // test for a denominator of 0.
    const double denominator = n * n - chance;
    if (denominator != 0)
        a.kappa = (n * a.agreements - chance) / denominator;
    for (int i = 1; i <= k; ++i) {
        const double r = f(i, totalColumn);
        const double c = f(totalRow, i);
        const double d = n * (r + c) - 2 * r * c;
        if (d != 0)
            a.categoryKappas[static_cast<size_t>(i - 1)] = 2 * (n * f(i, i) - r * c) / d;
    }
    return a;
}

bool CheckCategoryCount(KovaUi& ui, size_t count) {
    if (count <= kMaxTableCategories)
        return true;
    ui.Message("Too many categories for a table (" + std::to_string(count) + "; at most " +
                   std::to_string(kMaxTableCategories) + "). Procedure stopped!",
               "Error", Icon::Exclamation);
    return false;
}

void WriteCountTable(AnalysisOutput& block, const CountTable& table, std::string_view title,
                     std::string_view rightTitle) {
    ReportWriter& out = block.out;
    out.Text(title).Tab(89).Text(rightTitle).EndLine();
    WriteReportRule(block, '-');
    WriteTableHeading(out, table.columnCategories, 12);
    WriteReportRule(block, '-');
    const int totalRow = table.Rows() + 1;
    const int totalColumn = table.Columns() + 1;
    std::vector<std::string> cells(static_cast<size_t>(totalColumn));
    auto fill = [&](int r) {
        for (int c = 1; c <= totalColumn; ++c)
            cells[static_cast<size_t>(c - 1)] = FormatNumber(table.counts(r, c), "#####0");
    };
    for (int r = 1; r < totalRow; ++r) {
        fill(r);
        WriteTableRow(out, table.rowCategories[static_cast<size_t>(r - 1)], cells);
    }
    WriteReportRule(block, '-');
    fill(totalRow);
    WriteTableRow(out, "Total:", cells);
}

namespace {

constexpr int kDateColumn = 85;
constexpr const char* kTitle = "INTERRATER AGREEMENT: ";

std::vector<std::string> TitleTags(const KovaState& s) {
    return {EpisodeTag(s), RangeTag(s.FromRecord, s.ToRecord, true),
            " (Data2: " + FileNumber(s.FromRecord2) + "-" + FileNumber(s.ToRecord2) + ")",
            SelectionTag(s, s.FromRecord, s.ToRecord, true)};
}

// Each block opens with the report's title line and rule, as the blocks of
// the sequential analysis do.
void WriteTitle(const KovaState& s, AnalysisOutput& block, int16_t varIndex,
                const ReportClock& clock) {
    WriteReportTitle(block, kTitle, false, VariableLabel(s, varIndex), TitleTags(s), kDateColumn,
                     clock());
    WriteReportRule(block, '=');
}

// A count under the Pairs column: it ends where that column's cells end,
// one blank at least after the label.
void WriteLeftOutLine(ReportWriter& out, std::string_view label, size_t count) {
    constexpr int kPairsEnd = 19;
    const std::string value = FormatNumber(static_cast<double>(count), "#####0");
    out.Text(label).Text(" ");
    const int width = std::max(kPairsEnd + 1 - out.Column(), static_cast<int>(value.size()));
    out.RightField(value, width).EndLine();
}

void WriteAgreementBlock(AnalysisOutput& block, const Agreement& a, const LeftOut& leftOut) {
    ReportWriter& out = block.out;
    out.Text("Agreement and Cohen's Kappa").EndLine();
    WriteReportRule(block, '-');
    WriteTableHeading(out, {"Pairs", "Agreed", "Agreement", "Kappa"}, 0);
    WriteReportRule(block, '-');
    WriteTableRow(out, "Total:",
                  {FormatNumber(a.pairs, "#####0"), FormatNumber(a.agreements, "#####0"),
                   CellText(a.percentage, "####0.00%"), CellText(a.kappa, "####0.000")});
    WriteLeftOutLine(out, "Not paired:", leftOut.notPaired);
    WriteLeftOutLine(out, "One code empty:", leftOut.oneEmpty);
    WriteReportRule(block, '-');
    out.EndLine();
}

void WriteCategoryKappaBlock(AnalysisOutput& block, const CountTable& table, const Agreement& a) {
    ReportWriter& out = block.out;
    const int totalRow = table.Rows() + 1;
    const int totalColumn = table.Columns() + 1;
    out.Text("Category Kappas").EndLine();
    WriteReportRule(block, '-');
    WriteTableHeading(out, {"Coder 1", "Coder 2", "Agreed", "Kappa"}, 0);
    WriteReportRule(block, '-');
    for (size_t k = 0; k < a.categoryKappas.size(); ++k) {
        const int i = static_cast<int>(k) + 1;
        WriteTableRow(out, table.rowCategories[k],
                      {FormatNumber(table.counts(i, totalColumn), "#####0"),
                       FormatNumber(table.counts(totalRow, i), "#####0"),
                       FormatNumber(table.counts(i, i), "#####0"),
                       CellText(a.categoryKappas[k], "####0.000")});
    }
    WriteReportRule(block, '-');
    out.EndLine();
}

}  // namespace

bool WriteInterraterReport(KovaState& s, KovaUi& ui, int16_t varIndex, const CountTable& table,
                           const LeftOut& leftOut, const ReportClock& clock) {
    const std::string label = VariableLabel(s, varIndex);
    if (table.Rows() == 0)
        return WriteNoCodesBlock(s, ui, "INTERRATER AGREEMENT:", label, {}, kDateColumn, clock);
    if (s.ShowFrequencyTable != 0) {
        AnalysisOutput block = OpenAnalysisOutput(s, LeadIn::PrefixAndBlank);
        WriteTitle(s, block, varIndex, clock);
        WriteCountTable(block, table, "Interrater Frequency Table", "Rows: Coder 1");
        if (!FlushAnalysisOutput(s, ui, block))
            return false;
    }
    const SingleMatrix e = ExpectedFrequencies(table.counts);
    const ChiSquareLabels labels{"Expected Interrater Table", label, TitleTags(s),
                                 PrintedLabels(table.rowCategories),
                                 PrintedLabels(table.columnCategories)};
    if (!PrintChiSquareStatistics(s, ui, labels, table.counts, e, ComputeChiSquare(table.counts, e),
                                  clock))
        return false;
    const Agreement a = ComputeAgreement(table);
    if (s.ShowAgreementKappa != 0) {
        AnalysisOutput block = OpenAnalysisOutput(s, LeadIn::TwoBlanks);
        WriteTitle(s, block, varIndex, clock);
        WriteAgreementBlock(block, a, leftOut);
        if (!FlushAnalysisOutput(s, ui, block))
            return false;
    }
    if (s.ShowCategoryKappas != 0) {
        AnalysisOutput block = OpenAnalysisOutput(s, LeadIn::TwoBlanks);
        WriteTitle(s, block, varIndex, clock);
        WriteCategoryKappaBlock(block, table, a);
        if (!FlushAnalysisOutput(s, ui, block))
            return false;
    }
    return true;
}

bool RunInterraterAgreement(KovaState& s, KovaUi& ui, int16_t varIndex, const ReportClock& clock) {
    if (varIndex < 1 || varIndex > 7 || s.DataFileName2.empty() ||
        !RangeWithinSet(s.FromRecord, s.ToRecord, s.RecordCount1, s.Records1) ||
        !RangeWithinSet(s.FromRecord2, s.ToRecord2, s.RecordCount2, s.Records2))
        return true;
    s.CompareVariable = varIndex;
    const bool filling = s.EpisodeFilling == 1;
    const std::vector<std::string_view> codes1 =
        RangeCodes(s.Records1, s.FromRecord, s.ToRecord, varIndex, filling);
    const std::vector<std::string_view> codes2 =
        RangeCodes(s.Records2, s.FromRecord2, s.ToRecord2, varIndex, filling);
    const CodedPairs pairs = PairCodes(codes1, codes2);
    const LeftOut leftOut{
        std::max(codes1.size(), codes2.size()) - std::min(codes1.size(), codes2.size()),
        pairs.oneEmpty};
    std::vector<std::string> categories;
    if (!ChooseCategories(s, ui, varIndex, Icon::Exclamation, categories,
                          [&] { return DistinctCodesOf(pairs.first, pairs.second); }))
        return true;
    if (!CheckCategoryCount(ui, categories.size()))
        return true;
    std::vector<std::string> columns = categories;
    CountTable table = MakeCountTable(std::move(categories), std::move(columns));
    for (size_t i = 0; i < pairs.first.size(); ++i)
        CountPair(table, pairs.first[i], pairs.second[i]);
    return WriteInterraterReport(s, ui, varIndex, table, leftOut, clock);
}

}  // namespace core
