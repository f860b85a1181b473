#include "mainwindow/import_commands.h"

#include "store/append_merge.h"
#include "store/view.h"
#include "store/worksheet_import.h"

namespace core {

namespace {

// The question before data set 1 is replaced, the file dialog and the
// import; the view comes back when nothing was imported.
template <typename Import>
bool ReplaceData1(KovaState& s, KovaUi& ui, FileChooser& dialog, const std::string& preset,
                  const char* filter, const char* title, std::string& nameVariable,
                  Import&& import) {
    const ShownView before(s);
    if (SwitchToSetAndAskToSave(s, ui, 1)) {
        std::optional<std::string> name = ChooseFileToOpen(dialog, {preset, filter, title});
        if (name && !name->empty()) {
            nameVariable = *name;
            if (import(*name))
                return true;
        }
    }
    before.Restore(s, ui, ViewRestore::RedrawnIfLeft);
    return false;
}

// Append and merge: refused with `refusal` unless the set to add to is
// there (`ready`); else the file chosen in the dialog is read and `take`
// adds its records.
bool AddFromFile(KovaState& s, KovaUi& ui, FileChooser& dialog, bool ready, const char* refusal,
                 const char* filter, const char* title, bool (*take)(KovaState&, KovaUi&)) {
    if (!ready) {
        ui.Message(refusal, kErrorHelpTitle, Icon::Exclamation);
        return false;
    }
    std::optional<std::string> name = ChooseFileToOpen(dialog, {"", filter, title});
    if (!name || name->empty())
        return false;
    s.AppendFileName = *name;
    return ReadAppendFile(s, ui, *name) && take(s, ui);
}

}  // namespace

bool AppendKovfile(KovaState& s, KovaUi& ui, FileChooser& dialog) {
    return AddFromFile(s, ui, dialog, s.ViewMode == 1, "First, open kov.file to append to!",
                       kDataFilter, "Append Kovfile", AppendWorkRecordsToData1);
}

bool AppendFilterfile(KovaState& s, KovaUi& ui, FileChooser& dialog) {
    return AddFromFile(s, ui, dialog, s.ViewMode == 3,
                       "First, open Filter file (*.fil) to append to!", kFilterFileFilter,
                       "Append Filterfile", AppendWorkRecordsToFilterList);
}

bool MergeKovfile(KovaState& s, KovaUi& ui, FileChooser& dialog) {
    return AddFromFile(s, ui, dialog, !s.DataFileName1.empty(),
                       "First, open kov.file to merge with!", kDataFilter, "Merge Kov file",
                       MergeDataByTime);
}

bool ReadDialogueTxtfile(KovaState& s, KovaUi& ui, FileChooser& dialog, ImportDialogs& dialogs) {
    // The dialog opens on the name of its previous use.
    return ReplaceData1(
        s, ui, dialog, s.CurrentFileName, kDialogueFilter, "Read General Dialogue Txtfile",
        s.CurrentFileName,
        [&](const std::string& name) { return ReadDialogueTextFile(s, ui, dialogs, name); });
}

bool ReadGeneralTextfile(KovaState& s, KovaUi& ui, FileChooser& dialog) {
    return ReplaceData1(s, ui, dialog, "", kTextFilter, "Read General Text file", s.CurrentFileName,
                        [&](const std::string& name) { return ImportTextSentences(s, ui, name); });
}

bool ReadExcelfile(KovaState& s, KovaUi& ui, FileChooser& dialog, ImportDialogs& dialogs,
                   const WorkbookOpener& open) {
    return ReplaceData1(
        s, ui, dialog, "", kWorksheetFilter, "Read from Excel file", s.ExcelFileName,
        [&](const std::string& name) { return ImportExcelSheet(s, ui, dialogs, name, open); });
}

}  // namespace core
