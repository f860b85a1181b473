#include "mainwindow/file_commands.h"

#include "store/data_file.h"
#include "store/error_numbers.h"
#include "store/file_access.h"
#include "store/open_files.h"
#include "store/open_save.h"
#include "store/selection_store.h"
#include "store/table_file.h"
#include "store/text.h"
#include "store/view.h"

namespace core {

namespace {

// Writes the viewer's text to `name`, the file replaced only once complete;
// of a viewer that shows only a file's end, the whole file as it is on disk.
// A line end follows either.
bool WriteOutputText(KovaUi& ui, const std::string& name, const OutputView& viewer) {
    bool readFailed = false;
    std::string failed;
    const std::error_code ec =
        viewer.endOf.empty() ? ReplaceFile(name, viewer.text + "\r\n", {}, &failed)
                             : ReplaceFileWithCopy(name, viewer.endOf, "\r\n", readFailed, &failed);
    if (ec) {
        const NumberedError e = FileError(ec, readFailed       ? viewer.endOf
                                              : failed.empty() ? name
                                                               : failed);
        ui.Message(ErrorText(e.number, kProgramTitle, e.description), "Error", Icon::Critical);
        return false;
    }
    return true;
}

// A save dialog on `name`: the chosen name by the extension rule; "" when
// the dialog was cancelled or refused the name, which ends the command.
std::string ChooseSaveName(FileChooser& dialog, const std::string& name, const char* filter,
                           const std::string& extension, const char* title) {
    std::optional<std::string> chosen = ChooseFileToSave(dialog, {name, filter, title});
    return chosen ? WithExtension(name, *chosen, extension) : std::string();
}

bool SaveOutput(KovaState& s, KovaUi& ui, FileChooser& dialog, const OutputView& viewer,
                std::string& fileName, KnownFile& known, const char* filter,
                const std::string& extension, const std::string& kind, const char* title) {
    const std::string name = ChooseSaveName(dialog, fileName, filter, extension, title);
    if (name.empty())
        return false;
    // Only the text of this kind of file goes into it.
    if (!viewer.visible || s.OutputKind != kind) {
        fileName = name;
        return false;
    }
    // The text replaces the file whole and keeps no backup.
    if (!MayWriteFile(s, ui, name,
                      {.keepsBackup = false, .askBeforeReplacing = true, .ownFile = fileName}) ||
        !ConfirmReplacingChangedFile(ui, known, name, "the text", title))
        return false;
    // The output takes the name only once written there: "Show output" must
    // not show a file the save could not write.
    if (!WriteOutputText(ui, name, viewer))
        return false;
    fileName = name;
    known = KnowFile(name);
    return true;
}

}  // namespace

std::string WithExtension(const std::string& oldName, const std::string& newName,
                          const std::string& extension) {
    if (newName == oldName || newName.empty())
        return newName;
    if (newName.size() >= extension.size() &&
        newName.compare(newName.size() - extension.size(), extension.size(), extension) == 0)
        return newName;
    return newName + extension;
}

bool OpenKovfile(KovaState& s, KovaUi& ui, FileChooser& dialog) {
    const ShownView before(s);
    if (!SwitchToSetAndAskToSave(s, ui, 1)) {
        before.Restore(s, ui, ViewRestore::WindowAsItWas);
        return false;
    }
    // Without a data set 1 the file takes the place of a shown data set 2,
    // which is asked about first like any set that is replaced.
    if (s.ViewMode == 2 && s.DataFileName1.empty() && !SwitchToSetAndAskToSave(s, ui, 2)) {
        before.Restore(s, ui, ViewRestore::Redrawn);
        return false;
    }
    std::optional<std::string> name = ChooseFileToOpen(dialog, {"", kDataFilter, "Open Kovfile"});
    if (!name || name->empty()) {
        before.Restore(s, ui, ViewRestore::WindowAsItWas);
        return false;
    }
    if (s.ViewMode == 0 || s.ViewMode == 3)
        s.ViewMode = 1;
    std::string& fileName = s.ViewMode == 2 ? s.DataFileName2 : s.DataFileName1;
    std::string oldName = fileName;
    fileName = *name;
    bool opened = s.ViewMode == 2 ? OpenData2File(s, ui, *name) : OpenDataFile(s, ui, *name);
    if (!opened) {
        fileName = oldName;
        before.Restore(s, ui, ViewRestore::Redrawn);
        return false;
    }
    return true;
}

bool SaveKovfile(KovaState& s, KovaUi& ui, FileChooser& dialog) {
    if (s.ViewMode != 1 && s.ViewMode != 2)
        return false;
    std::string& fileName = s.ViewMode == 1 ? s.DataFileName1 : s.DataFileName2;
    const std::string oldName = fileName;
    const std::string name = ChooseSaveName(dialog, fileName, kDataFilter, ".kov", "Save Kovfile");
    if (name.empty())
        return false;
    fileName = name;
    if (!SaveCurrentFile(s, ui, SameFile(name, oldName))) {
        fileName = oldName;
        return false;
    }
    if (name != oldName) {
        s.Main.title = (s.ViewMode == 1 ? "KOVA Kovfile: " : "KOVA Kov2file: ") + name;
        ui.MainChanged();
    }
    return true;
}

bool AskSaveTable(KovaState& s, KovaUi& ui, FileChooser& dialog) {
    if (!s.TableChanged)
        return true;
    // The lists and labels live only in memory until a table file holds them.
    switch (ui.AskSaveFile(s.TableFileName.empty() ? "The table (labels and categories)"
                                                   : s.TableFileName)) {
        case Answer::Yes:
            return s.TableFileName.empty() ? SaveTablefile(s, ui, dialog) : SaveTableButton(s, ui);
        case Answer::No:
            return true;
        default:
            s.DialogCancelled = 1;
            return false;
    }
}

bool OpenTablefile(KovaState& s, KovaUi& ui, FileChooser& dialog) {
    // The table read takes the place of the one in memory, edits and all.
    s.DialogCancelled = 0;
    if (!AskSaveTable(s, ui, dialog))
        return false;
    std::optional<std::string> name =
        ChooseFileToOpen(dialog, {"", kTableFilter, "Open Tablefile"});
    if (!name || name->empty())
        return false;
    KnownFile known = KnowFile(*name);
    if (!ReadTableFile(s, ui, *name))
        return false;
    s.TableFileName = *name;
    s.TableFileKnown = std::move(known);
    return true;
}

bool SaveTablefile(KovaState& s, KovaUi& ui, FileChooser& dialog) {
    const std::string name =
        ChooseSaveName(dialog, s.TableFileName, kTableFilter, ".tbl", "Save Tablefile");
    // A table keeps no backup: another file is replaced only when the user
    // says so, and the table takes the name only once written there.
    if (name.empty() ||
        !MayWriteFile(
            s, ui, name,
            {.keepsBackup = false, .askBeforeReplacing = true, .ownFile = s.TableFileName}) ||
        !ConfirmReplacingChangedFile(ui, s.TableFileKnown, name, "the table", "Save Tablefile") ||
        !SaveTableFile(s, ui, name))
        return false;
    s.TableFileName = name;
    return true;
}

bool OpenFilterfile(KovaState& s, KovaUi& ui, FileChooser& dialog) {
    const ShownView before(s);
    if (!SwitchToSetAndAskToSave(s, ui, 3)) {
        before.Restore(s, ui, ViewRestore::WindowAsItWas);
        return false;
    }
    // The filter lines take the storage of an open data set 2: it is asked
    // about before it is dropped.
    if (s.FilterFileName.empty() && !SwitchToSetAndAskToSave(s, ui, 2)) {
        before.Restore(s, ui, ViewRestore::Redrawn);
        return false;
    }
    std::optional<std::string> name =
        ChooseFileToOpen(dialog, {"", kFilterFileFilter, "Open Filterfile"});
    if (!name || name->empty()) {
        before.Restore(s, ui, ViewRestore::WindowAsItWas);
        return false;
    }
    if (s.ViewMode == 0)
        s.ViewMode = 3;
    std::string oldName = s.FilterFileName;
    s.FilterFileName = *name;
    if (!OpenFilterFile(s, ui, *name)) {
        s.FilterFileName = oldName;
        before.Restore(s, ui, ViewRestore::Redrawn);
        return false;
    }
    return true;
}

bool SaveFilterfile(KovaState& s, KovaUi& ui, FileChooser& dialog) {
    std::string oldName = s.FilterFileName;
    std::string name =
        ChooseSaveName(dialog, oldName, kFilterFileFilter, ".fil", "Save Filterfile");
    if (name.empty())
        return false;
    // The filter lines are saved as Save Data saves them, whatever set is shown.
    const int16_t shown = s.ViewMode;
    s.ViewMode = 3;
    s.FilterFileName = name;
    const bool saved = SaveCurrentFile(s, ui, !oldName.empty() && SameFile(name, oldName));
    s.ViewMode = shown;
    if (!saved) {
        // The new name was never written: later saves and the exit question
        // must go on naming the file the lines came from.
        s.FilterFileName = oldName;
        return false;
    }
    if (name != oldName) {
        s.Main.title = "KOVA Filterfile: " + name;
        ui.MainChanged();
    }
    return true;
}

bool OpenAnafile(KovaState& s, FileChooser& dialog) {
    std::optional<std::string> name =
        ChooseFileToOpen(dialog, {"", kAnalysisFilter, "Open Anafile"});
    if (!name || name->empty())
        return false;
    s.AnalysisFileName = *name;
    return true;
}

bool SaveAnafile(KovaState& s, KovaUi& ui, FileChooser& dialog, const OutputView& viewer) {
    return SaveOutput(s, ui, dialog, viewer, s.AnalysisFileName, s.AnalysisFileKnown,
                      kAnalysisFilter, ".ana", "ana", "Save Anafile");
}

bool OpenLstfile(KovaState& s, FileChooser& dialog) {
    std::optional<std::string> name =
        ChooseFileToOpen(dialog, {"", kListingFilter, "Open Lstfile"});
    if (!name || name->empty())
        return false;
    s.ListingFileName = *name;
    return true;
}

bool SaveLstfile(KovaState& s, KovaUi& ui, FileChooser& dialog, const OutputView& viewer) {
    return SaveOutput(s, ui, dialog, viewer, s.ListingFileName, s.ListingFileKnown, kListingFilter,
                      ".lst", "lst", "Save Lstfile");
}

ExitDecision ExitProgram(KovaState& s, KovaUi& ui, FileChooser& dialog) {
    s.DialogCancelled = 0;
    if (!AskSaveOpenFiles(s, ui) || !AskSaveTable(s, ui, dialog))
        return ExitDecision::Stay;
    return ExitDecision::End;
}

bool SaveShownSet(KovaState& s, KovaUi& ui) {
    if (s.ViewMode < 1 || s.ViewMode > 3)
        return false;
    return SaveCurrentFile(s, ui);
}

bool SaveSelectionAs(KovaState& s, KovaUi& ui, FileChooser& dialog) {
    if (s.ViewMode < 1 || s.ViewMode > 3)
        return false;
    bool filter = s.ViewMode == 3;
    FileDialogRequest request{"", filter ? kSelectionFilterFileFilter : kDataFilter,
                              filter ? "Save Selection As Fil.File (new line numbers)"
                                     : "Save Selection As KovFile (new line numbers)"};
    std::optional<std::string> chosen = ChooseFileToSave(dialog, request);
    if (!chosen || chosen->empty())
        return false;
    std::string name = *chosen;
    std::string extension = filter ? ".fil" : ".kov";
    if (name.size() < 4 || name.compare(name.size() - 4, 4, extension) != 0)
        name += extension;
    // The selection goes to a new file: written over an open set's own file
    // (by any spelling or link) it would replace the whole protocol on disk
    // by the selected records. The file is then opened in the set's place,
    // so it may not share a backup with the set beside it either.
    const DataFileKind kind = KindOfSet(s.ViewMode);
    if (!MayWriteFile(s, ui, name,
                      {.backupKind = kind, .opensAsSet = s.ViewMode, .askBeforeReplacing = true}))
        return false;
    s.SelectionFileName = name;
    StoreSelectionEdits(s);
    const RecordSet& records = s.ViewMode == 1 ? s.Records1 : s.Records2;
    int16_t count = ShownCount(s);
    if (!SaveDataFile(s, ui, name, records, count, s.FileHeaderNumber, name, kind))
        return false;
    // The new file takes the place of the whole set, which may hold edits
    // made in and before the selection: ask, as every replacing opener does,
    // whether to save it first. Cancel keeps the selection shown.
    if (!AskSaveFile(s, ui))
        return true;
    // The opener takes the name over once the file is read.
    switch (s.ViewMode) {
        case 1:
            return OpenDataFile(s, ui, name);
        case 2:
            return OpenData2File(s, ui, name);
        default:
            return OpenFilterFile(s, ui, name);
    }
}

bool SaveTableButton(KovaState& s, KovaUi& ui) {
    if (s.TableFileName.empty())
        return false;
    const std::string name = Trim(s.TableFileName);
    if (!MayWriteFile(s, ui, name, {.keepsBackup = false}) ||
        !ConfirmReplacingChangedFile(ui, s.TableFileKnown, name, "the table", "Save Tablefile"))
        return false;
    return SaveTableFile(s, ui, name);
}

bool CloseShownSet(KovaState& s, KovaUi& ui) {
    int16_t mode = s.ViewMode;
    if (mode < 1 || mode > 3)
        return false;
    std::string& fileName = mode == 1   ? s.DataFileName1
                            : mode == 2 ? s.DataFileName2
                                        : s.FilterFileName;
    if (fileName.empty())
        return false;
    int16_t& selection = mode == 1 ? s.SelectionShown1 : s.SelectionShown2;
    bool endedSelection = false;
    if (selection != 0) {
        StoreSelectionEdits(s);
        EndSelection(s, ui);
        endedSelection = true;
    }
    s.DialogCancelled = 0;
    if (!AskSaveFile(s, ui)) {
        // The full set is shown again as it now stands.
        if (endedSelection)
            ShowViewMode(s, ui, mode);
        return false;
    }
    fileName.clear();
    for (int i = 1; i <= s.DisplayRows; ++i) {
        PageRow& row = s.Main.rows[i];
        for (std::string& v : row.v)
            v.clear();
        row.lab.clear();
        row.labColour = kVeryPaleYellow;
    }
    s.Main.text1.clear();
    s.Main.text1Record.clear();
    s.Main.text1Colour = kWhite;
    s.Main.Teller.caption.clear();
    s.Main.scrollMax = 0;
    s.Main.scrollValue = 0;
    s.Main.scrollEnabled = false;
    ++(mode == 1 ? s.ChangeCount1 : s.ChangeCount2);
    if (mode == 1) {
        s.RecordCount1 = 0;
        s.CurrentRecord1 = 0;
        s.Records1.assign(1, ProtocolRecord{});
        s.ReadIncomplete1 = false;
    } else {
        s.ReadIncomplete2 = false;
        if (mode == 2) {
            s.RecordCount2 = 0;
            s.CurrentRecord2 = 0;
        } else {
            s.FilterCount = 0;
            s.CurrentFilterLine = 0;
        }
        s.Records2.assign(1, ProtocolRecord{});
    }
    s.Main.title = "KOVA";
    if (mode == 1)
        s.ViewMode = 0;
    ui.MainChanged();
    return true;
}

}  // namespace core
