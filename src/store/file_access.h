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

// The file a save of `name` writes: `name` itself, or, when it is a
// symbolic link, the file the link leads to (through further links, at most
// 40), as an absolute name: a save keeps the link and writes that file, with
// its temporary file and backup beside it. Links are followed as the system
// follows them, never by their text: one that goes through a folder that is
// not there leads nowhere, whatever follows in it. On failure `file` is where
// the links lead, for the message: LinkError::LeadsNowhere when nothing is
// there, LinkError::LeadsToFolder for a folder, LinkError::Loops for links
// that go round in a loop or on past 40 (the system's ELOOP).
std::error_code SavedFileOf(std::string_view name, std::string& file);

// Why a link cannot be saved through (see SavedFileOf); FileError words it.
enum class LinkError { LeadsNowhere = 1, LeadsToFolder, Loops };
const std::error_category& LinkCategory();
std::error_code make_error_code(LinkError e);

// Replaces the file (SavedFileOf: through a link) with `bytes`. They go to a
// new file beside it first (its name + ".~tmpN", never one that exists),
// created with the file's owner and group (where the system allows them;
// else the group alone, else neither) and no more permissions than the file
// has, all given before any byte is in it, and flushed to the disk; only
// then does it take the file's place, and the folder is flushed after, so
// that neither a failure nor a crash of the system leaves the file cut short.
// With a `backup`, the file there first gets that name as well (replacing
// what stands there) by a hard link renamed over it, so that some file
// stands under its name at every step; where the file system has no hard
// links, the file is moved to that name, and back when the new one cannot
// take its place. `backup` is beside the file `name` leads to, so the caller
// resolves `name` first. On failure the old file is left as it was and no
// temporary file remains; so is the backup, unless the new file failed to
// take the old one's place after it, when the earlier backup is gone (the
// backup name then holds the old file too, but for a move, put back under
// its own name): errc::file_exists when no temporary name was free,
// errc::permission_denied for a read-only file (a rename would go around its
// permission; errc::read_only_file_system on a read-only file system),
// errc::file_too_large when the process may not write a file that long. A
// failure to flush the folder (an I/O error) is reported, the file being
// replaced by then. `failedName`, when given, is emptied, and on a failure
// that is not the file's own is the name it is about, for the message: the
// folder when it takes no new file or fails to be flushed, `backup` when the
// file could not be given that name.
std::error_code ReplaceFile(std::string_view name, std::string_view bytes,
                            std::string_view backup = {}, std::string* failedName = nullptr);

// As ReplaceFile, with the bytes the file `source` holds followed by `end`,
// read and written a chunk at a time. `source` may be `name` itself.
// `readFailed` tells a failure to read `source` from one to write `name`.
std::error_code ReplaceFileWithCopy(std::string_view name, std::string_view source,
                                    std::string_view end, bool& readFailed,
                                    std::string* failedName = nullptr);

// The steps of a replace that make it last through a crash of the system, in
// the order they happen: the temporary file's first byte about to be
// written, the temporary file flushed to the disk, each rename (the name it
// gets), the folder flushed. Only a test watches them, to see the order and
// the temporary file's permissions as it is written; the program sets no
// watcher. Not for use from more than one thread.
enum class SaveStep { WriteTemporary, SyncTemporary, Rename, SyncFolder };
using SaveStepWatcher = void (*)(SaveStep step, const std::filesystem::path& path);
void WatchSaveSteps(SaveStepWatcher watcher);

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

// What the system reports of the file a name leads to (through links):
// which file it is, its size and the time of its last change, to the
// nanosecond where the system keeps it. The time its entry last changed is
// left out: the link steps of a save touch it without changing the bytes.
struct FileStamp {
    bool exists = false;
    bool plainFile = false;
    uintmax_t device = 0;
    uintmax_t inode = 0;
    uintmax_t size = 0;
    int64_t seconds = 0;
    int64_t nanoseconds = 0;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file `name` leads to now; `exists` false when there is none,
// `plainFile` false for a folder or anything else but a file.
FileStamp StampOf(std::string_view name);

// A file as the program last read or wrote it: the name it was reached by
// ("" while none) and its stamp then. Another name of the same file (a link,
// another spelling) reaches it too; a save under any other name finds nothing
// to compare.
struct KnownFile {
    std::string name;
    FileStamp stamp;
    bool operator==(const KnownFile&) const = default;
};

// `name` and its stamp now: taken before a read, and after a write of the
// program's own.
KnownFile KnowFile(std::string_view name);

// Whether the file under `name`, when it is the one `known` names, is no
// longer as known: another program (or the program in another window) wrote,
// replaced or touched it since. False for any other name, and when nothing is
// there now (the save writes it anew and nothing is lost) or no plain file
// (the save refuses it).
bool ChangedOnDisk(const KnownFile& known, std::string_view name);

// AppendToFile, as the program's own write: `known` takes the file's new
// stamp when the file was as known before it, and stays as it was otherwise,
// so that another's change is still noticed.
std::error_code AppendToKnownFile(std::string_view name, std::string_view bytes, KnownFile& known);

}  // namespace core

template <>
struct std::is_error_code_enum<core::LinkError> : std::true_type {};
