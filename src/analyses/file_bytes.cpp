#include "analyses/file_bytes.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace core {

namespace fs = std::filesystem;

bool FileExists(const std::string& fileName) {
    std::error_code ec;
    return !fileName.empty() && fs::is_regular_file(fs::path(fileName), ec);
}

bool ReadFileBytes(const std::string& fileName, std::string& bytes) {
    if (!FileExists(fileName))
        return false;
    std::FILE* f = std::fopen(fileName.c_str(), "rb");
    if (!f)
        return false;
    std::string data;
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        data.append(buffer, got);
    bool ok = !std::ferror(f);
    std::fclose(f);
    if (ok)
        bytes = std::move(data);
    return ok;
}

bool AppendFileBytes(const std::string& fileName, std::string_view bytes) {
    if (fileName.empty())
        return false;
    std::error_code ec;
    const fs::path path(fileName);
    const bool existed = fs::exists(path, ec);
    if (existed && !fs::is_regular_file(path, ec))
        return false;
    const uintmax_t oldSize = existed ? fs::file_size(path, ec) : 0;
    if (ec)
        return false;
    std::FILE* f = std::fopen(fileName.c_str(), "ab");
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    if (!ok) {
        if (existed)
            fs::resize_file(path, oldSize, ec);
        else
            fs::remove(path, ec);
    }
    return ok;
}

}  // namespace core
