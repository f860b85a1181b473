#include "store/data_file.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>

#include "store/error_numbers.h"
#include "store/file_access.h"
#include "store/text.h"

namespace core {

namespace {

constexpr std::string_view kStartMarker = "##00000";
constexpr std::string_view kMemoSection = "##MEMOS##";
constexpr std::string_view kEndMarker = "##END";
constexpr std::string_view kCrLf = "\r\n";
constexpr const char* kErrorTitle = "Error";

// A failure that ends a read or write with the "Error # " message.
using FileFailure = NumberedError;

void ShowFailure(KovaUi& ui, const FileFailure& f) {
    ui.Message(ErrorText(f.number, kProgramTitle, f.description), kErrorTitle, Icon::None);
}

// "##" and the record number k (0 or more) with at least five digits. Written
// by hand: a read makes one for every record, and printf would cost it a
// tenth of its time.
struct Marker {
    char text[16];
    size_t size;
    explicit Marker(int k) {
        char digits[12];
        size_t n = 0;
        for (unsigned v = static_cast<unsigned>(k); v != 0 || n < 5; v /= 10)
            digits[n++] = static_cast<char>('0' + v % 10);
        text[0] = text[1] = '#';
        for (size = 2; n > 0; ++size)
            text[size] = digits[--n];
    }
    std::string_view view() const { return {text, size}; }
};

bool IsMarkerLine(std::string_view line) {
    return line.size() >= 2 && line[0] == '#' && line[1] == '#';
}

// ---------------------------------------------------------------- writing

// V1..V7 take one line each: any line break inside becomes one blank.
void AppendSingleLine(std::string& out, std::string_view field) {
    if (field.find_first_of("\r\n") == std::string_view::npos) {
        out.append(field);
    } else {
        for (size_t i = 0; i < field.size(); ++i) {
            char c = field[i];
            if (c == '\r' && i + 1 < field.size() && field[i + 1] == '\n')
                ++i;
            out.push_back(c == '\r' || c == '\n' ? ' ' : c);
        }
    }
    out.append(kCrLf);
}

// V8, a memo or the file info: each line break (CR LF or a lone LF) becomes
// CR LF, and a line that would read as a marker gets one leading blank (the
// reader trims it off again). V8's first line is never taken for a marker,
// so it needs no blank.
void AppendMultiLine(std::string& out, std::string_view text, bool guardFirstLine) {
    bool first = true;
    size_t pos = 0;
    while (true) {
        size_t nl = text.find('\n', pos);
        size_t end = nl == std::string_view::npos ? text.size() : nl;
        size_t lineEnd =
            (nl != std::string_view::npos && end > pos && text[end - 1] == '\r') ? end - 1 : end;
        std::string_view line = text.substr(pos, lineEnd - pos);
        if ((guardFirstLine || !first) && IsMarkerLine(line))
            out.push_back(' ');
        out.append(line);
        out.append(kCrLf);
        if (nl == std::string_view::npos)
            break;
        pos = nl + 1;
        first = false;
    }
}

// ------------------------------------------------------- the size written

// What the two appenders above make of a field, counted without building it:
// one pass over its line feeds.
struct LineBreaks {
    size_t lineFeeds = 0;
    size_t crLfs = 0;        // line feeds right after a CR
    size_t markerLines = 0;  // lines after a line feed that read as a marker

