#include "store/file_access.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <memory>
#include <vector>

#ifndef _WIN32
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

// Writes and closes; the first failure's code.
std::error_code WriteAndClose(std::FILE* f, std::string_view bytes) {
    IgnoreFileSizeSignal();
    errno = 0;
    int err = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size())
        err = errno ? errno : EIO;
    if (std::fflush(f) != 0 && err == 0)
        err = errno ? errno : EIO;
    if (std::fclose(f) != 0 && err == 0)
        err = errno ? errno : EIO;
    return err == 0 ? std::error_code() : ErrnoCode(err);
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
    const std::u8string utf8 = absolute.u8string();
    std::string bytes;
    if (!Utf8ToWindows1252(
            std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()), bytes))
        return {};
    return bytes;
}

std::string_view FileNamePart(std::string_view name) {
    size_t slash = name.rfind('/');
    return slash == std::string_view::npos ? name : name.substr(slash + 1);
}

std::error_code ReadFileInChunks(std::string_view name,
                                 const std::function<void(std::string_view)>& each,
                                 size_t maxBytes) {
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
    const uintmax_t size = fs::file_size(path, ec);
    if (!ec && size > maxBytes)
        return std::make_error_code(std::errc::file_too_large);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(OpenFile(path, "rb"), &std::fclose);
    if (!f)
        return ErrnoCode(errno);
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

std::error_code WriteTemporaryBeside(std::string_view name, std::string_view bytes,
                                     std::string& tempName) {
    if (name.empty())
        return ErrnoCode(ENOENT);
    // The temporary file takes the old one's place by a rename, which the
    // folder allows whatever the file's own permission: refuse here what the
    // file itself would refuse.
    if (IsReadOnlyFile(name))
        return ErrnoCode(EACCES);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = std::string(name) + ".~tmp" + std::to_string(attempt);
        const fs::path path = NativePath(candidate);
        // "x": never takes over a file that is already there.
        std::FILE* f = OpenFile(path, "wbx");
        if (!f) {
            if (errno == EEXIST)
                continue;
            return ErrnoCode(errno);
        }
        if (std::error_code ec = WriteAndClose(f, bytes)) {
            std::error_code ignored;
            fs::remove(path, ignored);
            return ec;
        }
        // The file that takes the old one's place keeps its permissions.
        std::error_code ignored;
        const fs::file_status old = fs::status(NativePath(name), ignored);
        if (fs::is_regular_file(old))
            fs::permissions(path, old.permissions(), ignored);
        tempName = std::move(candidate);
        return {};
    }
    return std::make_error_code(std::errc::file_exists);
}

std::error_code ReplaceFile(std::string_view name, std::string_view bytes) {
    std::string temp;
    if (std::error_code ec = WriteTemporaryBeside(name, bytes, temp))
        return ec;
    if (std::error_code ec = RenameFile(temp, name)) {
        RemoveFile(temp);
        return ec;
    }
    return {};
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
    fs::rename(NativePath(from), NativePath(to), ec);
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

}  // namespace core
