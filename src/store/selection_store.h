// The selection store: keeps the full set while a selection of it is shown.
// Every operation acts on the set that ViewMode names.
#pragma once

#include "store/state.h"
#include "store/ui.h"

namespace core {

void BeginSelection(KovaState& s, KovaUi& ui);
void ApplySelection(KovaState& s, KovaUi& ui);
void StoreSelectionEdits(KovaState& s);
void EndSelection(KovaState& s, KovaUi& ui);

}  // namespace core
