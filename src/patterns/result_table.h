// Operations on the result table of the window `Words` (KovaState::ResultTable).
#pragma once

#include "store/state.h"

namespace core {

// Sorts the data rows (1..) by one column, ascending and stable: two cells
// that are both numbers compare as numbers, a number sorts before a text, and
// texts compare in the program's list order. The headings stay in row 0.
void SortResultTable(ResultTableModel& table, int column);

}  // namespace core
