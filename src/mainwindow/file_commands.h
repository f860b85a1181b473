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

// The output viewer as the save commands see it.
struct OutputView {
    bool visible = false;
    std::string text;  // CR LF line breaks
};

// The extension rule of the saves: the extension is appended only when the
// name changed and does not already end in it (case-sensitive).
std::string WithExtension(const std::string& oldName, const std::string& newName,
                          const std::string& extension);

// The question before a set is replaced (mode 1 data set 1, 3 filter lines).
// False when the user cancelled.
bool AskBeforeReplacing(KovaState& s, KovaUi& ui, int16_t mode);

// Each command returns true when it did its work; false when it ended without
// changing anything (cancel, failed read), the view as it was before.
bool OpenKovfile(KovaState& s, KovaUi& ui, FileChooser& dialog);
bool SaveKovfile(KovaState& s, KovaUi& ui, FileChooser& dialog);
bool OpenTablefile(KovaState& s, KovaUi& ui, FileChooser& dialog);
bool SaveTablefile(KovaState& s, KovaUi& ui, FileChooser& dialog);
bool OpenFilterfile(KovaState& s, KovaUi& ui, FileChooser& dialog);
bool SaveFilterfile(KovaState& s, KovaUi& ui, FileChooser& dialog);
// The output opens choose the name; the window then shows the file in the
// output viewer.
bool OpenAnafile(KovaState& s, FileChooser& dialog);
bool SaveAnafile(KovaState& s, KovaUi& ui, FileChooser& dialog, const OutputView& viewer);
bool OpenLstfile(KovaState& s, FileChooser& dialog);
bool SaveLstfile(KovaState& s, KovaUi& ui, FileChooser& dialog, const OutputView& viewer);

// Exit: asks about the shown set; true when the program may end.
bool ExitProgram(KovaState& s, KovaUi& ui);

// The Save Data button: saves the shown set under its name.
bool SaveShownSet(KovaState& s, KovaUi& ui);

// The Save Selection button: writes the shown selection as a new file and,
// after asking whether to save the whole set it replaces, opens it.
bool SaveSelectionAs(KovaState& s, KovaUi& ui, FileChooser& dialog);

// The Save Table button: saves the table under its name, no dialog.
bool SaveTableButton(KovaState& s, KovaUi& ui);

// The close button "X": closes the shown set after the save question.
bool CloseShownSet(KovaState& s, KovaUi& ui);

}  // namespace core
