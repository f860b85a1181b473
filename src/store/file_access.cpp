#include "store/file_access.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <memory>
#include <vector>

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "store/windows1252.h"

namespace core {

namespace fs = std::filesystem;

namespace {

std::error_code ErrnoCode(int err) {
    return {err != 0 ? err : EIO, std::generic_category()};
}

std::FILE* OpenFile(const fs::path& path, const char* mode) {
#ifdef _WIN32
    std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(path.c_str(), wideMode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

// A write past the process's file-size limit must come back as the error
// EFBIG, handled like any failed write, instead of the signal that would end
// the program on the spot.
void IgnoreFileSizeSignal() {
#ifdef SIGXFSZ
    static const bool ignored = [] {
        std::signal(SIGXFSZ, SIG_IGN);
        return true;
    }();
    (void)ignored;
#endif
}

using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// Writes `bytes`; the failure's code.
std::error_code WriteBytes(std::FILE* f, std::string_view bytes) {
    IgnoreFileSizeSignal();
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size())
        return ErrnoCode(errno);
    return {};
}

// Closes after the writes that gave `ec`; the first failure's code.
std::error_code CloseWritten(std::FILE* f, std::error_code ec) {
    errno = 0;
    if (std::fflush(f) != 0 && !ec)
        ec = ErrnoCode(errno);
    errno = 0;
    if (std::fclose(f) != 0 && !ec)
        ec = ErrnoCode(errno);
    return ec;
}

// Writes and closes; the first failure's code.
std::error_code WriteAndClose(std::FILE* f, std::string_view bytes) {
    return CloseWritten(f, WriteBytes(f, bytes));
}

// Opens a plain file for reading and gives its size; anything else is
// refused (EISDIR for a folder), and so is a file longer than `maxBytes`.
std::error_code OpenForReading(std::string_view name, size_t maxBytes, FilePtr& f,
                               uintmax_t& size) {
    if (name.empty())
        return ErrnoCode(ENOENT);
    const fs::path path = NativePath(name);
    std::error_code ec;
    fs::file_status status = fs::status(path, ec);
    if (ec)
        return ec;
    if (fs::is_directory(status))
        return ErrnoCode(EISDIR);
    if (!fs::is_regular_file(status))
        return ErrnoCode(EINVAL);
    size = fs::file_size(path, ec);
    if (ec)
        size = 0;
    else if (size > maxBytes)
        return std::make_error_code(std::errc::file_too_large);
    f.reset(OpenFile(path, "rb"));
    if (!f)
        return ErrnoCode(errno);
    return {};
}

// The name in Windows-1252 bytes of a path; false when it holds a character
// the code page lacks.
bool NameOfPath(const fs::path& path, std::string& name) {
    const std::u8string utf8 = path.u8string();
    return Utf8ToWindows1252(
        std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()), name);
}

// Moves the read position to `offset` bytes from the start, also past 2 GB.
bool SeekTo(std::FILE* f, uintmax_t offset) {
#ifdef _WIN32
    return _fseeki64(f, static_cast<long long>(offset), SEEK_SET) == 0;
#else
    return fseeko(f, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

}  // namespace

fs::path NativePath(std::string_view name) {
    std::string utf8 = Windows1252ToUtf8(name);
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

bool PathExists(std::string_view name) {
    std::error_code ec;
    return !name.empty() && fs::exists(NativePath(name), ec);
}

bool IsRegularFile(std::string_view name) {
    std::error_code ec;
    return !name.empty() && fs::is_regular_file(NativePath(name), ec);
}

bool EntryExists(std::string_view name) {
    std::error_code ec;
    return !name.empty() && fs::exists(fs::symlink_status(NativePath(name), ec));
}

std::string AbsoluteFileName(std::string_view name) {
    if (name.empty())
        return {};
    const fs::path path = NativePath(name);
    if (path.is_absolute())
        return std::string(name);
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    if (ec)
        return {};
    std::string bytes;
    return NameOfPath(absolute, bytes) ? bytes : std::string();
}

std::string_view FileNamePart(std::string_view name) {
    size_t slash = name.rfind('/');
    return slash == std::string_view::npos ? name : name.substr(slash + 1);
}

std::error_code ReadFileInChunks(std::string_view name,
                                 const std::function<void(std::string_view)>& each,
                                 size_t maxBytes) {
    FilePtr f(nullptr, &std::fclose);
    uintmax_t size = 0;
    if (std::error_code ec = OpenForReading(name, maxBytes, f, size))
        return ec;
    std::vector<char> chunk(size_t{1} << 16);
    size_t got;
    size_t total = 0;
    errno = 0;
    while ((got = std::fread(chunk.data(), 1, chunk.size(), f.get())) > 0) {
        // A file that grows while it is read is held to the bound as well.
        total += got;
        if (total > maxBytes)
            return std::make_error_code(std::errc::file_too_large);
        each(std::string_view(chunk.data(), got));
    }
    if (std::ferror(f.get()))
        return ErrnoCode(errno ? errno : EIO);
    return {};
}

std::error_code ReadWholeFile(std::string_view name, std::string& bytes, size_t maxBytes) {
    std::string data;
    std::error_code ec;
    const uintmax_t size = fs::file_size(NativePath(name), ec);
    if (!ec && size <= maxBytes && size < data.max_size())
        data.reserve(static_cast<size_t>(size));
    ec = ReadFileInChunks(
        name, [&](std::string_view chunk) { data.append(chunk); }, maxBytes);
    if (ec)
        return ec;
    bytes = std::move(data);
    return {};
}

std::error_code ReadFileTail(std::string_view name, size_t maxBytes, std::string& bytes,
                             uintmax_t& skipped) {
    FilePtr f(nullptr, &std::fclose);
    uintmax_t size = 0;
    if (std::error_code ec = OpenForReading(name, SIZE_MAX, f, size))
        return ec;
    // Past the bound, the two bytes before the last maxBytes are read too:
    // they tell whether the last maxBytes begin a line.
    uintmax_t start = 0;
    if (size > maxBytes)
        start = size - maxBytes - std::min<uintmax_t>(size - maxBytes, 2);
    if (start > 0 && !SeekTo(f.get(), start))
        return ErrnoCode(errno);
    std::string data(static_cast<size_t>(size - start), '\0');
    errno = 0;
    data.resize(std::fread(data.data(), 1, data.size(), f.get()));
    if (std::ferror(f.get()))
        return ErrnoCode(errno ? errno : EIO);
    size_t cut = 0;
    if (size > maxBytes) {
        // The first line that starts within the last maxBytes: after an LF,
        // or after a CR that no LF follows. An output file may hold lines of
        // any ending, its own CR LF or a lone LF another program wrote.
        const size_t before = static_cast<size_t>(size - maxBytes - start);
        cut = data.size();
        for (size_t at = before - 1; at < data.size(); ++at) {
            if (data[at] == '\n' ||
                (data[at] == '\r' && (at + 1 == data.size() || data[at + 1] != '\n'))) {
                cut = at + 1;
                break;
            }
        }
    }
    data.erase(0, cut);
    bytes = std::move(data);
    skipped = start + cut;
    return {};
}

bool IsReadOnlyFile(std::string_view name) {
    if (name.empty())
        return false;
    const fs::path path = NativePath(name);
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::is_regular_file(status))
        return false;
    // A file marked read-only for everyone stays so also for a user whom the
    // system would let write it anyway (the administrator).
    constexpr fs::perms kAnyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((status.permissions() & kAnyWrite) == fs::perms::none)
        return true;
#ifndef _WIN32
    return ::access(path.c_str(), W_OK) != 0 && errno != ENOENT;
#else
    return false;
#endif
}

namespace {

SaveStepWatcher saveStepWatcher = nullptr;

void Step(SaveStep step, const fs::path& path) {
    if (saveStepWatcher != nullptr)
        saveStepWatcher(step, path);
}

class LinkErrorCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "link"; }
    std::string message(int value) const override {
        switch (static_cast<LinkError>(value)) {
            case LinkError::LeadsToFolder:
                return "the link leads to a folder";
            case LinkError::Loops:
                return "the links go round in a loop";
            default:
                return "the link leads to no file";
        }
    }
    // Links in a loop are what the system reports as ELOOP.
    std::error_condition default_error_condition(int value) const noexcept override {
        if (static_cast<LinkError>(value) == LinkError::Loops)
            return std::errc::too_many_symbolic_link_levels;
        return std::error_category::default_error_condition(value);
    }
};

// Creates the file `path`, never one that is there, with the owner, group
// and permissions of the file `name` it is to replace (given before any byte
// is written), or, with no file there, those a new file gets; open for
// writing.
std::FILE* CreateTemporary(const fs::path& path, std::string_view name) {
#ifdef _WIN32
    (void)name;
    return OpenFile(path, "wbx");
#else
    struct stat old {};
    const bool keepsMode = ::stat(NativePath(name).c_str(), &old) == 0 && S_ISREG(old.st_mode);
    // Until it has the permissions of the file it replaces, only its owner
    // may read it: no one else may read the protocol while it is written. A
    // new file gets what any new file gets.
    const mode_t createMode = keepsMode ? S_IRUSR | S_IWUSR : 0666;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, createMode);
    if (fd < 0)
        return nullptr;
    int err = 0;
    if (keepsMode) {
        // The owner and group first, as a change of them may clear mode bits.
        // Whoever may not give the file its owner may still give it its
        // group.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0 &&
            ::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
            // Neither is allowed: the file is saved as this user's.
        }
        if (::fchmod(fd, old.st_mode & 07777) != 0)
            err = errno;
    }
    std::FILE* f = err == 0 ? ::fdopen(fd, "wb") : nullptr;
    if (f == nullptr) {
        err = err != 0 ? err : errno;
        ::close(fd);
        ::unlink(path.c_str());
        errno = err;
    }
    return f;
#endif
}

