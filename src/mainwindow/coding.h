// Coding the current record from the category lists of V4..V7, and adding and
// removing categories.
#pragma once

#include <string>

#include "store/state.h"
#include "store/ui.h"

namespace core {

// Writes `code` (the list's selected entry, "" when none) into field k (4..7)
// of the current record and shows it on the current row. False when there is
// no current record, or when the set would grow too large to be saved (after
// the message; the record stays as it was).
bool WriteCode(KovaState& s, KovaUi& ui, int k, const std::string& code);

// One record on in the shown set (with a sieve of data set 1: the next sieved
// record, wrapping to the first); at the last record the position stays. The
// page is redrawn.
void AdvanceRecord(KovaState& s, KovaUi& ui);

// Delete in list k: field k of the current record becomes empty.
void ClearCode(KovaState& s, KovaUi& ui, int k);

// False (after a message) when a label or category cannot be kept in a table
// file: it may not hold a double quote.
bool CheckTableText(KovaUi& ui, const std::string& text);

// Enter in the category box of list k: an empty text does nothing; a text the
// list holds (exact comparison) is removed, every equal entry present when the
// walk began being tested once; otherwise it is added in sorted order.
// Returns false when the text was refused.
bool ToggleCategory(KovaState& s, KovaUi& ui, int k, const std::string& typed);

}  // namespace core
