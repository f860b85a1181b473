#include "store/record_range.h"

#include <algorithm>

namespace core {

void MapRecordNumbersToPositions(const RecordSet& records, int16_t count, bool selectionShown,
                                 int16_t& from, int16_t& to) {
    // A number below 1 is no record number at all: left as typed, the range
    // is refused as it is without a selection.
    if (!selectionShown || from < 1)
        return;
    const int last = std::min<int>(count, static_cast<int>(records.size()) - 1);
    auto number = [&](int p) { return records[static_cast<size_t>(p)].V0; };
    int first = 1;  // the first shown record at or after `from`
    while (first <= last && number(first) < from)
        ++first;
    int lastIn = last;  // the last shown record at or before `to`
    while (lastIn >= 1 && number(lastIn) > to)
        --lastIn;
    if (first > lastIn) {
        // No shown record lies in the range.
        from = 1;
        to = 0;
        return;
    }
    from = static_cast<int16_t>(first);
    to = static_cast<int16_t>(lastIn);
}

bool RangeWithinSet(int16_t from, int16_t to, int16_t count, const RecordSet& records) {
    return from >= 1 && from <= to && to <= count && static_cast<size_t>(to) < records.size();
}

}  // namespace core
