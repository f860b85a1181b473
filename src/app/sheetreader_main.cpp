// kova_sheetreader: reads a workbook for the worksheet import, in a process
// of its own so that a file that crashes, hangs or floods the ".xls" library
// (or our own ".xlsx" reader) takes only this process down. It limits its own
// memory and processor time before it opens the file, writes one reply to
// standard output and ends.
//
//   kova_sheetreader names <file>
//   kova_sheetreader cells <file> <sheet> <first row> <row count> <column>...
#include <sys/resource.h>
#include <unistd.h>

#include <charconv>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "store/error_numbers.h"
#include "store/workbook.h"

namespace {

void Limit(int resource, rlim_t value) {
    rlimit limit{value, value};
    if (resource == RLIMIT_CPU)
        limit.rlim_max = value + 2;  // SIGXCPU first, then the kill
    setrlimit(resource, &limit);
}

bool Number(const char* text, long long low, long long high, int& value) {
    const char* end = text + std::strlen(text);
    auto [ptr, ec] = std::from_chars(text, end, value);
    return ec == std::errc() && ptr == end && value >= low && value <= high;
}

bool WriteAll(const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(1, bytes.data() + done, bytes.size() - done);
        if (n < 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

std::string Reply(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "names" && argc == 3)
        return core::EncodeNamesReply(core::OpenWorkbookFile(argv[2])->SheetNames());
    core::CellRequest request;
    bool good = command == "cells" && argc >= 6 && argc <= 6 + 8 &&
                Number(argv[3], 0, 65535, request.sheet) &&
                Number(argv[4], 1, core::kMaxWorkbookRows, request.firstRow) &&
                Number(argv[5], 0, core::kMaxRecords, request.rowCount);
    for (int i = 6; good && i < argc; ++i) {
        int column = 0;
        good = Number(argv[i], 1, core::kMaxWorkbookColumns, column);
        request.columns.push_back(column);
    }
    if (!good)
        return core::EncodeErrorReply(core::kErrWorkbook, "kova_sheetreader: wrong arguments");
    return core::EncodeCellsReply(core::OpenWorkbookFile(argv[2])->Cells(request));
}

}  // namespace

int main(int argc, char** argv) {
    Limit(RLIMIT_AS, core::kReaderMemoryBytes);
    Limit(RLIMIT_CPU, core::kReaderCpuSeconds);
    Limit(RLIMIT_CORE, 0);
    Limit(RLIMIT_FSIZE, 0);  // it writes no file
    auto unreadable = [&](const std::string& what) {
        const core::WorkbookError e = core::UnreadableWorkbook(argc > 2 ? argv[2] : "", what);
        return core::EncodeErrorReply(e.number, e.what());
    };
    std::string reply;
    try {
        reply = Reply(argc, argv);
    } catch (const core::WorkbookError& e) {
        reply = core::EncodeErrorReply(e.number, e.what());
    } catch (const std::bad_alloc&) {
        reply = unreadable("reading it needs more than " +
                           std::to_string(core::kReaderMemoryBytes >> 20) + " MB of memory");
    } catch (const std::exception& e) {
        reply = unreadable(e.what());
    }
    return WriteAll(reply) ? 0 : 1;
}
