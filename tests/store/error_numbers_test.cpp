#include "store/error_numbers.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "store/file_access.h"

using core::FileError;
using core::NumberedError;

namespace {

std::error_code Errno(int err) {
    return {err, std::generic_category()};
}

}  // namespace

// Every file command reports a failure of the system with the same number and
// words; the name goes in brackets at the end.
TEST(FileError, MapsEachSystemFailureToItsNumberAndWords) {
    struct Row {
        std::error_code err;
        int number;
        std::string description;
    };
    const std::string access = std::string("Path/File access error: ");
    for (const Row& row : {
             Row{Errno(ENOENT), 53, "File not found (a.kov)"},
             Row{Errno(EACCES), 70, "Permission denied (a.kov)"},
             Row{Errno(EPERM), 70, "Permission denied (a.kov)"},
             Row{Errno(EROFS), 70, "Permission denied: the file system is read-only (a.kov)"},
             Row{Errno(ENOSPC), 61, "Disk full (a.kov)"},
             Row{Errno(EISDIR), 75, access + std::strerror(EISDIR) + " (a.kov)"},
             Row{Errno(EIO), 75, access + std::strerror(EIO) + " (a.kov)"},
             // A link failure of a name that is no link (any more): no target to name.
             Row{core::LinkError::LeadsNowhere, 75, access + "the link leads to no file (a.kov)"},
             Row{core::LinkError::LeadsToFolder, 75, access + "the link leads to a folder (a.kov)"},
         }) {
        SCOPED_TRACE(row.err);
        const NumberedError e = FileError(row.err, "a.kov");
        EXPECT_EQ(e.number, row.number);
        EXPECT_EQ(e.description, row.description);
    }
    // The same failure as the system reports it.
    EXPECT_EQ(FileError(std::error_code(ENOENT, std::system_category()), "b").number, 53);
}

TEST(FileError, AccessErrorIsTheSameWhateverTheFailure) {
    const NumberedError e = core::FileAccessError(Errno(ENOENT), "x/t.tbl");
    EXPECT_EQ(e.number, 75);
    EXPECT_EQ(e.description,
              std::string("Path/File access error: ") + std::strerror(ENOENT) + " (x/t.tbl)");
}
