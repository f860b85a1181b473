// Record numbers typed into a range dialog, turned into positions of the set
// as it is shown. Every range dialog goes through this one mapping.
#pragma once

#include <cstdint>

#include "store/record.h"

namespace core {

// While a selection is shown, a shown record keeps its number in the full set
// (V0), so a typed number is looked up by V0 among positions 1..count: `from`
// becomes the first position from 1 on that carries it, then `to` the first
// position from the new `from` on. A number no shown record carries stays as
// typed and is then taken as a position. With no selection shown, nothing
// changes (numbers and positions are the same).
void MapRecordNumbersToPositions(const RecordSet& records, int16_t count, bool selectionShown,
                                 int16_t& from, int16_t& to);

}  // namespace core
