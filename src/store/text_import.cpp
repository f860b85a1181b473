#include "store/text_import.h"

#include <stdexcept>

#include "store/data_file.h"
#include "store/error_numbers.h"
#include "store/file_access.h"
#include "store/open_files.h"
#include "store/text.h"
#include "store/view.h"

namespace core {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr const char* kWithTime = "met tijd";
constexpr const char* kWithoutTime = "zonder tijd";

// Calls f with every line of the text; lines end at LF, a CR before it is
// dropped, and a last line without an end counts too.
template <typename F>
void ForEachLine(const std::string& bytes, F&& f) {
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t nl = bytes.find('\n', pos);
        size_t end = nl == std::string::npos ? bytes.size() : nl;
        size_t lineEnd = end > pos && bytes[end - 1] == '\r' ? end - 1 : end;
        f(std::string_view(bytes).substr(pos, lineEnd - pos));
        pos = nl == std::string::npos ? bytes.size() : nl + 1;
    }
}

ProtocolRecord& NewRecord(ImportedSet& set) {
    if (set.count >= kMaxRecords)
        throw std::length_error("more than " + std::to_string(kMaxRecords) + " records");
    ++set.count;
    set.records.resize(static_cast<size_t>(set.count) + 1);
    ProtocolRecord& r = set.records[set.count];
    r.V0 = set.count;
    r.V2 = 1;
    return r;
}

void RefuseTooLarge(KovaUi& ui, const std::string& name) {
    ui.Message("\"" + name + "\" gives more than " + std::to_string(kMaxRecords) +
                   " records, the most a set can hold. Nothing was imported.",
               kProgramTitle, Icon::Exclamation);
}

bool ReadSource(KovaUi& ui, const std::string& name, std::string& bytes) {
    if (std::error_code ec = ReadWholeFile(name, bytes)) {
        NumberedError e = FileError(ec, name);
        ShowImportError(ui, e.number, e.description);
        return false;
    }
    return true;
}

}  // namespace

void ShowImportError(KovaUi& ui, int number, const std::string& description) {
    ui.Message(ErrorText(number, kProgramTitle, description), "Error", Icon::Critical);
}

bool TakeDialogueAnswers(KovaState& s, int option, const std::string& delimiter,
                         const std::string& commentChar) {
    if (option == 0)
        s.DialogueLayout = kWithTime;
    else if (option == 1)
        s.DialogueLayout = kWithoutTime;
    else
        return false;
    if (delimiter.empty())
        return false;
    s.DialogueDelimiter = delimiter.substr(0, 1);
    if (!commentChar.empty())
        s.DialogueCommentChar = commentChar.substr(0, 1);
    return true;
}

ImportedSet ParseDialogueText(const KovaState& s, const std::string& bytes) {
    ImportedSet set;
    set.records.resize(1);
    const std::string& comment = s.DialogueCommentChar;
    const bool withTime = s.DialogueLayout == kWithTime;
    const bool withoutTime = s.DialogueLayout == kWithoutTime;
    const char delimiter = s.DialogueDelimiter.empty() ? '\0' : s.DialogueDelimiter[0];
    ForEachLine(bytes, [&](std::string_view line) {
        std::string t = Trim(line);
        // With no comment character ever given, the empty lines are the ones
        // that match it.
        if (t.substr(0, 1) == comment) {
            set.fileInfo.append(kCrLf);
            if (!t.empty())
                set.fileInfo.append(t, 1);
            return;
        }
        std::string text = Trim(ReplaceAll(t, "\t", " "));
        if (text.empty())
            return;
        size_t p1 = s.DialogueDelimiter.empty() ? std::string::npos : text.find(delimiter);
        if (p1 == std::string::npos) {
            std::string& into = set.count == 0 ? set.fileInfo : set.records[set.count].V8;
            into.append(kCrLf);
            into.append(text);
            return;
        }
        if (!withTime && !withoutTime)
            return;
        size_t p2 = withTime ? text.find(delimiter, p1 + 1) : std::string::npos;
        std::string time, actor, rest;
        if (withoutTime) {
            actor = Trim(std::string_view(text).substr(0, p1));
            rest = text.substr(p1 + 1);
        } else if (p2 == std::string::npos) {
            // One delimiter only: a time and a text, no actor.
            time = Trim(std::string_view(text).substr(0, p1));
            rest = text.substr(p1 + 1);
        } else {
            time = Trim(std::string_view(text).substr(0, p1));
            actor = Trim(std::string_view(text).substr(p1 + 1, p2 - p1 - 1));
            rest = text.substr(p2 + 1);
        }
        ProtocolRecord& r = NewRecord(set);
        r.V1 = std::move(time);
        r.V3 = std::move(actor);
        r.V8 = Trim(ReplaceAll(Trim(rest), std::string(1, delimiter), ""));
    });
    if (set.fileInfo.compare(0, kCrLf.size(), kCrLf) == 0)
        set.fileInfo.erase(0, kCrLf.size());
    return set;
}