    explicit LineBreaks(std::string_view text) {
        const char* data = text.data();
        const char* end = data + text.size();
        for (const char* at = data; at < end;) {
            const void* nl = std::memchr(at, '\n', static_cast<size_t>(end - at));
            if (nl == nullptr)
                break;
            const char* p = static_cast<const char*>(nl);
            ++lineFeeds;
            if (p > data && p[-1] == '\r')
                ++crLfs;
            if (end - p > 2 && p[1] == '#' && p[2] == '#')
                ++markerLines;
            at = p + 1;
        }
    }
};

size_t SingleLineBytes(std::string_view field) {
    return field.size() - LineBreaks(field).crLfs + kCrLf.size();
}

size_t MultiLineBytes(std::string_view text, bool guardFirstLine) {
    const LineBreaks breaks(text);
    const bool firstGuarded = guardFirstLine && IsMarkerLine(text);
    return text.size() + breaks.lineFeeds - breaks.crLfs + kCrLf.size() + breaks.markerLines +
           (firstGuarded ? 1 : 0);
}

// The length of FileNumber(value): sign position, digits, a blank.
size_t NumberBytes(long long value) {
    size_t digits = 1;
    for (unsigned long long v = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                          : static_cast<unsigned long long>(value);
         v >= 10; v /= 10)
        ++digits;
    return digits + 2;
}

// A record or memo marker line: "##" and five digits (a set never numbers
// past 32767).
constexpr size_t kMarkerLineBytes = 7 + kCrLf.size();

std::string BuildFile(const RecordSet& records, int16_t count, int16_t memoCount,
                      int16_t headerNumber, const std::string& fileInfo, size_t size) {
    std::string out;
    out.reserve(size);

    out.append(kStartMarker).append(kCrLf);
    out.append(FileNumber(count)).append("MEMO").append(FileNumber(memoCount)).append(kCrLf);
    out.append(FileNumber(headerNumber)).append(kCrLf);
    AppendMultiLine(out, fileInfo, true);
    for (int k = 1; k <= count; ++k) {
        const ProtocolRecord& r = records[k];
        out.append(Marker(k).view()).append(kCrLf);
        AppendSingleLine(out, r.V1);
        out.append(FileNumber(r.V2)).append(kCrLf);
        AppendSingleLine(out, r.V3);
        AppendSingleLine(out, r.V4);
        AppendSingleLine(out, r.V5);
        AppendSingleLine(out, r.V6);
        AppendSingleLine(out, r.V7);
        AppendMultiLine(out, r.V8, false);
    }
    if (memoCount > 0) {
        out.append(kMemoSection).append(kCrLf);
        for (int k = 1; k <= count; ++k) {
            if (records[k].Memo.empty())
                continue;
            out.append(Marker(k).view()).append(kCrLf);
            AppendMultiLine(out, records[k].Memo, true);
        }
    }
    out.append(kEndMarker).append(kCrLf);
    return out;
}

// ---------------------------------------------------------------- reading

// The lines of the file's bytes: a line ends at CR LF or at a lone LF; a
// last line without a line end counts as a line.
class LineReader {
public:
    explicit LineReader(std::string_view data) : data_(data) {}

    bool Next(std::string_view& line) {
        if (pos_ >= data_.size())
            return false;
        const char* begin = data_.data() + pos_;
        size_t rest = data_.size() - pos_;
        const void* nl = std::memchr(begin, '\n', rest);
        size_t len;
        if (nl == nullptr) {
            len = rest;
            pos_ = data_.size();
        } else {
            len = static_cast<size_t>(static_cast<const char*>(nl) - begin);
            pos_ += len + 1;
            if (len > 0 && begin[len - 1] == '\r')
                --len;
        }
        line = std::string_view(begin, len);
        ++lineNumber_;
        return true;
    }

    long lineNumber() const { return lineNumber_; }

private:
    std::string_view data_;
    size_t pos_ = 0;
    long lineNumber_ = 0;
};

std::string Quoted(std::string_view line) {
    return "\"" + QuoteForMessage(line) + "\"";
}

int16_t LineNumber16(std::string_view text, const LineReader& lines) {
    try {
        return ReadInt16(text);
    } catch (const Overflow16&) {
        throw FileFailure{kErrOverflow, "Overflow: the number " + Quoted(Trim(text)) + " in line " +
                                            std::to_string(lines.lineNumber()) +
                                            " does not fit a 16-bit integer"};
    }
}

// True when the text starts (after blanks) with a number.
bool HasNumber(std::string_view text) {
    size_t i = 0;
    auto skip = [&] {
        while (i < text.size() && text[i] == ' ')
            ++i;
    };
    auto digit = [&] { return i < text.size() && text[i] >= '0' && text[i] <= '9'; };
    skip();
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
        skip();
    }
    if (digit())
        return true;
    if (i < text.size() && text[i] == '.') {
        ++i;
        skip();
        return digit();
    }
    return false;
}

// Adds a line to a text: the line trimmed, after a CR LF unless it is the
// text's first. A text past the most a field holds ends the read; `what` (of
// record `record`, when above 0) names it in the message.
void AddLine(std::string& text, std::string_view line, bool first, const char* what, int record) {
    // A view, not a copy: most field lines are appended once, straight from
    // the file.
    const std::string_view trimmed = TrimmedView(line);
    if (text.size() + (first ? 0 : 2) + trimmed.size() > kMaxFieldBytes)
        throw FileFailure{kErrOverflow,
                          "Overflow: " + std::string(what) +
                              (record > 0 ? " of record " + std::to_string(record) : "") + " is " +
                              LongerThanAFieldText()};
    if (!first)
        text.append(kCrLf);
    text.append(trimmed);
}

void ReadFile(const std::string& fileName, std::string& data) {
    if (std::error_code ec = ReadWholeFile(fileName, data, kMaxDataFileBytes))
        throw ReadFileError(ec, fileName, kMaxDataFileBytes, "a data file may hold");
}

// The wait window of a read: shown once, its counter refreshed every few
// records and always left showing the last number reached; hidden on every
// way out.
class WaitWindow {
public:
    explicit WaitWindow(KovaUi& ui) : ui_(ui) {}
    ~WaitWindow() { Hide(); }