// Flushes the written file to the disk and closes it, after the writes that
// gave `ec`; the first failure's code.
std::error_code SyncAndClose(std::FILE* f, std::error_code ec, const fs::path& path) {
    errno = 0;
    if (std::fflush(f) != 0 && !ec)
        ec = ErrnoCode(errno);
    if (!ec) {
#ifdef _WIN32
        const int synced = ::_commit(::_fileno(f));
#else
        const int synced = ::fsync(::fileno(f));
#endif
        if (synced != 0)
            ec = ErrnoCode(errno);
        else
            Step(SaveStep::SyncTemporary, path);
    }
    errno = 0;
    if (std::fclose(f) != 0 && !ec)
        ec = ErrnoCode(errno);
    return ec;
}

// The folder of the file `name`, as a name: "." for a name without one.
std::string FolderNameOf(const std::string& name) {
    const size_t slash = name.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : name.substr(0, slash);
}

// Flushes the folder that holds `file` to the disk, so that its renames last
// through a crash of the system. A failure to flush it (an I/O error) is
// reported: the renames may not last. Some file systems cannot flush a
// folder (EINVAL, ENOTSUP), and a folder this user may not read cannot be
// opened to flush it; both are let be, the file being in place and complete.
std::error_code SyncFolderOf(const fs::path& file) {
#ifndef _WIN32
    fs::path folder = file.parent_path();
    if (folder.empty())
        folder = ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return {};
    std::error_code ec;
    if (::fsync(fd) == 0)
        Step(SaveStep::SyncFolder, folder);
    else if (errno != EINVAL && errno != ENOTSUP && errno != EOPNOTSUPP)
        ec = ErrnoCode(errno);
    ::close(fd);
    return ec;
#else
    (void)file;
    return {};
#endif
}

