#include "mainwindow/coding.h"

#include <algorithm>

#include "mainwindow/navigation.h"
#include "store/record_edit.h"
#include "store/table_file.h"
#include "store/text.h"
#include "store/view.h"

namespace core {

bool WriteCode(KovaState& s, KovaUi& ui, int k, const std::string& code) {
    if (k < 4 || k > 7)
        return false;
    ProtocolRecord* record = CurrentShownRecord(s);
    if (record == nullptr)
        return false;
    FieldGrowth growth;
    growth.Field(*record, k, code);
    if (!FitsFieldWrite(s, ui, s.ViewMode, growth))
        return false;
    *TextField(*record, k) = code;
    s.Main.rows[s.DisplayRows].v[k] = code;
    ui.MainChanged();
    return true;
}

void AdvanceRecord(KovaState& s, KovaUi& ui) {
    if (s.ViewMode < 1 || s.ViewMode > 3 || ShownCount(s) < 1)
        return;
    if (StepSieve(s, true)) {
        s.CurrentRecord1 = SievedRecord(s, s.SievePosition);
    } else {
        int16_t& position = ShownPosition(s);
        if (position < ShownCount(s))
            position = static_cast<int16_t>(position + 1);
        else
            position = ShownCount(s);
    }
    RedrawShownPage(s, ui);
    SetScrollBars(s, ShownCount(s), ShownPosition(s));
    ui.MainChanged();
}

void ClearCode(KovaState& s, KovaUi& ui, int k) {
    if (k >= 4 && k <= 7)
        WriteCode(s, ui, k, std::string());
}

bool CheckTableText(KovaUi& ui, const std::string& text) {
    if (IsTableItemAllowed(text))
        return true;
    ui.Message(TableItemRefusedText(text), kProgramTitle, Icon::Exclamation);
    return false;
}

bool ToggleCategory(KovaState& s, KovaUi& ui, int k, const std::string& typed) {
    if (k < 4 || k > 7 || typed.empty())
        return true;
    std::vector<std::string>& list = s.CategoryLists[k];
    // The walk of the list: n is taken once; a removed entry lets the next one
    // move up to the index just tested, so of two equal neighbours only the
    // first goes.
    size_t n = list.size();
    bool removed = false;
    for (size_t i = 0; i < n && i < list.size(); ++i) {
        if (list[i] == typed) {
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
            removed = true;
        }
    }
    if (removed) {
        s.TableChanged = true;
        return true;
    }
    if (!CheckTableText(ui, typed))
        return false;
    InsertSorted(list, typed);
    s.TableChanged = true;
    return true;
}

}  // namespace core
