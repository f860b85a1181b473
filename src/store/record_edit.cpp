#include "store/record_edit.h"

#include <algorithm>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "store/open_save.h"
#include "store/text.h"
#include "store/view.h"

namespace core {

namespace {

// The pieces of `text` at every `separator`: the text before each occurrence,
// and the rest after the last one when it is not empty, each trimmed. Empty
// when the text holds no separator.
std::vector<std::string> SplitPieces(const std::string& text, const std::string& separator) {
    std::vector<std::string> pieces;
    std::string rest = Trim(text);
    size_t p = rest.find(separator);
    if (p == std::string::npos) {
        return pieces;
    }
    while (p != std::string::npos) {
        pieces.push_back(Trim(std::string_view(rest).substr(0, p)));
        rest.erase(0, p + separator.size());
        p = rest.find(separator);
        if (p == std::string::npos && !rest.empty()) {
            pieces.push_back(Trim(rest));
        }
    }
    return pieces;
}

// Tells why an edit was refused: it changed nothing.
void RefuseEdit(KovaUi& ui, const std::string& why) {
    ui.Message(why + " Nothing was changed.", kProgramTitle, Icon::Exclamation);
}

// NumberSequence's rule: the sequence number of `r` after `previous`, which
// was numbered `previousV2` (no previous record: the set's first).
int NextSequenceNumber(const ProtocolRecord* previous, int previousV2, const ProtocolRecord& r) {
    if (previous == nullptr || (!r.V1.empty() && r.V1 != previous->V1))
        return 1;
    return r.V3 == previous->V3 ? previousV2 + 1 : 1;
}

// The pieces of each record a split cuts, by the record's index, in order.
using Splits = std::vector<std::pair<int, std::vector<std::string>>>;

// What NumberSequence adds to the saved size of records 1..count (less when
// negative) when it runs after a split that cut each record listed in
// `splits` into its pieces.
long long RenumberingGrowth(const RecordSet& records, int count, const Splits& splits) {
    long long bytes = 0;
    const ProtocolRecord* previous = nullptr;
    int v2 = 0;
    size_t next = 0;
    for (int i = 1; i <= count; ++i) {
        bytes -= static_cast<long long>(SavedNumberBytes(records[i].V2));
        size_t copies = 1;
        if (next < splits.size() && splits[next].first == i)
            copies = splits[next++].second.size();
        for (size_t c = 0; c < copies; ++c) {
            v2 = NextSequenceNumber(previous, v2, records[i]);
            previous = &records[i];
            bytes += static_cast<long long>(SavedNumberBytes(v2));
        }
    }
    return bytes;
}

// What the split below adds to the set's saved `size`, counted from the
// pieces' texts alone: every piece takes its record's other lines and memo
// again. `renumbered`: NumberSequence numbers the set afterwards.
void CountSplit(SavedSize& size, bool renumbered, const RecordSet& records, int count,
                const Splits& splits) {
    long long bytes = 0, added = 0, memos = 0;
    for (const auto& [i, pieces] : splits) {
        const ProtocolRecord& r = records[i];
        const long long text = static_cast<long long>(SavedTextBytes(r.V8));
        const long long number = static_cast<long long>(SavedNumberBytes(r.V2));
        const long long rest = static_cast<long long>(SavedRecordBytes(r)) - text - number;
        const long long more = static_cast<long long>(pieces.size()) - 1;
        bytes += more * rest - text;
        for (size_t k = 0; k < pieces.size(); ++k) {
            bytes += static_cast<long long>(SavedTextBytes(pieces[k]));
            if (!renumbered)
                bytes += static_cast<long long>(SavedNumberBytes(r.V2 + static_cast<long long>(k)));
        }
        if (!renumbered)
            bytes -= number;
        added += more;
        if (!r.Memo.empty())
            memos += more;
    }
    if (renumbered)
        bytes += RenumberingGrowth(records, count, splits);
    size.Grow(bytes, added, memos);
}

// The set's array holds its count: anything else is not a set to edit.
bool Whole(const EditSet& set) {
    return set.count >= 0 && set.records.size() >= static_cast<size_t>(set.count) + 1;
}

// Whether the set can take `added` behind its records: no more records than
// a set holds, and still small enough to be saved. Else a message says why.
bool FitsAdded(const KovaState& s, KovaUi& ui, const EditSet& set,
               std::span<const ProtocolRecord> added) {
    const long long newCount = set.count + static_cast<long long>(added.size());
    if (newCount > kMaxRecords) {
        RefuseEdit(ui, "A record set holds at most " + std::to_string(kMaxRecords) +
                           " records; this would make " + std::to_string(newCount) + ".");
        return false;
    }
    SavedSize size = SavedSizeOfSet(s, set.set);
    for (const ProtocolRecord& r : added)
        size.Add(r);
    return FitsDataFile(ui, size);
}

void Redraw(KovaState& s, KovaUi& ui, EditSet set) {
    if (set.set == 1)
        RefreshRecordList1(s, ui, set.current);
    else
        RefreshRecordList2(s, ui, set.current);
}

void ScrollRangeAndCounter(KovaState& s, EditSet set) {
    s.Main.scrollMin = 1;
    s.Main.scrollMax = set.count;
    s.Main.scrollEnabled = set.count > 0;
    s.Main.Teller.caption = PlainNumber(set.count);
}

void Renumber(RecordSet& records, int from, int to) {
    for (int i = from; i <= to; ++i)
        records[i].V0 = static_cast<int16_t>(i);
}

}  // namespace

bool FitsDataFile(KovaUi& ui, const SavedSize& size) {
    if (size.Fits())
        return true;
    RefuseEdit(ui, TooLargeToSaveText());
    return false;
}

void FieldGrowth::Field(const ProtocolRecord& r, int k, std::string_view value) {
    const std::string* field = TextField(r, k);
    if (field == nullptr || k == 2)
        return;
    bytes += static_cast<long long>(SavedFieldBytes(k, value)) -
             static_cast<long long>(SavedFieldBytes(k, *field));
}

void FieldGrowth::Number(const ProtocolRecord& r, long long value) {
    bytes += static_cast<long long>(SavedNumberBytes(value)) -
             static_cast<long long>(SavedNumberBytes(r.V2));
}

void FieldGrowth::Memo(const ProtocolRecord& r, std::string_view memo) {
    bytes += static_cast<long long>(SavedMemoBytes(memo)) -
             static_cast<long long>(SavedMemoBytes(r.Memo));
    memos += (memo.empty() ? 0 : 1) - (r.Memo.empty() ? 0 : 1);
}

bool FitsFieldWrite(KovaState& s, KovaUi& ui, int16_t set, const FieldGrowth& growth,
                    const std::string* fileInfo) {
    // What the text box counted no longer holds once another write is made.
    s.TextBoxRoom.reset();
    if (!growth.Grows() && fileInfo == nullptr)
        return true;
    SavedSize size = SavedSizeOfSet(s, set);
    const size_t before = size.Bytes();
    size.Grow(growth.bytes, 0, growth.memos);
    if (fileInfo != nullptr)
        size.SetFileInfo(*fileInfo);
    return size.Bytes() <= before || FitsDataFile(ui, size);
}

bool FitsTextBoxWrite(KovaState& s, KovaUi& ui, long long growth) {
    std::optional<size_t>& room = s.TextBoxRoom;
    if (room && growth <= static_cast<long long>(*room)) {
        *room = static_cast<size_t>(static_cast<long long>(*room) - growth);
        return true;
    }
    if (growth <= 0)
        return true;
    SavedSize size = SavedSizeOfSet(s, s.ViewMode);
    size.Grow(growth, 0, 0);
    if (!FitsDataFile(ui, size)) {
        room.reset();
        return false;
    }
    room = kMaxDataFileBytes - size.BoundBytes();
    return true;
}

void ShowEditedSet(KovaState& s, KovaUi& ui, EditSet set, int position) {
    ScrollRangeAndCounter(s, set);
    set.current = static_cast<int16_t>(position);
    Redraw(s, ui, set);
    s.Main.scrollValue = set.current;
    ui.MainChanged();
}

EditSet DataSet1(KovaState& s) {
    return {s.Records1, s.RecordCount1, s.CurrentRecord1, s.ChangeCount1, 1};
}

EditSet DataSet2(KovaState& s) {
    return {s.Records2, s.RecordCount2, s.CurrentRecord2, s.ChangeCount2, 2};
}

EditSet FilterLines(KovaState& s) {
    return {s.Records2, s.FilterCount, s.CurrentFilterLine, s.ChangeCount2, 3};
}

ProtocolRecord NewRecord(int16_t set) {
    ProtocolRecord r;
    if (set == 1)
        r.V2 = 1;
    if (set == 3) {
        for (int k : {1, 3, 4, 5, 6, 7, 8})
            *TextField(r, k) = "*";
    }
    return r;
}

bool AddRecords(KovaState& s, KovaUi& ui, EditSet set) {
    const ProtocolRecord added = NewRecord(set.set);
    if (!Whole(set) || !FitsAdded(s, ui, set, {&added, 1}))
        return false;
    const int at = std::clamp<int>(set.current, 0, set.count) + 1;
    s.RecordBuffer1 = added;
    set.records.resize(static_cast<size_t>(set.count) + 1);
    set.records.insert(set.records.begin() + at, s.RecordBuffer1);
    set.count = static_cast<int16_t>(set.count + 1);
    Renumber(set.records, at, set.count);
    ++set.changes;
    ShowEditedSet(s, ui, set, at);
    return true;
}

void DeleteRecords(KovaState& s, KovaUi& ui, EditSet set, int16_t From, int16_t To) {
    if (!Whole(set) || From < 1 || To > set.count || From > To)
        return;
    const int n = To - From + 1;
    s.RecordClipboard.assign(1, ProtocolRecord{});
    s.RecordClipboard.insert(s.RecordClipboard.end(), set.records.begin() + From,
                             set.records.begin() + To + 1);
    s.ClipboardCount = static_cast<int16_t>(n);
    set.records.resize(static_cast<size_t>(set.count) + 1);
    set.records.erase(set.records.begin() + From, set.records.begin() + To + 1);
    set.count = static_cast<int16_t>(set.count - n);
    Renumber(set.records, From, set.count);
    ++set.changes;
    int position = std::max<int>(From, 1);
    if (position > set.count)
        position = set.count;
    ShowEditedSet(s, ui, set, position);
}

bool InsertRecords(KovaState& s, KovaUi& ui, EditSet set) {
    if (!Whole(set))
        return false;
    const int n = std::min<int>(s.ClipboardCount, static_cast<int>(s.RecordClipboard.size()) - 1);
    if (n > 0 && !FitsAdded(s, ui, set, std::span(s.RecordClipboard).subspan(1, n)))
        return false;
    const int current = std::clamp<int>(set.current, 0, set.count);
    if (n > 0) {
        set.records.resize(static_cast<size_t>(set.count) + 1);
        set.records.insert(set.records.begin() + current + 1, s.RecordClipboard.begin() + 1,
                           s.RecordClipboard.begin() + n + 1);
        set.count = static_cast<int16_t>(set.count + n);
        Renumber(set.records, current + 1, set.count);
        ++set.changes;
    }
    ShowEditedSet(s, ui, set, current + std::max(n, 0));
    return true;
}

void JoinRecords(KovaState& s, KovaUi& ui, EditSet set) {
    if (!Whole(set) || set.current < 2 || set.current > set.count)
        return;
    const int current = set.current;
    ProtocolRecord& previous = set.records[current - 1];
    const ProtocolRecord& joined = set.records[current];
    std::string text = Trim(previous.V8) + " " + Trim(joined.V8);
    // A field past the most a field holds could not be read back once saved.
    if (text.size() > kMaxFieldBytes ||
        previous.Memo.size() + (previous.Memo.empty() ? 0 : 2) + joined.Memo.size() >
            kMaxFieldBytes) {
        ui.Message("The joined record's text or memo would be " + LongerThanAFieldText() +
                       ". Nothing was joined.",
                   kProgramTitle, Icon::Exclamation);
        return;
    }
    s.ScratchText = std::move(text);
    previous.V8 = s.ScratchText;
    // The memo is the user's own note: it goes along, on a line of its own.
    if (!joined.Memo.empty())
        previous.Memo += (previous.Memo.empty() ? "" : "\r\n") + joined.Memo;
    set.records.resize(static_cast<size_t>(set.count) + 1);
    set.records.erase(set.records.begin() + current);
    set.count = static_cast<int16_t>(set.count - 1);
    Renumber(set.records, current, set.count);
    ++set.changes;
    ShowEditedSet(s, ui, set, current - 1);
}

bool SplitRecord(KovaState& s, KovaUi& ui, EditSet set, size_t caret) {
    if (!Whole(set) || set.set == 3 || set.current < 1 || set.current > set.count)
        return false;
    std::string& text = set.records[set.current].V8;
    // The ends are those of the text as the box shows it, without its
    // leading and trailing blanks: a cut among them would make an empty
    // record, or none at all.
    const size_t start = text.size() - TrimLeft(text).size();
    const size_t end = start + Trim(text).size();
    if (caret <= start || caret >= end)
        return false;
    const std::string before = text;
    text.insert(caret, "///");
    SavedSize size = SavedSizeOfSet(s, set.set);
    SplitSizeCheck check{size, set.set == 1};
    if (!SplitRecordsAtSeparator(s, set.records, set.current, set.count, "///", &check)) {
        set.records[set.current].V8 = before;
        RefuseEdit(ui, check.refused ? TooLargeToSaveText()
                                     : "Splitting here would make the record set pass " +
                                           std::to_string(kMaxRecords) +
                                           " records, or a sequence number pass 32767.");
        return false;
    }
    ++set.changes;
    if (set.current < set.count)
        set.current = static_cast<int16_t>(set.current + 1);
    ScrollRangeAndCounter(s, set);
    if (set.set == 1) {
        s.Main.scrollValue = set.current;
        RenumberSequencer(s, ui);
    } else {
        Redraw(s, ui, set);
        s.Main.scrollValue = set.current;
    }
    ui.MainChanged();
    return true;
}

void CopyRecordsToClipboard(KovaState& s, EditSet set, int16_t From, int16_t To) {
    if (!Whole(set) || From < 1 || To > set.count || From > To)
        return;
    s.RecordClipboard.assign(1, ProtocolRecord{});
    s.RecordClipboard.insert(s.RecordClipboard.end(), set.records.begin() + From,
                             set.records.begin() + To + 1);
    s.ClipboardCount = static_cast<int16_t>(To - From + 1);
}

bool AddRecordData1(KovaState& s, KovaUi& ui) {
    return AddRecords(s, ui, DataSet1(s));
}
bool AddRecordData2(KovaState& s, KovaUi& ui) {
    return AddRecords(s, ui, DataSet2(s));
}
bool AddFilterLine(KovaState& s, KovaUi& ui) {
    return AddRecords(s, ui, FilterLines(s));
}
void DeleteRecordsData1(KovaState& s, KovaUi& ui, int16_t& FromRec, int16_t& ToRec) {
    DeleteRecords(s, ui, DataSet1(s), FromRec, ToRec);
}
void DeleteRecordsData2(KovaState& s, KovaUi& ui, int16_t& FromRec, int16_t& ToRec) {
    DeleteRecords(s, ui, DataSet2(s), FromRec, ToRec);
}
void DeleteFilterLines(KovaState& s, KovaUi& ui, int16_t& FromRec, int16_t& ToRec) {
    DeleteRecords(s, ui, FilterLines(s), FromRec, ToRec);
}
bool InsertRecordsData1(KovaState& s, KovaUi& ui) {
    return InsertRecords(s, ui, DataSet1(s));
}
bool InsertRecordsData2(KovaState& s, KovaUi& ui) {
    return InsertRecords(s, ui, DataSet2(s));
}
bool InsertFilterLines(KovaState& s, KovaUi& ui) {
    return InsertRecords(s, ui, FilterLines(s));
}
void JoinRecordsData1(KovaState& s, KovaUi& ui) {
    JoinRecords(s, ui, DataSet1(s));
}
void JoinRecordsData2(KovaState& s, KovaUi& ui) {
    JoinRecords(s, ui, DataSet2(s));
}
bool SplitRecordData1(KovaState& s, KovaUi& ui, size_t caret) {
    return SplitRecord(s, ui, DataSet1(s), caret);
}
bool SplitRecordData2(KovaState& s, KovaUi& ui, size_t caret) {
    return SplitRecord(s, ui, DataSet2(s), caret);
}
void CopyData1RecordsToClipboard(KovaState& s, int16_t& FromRec, int16_t& ToRec) {
    CopyRecordsToClipboard(s, DataSet1(s), FromRec, ToRec);
}
void CopyData2RecordsToClipboard(KovaState& s, int16_t& FromRec, int16_t& ToRec) {
    CopyRecordsToClipboard(s, DataSet2(s), FromRec, ToRec);
}
void CopyFilterLinesToClipboard(KovaState& s, int16_t& FromRec, int16_t& ToRec) {
    CopyRecordsToClipboard(s, FilterLines(s), FromRec, ToRec);
}

bool SplitRecordsAtSeparator(KovaState& /*s*/, RecordSet& Records, int16_t From, int16_t& Count,
                             const std::string& Separator, SplitSizeCheck* Check) {
    if (Count < 0 || Records.size() < static_cast<size_t>(Count) + 1) {
        return false;  // not a whole set: touch nothing
    }
    if (Separator.empty() || From < 1 || From > Count) {
        return true;
    }
    // First find every split and check the limits, so a refused split leaves
    // the set exactly as it was.
    Splits splits;
    long long total = 0;
    for (int i = From; i <= Count; ++i) {
        std::vector<std::string> pieces = SplitPieces(Records[i].V8, Separator);
        if (pieces.empty()) {
            ++total;
            continue;
        }
        total += static_cast<long long>(pieces.size());
        if (Records[i].V2 + static_cast<long long>(pieces.size()) - 1 > 32767) {
            return false;
        }
        splits.emplace_back(i, std::move(pieces));
    }
    if (From - 1 + total > kMaxRecords) {
        return false;
    }
    if (Check != nullptr && !splits.empty()) {
        SavedSize size = Check->size;
        CountSplit(size, Check->renumbered, Records, Count, splits);
        if (!size.Fits()) {
            Check->refused = true;
            return false;
        }
        Check->size = size;
    }

    if (!splits.empty()) {
        RecordSet tail;
        tail.reserve(static_cast<size_t>(total));
        size_t next = 0;
        for (int i = From; i <= Count; ++i) {
            if (next < splits.size() && splits[next].first == i) {
                int v2 = Records[i].V2;
                for (std::string& piece : splits[next].second) {
                    ProtocolRecord r = Records[i];
                    r.V8 = std::move(piece);
                    r.V2 = static_cast<int16_t>(v2++);
                    tail.push_back(std::move(r));
                }
                ++next;
            } else {
                tail.push_back(std::move(Records[i]));
            }
        }
        Records.resize(static_cast<size_t>(From));
        for (ProtocolRecord& r : tail) {
            Records.push_back(std::move(r));
        }
    }
    Count = static_cast<int16_t>(From - 1 + total);
    Records.resize(static_cast<size_t>(Count) + 1);
    for (int i = From; i <= Count; ++i) {
        Records[i].V0 = static_cast<int16_t>(i);
    }
    return true;
}

long long NumberSequenceGrowth(const RecordSet& Records, int16_t Count) {
    return RenumberingGrowth(Records, std::min<int>(Count, static_cast<int>(Records.size()) - 1),
                             {});
}

void NumberSequence(RecordSet& Records, int16_t Count) {
    const int last = std::min<int>(Count, static_cast<int>(Records.size()) - 1);
    for (int i = 1; i <= last; ++i) {
        const ProtocolRecord* previous = i == 1 ? nullptr : &Records[i - 1];
        // A run is never longer than the set, so this stays within 16 bits.
        Records[i].V2 = static_cast<int16_t>(
            NextSequenceNumber(previous, previous ? previous->V2 : 0, Records[i]));
    }
}

}  // namespace core
