// Small protocols and filter programs for the filter tests.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "store/record.h"
#include "store/state.h"

namespace test {

// A filter line: offset or block code in V2, the given cells (by field number
// 1, 3..8), "*" in every other cell.
inline core::ProtocolRecord FilterLine(int16_t v2,
                                       std::initializer_list<std::pair<int, std::string>> cells) {
    core::ProtocolRecord line;
    line.V2 = v2;
    for (int f : {1, 3, 4, 5, 6, 7, 8})
        *core::TextField(line, f) = "*";
    for (const auto& [field, text] : cells)
        *core::TextField(line, field) = text;
    return line;
}

// Data set 1 of the given records, numbered 1..n, sequence numbers 1, the
// whole set as range, record 1 current, shown in the view of data set 1.
inline void SetProtocol(core::KovaState& s, std::vector<core::ProtocolRecord> records) {
    s.Records1.assign(1, core::ProtocolRecord{});
    for (auto& r : records) {
        r.V0 = static_cast<int16_t>(s.Records1.size());
        if (r.V2 == 0)
            r.V2 = 1;
        s.Records1.push_back(std::move(r));
    }
    s.RecordCount1 = static_cast<int16_t>(s.Records1.size() - 1);
    s.CurrentRecord1 = s.RecordCount1 > 0 ? 1 : 0;
    s.FromRecord = s.RecordCount1 > 0 ? 1 : 0;
    s.ToRecord = s.RecordCount1;
    s.DataFileName1 = "protocol.kov";
    s.ViewMode = 1;
}

// A protocol of n records whose V4 is "A" at the given record numbers and "-"
// elsewhere; V8 is "text k".
inline void SetCodedProtocol(core::KovaState& s, int n, std::initializer_list<int> codedA) {
    std::vector<core::ProtocolRecord> records(n);
    for (int k = 1; k <= n; ++k) {
        records[k - 1].V4 = "-";
        records[k - 1].V8 = "text " + std::to_string(k);
    }
    for (int k : codedA)
        records[k - 1].V4 = "A";
    SetProtocol(s, std::move(records));
}

inline void SetProgram(core::KovaState& s, std::vector<core::ProtocolRecord> lines) {
    s.Records2.assign(1, core::ProtocolRecord{});
    for (auto& l : lines) {
        l.V0 = static_cast<int16_t>(s.Records2.size());
        s.Records2.push_back(std::move(l));
    }
    s.FilterCount = static_cast<int16_t>(s.Records2.size() - 1);
    s.CurrentFilterLine = 1;
    s.FilterFileName = "program.fil";
}

// Field k of every record of data set 1, in order.
inline std::vector<std::string> Column(const core::KovaState& s, int field) {
    std::vector<std::string> out;
    for (int i = 1; i <= s.RecordCount1; ++i)
        out.push_back(*core::TextField(s.Records1[i], field));
    return out;
}

inline std::vector<int> Numbers(const core::KovaState& s) {
    std::vector<int> out;
    for (int i = 1; i <= s.RecordCount1; ++i)
        out.push_back(s.Records1[i].V0);
    return out;
}

}  // namespace test