ImportedSet ParseSentenceText(const std::string& bytes) {
    ImportedSet set;
    set.records.resize(1);
    ForEachLine(bytes, [&](std::string_view line) {
        std::string text = Trim(line);
        if (text.empty() || text.compare(0, 2, "##") == 0)
            return;
        text = ReplaceAll(text, "\t", " ");
        for (char c = 'A'; c <= 'Z'; ++c)
            text = ReplaceAll(text, std::string(". ") + c, std::string(".|") + c);
        text = ReplaceAll(text, "? ", "?|");
        text = ReplaceAll(text, "! ", "!|");
        std::vector<std::string_view> pieces;
        size_t pos = 0;
        while (true) {
            size_t bar = text.find('|', pos);
            pieces.push_back(std::string_view(text).substr(
                pos, bar == std::string::npos ? std::string::npos : bar - pos));
            if (bar == std::string::npos)
                break;
            pos = bar + 1;
        }
        for (size_t i = 0; i < pieces.size(); ++i) {
            ProtocolRecord& r = NewRecord(set);
            if (pieces.size() == 1)
                r.V8 = "(NL) ";
            else if (i == 0)
                r.V8 = "(NP) ";
            r.V8.append(pieces[i]);
        }
    });
    return set;
}

bool ImportedFileName(KovaUi& ui, const std::string& sourceName, std::string& dataFileName) {
    // The source's extension, whatever its length (".txt", ".xls", ".xlsx"),
    // gives way to ".kov"; a name without one gets ".kov" added.
    const std::string_view base = FileNamePart(sourceName);
    const size_t dot = base.rfind('.');
    if (base.empty() || dot == 0) {
        ShowImportError(ui, kErrBadFileName,
                        "Bad file name or number (\"" + sourceName +
                            "\" names no file to put a data file beside)");
        return false;
    }
    const size_t cut =
        dot == std::string_view::npos ? sourceName.size() : sourceName.size() - (base.size() - dot);
    dataFileName = sourceName.substr(0, cut) + ".kov";
    return true;
}

bool InstallImportedSet(KovaState& s, KovaUi& ui, const std::string& dataFileName,
                        ImportedSet set) {
    // The new file may stand in no open set's place, data set 1's own
    // included: that protocol on disk would be replaced by the imported one.
    if (!MayWriteFile(s, ui, dataFileName, 0))
        return false;
    if (!SaveDataFile(s, ui, dataFileName, set.records, set.count, 9, set.fileInfo))
        return false;
    s.Records1 = std::move(set.records);
    s.RecordCount1 = set.count;
    s.FileInfo1 = std::move(set.fileInfo);
    s.DataFileName1 = dataFileName;
    s.ReadIncomplete1 = false;
    ++s.ChangeCount1;
    s.CurrentRecord1 = s.RecordCount1 > 0 ? 1 : 0;
    s.SieveActive = 0;
    s.SievePosition = 0;
    s.SieveCount = 0;
    s.SieveList.clear();
    s.SelectionShown1 = kFalse;
    s.FullRecords1.clear();
    s.FullCount1 = 0;
    s.SelectionMarks1.clear();
    ShowDataMode(s, ui);
    return true;
}

bool ReadDialogueTextFile(KovaState& s, KovaUi& ui, ImportDialogs& dialogs,
                          const std::string& FileName) {
    s.DialogCancelled = 0;
    if (!dialogs.AskDialogueOptions(s, FileName)) {
        s.DialogCancelled = 1;
        return false;
    }
    std::string dataFileName, bytes;
    if (!ImportedFileName(ui, FileName, dataFileName) || !ReadSource(ui, FileName, bytes))
        return false;
    ImportedSet set;
    try {
        set = ParseDialogueText(s, bytes);
    } catch (const std::length_error&) {
        RefuseTooLarge(ui, FileName);
        return false;
    }
    return InstallImportedSet(s, ui, dataFileName, std::move(set));
}

bool ImportTextSentences(KovaState& s, KovaUi& ui, const std::string& FileName) {
    std::string dataFileName, bytes;
    if (!ImportedFileName(ui, FileName, dataFileName) || !ReadSource(ui, FileName, bytes))
        return false;
    ImportedSet set;
    try {
        set = ParseSentenceText(bytes);
    } catch (const std::length_error&) {
        RefuseTooLarge(ui, FileName);
        return false;
    }
    set.fileInfo = dataFileName;
    return InstallImportedSet(s, ui, dataFileName, std::move(set));
}

}  // namespace core
