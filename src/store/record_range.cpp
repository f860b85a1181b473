#include "store/record_range.h"

#include <algorithm>

namespace core {

namespace {

int16_t FirstPositionOf(const RecordSet& records, int last, int16_t number, int start) {
    for (int p = std::max(start, 1); p <= last; ++p)
        if (records[static_cast<size_t>(p)].V0 == number)
            return static_cast<int16_t>(p);
    return number;
}

}  // namespace

void MapRecordNumbersToPositions(const RecordSet& records, int16_t count, bool selectionShown,
                                 int16_t& from, int16_t& to) {
    if (!selectionShown)
        return;
    const int last = std::min<int>(count, static_cast<int>(records.size()) - 1);
    from = FirstPositionOf(records, last, from, 1);
    to = FirstPositionOf(records, last, to, from);
}

}  // namespace core
