#include "analyses/output_file.h"

#include "store/error_numbers.h"
#include "store/file_access.h"
#include "store/text.h"

namespace core {

namespace {

// Where the viewer's lines of `text` begin when no more than
// kMaxOutputFileLines of them are shown: the viewer makes one line for each
// CR LF and one more (a lone CR or LF is shown as a sign within its line).
size_t FirstShownLine(std::string_view text) {
    size_t lines = 1;
    for (size_t end = text.size(); end >= 2;) {
        const size_t at = text.rfind("\r\n", end - 2);
        if (at == std::string_view::npos)
            break;
        if (++lines > kMaxOutputFileLines)
            return at + 2;
        end = at;
    }
    return 0;
}

// Loads the file into the output viewer: the whole file when the viewer takes
// it, else as much of its end as it takes, from a line start, so that the
// newest report is always seen. The viewer and OutputKind stay as they were
// when the file cannot be read.
bool ShowOutputFile(KovaState& s, KovaUi& ui, const std::string& fileName, const char* kind) {
    if (fileName.empty())
        return true;
    // Taken before the read: a change while it is read is noticed by the
    // next save over the file.
    KnownFile known = KnowFile(fileName);
    std::string text;
    uintmax_t skipped = 0;
    if (const std::error_code ec = ReadFileTail(fileName, kMaxOutputFileBytes, text, skipped)) {
        const NumberedError e = FileError(ec, fileName);
        ui.Message(ErrorText(e.number, kProgramTitle, e.description), "Error", Icon::Critical);
        return false;
    }
    if (const size_t first = FirstShownLine(text); first > 0) {
        text.erase(0, first);
        skipped += first;
    }
    s.OutputKind = kind;
    (s.OutputKind == "ana" ? s.AnalysisFileKnown : s.ListingFileKnown) = std::move(known);
    s.Main.CAnaf.visible = false;
    const std::string caption = "KOVA Output file: " + fileName;
    if (skipped == 0)
        ui.ShowOutput(caption, text);
    else
        ui.ShowOutputEnd(caption, text, fileName, skipped + text.size());
    ui.MainChanged();
    return true;
}

}  // namespace

bool ShowAnalysisFile(KovaState& s, KovaUi& ui) {
    return ShowOutputFile(s, ui, s.AnalysisFileName, "ana");
}

bool ShowAnalysisFileIfWritten(KovaState& s, KovaUi& ui, int reportsBefore) {
    return s.AnalysisReportsWritten == reportsBefore || ShowAnalysisFile(s, ui);
}

bool ShowListingFile(KovaState& s, KovaUi& ui) {
    return ShowOutputFile(s, ui, s.ListingFileName, "lst");
}

bool ShowLastOutputFile(KovaState& s, KovaUi& ui) {
    if (s.OutputKind == "ana")
        return ShowAnalysisFile(s, ui);
    if (s.OutputKind == "lst")
        return ShowListingFile(s, ui);
    return true;
}

}  // namespace core
