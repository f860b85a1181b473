#include "store/text_import.h"

#include <functional>
#include <stdexcept>
#include <utility>

#include "store/data_file.h"
#include "store/error_numbers.h"
#include "store/file_access.h"
#include "store/open_files.h"
#include "store/open_save.h"
#include "store/text.h"
#include "store/windows1252.h"

namespace core {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr const char* kWithTime = "met tijd";
constexpr const char* kWithoutTime = "zonder tijd";

// Line after line of bytes that come a chunk at a time: a CR, an LF or a CR LF
// ends a line, and a last line without an end counts too. No line may pass
// the field limit, so a line is never held longer than that.
class LineSplitter {
public:
    template <typename F>
    void Feed(std::string_view chunk, F&& onLine) {
        size_t i = 0;
        if (afterCr_ && !chunk.empty()) {
            afterCr_ = false;
            if (chunk[0] == '\n')
                i = 1;
        }
        while (i < chunk.size()) {
            const size_t end = chunk.find_first_of("\r\n", i);
            const size_t stop = end == std::string_view::npos ? chunk.size() : end;
            if (pending_.size() + (stop - i) > kMaxFieldBytes)
                throw TextTooLong{number_ + 1, false};
            pending_.append(chunk.substr(i, stop - i));
            if (end == std::string_view::npos)
                break;
            ++number_;
            onLine(std::string_view(pending_), number_);
            pending_.clear();
            i = end + 1;
            if (chunk[end] == '\r') {
                if (i == chunk.size())
                    afterCr_ = true;
                else if (chunk[i] == '\n')
                    ++i;
            }
        }
    }

    template <typename F>
    void Finish(F&& onLine) {
        if (pending_.empty())
            return;
        ++number_;
        onLine(std::string_view(pending_), number_);
        pending_.clear();
    }

private:
    std::string pending_;
    bool afterCr_ = false;
    long long number_ = 0;
};

// Whether bytes given a chunk at a time are to be read as UTF-8: they open
// with its mark, or they hold characters beyond ASCII in well-formed UTF-8
// and few stray bytes (bytes beyond ASCII that begin no well-formed
// sequence), at most one for every two well-formed characters. A text in
// the code page almost never holds a well-formed sequence at all (it would
// take an accented capital followed by a sign such as "©"), so nearly all its
// bytes beyond ASCII are stray; a UTF-8 text with a few bytes of another code
// page in it is still read as UTF-8, each such byte as "?".
class Utf8Detector {
public:
    void Feed(std::string_view chunk) {
        for (size_t k = 0; k < chunk.size() && seen_ < kUtf8Mark.size(); ++k, ++seen_)
            mark_ = mark_ && chunk[k] == kUtf8Mark[seen_];
        if (cut_.empty()) {
            Scan(chunk, false);
            return;
        }
        // A sequence cut between two chunks is read with the next.
        const std::string joined = std::exchange(cut_, std::string()) + std::string(chunk);
        Scan(joined, false);
    }

    // After the last chunk: a sequence cut short by the end is stray.
    void Finish() {
        const std::string rest = std::exchange(cut_, std::string());
        Scan(rest, true);
    }

    bool IsUtf8() const {
        return (mark_ && seen_ >= kUtf8Mark.size()) ||
               (wellFormed_ > 0 && stray_ * 2 <= wellFormed_);
    }

private:
    void Scan(std::string_view text, bool last) {
        size_t i = 0;
        while (i < text.size()) {
            if (static_cast<unsigned char>(text[i]) < 0x80) {
                ++i;
                continue;
            }
            char32_t code = 0;
            const size_t length = Utf8Sequence(text.substr(i), code);
            if (length == 0 && !last && text.size() - i < 4) {
                cut_ = text.substr(i);
                return;
            }
            if (length == 0) {
                ++stray_;
                ++i;
            } else {
                ++wellFormed_;
                i += length;
            }
        }
    }

    size_t seen_ = 0;
    bool mark_ = true;
    size_t wellFormed_ = 0;  // characters beyond ASCII
    size_t stray_ = 0;
    std::string cut_;  // the start of a sequence the chunk ended in
};

// The lines in the program's code page: a UTF-8 text loses its mark and is
// converted, counting what the code page lacks.
class LineDecoder {
public:
    explicit LineDecoder(bool utf8) : utf8_(utf8) {}

    std::string_view Decode(std::string_view line, long long number) {
        if (!utf8_)
            return line;
        if (number == 1 && line.substr(0, kUtf8Mark.size()) == kUtf8Mark)
            line.remove_prefix(kUtf8Mark.size());
        converted_ = Utf8ToWindows1252Replacing(line, replaced, &stray);
        return converted_;
    }

