// Sieve blocks (888) collect records for stepping; select blocks (777) show
// the records that any of their lines matches as a selection.
#pragma once

#include <cstdint>

#include "store/state.h"
#include "store/ui.h"

namespace core {

void SieveRecords(KovaState& s, KovaUi& ui, int16_t& FilterLine);
void SelectByFilterLines(KovaState& s, KovaUi& ui, int16_t& FilterLine);

}  // namespace core
