#include "filters/sieve_select.h"

#include <algorithm>
#include <vector>

#include "filters/filter_conditions.h"
#include "filters/filter_program.h"
#include "store/selection_store.h"
#include "store/text.h"
#include "store/view.h"

namespace core {

namespace {

// Moves the line to its block's header; false when that is not `code`.
bool FindHeader(const KovaState& s, int16_t& line, int16_t code) {
    return FindBlockHeader(s, line) && s.Records2[line].V2 == code;
}

void SetScrollValue(KovaState& s, int value) {
    s.Main.scrollValue = value;
}

}  // namespace

void SieveRecords(KovaState& s, KovaUi& ui, int16_t& FilterLine) {
    if (!FindHeader(s, FilterLine, kSieveBlock))
        return;
    ShowDataMode(s, ui);
    const BlockConditions conditions(s.Records2, FilterLine);
    std::vector<float> hits(1, 0.0f);
    const int count = s.RecordCount1;
    for (int i = 1; i <= count; ++i) {
        s.Main.Teller.caption = PlainNumber(i);
        if ((i & 1023) == 0)
            ui.MainChanged();
        if (conditions.Accept(s, s.Records1, i, count))
            hits.push_back(static_cast<float>(i));
    }
    if (hits.size() == 1) {
        // Nothing found: an earlier sieve stays in force as it was.
        s.CurrentRecord1 = s.RecordCount1;
    } else {
        s.SieveList = std::move(hits);
        s.SieveCount = static_cast<int16_t>(s.SieveList.size() - 1);
        s.CurrentRecord1 = static_cast<int16_t>(s.SieveList[1]);
        s.SieveActive = 1;
        s.SievePosition = 1;
        s.SieveChangeCount1 = s.ChangeCount1;
        s.Main.CString.caption = "Sieve";
    }
    RefreshRecordList1(s, ui, s.CurrentRecord1);
    SetScrollValue(s, s.CurrentRecord1);
    s.Main.Teller.caption = PlainNumber(s.RecordCount1);
    ui.MainChanged();
}

void SelectByFilterLines(KovaState& s, KovaUi& ui, int16_t& FilterLine) {
    if (!FindHeader(s, FilterLine, kSelectBlock))
        return;
    ShowDataMode(s, ui);
    if (s.SelectionShown1 != kFalse)
        StoreSelectionEdits(s);  // edits of the shown records count in the new selection
    else
        BeginSelection(s, ui);
    if (s.SelectionShown1 == kFalse)
        return;
    const int full = std::min<int>(
        s.FullCount1,
        static_cast<int>(std::min(s.FullRecords1.size(), s.SelectionMarks1.size())) - 1);
    const BlockConditions conditions(s.Records2, FilterLine);
    for (const PreparedFilterLine& condition : conditions.Lines()) {
        for (int j = 1; j <= full; ++j) {
            const int t = j + condition.Offset();
            if (t >= 1 && t <= full &&
                RecordMatchesFilterLine(s, condition, s.FullRecords1[t], s.FullRecords1[j]) == 1)
                s.SelectionMarks1[j] = static_cast<int16_t>(j);
        }
    }
    ApplySelection(s, ui);
    s.CurrentRecord1 = s.RecordCount1 > 0 ? 1 : 0;
    RefreshRecordList1(s, ui, s.CurrentRecord1);
    SetScrollValue(s, s.CurrentRecord1);
    ui.MainChanged();
}

}  // namespace core
