#include "analyses/interrater.h"

#include <algorithm>
#include <unordered_set>

#include "analyses/frequency_analysis.h"
#include "store/text.h"

namespace core {

std::vector<std::string> RangeCodes(const RecordSet& records, int16_t from, int16_t to,
                                    int varIndex, bool filling) {
    std::vector<std::string> codes;
    if (from < 1 || to < from || static_cast<size_t>(to) >= records.size())
        return codes;
    codes.reserve(static_cast<size_t>(to - from + 1));
    for (int i = from; i <= to; ++i) {
        std::string code = EventCode(records[static_cast<size_t>(i)], varIndex);
        if (code.empty() && filling && !codes.empty())
            code = codes.back();
        codes.push_back(std::move(code));
    }
    return codes;
}

std::vector<std::string> DistinctCodesOf(const std::vector<std::string>& a,
                                         const std::vector<std::string>& b) {
    std::vector<std::string> codes;
    std::unordered_set<std::string> seen;
    for (const std::vector<std::string>* list : {&a, &b})
        for (const std::string& code : *list)
            if (!code.empty() && seen.insert(code).second)
                codes.push_back(code);
    std::stable_sort(codes.begin(), codes.end(), [](const std::string& x, const std::string& y) {
        return CompareCategories(x, y) < 0;
    });
    return codes;
}

CountTable MakeCountTable(std::vector<std::string> rows, std::vector<std::string> columns) {
    CountTable table;
    table.rowCategories = std::move(rows);
    table.columnCategories = std::move(columns);
    table.cells.assign(table.rowCategories.size() + 1,
                       std::vector<double>(table.columnCategories.size() + 1, 0.0));
    for (size_t i = 0; i < table.rowCategories.size(); ++i)
        table.rowIndex.emplace(table.rowCategories[i], static_cast<int>(i));
    for (size_t i = 0; i < table.columnCategories.size(); ++i)
        table.columnIndex.emplace(table.columnCategories[i], static_cast<int>(i));
    return table;
}

void CountPair(CountTable& table, const std::string& row, const std::string& column) {
    auto r = table.rowIndex.find(row);
    auto c = table.columnIndex.find(column);
    if (r == table.rowIndex.end() || c == table.columnIndex.end())
        return;
    const size_t rows = table.rowCategories.size();
    const size_t columns = table.columnCategories.size();
    table.cells[static_cast<size_t>(r->second)][static_cast<size_t>(c->second)] += 1;
    table.cells[static_cast<size_t>(r->second)][columns] += 1;
    table.cells[rows][static_cast<size_t>(c->second)] += 1;
    table.cells[rows][columns] += 1;
}

Agreement ComputeAgreement(const CountTable& table) {
    Agreement a;
    const size_t k = static_cast<size_t>(std::min(table.Rows(), table.Columns()));
    const size_t rows = static_cast<size_t>(table.Rows());
    const size_t columns = static_cast<size_t>(table.Columns());
    const double n = table.Total();
    a.pairs = n;
    double chance = 0;  // sum of r_k c_k
    for (size_t i = 0; i < k; ++i) {
        a.agreements += table.cells[i][i];
        chance += table.cells[i][columns] * table.cells[rows][i];
    }
    a.categoryKappas.assign(k, kUndefined);
    if (n <= 0)
        return a;
    a.percentage = a.agreements / n;
    // Cohen: (N A - sum r c) / (N^2 - sum r c), the observed and the chance
    // agreement both taken over N^2, so that no rounding enters before the
    // test for a denominator of 0.
    const double denominator = n * n - chance;
    if (denominator != 0)
        a.kappa = (n * a.agreements - chance) / denominator;
    for (size_t i = 0; i < k; ++i) {
        const double nkk = table.cells[i][i];
        const double r = table.cells[i][columns];
        const double c = table.cells[rows][i];
        const double d = n * (r + c) - 2 * r * c;
        if (d != 0)
            a.categoryKappas[i] = 2 * (n * nkk - r * c) / d;
    }
    return a;
}

}  // namespace core

// ---- The report ----

