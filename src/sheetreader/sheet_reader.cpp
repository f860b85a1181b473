// The reader program's work for its command line, and the cell text the
// workbook parsers make.
#include "sheetreader/sheet_reader.h"

#include <sys/resource.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <new>

#include "store/error_numbers.h"
#include "store/text.h"
#include "store/windows1252.h"

namespace core {

namespace {

bool ArgumentNumber(const std::string& text, long long low, long long high, int& value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end && value >= low && value <= high;
}

std::string ReaderWork(const std::vector<std::string>& args) {
    const std::string command = args.empty() ? "" : args[0];
    if (command == "names" && args.size() == 2)
        return EncodeNamesReply(OpenWorkbookFile(args[1])->SheetNames());
    CellRequest request;
    bool good = command == "cells" && args.size() >= 5 && args.size() <= 5 + 8 &&
                ArgumentNumber(args[2], 0, 65535, request.sheet) &&
                ArgumentNumber(args[3], 1, kMaxWorkbookRows, request.firstRow) &&
                ArgumentNumber(args[4], 0, kMaxRecords, request.rowCount);
    for (size_t i = 5; good && i < args.size(); ++i) {
        int column = 0;
        good = ArgumentNumber(args[i], 1, kMaxWorkbookColumns, column);
        request.columns.push_back(column);
    }
    if (!good)
        return EncodeErrorReply(kErrWorkbook, "kova_sheetreader: wrong arguments");
    return EncodeCellsReply(OpenWorkbookFile(args[1])->Cells(request));
}

}  // namespace

std::string SheetReaderReply(const std::vector<std::string>& arguments,
                             const ReaderLimiter& limit) {
    const std::string fileName = arguments.size() > 1 ? arguments[1] : "";
    auto unreadable = [&](const std::string& what) {
        const WorkbookError e = UnreadableWorkbook(fileName, what);
        return EncodeErrorReply(e.number, e.what());
    };
    // The processor-time limit sends SIGXCPU first, the kill two seconds on;
    // the reader writes no file and leaves no core.
    const struct {
        int resource;
        unsigned long long soft, hard;
    } limits[] = {{RLIMIT_AS, kReaderMemoryBytes, kReaderMemoryBytes},
                  {RLIMIT_CPU, kReaderCpuSeconds, kReaderCpuSeconds + 2},
                  {RLIMIT_CORE, 0, 0},
                  {RLIMIT_FSIZE, 0, 0}};
    for (const auto& l : limits)
        if (const int failure = limit(l.resource, l.soft, l.hard); failure != 0)
            return unreadable("the reader cannot limit its memory and time (" +
                              std::string(std::strerror(failure)) + ")");
    try {
        return ReaderWork(arguments);
    } catch (const WorkbookError& e) {
        return EncodeErrorReply(e.number, e.what());
    } catch (const std::bad_alloc&) {
        return unreadable("reading it needs more than " + SizeInMB(kReaderMemoryBytes) +
                          " of memory");
    } catch (const std::exception& e) {
        return unreadable(e.what());
    }
}

void SetCellText(CellValue& v, std::string_view utf8) {
    size_t replaced = 0;
    v.kind = CellValue::Kind::Text;
    v.text = Utf8ToWindows1252Replacing(utf8, replaced);
    v.replaced = static_cast<uint32_t>(std::min<size_t>(replaced, v.text.size()));
}

std::string Utf8ToProgramText(std::string_view utf8) {
    size_t replaced = 0;
    return Utf8ToWindows1252Replacing(utf8, replaced);
}

}  // namespace core