    void Step(int n) {
        current_ = n;
        if (!visible_ || (n & 255) == 1)
            Refresh();
    }
    void Hide() {
        if (!visible_)
            return;
        if (shown_ != current_)
            Refresh();
        ui_.HideWait();
        visible_ = false;
    }
    void Show() {
        if (!visible_)
            Refresh();
    }

private:
    void Refresh() {
        ui_.ShowWait("record no.", SignedNumber(current_));
        visible_ = true;
        shown_ = current_;
    }

    KovaUi& ui_;
    bool visible_ = false;
    int current_ = 0;
    int shown_ = -1;
};

// ---------------------------------------------------------------- the sections of a read

// Passes each line up to the next marker line to `add`; gives that marker
// line, or nothing when the file ends first.
template <typename Add>
std::optional<std::string_view> ReadUpToMarker(LineReader& lines, Add add) {
    std::string_view line;
    while (lines.Next(line)) {
        if (IsMarkerLine(line))
            return line;
        add(line);
    }
    return std::nullopt;
}

FileFailure PastEnd(const std::string& what) {
    return FileFailure{kErrPastEnd, "Input past end of file: the file ends before " + what};
}

std::string RecordWhat(int k, int count) {
    return "record " + std::to_string(k) + " of " + std::to_string(count) + " is complete";
}

// A record or memo marker that is not the one expected: the read ends with
// ReportDataFileError's message for it.
struct BadMarker {
    int16_t index;
    std::string line;
};

// What the lines between the first line and the first record give.
struct DataFileHead {
    int16_t count = 0;
    int16_t memoCount = 0;
    int16_t header = 0;
    std::string info;
    // The marker line that ends the file info, if the file goes on.
    std::optional<std::string_view> marker;
};

// The count line, the header number and the file info.
DataFileHead ReadHead(LineReader& lines) {
    auto next = [&](const char* what) {
        std::string_view line;
        if (!lines.Next(line))
            throw PastEnd(what);
        return line;
    };
    DataFileHead head;

    // The count line: "count MEMO memocount", or only the count in older files.
    std::string_view line = next("the record count (line 2)");
    std::string_view countText = line;
    std::string_view memoText;
    size_t p = line.find("MEMO");
    if (p != std::string_view::npos) {
        countText = line.substr(0, p);
        memoText = p + 5 <= line.size() ? line.substr(p + 5) : std::string_view();
    }
    if (!HasNumber(countText))
        throw FileFailure{kErrTypeMismatch,
                          "Type mismatch: line 2 holds no record count: " + Quoted(line)};
    double countValue = ReadNumber(countText);
    if (countValue < -0.5)
        throw FileFailure{kErrOverflow, "The record count in line 2 is negative: " + Quoted(line)};
    if (countValue >= kMaxRecords + 0.5)
        throw FileFailure{kErrOverflow, "The record count in line 2 is above the limit of " +
                                            std::to_string(kMaxRecords) +
                                            " records: " + Quoted(line)};
    head.count = LineNumber16(countText, lines);
    head.memoCount = LineNumber16(memoText, lines);

    head.header = LineNumber16(next("the header number (line 3)"), lines);

    // The file info: every line up to the first marker line.
    bool first = true;
    head.marker = ReadUpToMarker(lines, [&](std::string_view infoLine) {
        AddLine(head.info, infoLine, first, "the file information", 0);
        first = false;
    });
    return head;
}

// Record k of count after its marker: its eight field lines, then the text's
// further lines up to the next marker line, which it gives.
std::optional<std::string_view> ReadRecord(LineReader& lines, ProtocolRecord& r, int k, int count) {
    std::string_view line;
    for (int j = 1; j <= 8; ++j) {
        if (!lines.Next(line))
            throw PastEnd(RecordWhat(k, count));
        if (j == 2)
            r.V2 = LineNumber16(line, lines);
        else
            AddLine(*TextField(r, j), line, true, j == 8 ? "the text" : "a field", k);
    }
    std::optional<std::string_view> marker = ReadUpToMarker(
        lines, [&](std::string_view textLine) { AddLine(r.V8, textLine, false, "the text", k); });
    // A text grown line by line may hold up to twice its size: the set keeps
    // only its bytes, as its copies do.
    r.V8.shrink_to_fit();
    return marker;
}

// Records 1..count, each after its own marker, the first being `marker`;
// gives the marker line after the last.
std::optional<std::string_view> ReadRecords(LineReader& lines,
                                            std::optional<std::string_view> marker,
                                            RecordSet& records, int count, WaitWindow& wait) {
    for (int k = 1; k <= count; ++k) {
        wait.Step(k);
        if (!marker)
            throw PastEnd(RecordWhat(k, count));
        if (*marker != Marker(k).view())
            throw BadMarker{static_cast<int16_t>(k), std::string(*marker)};
        marker = ReadRecord(lines, records[k], k, count);
    }
    return marker;
}

// The memo section after the line that ended the last record ("##MEMOS##"),
// which is passed over: memoCount memos, each after the marker of its record.
void ReadMemos(LineReader& lines, std::optional<std::string_view> marker, RecordSet& records,
               int count, int memoCount, WaitWindow& wait) {
    std::string_view line;
    std::optional<std::string_view> current;
    if (marker && lines.Next(line))
        current = line;
    for (int m = 1; m <= memoCount; ++m) {
        wait.Step(m);
        if (!current)
            throw PastEnd("memo " + std::to_string(m) + " of " + std::to_string(memoCount));
        if (!IsMarkerLine(*current))
            throw BadMarker{static_cast<int16_t>(m), std::string(*current)};
        std::string_view digits =
            current->size() > 5 ? current->substr(current->size() - 5) : *current;
        int record = -1;
        try {
            record = ReadInt16(digits);
        } catch (const Overflow16&) {
        }
        if (record < 1 || record > count)
            throw FileFailure{kErrSubscript, "Subscript out of range: the memo marker " +
                                                 Quoted(*current) + " names no record of the set"};
        std::string& memo = records[record].Memo;
        current = ReadUpToMarker(lines, [&](std::string_view memoLine) {
            AddLine(memo, memoLine, memo.empty(), "the memo", record);
        });
        memo.shrink_to_fit();
    }
}

}  // namespace

