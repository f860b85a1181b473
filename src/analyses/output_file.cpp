#include "analyses/output_file.h"

#include "store/error_numbers.h"
#include "store/file_access.h"
#include "store/text.h"

namespace core {

namespace {

// Loads the whole file into the output viewer; the viewer and OutputKind stay
// as they were when the file cannot be read.
bool ShowOutputFile(KovaState& s, KovaUi& ui, const std::string& fileName, const char* kind) {
    if (fileName.empty())
        return true;
    std::string text;
    if (std::error_code ec = ReadWholeFile(fileName, text)) {
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
