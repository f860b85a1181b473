#include "filters/filter_report_output.h"

#include "analyses/output_file.h"
#include "store/text.h"

namespace core {

bool WriteFilterReportOutput(KovaState& s, KovaUi& ui, const ReportTime& time) {
    AnalysisOutput block = OpenAnalysisOutput(s, LeadIn::PrefixAndBlank);
    const std::string tag = " (no." + FileNumber(s.FromRecord) + "-" + FileNumber(s.ToRecord) +
                            ") - " + "filterfile: " + s.FilterFileName;
    WriteReportTitle(block, "FILTER REPORT: ", false, s.DataFileName1, {tag}, 82, time);
    WriteReportRule(block, '=');
    ReportWriter& out = block.out;
    out.Text("Number").Tab(12).Text("Prot.line").Tab(24).Text("Filter no.").Tab(36);
    out.Text("Filter Action").EndLine();
    WriteReportRule(block, '-');
    const ResultTableModel& t = s.ResultTable;
    for (int r = 1; r <= s.FilterReportRow && static_cast<size_t>(r) < t.cells.size(); ++r) {
        const std::vector<std::string>& row = t.cells[r];
        auto cell = [&row](size_t c) { return c < row.size() ? row[c] : std::string(); };
        out.NumberField(ReadNumber(cell(1)), "####0", 6).Tab(10);
        out.NumberField(ReadNumber(cell(2)), "####0", 6).Tab(24);
        out.NumberField(ReadNumber(cell(3)), "####0", 6).Tab(36);
        out.Text(PrintedLabel(cell(4))).EndLine();
    }
    WriteReportRule(block, '-');
    out.Text("Number of different filters: ").Text(t.labels[4]);
    out.Text("  Total of succeeded filters:").Number(s.FilterReportRow).EndLine();
    // The block ends with its totals line: no closing empty lines.
    if (!FlushAnalysisOutput(s, ui, block))
        return false;
    ShowAnalysisFile(s, ui);
    return true;
}

}  // namespace core
