// What only the reader program (kova_sheetreader) runs: the workbook parsers
// (".xls" through FreeXL, ".xlsx" through libzip, pugixml and a streaming
// reader of our own for the sheets) and its work for a command line. The
// main program never links this library, nor the libraries it uses: it
// parses no workbook in its own process.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/workbook.h"

namespace core {

// Opens a workbook by its name in this process (".xls" and ".xlsx", told
// apart by their content); throws WorkbookError.
std::unique_ptr<Workbook> OpenWorkbookFile(const std::string& fileName);
std::unique_ptr<Workbook> OpenXlsWorkbook(const std::string& fileName);
std::unique_ptr<Workbook> OpenXlsxWorkbook(const std::string& fileName);

// The reader program's work for its command line (the arguments after the
// program's name): it puts its limits in place through `limit` (setrlimit's
// part: a resource, its soft and hard limit; 0 or the error number), and
// only then opens the workbook. The reply to write; a limit that cannot be
// set refuses the read.
using ReaderLimiter =
    std::function<int(int resource, unsigned long long soft, unsigned long long hard)>;
std::string SheetReaderReply(const std::vector<std::string>& arguments, const ReaderLimiter& limit);

// Makes `v` a text cell of UTF-8 text (as the workbook formats store it),
// counting what the code page lacks.
void SetCellText(CellValue& v, std::string_view utf8);

// UTF-8 text (as the workbook formats store it) in the program's code page;
// a character the code page lacks becomes "?".
std::string Utf8ToProgramText(std::string_view utf8);

}  // namespace core