// Writes a new file beside the file `name` (already resolved by SavedFileOf)
// through `write`, flushed to the disk, as ReplaceFile describes. `failed`
// becomes the folder's name when the folder refuses the new file.
std::error_code WriteTemporaryWith(const std::string& name,
                                   const std::function<std::error_code(std::FILE*)>& write,
                                   std::string& tempName, std::string& failed) {
    // The temporary file takes the old one's place by a rename, which the
    // folder allows whatever the file's own permission: refuse here what the
    // file itself would refuse.
    if (IsReadOnlyFile(name)) {
#ifndef _WIN32
        if (::access(NativePath(name).c_str(), W_OK) != 0 && errno == EROFS)
            return ErrnoCode(EROFS);
#endif
        return ErrnoCode(EACCES);
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = name + ".~tmp" + std::to_string(attempt);
        const fs::path path = NativePath(candidate);
        std::FILE* f = CreateTemporary(path, name);
        if (!f) {
            const int err = errno;
            if (err == EEXIST)
                continue;
            // The file may be writable while its folder takes no new file.
            if (err == EACCES || err == EPERM || err == EROFS)
                failed = FolderNameOf(name);
            return ErrnoCode(err);
        }
        Step(SaveStep::WriteTemporary, path);
        if (std::error_code ec = SyncAndClose(f, write(f), path)) {
            std::error_code ignored;
            fs::remove(path, ignored);
            return ec;
        }
        tempName = std::move(candidate);
        return {};
    }
    return std::make_error_code(std::errc::file_exists);
}

