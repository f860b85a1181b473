// A spreadsheet workbook as the worksheet import reads it: the names of its
// worksheets in workbook order, and the cells of a range of rows of one of
// them.
//
// Workbooks come from elsewhere, and the ".xls" library fails on crafted
// files, so the import never parses one itself: a small reader program of
// ours (kova_sheetreader) reads it under memory and time limits and hands
// back what was asked through a pipe, and the program checks what comes back.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "store/record.h"

namespace core {

// One cell. Text is held in the program's code page; a number, a date or an
// elapsed time is held as a serial day number (days since 30 December 1899,
// the time of day as the fraction). Elapsed is a number shown in an
// elapsed-time format ("[h]:mm", "[h]:mm:ss", "[m]:ss" ...).
struct CellValue {
    enum class Kind { Empty, Number, Text, Date, Elapsed };
    Kind kind = Kind::Empty;
    double number = 0;
    std::string text;
    // The characters of the workbook's text that the code page lacks, each
    // now a "?" in `text`.
    uint32_t replaced = 0;
};

// A workbook that cannot be opened or read, or a sheet it does not have.
struct WorkbookError : std::runtime_error {
    int number;
    WorkbookError(int errorNumber, const std::string& description)
        : std::runtime_error(description), number(errorNumber) {}
};

// The errors every reader of a workbook gives alike: a workbook that cannot
// be read ("The workbook cannot be read (fileName): what"), a worksheet it
// does not have (`sheet` counted from 0), and a failure to reach its file
// (the "Error # " number and description of the file access).
WorkbookError UnreadableWorkbook(const std::string& fileName, const std::string& what);
WorkbookError NoSuchWorksheet(int sheet, const std::string& fileName);
WorkbookError WorkbookFileError(std::errc failure, const std::string& fileName);

// The largest row and column numbers a workbook can hold.
inline constexpr int kMaxWorkbookRows = 1048576;
inline constexpr int kMaxWorkbookColumns = 16384;
// All the text of the cells one import takes, a cell counted in every field
// it fills (a field alone is bounded by kMaxFieldBytes): far beyond any
// protocol, yet small enough that neither the reader nor the program, with
// the copies its reply, its records, the data file written and the windows
// make, comes near 1 GB.
inline constexpr size_t kMaxWorkbookTextBytes = size_t{64} << 20;
// What a list of sheet names may hold: no more than a reader of ours can
// give (an ".xls" names at most 65535 sheets of 255 characters, an ".xlsx"
// lists them in a part of at most 16 MB).
inline constexpr size_t kMaxSheetNames = 65535;
inline constexpr size_t kMaxSheetNameBytes = 4096;
inline constexpr size_t kMaxSheetNamesBytes = size_t{16} << 20;

// The cells an import takes: a range of rows of one worksheet, in the columns
// mapped to fields.
struct CellRequest {
    int sheet = 0;             // its place in SheetNames, from 0
    int firstRow = 1;          // from 1
    int rowCount = 0;          // at most kMaxRecords
    std::vector<int> columns;  // distinct, each from 1 to kMaxWorkbookColumns
};

class Workbook {
public:
    virtual ~Workbook() = default;
    // The worksheets' names in workbook order (chart sheets and the like are
    // left out).
    virtual std::vector<std::string> SheetNames() = 0;
    // The requested cells row by row: the cell of row firstRow + k in
    // columns[i] at index k * columns.size() + i; Empty outside the sheet.
    // Throws WorkbookError, also when a cell's text passes kMaxFieldBytes or
    // all of it kMaxWorkbookTextBytes.
    virtual std::vector<CellValue> Cells(const CellRequest& request) = 0;
};

// The workbook as the import reads it: each call runs the reader program,
// and `whileWaiting` is called about ten times a second until it is done.
std::unique_ptr<Workbook> OpenWorkbookInReader(const std::string& fileName,
                                               std::function<void()> whileWaiting);

// How the import opens a workbook; tests hand in a fake.
using WorkbookOpener = std::function<std::unique_ptr<Workbook>(const std::string& fileName,
                                                               std::function<void()> whileWaiting)>;

// Counts the text of the cells a read hands back against the bounds above.
class CellTextBudget {
public:
    explicit CellTextBudget(std::string fileName) : fileName_(std::move(fileName)) {}
    // Throws WorkbookError when `bytes` more would pass a bound.
    void Take(size_t bytes, int row, int column);
    // Gives back what a cell read again no longer holds.
    void Give(size_t bytes) { used_ -= std::min(bytes, used_); }

private:
    std::string fileName_;
    size_t used_ = 0;
};

// ---- the reader program and its pipe ---------------------------------------

// The limits the reader program puts on itself before it opens a workbook,
// and the time the program gives it.
inline constexpr unsigned long long kReaderMemoryBytes = 768ull << 20;
inline constexpr unsigned kReaderCpuSeconds = 20;
inline constexpr int kReaderWallMilliseconds = 30000;

// The reader's replies: a tag byte, then numbers as 32-bit little-endian
// words and doubles as their 64-bit pattern, texts as a length and bytes.
//   'N' count, then each name
//   'C' count, then each cell: kind byte, a double for Number, Date and
//       Elapsed, a text and the count of characters replaced for Text
//   'E' error number, message
std::string EncodeNamesReply(const std::vector<std::string>& names);
std::string EncodeCellsReply(const std::vector<CellValue>& cells);
std::string EncodeErrorReply(int errorNumber, const std::string& message);

// A reply checked against what was asked: the names within their bounds, or
// exactly `cellCount` cells within the text bounds. A reply that breaks its form or
// a bound, and an error reply, throw WorkbookError naming `fileName`.
std::vector<std::string> DecodeNamesReply(std::string_view reply, const std::string& fileName);
std::vector<CellValue> DecodeCellsReply(std::string_view reply, size_t cellCount,
                                        const std::string& fileName);

// Runs the reader program with `arguments`, in a process group of its own,
// and gives what it wrote, at most `maxReplyBytes`. A reader that crashes,
// hits a limit, writes too much or runs past `wallMilliseconds` is stopped,
// and WorkbookError names `fileName`. Whatever the reader started is ended
// with it. The program is kova_sheetreader beside the running one, or the
// one the environment variable KOVA_SHEETREADER names (the tests' way).
std::string RunSheetReader(const std::vector<std::string>& arguments, const std::string& fileName,
                           size_t maxReplyBytes, const std::function<void()>& whileWaiting,
                           int wallMilliseconds = kReaderWallMilliseconds);

// The calendar of the serial day numbers: day 0 is 30 December 1899, this
// many days from 1 January 1970 ...
inline constexpr long long kSerialEpoch = -25569;
// ... and it counts a 29 February 1900 that never was, as serial day 60.
inline constexpr long long kPhantomDay = 60;

// A date given as year, month, day, hours, minutes and seconds as a serial
// day number.
double SerialDate(int year, int month, int day, int hours = 0, int minutes = 0, double seconds = 0);

}  // namespace core