    size_t replaced = 0;
    size_t stray = 0;

private:
    bool utf8_;
    std::string converted_;
};

// A text that grows by `more` bytes must stay within the field limit.
void CheckGrowth(const std::string& text, size_t more, long long line) {
    if (text.size() + more > kMaxFieldBytes)
        throw TextTooLong{line, true};
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

// One line of a dialogue text after another.
class DialogueParser {
public:
    explicit DialogueParser(const KovaState& s)
        : comment_(s.DialogueCommentChar),
          withTime_(s.DialogueLayout == kWithTime),
          withoutTime_(s.DialogueLayout == kWithoutTime),
          hasDelimiter_(!s.DialogueDelimiter.empty()),
          delimiter_(hasDelimiter_ ? s.DialogueDelimiter[0] : '\0') {
        set_.records.resize(1);
    }

    void Line(std::string_view line, long long number) {
        std::string t = Trim(line);
        // With no comment character ever given, the empty lines are the ones
        // that match it.
        if (t.substr(0, 1) == comment_) {
            CheckGrowth(set_.fileInfo, kCrLf.size() + t.size(), number);
            set_.fileInfo.append(kCrLf);
            if (!t.empty())
                set_.fileInfo.append(t, 1);
            return;
        }
        std::string text = Trim(ReplaceAll(t, "\t", " "));
        if (text.empty())
            return;
        size_t p1 = hasDelimiter_ ? text.find(delimiter_) : std::string::npos;
        if (p1 == std::string::npos) {
            std::string& into = set_.count == 0 ? set_.fileInfo : set_.records[set_.count].V8;
            CheckGrowth(into, kCrLf.size() + text.size(), number);
            into.append(kCrLf);
            into.append(text);
            return;
        }
        if (!withTime_ && !withoutTime_)
            return;
        size_t p2 = withTime_ ? text.find(delimiter_, p1 + 1) : std::string::npos;
        std::string time, actor, rest;
        if (withoutTime_) {
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
        ProtocolRecord& r = NewRecord(set_);
        r.V1 = std::move(time);
        r.V3 = std::move(actor);
        r.V8 = Trim(ReplaceAll(Trim(rest), std::string(1, delimiter_), ""));
    }

    ImportedSet Finish() {
        if (set_.fileInfo.compare(0, kCrLf.size(), kCrLf) == 0)
            set_.fileInfo.erase(0, kCrLf.size());
        return std::move(set_);
    }

private:
    ImportedSet set_;
    std::string comment_;
    bool withTime_, withoutTime_, hasDelimiter_;
    char delimiter_;
};

// One line of a running text after another, cut into sentences.
class SentenceParser {
public:
    SentenceParser() { set_.records.resize(1); }

    void Line(std::string_view line, long long) {
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
            ProtocolRecord& r = NewRecord(set_);
            if (pieces.size() == 1)
                r.V8 = "(NL) ";
            else if (i == 0)
                r.V8 = "(NP) ";
            r.V8.append(pieces[i]);
        }
    }

    ImportedSet Finish() { return std::move(set_); }

private:
    ImportedSet set_;
};

// Runs the parser over bytes handed over by `read`, which calls its argument
// with every chunk in order, twice: once to tell UTF-8, once to parse.
template <typename Parser, typename Read>
ImportedSet ParseChunks(Parser& parser, Read&& read) {
    Utf8Detector detector;
    read([&](std::string_view chunk) { detector.Feed(chunk); });
    detector.Finish();
    LineDecoder decoder(detector.IsUtf8());
    LineSplitter lines;
    auto onLine = [&](std::string_view line, long long number) {
        parser.Line(decoder.Decode(line, number), number);
    };
    read([&](std::string_view chunk) { lines.Feed(chunk, onLine); });
    lines.Finish(onLine);
    ImportedSet set = parser.Finish();
    set.replaced = decoder.replaced;
    set.strayBytes = decoder.stray;
    return set;
}

template <typename Parser>
ImportedSet ParseBytes(Parser& parser, std::string_view bytes, size_t chunkSize) {
    return ParseChunks(parser, [&](const auto& each) {
        const size_t step = chunkSize == 0 ? bytes.size() : chunkSize;
        for (size_t at = 0; at < bytes.size(); at += step)
            each(bytes.substr(at, step));
    });
}

// Parses the named file, read a chunk at a time; false (a message shown)
// when it cannot be read or is refused.
template <typename Parser>
bool ParseFile(KovaUi& ui, Parser& parser, const std::string& name, ImportedSet& set) {
    std::error_code failed;
    try {
        set = ParseChunks(parser, [&](const std::function<void(std::string_view)>& each) {
            if (!failed)
                failed = ReadFileInChunks(name, each, kMaxTextFileBytes);
        });
    } catch (const std::length_error&) {
        ui.Message("\"" + name + "\" gives more than " + std::to_string(kMaxRecords) +
                       " records, the most a set can hold. Nothing was imported.",
                   kProgramTitle, Icon::Exclamation);
        return false;
    } catch (const TextTooLong& e) {
        ui.Message("Line " + PlainNumber(e.line) + " of \"" + name + "\" " +
                       (e.continued ? "makes the text it adds to " : "is ") +
                       LongerThanAFieldText() + ". Nothing was imported.",
                   kProgramTitle, Icon::Exclamation);
        return false;
    }
    if (failed == std::errc::file_too_large) {
        ui.Message("\"" + name + "\" is larger than " + SizeInMB(kMaxTextFileBytes) +
                       ", the most a text import reads. Nothing was imported.",
                   kProgramTitle, Icon::Exclamation);
        return false;
    }
    if (failed) {
        NumberedError e = FileError(failed, name);
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

ImportedSet ParseDialogueText(const KovaState& s, const std::string& bytes, size_t chunkSize) {
    DialogueParser parser(s);
    return ParseBytes(parser, bytes, chunkSize);
}

ImportedSet ParseSentenceText(const std::string& bytes, size_t chunkSize) {
    SentenceParser parser;
    return ParseBytes(parser, bytes, chunkSize);
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

bool MayImportInto(const KovaState& s, KovaUi& ui, const std::string& sourceName,
                   const std::string& dataFileName) {
    auto refuse = [&](const std::string& why) {
        ui.Message("\"" + sourceName + "\" cannot be imported into \"" + dataFileName +
                       "\": " + why + " Copy it to another name and import the copy.",
                   kProgramTitle, Icon::Exclamation);
        return false;
    };
    if (SameFile(sourceName, dataFileName))
        return refuse("that is the file itself.");
    std::string backup;
    try {
        backup = BackupFileName(dataFileName, DataFileKind::Data);
    } catch (const std::invalid_argument&) {
    }
    if (!backup.empty() && SameFile(sourceName, backup))
        return refuse("the file itself is the backup \"" + backup +
                      "\" that saving a data file there replaces.");
    // The new file becomes data set 1: it may not share a backup with the
    // set beside it.
    if (!MayWriteFile(s, ui, dataFileName, {.opensAsSet = 1, .byImport = true}))
        return false;
    // A link there leads to a file (MayWriteFile refused any other): the
    // save writes that file.
    if (!IsRegularFile(dataFileName))
        return true;
    std::string question = "The data file \"" + dataFileName + "\" is there already.";
    if (!backup.empty())
        question += " Replacing it keeps it as \"" + backup + "\"" +
                    (PathExists(backup) ? ", in place of the backup there now" : "") + ".";
    question += "\r\n\r\nReplace \"" + dataFileName + "\" with the records imported from \"" +
                sourceName + "\"?";
    return ui.AskYesNo(question, kProgramTitle) == Answer::Yes;
}

bool InstallImportedSet(KovaState& s, KovaUi& ui, const std::string& dataFileName,
                        ImportedSet set) {
    // Refused in the words of the commands that add records to a set, before
    // anything is asked or written: the save would only fail on it as an
    // overflow error.
    if (!SavedSize(set.records, set.count, 9, set.fileInfo).Fits()) {
        ui.Message(TooLargeToSaveText() + " Nothing was imported.", kProgramTitle,
                   Icon::Exclamation);
        return false;
    }
    // The new file may stand in no open set's place, data set 1's own
    // included: that protocol on disk would be replaced by the imported one.
    if (!MayWriteFile(s, ui, dataFileName, {.ownSet = 0, .byImport = true}))
        return false;
    // A backup there without a ".kov" belongs to no file this import
    // replaces: the save leaves it.
    if (!SaveDataFile(s, ui, dataFileName, set.records, set.count, 9, set.fileInfo))
        return false;
    s.Records1 = std::move(set.records);
    s.RecordCount1 = set.count;
    s.FileInfo1 = std::move(set.fileInfo);
    s.ReadIncomplete1 = false;
    FinishReplacingData1(s, ui, dataFileName);
    std::string said;
    if (set.strayBytes > 0)
        said =
            "The file was read as UTF-8. Bytes in it that are not UTF-8 were imported as "
            "\"?\": " +
            PlainNumber(static_cast<long long>(set.strayBytes)) + ".";
    if (set.replaced > 0)
        said += std::string(said.empty() ? "" : "\r\n") +
                "Characters that the program's code page (Windows-1252) lacks were imported "
                "as \"?\": " +
                PlainNumber(static_cast<long long>(set.replaced)) + ".";
    if (!said.empty())
        ui.Message(said, kProgramTitle, Icon::Information);
    return true;
}

bool ReadDialogueTextFile(KovaState& s, KovaUi& ui, ImportDialogs& dialogs,
                          const std::string& FileName) {
    s.DialogCancelled = 0;
    std::string dataFileName;
    if (!ImportedFileName(ui, FileName, dataFileName) ||
        !MayImportInto(s, ui, FileName, dataFileName))
        return false;
    if (!dialogs.AskDialogueOptions(s, FileName)) {
        s.DialogCancelled = 1;
        return false;
    }
    DialogueParser parser(s);
    ImportedSet set;
    if (!ParseFile(ui, parser, FileName, set))
        return false;
    return InstallImportedSet(s, ui, dataFileName, std::move(set));
}

bool ImportTextSentences(KovaState& s, KovaUi& ui, const std::string& FileName) {
    std::string dataFileName;
    if (!ImportedFileName(ui, FileName, dataFileName) ||
        !MayImportInto(s, ui, FileName, dataFileName))
        return false;
    SentenceParser parser;
    ImportedSet set;
    if (!ParseFile(ui, parser, FileName, set))
        return false;
    set.fileInfo = dataFileName;
    return InstallImportedSet(s, ui, dataFileName, std::move(set));
}

}  // namespace core
