// What a selection routine works on: the full store, its marks and the
// criteria of the set that ViewMode names. Shared by the event and episode
// selections.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/state.h"

namespace core {

struct SelectionTarget {
    const RecordSet* records = nullptr;     // the full store
    std::vector<int16_t>* marks = nullptr;  // one mark per record, index 0 unused
    int count = 0;                          // records 1..count are read and marked
    const std::string* variable = nullptr;  // "V0".."V8"
    const std::string* value = nullptr;     // the value, or the start of a range
    const std::string* valueTo = nullptr;   // the end of a range
};

// The target for view modes 1, 2 and 3; nothing in any other view mode. The
// count never reaches past the store or its marks, so a store that does not
// match its count cannot be read out of bounds.
std::optional<SelectionTarget> ChooseSelectionTarget(KovaState& s);

// How a selection routine's finding combines with the marks already made: Or
// marks each record found, OrNot each record not found; And unmarks the
// marked records not found, AndNot the marked records found.
enum class Combine { Or, OrNot, And, AndNot };

// Record i's mark after the routine found it (`found`) or not.
void CombineMark(std::vector<int16_t>& marks, int i, bool found, Combine combine);

// The index 0..8 of a variable text "V0".."V8" (exact, case-sensitive); -1 for
// any other text.
int SelectionVariableIndex(const std::string& variable);

}  // namespace core
