// Opening a file into a record set, saving the shown set, and the save prompt.
#pragma once

#include <string>

#include "store/data_file.h"
#include "store/state.h"
#include "store/ui.h"

namespace core {

// Each opens FileName into its set and shows it. The opener itself sets the
// set's name variable (DataFileName1, FilterFileName, DataFileName2) once the
// file is taken; callers need not set it first. Each returns false when
// nothing was opened (an empty name, a file that cannot be read or that fails
// in its first lines, a file whose set could not be saved again, a new filter
// file that cannot be written): the previous set, its name, count, position
// and the window stay as they were.
bool OpenDataFile(KovaState& s, KovaUi& ui, const std::string& FileName);
bool OpenFilterFile(KovaState& s, KovaUi& ui, const std::string& FileName);
bool OpenData2File(KovaState& s, KovaUi& ui, const std::string& FileName);

// FinishReplacingData1 is the last step of every command that replaces data
// set 1 whole with the set of the file FileName, once its records, count and
// read state are in place: takes the name and the file as it stands on disk
// (an opener that read it keeps its stamp from before the read), counts the change, makes the first
// record current, ends the sieve (the search-mode button back to text find),
// drops a selection store and shows data set 1.
// FinishReplacingFilterLines does the same for the filter lines, the last
// line current; it leaves the sieve alone.
void FinishReplacingData1(KovaState& s, KovaUi& ui, const std::string& FileName);
void FinishReplacingFilterLines(KovaState& s, KovaUi& ui, const std::string& FileName);

// Saves the set that ViewMode names (the full set, with the shown selection
// written back, while a selection is shown). False when the write failed.
// A set whose read stopped at an error (ReadIncomplete1/2) holds less than its
// file: before it replaces that file the user is asked, No by default, and No
// writes nothing and returns false. ownFile false: the set's name was just
// changed to another file (a save as), which asks instead whether to replace
// a file there already. A file changed on disk since the set read or last
// saved it (ChangedOnDisk) is replaced only when the user says so, No being
// the default. A good save clears the mark; one over the set's own file keeps
// its backup, the file as it was, for the rest of the run.
bool SaveCurrentFile(KovaState& s, KovaUi& ui, bool ownFile = true);

// What the set of `mode` (numbered as ViewMode) takes as SaveCurrentFile
// saves it: behind a shown selection the full set with the shown records in
// their places. An empty size for any other mode.
SavedSize SavedSizeOfSet(const KovaState& s, int16_t mode);

// The question before set `set` (numbered as ViewMode), read only in part,
// replaces its own file with records 1..count of `records`, saying how many
// records the file will then hold and how many of them are empty, how many
// memos it holds now and will then hold, and which backup keeps the file as
// it is now; true at once when the set's read was complete, else whether the
// user answered Yes. A save the user agreed to makes that backup kept
// (KeepBackup) once it has succeeded.
bool ConfirmReplacingWithPartOfFile(const KovaState& s, KovaUi& ui, int16_t set,
                                    const std::string& fileName, const RecordSet& records,
                                    int16_t count);

// The save prompt protocol: asks about the set ViewMode names (only when it
// has a file name), saves on Yes, and sets DialogCancelled to 1 on Cancel, on
// the close box and when the save after Yes failed. Returns true when the
// caller may go on (DialogCancelled == 0).
bool AskSaveFile(KovaState& s, KovaUi& ui);
// Before the program ends: the save prompt for the shown set, then for the
// other open set (data set 1 behind the filter lines or data set 2, or the
// second set behind data set 1), so that edits of a set out of view are not
// dropped unasked. False when a prompt was cancelled or its save failed.
bool AskSaveOpenFiles(KovaState& s, KovaUi& ui);

}  // namespace core
