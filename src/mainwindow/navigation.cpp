#include "mainwindow/navigation.h"

#include <algorithm>
#include <cmath>

#include "store/text.h"
#include "store/view.h"

namespace core {

namespace {

bool ShowsASet(const KovaState& s) {
    return s.ViewMode >= 1 && s.ViewMode <= 3;
}

// Makes `position` current in the shown set, redraws, and optionally sets the
// scroll bars.
void MoveTo(KovaState& s, KovaUi& ui, int position, bool setScrollBars) {
    ShownPosition(s) = static_cast<int16_t>(position);
    RedrawShownPage(s, ui);
    if (setScrollBars)
        SetScrollBars(s, ShownCount(s), ShownPosition(s));
    ui.MainChanged();
}

}  // namespace

ProtocolRecord* CurrentShownRecord(KovaState& s) {
    if (!ShowsASet(s))
        return nullptr;
    int16_t position = ShownPosition(s);
    RecordSet& records = ShownRecords(s);
    if (position < 1 || position > ShownCount(s) || position >= static_cast<int>(records.size()))
        return nullptr;
    return &records[position];
}

void RedrawShownPage(KovaState& s, KovaUi& ui) {
    if (!ShowsASet(s))
        return;
    int16_t copy = ShownPosition(s);
    if (s.ViewMode == 1)
        RefreshRecordList1(s, ui, copy);
    else
        RefreshRecordList2(s, ui, copy);
}

int16_t RowPosition(const KovaState& s, int row) {
    if (!ShowsASet(s) || row < 1 || row > s.DisplayRows ||
        row >= static_cast<int>(s.Main.rows.size()))
        return 0;
    const std::string& caption = s.Main.rows[row].v[0];
    if (caption.empty())
        return 0;
    int number = 0;
    try {
        number = ReadInt16(caption);
    } catch (const Overflow16&) {
        return 0;
    }
    bool selection = s.ViewMode == 1 ? s.SelectionShown1 != 0 : s.SelectionShown2 != 0;
    if (selection) {
        const std::vector<int16_t>& marks = s.ViewMode == 1 ? s.SelectionMarks1 : s.SelectionMarks2;
        if (number < 0 || number >= static_cast<int>(marks.size()))
            return 0;
        number = marks[number];
    }
    if (number < 1 || number > ShownCount(s))
        return 0;
    return static_cast<int16_t>(number);
}

void GoFirst(KovaState& s, KovaUi& ui) {
    if (ShowsASet(s) && ShownCount(s) > 0)
        MoveTo(s, ui, 1, true);
}

void GoLast(KovaState& s, KovaUi& ui) {
    if (ShowsASet(s) && ShownCount(s) > 0)
        MoveTo(s, ui, ShownCount(s), true);
}

void PageDown(KovaState& s, KovaUi& ui) {
    if (!ShowsASet(s) || ShownCount(s) < 1)
        return;
    int position = std::min<int>(ShownPosition(s) + 10, ShownCount(s));
    MoveTo(s, ui, position, true);
}

int16_t SievedRecord(const KovaState& s, int16_t entry) {
    if (entry < 1 || entry >= static_cast<int>(s.SieveList.size()))
        return s.CurrentRecord1;
    double value = std::nearbyint(static_cast<double>(s.SieveList[entry]));
    value = std::clamp<double>(value, 1, std::max<int>(1, s.RecordCount1));
    return static_cast<int16_t>(value);
}

bool StepSieve(KovaState& s, bool forward) {
    if (s.ViewMode != 1)
        return false;
    EndOutdatedSieve(s);
    if (!SieveInForce(s) || s.SieveCount <= 0)
        return false;
    if (forward) {
        s.SievePosition = static_cast<int16_t>(s.SievePosition + 1);
        if (s.SievePosition > s.SieveCount)
            s.SievePosition = 1;
    } else {
        s.SievePosition = static_cast<int16_t>(s.SievePosition - 1);
        if (s.SievePosition < 1)
            s.SievePosition = s.SieveCount;
    }
    return true;
}

void PageUp(KovaState& s, KovaUi& ui) {
    if (!ShowsASet(s) || ShownCount(s) < 1)
        return;
    if (StepSieve(s, false)) {
        MoveTo(s, ui, SievedRecord(s, s.SievePosition), true);
        return;
    }
    int16_t position = ShownPosition(s);
    if (position < 11)
        return;
    MoveTo(s, ui, std::min<int>(position - 10, ShownCount(s)), true);
}

void PressNavigationKey(KovaState& s, KovaUi& ui, NavigationKey key) {
    if (!ShowsASet(s))
        return;
    int value = s.Main.scrollValue;
    int low = s.Main.scrollMin;
    int high = s.Main.scrollMax;
    switch (key) {
        case NavigationKey::Down:
            value = std::min(value + 1, high);
            break;
        case NavigationKey::Up:
            value = std::max(value - 1, low);
            break;
        case NavigationKey::PageDown:
            value = std::min(value + 10, high);
            break;
        case NavigationKey::PageUp:
            value = std::max(value - 10, low);
            break;
        case NavigationKey::End:
            value = high;
            break;
        case NavigationKey::Home:
            value = low;
            break;
    }
    // A scroll bar set to the value it holds raises no change.
    if (value != s.Main.scrollValue)
        ScrollbarChange(s, ui, value);
}

void ScrollbarChange(KovaState& s, KovaUi& ui, int value) {
    if (!ShowsASet(s))
        return;
    int16_t count = ShownCount(s);
    if (count < 1 || value < 1 || value > count) {
        SetScrollBars(s, ShownCount(s), ShownPosition(s));
        ui.MainChanged();
        return;
    }
    MoveTo(s, ui, value, true);
}

void RowClick(KovaState& s, KovaUi& ui, int row, bool setScrollBars) {
    int16_t position = RowPosition(s, row);
    if (position == 0)
        return;
    MoveTo(s, ui, position, setScrollBars);
}

void ClearCurrentField(KovaState& s, KovaUi& ui, int field) {
    if (field != 1 && (field < 3 || field > 7))
        return;
    ProtocolRecord* record = CurrentShownRecord(s);
    if (record == nullptr)
        return;
    *TextField(*record, field) = std::string();
    s.Main.rows[s.DisplayRows].v[field] = std::string();
    ui.MainChanged();
}

}  // namespace core