// Gives the file `file` the name `backup` as well, replacing what stands
// there in one step, while it keeps its own name: a hard link of it under a
// free name beside `backup`, renamed over it. `noLinks` when the file system
// makes no hard link of it (then nothing has changed).
std::error_code LinkAsBackup(const std::string& file, const std::string& backup, bool& noLinks) {
    noLinks = false;
#ifdef _WIN32
    (void)file;
    (void)backup;
    noLinks = true;
    return std::make_error_code(std::errc::not_supported);
#else
    const fs::path from = NativePath(file);
    // A backup that already is the file (a save whose new file could not
    // take its place) stays: a rename of one of its names over another would
    // leave both.
    std::error_code ec;
    if (fs::equivalent(from, NativePath(backup), ec))
        return {};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = backup + ".~tmp" + std::to_string(attempt);
        const fs::path link = NativePath(candidate);
        if (::link(from.c_str(), link.c_str()) != 0) {
            const int err = errno;
            if (err == EEXIST)
                continue;
            noLinks = err == EPERM || err == ENOTSUP || err == EOPNOTSUPP || err == EXDEV ||
                      err == EMLINK || err == ENOSYS;
            return ErrnoCode(err);
        }
        ec = RenameFile(candidate, backup);
        if (ec)
            ::unlink(link.c_str());
        return ec;
    }
    return std::make_error_code(std::errc::file_exists);
#endif
}

// Replaces the file `name` leads to with what `write` writes, keeping the
// old one as `backup` when there is one (see ReplaceFile).
std::error_code ReplaceWith(std::string_view name,
                            const std::function<std::error_code(std::FILE*)>& write,
                            std::string_view backup, std::string* failedName) {
    std::string unused;
    std::string& failed = failedName != nullptr ? *failedName : unused;
    failed.clear();
    std::string file;
    if (std::error_code ec = SavedFileOf(name, file))
        return ec;
    std::string temp;
    if (std::error_code ec = WriteTemporaryWith(file, write, temp, failed))
        return ec;
    bool moved = false;
    if (!backup.empty() && backup != file && PathExists(file)) {
        bool noLinks = false;
        std::error_code ec = LinkAsBackup(file, std::string(backup), noLinks);
        if (noLinks) {
            // The file itself moves to its backup name, replacing the old
            // backup in one step; until the new file takes its place no file
            // stands under its name.
            ec = RenameFile(file, backup);
            moved = !ec;
        }
        if (ec) {
            RemoveFile(temp);
            failed = std::string(backup);
            return ec;
        }
    }
    if (std::error_code ec = RenameFile(temp, file)) {
        if (moved)
            RenameFile(backup, file);
        RemoveFile(temp);
        return ec;
    }
    if (std::error_code ec = SyncFolderOf(NativePath(file))) {
        failed = FolderNameOf(file);
        return ec;
    }
    return {};
}

