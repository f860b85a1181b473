#include "filters/make_filter.h"

#include "store/open_save.h"
#include "store/record_edit.h"
#include "store/selection_store.h"
#include "store/text.h"
#include "store/view.h"

namespace core {

std::string EscapeWildcards(std::string_view text) {
    std::string escaped = ReplaceAll(text, "[", "[[]");
    escaped = ReplaceAll(escaped, "?", "[?]");
    escaped = ReplaceAll(escaped, "#", "[#]");
    return ReplaceAll(escaped, "*", "[*]");
}

std::string MakeFilterCondition(std::string_view text, std::string_view selected) {
    if (selected.empty())
        return EscapeWildcards(text);
    const size_t at = text.find(selected);
    const std::string escaped = EscapeWildcards(selected);
    if (at == 0)
        return escaped + "*";
    if (at != std::string_view::npos && at + selected.size() == text.size())
        return "*" + escaped;
    return "*" + escaped + "*";
}

namespace {

// A selection of the filter lines is written back and ended; the line that
// was current stays current, now by its number in the whole program.
void EndFilterSelection(KovaState& s, KovaUi& ui) {
    if (s.SelectionShown2 == kFalse)
        return;
    int16_t current = 0;
    if (s.CurrentFilterLine >= 1 && s.CurrentFilterLine <= s.FilterCount &&
        static_cast<size_t>(s.CurrentFilterLine) < s.Records2.size())
        current = s.Records2[static_cast<size_t>(s.CurrentFilterLine)].V0;
    const int16_t mode = s.ViewMode;
    s.ViewMode = 3;
    StoreSelectionEdits(s);
    EndSelection(s, ui);
    s.ViewMode = mode;
    if (current >= 1 && current <= s.FilterCount)
        s.CurrentFilterLine = current;
}

ProtocolRecord FilterLine(int16_t number, int16_t code) {
    ProtocolRecord line;
    line.V0 = number;
    line.V1 = "*";
    line.V2 = code;
    line.V3 = "*";
    line.V4 = line.V5 = line.V6 = line.V7 = "*";
    line.V8 = "*";
    return line;
}

}  // namespace

bool MakeFilter(KovaState& s, KovaUi& ui, std::string_view text, std::string_view selected) {
    if (s.ViewMode != 1 || s.FilterFileName.empty())
        return false;
    if (s.CurrentRecord1 < 1 || s.CurrentRecord1 > s.RecordCount1 ||
        static_cast<size_t>(s.CurrentRecord1) >= s.Records1.size())
        return false;
    ProtocolRecord condition = FilterLine(0, 0);
    condition.V8 = MakeFilterCondition(text, selected);
    ProtocolRecord header = FilterLine(0, 999);
    const ProtocolRecord& current = s.Records1[static_cast<size_t>(s.CurrentRecord1)];
    for (int k = 4; k <= 7; ++k) {
        const std::string& code = *TextField(current, k);
        *TextField(header, k) = code.empty() ? std::string("*") : code;
    }
    // The header takes the record's codes, each as long as a table allows.
    SavedSize size = SavedSizeOfSet(s, 3);
    size.Add(condition);
    size.Add(header);
    if (!FitsDataFile(ui, size))
        return false;
    EndFilterSelection(s, ui);
    if (s.FilterCount > 32767 - 2) {
        ui.Message(
            "The filter program holds 32767 lines at most: the two lines of a new filter "
            "do not fit.",
            "Error", Icon::Exclamation);
        return false;
    }
    int16_t n = s.CurrentFilterLine;
    if (n < 0 || n > s.FilterCount)
        n = s.FilterCount;
    const int16_t count = static_cast<int16_t>(s.FilterCount + 2);
    s.Records2.resize(static_cast<size_t>(count) + 1);
    for (int k = count; k > n + 2; --k) {
        s.Records2[static_cast<size_t>(k)] = std::move(s.Records2[static_cast<size_t>(k - 2)]);
        s.Records2[static_cast<size_t>(k)].V0 = static_cast<int16_t>(k);
    }
    condition.V0 = static_cast<int16_t>(n + 1);
    header.V0 = static_cast<int16_t>(n + 2);
    s.Records2[static_cast<size_t>(n + 1)] = std::move(condition);
    s.Records2[static_cast<size_t>(n + 2)] = std::move(header);
    s.FilterCount = count;
    s.CurrentFilterLine = static_cast<int16_t>(n + 2);
    ++s.ChangeCount2;
    ShowFilterMode(s, ui);
    return true;
}

}  // namespace core
