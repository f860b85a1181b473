#include "store/open_save.h"

#include <algorithm>

#include "store/data_file.h"
#include "store/file_access.h"
#include "store/open_files.h"
#include "store/selection_store.h"
#include "store/text.h"
#include "store/view.h"

namespace core {

namespace {

// Anything of that name on disk, a folder too: only a free name makes a new
// set, so that a folder reaches the reader and is reported there.
bool IsExistingFile(const std::string& name) {
    return PathExists(name);
}

// Reads into a scratch set so that a file that fails in its first lines (or
// cannot be read at all) leaves the open set as it was. A file that fails
// further on is taken as far as it was read, as after a good read: the set,
// its count and information line, and the header number are replaced.
// `incomplete` tells whether the read stopped at an error (the set then holds
// less than its file), `fileMemos` how many memos the file's head counts.
bool ReadForOpen(KovaState& s, KovaUi& ui, const std::string& name, RecordSet& set, int16_t& count,
                 std::string& info, bool& incomplete, int16_t& fileMemos) {
    RecordSet records;
    int16_t readCount = -1;  // stays negative while the set is still untouched
    int16_t header = s.FileHeaderNumber;
    std::string readInfo;
    const bool complete = ReadDataFile(s, ui, name, records, readCount, header, readInfo);
    if (readCount < 0 || !SavableAsRead(ui, name, records, readCount, header, readInfo))
        return false;
    set = std::move(records);
    count = readCount;
    s.FileHeaderNumber = header;
    info = std::move(readInfo);
    incomplete = !complete;
    fileMemos = s.MemoCount;
    return true;
}

// Records2 is replaced whole: a selection store kept for it no longer fits.
void DropSecondSelection(KovaState& s) {
    s.SelectionShown2 = kFalse;
    s.FullRecords2.clear();
    s.SelectionMarks2.clear();
    s.FullCount2 = 0;
    s.FullFilterCount = 0;
}

// Saves the shown set to its file (nothing to do without a name); behind a
// selection it is the full set, with the edits of the shown records, that
// goes to the file.
bool SaveSetToFile(KovaState& s, KovaUi& ui, const std::string& name, const std::string& info,
                   int16_t selectionShown, const RecordSet& full, int16_t fullCount,
                   const RecordSet& shown, int16_t shownCount, bool& incomplete, bool ownFile,
                   KnownFile& known) {
    if (name.empty())
        return true;
    if (!MayWriteFile(s, ui, name, {.ownSet = s.ViewMode, .askBeforeReplacing = !ownFile}))
        return false;
    const bool filter = s.ViewMode == 3;
    if (!ConfirmReplacingChangedFile(ui, known, name, filter ? "the filter lines" : "the data",
                                     filter ? "Save Filterfile" : "Save Kovfile"))
        return false;
    // Behind a selection the full set, with the edits of the shown records,
    // is what goes to the file, and what the question counts.
    const bool selection = selectionShown != kFalse;
    if (selection)
        StoreSelectionEdits(s);
    const RecordSet& records = selection ? full : shown;
    const int16_t count = selection ? fullCount : shownCount;
    if (ownFile && !ConfirmReplacingWithPartOfFile(s, ui, s.ViewMode, name, records, count))
        return false;
    const bool keepOriginal = ownFile && incomplete && PathExists(name);
    const bool saved =
        SaveDataFile(s, ui, name, records, count, s.FileHeaderNumber, info, KindOfSet(s.ViewMode));
    if (saved && keepOriginal)
        KeepBackup(s, BackupFileName(name, KindOfSet(s.ViewMode)));
    if (saved) {
        incomplete = false;
        known = KnowFile(name);
    }
    return saved;
}

}  // namespace

SavedSize SavedSizeOfSet(const KovaState& s, int16_t mode) {
    if (mode < 1 || mode > 3)
        return SavedSize();
    const bool data1 = mode == 1;
    const RecordSet& shown = data1 ? s.Records1 : s.Records2;
    const int16_t count = data1 ? s.RecordCount1 : mode == 2 ? s.RecordCount2 : s.FilterCount;
    const std::string& info = data1 ? s.FileInfo1 : mode == 2 ? s.FileInfo2 : s.FilterFileInfo;
    if ((data1 ? s.SelectionShown1 : s.SelectionShown2) == kFalse)
        return SavedSize(shown, count, s.FileHeaderNumber, info);
    // Behind a selection the full set is saved, each shown record in the
    // place its number names (as StoreSelectionEdits puts it).
    const RecordSet& full = data1 ? s.FullRecords1 : s.FullRecords2;
    const int16_t fullCount = data1 ? s.FullCount1 : mode == 2 ? s.FullCount2 : s.FullFilterCount;
    SavedSize size(full, fullCount, s.FileHeaderNumber, info);
    for (int i = 1; i <= count && i < static_cast<int>(shown.size()); ++i) {
        const int k = shown[i].V0;
        if (k >= 1 && k <= fullCount && k < static_cast<int>(full.size())) {
            size.Remove(full[k]);
            size.Add(shown[i]);
        }
    }
    return size;
}

bool ConfirmReplacingWithPartOfFile(const KovaState& s, KovaUi& ui, int16_t set,
                                    const std::string& fileName, const RecordSet& records,
                                    int16_t count) {
    if (!(set == 1 ? s.ReadIncomplete1 : s.ReadIncomplete2))
        return true;
    // Counted as the save finds the set: the user may have filled, added or
    // cut records since the read. The reader leaves a record it did not
    // reach holding nothing but its number.
    const int written = std::clamp<int>(count, 0, static_cast<int>(records.size()) - 1);
    int empty = 0;
    ProtocolRecord blank;
    for (int k = 1; k <= written; ++k) {
        blank.V0 = records[k].V0;
        empty += records[k] == blank;
    }
    std::string holds =
        "The file will then hold " + PlainNumber(written) + (written == 1 ? " record" : " records");
    if (empty > 0)
        holds += written == 1 ? ", empty because it could not be read"
                              : ", " + PlainNumber(empty) + " of them empty because " +
                                    (empty == 1 ? "it" : "they") + " could not be read";
    holds += '.';
    // Memos come after the records in the file: a read that stopped at any
    // marker may have left some or all of them behind.
    const int memosNow = set == 1 ? s.FileMemoCount1 : s.FileMemoCount2;
    const long long memosThen = SavedSize(records, written, 0, "").Memos();
    if (memosNow > 0 || memosThen > 0)
        holds += " It holds " + PlainNumber(memosNow) + (memosNow == 1 ? " memo" : " memos") +
                 " now and will then hold " + PlainNumber(memosThen) + '.';
    // The backup the save makes is the only copy of what could not be read;
    // none is made where the backup is already kept or is the file itself.
    std::string kept;
    if (fileName.size() >= 4 && PathExists(fileName)) {
        const std::string backup = BackupFileName(fileName, KindOfSet(set));
        kept = IsKeptBackup(s, backup) || SameFile(backup, fileName)
                   ? "No copy of the file as it is now is kept."
                   : "The file as it is now is kept as \"" + backup +
                         "\": KOVA will not replace that backup while it runs.";
        kept += "\r\n\r\n";
    }
    return ui.AskYesNo("The file \"" + fileName +
                           "\" could not be read completely: what came after the error is "
                           "missing here.\r\n\r\n" +
                           holds + "\r\n\r\n" + kept +
                           "Replace the file with only the records that could be read?",
                       kProgramTitle) == Answer::Yes;
}

void FinishReplacingData1(KovaState& s, KovaUi& ui, const std::string& FileName) {
    ++s.ChangeCount1;
    s.DataFileName1 = FileName;
    s.DataFileKnown1 = KnowFile(FileName);
    s.CurrentRecord1 = s.RecordCount1 > 0 ? 1 : 0;
    SwitchOffSieve(s);
    s.SelectionShown1 = kFalse;
    s.FullRecords1.clear();
    s.SelectionMarks1.clear();
    s.FullCount1 = 0;
    ShowDataMode(s, ui);
}

void FinishReplacingFilterLines(KovaState& s, KovaUi& ui, const std::string& FileName) {
    ++s.ChangeCount2;
    s.FilterFileName = FileName;
    s.FilterFileKnown = KnowFile(FileName);
    s.CurrentFilterLine = s.FilterCount;
    DropSecondSelection(s);
    ShowFilterMode(s, ui);
}

bool OpenDataFile(KovaState& s, KovaUi& ui, const std::string& FileName) {
    if (FileName.empty() || !LeadsToAUsableName(ui, FileName) || !MayOpenFile(s, ui, FileName, 1))
        return false;
    // Taken before the read: a change while it is read is noticed by the
    // next save.
    KnownFile known = KnowFile(FileName);
    if (!IsExistingFile(FileName)) {
        // A new protocol: one empty record, written only when saved.
        RecordSet set(2);
        set[1].V0 = 1;
        set[1].V2 = 1;
        s.Records1 = std::move(set);
        s.RecordCount1 = 1;
        s.ReadIncomplete1 = false;
    } else if (!ReadForOpen(s, ui, FileName, s.Records1, s.RecordCount1, s.FileInfo1,
                            s.ReadIncomplete1, s.FileMemoCount1)) {
        return false;
    }
    FinishReplacingData1(s, ui, FileName);
    s.DataFileKnown1 = std::move(known);
    return true;
}

bool OpenFilterFile(KovaState& s, KovaUi& ui, const std::string& FileName) {
    if (FileName.empty() || !LeadsToAUsableName(ui, FileName) || !MayOpenFile(s, ui, FileName, 3))
        return false;
    const bool read = IsExistingFile(FileName);
    KnownFile known = KnowFile(FileName);
    if (!read) {
        // A new filter file holds one line that matches anything and does
        // nothing; it is written at once.
        RecordSet lines(2);
        ProtocolRecord& line = lines[1];
        line.V0 = 1;
        line.V2 = 0;
        for (int k : {1, 3, 4, 5, 6, 7, 8})
            *TextField(line, k) = "*";
        if (!SaveDataFile(s, ui, FileName, lines, 1, s.FileHeaderNumber, s.FilterFileInfo,
                          DataFileKind::Filter))
            return false;
        s.Records2 = std::move(lines);
        s.FilterCount = 1;
        s.ReadIncomplete2 = false;
    } else if (!ReadForOpen(s, ui, FileName, s.Records2, s.FilterCount, s.FilterFileInfo,
                            s.ReadIncomplete2, s.FileMemoCount2)) {
        return false;
    }
    FinishReplacingFilterLines(s, ui, FileName);
    if (read)
        s.FilterFileKnown = std::move(known);
    return true;
}

bool OpenData2File(KovaState& s, KovaUi& ui, const std::string& FileName) {
    if (FileName.empty() || !LeadsToAUsableName(ui, FileName) || !MayOpenFile(s, ui, FileName, 2))
        return false;
    KnownFile known = KnowFile(FileName);
    if (!ReadForOpen(s, ui, FileName, s.Records2, s.RecordCount2, s.FileInfo2, s.ReadIncomplete2,
                     s.FileMemoCount2))
        return false;
    ++s.ChangeCount2;
    s.DataFileName2 = FileName;
    s.DataFileKnown2 = std::move(known);
    s.CurrentRecord2 = s.RecordCount2 > 0 ? 1 : 0;
    SwitchOffSieve(s);
    DropSecondSelection(s);
    ShowData2Mode(s, ui);
    return true;
}

bool SaveCurrentFile(KovaState& s, KovaUi& ui, bool ownFile) {
    switch (s.ViewMode) {
        case 1:
            return SaveSetToFile(s, ui, s.DataFileName1, s.FileInfo1, s.SelectionShown1,
                                 s.FullRecords1, s.FullCount1, s.Records1, s.RecordCount1,
                                 s.ReadIncomplete1, ownFile, s.DataFileKnown1);
        case 2:
            return SaveSetToFile(s, ui, s.DataFileName2, s.FileInfo2, s.SelectionShown2,
                                 s.FullRecords2, s.FullCount2, s.Records2, s.RecordCount2,
                                 s.ReadIncomplete2, ownFile, s.DataFileKnown2);
        case 3:
            return SaveSetToFile(s, ui, s.FilterFileName, s.FilterFileInfo, s.SelectionShown2,
                                 s.FullRecords2, s.FullFilterCount, s.Records2, s.FilterCount,
                                 s.ReadIncomplete2, ownFile, s.FilterFileKnown);
        default:
            return true;
    }
}

bool AskSaveFile(KovaState& s, KovaUi& ui) {
    s.DialogCancelled = 0;
    const std::string* name = nullptr;
    switch (s.ViewMode) {
        case 1:
            name = &s.DataFileName1;
            break;
        case 2:
            name = &s.DataFileName2;
            break;
        case 3:
            name = &s.FilterFileName;
            break;
        default:
            return true;
    }
    if (name->empty())
        return true;
    switch (ui.AskSaveFile(*name)) {
        case Answer::Yes:
            // A save that failed must not let the caller close or replace
            // the set: the user keeps the data and has seen the message.
            if (!SaveCurrentFile(s, ui))
                s.DialogCancelled = 1;
            break;
        case Answer::No:
            break;
        case Answer::Cancel:
            s.DialogCancelled = 1;
            break;
    }
    return s.DialogCancelled == 0;
}

bool AskSaveOpenFiles(KovaState& s, KovaUi& ui) {
    if (!AskSaveFile(s, ui))
        return false;
    const int16_t shown = s.ViewMode;
    for (int16_t mode : {1, 2, 3}) {
        if (mode == shown || FileNameOfSet(s, mode).empty())
            continue;
        s.ViewMode = mode;
        const bool goOn = AskSaveFile(s, ui);
        s.ViewMode = shown;
        if (!goOn)
            return false;
    }
    return true;
}

}  // namespace core