void ReportDataFileError(KovaUi& ui, int16_t Kind, int16_t Index, const std::string& Line) {
    if (Kind == 1)
        ui.Message("Error in the first line, not starting with ##00000" + QuoteForMessage(Line),
                   kProgramTitle, Icon::None);
    else
        ui.Message("Error in the datafile, see linenumber:" + SignedNumber(Index), kProgramTitle,
                   Icon::None);
}

size_t SavedTextBytes(std::string_view text) {
    return MultiLineBytes(text, false);
}

size_t SavedNumberBytes(long long number) {
    return NumberBytes(number) + kCrLf.size();
}

size_t SavedFieldBytes(int k, std::string_view value) {
    return k == 8 ? SavedTextBytes(value) : SingleLineBytes(value);
}

size_t SavedMemoBytes(std::string_view memo) {
    return memo.empty() ? 0 : kMarkerLineBytes + MultiLineBytes(memo, true);
}

size_t SavedRecordBytes(const ProtocolRecord& r) {
    size_t bytes =
        kMarkerLineBytes + SavedNumberBytes(r.V2) + SavedTextBytes(r.V8) + SavedMemoBytes(r.Memo);
    for (const std::string* field : {&r.V1, &r.V3, &r.V4, &r.V5, &r.V6, &r.V7})
        bytes += SingleLineBytes(*field);
    return bytes;
}

SavedSize::SavedSize(const RecordSet& records, int count, int16_t headerNumber,
                     const std::string& fileInfo) {
    SetFileInfo(fileInfo);
    SetHeaderNumber(headerNumber);
    for (int k = 1; k <= count && static_cast<size_t>(k) < records.size(); ++k)
        Add(records[k]);
}

void SavedSize::SetFileInfo(const std::string& fileInfo) {
    fixedBytes_ = kStartMarker.size() + kCrLf.size() + MultiLineBytes(fileInfo, true) +
                  kEndMarker.size() + kCrLf.size();
}

