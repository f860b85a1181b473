#include "filters/selection_target.h"

#include <algorithm>

namespace core {

std::optional<SelectionTarget> ChooseSelectionTarget(KovaState& s) {
    SelectionTarget t;
    int fullCount = 0;
    switch (s.ViewMode) {
        case 1:
            t.records = &s.FullRecords1;
            t.marks = &s.SelectionMarks1;
            fullCount = s.FullCount1;
            t.variable = &s.SelectVariable1;
            t.value = &s.SelectValue1;
            t.valueTo = &s.SelectValueTo1;
            break;
        case 2:
        case 3:
            t.records = &s.FullRecords2;
            t.marks = &s.SelectionMarks2;
            fullCount = s.ViewMode == 2 ? s.FullCount2 : s.FullFilterCount;
            t.variable = &s.SelectVariable2;
            t.value = &s.SelectValue2;
            t.valueTo = &s.SelectValueTo2;
            break;
        default:
            return std::nullopt;
    }
    int stored = static_cast<int>(std::min(t.records->size(), t.marks->size())) - 1;
    t.count = std::max(0, std::min(fullCount, stored));
    return t;
}

void CombineMark(std::vector<int16_t>& marks, int i, bool found, Combine combine) {
    switch (combine) {
        case Combine::Or:
            if (found)
                marks[i] = static_cast<int16_t>(i);
            break;
        case Combine::OrNot:
            if (!found)
                marks[i] = static_cast<int16_t>(i);
            break;
        case Combine::And:
            if (marks[i] != 0 && !found)
                marks[i] = 0;
            break;
        case Combine::AndNot:
            if (marks[i] != 0 && found)
                marks[i] = 0;
            break;
    }
}

int SelectionVariableIndex(const std::string& variable) {
    if (variable.size() == 2 && variable[0] == 'V' && variable[1] >= '0' && variable[1] <= '8')
        return variable[1] - '0';
    return -1;
}

}  // namespace core
