#include "store/selection_store.h"

#include "store/text.h"
#include "store/view.h"

namespace core {

namespace {

// The shown set and its store, as ViewMode names them.
struct Store {
    RecordSet& shown;
    int16_t& count;
    int16_t& position;
    RecordSet& full;
    int16_t& fullCount;
    std::vector<int16_t>& marks;
    int16_t& flag;
    const char* nothingSelected;
    uint64_t& changes;
};

// Calls f with the store of the shown set; returns false in view mode 0.
template <typename F>
bool WithStore(KovaState& s, F&& f) {
    switch (s.ViewMode) {
        case 1:
            f(Store{s.Records1, s.RecordCount1, s.CurrentRecord1, s.FullRecords1, s.FullCount1,
                    s.SelectionMarks1, s.SelectionShown1, "No records selected!", s.ChangeCount1});
            return true;
        case 2:
            f(Store{s.Records2, s.RecordCount2, s.CurrentRecord2, s.FullRecords2, s.FullCount2,
                    s.SelectionMarks2, s.SelectionShown2, "no. records selected!", s.ChangeCount2});
            return true;
        case 3:
            f(Store{s.Records2, s.FilterCount, s.CurrentFilterLine, s.FullRecords2,
                    s.FullFilterCount, s.SelectionMarks2, s.SelectionShown2,
                    "no. records selected!", s.ChangeCount2});
            return true;
        default:
            return false;
    }
}

void EnableRecordButtons(MainWindowModel& m, bool enabled) {
    for (ControlState* c : {&m.CDelete, &m.CCopy, &m.CInsrt, &m.CAdd, &m.CJoin, &m.CSplit})
        c->enabled = enabled;
}

}  // namespace

void BeginSelection(KovaState& s, KovaUi& ui) {
    WithStore(s, [&](Store st) {
        if (st.flag != kFalse)
            return;
        const int n = st.count;
        st.fullCount = st.count;
        st.full.assign(static_cast<size_t>(n) + 1, ProtocolRecord{});
        for (int i = 1; i <= n && i < static_cast<int>(st.shown.size()); ++i)
            st.full[i] = st.shown[i];
        st.marks.assign(static_cast<size_t>(n) + 1, 0);
        st.flag = kTrue;
        EnableRecordButtons(s.Main, false);
        ui.MainChanged();
    });
}

void ApplySelection(KovaState& s, KovaUi& ui) {
    WithStore(s, [&](Store st) {
        if (st.flag == kFalse)
            return;
        const int fullCount = st.fullCount;
        st.marks.resize(static_cast<size_t>(fullCount) + 1, 0);
        RecordSet selected(1);
        int n = 0;
        for (int i = 1; i <= fullCount && i < static_cast<int>(st.full.size()); ++i) {
            if (st.marks[i] == 0)
                continue;
            ++n;
            selected.push_back(st.full[i]);
            st.marks[i] = static_cast<int16_t>(n);
        }
        if (n == 0) {
            ui.Message(st.nothingSelected, kProgramTitle, Icon::Exclamation);
            EndSelection(s, ui);
            return;
        }
        st.shown = std::move(selected);
        ++st.changes;
        st.count = static_cast<int16_t>(n);
        MainWindowModel& m = s.Main;
        SetScrollBars(s, n);
        m.Teller.caption = PlainNumber(n);
        m.Teller2.caption = PlainNumber(fullCount);
        m.Teller2.visible = true;
        m.SelLabel[0].visible = true;
        m.SelLabel[1].visible = true;
        m.CSaveSelection.visible = true;
        ui.MainChanged();
    });
}

void StoreSelectionEdits(KovaState& s) {
    WithStore(s, [&](Store st) {
        if (st.flag == kFalse)
            return;
        // Each shown record goes back to the place its number names; a number
        // that names no record of the full set (the set's structure changed
        // while the selection was shown) has no place to go.
        for (int i = 1; i <= st.count && i < static_cast<int>(st.shown.size()); ++i) {
            const int k = st.shown[i].V0;
            if (k >= 1 && k <= st.fullCount && k < static_cast<int>(st.full.size()))
                st.full[k] = st.shown[i];
        }
    });
}

void EndSelection(KovaState& s, KovaUi& ui) {
    MainWindowModel& m = s.Main;
    bool ended = true;
    WithStore(s, [&](Store st) {
        if (st.flag == kFalse) {
            ended = false;
            return;
        }
        st.count = st.fullCount;
        st.full.resize(static_cast<size_t>(st.count) + 1);
        st.shown = std::move(st.full);
        ++st.changes;
        st.full.assign(1, ProtocolRecord{});
        st.marks.assign(1, 0);
        // An empty set has no record 1 to make current.
        st.position = st.count > 0 ? 1 : 0;
        st.flag = kFalse;
        m.Teller.caption = PlainNumber(st.count);
        m.Teller2.caption = "0";
        m.Teller2.visible = false;
        const int16_t position = st.position;
        SetScrollBars(s, st.count);
        st.position = position;
    });
    if (!ended)
        return;
    m.SelLabel[0].visible = false;
    m.SelLabel[1].visible = false;
    m.CSaveSelection.visible = false;
    EnableRecordButtons(m, true);
    ui.MainChanged();
}

}  // namespace core
