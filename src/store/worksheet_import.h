// A range of rows of one worksheet made into a new data set 1, one record a
// row, with a chosen column for each of V1..V8.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "store/state.h"
#include "store/text_import.h"
#include "store/ui.h"
#include "store/workbook.h"

namespace core {

// The text of a cell for V1: a plain number of 1 or more, or a negative one,
// as its number text, from 0 to below 1 as its time of day "H:mm:ss"; a
// duration (elapsed-time format) as hours from 0 ("25:30:00"); a date or
// time below one day as "H:mm:ss", from day 1 on as CellText gives it
// (DateTimeCodes then makes it a time code); text as it stands, an empty
// cell as "".
std::string DateOrText(const CellValue& Value);
// The text of a cell for V3..V8: a number with up to 15 significant digits
// and "." as the decimal point; a date in the fixed form "dd-MM-yyyy H:mm:ss"
// (the date only at midnight, "H:mm:ss" only below one day; days before 1
// March 1900 as the workbook counts them, its 29 February 1900 included); a
// duration as DateOrText gives it; text as it stands, an empty cell as "".
std::string CellText(const CellValue& value);

// The V1 cells in a date format from day 1 on as time codes that order and
// subtract as the moments they stand for: "H:mm:ss" counted from midnight of
// the earliest such date among the imported rows, hours past 24 included.
class DateTimeCodes {
public:
    // Notes the V1 cell of record `record`; only such dates are kept.
    void Note(int record, const CellValue& value);
    // Writes the time codes into the V1 of the noted records; the text that
    // ends the file info, " | first date: dd-MM-yyyy", or "" when none.
    std::string Apply(RecordSet& records) const;

private:
    std::vector<std::pair<int, long long>> dated_;  // record, second from day 0
    long long firstSerialDay_ = 0;
};

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