void SavedSize::SetHeaderNumber(int16_t headerNumber) {
    headerBytes_ = NumberBytes(headerNumber) + kCrLf.size();
}

void SavedSize::Add(const ProtocolRecord& r) {
    recordBytes_ += static_cast<long long>(SavedRecordBytes(r));
    ++records_;
    if (!r.Memo.empty())
        ++memos_;
}

void SavedSize::Grow(long long bytes, long long records, long long memos) {
    recordBytes_ += bytes;
    records_ += records;
    memos_ += memos;
}

void SavedSize::Remove(const ProtocolRecord& r) {
    recordBytes_ -= static_cast<long long>(SavedRecordBytes(r));
    --records_;
    if (!r.Memo.empty())
        --memos_;
}

namespace {

size_t SavedFieldOfRecordBytes(const ProtocolRecord& r, int k) {
    if (k == 2)
        return SavedNumberBytes(r.V2);
    const std::string* field = TextField(r, k);
    return field == nullptr ? 0 : SavedFieldBytes(k, *field);
}

}  // namespace

void SavedSize::RemoveField(const ProtocolRecord& r, int k) {
    recordBytes_ -= static_cast<long long>(SavedFieldOfRecordBytes(r, k));
}

void SavedSize::AddField(const ProtocolRecord& r, int k) {
    recordBytes_ += static_cast<long long>(SavedFieldOfRecordBytes(r, k));
}

size_t SavedSize::Bytes() const {
    // The count line ("count MEMO memos") and, with memos, their section's
    // heading line.
    const long long bytes =
        static_cast<long long>(fixedBytes_ + headerBytes_) + recordBytes_ +
        static_cast<long long>(NumberBytes(records_) + 4 + NumberBytes(memos_) + kCrLf.size()) +
        (memos_ > 0 ? static_cast<long long>(kMemoSection.size() + kCrLf.size()) : 0);
    return bytes < 0 ? 0 : static_cast<size_t>(bytes);
}

size_t SavedSize::BoundBytes() const {
    // Five digits, either sign: FileNumber gives "-32768 " and " 32767 " alike.
    const size_t widestHeaderBytes = NumberBytes(-32768) + kCrLf.size();
    const size_t bytes = Bytes();
    return (bytes > headerBytes_ ? bytes - headerBytes_ : 0) + widestHeaderBytes;
}

size_t SavedFileBytes(const RecordSet& records, int count, int16_t headerNumber,
                      const std::string& fileInfo) {
    return SavedSize(records, count, headerNumber, fileInfo).Bytes();
}

std::string TooLargeToSaveText() {
    return "Saved, the set would be larger than " + SizeInMB(kMaxDataFileBytes) +
           ", the most a data file may hold.";
}

bool SavableAsRead(KovaUi& ui, const std::string& FileName, const RecordSet& Records, int16_t Count,
                   int16_t HeaderNumber, const std::string& FileInfo) {
    // The save's own rule: a file that was saved is opened again.
    const SavedSize saved(Records, Count, HeaderNumber, FileInfo);
    if (saved.Fits())
        return true;
    // Within the bound as it would be saved now, only the room the bound
    // keeps for the widest header number is missing.
    const std::string why =
        saved.Bytes() > kMaxDataFileBytes
            ? "saved again, the records would be larger than " + SizeInMB(kMaxDataFileBytes) +
                  ", the most a data file may hold (a lone line feed in a text is saved as "
                  "CR LF)"
            : "saved again with a five-digit header number (which opening, appending or "
              "merging a file can give every set), the records would be larger than " +
                  SizeInMB(kMaxDataFileBytes) + ", the most a data file may hold";
    ShowFailure(ui, FileFailure{kErrOverflow, "Overflow: " + why +
                                                  ": no change to them could be kept, so the "
                                                  "file is not opened (" +
                                                  FileName + ")"});
    return false;
}

DataFileKind KindOfSet(int16_t set) {
    return set == 3 ? DataFileKind::Filter : DataFileKind::Data;
}

std::string BackupFileName(const std::string& FileName, DataFileKind kind) {
    std::string file;
    // A link the save refuses keeps no backup anywhere else.
    if (FileName.size() < 4 || SavedFileOf(FileName, file))
        file = FileName;
    if (kind == DataFileKind::Filter)
        return file + ".bak";
    return DerivedName(file, ".bak");
}

bool IsKeptBackup(const KovaState& s, const std::string& backup) {
    return std::ranges::any_of(s.KeptBackups,
                               [&](const std::string& kept) { return SameFile(kept, backup); });
}

