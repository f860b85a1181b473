#include "analyses/output_file.h"

#include "store/error_numbers.h"
#include "store/file_access.h"
#include "store/text.h"

namespace core {

namespace {

// The lines the viewer makes of the text: one for each CR LF (a lone CR or LF
// is shown as a sign within its line).
size_t ViewerLines(std::string_view text) {
    size_t lines = 1;
    for (size_t at = text.find("\r\n"); at != std::string_view::npos;
         at = text.find("\r\n", at + 2))
        ++lines;
    return lines;
}

// Loads the whole file into the output viewer; the viewer and OutputKind stay
// as they were when the file cannot be read. A file too large to show closes
// the viewer, which would otherwise keep an older part of it.
bool ShowOutputFile(KovaState& s, KovaUi& ui, const std::string& fileName, const char* kind) {
    if (fileName.empty())
        return true;
    std::string text;
    const std::error_code ec = ReadWholeFile(fileName, text, kMaxOutputFileBytes);
    if (ec == std::errc::file_too_large || (!ec && ViewerLines(text) > kMaxOutputFileLines)) {
        ui.Message("\"" + fileName + "\" is not shown: it holds more than " +
                       MiB(kMaxOutputFileBytes) + " or " +
                       PlainNumber(static_cast<long long>(kMaxOutputFileLines)) +
                       " lines, the most the output viewer shows. The file is left as it is.",
                   kProgramTitle, Icon::Exclamation);
        ui.HideOutput();
        return false;
    }
    if (ec) {
        const NumberedError e = FileError(ec, fileName);
        ui.Message(ErrorText(e.number, kProgramTitle, e.description), "Error", Icon::Critical);
        return false;
    }
    s.OutputKind = kind;
    s.Main.CAnaf.visible = false;
    ui.ShowOutput("KOVA Output file: " + fileName, text);
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
