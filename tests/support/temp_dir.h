// Scratch folders for tests. Names are made unique by the system, so test
// programs running side by side (ctest -j, several checkouts) never share one.
#pragma once

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace test {

// Creates a new, empty folder under the system's temporary folder.
inline std::filesystem::path MakeTempDir(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a scratch folder from " + pattern);
    return pattern;
}

// A fresh folder, removed at the end.
class TempDir {
public:
    TempDir() : path_(MakeTempDir("kova_test_")) {}
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }
    // Names of the files in the folder, sorted.
    std::string Listing() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(path_))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        std::string out;
        for (const auto& n : names)
            out += n + ";";
        return out;
    }

private:
    std::filesystem::path path_;
};

}  // namespace test
