// A state with data set 1 (and optionally data set 2) filled and shown, for
// the tests of the daily commands.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "store/data_file.h"
#include "store/open_save.h"
#include "store/selection_store.h"
#include "store/state.h"
#include "store/view.h"
#include "support/fake_ui.h"

namespace test {

// The message of an edit refused because its set could no longer be saved.
inline const std::string kSetTooLargeToSave =
    "Saved, the set would be larger than 80 MB, the most a data file may hold. Nothing was "
    "changed.";

inline core::RecordSet MakeRecords(int count, const std::string& prefix = "text ") {
    core::RecordSet records(static_cast<size_t>(count) + 1);
    for (int k = 1; k <= count; ++k) {
        records[k].V0 = static_cast<int16_t>(k);
        records[k].V1 = std::to_string(k);
        records[k].V2 = 1;
        records[k].V8 = prefix + std::to_string(k);
    }
    return records;
}

inline void ShowSet1(core::KovaState& s, core::KovaUi& ui, int count, int current) {
    s.Records1 = MakeRecords(count);
    s.RecordCount1 = static_cast<int16_t>(count);
    s.CurrentRecord1 = static_cast<int16_t>(current);
    s.DataFileName1 = "/tmp/one.kov";
    core::ShowDataMode(s, ui);
}

inline void ShowSet2(core::KovaState& s, core::KovaUi& ui, int count, int current) {
    s.Records2 = MakeRecords(count, "second ");
    s.RecordCount2 = static_cast<int16_t>(count);
    s.CurrentRecord2 = static_cast<int16_t>(current);
    s.DataFileName2 = "/tmp/two.kov";
    core::ShowData2Mode(s, ui);
}

// What set `set` (numbered as ViewMode) holds against the bound, counted over
// the records a save writes rather than by the count the commands check:
// behind a selection the full set, the shown records written back into it,
// and the header number at its widest.
inline size_t BoundBytesAsSaved(const core::KovaState& s, int16_t set) {
    core::KovaState saved = s;
    saved.ViewMode = set;
    core::StoreSelectionEdits(saved);
    const bool full = (set == 1 ? saved.SelectionShown1 : saved.SelectionShown2) != core::kFalse;
    const core::RecordSet& records = set == 1 ? (full ? saved.FullRecords1 : saved.Records1)
                                              : (full ? saved.FullRecords2 : saved.Records2);
    const int16_t count = set == 1   ? (full ? saved.FullCount1 : saved.RecordCount1)
                          : set == 2 ? (full ? saved.FullCount2 : saved.RecordCount2)
                                     : (full ? saved.FullFilterCount : saved.FilterCount);
    const std::string& info = set == 1   ? saved.FileInfo1
                              : set == 2 ? saved.FileInfo2
                                         : saved.FilterFileInfo;
    return core::SavedFileBytes(records, count, -32768, info);
}

// Lengthens the text of record 1 of `set` (numbered as ViewMode; of the full
// set behind a selection) until the set takes `slack` bytes less than a data
// file may hold, as the bound counts it (SavedSize::BoundBytes) both over the
// records a save writes and by the count the commands check.
inline void FillToTheBound(core::KovaState& s, int16_t set, size_t slack) {
    core::RecordSet& records = set != 1            ? s.Records2
                               : s.SelectionShown1 ? s.FullRecords1
                                                   : s.Records1;
    records[1].V8.append(core::kMaxDataFileBytes - slack - BoundBytesAsSaved(s, set), 'x');
    ASSERT_EQ(BoundBytesAsSaved(s, set), core::kMaxDataFileBytes - slack);
    ASSERT_EQ(core::SavedSizeOfSet(s, set).BoundBytes(), core::kMaxDataFileBytes - slack);
}

// A growing `change` (answering whether it was made) takes the last bytes
// left in `set`, not one more: measured on `s` as given, it is refused with
// one byte fewer left (`refusal` its one message, the records kept) and made
// with exactly its growth left. Leaves `s` as made; returns the growth.
inline size_t ExpectTheLastBytesTaken(core::KovaState& s, FakeUi& ui, int16_t set,
                                      const std::function<bool()>& change,
                                      const std::string& refusal = "KOVA|" + kSetTooLargeToSave) {
    const core::KovaState fresh = s;
    const size_t before = BoundBytesAsSaved(s, set);
    EXPECT_TRUE(change());
    if (BoundBytesAsSaved(s, set) <= before) {
        ADD_FAILURE() << "the command does not grow the set";
        return 0;
    }
    const size_t growth = BoundBytesAsSaved(s, set) - before;
    for (const size_t left : {growth - 1, growth}) {
        SCOPED_TRACE(left);
        s = fresh;
        ui.messages.clear();
        FillToTheBound(s, set, left);
        const core::KovaState filled = s;
        EXPECT_EQ(change(), left == growth);
        if (left < growth) {
            EXPECT_TRUE(s.Records1 == filled.Records1 && s.Records2 == filled.Records2);
            EXPECT_EQ(s.RecordCount1, filled.RecordCount1);
            EXPECT_EQ(s.FilterCount, filled.FilterCount);
            EXPECT_EQ(ui.messages, std::vector<std::string>{refusal});
        } else {
            EXPECT_FALSE(s.Records1 == filled.Records1 && s.Records2 == filled.Records2);
            EXPECT_TRUE(ui.messages.empty());
            EXPECT_EQ(BoundBytesAsSaved(s, set), core::kMaxDataFileBytes);
            EXPECT_EQ(core::SavedSizeOfSet(s, set).BoundBytes(), core::kMaxDataFileBytes);
        }
    }
    return growth;
}

}  // namespace test
