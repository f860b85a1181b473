#include "filters/episode_selection.h"

#include <cstdint>
#include <string>

#include "filters/selection_target.h"
#include "store/text.h"

namespace core {
namespace {

// The opening and closing tests of one variable on one record.
struct EpisodeTest {
    int variable = -1;
    const std::string* value = nullptr;    // V3..V7 value, V1 range start
    const std::string* valueTo = nullptr;  // V1 range end
    double number = 0;                     // V2 value, V0 range start
    double numberTo = 0;                   // V0 range end

    bool Opens(const ProtocolRecord& r) const {
        switch (variable) {
            case 0:
                return r.V0 >= number;
            case 1:
                return r.V1 >= *value;
            case 2:
                return r.V2 == number;
            default:
                return *TextField(r, variable) == *value;
        }
    }

    // A sequence number of 0 is the empty one: it neither opens (unless 0 is
    // the value) nor closes an episode, as an empty code does.
    bool Closes(const ProtocolRecord& r) const {
        switch (variable) {
            case 0:
                return r.V0 > numberTo;
            case 1:
                return r.V1 > *valueTo;
            case 2:
                return r.V2 != number && r.V2 != 0;
            default: {
                const std::string& field = *TextField(r, variable);
                return field != *value && !field.empty();
            }
        }
    }

    bool InRange(const ProtocolRecord& r) const {
        if (variable == 0)
            return number <= r.V0 && r.V0 <= numberTo;
        return *value <= r.V1 && r.V1 <= *valueTo;
    }
};

void SelectEpisodes(KovaState& s, Combine combine) {
    std::optional<SelectionTarget> target = ChooseSelectionTarget(s);
    if (!target)
        return;
    const SelectionTarget& t = *target;
    EpisodeTest test;
    test.variable = SelectionVariableIndex(*t.variable);
    if (test.variable < 0 || test.variable > 7)
        return;
    test.value = t.value;
    test.valueTo = t.valueTo;
    if (test.variable == 0 || test.variable == 2)
        test.number = ReadNumber(*t.value);
    if (test.variable == 0)
        test.numberTo = ReadNumber(*t.valueTo);

    const RecordSet& records = *t.records;
    std::vector<int16_t>& marks = *t.marks;

    // The AND forms test a V0 or V1 range on each marked record by itself.
    const bool andForm = combine == Combine::And || combine == Combine::AndNot;
    if (andForm && test.variable <= 1) {
        for (int i = 1; i <= t.count; ++i) {
            if (marks[i] != 0 && test.InRange(records[i]) == (combine == Combine::AndNot))
                marks[i] = 0;
        }
        return;
    }

    // The state runs over every record, marked or not, so records that a
    // shown selection hides still open and close episodes.
    bool open = false;
    for (int i = 1; i <= t.count; ++i) {
        if (test.Opens(records[i]))
            open = true;
        if (test.Closes(records[i]))
            open = false;
        CombineMark(marks, i, open, combine);
    }
}

}  // namespace

void SelectEpisodesOr(KovaState& s) {
    SelectEpisodes(s, Combine::Or);
}
void SelectEpisodesOrNot(KovaState& s) {
    SelectEpisodes(s, Combine::OrNot);
}
void SelectEpisodesAnd(KovaState& s) {
    SelectEpisodes(s, Combine::And);
}
void SelectEpisodesAndNot(KovaState& s) {
    SelectEpisodes(s, Combine::AndNot);
}

}  // namespace core
