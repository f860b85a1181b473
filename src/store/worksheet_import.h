// A range of rows of one worksheet made into a new data set 1, one record a
// row, with a chosen column for each of V1..V8.
#pragma once

#include <optional>
#include <string>

#include "store/state.h"
#include "store/text_import.h"
#include "store/ui.h"
#include "store/workbook.h"

namespace core {

// The text of a cell: a date (or, for V1, a number taken as a date) in the
// fixed form "dd-MM-yyyy H:mm:ss" (date only at midnight, "H:mm:ss" only
// below one day), a number with up to 15 significant digits and "." as the
// decimal point, text as it stands, an empty cell as "".
std::string DateOrText(const CellValue& Value);
std::string CellText(const CellValue& value);
// A number as CellText writes it.
std::string NumberText(double value);

// The worksheet dialog's OK: the column boxes of V1..V8, the row boxes and
// the chosen sheet (its place in the list offered, and its name). Returns
// the message to show when an answer is out of bounds (the dialog then stays
// open), or nothing when the answers were taken into ExcelColumns,
// ExcelFirstRow, ExcelLastRow, ExcelSheet and ScratchText. Rows go as far as
// a workbook's; only their number is bounded by the records a set holds.
std::optional<std::string> TakeWorksheetAnswers(KovaState& s, const std::string (&columns)[8],
                                                const std::string& fromRow,
                                                const std::string& toRow, int sheet,
                                                const std::string& sheetName);

// The whole import of FileName: reads the sheet names through the reader
// program, asks through `dialogs`, reads the cells of the chosen rows and
// columns through the reader again (the wait window shows meanwhile), then replaces data set 1,
// saves it beside the workbook as a
// ".kov" file (ImportedFileName; header number 9, file info: that name,
// " | worksheet: " and the sheet's name) and shows it. False when cancelled
// or when anything failed (a message says what): data set 1, its name, the
// window and the files on disk are then as they were.
bool ImportExcelSheet(KovaState& s, KovaUi& ui, ImportDialogs& dialogs, const std::string& FileName,
                      const WorkbookOpener& open = OpenWorkbookInReader);

}  // namespace core
