// The one place where the program touches the file system. File names are
// kept, like all the program's text, as Windows-1252 bytes; here they become
// the operating system's paths. Failures come back as error codes (errno
// values); FileError in store/error_numbers.h turns them into the number
// and description of the "Error # " message.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>

namespace core {

// The operating system's path of a file name in Windows-1252 bytes (built
// from its UTF-8 form).
std::filesystem::path NativePath(std::string_view name);

// Something (a file, a folder, ...) is there under the name.
bool PathExists(std::string_view name);
// A plain file is there under the name (following links).
bool IsRegularFile(std::string_view name);
// Something stands under the name itself: a link counts, also one that leads
// nowhere (which PathExists, following it, does not see).
bool EntryExists(std::string_view name);

// The name as an absolute path, made once when a name enters the program
// (command line, file dialog): a relative name is taken from the working
// folder. "" for an empty name, or when the working folder's name holds a
// character the code page lacks.
std::string AbsoluteFileName(std::string_view name);

// The last part of the name, after its last '/'.
std::string_view FileNamePart(std::string_view name);

// Reads the whole file into `bytes`; on failure `bytes` is left untouched.
// Anything but a plain file is refused (EISDIR for a folder), and so is one
// longer than `maxBytes` (errc::file_too_large), before it is read.
std::error_code ReadWholeFile(std::string_view name, std::string& bytes,
                              size_t maxBytes = SIZE_MAX);

// Reads the file from the start a chunk at a time, handing each to `each`, so
// that no more than one chunk is held; refuses what ReadWholeFile refuses (a
// file that grows past `maxBytes` while it is read, after the chunks before).
// An exception thrown by `each` ends the reading and passes on.
std::error_code ReadFileInChunks(std::string_view name,
                                 const std::function<void(std::string_view)>& each,
                                 size_t maxBytes = SIZE_MAX);

// Reads the end of the file into `bytes`, never more than `maxBytes` of it:
// the whole file when it is no longer, else its lines from the first that
// starts (after a CR LF, a lone LF or a lone CR) within its last `maxBytes`
// bytes, none when no line starts there. `skipped` is how many bytes come
// before them. Refuses what ReadWholeFile refuses, but for the length; on
// failure leaves both alone.
std::error_code ReadFileTail(std::string_view name, size_t maxBytes, std::string& bytes,
                             uintmax_t& skipped);

// A plain file is there under the name that may not be written: its
// permissions allow no writing, or not to this user.
bool IsReadOnlyFile(std::string_view name);

// Writes `bytes` to a new file beside `name` (name + ".~tmpN", never one that
// exists) and gives its name in `tempName`. On failure nothing is left behind;
// errc::file_exists when no temporary name was free, errc::permission_denied
// when `name` is a read-only file (a rename would go around its permission),
// errc::file_too_large when the process may not write a file that long.
std::error_code WriteTemporaryBeside(std::string_view name, std::string_view bytes,
                                     std::string& tempName);

// Replaces the file with `bytes`: they go to a temporary file first, which
// takes the file's place only once complete, so on failure the old file is
// left as it was and no temporary file remains.
std::error_code ReplaceFile(std::string_view name, std::string_view bytes);

// As ReplaceFile, with the bytes the file `source` holds followed by `end`,
// read and written a chunk at a time. `source` may be `name` itself.
// `readFailed` tells a failure to read `source` from one to write `name`.
std::error_code ReplaceFileWithCopy(std::string_view name, std::string_view source,
                                    std::string_view end, bool& readFailed);

// Appends `bytes`, creating the file when missing. On failure the file is cut
// back to its former length (or removed when it did not exist).
std::error_code AppendToFile(std::string_view name, std::string_view bytes);

// Renames (replacing a file of the new name in one step) and removes.
std::error_code RenameFile(std::string_view from, std::string_view to);
std::error_code RemoveFile(std::string_view name);

// Whether two names reach the same file, as the file system resolves them:
// for files that are there, the same file (links and other spellings of the
// path included); otherwise the same path once the folders that exist are
// resolved. Two empty names are not the same file.
bool SameFile(std::string_view a, std::string_view b);

}  // namespace core
