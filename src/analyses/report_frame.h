// The frame every report block of the analysis output file follows: lead-in,
// title line with date and time, rules, closing. A block is composed in memory
// and appended to the file whole when it is closed, so a failed write leaves
// the file as it was.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "analyses/report_writer.h"
#include "store/state.h"
#include "store/ui.h"

namespace core {

// The date and time texts of a title line.
struct ReportTime {
    std::string date;
    std::string time;
};

// Gives the date and time when a title line is written. Reports take it as an
// argument so that tests can fix it.
using ReportClock = std::function<ReportTime()>;

// The current local date as "dd-MM-yyyy" and time as "HH:mm:ss" (24 hours):
// fixed formats, so that reports read the same on every system.
ReportTime CurrentReportTime();

enum class LeadIn {
    PrefixAndBlank,  // new file: its path and three empty lines; else two empty lines
    PrefixOnly,      // new file: its path and two empty lines; else one empty line
    TwoBlanks,       // two empty lines, new file or not
};

// One block on its way to the analysis output file.
struct AnalysisOutput {
    std::string fileName;  // the analysis output file the block goes to
    ReportWriter out;      // the block's lines
};

// The analysis output file's name: data set 1's file name less its extension,
// followed by ".ana" (DerivedName).
std::string AnalysisOutputName(const KovaState& s);

// Starts a block for the analysis output file named after data set 1's file
// and writes the lead-in (the file's path only when it does not exist yet).
AnalysisOutput OpenAnalysisOutput(const KovaState& s, LeadIn leadIn);

// The title line: title, an optional zone step, the subject, the tags, then
// the date and time at `dateColumn` (on the next line when the title reaches
// beyond it).
void WriteReportTitle(AnalysisOutput& block, std::string_view title, bool zoneStep,
                      std::string_view subject, const std::vector<std::string>& tags,
                      int dateColumn, const ReportTime& time);

// The label of variable varIndex (0..9) as a title line names it: PrintedLabel
// of its label in the table file.
std::string VariableLabel(const KovaState& s, int varIndex);

// The width of a report's rules, its widest lines.
inline constexpr int kReportColumns = 103;

// A line of kReportColumns copies of `c`.
void WriteReportRule(AnalysisOutput& block, char c);

// Ends the block with two empty lines and appends it to the file; see
// FlushAnalysisOutput.
bool CloseAnalysisOutput(KovaState& s, KovaUi& ui, AnalysisOutput& block);

// Appends the block as it stands (the file is created when missing) and sets
// AnalysisFileName to the file. When the file cannot be written: a message
// titled "Error", the file is left as it was, AnalysisFileName is unchanged,
// and the result is false (the command ends).
bool FlushAnalysisOutput(KovaState& s, KovaUi& ui, AnalysisOutput& block);

// The block of an analysis that found no codes: the lead-in of a first block,
// the title line with its zone step, a rule and " No Codes Found! ", appended
// as FlushAnalysisOutput does.
bool WriteNoCodesBlock(KovaState& s, KovaUi& ui, std::string_view title, std::string_view subject,
                       const std::vector<std::string>& tags, int dateColumn,
                       const ReportClock& clock);

// Title tags.
// " (no. 1-10)" with trimmed numbers, " (no.  1 - 10 )" with number items.
std::string RangeTag(int16_t from, int16_t to, bool numberItems);
// " (Selected:5-9)": the record numbers of the records at positions from and
// to of data set 1; "" unless a selection of data set 1 is shown.
std::string SelectionTag(const KovaState& s, int16_t from, int16_t to, bool numberItems);
// " (EPISODE FILLED)" while EpisodeFilling is set, else "".
std::string EpisodeTag(const KovaState& s);

}  // namespace core
