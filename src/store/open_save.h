// Opening a file into a record set, saving the shown set, and the save prompt.
#pragma once

#include <string>

#include "store/state.h"
#include "store/ui.h"

namespace core {

// Each returns false when nothing was opened (the previous set is kept).
bool OpenDataFile(KovaState& s, KovaUi& ui, const std::string& FileName);
bool OpenFilterFile(KovaState& s, KovaUi& ui, const std::string& FileName);
bool OpenData2File(KovaState& s, KovaUi& ui, const std::string& FileName);

// Saves the set that ViewMode names (the full set, with the shown selection
// written back, while a selection is shown). False when the write failed.
bool SaveCurrentFile(KovaState& s, KovaUi& ui);

// The save prompt protocol: asks about the set ViewMode names (only when it
// has a file name), saves on Yes, and sets DialogCancelled to 1 on Cancel, on
// the close box and when the save after Yes failed. Returns true when the
// caller may go on (DialogCancelled == 0).
bool AskSaveFile(KovaState& s, KovaUi& ui);

}  // namespace core
