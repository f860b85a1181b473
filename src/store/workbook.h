// A spreadsheet workbook as the worksheet import reads it: the names of its
// worksheets in workbook order, and cell values by row and column.
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace core {

// One cell. Text is held in the program's code page; a number or a date is
// held as a serial day number (days since 30 December 1899, the time of day
// as the fraction).
struct CellValue {
    enum class Kind { Empty, Number, Text, Date, Elapsed };
    Kind kind = Kind::Empty;
    double number = 0;
    std::string text;
};

// A workbook that cannot be opened or read, or a sheet it does not have.
struct WorkbookError : std::runtime_error {
    int number;
    WorkbookError(int errorNumber, const std::string& description)
        : std::runtime_error(description), number(errorNumber) {}
};

class Workbook {
public:
    virtual ~Workbook() = default;
    // The worksheets' names in workbook order (chart sheets and the like are
    // left out).
    virtual std::vector<std::string> SheetNames() = 0;
    // Makes the named worksheet the one Cell reads; throws WorkbookError when
    // there is none of that name.
    virtual void SelectSheet(const std::string& name) = 0;
    // The value at row and column (both from 1); Empty outside the sheet.
    virtual CellValue Cell(int row, int column) = 0;
};

// Opens a workbook by its name (".xls" and ".xlsx", told apart by their
// content); throws WorkbookError.
std::unique_ptr<Workbook> OpenWorkbookFile(const std::string& fileName);

// The readers behind OpenWorkbookFile.
std::unique_ptr<Workbook> OpenXlsWorkbook(const std::string& fileName);
std::unique_ptr<Workbook> OpenXlsxWorkbook(const std::string& fileName);

// How the import opens a workbook; tests hand in a fake.
using WorkbookOpener = std::function<std::unique_ptr<Workbook>(const std::string&)>;

// A date given as year, month, day, hours, minutes and seconds as a serial
// day number.
double SerialDate(int year, int month, int day, int hours = 0, int minutes = 0, double seconds = 0);

// UTF-8 text (as the workbook formats store it) in the program's code page;
// a character the code page lacks becomes "?".
std::string Utf8ToProgramText(std::string_view utf8);

}  // namespace core
