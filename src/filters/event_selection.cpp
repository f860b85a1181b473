#include "filters/event_selection.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "filters/selection_target.h"
#include "store/text.h"

namespace core {
namespace {

// The hit set H of records 1..count (index 0 unused).
std::vector<char> FindEvents(const SelectionTarget& t) {
    std::vector<char> hit(static_cast<size_t>(t.count) + 1, 0);
    const RecordSet& records = *t.records;
    const int variable = SelectionVariableIndex(*t.variable);
    if (variable < 0)
        return hit;

    // V0 and V1: a range state carried from record to record; a record before
    // the start keeps the state of the one before it. No context.
    if (variable == 0) {
        const double from = ReadNumber(*t.value);
        const double to = ReadNumber(*t.valueTo);
        bool on = false;
        for (int i = 1; i <= t.count; ++i) {
            const double number = records[i].V0;
            if (number >= from)
                on = true;
            if (number > to)
                on = false;
            hit[i] = on;
        }
        return hit;
    }
    if (variable == 1) {
        const std::string& from = *t.value;
        const std::string& to = *t.valueTo;
        bool on = false;
        for (int i = 1; i <= t.count; ++i) {
            const std::string& time = records[i].V1;  // compared as text, byte by byte
            if (time >= from)
                on = true;
            if (time > to)
                on = false;
            hit[i] = on;
        }
        return hit;
    }
    return hit;
}

bool IsEvent(const ProtocolRecord& r, int variable, const std::string& value, double number) {
    if (variable == 2)
        return r.V2 == number;
    if (variable == 8)  // an empty value hits every non-empty text
        return !r.V8.empty() && r.V8.find(value) != std::string::npos;
    return *TextField(r, variable) == value;
}

// V2..V8: every hit takes in the records from LagBefore before it to LagAfter
// after it, clipped to the set. The windows all have the same offsets, so in
// record order each one only needs to mark past the end of the previous one.
void AddEventsWithContext(const SelectionTarget& t, const KovaState& s, std::vector<char>& hit) {
    const int variable = SelectionVariableIndex(*t.variable);
    const std::string& value = *t.value;
    const double number = variable == 2 ? ReadNumber(value) : 0.0;
    const int64_t before = s.LagBefore;
    const int64_t after = s.LagAfter;
    int64_t covered = 0;  // the last record marked by an earlier window
    for (int i = 1; i <= t.count; ++i) {
        if (!IsEvent((*t.records)[i], variable, value, number))
            continue;
        const int64_t first = std::max({int64_t{i} - before, int64_t{1}, covered + 1});
        const int64_t last = std::min(int64_t{i} + after, int64_t{t.count});
        if (first > last)
            continue;
        for (int64_t j = first; j <= last; ++j)
            hit[j] = 1;
        covered = last;
    }
}

void SelectEvents(KovaState& s, Combine combine) {
    std::optional<SelectionTarget> target = ChooseSelectionTarget(s);
    if (!target)
        return;
    const SelectionTarget& t = *target;
    std::vector<char> hit = FindEvents(t);
    if (SelectionVariableIndex(*t.variable) >= 2)
        AddEventsWithContext(t, s, hit);

    std::vector<int16_t>& marks = *t.marks;
    for (int i = 1; i <= t.count; ++i)
        CombineMark(marks, i, hit[i] != 0, combine);
}

}  // namespace

void SelectEventsOr(KovaState& s) {
    SelectEvents(s, Combine::Or);
}
void SelectEventsOrNot(KovaState& s) {
    SelectEvents(s, Combine::OrNot);
}
void SelectEventsAnd(KovaState& s) {
    SelectEvents(s, Combine::And);
}
void SelectEventsAndNot(KovaState& s) {
    SelectEvents(s, Combine::AndNot);
}

}  // namespace core
