#include "analyses/sequential_reports.h"

#include "analyses/table_layout.h"
#include "analyses/transition_diagram.h"
#include "store/text.h"

namespace core {

namespace {

constexpr int kDateColumn = 85;
constexpr int kLagColumn = 89;
constexpr const char* kTitle = "SEQUENTIAL ANALYSIS: ";

// The table titles: name, blanks, then the reference (at column 72 in the
// z-score tables, at 77 in the kappa tables).
std::string TableTitle(const char* name, size_t blanks, const char* reference) {
    return std::string(name) + std::string(blanks, ' ') + reference;
}
const std::string kUniZTitle =
    TableTitle("Uni-directional Z-scores Table", 41, "(QA, Wampold & Margolin, 1982)");
const std::string kBiZTitle =
    TableTitle("Bi-directional Z-scores Table", 42, "(QA, Wampold & Margolin, 1982)");
const std::string kUniKappaTitle =
    TableTitle("Uni-directional Transformed Kappa Table", 37, "(Huber 1977, Wampold 1992)");
const std::string kBiKappaTitle =
    TableTitle("Bi-directional Transformed Kappa Table", 38, "(Huber 1977, Wampold 1992)");

void WriteTitle(KovaState& s, AnalysisOutput& block, const SequentialReport& r) {
    WriteReportTitle(block, kTitle, false, VariableLabel(s, r.varIndex), SequentialTitleTags(s),
                     kDateColumn, r.clock());
    WriteReportRule(block, '=');
}

void WriteLagItem(ReportWriter& out, int16_t lag) {
    out.Tab(kLagColumn).Text("Row at Lag:").Number(-static_cast<long long>(lag)).EndLine();
}

// The rows 1..K with `columns` cells each, every cell given by `cell`.
template <typename Cell>
void WriteRows(ReportWriter& out, const std::vector<std::string>& labels, int k, int columns,
               Cell cell) {
    std::vector<std::string> cells(static_cast<size_t>(columns));
    for (int a = 1; a <= k; ++a) {
        for (int b = 1; b <= columns; ++b)
            cells[static_cast<size_t>(b - 1)] = cell(a, b);
        WriteTableRow(out, labels[static_cast<size_t>(a - 1)], cells);
    }
}

// The frequency and probability tables: cells 1..M, the "Total:" heading
// `totalOffset` columns right of the last label, and a totals row.
template <typename T>
bool WriteTotalledTable(KovaState& s, KovaUi& ui, const SequentialReport& r,
                        const Matrix<T>& matrix, const char* tableTitle, int totalOffset,
                        const char* pattern) {
    AnalysisOutput block = OpenAnalysisOutput(s, LeadIn::PrefixAndBlank);
    ReportWriter& out = block.out;
    WriteTitle(s, block, r);
    out.Text(tableTitle);
    WriteLagItem(out, r.lag);
    WriteReportRule(block, '-');
    WriteTableHeading(out, r.categories, totalOffset);
    WriteReportRule(block, '-');
    const int m = matrix.Rows();
    auto cell = [&](int a, int b) { return FormatNumber(matrix(a, b), pattern); };
    WriteRows(out, r.categories, m - 1, m, cell);
    WriteReportRule(block, '-');
    std::vector<std::string> totals(static_cast<size_t>(m));
    for (int b = 1; b <= m; ++b)
        totals[static_cast<size_t>(b - 1)] = cell(m, b);
    WriteTableRow(out, "Total:", totals);
    return FlushAnalysisOutput(s, ui, block);
}

}  // namespace

std::vector<std::string> SequentialTitleTags(const KovaState& s) {
    return {EpisodeTag(s), RangeTag(s.FromRecord, s.ToRecord, true),
            SelectionTag(s, s.FromRecord, s.ToRecord, true)};
}

bool WriteSequentialNoCodesBlock(KovaState& s, KovaUi& ui, int16_t varIndex,
                                 const ReportClock& clock) {
    return WriteNoCodesBlock(s, ui, "SEQUENTIAL ANALYSIS:", VariableLabel(s, varIndex), {},
                             kDateColumn, clock);
}

bool WriteFrequencyTransitionTable(KovaState& s, KovaUi& ui, const SequentialReport& r,
                                   const CountMatrix& f) {
    return WriteTotalledTable(s, ui, r, f, "Frequency Transition Table", 12, "#####0");
}

bool WriteProbabilityTransitionTable(KovaState& s, KovaUi& ui, const SequentialReport& r,
                                     const SingleMatrix& p) {
    return WriteTotalledTable(s, ui, r, p, "Probability Transition Table", 10, "####0.00%");
}

bool WriteZScoreTable(KovaState& s, KovaUi& ui, const std::string& direction,
                      const SequentialReport& r, const SingleMatrix& z) {
    const bool bi = direction == "bi";
    AnalysisOutput block = OpenAnalysisOutput(s, LeadIn::TwoBlanks);
    ReportWriter& out = block.out;
    WriteTitle(s, block, r);
    if (bi) {
        out.Text(kBiZTitle);
        WriteLagItem(out, r.lag);
    } else {
        out.Text(kUniZTitle).EndLine();
    }
    WriteReportRule(block, '-');
    WriteTableHeading(out, r.categories, 0);
    WriteReportRule(block, '-');
    const int k = z.Rows() - 1;
    WriteRows(out, r.categories, k, k, [&](int a, int b) {
        const float value = z(a, b);
        if (value == static_cast<float>(kUndefined))
            return CellText(kUndefined, "####0.00");
        return SignificantZ(value) ? FormatNumber(value, "####0.00") : std::string("---");
    });
    WriteReportRule(block, '-');
    out.Text("{--- = -1.96<z<1.96, P>0.05}").EndLine();
    out.EndLine();
    if (!FlushAnalysisOutput(s, ui, block))
        return false;
    if ((bi && s.ShowBiDiagram != 0) || (!bi && s.ShowUniDiagram != 0))
        ui.ShowTransitionDiagram(
            DescribeTransitionDiagram(VariableLabel(s, r.varIndex), r.categories, z, bi, r.lag));
    return true;
}

bool WriteKappaTable(KovaState& s, KovaUi& ui, const std::string& direction,
                     const SequentialReport& r, const SingleMatrix& kappa) {
    AnalysisOutput block = OpenAnalysisOutput(s, LeadIn::TwoBlanks);
    ReportWriter& out = block.out;
    WriteTitle(s, block, r);
    out.Text(direction == "bi" ? kBiKappaTitle : kUniKappaTitle).EndLine();
    out.Text(" ");
    WriteLagItem(out, r.lag);
    WriteReportRule(block, '-');
    WriteTableHeading(out, r.categories, 0);
    WriteReportRule(block, '-');
    const int k = kappa.Rows() - 1;
    WriteRows(out, r.categories, k, k,
              [&](int a, int b) { return CellText(kappa(a, b), "####0.00"); });
    WriteReportRule(block, '-');
    out.EndLine();
    return FlushAnalysisOutput(s, ui, block);
}

}  // namespace core
