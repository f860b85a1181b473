#include "store/open_save.h"

#include <filesystem>

#include "store/data_file.h"
#include "store/selection_store.h"
#include "store/view.h"

namespace core {

namespace {

bool IsExistingFile(const std::string& name) {
    std::error_code ec;
    return std::filesystem::is_regular_file(name, ec);
}

// What a read handed back, to be put in place of an open set.
struct ReadResult {
    RecordSet records;
    int16_t count = -1;  // stays negative while the set is still untouched
    int16_t header = 0;
    std::string info;
};

// Reads into a scratch set so that a file that fails in its first lines (or
// cannot be read at all) leaves the open set as it was. A file that fails
// further on is taken as far as it was read, as after a good read.
bool ReadForOpen(KovaState& s, KovaUi& ui, const std::string& name, ReadResult& r) {
    r.header = s.FileHeaderNumber;
    ReadDataFile(s, ui, name, r.records, r.count, r.header, r.info);
    return r.count >= 0;
}

void ClearSieve(KovaState& s) {
    s.SieveActive = 0;
    s.SievePosition = 0;
    s.SieveCount = 0;
    s.SieveList.clear();
}

// Records2 is replaced whole: a selection store kept for it no longer fits.
void DropSecondSelection(KovaState& s) {
    s.SelectionShown2 = kFalse;
    s.FullRecords2.clear();
    s.SelectionMarks2.clear();
    s.FullCount2 = 0;
    s.FullFilterCount = 0;
}

}  // namespace

bool OpenDataFile(KovaState& s, KovaUi& ui, const std::string& FileName) {
    if (FileName.empty())
        return false;
    if (!IsExistingFile(FileName)) {
        // A new protocol: one empty record, written only when saved.
        RecordSet set(2);
        set[1].V0 = 1;
        set[1].V2 = 1;
        s.Records1 = std::move(set);
        s.RecordCount1 = 1;
    } else {
        ReadResult r;
        if (!ReadForOpen(s, ui, FileName, r))
            return false;
        s.Records1 = std::move(r.records);
        s.RecordCount1 = r.count;
        s.FileHeaderNumber = r.header;
        s.FileInfo1 = std::move(r.info);
    }
    s.DataFileName1 = FileName;
    s.CurrentRecord1 = s.RecordCount1 > 0 ? 1 : 0;
    ClearSieve(s);
    s.SelectionShown1 = kFalse;
    s.FullRecords1.clear();
    s.SelectionMarks1.clear();
    s.FullCount1 = 0;
    ShowDataMode(s, ui);
    return true;
}

bool OpenFilterFile(KovaState& s, KovaUi& ui, const std::string& FileName) {
    if (FileName.empty())
        return false;
    if (!IsExistingFile(FileName)) {
        // A new filter file holds one line that matches anything and does
        // nothing; it is written at once.
        RecordSet lines(2);
        ProtocolRecord& line = lines[1];
        line.V0 = 1;
        line.V2 = 0;
        for (int k : {1, 3, 4, 5, 6, 7, 8})
            *TextField(line, k) = "*";
        if (!SaveDataFile(s, ui, FileName, lines, 1, s.FileHeaderNumber, s.FilterFileInfo))
            return false;
        s.Records2 = std::move(lines);
        s.FilterCount = 1;
    } else {
        ReadResult r;
        if (!ReadForOpen(s, ui, FileName, r))
            return false;
        s.Records2 = std::move(r.records);
        s.FilterCount = r.count;
        s.FileHeaderNumber = r.header;
        s.FilterFileInfo = std::move(r.info);
    }
    s.FilterFileName = FileName;
    s.CurrentFilterLine = s.FilterCount;
    DropSecondSelection(s);
    ShowFilterMode(s, ui);
    return true;
}

bool OpenData2File(KovaState& s, KovaUi& ui, const std::string& FileName) {
    if (FileName.empty())
        return false;
    ReadResult r;
    if (!ReadForOpen(s, ui, FileName, r))
        return false;
    s.Records2 = std::move(r.records);
    s.RecordCount2 = r.count;
    s.FileHeaderNumber = r.header;
    s.FileInfo2 = std::move(r.info);
    s.DataFileName2 = FileName;
    s.CurrentRecord2 = s.RecordCount2 > 0 ? 1 : 0;
    ClearSieve(s);
    DropSecondSelection(s);
    ShowData2Mode(s, ui);
    return true;
}

bool SaveCurrentFile(KovaState& s, KovaUi& ui) {
    const std::string* name = nullptr;
    const std::string* info = nullptr;
    bool selection = false;
    const RecordSet* full = nullptr;
    int16_t fullCount = 0;
    const RecordSet* shown = nullptr;
    int16_t shownCount = 0;
    switch (s.ViewMode) {
        case 1:
            name = &s.DataFileName1;
            info = &s.FileInfo1;
            selection = s.SelectionShown1 != kFalse;
            full = &s.FullRecords1;
            fullCount = s.FullCount1;
            shown = &s.Records1;
            shownCount = s.RecordCount1;
            break;
        case 2:
            name = &s.DataFileName2;
            info = &s.FileInfo2;
            selection = s.SelectionShown2 != kFalse;
            full = &s.FullRecords2;
            fullCount = s.FullCount2;
            shown = &s.Records2;
            shownCount = s.RecordCount2;
            break;
        case 3:
            name = &s.FilterFileName;
            info = &s.FilterFileInfo;
            selection = s.SelectionShown2 != kFalse;
            full = &s.FullRecords2;
            fullCount = s.FullFilterCount;
            shown = &s.Records2;
            shownCount = s.FilterCount;
            break;
        default:
            return true;
    }
    if (name->empty())
        return true;
    if (selection) {
        StoreSelectionEdits(s);
        return SaveDataFile(s, ui, *name, *full, fullCount, s.FileHeaderNumber, *info);
    }
    return SaveDataFile(s, ui, *name, *shown, shownCount, s.FileHeaderNumber, *info);
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

}  // namespace core
