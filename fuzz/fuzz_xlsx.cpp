// Feeds any bytes to our ".xlsx" parser: the input is cut at NUL bytes into a
// worksheet, its shared strings and its styles, which are zipped beside a
// fixed workbook part and read as the reader program reads them. A read
// refused for any reason is tried again with the worksheet alone, so that
// shared strings or styles that are not well-formed never keep the fuzzing
// from the worksheet's own parser. Besides crashes and sanitizer reports it
// checks that a read gives exactly the cells asked for, each within the
// field bound, or a WorkbookError.
#include <unistd.h>
#include <zip.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "sheetreader/sheet_reader.h"

namespace {

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_xlsx: %s\n", what);
        std::abort();
    }
}

const std::string& ZipName() {
    static const std::string name = (std::filesystem::temp_directory_path() /
                                     ("kova_fuzz_" + std::to_string(getpid()) + ".xlsx"))
                                        .string();
    return name;
}

void RemoveScratchFile() {
    std::error_code ec;
    std::filesystem::remove(std::filesystem::temp_directory_path() /
                                ("kova_fuzz_" + std::to_string(getpid()) + ".xlsx"),
                            ec);
}

bool WriteZip(const std::vector<std::pair<const char*, std::string>>& parts) {
    int error = 0;
    zip_t* zip = zip_open(ZipName().c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (zip == nullptr)
        return false;
    for (const auto& [name, bytes] : parts) {
        zip_source_t* source = zip_source_buffer(zip, bytes.data(), bytes.size(), 0);
        if (source == nullptr || zip_file_add(zip, name, source, 0) < 0) {
            zip_source_free(source);
            zip_discard(zip);
            return false;
        }
    }
    return zip_close(zip) == 0;
}

// Reads the one sheet of the zip written; false when it is refused.
bool ReadSheet() {
    try {
        std::unique_ptr<core::Workbook> book = core::OpenXlsxWorkbook(ZipName());
        Check(book->SheetNames() == std::vector<std::string>{"S"}, "the one sheet is listed");
        core::CellRequest request{0, 1, 6, {1, 2, 3, 16384}};
        const std::vector<core::CellValue> cells = book->Cells(request);
        Check(cells.size() == 24, "exactly the cells asked for");
        for (const core::CellValue& c : cells) {
            Check(c.text.size() <= core::kMaxFieldBytes, "a field within its bound");
            Check(c.kind == core::CellValue::Kind::Text || c.text.empty(),
                  "text only in text cells");
        }
        return true;
    } catch (const core::WorkbookError& e) {
        Check(*e.what() != '\0', "a failure says what failed");
        return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::atexit(RemoveScratchFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> pieces(3);
    size_t piece = 0;
    for (char c : input) {
        if (c == '\0' && piece < 2)
            ++piece;
        else
            pieces[piece].push_back(c);
    }
    const std::string workbook =
        "<workbook xmlns:r=\"r\" date1904=\"0\"><sheets><sheet name=\"S\" r:id=\"rId1\"/>"
        "</sheets></workbook>";
    const std::string rels =
        "<Relationships><Relationship Id=\"rId1\" Type=\"x/worksheet\" "
        "Target=\"worksheets/sheet1.xml\"/></Relationships>";
    const std::pair<const char*, std::string> book = {"xl/workbook.xml", workbook};
    const std::pair<const char*, std::string> relations = {"xl/_rels/workbook.xml.rels", rels};
    const std::pair<const char*, std::string> sheet = {"xl/worksheets/sheet1.xml", pieces[0]};
    if (WriteZip({book,
                  relations,
                  sheet,
                  {"xl/sharedStrings.xml", pieces[1]},
                  {"xl/styles.xml", pieces[2]}}) &&
        !ReadSheet() && WriteZip({book, relations, sheet}))
        ReadSheet();
    return 0;
}
