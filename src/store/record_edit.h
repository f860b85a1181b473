// Record operations shared by the editing commands and the filters.
#pragma once

#include <cstdint>
#include <string>

#include "store/record.h"
#include "store/state.h"
#include "store/ui.h"

namespace core {

// Cuts every record From..Count whose trimmed V8 holds Separator into pieces;
// Count becomes the new count. Fails (returns false, nothing changed) when the
// set would pass the record limit.
bool SplitRecordsAtSeparator(KovaState& s, RecordSet& Records, int16_t From, int16_t& Count,
                             const std::string& Separator);

// Recomputes V2 of data set 1 (view mode 1 only) and redraws its page.
void RenumberSequencer(KovaState& s, KovaUi& ui);

}  // namespace core
