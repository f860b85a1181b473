// Automatic saving of data set 1: the period chosen in the dialog and the
// minute tick of the main window's timer.
#pragma once

#include <cstdint>

#include "store/state.h"
#include "store/ui.h"

namespace core {

// The dialog's OK with the chosen line of the period list (0 off, k for
// 5 * k minutes, below 0 none chosen). True when automatic saving is on: the
// timer runs and the menu item carries its check mark.
bool ChooseAutosave(KovaState& s, int16_t choice);

// Whether automatic saving is on.
bool AutosaveOn(const KovaState& s);

enum class TickResult {
    Idle,     // off, no data set 1, or inside another command: nothing counted
    Counted,  // a minute counted, no save due
    Saved,    // data set 1 saved
    Skipped,  // a save was due but the set was read only in part
    Failed    // a save was due and was refused or failed
};

// One minute tick. `insideCommand`: another command (a read, a filter run, a
// modal dialog) is running; the tick then waits for the next one. A save
// writes back a shown selection of data set 1 first and saves the full set;
// the selection stays shown. A save that is refused or fails, and a set read
// only in part or a file changed on disk since it was read or last saved
// (neither is saved), is told once, as the automatic save's,
// with how to get the data saved: the same refusal again, while the open
// sets keep their names, is not told (a new choice of the period or a
// successful save tells it again).
TickResult AutosaveTick(KovaState& s, KovaUi& ui, bool insideCommand);

}  // namespace core
