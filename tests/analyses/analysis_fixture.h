// Shared pieces of the analysis tests: a protocol in a temporary folder, a
// fixed clock, and a line builder that places texts at columns, so that
// expected report lines are written out by hand.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "analyses/report_frame.h"
#include "store/state.h"
#include "support/fake_ui.h"
#include "support/temp_dir.h"

namespace test {

// One expected report line: every text starts at its column; CR LF at the end.
inline std::string At(std::initializer_list<std::pair<int, std::string>> pieces) {
    std::string line;
    for (const auto& [column, text] : pieces) {
        EXPECT_LE(line.size(), static_cast<size_t>(column - 1)) << "overlap at " << text;
        line.resize(static_cast<size_t>(column - 1), ' ');
        line += text;
    }
    return line + "\r\n";
}

// A text right-aligned in the 8-character number field.
inline std::string R8(const std::string& text) {
    return std::string(text.size() < 8 ? 8 - text.size() : 0, ' ') + text;
}

// How often `what` occurs in `text`, overlapping occurrences included.
inline size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// Every statistic line "label ... value" (value at column 30) is in the report.
inline void ExpectStats(const std::string& report,
                        std::initializer_list<std::pair<std::string, std::string>> stats) {
    for (const auto& [label, value] : stats)
        EXPECT_NE(report.find(At({{1, label}, {30, value}})), std::string::npos) << label;
}

// A code of `bytes` bytes ending in `last`: two of them differ only far past
// what a report prints of a code.
inline std::string LongCode(size_t bytes, char last) {
    return std::string(bytes - 1, 'x') + last;
}

inline std::string Rule(char c) {
    return std::string(103, c) + "\r\n";
}

inline std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline core::ReportClock FixedClock() {
    return [] { return core::ReportTime{"01-02-2024", "13:45:07"}; };
}

// One record of a test protocol: time code and the codes of V2..V7.
struct Row {
    Row(std::string v1 = "", int16_t v2 = 0, std::string v3 = "", std::string v4 = "",
        std::string v5 = "", std::string v6 = "", std::string v7 = "")
        : V1(std::move(v1)),
          V2(v2),
          V3(std::move(v3)),
          V4(std::move(v4)),
          V5(std::move(v5)),
          V6(std::move(v6)),
          V7(std::move(v7)) {}
    std::string V1;
    int16_t V2;
    std::string V3, V4, V5, V6, V7;
};

class AnalysisTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = test::MakeTempDir("kova_analyses_");
        s.DataFileName1 = (dir / "talk.kov").string();
        s.ViewMode = 1;
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    void Protocol(const std::vector<Row>& rows) {
        s.Records1.assign(1, core::ProtocolRecord{});
        for (const Row& row : rows) {
            core::ProtocolRecord r;
            r.V0 = static_cast<int16_t>(s.Records1.size());
            r.V1 = row.V1;
            r.V2 = row.V2;
            r.V3 = row.V3;
            r.V4 = row.V4;
            r.V5 = row.V5;
            r.V6 = row.V6;
            r.V7 = row.V7;
            s.Records1.push_back(r);
        }
        s.RecordCount1 = static_cast<int16_t>(rows.size());
        s.FromRecord = 1;
        s.ToRecord = s.RecordCount1;
    }

    // A protocol of V4 and V5 codes, one character a record; "." or a
    // missing character is no code.
    void CodeProtocol(const std::string& v4, const std::string& v5 = "") {
        auto code = [](const std::string& codes, size_t i) {
            return i < codes.size() && codes[i] != '.' ? codes.substr(i, 1) : std::string();
        };
        std::vector<Row> rows;
        for (size_t i = 0; i < v4.size(); ++i)
            rows.push_back(Row("", 0, "", code(v4, i), code(v5, i)));
        Protocol(rows);
    }

    std::string AnaPath() const { return (dir / "talk.ana").string(); }
    std::string Ana() const { return ReadAll(dir / "talk.ana"); }

    std::filesystem::path dir;
    core::KovaState s;
    FakeUi ui;
};

}  // namespace test
