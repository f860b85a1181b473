#include "store/append_merge.h"

#include "store/data_file.h"
#include "store/open_save.h"
#include "store/record_edit.h"
#include "store/selection_store.h"
#include "store/text.h"
#include "store/time_code.h"
#include "store/view.h"

namespace core {

namespace {

// Writes back and ends a selection shown on the set of `mode` (1 data set 1,
// 3 filter lines), whatever set the window shows.
void EndSelectionOf(KovaState& s, KovaUi& ui, int16_t mode) {
    const int16_t flag = mode == 1 ? s.SelectionShown1 : s.SelectionShown2;
    if (flag == kFalse)
        return;
    const int16_t shown = s.ViewMode;
    s.ViewMode = mode;
    StoreSelectionEdits(s);
    EndSelection(s, ui);
    s.ViewMode = shown;
}

// The saved size of the set of `mode` once it holds the work records too,
// under the header number it then takes; a merge only orders the same records.
// Behind a shown selection it is the full set that takes them.
SavedSize CombinedSize(const KovaState& s, int16_t mode) {
    SavedSize size = SavedSizeOfSet(s, mode);
    for (int k = 1; k <= s.WorkRecordCount && k < static_cast<int>(s.WorkRecords.size()); ++k)
        size.Add(s.WorkRecords[k]);
    size.SetHeaderNumber(s.WorkHeaderNumber);
    return size;
}

// Refuses, with a message, work records that would make the set of `mode`
// hold more records than a set holds, or a set too large to be saved.
bool RefuseCombined(const KovaState& s, KovaUi& ui, int16_t mode) {
    const SavedSize combined = CombinedSize(s, mode);
    std::string why;
    if (combined.Records() > kMaxRecords) {
        why = "Together the two files hold " + std::to_string(combined.Records()) +
              " records; a set holds at most " + std::to_string(kMaxRecords) + ".";
    } else if (!combined.Fits()) {
        why = TooLargeToSaveText();
    } else {
        return false;
    }
    ui.Message(why + " Nothing was added.", kProgramTitle, Icon::Exclamation);
    return true;
}

void AppendInto(const KovaState& s, RecordSet& records, int16_t& count) {
    const int n = count + s.WorkRecordCount;
    records.resize(static_cast<size_t>(n) + 1);
    for (int i = count + 1; i <= n; ++i) {
        records[i] = s.WorkRecords[i - count];
        records[i].V0 = static_cast<int16_t>(i);
    }
    count = static_cast<int16_t>(n);
}

// Takes the work records behind the set (data set 1 or the filter lines):
// the last of them current.
bool AppendWorkRecords(KovaState& s, KovaUi& ui, EditSet set) {
    if (RefuseCombined(s, ui, set.set))
        return false;
    EndSelectionOf(s, ui, set.set);
    AppendInto(s, set.records, set.count);
    s.FileHeaderNumber = s.WorkHeaderNumber;
    ++set.changes;
    ShowEditedSet(s, ui, set, set.count);
    return true;
}

}  // namespace

bool ReadAppendFile(KovaState& s, KovaUi& ui, const std::string& FileName) {
    RecordSet records;
    int16_t count = -1;
    int16_t header = s.FileHeaderNumber;
    std::string info;  // the read file's own information is not kept
    if (!ReadDataFile(s, ui, FileName, records, count, header, info) || count < 0 ||
        !SavableAsRead(ui, FileName, records, count, header, info))
        return false;
    s.WorkRecords = std::move(records);
    s.WorkRecordCount = count;
    s.WorkCurrentRecord = 1;
    s.WorkHeaderNumber = header;
    return true;
}

bool AppendWorkRecordsToData1(KovaState& s, KovaUi& ui) {
    return AppendWorkRecords(s, ui, DataSet1(s));
}

bool AppendWorkRecordsToFilterList(KovaState& s, KovaUi& ui) {
    return AppendWorkRecords(s, ui, FilterLines(s));
}

RecordSet MergeByTime(const RecordSet& first, int16_t firstCount, const RecordSet& second,
                      int16_t secondCount) {
    const int n = firstCount + secondCount;
    RecordSet merged(static_cast<size_t>(n) + 1);
    // The times are read once per record, not once per comparison.
    auto times = [](const RecordSet& set, int count) {
        std::vector<double> t(static_cast<size_t>(count) + 1);
        for (int k = 1; k <= count; ++k)
            t[k] = ParseTimeCode(Trim(set[k].V1));
        return t;
    };
    const std::vector<double> firstTimes = times(first, firstCount);
    const std::vector<double> secondTimes = times(second, secondCount);
    int a = 1, b = 1;
    for (int k = 1; k <= n; ++k) {
        bool takeFirst = false;
        if (a <= firstCount) {
            takeFirst = b > secondCount || first[a].V1.empty() ||
                        (!second[b].V1.empty() && secondTimes[b] >= firstTimes[a]);
        }
        merged[k] = takeFirst ? first[a++] : second[b++];
        merged[k].V0 = static_cast<int16_t>(k);
    }
    return merged;
}

bool MergeDataByTime(KovaState& s, KovaUi& ui) {
    if (RefuseCombined(s, ui, 1))
        return false;
    EndSelectionOf(s, ui, 1);
    s.Records1 = MergeByTime(s.Records1, s.RecordCount1, s.WorkRecords, s.WorkRecordCount);
    s.RecordCount1 = static_cast<int16_t>(s.Records1.size() - 1);
    s.WorkCurrentRecord = static_cast<int16_t>(s.WorkRecordCount + 1);
    s.FileHeaderNumber = s.WorkHeaderNumber;
    ++s.ChangeCount1;
    // The merged set is data set 1: show it, whatever set was shown.
    ShowDataMode(s, ui);
    ShowEditedSet(s, ui, DataSet1(s), s.RecordCount1);
    return true;
}

}  // namespace core
