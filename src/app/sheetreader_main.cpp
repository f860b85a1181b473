// kova_sheetreader: reads a workbook for the worksheet import, in a process
// of its own so that a file that crashes, hangs or floods the ".xls" library
// (or our own ".xlsx" reader) takes only this process down. It limits its own
// memory and processor time before it opens the file, refuses to read when it
// cannot, writes one reply to standard output and ends.
//
//   kova_sheetreader names <file>
//   kova_sheetreader cells <file> <sheet> <first row> <row count> <column>...
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "sheetreader/sheet_reader.h"

namespace {

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

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const std::string reply = core::SheetReaderReply(
        arguments, [](int resource, unsigned long long soft, unsigned long long hard) {
            const rlimit limit{static_cast<rlim_t>(soft), static_cast<rlim_t>(hard)};
            return setrlimit(static_cast<__rlimit_resource_t>(resource), &limit) == 0 ? 0 : errno;
        });
    return WriteAll(reply) ? 0 : 1;
}