namespace core {

namespace {

constexpr int kDateColumn = 85;
constexpr int kField = 8;
constexpr const char* kNoTableCategories =
    "Tablebased option checked. However no categories of coding specified. Procedure stopped!";

bool RangeValid(int16_t from, int16_t to, int16_t count, const RecordSet& records) {
    return from >= 1 && from <= to && to <= count && static_cast<size_t>(to) < records.size();
}

// A statistic in a field of 8: its pattern, or " *******" when undefined.
void WriteStatistic(ReportWriter& out, double value, std::string_view pattern) {
    if (value == kUndefined)
        out.RightField(" *******", kField);
    else
        out.NumberField(value, pattern, kField);
}

std::vector<std::string> TitleTags(const KovaState& s) {
    return {EpisodeTag(s), RangeTag(s.FromRecord, s.ToRecord, true),
            " (Data2: " + FileNumber(s.FromRecord2) + "-" + FileNumber(s.ToRecord2) + ")",
            SelectionTag(s, s.FromRecord, s.ToRecord, true)};
}

void WriteAgreementBlock(AnalysisOutput& block, const Agreement& a) {
    ReportWriter& out = block.out;
    out.Text("Agreement and Cohen's Kappa").EndLine();
    WriteReportRule(block, '-');
    out.Text("Pairs:").Tab(24).NumberField(a.pairs, "#####0", kField).EndLine();
    out.Text("Agreements:").Tab(24).NumberField(a.agreements, "#####0", kField).EndLine();
    out.Text("Agreement:").Tab(24);
    WriteStatistic(out, a.percentage, "####0.00%");
    out.EndLine();
    out.Text("Cohen's Kappa:").Tab(24);
    WriteStatistic(out, a.kappa, "####0.000");
    out.EndLine();
    WriteReportRule(block, '-');
}

void WriteCategoryKappaBlock(AnalysisOutput& block, const CountTable& table, const Agreement& a) {
    ReportWriter& out = block.out;
    const size_t rows = static_cast<size_t>(table.Rows());
    const size_t columns = static_cast<size_t>(table.Columns());
    out.Text("Category Kappas").EndLine();
    out.Tab(14).Text("Coder 1").Tab(26).Text("Coder 2").Tab(38).Text("Agreed").Tab(50).Text(
        "Kappa");
    out.EndLine();
    WriteReportRule(block, '-');
    for (size_t k = 0; k < a.categoryKappas.size(); ++k) {
        out.Text(table.rowCategories[k]);
        out.Tab(12).NumberField(table.cells[k][columns], "#####0", kField);
        out.Tab(24).NumberField(table.cells[rows][k], "#####0", kField);
        out.Tab(36).NumberField(table.cells[k][k], "#####0", kField);
        out.Tab(48);
        WriteStatistic(out, a.categoryKappas[k], "####0.000");
        out.EndLine();
    }
    WriteReportRule(block, '-');
}

}  // namespace

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
    const int rows = table.Rows();
    const int columns = table.Columns();
    out.Text(title).Tab(89).Text(rightTitle).EndLine();
    for (int j = 1; j <= columns; ++j)
        out.Tab(12 * j + 2).Text(table.columnCategories[static_cast<size_t>(j - 1)]);
    out.Tab(12 * columns + 14).Text("Total:").EndLine();
    WriteReportRule(block, '-');
    auto writeCells = [&](int r) {
        for (int j = 1; j <= columns + 1; ++j)
            out.Tab(12 * j).NumberField(
                table.cells[static_cast<size_t>(r)][static_cast<size_t>(j - 1)], "#####0", kField);
        out.EndLine();
    };
    for (int r = 0; r < rows; ++r) {
        out.Text(table.rowCategories[static_cast<size_t>(r)]);
        writeCells(r);
    }
    WriteReportRule(block, '-');
    out.Text("Total:");
    writeCells(rows);
}

bool WriteInterraterReport(KovaState& s, KovaUi& ui, int16_t varIndex, const CountTable& table,
                           const ReportClock& clock) {
    const std::string& label = s.Varnaam[static_cast<size_t>(varIndex)];
    if (table.Rows() == 0) {
        AnalysisOutput block = OpenAnalysisOutput(s, LeadIn::PrefixAndBlank);
        WriteReportTitle(block, "INTERRATER AGREEMENT:", true, label, {}, kDateColumn, clock());
        WriteReportRule(block, '=');
        block.out.Text(" No Codes Found! ").EndLine();
        return FlushAnalysisOutput(s, ui, block);
    }
    AnalysisOutput block = OpenAnalysisOutput(s, LeadIn::PrefixAndBlank);
    WriteReportTitle(block, "INTERRATER AGREEMENT: ", false, label, TitleTags(s), kDateColumn,
                     clock());
    WriteReportRule(block, '=');
    if (s.ShowFrequencyTable != 0)
        WriteCountTable(block, table, "Interrater Frequency Table", "Rows: Coder 1");
    if (!FlushAnalysisOutput(s, ui, block))
        return false;
    const Agreement a = ComputeAgreement(table);
    if (s.ShowAgreementKappa != 0) {
        AnalysisOutput kappa = OpenAnalysisOutput(s, LeadIn::TwoBlanks);
        WriteAgreementBlock(kappa, a);
        kappa.out.EmptyLines(1);
        if (!FlushAnalysisOutput(s, ui, kappa))
            return false;
    }
    if (s.ShowCategoryKappas != 0) {
        AnalysisOutput kappas = OpenAnalysisOutput(s, LeadIn::TwoBlanks);
        WriteCategoryKappaBlock(kappas, table, a);
        kappas.out.EmptyLines(1);
        if (!FlushAnalysisOutput(s, ui, kappas))
            return false;
    }
    return true;
}

bool RunInterraterAgreement(KovaState& s, KovaUi& ui, int16_t varIndex, const ReportClock& clock) {
    if (varIndex < 1 || varIndex > 7 || s.DataFileName2.empty() ||
        !RangeValid(s.FromRecord, s.ToRecord, s.RecordCount1, s.Records1) ||
        !RangeValid(s.FromRecord2, s.ToRecord2, s.RecordCount2, s.Records2))
        return true;
    s.CompareVariable = varIndex;
    const bool filling = s.EpisodeFilling == 1;
    std::vector<std::string> codes1 =
        RangeCodes(s.Records1, s.FromRecord, s.ToRecord, varIndex, filling);
    std::vector<std::string> codes2 =
        RangeCodes(s.Records2, s.FromRecord2, s.ToRecord2, varIndex, filling);
    std::vector<std::string> categories;
    if (s.TableBasedCategories != 0 && varIndex >= 4) {
        categories = s.CategoryLists[static_cast<size_t>(varIndex)];
        if (categories.empty()) {
            ui.Message(kNoTableCategories, "Error", Icon::Exclamation);
            return true;
        }
    } else {
        categories = DistinctCodesOf(codes1, codes2);
    }
    if (!CheckCategoryCount(ui, categories.size()))
        return true;
    CountTable table = MakeCountTable(categories, categories);
    const size_t pairs = std::min(codes1.size(), codes2.size());
    for (size_t i = 0; i < pairs; ++i)
        CountPair(table, codes1[i], codes2[i]);
    return WriteInterraterReport(s, ui, varIndex, table, clock);
}

}  // namespace core
