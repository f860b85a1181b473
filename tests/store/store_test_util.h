// Helpers shared by the store tests: a scratch folder and file bytes.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "store/record.h"
#include "support/temp_dir.h"

namespace test {

// In one read: a file of many megabytes byte by byte takes seconds.
inline std::string ReadBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline void WriteBytes(const std::string& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline core::ProtocolRecord Rec(int16_t v0, std::string v1, int16_t v2, std::string v3,
                                std::string v4, std::string v5, std::string v6, std::string v7,
                                std::string v8, std::string memo = "") {
    core::ProtocolRecord r;
    r.V0 = v0;
    r.V1 = std::move(v1);
    r.V2 = v2;
    r.V3 = std::move(v3);
    r.V4 = std::move(v4);
    r.V5 = std::move(v5);
    r.V6 = std::move(v6);
    r.V7 = std::move(v7);
    r.V8 = std::move(v8);
    r.Memo = std::move(memo);
    return r;
}

// A set of `count` simple records numbered 1..count.
inline core::RecordSet NumberedSet(int count) {
    core::RecordSet set(static_cast<size_t>(count) + 1);
    for (int k = 1; k <= count; ++k)
        set[k] = Rec(static_cast<int16_t>(k), "0:00:" + std::to_string(k), 1, "T", "Q", "", "", "",
                     "text " + std::to_string(k));
    return set;
}

// Every file of a folder with its bytes.
inline std::map<std::string, std::string> Snapshot(const std::filesystem::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        files[e.path().filename().string()] = ReadBytes(e.path().string());
    return files;
}

}  // namespace test
