// Data and filter files (".kov", ".fil"): the writer and the reader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "store/record.h"
#include "store/state.h"
#include "store/ui.h"

namespace core {

// The most a data or filter file may hold to be read: the largest text an
// import brings in and the lines around it, with room to spare, and still
// little enough that both data sets, a selection's copy and a save's buffer
// fit the program's memory together.
inline constexpr size_t kMaxDataFileBytes = size_t{80} << 20;

// What record r takes in a data file: its marker, its field lines and, with
// a memo, the memo's marker and lines. A text's lone LF takes two bytes there
// (CR LF), a line that reads as a marker one more (a leading blank), a line
// break in a one-line field one byte (a blank).
size_t SavedRecordBytes(const ProtocolRecord& r);
// Its parts: the lines of a text (V8), the line of a sequence number (V2),
// the line(s) of field k (1..8 but 2) holding `value`, and a memo's marker and
// lines (none for an empty memo).
size_t SavedTextBytes(std::string_view text);
size_t SavedNumberBytes(long long number);
size_t SavedFieldBytes(int k, std::string_view value);
size_t SavedMemoBytes(std::string_view memo);

// The size of the file SaveDataFile writes for a set, kept in parts so that a
// command changing records one by one can follow it without going over the
// whole set again: Remove a record before it changes, Add it after.
class SavedSize {
public:
    SavedSize() = default;
    // Records 1..count of `records` (no more than it holds).
    SavedSize(const RecordSet& records, int count, int16_t headerNumber,
              const std::string& fileInfo);

    void Add(const ProtocolRecord& r);
    void Remove(const ProtocolRecord& r);
    // The same for one field of a record the count holds, for a command that
    // changes a few fields of many records: field k (1..8, 2 the sequence
    // number) of r, removed before it changes and added after.
    void RemoveField(const ProtocolRecord& r, int k);
    void AddField(const ProtocolRecord& r, int k);
    void SetHeaderNumber(int16_t headerNumber);
    void SetFileInfo(const std::string& fileInfo);
    // For a command that counts what it adds before it makes it: `records`
    // more records (`memos` of them with a memo) and `bytes` more in the
    // records' lines (less when negative).
    void Grow(long long bytes, long long records, long long memos);

    // The records the file holds, and those of them with a memo.
    long long Records() const { return records_; }
    long long Memos() const { return memos_; }
    // The file's bytes, exactly.
    size_t Bytes() const;
    // The bytes held against kMaxDataFileBytes: the file's with the header
    // number at its widest. That number is shared by every open set and each
    // open, append and merge changes it, so a set counted with the number it
    // has now could grow past the bound without a change of its own.
    size_t BoundBytes() const;
    // Whether the file may be written and opened again, whatever header
    // number it is saved with.
    bool Fits() const { return BoundBytes() <= kMaxDataFileBytes; }

private:
    long long recordBytes_ = 0;
    long long records_ = 0;
    long long memos_ = 0;
    size_t headerBytes_ = 0;
    size_t fixedBytes_ = 0;  // the first line, the file info, the end line
};

// The size of the file SaveDataFile writes for records 1..count.
size_t SavedFileBytes(const RecordSet& records, int count, int16_t headerNumber,
                      const std::string& fileInfo);

// Why a command that would make a set too large to save changes nothing, as
// its message says it: "Saved, the set would be larger than 80 MB, the most a
// data file may hold."
std::string TooLargeToSaveText();

// What a file written by SaveDataFile holds; it decides the name of its backup.
enum class DataFileKind { Data, Filter };

// The kind of file set `set` (numbered as ViewMode) is saved as: the filter
// lines (3) a filter file, the data sets a data file.
DataFileKind KindOfSet(int16_t set);

// The backup a save of FileName keeps its previous version in. A data file's
// is its name less its extension plus ".bak" (DerivedName: "talk.kov" gives
// "talk.bak", "talk" gives "talk.bak"); a filter file's is its whole name plus ".bak" ("talk.fil"
// gives "talk.fil.bak"), so that a protocol and its filters never share one.
// A data file name shorter than four characters has no backup: throws
// std::invalid_argument. Through a link, the save writes the file the link
// leads to (SavedFileOf), and the backup is that file's, beside it.
std::string BackupFileName(const std::string& FileName, DataFileKind kind);

// Whether `backup` is one of KeptBackups (the same file, whatever the
// spelling), which SaveDataFile never replaces; KeepBackup adds it.
bool IsKeptBackup(const KovaState& s, const std::string& backup);
void KeepBackup(KovaState& s, const std::string& backup);

// Writes records 1..Count to FileName (through a link, to the file it leads
// to): its backup (above) is replaced by the previous file and the new file
// takes its place only once it is complete and on the disk. A backup that is
// kept (IsKeptBackup) stays as it is, and the previous file is not kept. A
// new file leaves whatever stands at its backup's name alone: that is no
// version of it. A set that does not fit (SavedSize::Fits), whose file could
// not be opened again, is refused before anything is built or written. On failure
// shows the "Error # " message and returns false; the file on disk and its
// backup are then as they were.
bool SaveDataFile(KovaState& s, KovaUi& ui, const std::string& FileName, const RecordSet& Records,
                  int16_t Count, int16_t HeaderNumber, const std::string& FileInfo,
                  DataFileKind kind = DataFileKind::Data);

// True when records 1..Count, read from FileName, can be saved again; else
// shows the message that refuses the file (naming the bound) and returns
// false: the rule is the save's (SavedSize::Fits). A file within
// kMaxDataFileBytes may still make a larger set: the reader makes every lone
// LF of a text a CR LF, and the header number is counted at its widest, so a
// file of exactly kMaxDataFileBytes opens only with a five-digit one. The
// message tells the two apart: a set larger than the bound as it would be
// saved now, or one that only the widest header number takes past it.
bool SavableAsRead(KovaUi& ui, const std::string& FileName, const RecordSet& Records, int16_t Count,
                   int16_t HeaderNumber, const std::string& FileInfo);

// Reads FileName into Records/Count/HeaderNumber/FileInfo, showing the wait
// window. Returns false (after showing the message) when the file was bad.
// When the file cannot be read, is longer than kMaxDataFileBytes (refused
// before it is read) or its first three lines are bad, the outputs
// are left untouched. Past that point they hold the file's count, header
// number and file info, every record numbered by its position (V0 = index),
// the records read before the fault filled and the others empty. A field (the
// file info, a text of several lines, a memo) longer than kMaxFieldBytes is
// such a fault.
bool ReadDataFile(KovaState& s, KovaUi& ui, const std::string& FileName, RecordSet& Records,
                  int16_t& Count, int16_t& HeaderNumber, std::string& FileInfo);

// The reader's message for a bad first line (Kind 1, with the line) or a bad
// record or memo marker (Kind 2, with the record number or memo ordinal).
void ReportDataFileError(KovaUi& ui, int16_t Kind, int16_t Index, const std::string& Line);

}  // namespace core
