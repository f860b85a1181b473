#include "analyses/report_frame.h"

#include <ctime>
#include <stdexcept>

#include "store/error_numbers.h"
#include "store/file_access.h"
#include "store/open_files.h"
#include "store/text.h"

namespace core {

ReportTime CurrentReportTime() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[32];
    char time[32];
    std::strftime(date, sizeof date, "%d-%m-%Y", &local);
    std::strftime(time, sizeof time, "%H:%M:%S", &local);
    return ReportTime{date, time};
}

std::string AnalysisOutputName(const KovaState& s) {
    return DerivedName(s.DataFileName1, ".ana");
}

AnalysisOutput OpenAnalysisOutput(const KovaState& s, LeadIn leadIn) {
    AnalysisOutput block;
    try {
        block.fileName = AnalysisOutputName(s);
        // A data file whose name already ends in ".ana" would be written
        // into, and so would any open set's file of that name.
        if (OpenSetOfFile(s, block.fileName) != 0)
            block.fileName.clear();
    } catch (const std::invalid_argument&) {
        // A data file name too short to derive from names no output file: the
        // block is refused when it is flushed.
    }
    const bool isNew = !IsRegularFile(block.fileName);
    ReportWriter& out = block.out;
    switch (leadIn) {
        case LeadIn::PrefixAndBlank:
            if (isNew)
                out.Text(block.fileName).EndLine().EndLine();
            out.EndLine().EndLine();
            break;
        case LeadIn::PrefixOnly:
            if (isNew)
                out.Text(block.fileName).EndLine().EndLine();
            out.EndLine();
            break;
        case LeadIn::TwoBlanks:
            out.EndLine().EndLine();
            break;
    }
    return block;
}

void WriteReportTitle(AnalysisOutput& block, std::string_view title, bool zoneStep,
                      std::string_view subject, const std::vector<std::string>& tags,
                      int dateColumn, const ReportTime& time) {
    ReportWriter& out = block.out;
    out.Text(title);
    if (zoneStep)
        out.ZoneStep();
    out.Text(subject);
    for (const std::string& tag : tags)
        out.Text(tag);
    out.Tab(dateColumn).Text(time.date).Text("/").Text(time.time).EndLine();
}

std::string VariableLabel(const KovaState& s, int varIndex) {
    return PrintedLabel(s.Varnaam[static_cast<size_t>(varIndex)]);
}

void WriteReportRule(AnalysisOutput& block, char c) {
    block.out.Text(std::string(kReportColumns, c)).EndLine();
}

bool CloseAnalysisOutput(KovaState& s, KovaUi& ui, AnalysisOutput& block) {
    block.out.EmptyLines(2);
    return FlushAnalysisOutput(s, ui, block);
}

bool FlushAnalysisOutput(KovaState& s, KovaUi& ui, AnalysisOutput& block) {
    if (block.fileName.empty()) {
        ui.Message(ErrorText(kErrBadFileName, kProgramTitle,
                             "No output file can be named after the data file \"" +
                                 s.DataFileName1 + "\"."),
                   "Error", Icon::Critical);
        return false;
    }
    if (std::error_code ec =
            AppendToKnownFile(block.fileName, block.out.Bytes(), s.AnalysisFileKnown)) {
        const NumberedError e = FileError(ec, block.fileName);
        ui.Message(ErrorText(e.number, kProgramTitle, e.description), "Error", Icon::Critical);
        return false;
    }
    s.AnalysisFileName = block.fileName;
    if (!block.out.Bytes().empty())
        ++s.AnalysisReportsWritten;
    return true;
}

bool WriteNoCodesBlock(KovaState& s, KovaUi& ui, std::string_view title, std::string_view subject,
                       const std::vector<std::string>& tags, int dateColumn,
                       const ReportClock& clock) {
    AnalysisOutput block = OpenAnalysisOutput(s, LeadIn::PrefixAndBlank);
    WriteReportTitle(block, title, true, subject, tags, dateColumn, clock());
    WriteReportRule(block, '=');
    block.out.Text(" No Codes Found! ").EndLine();
    return FlushAnalysisOutput(s, ui, block);
}

std::string RangeTag(int16_t from, int16_t to, bool numberItems) {
    if (numberItems)
        return " (no. " + FileNumber(from) + "-" + FileNumber(to) + ")";
    return " (no. " + TrimmedNumber(from) + "-" + TrimmedNumber(to) + ")";
}

std::string SelectionTag(const KovaState& s, int16_t from, int16_t to, bool numberItems) {
    if (s.SelectionShown1 == kFalse)
        return "";
    auto recordNumber = [&s](int16_t position) -> int16_t {
        if (position < 1 || static_cast<size_t>(position) >= s.Records1.size())
            return 0;
        return s.Records1[static_cast<size_t>(position)].V0;
    };
    int16_t first = recordNumber(from);
    int16_t last = recordNumber(to);
    if (numberItems)
        return " (Selected:" + FileNumber(first) + "-" + FileNumber(last) + ")";
    return " (Selected:" + TrimmedNumber(first) + "-" + TrimmedNumber(last) + ")";
}

std::string EpisodeTag(const KovaState& s) {
    return s.EpisodeFilling != 0 ? " (EPISODE FILLED)" : "";
}

}  // namespace core
