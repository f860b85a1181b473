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
        {4, 9, true, 4, 4},   // an unfound "from" stays and is a position; "to" searched from it
        {5, 7, true, 2, 7},   // an unfound "to" stays as typed
        {9, 5, true, 4, 5},   // "to" is searched from the new "from" on only
        {5, 9, false, 5, 9},  // no selection shown: unchanged
        {-1, 32767, true, -1, 32767},
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
