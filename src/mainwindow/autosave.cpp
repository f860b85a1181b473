#include "mainwindow/autosave.h"

#include "store/data_file.h"
#include "store/open_files.h"
#include "store/selection_store.h"

namespace core {

bool AutosaveOn(const KovaState& s) {
    return s.AutosaveChoice > 0;
}

bool ChooseAutosave(KovaState& s, int16_t choice) {
    s.AutosaveChoice = choice;
    if (AutosaveOn(s))
        s.AutosaveTicks = 0;
    return AutosaveOn(s);
}

TickResult AutosaveTick(KovaState& s, KovaUi& ui, bool insideCommand) {
    if (s.DataFileName1.empty() || !AutosaveOn(s) || insideCommand)
        return TickResult::Idle;
    const int period = 5 * s.AutosaveChoice;
    if (s.AutosaveTicks < period - 1) {
        ++s.AutosaveTicks;
        return TickResult::Counted;
    }
    s.AutosaveTicks = 0;
    // A set read only in part would replace the whole file on disk by the
    // part: it waits until the user saves it by hand.
    if (s.ReadIncomplete1)
        return TickResult::Skipped;
    // Its own file may be written, but not when its backup is another set's.
    if (!MayWriteFile(s, ui, s.DataFileName1, 1))
        return TickResult::Failed;
    bool saved;
    if (s.SelectionShown1 != kFalse) {
        const int16_t shown = s.ViewMode;
        s.ViewMode = 1;
        StoreSelectionEdits(s);
        s.ViewMode = shown;
        saved = SaveDataFile(s, ui, s.DataFileName1, s.FullRecords1, s.FullCount1,
                             s.FileHeaderNumber, s.FileInfo1);
    } else {
        saved = SaveDataFile(s, ui, s.DataFileName1, s.Records1, s.RecordCount1, s.FileHeaderNumber,
                             s.FileInfo1);
    }
    return saved ? TickResult::Saved : TickResult::Failed;
}

}  // namespace core
