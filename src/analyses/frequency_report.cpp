#include "analyses/frequency_report.h"

#include <cmath>

#include "store/text.h"

namespace core {

namespace {

constexpr int kFieldWidth = 8;
constexpr int kDateColumn = 82;
constexpr int kTimecodeDateColumn = 85;
constexpr const char* kTitle = "FREQUENCIES:";

// The block of a range without events; its title carries the range as
// number items.
bool WriteFrequencyNoCodesBlock(KovaState& s, KovaUi& ui, int varIndex, const ReportClock& clock) {
    return WriteNoCodesBlock(s, ui, kTitle, VariableLabel(s, varIndex),
                             {RangeTag(s.FromRecord, s.ToRecord, true)}, kDateColumn, clock);
}

std::vector<std::string> TitleTags(const KovaState& s) {
    return {RangeTag(s.FromRecord, s.ToRecord, false),
            SelectionTag(s, s.FromRecord, s.ToRecord, false), EpisodeTag(s)};
}

// The first column of a row: its number left-aligned in 4, the label from
// column 5.
void RowStart(ReportWriter& out, long long number, const std::string& label) {
    out.LeftNumber(number, 4);
    out.Tab(5).Text(label);
}

// A category row up to its valid percentage (written only when some event
// is valid); the line is left open.
void WriteCountColumns(ReportWriter& out, size_t index, const CategoryCount& row, int rangeLength,
                       int valid) {
    RowStart(out, static_cast<long long>(index) + 1, row.label);
    out.Tab(18).NumberField(row.count, "####0", kFieldWidth);
    out.Tab(27).NumberField(row.count / rangeLength, "####0.00%", kFieldWidth);
    if (valid != 0)
        out.Tab(37).NumberField(row.count / valid, "####0.00%", kFieldWidth);
}

// The row of the records that start no valid event.
void WriteMissingRow(ReportWriter& out, size_t categories, int rangeLength, int valid) {
    const int missing = rangeLength - valid;
    if (missing <= 0)
        return;
    out.Text(TrimmedNumber(static_cast<long long>(categories) + 1)).Tab(6).Text("   ");
    out.Tab(18).NumberField(missing, "####0", kFieldWidth);
    out.Tab(27).NumberField(static_cast<double>(missing) / rangeLength, "####0.00%", kFieldWidth);
    out.EndLine();
}

// The start of the totals row, up to the valid count.
void WriteTotalsStart(ReportWriter& out, int rangeLength, int valid) {
    out.Text("  ").Tab(5).Text("Total:");
    out.Tab(18).NumberField(rangeLength, "####0", kFieldWidth);
    out.Tab(27).NumberField(1, "####0.00%", kFieldWidth);
    out.Tab(37).NumberField(valid, "(####0)", kFieldWidth);
}

void WriteMeans(ReportWriter& out, const CategoryCount& c) {
    MeanSd time = PopulationMeanSd(c.count, c.durations, c.durationSquares);
    MeanSd span = PopulationMeanSd(c.count, c.spans, c.spanSquares);
    out.Tab(47).NumberField(time.mean, "###0.00", kFieldWidth);
    out.Tab(57).NumberField(time.sd, "###0.00", kFieldWidth);
    out.Tab(67).NumberField(span.mean, "###0.00", kFieldWidth);
    out.Tab(77).NumberField(span.sd, "###0.00", kFieldWidth);
}

}  // namespace

bool WriteFrequencyReport(KovaState& s, KovaUi& ui, int16_t varIndex, const EventList& events,
                          const ReportClock& clock) {
    if (events.EventCount() == 0)
        return WriteFrequencyNoCodesBlock(s, ui, varIndex, clock);

    std::vector<std::string> categories;
    if (!ChooseCategories(s, ui, varIndex, Icon::Critical, categories,
                          [&] { return DistinctCodes(events); }))
        return true;
    const FrequencyCounts counts = CountCategories(categories, events);
    const int rangeLength = events.RangeLength;
    const int valid = counts.valid;

    AnalysisOutput block = OpenAnalysisOutput(s, LeadIn::PrefixOnly);
    WriteReportTitle(block, kTitle, true, VariableLabel(s, varIndex), TitleTags(s), kDateColumn,
                     clock());
    WriteReportRule(block, '=');
    ReportWriter& out = block.out;
    out.Text("cd  ").Text("code-").Tab(18).Text("   abs.").Tab(27).Text("   abs.");
    out.Tab(37).Text("   valid").Tab(47).Text("   mean").Tab(57).Text("   s.d.");
    out.Tab(67).Text("   mean").Tab(77).Text("   s.d.").EndLine();
    out.Text("no. ").Text("label").Tab(18).Text("   freq").Tab(27).Text("   perc");
    out.Tab(37).Text("   perc").Tab(47).Text("   time").Tab(57).Text("   time");
    out.Tab(67).Text("   events").Tab(77).Text("   events").EndLine();
    WriteReportRule(block, '-');

    for (size_t r = 0; r < counts.rows.size(); ++r) {
        WriteCountColumns(out, r, counts.rows[r], rangeLength, valid);
        if (valid != 0)
            WriteMeans(out, counts.rows[r]);
        out.EndLine();
    }
    WriteMissingRow(out, counts.rows.size(), rangeLength, valid);
    WriteReportRule(block, '-');
    WriteTotalsStart(out, rangeLength, valid);
    if (valid != 0)
        WriteMeans(out, counts.total);
    out.EndLine();
    return CloseAnalysisOutput(s, ui, block);
}

bool WriteTimecodeReport(KovaState& s, KovaUi& ui, const EventList& events,
                         const ReportClock& clock) {
    const int n = events.EventCount();
    if (n == 0)
        return WriteFrequencyNoCodesBlock(s, ui, 1, clock);

    const FrequencyCounts counts = CountCategories(DistinctCodes(events), events);
    const int rangeLength = events.RangeLength;
    const int valid = counts.valid;

    AnalysisOutput block = OpenAnalysisOutput(s, LeadIn::PrefixAndBlank);
    WriteReportTitle(block, kTitle, true, VariableLabel(s, 1), TitleTags(s), kTimecodeDateColumn,
                     clock());
    WriteReportRule(block, '=');
    ReportWriter& out = block.out;
    out.Text("cd  ").Text("time-").Tab(18).Text("   abs.").Tab(27).Text("   abs.");
    out.Tab(37).Text("   valid").EndLine();
    out.Text("no. ").Text("code").Tab(18).Text("   freq").Tab(27).Text("   perc");
    out.Tab(37).Text("   perc").EndLine();
    WriteReportRule(block, '-');
    for (size_t r = 0; r < counts.rows.size(); ++r) {
        WriteCountColumns(out, r, counts.rows[r], rangeLength, valid);
        out.EndLine();
    }
    WriteMissingRow(out, counts.rows.size(), rangeLength, valid);
    WriteReportRule(block, '-');
    WriteTotalsStart(out, rangeLength, valid);
    out.EndLine();

    // The intervals between successive events: the durations of events
    // 1..n-1 (the last event has none).
    double intervals = 0, sum = 0, squares = 0;
    for (int k = 1; k < n; ++k) {
        const double d = events.events[static_cast<size_t>(k)].duration;
        intervals += 1;
        sum += d;
        squares += d * d;
    }
    const MeanSd interval = PopulationMeanSd(intervals, sum, squares);
    out.EndLine();
    out.Text("mean interval:").Tab(18).NumberField(interval.mean, "###0.00", kFieldWidth);
    out.EndLine();
    out.Text("s.d. interval:").Tab(18).NumberField(interval.sd, "###0.00", kFieldWidth);
    out.EndLine();
    out.Text("Total session time: ").Text(FormatNumber(sum, "####0.00")).EndLine();
    out.Text("Outliers (> 2 s.d.):");
    bool any = false;
    for (int k = 1; k < n; ++k) {
        const FrequencyEvent& e = events.events[static_cast<size_t>(k)];
        if (interval.sd <= 0 || std::fabs(e.duration - interval.mean) <= 2 * interval.sd)
            continue;
        if (!any)
            out.EndLine();
        any = true;
        out.Tab(5).NumberField(e.duration, "###0.00", kFieldWidth).Text("  line-nos: ");
        // Record numbers, as in the title: under a selection positions would
        // name other records.
        out.Text(TrimmedNumber(e.number)).Text("-");
        out.Text(TrimmedNumber(events.events[static_cast<size_t>(k) + 1].number)).EndLine();
    }
    if (!any)
        out.Text(" none").EndLine();
    return CloseAnalysisOutput(s, ui, block);
}

}  // namespace core
