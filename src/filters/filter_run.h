// Running filter blocks over data set 1.
#pragma once

#include <cstdint>

#include "store/state.h"
#include "store/ui.h"

namespace core {

// Runs the block whose header is the first header line at or below FilterNo
// (FilterNo is moved there): a condition-filter block over FromRecord..
// ToRecord, then its split and deletion passes; a sieve or select block over
// the whole set. Throws ConditionError or FilterStop; the command that runs it
// restores data set 1 then (see RunFilterCommand).
void RunFilter(KovaState& s, KovaUi& ui, int16_t& FilterNo);

// Runs every condition-filter block (header 999) in file order.
void RunAllFilters(KovaState& s, KovaUi& ui);

// True when the header line holds a cell that deletes records or places split
// marks, so that its block changes the number of records.
bool BlockChangesRecordCount(const ProtocolRecord& HeaderLine);

}  // namespace core
