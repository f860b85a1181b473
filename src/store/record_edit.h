// Record operations shared by the editing commands and the filters.
#pragma once

#include <cstdint>
#include <string>

#include "store/record.h"
#include "store/state.h"
#include "store/ui.h"

namespace core {

// Cuts every record From..Count whose trimmed V8 holds Separator into pieces:
// the trimmed text before each occurrence (even when empty) and the trimmed
// rest when not empty, each a copy of the record with V2 counting up from its
// V2. Records From.. get their new positions as V0; Count becomes the new
// count. Fails (returns false, nothing changed) when the set would pass the
// record limit or a piece's V2 would pass 32767. An empty Separator, or From
// outside 1..Count, changes nothing and is no failure (true).
bool SplitRecordsAtSeparator(KovaState& s, RecordSet& Records, int16_t From, int16_t& Count,
                             const std::string& Separator);

// Recomputes V2 of data set 1 (view mode 1 only) and redraws its page.
void RenumberSequencer(KovaState& s, KovaUi& ui);

// The numbering of RenumberSequencer over records 1..Count of any set: V2 is 1
// at the first record, at a new non-empty time code V1 or a new actor V3, and
// the previous V2 + 1 while the actor repeats under the same (or an empty) V1.
void NumberSequence(RecordSet& Records, int16_t Count);

}  // namespace core
