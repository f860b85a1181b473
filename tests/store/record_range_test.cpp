#include "store/record_range.h"

#include <gtest/gtest.h>

namespace {

// A shown selection of the full set's records 3, 5, 8, 9 and 12.
core::RecordSet Selection() {
    core::RecordSet set(6);
    const int16_t numbers[] = {3, 5, 8, 9, 12};
    for (int i = 0; i < 5; ++i)
        set[static_cast<size_t>(i + 1)].V0 = numbers[i];
    return set;
}

TEST(RecordRange, TypedNumbersBecomeShownPositions) {
    struct Case {
        int16_t from, to;
        bool shown;
        int16_t wantFrom, wantTo;
    } cases[] = {
        {5, 9, true, 2, 4},   // both carried by shown records
        {3, 12, true, 1, 5},  // the whole selection
        {4, 11, true, 2, 4},  // unselected ends: the selected records within them
        {1, 32767, true, 1, 5},
        {-1, 32767, true, -1, 32767},  // no record number: refused as without a selection
        {6, 7, true, 1, 0},            // no selected record in the range: an empty range
        {13, 20, true, 1, 0},
        {9, 5, true, 1, 0},   // from above to
        {5, 9, false, 5, 9},  // no selection shown: unchanged
    };
    const core::RecordSet set = Selection();
    for (const Case& c : cases) {
        int16_t from = c.from, to = c.to;
        core::MapRecordNumbersToPositions(set, 5, c.shown, from, to);
        EXPECT_EQ(from, c.wantFrom) << c.from << ".." << c.to;
        EXPECT_EQ(to, c.wantTo) << c.from << ".." << c.to;
    }
}

}  // namespace
