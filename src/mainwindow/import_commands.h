// The File menu's commands that bring records in from another file: append a
// data or filter file, merge a data file by time, and make data set 1 from a
// dialogue text, a running text or a worksheet.
#pragma once

#include "mainwindow/file_commands.h"
#include "store/state.h"
#include "store/text_import.h"
#include "store/ui.h"
#include "store/workbook.h"

namespace core {

// The title of the messages of a command used without the set it needs.
inline constexpr const char* kErrorHelpTitle = "ERROR HELP";

// Each returns true when it did its work; false when it ended with nothing
// changed (wrong view, cancel, a failed read, a refusal), the view as before.
bool AppendKovfile(KovaState& s, KovaUi& ui, FileChooser& dialog);
bool AppendFilterfile(KovaState& s, KovaUi& ui, FileChooser& dialog);
bool MergeKovfile(KovaState& s, KovaUi& ui, FileChooser& dialog);
bool ReadDialogueTxtfile(KovaState& s, KovaUi& ui, FileChooser& dialog, ImportDialogs& dialogs);
bool ReadGeneralTextfile(KovaState& s, KovaUi& ui, FileChooser& dialog);
bool ReadExcelfile(KovaState& s, KovaUi& ui, FileChooser& dialog, ImportDialogs& dialogs,
                   const WorkbookOpener& open = OpenWorkbookInReader);

}  // namespace core
