// The File menu's commands and the file buttons of the main window: which
// set, which name and which file info go to the readers and writers, in which
// view mode and order.
#pragma once

#include <optional>
#include <string>

#include "store/state.h"
#include "store/ui.h"

namespace core {

// Filter strings of the file dialogs ("description|pattern|...").
inline constexpr const char* kDataFilter =
    "All Files (*.*)|*.*|Kov Files (*.kov)|*.kov*|Text Files (*.txt)|*.txt|Batch Files "
    "(*.bat)|*.bat";
inline constexpr const char* kTableFilter = "All Files (*.*)|*.*|Table Files (*.tbl)|*.tbl";
inline constexpr const char* kFilterFileFilter = "All Files (*.*)|*.*|Filter Files (*.fil)|*.fil";
inline constexpr const char* kAnalysisFilter = "All Files (*.*)|*.*|Analyse Files (*.ana)|*.ana";
inline constexpr const char* kListingFilter = "All Files (*.*)|*.*|Listing Files (*.lst)|*.lst";
inline constexpr const char* kSelectionFilterFileFilter =
    "All Files (*.*)|*.*|Filter Files (*.fil)|*.fil*|Text Files (*.txt)|*.txt|Batch Files "
    "(*.bat)|*.bat";

// One use of the file dialog. An empty title keeps the title of the previous
// use.
struct FileDialogRequest {
    std::string fileName;
    std::string filter;
    std::string title;
};

// The file dialog as the commands see it; nullopt when it was cancelled. An
// empty name (one the program refused to take) ends the command with nothing
// changed, also where a Cancel would go on with the old name.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    virtual std::optional<std::string> ShowOpen(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> ShowSave(const FileDialogRequest& request) = 0;
};

// The name chosen in the open or save dialog as the program keeps every name:
// absolute, so that it means the same file whatever the working folder;
// nullopt when the dialog was cancelled, "" when it refused the name. Every
// command asks its file dialog through these.
std::optional<std::string> ChooseFileToOpen(FileChooser& dialog, const FileDialogRequest& request);
std::optional<std::string> ChooseFileToSave(FileChooser& dialog, const FileDialogRequest& request);

// The output viewer as the save commands see it.
struct OutputView {
    bool visible = false;
    std::string text;  // CR LF line breaks
};

// The extension rule of the saves: the extension is appended only when the
// name changed and does not already end in it (case-sensitive).
std::string WithExtension(const std::string& oldName, const std::string& newName,
                          const std::string& extension);

// The question before a set is replaced (mode 1 data set 1, 2 data set 2, 3
// filter lines); a shown selection of data set 1 or 2 is written back and
// ended first. True when the caller may go on and replace the set; false
// when the user cancelled or the save after Yes failed.
bool AskBeforeReplacing(KovaState& s, KovaUi& ui, int16_t mode);

// Open: true when the chosen file was read and is shown; false when it ended
// without changing anything (cancel, failed read), the view as it was before.
bool OpenKovfile(KovaState& s, KovaUi& ui, FileChooser& dialog);
// Save As: true when the set was written (a Cancel in the dialog keeps the
// old name and writes under it); false outside the view of its set, without
// a name, or when the write failed (the old name and title stay).
bool SaveKovfile(KovaState& s, KovaUi& ui, FileChooser& dialog);
// True when the table file was read and its name taken (the window then
// renews the lists); false on cancel or a failed read, the tables unchanged.
bool OpenTablefile(KovaState& s, KovaUi& ui, FileChooser& dialog);
// True when the tables were written, as SaveKovfile.
bool SaveTablefile(KovaState& s, KovaUi& ui, FileChooser& dialog);
// As OpenKovfile and SaveKovfile, for the filter lines.
bool OpenFilterfile(KovaState& s, KovaUi& ui, FileChooser& dialog);
bool SaveFilterfile(KovaState& s, KovaUi& ui, FileChooser& dialog);
// The output opens choose the name: true when a name was taken, and the
// window then shows the file in the output viewer; false on cancel. The
// output saves: true when the viewer's text was written; false on cancel,
// when the viewer shows no text of this kind, or when the write failed.
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