// The absolute folder `folder` as the system resolves it, links and ".."
// included. Where it cannot, the failure, and in `resolved` the part it can
// resolve followed by the rest as it is written, to say where it leads.
std::error_code ResolveFolder(const fs::path& folder, fs::path& resolved) {
    std::error_code failed;
    fs::path head = folder;
    fs::path tail;
    for (;;) {
        std::error_code ec;
        const fs::path real = fs::canonical(head, ec);
        if (!ec) {
            resolved = tail.empty() ? real : real / tail;
            return failed;
        }
        if (!failed)
            failed = ec;
        if (!head.has_relative_path()) {
            resolved = folder;
            return failed;
        }
        tail = tail.empty() ? head.filename() : head.filename() / tail;
        head = head.parent_path();
    }
}

}  // namespace

const std::error_category& LinkCategory() {
    static const LinkErrorCategory category;
    return category;
}

std::error_code make_error_code(LinkError e) {
    return {static_cast<int>(e), LinkCategory()};
}

std::error_code SavedFileOf(std::string_view name, std::string& file) {
    if (name.empty())
        return ErrnoCode(ENOENT);
    fs::path path = NativePath(name);
    std::error_code ec;
    int links = 0;
    for (;;) {
        const fs::file_status status = fs::symlink_status(path, ec);
        if (!fs::is_symlink(status))
            break;
        if (++links > 40)
            return LinkError::Loops;
        const fs::path to = fs::read_symlink(path, ec);
        if (ec)
            return ec;
        // Kept unresolved: the system takes a ".." after a folder reached by
        // a link from where that link leads, as it does when it follows them.
        const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
        path = to.is_absolute() ? to : folder / to;
    }
    if (links == 0) {
        file = std::string(name);
        return {};
    }
    // Its folder as the system resolves it: a folder missing on the way
    // leaves the link leading nowhere, also when a ".." after it would lead
    // out again.
    const fs::path folder = fs::absolute(path.parent_path(), ec);
    if (ec)
        return ec;
    fs::path resolved;
    const std::error_code unresolved = ResolveFolder(folder, resolved);
    if (!NameOfPath(resolved / path.filename(), file))
        return ErrnoCode(EILSEQ);
    if (unresolved == std::errc::no_such_file_or_directory ||
        unresolved == std::errc::not_a_directory)
        return LinkError::LeadsNowhere;
    if (unresolved == std::errc::too_many_symbolic_link_levels)
        return LinkError::Loops;
    if (unresolved)
        return unresolved;
    const fs::file_status status = fs::status(NativePath(file), ec);
    if (!fs::exists(status))
        return LinkError::LeadsNowhere;
    if (fs::is_directory(status))
        return LinkError::LeadsToFolder;
    return {};
}

void WatchSaveSteps(SaveStepWatcher watcher) {
    saveStepWatcher = watcher;
}

std::error_code ReplaceFile(std::string_view name, std::string_view bytes, std::string_view backup,
                            std::string* failedName) {
    return ReplaceWith(
        name, [bytes](std::FILE* f) { return WriteBytes(f, bytes); }, backup, failedName);
}

std::error_code ReplaceFileWithCopy(std::string_view name, std::string_view source,
                                    std::string_view end, bool& readFailed,
                                    std::string* failedName) {
    readFailed = false;
    return ReplaceWith(
        name,
        [&](std::FILE* out) {
            std::error_code written;
            const std::error_code read = ReadFileInChunks(source, [&](std::string_view chunk) {
                if (!written)
                    written = WriteBytes(out, chunk);
            });
            readFailed = static_cast<bool>(read);
            if (read || written)
                return read ? read : written;
            return WriteBytes(out, end);
        },
        {}, failedName);
}

