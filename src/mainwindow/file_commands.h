// The File menu's commands and the file buttons of the main window: which
// set, which name and which file info go to the readers and writers, in which
// view mode and order.
#pragma once

#include <string>

#include "store/file_dialog.h"
#include "store/state.h"
#include "store/ui.h"

namespace core {

// The output viewer as the save commands see it.
struct OutputView {
    bool visible = false;
    std::string text;  // CR LF line breaks
    // The file of which the viewer shows only the end (read-only); "" while
    // it shows a whole text.
    std::string endOf = {};
};

// The extension rule of the saves: the extension is appended only when the
// name changed and does not already end in it (case-sensitive).
std::string WithExtension(const std::string& oldName, const std::string& newName,
                          const std::string& extension);

// Open: true when the chosen file was read and is shown; false when it ended
// without changing anything (cancel, failed read), the view as it was before.
bool OpenKovfile(KovaState& s, KovaUi& ui, FileChooser& dialog);
// Save As: true when the set was written; false outside the view of its
// set, on cancel (nothing is written), or when the write failed (the old
// name and title stay).
bool SaveKovfile(KovaState& s, KovaUi& ui, FileChooser& dialog);
// The question before a changed table is dropped, as Exit asks it: Yes
// saves it under its name (or under a name asked in `dialog` when no table
// file is open), No goes on, Cancel and its close box set DialogCancelled.
// True when the caller may go on: the table is unchanged, saved, or the
// answer was No; false keeps the table (Cancel, or the save after Yes did
// not happen).
bool AskSaveTable(KovaState& s, KovaUi& ui, FileChooser& dialog);
// First asks about a changed table (AskSaveTable). True when the table file
// was read and its name taken (the window then renews the lists); false on
// cancel or a failed read, the tables unchanged.
bool OpenTablefile(KovaState& s, KovaUi& ui, FileChooser& dialog);
// True when the tables were written, as SaveKovfile.
bool SaveTablefile(KovaState& s, KovaUi& ui, FileChooser& dialog);
// As OpenKovfile and SaveKovfile, for the filter lines.
bool OpenFilterfile(KovaState& s, KovaUi& ui, FileChooser& dialog);
bool SaveFilterfile(KovaState& s, KovaUi& ui, FileChooser& dialog);
// The output opens choose the name: true when a name was taken, and the
// window then shows the file in the output viewer; false on cancel. The
// output saves: true when the viewer's text was written (for a viewer that
// shows only a file's end, that whole file); false on cancel, when the viewer
// shows no text of this kind, or when the write failed.
bool OpenAnafile(KovaState& s, FileChooser& dialog);
bool SaveAnafile(KovaState& s, KovaUi& ui, FileChooser& dialog, const OutputView& viewer);
bool OpenLstfile(KovaState& s, FileChooser& dialog);
bool SaveLstfile(KovaState& s, KovaUi& ui, FileChooser& dialog, const OutputView& viewer);

// What Exit (and the close box) decided after its questions: about the open
// sets, then about a changed table (Yes saves it under its name, or under a
// name asked in `dialog` when no table file is open).
enum class ExitDecision { End, Stay };
ExitDecision ExitProgram(KovaState& s, KovaUi& ui, FileChooser& dialog);

// The Save Data button: saves the shown set under its name. True when nothing
// failed (a set without a name has nothing to save); false outside the views
// of a set or when the write failed.
bool SaveShownSet(KovaState& s, KovaUi& ui);

// The Save Selection button: writes the shown selection as a new file and,
// after asking whether to save the whole set it replaces, opens it. True when
// the new file was written and, unless the question was cancelled (the
// selection stays shown), opened; false when nothing was written (cancel, the
// name of an open file, a failed write) or the new file could not be opened.
bool SaveSelectionAs(KovaState& s, KovaUi& ui, FileChooser& dialog);

// The Save Table button: saves the table under its name, no dialog. True when
// written; false without a table name or when the write failed.
bool SaveTableButton(KovaState& s, KovaUi& ui);

// The close button "X": closes the shown set after the save question. True
// when the set was closed; false when there was none or the question was
// cancelled (the set stays shown).
bool CloseShownSet(KovaState& s, KovaUi& ui);

}  // namespace core
