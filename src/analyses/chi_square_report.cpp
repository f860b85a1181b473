#include "analyses/chi_square_report.h"

#include "analyses/table_layout.h"
#include "store/text.h"

namespace core {

namespace {

constexpr int kDateColumn = 85;
constexpr int kValueColumn = 30;
constexpr int kValueWidth = 10;

void WriteTitle(AnalysisOutput& block, const std::string& title, const ChiSquareLabels& labels,
                const ReportClock& clock) {
    WriteReportTitle(block, title + ": ", false, labels.subject, labels.tags, kDateColumn, clock());
    WriteReportRule(block, '=');
}

// One statistic: its name, then its value right-aligned at the value column.
void WriteValueLine(ReportWriter& out, const std::string& name, const std::string& text) {
    out.Text(name).Tab(kValueColumn);
    if (text.size() >= static_cast<size_t>(kValueWidth))
        out.Text(text);
    else
        out.RightField(text, kValueWidth);
    out.EndLine();
}

void WriteSmallExpectedWarning(ReportWriter& out, int count, int cells, int bound) {
    if (count == 0)
        return;
    out.Text("Warning: ")
        .Text(TrimmedNumber(count))
        .Text(" of ")
        .Text(TrimmedNumber(cells))
        .Text(" expected frequencies (")
        .Text(FormatNumber(static_cast<double>(count) / cells, "##0.00%"))
        .Text(") are below ")
        .Text(TrimmedNumber(bound))
        .Text(".")
        .EndLine();
}

void WriteExpectedBlock(AnalysisOutput& block, const ChiSquareLabels& labels, const SingleMatrix& e,
                        const ChiSquareResult& r, const ReportClock& clock) {
    ReportWriter& out = block.out;
    WriteTitle(block, labels.title, labels, clock);
    WriteTableHeading(out, labels.columnLabels, 12);
    WriteReportRule(block, '-');
    const int m = e.Rows();
    const int n = e.Columns();
    std::vector<std::string> cells(static_cast<size_t>(n));
    for (int a = 1; a < m; ++a) {
        for (int b = 1; b <= n; ++b)
            cells[static_cast<size_t>(b - 1)] = FormatNumber(e(a, b), "####0.00");
        const size_t label = static_cast<size_t>(a - 1);
        WriteTableRow(out, label < labels.rowLabels.size() ? labels.rowLabels[label] : "", cells);
    }
    WriteReportRule(block, '-');
    for (int b = 1; b <= n; ++b)
        cells[static_cast<size_t>(b - 1)] = FormatNumber(e(m, b), "####0.00");
    WriteTableRow(out, "Total:", cells);
    WriteReportRule(block, '-');

    // Chi square and the degrees of freedom are numbers whatever their value;
    // 9999 means undefined only in a factor of the degrees of freedom, the
    // Cramer coefficient, the lambdas and the critical value.
    WriteValueLine(out, "Chi square:", FormatNumber(r.chiSquare, "####0.000"));
    const bool dfDefined = r.dfRows != kUndefined && r.dfColumns != kUndefined;
    const int df = dfDefined ? DegreesOfFreedom(r.dfRows, r.dfColumns) : 0;
    WriteValueLine(out, "Degrees of freedom:",
                   dfDefined ? FormatNumber(df, "####0") : CellText(kUndefined, "####0"));
    if (df > 30)
        WriteValueLine(out, "z (df > 30):", FormatNumber(ChiSquareZ(r.chiSquare, df), "####0.00"));
    else
        WriteValueLine(
            out, "Critical value (P = 0.05):", CellText(CriticalChiSquare95(df), "####0.000"));
    const SmallExpected small = CountSmallExpected(e);
    WriteSmallExpectedWarning(out, small.below5, small.cells, 5);
    WriteSmallExpectedWarning(out, small.below1, small.cells, 1);
    WriteValueLine(out, "Cramer coefficient:", CellText(r.cramer, "####0.000"));
    WriteValueLine(out, "Lambda (rows predicted):", CellText(r.lambdaRow, "####0.000"));
    WriteValueLine(out, "Lambda (columns predicted):", CellText(r.lambdaColumn, "####0.000"));
    out.EmptyLines(2);
}

void WriteResidualsBlock(AnalysisOutput& block, const ChiSquareLabels& labels, const CountMatrix& f,
                         const SingleMatrix& e, const ReportClock& clock) {
    ReportWriter& out = block.out;
    WriteTitle(block, kResidualsTitle, labels, clock);
    WriteTableHeading(out, labels.columnLabels, 0);
    WriteReportRule(block, '-');
    const SingleMatrix d = AdjustedResiduals(f, e);
    const int m = d.Rows();
    const int n = d.Columns();
    std::vector<std::string> cells(static_cast<size_t>(n - 1));
    for (int a = 1; a < m; ++a) {
        for (int b = 1; b < n; ++b)
            cells[static_cast<size_t>(b - 1)] = CellText(d(a, b), "####0.00");
        const size_t label = static_cast<size_t>(a - 1);
        WriteTableRow(out, label < labels.rowLabels.size() ? labels.rowLabels[label] : "", cells);
    }
    WriteReportRule(block, '-');
    out.EmptyLines(2);
}

}  // namespace

bool PrintChiSquareStatistics(KovaState& s, KovaUi& ui, const ChiSquareLabels& labels,
                              const CountMatrix& f, const SingleMatrix& e, const ChiSquareResult& r,
                              const ReportClock& clock) {
    AnalysisOutput block = OpenAnalysisOutput(s, LeadIn::TwoBlanks);
    const bool expected = s.ShowExpectedTable != 0;
    const bool residuals = s.ShowResidualsTable != 0;
    if (!expected && !residuals) {
        // Nothing to report, but the file exists afterwards: the blocks that
        // follow never start a new file with its name.
        block.out = ReportWriter{};
        return FlushAnalysisOutput(s, ui, block);
    }
    if (expected)
        WriteExpectedBlock(block, labels, e, r, clock);
    if (residuals) {
        if (expected)
            block.out.EndLine().EndLine();
        WriteResidualsBlock(block, labels, f, e, clock);
    }
    return FlushAnalysisOutput(s, ui, block);
}

}  // namespace core
