// Small record sets for the selection tests, and the store as a selection
// routine expects to find it.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "store/state.h"

namespace test {

// A set whose record i (from 1) has V0 = i and the given field k.
inline core::RecordSet RecordsWithField(int k, std::initializer_list<std::string> values) {
    core::RecordSet set(1);
    for (const std::string& v : values) {
        core::ProtocolRecord r;
        r.V0 = static_cast<int16_t>(set.size());
        *core::TextField(r, k) = v;
        set.push_back(r);
    }
    return set;
}

inline core::RecordSet RecordsWithV2(std::initializer_list<int16_t> values) {
    core::RecordSet set(1);
    for (int16_t v : values) {
        core::ProtocolRecord r;
        r.V0 = static_cast<int16_t>(set.size());
        r.V2 = v;
        set.push_back(r);
    }
    return set;
}

// Data set 1's full store as BeginSelection leaves it (every mark 0), with
// the records listed in `shown` marked as a shown selection would have them.
inline void FillStore1(core::KovaState& s, const core::RecordSet& set,
                       std::initializer_list<int> shown = {}) {
    s.ViewMode = 1;
    s.FullRecords1 = set;
    s.FullCount1 = static_cast<int16_t>(set.size() - 1);
    s.SelectionMarks1.assign(set.size(), 0);
    int16_t position = 0;
    for (int k : shown)
        s.SelectionMarks1[k] = ++position;
    s.SelectionShown1 = core::kTrue;
}

// The record numbers whose mark is not 0.
inline std::vector<int> Marked(const std::vector<int16_t>& marks) {
    std::vector<int> result;
    for (size_t i = 1; i < marks.size(); ++i) {
        if (marks[i] != 0)
            result.push_back(static_cast<int>(i));
    }
    return result;
}

}  // namespace test