std::error_code AppendToFile(std::string_view name, std::string_view bytes) {
    if (name.empty())
        return ErrnoCode(ENOENT);
    const fs::path path = NativePath(name);
    std::error_code ec;
    const bool existed = fs::exists(path, ec);
    if (existed && !fs::is_regular_file(path, ec))
        return ErrnoCode(fs::is_directory(path, ec) ? EISDIR : EINVAL);
    const uintmax_t oldSize = existed ? fs::file_size(path, ec) : 0;
    if (ec)
        return ec;
    std::FILE* f = OpenFile(path, "ab");
    if (!f)
        return ErrnoCode(errno);
    std::error_code result = WriteAndClose(f, bytes);
    if (result) {
        std::error_code ignored;
        if (existed)
            fs::resize_file(path, oldSize, ignored);
        else
            fs::remove(path, ignored);
    }
    return result;
}

std::error_code RenameFile(std::string_view from, std::string_view to) {
    std::error_code ec;
    const fs::path path = NativePath(to);
    fs::rename(NativePath(from), path, ec);
    if (!ec)
        Step(SaveStep::Rename, path);
    return ec;
}

std::error_code RemoveFile(std::string_view name) {
    std::error_code ec;
    fs::remove(NativePath(name), ec);
    return ec;
}

bool SameFile(std::string_view a, std::string_view b) {
    if (a.empty() || b.empty())
        return false;
    const fs::path pa = NativePath(a);
    const fs::path pb = NativePath(b);
    std::error_code ec;
    if (fs::exists(pa, ec) && fs::exists(pb, ec)) {
        bool same = fs::equivalent(pa, pb, ec);
        if (!ec)
            return same;
    }
    fs::path ca = fs::weakly_canonical(fs::absolute(pa, ec), ec);
    if (ec)
        return false;
    fs::path cb = fs::weakly_canonical(fs::absolute(pb, ec), ec);
    if (ec)
        return false;
    return ca == cb;
}

FileStamp StampOf(std::string_view name) {
    FileStamp stamp;
    if (name.empty())
        return stamp;
#ifdef _WIN32
    struct _stat64 info;
    if (_wstat64(NativePath(name).c_str(), &info) != 0)
        return stamp;
    stamp.seconds = info.st_mtime;
#else
    struct stat info;
    if (stat(NativePath(name).c_str(), &info) != 0)
        return stamp;
#ifdef __APPLE__
    stamp.seconds = info.st_mtimespec.tv_sec;
    stamp.nanoseconds = info.st_mtimespec.tv_nsec;
#else
    stamp.seconds = info.st_mtim.tv_sec;
    stamp.nanoseconds = info.st_mtim.tv_nsec;
#endif
#endif
    stamp.exists = true;
    stamp.plainFile = (info.st_mode & S_IFMT) == S_IFREG;
    stamp.device = static_cast<uintmax_t>(info.st_dev);
    stamp.inode = static_cast<uintmax_t>(info.st_ino);
    stamp.size = static_cast<uintmax_t>(info.st_size);
    return stamp;
}

KnownFile KnowFile(std::string_view name) {
    return {std::string(name), StampOf(name)};
}

namespace {

// Whether `name` reaches the file `known` was taken of: the same name, or
// another way to it (a link, another spelling) as the file system sees it.
bool IsKnownName(const KnownFile& known, std::string_view name) {
    return !name.empty() && (known.name == name || SameFile(known.name, name));
}

}  // namespace

bool ChangedOnDisk(const KnownFile& known, std::string_view name) {
    if (!IsKnownName(known, name))
        return false;
    // Anything but a plain file there is the writer's to refuse, with its
    // own message.
    const FileStamp now = StampOf(name);
    return now.plainFile && now != known.stamp;
}

std::error_code AppendToKnownFile(std::string_view name, std::string_view bytes, KnownFile& known) {
    const bool asKnown = IsKnownName(known, name) && StampOf(name) == known.stamp;
    const std::error_code ec = AppendToFile(name, bytes);
    // A failed append cuts the file back to its bytes before, or removes it
    // when new: still the program's own write.
    if (asKnown)
        known.stamp = StampOf(name);
    return ec;
}

}  // namespace core
