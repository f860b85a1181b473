// The tests run the workbook reader of the build tree: the one beside a test
// program is not there.
#pragma once

#include <cstdlib>

namespace test {

inline const bool kSheetReaderNamed = [] {
    setenv("KOVA_SHEETREADER", KOVA_SHEETREADER_PATH, 1);
    return true;
}();

}  // namespace test
