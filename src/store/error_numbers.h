// The run-time error numbers and descriptions of the "Error # " messages
// (built with ErrorText), kept in one place so that every command reports the
// same failure with the same number and wording.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <system_error>

namespace core {

inline constexpr int kErrOverflow = 6;
inline constexpr int kErrSubscript = 9;
inline constexpr int kErrTypeMismatch = 13;
inline constexpr int kErrBadFileName = 52;
inline constexpr int kErrFileNotFound = 53;
inline constexpr int kErrDiskFull = 61;
inline constexpr int kErrPastEnd = 62;
inline constexpr int kErrPermission = 70;
inline constexpr int kErrAccess = 75;
// A workbook that the worksheet reader cannot take apart.
inline constexpr int kErrWorkbook = 1004;

// The number and description of an "Error # " message.
struct NumberedError {
    int number;
    std::string description;
};

// A failure of the file access functions on the file `name`: "File not found",
// "Permission denied" (saying so of a read-only file system), "Disk full" or,
// for anything else, the access error, each followed by the name in brackets;
// for a link a save cannot go through (LinkError, or links without end), the
// access error saying where the link leads.
NumberedError FileError(std::error_code ec, std::string_view name);

// The access error alone, whatever the failure: "Path/File access error: ",
// the system's description and the name in brackets (for a LinkError, as
// FileError words it).
NumberedError FileAccessError(std::error_code ec, std::string_view name);

// A failed ReadWholeFile of the file `name` with the bound `maxBytes`: as
// FileError, except that a file past the bound gets the access error naming
// the bound in MB, "the most " and `whatHolds` ("a data file may hold").
NumberedError ReadFileError(std::error_code ec, std::string_view name, size_t maxBytes,
                            std::string_view whatHolds);

}  // namespace core
