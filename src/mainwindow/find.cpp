#include "mainwindow/find.h"

#include <algorithm>
#include <optional>

#include "mainwindow/navigation.h"
#include "store/text.h"
#include "store/view.h"

namespace core {

namespace {

void AddFindText(KovaState& s, const std::string& text) {
    if (text.empty())
        return;
    if (std::find(s.FindTexts.begin(), s.FindTexts.end(), text) != s.FindTexts.end())
        return;
    InsertSorted(s.FindTexts, text);
}

// Tests one record; on a string hit `offset` gets the place of the text.
// `pattern` is the search text compiled once for the whole search (pattern
// mode only).
bool IsHit(const KovaState& s, const ProtocolRecord& r, int variable, const std::string& text,
           const WildcardPattern* pattern, size_t& offset) {
    if (variable == 0 || variable == 2) {
        int16_t value = variable == 0 ? r.V0 : r.V2;
        if (text.empty())
            return value != 0;
        if (s.FindMode == 1)
            return static_cast<double>(value) == ReadNumber(text);
        return pattern->Matches(SignedNumber(value));
    }
    const std::string& field = variable == kFindMemo ? r.Memo : *TextField(r, variable);
    if (text.empty()) {
        if (variable != kFindMemo && s.ViewMode == 3)
            return field != "*";
        return !field.empty();
    }
    if (s.FindMode == 1) {
        size_t at = field.find(text);
        if (at == std::string::npos)
            return false;
        offset = at;
        return true;
    }
    return pattern->Matches(field);
}

}  // namespace

size_t EditorIndex(const std::string& text, size_t offset) {
    size_t index = 0;
    for (size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        ++index;
    }
    return index;
}

size_t StoredOffset(const std::string& text, size_t index) {
    size_t i = 0;
    for (size_t n = 0; n < index && i < text.size(); ++n)
        i += (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
    return i;
}

FindResult FindStep(KovaState& s, KovaUi& ui, const std::string& searchText, int variable) {
    FindResult result;
    // The sieve belongs to data set 1: it is stepped only while that set is
    // shown; the other views search.
    if (StepSieve(s, s.FindDirection == 1)) {
        s.CurrentRecord1 = SievedRecord(s, s.SievePosition);
        RedrawShownPage(s, ui);
        SetScrollBars(s, ShownCount(s), s.CurrentRecord1);
        ui.MainChanged();
        return result;
    }
    if (s.ViewMode < 1 || s.ViewMode > 3)
        return result;
    int16_t count = ShownCount(s);
    if (count < 1)
        return result;
    const RecordSet& records = ShownRecords(s);
    int current = ShownPosition(s);
    bool forward = s.FindDirection == 1;

    bool repeated = searchText == s.LastFindText;
    if (repeated)
        current += forward ? 1 : -1;
    current = std::clamp<int>(current, 1, count);

    int found = 0;
    size_t offset = 0;
    if (variable >= 0 && variable <= kFindMemo) {
        try {
            std::optional<WildcardPattern> pattern;
            if (s.FindMode != 1 && !searchText.empty())
                pattern = WildcardPattern::Compile(searchText);
            for (int k = current; k >= 1 && k <= count && k < static_cast<int>(records.size());
                 k += forward ? 1 : -1) {
                if (IsHit(s, records[k], variable, searchText, pattern ? &*pattern : nullptr,
                          offset)) {
                    found = k;
                    break;
                }
            }
        } catch (const BadPattern&) {
            ui.Message("\"" + QuoteForMessage(searchText) +
                           "\" is not a valid pattern: a set in brackets must be closed by \"]\", "
                           "hold at least one character and have its ranges run upwards, as in "
                           "\"[a-z]\".",
                       kProgramTitle, Icon::Exclamation);
            return result;
        }
    }
    if (found != 0 && variable == 8) {
        // The text box shows the text trimmed (and the redraw trims it).
        size_t lead = records[found].V8.find_first_not_of(' ');
        if (lead == std::string::npos)
            lead = records[found].V8.size();
        offset = offset >= lead ? offset - lead : 0;
    }
    if (!repeated) {
        s.LastFindText = searchText;
        AddFindText(s, searchText);
    }
    int16_t position = static_cast<int16_t>(found != 0 ? found : (forward ? count : 1));
    ShownPosition(s) = position;
    RedrawShownPage(s, ui);
    SetScrollBars(s, ShownCount(s), position);
    ui.MainChanged();
    if (found == 0)
        return result;
    result.hit = true;
    result.variable = variable;
    result.length = s.LastFindText.size();
    if (s.FindMode == 1 && !searchText.empty())
        result.offset = offset;
    return result;
}

void ToggleFindMode(KovaState& s, KovaUi& ui) {
    std::string& caption = s.Main.CString.caption;
    if (caption == "String") {
        s.FindMode = 0;
        caption = "Pattern";
    } else if (caption == "Pattern") {
        s.FindMode = 1;
        caption = "String";
    } else if (caption == "Sieve") {
        SwitchOffSieve(s);
    } else {
        return;
    }
    ui.MainChanged();
}

std::string ToggleFindDirection(KovaState& s) {
    s.FindDirection = s.FindDirection == 1 ? 0 : 1;
    return s.FindDirection == 1 ? "Next:" : "Prev:";
}

void AddCategoriesToFindTexts(KovaState& s, int variable) {
    if (variable < 4 || variable > 7)
        return;
    for (const std::string& category : s.CategoryLists[variable])
        AddFindText(s, category);
}

}  // namespace core
