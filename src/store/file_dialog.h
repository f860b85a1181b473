// The file dialog as every command sees it, whichever window asks: the
// file-type filters, one request, the chooser that answers it and the
// question before a set is replaced.
#pragma once

#include <optional>
#include <string>

#include "store/state.h"
#include "store/ui.h"

namespace core {

// Filter strings of the file dialogs ("description|pattern|..."); the second
// pair is the kind of file the command works on.
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
inline constexpr const char* kDialogueFilter =
    "All Files (*.*)|*.*|Text Files (*.txt)|*.txt|Batch Files (*.bat)|*.bat";
inline constexpr const char* kTextFilter = "All Files (*.*)|*.*|Text Files (*.txt)|*.txt";
inline constexpr const char* kWorksheetFilter =
    "All Files (*.*)|*.*|Excel Files (*.xls;*.xlsx)|*.xls;*.xlsx";
// The pictures: pair 1 PNG (also for "All Files"), pair 2 BMP.
inline constexpr const char* kPictureFilter =
    "All Files (*.*)|*.*|PNG Files (*.png)|*.png|Bitmap Files (*.bmp)|*.bmp";

// One use of the file dialog. Every use names itself in the title (the
// caption of the menu item or button that asked), so that a dialog never
// shows what an earlier one was for.
struct FileDialogRequest {
    std::string fileName;
    std::string filter;
    std::string title;
};

// The file dialog; nullopt when it was cancelled. A cancel, like an empty
// name (one the program refused to take), ends every command with nothing
// read, written, replaced or closed: a save never falls back on the name the
// dialog was given.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    virtual std::optional<std::string> ShowOpen(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> ShowSave(const FileDialogRequest& request) = 0;
    // The pair of the filter that was chosen in the last dialog (0 is the
    // first pair).
    virtual int ChosenFilter() const { return 1; }
};

// The name chosen in the open or save dialog as the program keeps every name:
// absolute, so that it means the same file whatever the working folder;
// nullopt when the dialog was cancelled, "" when it refused the name. Every
// command asks its file dialog through these.
std::optional<std::string> ChooseFileToOpen(FileChooser& dialog, const FileDialogRequest& request);
std::optional<std::string> ChooseFileToSave(FileChooser& dialog, const FileDialogRequest& request);

// Before a set is replaced (mode 1 data set 1, 2 data set 2, 3 filter
// lines): when it has a name, makes it the set ViewMode names (the page is
// not redrawn), writes back and ends a selection shown on data set 1 or 2,
// and asks the save prompt about it. True when the caller may go on and
// replace the set; false when the user cancelled or the save after Yes
// failed (ViewMode then stays switched).
bool SwitchToSetAndAskToSave(KovaState& s, KovaUi& ui, int16_t mode);

// A picture's file: a name ending in ".png" or ".bmp" (any case) keeps that
// format; any other name gets the extension of the type chosen in the
// dialog appended (pair 2 BMP, else PNG), so the bytes always match the name.
struct PictureFile {
    std::string name;
    bool bitmap = false;
};
PictureFile PictureFileName(const std::string& chosen, int chosenFilter);

// The Save of a picture: the dialog, then the rules of every save (never an
// open set's file nor its backup, a message says why; an existing file only
// after the question). nullopt when cancelled, refused or not to be replaced.
std::optional<PictureFile> ChoosePictureFile(const KovaState& s, KovaUi& ui, FileChooser& dialog,
                                             const std::string& title);

}  // namespace core