void KeepBackup(KovaState& s, const std::string& backup) {
    if (!IsKeptBackup(s, backup))
        s.KeptBackups.push_back(backup);
}

bool SaveDataFile(KovaState& s, KovaUi& ui, const std::string& FileName, const RecordSet& Records,
                  int16_t Count, int16_t HeaderNumber, const std::string& FileInfo,
                  DataFileKind kind) {
    long long baseLength = static_cast<long long>(FileName.size()) - 4;
    s.ScratchInteger = static_cast<int16_t>(baseLength > 32767 ? 32767 : baseLength);
    try {
        if (FileName.size() < 4)
            throw FileFailure{kErrBadFileName,
                              "Bad file name or number (" + Quoted(FileName) + ")"};
        if (Count < 0 || static_cast<size_t>(Count) >= Records.size())
            throw FileFailure{kErrSubscript, "Subscript out of range: the set holds no record " +
                                                 std::to_string(Count)};
        // Through a link, the file it leads to is written, and keeps its
        // backup beside it.
        std::string file;
        if (std::error_code ec = SavedFileOf(FileName, file))
            throw FileError(ec, FileName);
        if (PathExists(file) && !IsRegularFile(file))
            throw FileFailure{kErrAccess, "Path/File access error: not a file (" + FileName + ")"};
        // Counted before it is built: a set far past the bound would
        // otherwise take its whole file in memory first.
        const SavedSize saved(Records, Count, HeaderNumber, FileInfo);
        s.MemoCount = static_cast<int16_t>(saved.Memos());

        // The new version goes to a file of its own first: until it is complete
        // the old file and its backup stay as they were.
        const size_t size = saved.Bytes();
        if (!saved.Fits())
            throw FileFailure{kErrOverflow, "Overflow: the file would be larger than " +
                                                SizeInMB(kMaxDataFileBytes) +
                                                ", the most a data file may hold to be opened "
                                                "again (" +
                                                FileName + ")"};
        const std::string bytes =
            BuildFile(Records, Count, s.MemoCount, HeaderNumber, FileInfo, size);
        const bool exists = PathExists(file);
        // The message names what failed: the file as the user named it, or
        // its folder or backup. A backup that holds the only copy of a file
        // read in part is left alone.
        std::string backup = BackupFileName(file, kind);
        if (IsKeptBackup(s, backup))
            backup.clear();
        std::string failed;
        std::error_code ec = ReplaceFile(file, bytes, backup, &failed);
        const std::string& where = failed.empty() ? FileName : failed;
        if (ec == std::errc::file_exists)
            throw FileFailure{kErrAccess,
                              "Path/File access error: no temporary name is free (" + where + ")"};
        if (ec)
            throw FileError(ec, where);
        s.ScratchText = exists ? std::string(FileNamePart(FileName)) : std::string();
        return true;
    } catch (const FileFailure& f) {
        ShowFailure(ui, f);
        return false;
    }
}

bool ReadDataFile(KovaState& s, KovaUi& ui, const std::string& FileName, RecordSet& Records,
                  int16_t& Count, int16_t& HeaderNumber, std::string& FileInfo) {
    WaitWindow wait(ui);
    try {
        std::string data;
        ReadFile(FileName, data);
        LineReader lines(data);
        std::string_view line;
        if (!lines.Next(line) || line != kStartMarker) {
            ReportDataFileError(ui, 1, 0, std::string(line.substr(0, 255)));
            return false;
        }
        DataFileHead head = ReadHead(lines);

        // From here on the caller's set is replaced.
        Records.clear();
        Records.resize(static_cast<size_t>(head.count) + 1);
        for (int k = 1; k <= head.count; ++k)
            Records[k].V0 = static_cast<int16_t>(k);
        Count = head.count;
        HeaderNumber = head.header;
        FileInfo = std::move(head.info);
        s.MemoCount = head.memoCount;

        wait.Show();
        std::optional<std::string_view> marker =
            ReadRecords(lines, head.marker, Records, head.count, wait);
        if (head.memoCount >= 1)
            ReadMemos(lines, marker, Records, head.count, head.memoCount, wait);
        return true;
    } catch (const BadMarker& bad) {
        wait.Hide();
        ReportDataFileError(ui, 2, bad.index, bad.line);
        return false;
    } catch (const FileFailure& f) {
        wait.Hide();
        ShowFailure(ui, f);
        return false;
    }
}

}  // namespace core
