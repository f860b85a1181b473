// Record operations shared by the editing commands and the filters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "store/data_file.h"
#include "store/record.h"
#include "store/state.h"
#include "store/ui.h"

namespace core {

// One record set as the editing operations see it: its records, count,
// current position and change counter, and which set it is (1 data set 1,
// 2 data set 2, 3 filter lines), which decides what a new record holds, which
// page is redrawn and whether a split renumbers the sequencer.
struct EditSet {
    RecordSet& records;
    int16_t& count;
    int16_t& current;
    uint64_t& changes;
    int16_t set;
};

EditSet DataSet1(KovaState& s);
EditSet DataSet2(KovaState& s);
EditSet FilterLines(KovaState& s);

// Brings the window up to a change of the set's records: the scroll bars take
// its count, `position` becomes current, the page is redrawn there and the
// counter shows the count.
void ShowEditedSet(KovaState& s, KovaUi& ui, EditSet set, int position);

// The record that an add puts into the set: data set 1 V2 = 1, data set 2
// V2 = 0, a filter line "*" in every text cell and V2 = 0.
ProtocolRecord NewRecord(int16_t set);

// The editing operations. Each keeps V0 equal to the position, counts the
// change in the set's change counter and brings the window up to date (scroll
// bars, current position, page, counter). An operation that would make the
// set pass 32767 records, or too large to be saved (kMaxDataFileBytes), shows
// a message and changes nothing (returns false). A join never makes a set
// larger: the record that goes takes more lines than the blank it leaves.

// A new record after the current one; it becomes current.
bool AddRecords(KovaState& s, KovaUi& ui, EditSet set);
// Records From..To go to the record clipboard and leave the set; the record
// that followed them becomes current. A range outside 1..count does nothing.
void DeleteRecords(KovaState& s, KovaUi& ui, EditSet set, int16_t From, int16_t To);
// The clipboard's records after the current one; the last of them becomes
// current. The clipboard stays as it is.
bool InsertRecords(KovaState& s, KovaUi& ui, EditSet set);
// The current record's text goes after the previous record's text (both
// trimmed, one blank between), its memo after the previous record's memo (a
// line break between); the current record leaves the set.
void JoinRecords(KovaState& s, KovaUi& ui, EditSet set);
// The current record's text is cut at byte `caret` of its V8 into two
// records (and every "///" from there on splits as well); the second piece
// becomes current. Data set 1 then renumbers its sequencer. A caret at
// either end of the text as shown (trimmed) does nothing.
bool SplitRecord(KovaState& s, KovaUi& ui, EditSet set, size_t caret);
// Records From..To copied into the record clipboard; a range outside
// 1..count does nothing.
void CopyRecordsToClipboard(KovaState& s, EditSet set, int16_t From, int16_t To);

// The same operations under the names the main window's buttons use.
bool AddRecordData1(KovaState& s, KovaUi& ui);
bool AddRecordData2(KovaState& s, KovaUi& ui);
bool AddFilterLine(KovaState& s, KovaUi& ui);
void DeleteRecordsData1(KovaState& s, KovaUi& ui, int16_t& FromRec, int16_t& ToRec);
void DeleteRecordsData2(KovaState& s, KovaUi& ui, int16_t& FromRec, int16_t& ToRec);
void DeleteFilterLines(KovaState& s, KovaUi& ui, int16_t& FromRec, int16_t& ToRec);
bool InsertRecordsData1(KovaState& s, KovaUi& ui);
bool InsertRecordsData2(KovaState& s, KovaUi& ui);
bool InsertFilterLines(KovaState& s, KovaUi& ui);
void JoinRecordsData1(KovaState& s, KovaUi& ui);
void JoinRecordsData2(KovaState& s, KovaUi& ui);
bool SplitRecordData1(KovaState& s, KovaUi& ui, size_t caret);
bool SplitRecordData2(KovaState& s, KovaUi& ui, size_t caret);
void CopyData1RecordsToClipboard(KovaState& s, int16_t& FromRec, int16_t& ToRec);
void CopyData2RecordsToClipboard(KovaState& s, int16_t& FromRec, int16_t& ToRec);
void CopyFilterLinesToClipboard(KovaState& s, int16_t& FromRec, int16_t& ToRec);

// Whether the set, saved at `size`, still fits a data file; else shows the
// message that nothing was changed (the bound named) and returns false.
bool FitsDataFile(KovaUi& ui, const SavedSize& size);

// What a write of fields of records a set already holds adds to the set's
// saved size, field by field (less when negative).
struct FieldGrowth {
    long long bytes = 0;
    long long memos = 0;  // records that gain a memo (negative: lose one)

    // Field k (1, 3..8) of r takes `value`.
    void Field(const ProtocolRecord& r, int k, std::string_view value);
    // V2 of r takes `value`.
    void Number(const ProtocolRecord& r, long long value);
    // The memo of r becomes `memo`.
    void Memo(const ProtocolRecord& r, std::string_view memo);
    bool Grows() const { return bytes > 0 || memos > 0; }
};

// The check of every command that writes fields of records set `set`
// (numbered as ViewMode) holds, made before anything changes; `fileInfo`, when
// given, is the set's file info as the write leaves it. A write that makes the
// set no larger passes uncounted. A larger one is counted against the set as
// SaveCurrentFile saves it (behind a selection the full set) and, when the set
// would no longer fit a data file, refused with FitsDataFile's message.
bool FitsFieldWrite(KovaState& s, KovaUi& ui, int16_t set, const FieldGrowth& growth,
                    const std::string* fileInfo = nullptr);

// FitsFieldWrite for the text box, which stores at every key: a text
// `growth` bytes larger (saved) in the shown set. The room the set has left is
// counted once and then followed (TextBoxRoom) while the page stays as it is
// and no other write is checked.
bool FitsTextBoxWrite(KovaState& s, KovaUi& ui, long long growth);

// What a split must leave a set that is to be saved: the set's saved size,
// which a split keeps up to date, and whether NumberSequence numbers the
// whole set afterwards (data set 1), which decides the sequence numbers saved.
struct SplitSizeCheck {
    SavedSize& size;
    bool renumbered = false;
    bool refused = false;  // the split was refused: the set would not fit
};

// Cuts every record From..Count whose trimmed V8 holds Separator into pieces:
// the trimmed text before each occurrence (even when empty) and the trimmed
// rest when not empty, each a copy of the record with V2 counting up from its
// V2. Records From.. get their new positions as V0; Count becomes the new
// count. Fails (returns false, nothing changed) when the set would pass the
// record limit or a piece's V2 would pass 32767, and with a Check, when the
// pieces would make the set too large to be saved (counted before any piece
// is made). An empty Separator, or From outside 1..Count, changes nothing and
// is no failure (true).
bool SplitRecordsAtSeparator(KovaState& s, RecordSet& Records, int16_t From, int16_t& Count,
                             const std::string& Separator, SplitSizeCheck* Check = nullptr);

// Recomputes V2 of data set 1 (view mode 1 only) and redraws its page.
void RenumberSequencer(KovaState& s, KovaUi& ui);

// The numbering of RenumberSequencer over records 1..Count of any set: V2 is 1
// at the first record, at a new non-empty time code V1 or a new actor V3, and
// the previous V2 + 1 while the actor repeats under the same (or an empty) V1.
void NumberSequence(RecordSet& Records, int16_t Count);
// What NumberSequence would add to the saved size of records 1..Count.
long long NumberSequenceGrowth(const RecordSet& Records, int16_t Count);

}  // namespace core
