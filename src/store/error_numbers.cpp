#include "store/error_numbers.h"

#include "store/file_access.h"
#include "store/text.h"

namespace core {

namespace {

std::string Where(std::string_view name) {
    return " (" + std::string(name) + ")";
}

// A link a save cannot go through, with where it leads (asked again of the
// file system: the code carries no name).
std::string LinkFailure(std::error_code ec, std::string_view name) {
    if (ec == LinkError::Loops)
        return "\"" + std::string(name) +
               "\" is a link that never reaches a file: its links go round in a loop, or on "
               "through more than 40";
    std::string file;
    const std::error_code now = SavedFileOf(name, file);
    if (now != ec || file.empty())
        return ec.message() + Where(name);
    return "\"" + std::string(name) + "\" is a link to " +
           (ec == LinkError::LeadsToFolder ? "the folder \"" + file + "\", not to a file"
                                           : "\"" + file + "\", which does not exist");
}

}  // namespace

NumberedError FileError(std::error_code ec, std::string_view name) {
    if (ec == std::errc::no_such_file_or_directory)
        return {kErrFileNotFound, "File not found" + Where(name)};
    if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted)
        return {kErrPermission, "Permission denied" + Where(name)};
    if (ec == std::errc::read_only_file_system)
        return {kErrPermission, "Permission denied: the file system is read-only" + Where(name)};
    if (ec == std::errc::no_space_on_device)
        return {kErrDiskFull, "Disk full" + Where(name)};
    return FileAccessError(ec, name);
}

NumberedError FileAccessError(std::error_code ec, std::string_view name) {
    if (ec.category() == LinkCategory())
        return {kErrAccess, "Path/File access error: " + LinkFailure(ec, name)};
    return {kErrAccess, "Path/File access error: " + ec.message() + Where(name)};
}

NumberedError ReadFileError(std::error_code ec, std::string_view name, size_t maxBytes,
                            std::string_view whatHolds) {
    if (ec != std::errc::file_too_large)
        return FileError(ec, name);
    return {kErrAccess, "Path/File access error: the file is larger than " + SizeInMB(maxBytes) +
                            ", the most " + std::string(whatHolds) + Where(name)};
}

}  // namespace core
