#include "mainwindow/memo_edit.h"

#include "mainwindow/navigation.h"
#include "store/record_edit.h"
#include "store/view.h"

namespace core {

namespace {

int16_t CountOfSet(const KovaState& s, int16_t set) {
    return set == 1 ? s.RecordCount1 : set == 2 ? s.RecordCount2 : s.FilterCount;
}

int16_t SelectionOfSet(const KovaState& s, int16_t set) {
    return set == 1 ? s.SelectionShown1 : s.SelectionShown2;
}

uint64_t ChangesOfSet(const KovaState& s, int16_t set) {
    return set == 1 ? s.ChangeCount1 : s.ChangeCount2;
}

const RecordSet& RecordsOfSet(const KovaState& s, int16_t set) {
    return set == 1 ? s.Records1 : s.Records2;
}

std::string* FileInfoOf(KovaState& s, int16_t set) {
    return set == 1 ? &s.FileInfo1 : set == 2 ? &s.FileInfo2 : &s.FilterFileInfo;
}

// The record the target names, when it is still where it was.
ProtocolRecord* TargetRecord(KovaState& s, const MemoTarget& t) {
    if (t.set < 1 || t.set > 3)
        return nullptr;
    if (FileNameOfSet(s, t.set) != t.fileName || SelectionOfSet(s, t.set) != t.selectionShown ||
        CountOfSet(s, t.set) != t.count || ChangesOfSet(s, t.set) != t.changes)
        return nullptr;
    RecordSet& records = t.set == 1 ? s.Records1 : s.Records2;
    if (t.position < 1 || t.position > t.count || t.position >= static_cast<int>(records.size()))
        return nullptr;
    if (records[t.position].V0 != t.number)
        return nullptr;
    return &records[t.position];
}

}  // namespace

MemoTarget MemoTargetForPosition(const KovaState& s, int16_t position, int16_t row) {
    return MemoTargetForSetPosition(s, s.ViewMode, position, row);
}

MemoTarget MemoTargetForSetPosition(const KovaState& s, int16_t set, int16_t position,
                                    int16_t row) {
    MemoTarget t;
    if (set < 1 || set > 3)
        return t;
    t.set = set;
    t.count = CountOfSet(s, t.set);
    const RecordSet& records = RecordsOfSet(s, t.set);
    if (position < 1 || position > t.count || position >= static_cast<int>(records.size()))
        return t;
    t.valid = true;
    t.fileName = FileNameOfSet(s, t.set);
    t.selectionShown = SelectionOfSet(s, t.set);
    t.position = position;
    t.number = records[position].V0;
    t.row = row;
    t.changes = ChangesOfSet(s, t.set);
    t.caption = "Memo at " + std::to_string(t.number);
    return t;
}

MemoTarget MemoTargetForRow(const KovaState& s, int row) {
    return MemoTargetForPosition(s, RowPosition(s, row), static_cast<int16_t>(row));
}

MemoTarget MemoTargetForCurrent(const KovaState& s) {
    if (s.ViewMode < 1 || s.ViewMode > 3)
        return MemoTarget{};
    return MemoTargetForPosition(s, ShownPosition(const_cast<KovaState&>(s)), s.DisplayRows);
}

MemoTarget FileInfoTarget(const KovaState& s) {
    MemoTarget t;
    if (s.ViewMode < 1 || s.ViewMode > 3)
        return t;
    t.valid = true;
    t.fileInfo = true;
    t.set = s.ViewMode;
    t.fileName = FileNameOfSet(s, t.set);
    t.caption = "File info: " + t.fileName;
    return t;
}

std::string MemoTargetText(const KovaState& s, const MemoTarget& t) {
    if (!t.valid)
        return std::string();
    if (t.fileInfo)
        return *FileInfoOf(const_cast<KovaState&>(s), t.set);
    const RecordSet& records = RecordsOfSet(s, t.set);
    if (t.position < static_cast<int>(records.size()))
        return records[t.position].Memo;
    return std::string();
}

MemoStore StoreMemo(KovaState& s, KovaUi& ui, const MemoTarget& t, bool deleteIt,
                    const std::string& text) {
    if (deleteIt && ui.AskYesNo("Are you sure that you want to delete this memo or file info?",
                                kProgramTitle) != Answer::Yes)
        return MemoStore::Kept;
    if (!t.valid)
        return MemoStore::Stored;
    if (t.fileInfo) {
        // An empty file info is the file's name.
        const std::string info = deleteIt || text.empty() ? FileNameOfSet(s, t.set) : text;
        if (!FitsFieldWrite(s, ui, t.set, FieldGrowth{}, &info))
            return MemoStore::Refused;
        *FileInfoOf(s, t.set) = info;
        return MemoStore::Stored;
    }
    ProtocolRecord* record = TargetRecord(s, t);
    if (record == nullptr) {
        ui.Message("The record this memo was opened on (number " + std::to_string(t.number) +
                       ") has been moved or removed since. The memo was not stored: copy its "
                       "text and open the memo again on the record.",
                   kProgramTitle, Icon::Exclamation);
        return MemoStore::Refused;
    }
    const std::string_view memo = deleteIt ? std::string_view() : std::string_view(text);
    FieldGrowth growth;
    growth.Memo(*record, memo);
    if (!FitsFieldWrite(s, ui, t.set, growth))
        return MemoStore::Refused;
    record->Memo = memo;
    // Mark the row only while the page still shows this record on it.
    if (s.ActiveWindowName == "kova" && s.ViewMode == t.set && t.row >= 1 &&
        t.row <= s.DisplayRows && (deleteIt || !text.empty()) &&
        ShownPosition(s) - (s.DisplayRows - t.row) == t.position) {
        if (t.row == s.DisplayRows)
            s.Main.text1Colour = deleteIt ? kWhite : kPaleYellow;
        else
            s.Main.rows[t.row].labColour = deleteIt ? kVeryPaleYellow : kPaleYellow;
        ui.MainChanged();
    }
    return MemoStore::Stored;
}

}  // namespace core
