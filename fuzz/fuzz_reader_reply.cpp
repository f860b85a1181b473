// Feeds any bytes to the program's check of what the reader program hands
// back. A reply is either refused with a WorkbookError or taken whole, and a
// reply taken is exactly what the reader's own encoding of it gives: nothing
// the checks let through was left unread or read two ways.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "store/workbook.h"

namespace {

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_reader_reply: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view reply(reinterpret_cast<const char*>(data), size);
    try {
        const std::vector<std::string> names = core::DecodeNamesReply(reply, "fuzz.xlsx");
        Check(names.size() <= core::kMaxSheetNames, "names within their count");
        size_t total = 0;
        for (const std::string& name : names)
            total += name.size();
        Check(total <= core::kMaxSheetNamesBytes, "names within their text bound");
        Check(core::EncodeNamesReply(names) == reply, "names read one way only");
    } catch (const core::WorkbookError& e) {
        Check(*e.what() != '\0', "a refusal says why");
    }
    // The number of cells asked for is the one the reply gives, or a few.
    size_t count = size % 7;
    if (size >= 5 && reply[0] == 'C' && (size & 1) != 0)
        count = static_cast<uint8_t>(reply[1]) | static_cast<size_t>(static_cast<uint8_t>(reply[2]))
                                                     << 8;
    try {
        const std::vector<core::CellValue> cells =
            core::DecodeCellsReply(reply, count, "fuzz.xlsx");
        Check(cells.size() == count, "exactly the cells asked for");
        size_t total = 0;
        for (const core::CellValue& c : cells) {
            Check(c.text.size() <= core::kMaxFieldBytes, "a field within its bound");
            total += c.text.size();
        }
        Check(total <= core::kMaxWorkbookTextBytes, "all text within its bound");
        Check(core::EncodeCellsReply(cells) == reply, "cells read one way only");
    } catch (const core::WorkbookError& e) {
        Check(*e.what() != '\0', "a refusal says why");
    }
    return 0;
}
