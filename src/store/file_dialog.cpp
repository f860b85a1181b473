#include "store/file_dialog.h"

#include "store/file_access.h"
#include "store/open_files.h"
#include "store/open_save.h"
#include "store/selection_store.h"
#include "store/text.h"
#include "store/view.h"

namespace core {

namespace {

// "" (a name the dialog refused) stays "", so that a refused name is never
// taken for a cancel.
std::optional<std::string> Absolute(std::optional<std::string> name) {
    if (name && !name->empty())
        *name = AbsoluteFileName(*name);
    return name;
}

bool EndsWithNoCase(std::string_view name, std::string_view ending) {
    return name.size() >= ending.size() &&
           CompareCategories(name.substr(name.size() - ending.size()), ending) == 0;
}

}  // namespace

std::optional<std::string> ChooseFileToOpen(FileChooser& dialog, const FileDialogRequest& request) {
    return Absolute(dialog.ShowOpen(request));
}

std::optional<std::string> ChooseFileToSave(FileChooser& dialog, const FileDialogRequest& request) {
    return Absolute(dialog.ShowSave(request));
}

bool SwitchToSetAndAskToSave(KovaState& s, KovaUi& ui, int16_t mode) {
    const std::string& name = FileNameOfSet(s, mode);
    if (name.empty())
        return true;
    s.ViewMode = mode;
    if ((mode == 1 && s.SelectionShown1 != 0) || (mode == 2 && s.SelectionShown2 != 0)) {
        StoreSelectionEdits(s);
        EndSelection(s, ui);
    }
    s.DialogCancelled = 0;
    return AskSaveFile(s, ui);
}

PictureFile PictureFileName(const std::string& chosen, int chosenFilter) {
    if (EndsWithNoCase(chosen, ".png"))
        return {chosen, false};
    if (EndsWithNoCase(chosen, ".bmp"))
        return {chosen, true};
    const bool bitmap = chosenFilter == 2;
    return {chosen + (bitmap ? ".bmp" : ".png"), bitmap};
}

std::optional<PictureFile> ChoosePictureFile(const KovaState& s, KovaUi& ui, FileChooser& dialog,
                                             const std::string& title) {
    std::optional<std::string> chosen = ChooseFileToSave(dialog, {"", kPictureFilter, title});
    if (!chosen || chosen->empty())
        return std::nullopt;
    PictureFile file = PictureFileName(*chosen, dialog.ChosenFilter());
    // The picture is written whole or not at all, and keeps no backup.
    if (!MayWriteFile(s, ui, file.name, {.keepsBackup = false, .askBeforeReplacing = true}))
        return std::nullopt;
    return file;
}

}  // namespace core
