// Record numbers typed into a range dialog, turned into positions of the set
// as it is shown. Every range dialog goes through this one mapping.
#pragma once

#include <cstdint>

#include "store/record.h"

namespace core {

// While a selection is shown, a shown record keeps its number in the full set
// (V0, ascending), so the typed range is taken over those numbers: `from`
// becomes the position of the first shown record (1..count) whose number is
// at or after it, and `to` the position of the last one whose number is at or
// before it. A range that holds no shown record becomes 1..0, which every
// dialog's range check refuses. With no selection shown, or a `from` below
// 1, nothing changes (numbers and positions are the same; such a range is
// refused alike).
void MapRecordNumbersToPositions(const RecordSet& records, int16_t count, bool selectionShown,
                                 int16_t& from, int16_t& to);

// The one check of a range every command makes before it works on it:
// 1 <= from <= to <= count, and `records` holds record `to`.
bool RangeWithinSet(int16_t from, int16_t to, int16_t count, const RecordSet& records);

}  // namespace core
