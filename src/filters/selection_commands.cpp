#include "filters/selection_commands.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

#include "filters/episode_selection.h"
#include "filters/event_selection.h"
#include "filters/selection_target.h"
#include "store/selection_store.h"
#include "store/text.h"
#include "store/view.h"

namespace core {
namespace {

bool IsOrFamily(SelectionFamily f) {
    return f == SelectionFamily::OrEvents || f == SelectionFamily::OrEpisodes;
}

std::string& SelectVariable(KovaState& s) {
    return s.ViewMode == 1 ? s.SelectVariable1 : s.SelectVariable2;
}

// The lags serve only the event selections over V2..V8.
bool LagsUsed(const std::string& kind, int variable) {
    return (kind == "OR" || kind == "AND") && variable >= 2;
}

void RunSelection(KovaState& s, KovaUi& ui, const std::string& kind, bool negated, bool shown) {
    if (kind == "OR" || (kind == "AND" && !shown)) {
        BeginSelection(s, ui);
        negated ? SelectEventsOrNot(s) : SelectEventsOr(s);
    } else if (kind == "AND") {
        negated ? SelectEventsAndNot(s) : SelectEventsAnd(s);
    } else if (kind == "EPI-OR" || (kind == "EPI-AND" && !shown)) {
        BeginSelection(s, ui);
        negated ? SelectEpisodesOrNot(s) : SelectEpisodesOr(s);
    } else if (kind == "EPI-AND") {
        negated ? SelectEpisodesAndNot(s) : SelectEpisodesAnd(s);
    }
}

void SpecifyFields(KovaUi& ui) {
    ui.Message(kSpecifyFields, kProgramTitle, Icon::Exclamation);
}

}  // namespace

SelectionPreset PresetSelection(KovaState& s, SelectionFamily f, int k) {
    k = std::clamp(k, 0, 8);
    SelectionPreset p;
    const std::string lead = IsOrFamily(f) ? "Or Select " : "And Select ";
    if (k <= 1) {
        p.labelCaption = lead + (k == 0 ? "lines" : "timecodes");
        p.rangeRowVisible = true;
        p.clearRange = true;
    } else {
        p.labelCaption = lead + (k == 8 ? "string" : "code");
        p.comboVisible = true;
        p.clearCombo = true;
        if (k >= 4 && k <= 7) {
            p.comboItems = s.CategoryLists[k];
            p.comboItems.emplace_back();  // the empty value, picked to select empty codes
            p.comboHeightTwips = 1980;
        }
    }
    switch (f) {
        case SelectionFamily::OrEvents:
            p.contextRow = k <= 1 ? RowChange::Hide : RowChange::Show;
            break;
        case SelectionFamily::AndEvents:
            p.contextRow = RowChange::Keep;
            break;
        case SelectionFamily::OrEpisodes:
        case SelectionFamily::AndEpisodes:
            p.contextRow = RowChange::Hide;
            break;
    }
    p.title = s.Varnaam[k];
    SelectVariable(s) = "V" + std::to_string(k);
    return p;
}

SelectionDialogResult SelectionDialogOk(KovaState& s, KovaUi& ui, const SelectionDialogInput& in) {
    const bool setOne = s.ViewMode == 1;
    const bool anySet = s.ViewMode >= 1 && s.ViewMode <= 3;
    const std::string& kind = setOne ? s.SelectionKind1 : s.SelectionKind2;
    const int variable = SelectionVariableIndex(SelectVariable(s));

    // The lags: a lag box that the user sees, or whose value the selection
    // uses, must hold a number.
    const bool lagsUsed = anySet && LagsUsed(kind, variable);
    if ((in.contextRowVisible || lagsUsed) && !(IsNumberText(in.text3) && IsNumberText(in.text4))) {
        SpecifyFields(ui);
        return {false, true};
    }
    s.LagBefore = ReadLag(in.text3);
    s.LagAfter = ReadLag(in.text4);
    if (!anySet)
        return {true, false};

    std::string value;
    std::string valueTo;
    if (variable == 0 || variable == 1) {
        const bool filled = variable == 0 ? IsNumberText(in.text1) && IsNumberText(in.text2)
                                          : !in.text1.empty() && !in.text2.empty();
        if (!filled) {
            SpecifyFields(ui);
            return {false, false};
        }
        value = in.text1;
        valueTo = in.text2;
    } else {
        if (variable == 2 && !IsNumberText(in.combo)) {
            SpecifyFields(ui);
            return {false, false};
        }
        value = in.combo;
    }
    int16_t& shownFlag = setOne ? s.SelectionShown1 : s.SelectionShown2;
    (setOne ? s.SelectValue1 : s.SelectValue2) = value;
    (setOne ? s.SelectValueTo1 : s.SelectValueTo2) = valueTo;

    const bool shown = shownFlag != kFalse;
    if (shown)
        StoreSelectionEdits(s);
    RunSelection(s, ui, kind, in.notChecked, shown);
    ApplySelection(s, ui);

    int16_t& position = ShownPosition(s);
    position = 1;
    if (setOne)
        RefreshRecordList1(s, ui, position);
    else
        RefreshRecordList2(s, ui, position);
    s.Main.scrollValue = position;
    ui.MainChanged();
    return {true, false};
}

void UndoSelection(KovaState& s, KovaUi& ui) {
    if (s.ViewMode < 1 || s.ViewMode > 3)
        return;
    StoreSelectionEdits(s);
    EndSelection(s, ui);
    if (s.ViewMode == 1)
        RefreshRecordList1(s, ui, s.CurrentRecord1);
    else if (s.ViewMode == 3)
        RefreshRecordList2(s, ui, s.CurrentFilterLine);
    else
        RefreshRecordList2(s, ui, s.CurrentRecord2);
}

bool OpenSelectionSubmenu(KovaState& s, int item) {
    static constexpr const char* kKinds[] = {"OR", "AND", "EPI-OR", "EPI-AND"};
    if (s.ViewMode < 1 || s.ViewMode > 3 || item < 2 || item > 5)
        return false;
    (s.ViewMode == 1 ? s.SelectionKind1 : s.SelectionKind2) = kKinds[item - 2];
    return true;
}

bool IsNumberText(const std::string& text) {
    const std::string t = Trim(text);
    size_t start = 0;
    if (!t.empty() && (t[0] == '+' || t[0] == '-'))
        start = 1;
    if (start == t.size() || t[start] == '+' || t[start] == '-')
        return false;
    // Only the characters of a decimal number: no "inf", "nan" or hexadecimal.
    if (t.find_first_not_of("0123456789.eE+-", start) != std::string::npos)
        return false;
    double value = 0;
    const char* end = t.data() + t.size();
    auto [ptr, ec] = std::from_chars(t.data() + start, end, value, std::chars_format::general);
    return ptr == end && (ec == std::errc() || ec == std::errc::result_out_of_range);
}

int32_t ReadLag(const std::string& text) {
    // Any lag beyond the largest set covers it whole, so limiting the value
    // changes no selection.
    constexpr double kLimit = 1e9;
    const double value = ReadNumber(text);
    if (std::isnan(value))
        return 0;
    return static_cast<int32_t>(std::nearbyint(std::clamp(value, -kLimit, kLimit)));
}

}  // namespace core
