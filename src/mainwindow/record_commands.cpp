#include "mainwindow/record_commands.h"

#include <utility>

#include "mainwindow/coding.h"
#include "mainwindow/find.h"
#include "mainwindow/navigation.h"
#include "store/record_range.h"
#include "store/text.h"
#include "store/view.h"

namespace core {

namespace {

// Reads both range texts; nullopt when one does not fit 16 bits.
std::optional<std::pair<int16_t, int16_t>> ReadRange(std::string_view fromText,
                                                     std::string_view toText) {
    try {
        return std::make_pair(ReadInt16(fromText), ReadInt16(toText));
    } catch (const Overflow16&) {
        return std::nullopt;
    }
}

// The range variables the coding dialogs write in the view mode.
std::pair<int16_t*, int16_t*> CodingRangeVariables(KovaState& s) {
    switch (s.ViewMode) {
        case 1:
            return {&s.FromRecord, &s.ToRecord};
        case 2:
            return {&s.FromRecord2, &s.ToRecord2};
        case 3:
            return {&s.FromFilterLine, &s.ToFilterLine};
        default:
            return {nullptr, nullptr};
    }
}

// The range the coding dialog wrote for `set`, the shown set, when it lies
// within the set's records.
std::optional<std::pair<int16_t, int16_t>> CodingRange(KovaState& s, const EditSet& set) {
    auto [from, to] = CodingRangeVariables(s);
    if (!RangeWithinSet(*from, *to, set.count, set.records))
        return std::nullopt;
    return std::pair{*from, *to};
}

bool StructureMayChange(KovaState& s) {
    return s.ViewMode >= 1 && s.ViewMode <= 3 && !ShownSelection(s);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        size_t end = text.find('\n', start);
        lines.push_back(ReplaceAll(text.substr(start, end - start), "\r", ""));
        if (end == std::string::npos)
            return lines;
        start = end + 1;
    }
}

}  // namespace

std::optional<EditSet> ShownEditSet(KovaState& s) {
    switch (s.ViewMode) {
        case 1:
            return DataSet1(s);
        case 2:
            return DataSet2(s);
        case 3:
            return FilterLines(s);
        default:
            return std::nullopt;
    }
}

bool ShownSelection(const KovaState& s) {
    if (s.ViewMode == 1)
        return s.SelectionShown1 != kFalse;
    if (s.ViewMode == 2 || s.ViewMode == 3)
        return s.SelectionShown2 != kFalse;
    return false;
}

bool RefuseEditWithoutFile(KovaState& s, KovaUi& ui) {
    if (s.ViewMode >= 1 && s.ViewMode <= 3 && !FileNameOfSet(s, s.ViewMode).empty())
        return false;
    ui.Message(
        "No file is open here: what is added or typed would be saved nowhere. Open a file "
        "first.",
        kProgramTitle, Icon::Exclamation);
    return true;
}

void AddButton(KovaState& s, KovaUi& ui) {
    if (!RefuseEditWithoutFile(s, ui) && StructureMayChange(s))
        AddRecords(s, ui, *ShownEditSet(s));
}

void JoinButton(KovaState& s, KovaUi& ui) {
    if (!RefuseEditWithoutFile(s, ui) && s.ViewMode != 3 && StructureMayChange(s))
        JoinRecords(s, ui, *ShownEditSet(s));
}

void PasteButton(KovaState& s, KovaUi& ui) {
    if (!RefuseEditWithoutFile(s, ui) && StructureMayChange(s))
        InsertRecords(s, ui, *ShownEditSet(s));
}

void SplitButton(KovaState& s, KovaUi& ui, size_t editorCaret) {
    if (RefuseEditWithoutFile(s, ui) || s.ViewMode == 3 || !StructureMayChange(s))
        return;
    const ProtocolRecord* record = CurrentShownRecord(s);
    if (record == nullptr)
        return;
    SplitRecord(s, ui, *ShownEditSet(s), StoredOffset(record->V8, editorCaret));
}

std::string RangeDialogPreset(KovaState& s) {
    if (s.ViewMode < 1 || s.ViewMode > 3)
        return std::string();
    return SignedNumber(ShownPosition(s));
}

void ConfirmCut(KovaState& s, KovaUi& ui, std::string_view fromText, std::string_view toText) {
    auto range = ReadRange(fromText, toText);
    if (s.ViewMode < 1 || s.ViewMode > 3 || !range)
        return;
    s.FromRecord = range->first;
    s.ToRecord = range->second;
    if (!StructureMayChange(s))
        return;
    const EditSet set = *ShownEditSet(s);
    if (RangeWithinSet(s.FromRecord, s.ToRecord, set.count, set.records))
        DeleteRecords(s, ui, set, s.FromRecord, s.ToRecord);
}

void ConfirmCopy(KovaState& s, std::string_view fromText, std::string_view toText) {
    auto range = ReadRange(fromText, toText);
    if (s.ViewMode < 1 || s.ViewMode > 3 || !range)
        return;
    s.FromRecord = range->first;
    s.ToRecord = range->second;
    CopyRecordsToClipboard(s, *ShownEditSet(s), s.FromRecord, s.ToRecord);
}

CodingPreset CodingDialogPreset(KovaState& s, int k) {
    CodingPreset p;
    if (s.ViewMode < 1 || s.ViewMode > 3)
        return p;
    p.from = SignedNumber(ShownPosition(s));
    p.to = SignedNumber(ShownCount(s));
    if (k >= 0 && k < static_cast<int>(s.Varnaam.size()))
        p.label = s.Varnaam[k];
    return p;
}

bool StoreCodingRange(KovaState& s, std::string_view fromText, std::string_view toText) {
    s.DialogCancelled = 0;
    auto [from, to] = CodingRangeVariables(s);
    auto range = ReadRange(fromText, toText);
    if (!range) {
        s.DialogCancelled = 1;
        return false;
    }
    if (from != nullptr) {
        *from = range->first;
        *to = range->second;
    }
    return true;
}

void DeleteCoding(KovaState& s, KovaUi& ui, int k, const std::function<void()>& askRange) {
    auto set = ShownEditSet(s);
    if (!set || k < 1 || k > 8)
        return;
    // Only an OK of this dialog clears the flag: its close box and Escape
    // leave it set, so no earlier range is taken for a confirmed one.
    s.DialogCancelled = 1;
    askRange();
    if (s.DialogCancelled != 0)
        return;
    const auto range = CodingRange(s, *set);
    if (!range)
        return;
    const char* cleared = set->set == 3 ? "*" : "";
    FieldGrowth growth;
    for (int i = range->first; i <= range->second; ++i) {
        if (k == 2)
            growth.Number(set->records[i], 0);
        else
            growth.Field(set->records[i], k, cleared);
    }
    if (!FitsFieldWrite(s, ui, set->set, growth))
        return;
    for (int i = range->first; i <= range->second; ++i) {
        ProtocolRecord& r = set->records[i];
        if (k == 2)
            r.V2 = 0;
        else
            *TextField(r, k) = cleared;
    }
    RedrawShownPage(s, ui);
}

void SwapCoding(KovaState& s, KovaUi& ui, int k, const std::function<void()>& askSwap) {
    auto set = ShownEditSet(s);
    if (!set || k < 1 || k > 8)
        return;
    s.Lag = 0;
    s.DialogCancelled = 1;
    askSwap();
    const int m = s.Lag;
    s.Lag = 0;
    if (m == 0 || s.DialogCancelled != 0)
        return;
    const auto range = CodingRange(s, *set);
    if (!range)
        return;
    // V2 is a number and is never offered for a swap; a variable with itself
    // is no swap.
    if (k == 2 || m == 2 || m == k || m < 1 || m > 8)
        return;
    // A line break takes one byte in a one-line field but two in the text:
    // moved into V8 it makes the set larger.
    FieldGrowth growth;
    for (int i = range->first; i <= range->second; ++i) {
        const ProtocolRecord& r = set->records[i];
        growth.Field(r, k, *TextField(r, m));
        growth.Field(r, m, *TextField(r, k));
    }
    if (!FitsFieldWrite(s, ui, set->set, growth))
        return;
    for (int i = range->first; i <= range->second; ++i) {
        ProtocolRecord& r = set->records[i];
        std::swap(*TextField(r, k), *TextField(r, m));
    }
    RedrawShownPage(s, ui);
}

void UpdateSequencer(KovaState& s, KovaUi& ui) {
    if (s.ViewMode != 1)
        return;
    FieldGrowth growth;
    growth.bytes = NumberSequenceGrowth(s.Records1, s.RecordCount1);
    if (FitsFieldWrite(s, ui, 1, growth))
        RenumberSequencer(s, ui);
}

std::string TableEditCaption(const KovaState& s, int index) {
    if (index == 1)
        return "Variable labels";
    if (index >= 4 && index <= 7)
        return s.Varnaam[index];
    return std::string();
}

std::string TableEditText(const KovaState& s, int index) {
    std::string text;
    if (index == 1) {
        for (size_t k = 0; k < s.Varnaam.size(); ++k)
            text += (k == 0 ? "" : "\n") + s.Varnaam[k];
    } else if (index >= 4 && index <= 7) {
        const std::vector<std::string>& list = s.CategoryLists[index];
        for (size_t i = 0; i < list.size(); ++i)
            text += (i == 0 ? "" : "\n") + list[i];
    }
    return text;
}

bool CheckTableEditText(KovaUi& ui, const std::string& text) {
    for (const std::string& line : Lines(text)) {
        if (!CheckTableText(ui, line))
            return false;
    }
    return true;
}

void EditTable(KovaState& s, int index, const std::function<void()>& showEditor) {
    if (index != 1 && (index < 4 || index > 7))
        return;
    s.DialogCancelled = 1;
    s.ScratchText = TableEditText(s, index);
    showEditor();
    if (s.DialogCancelled != 0)
        return;
    s.TableChanged = true;
    std::vector<std::string> lines = Lines(s.ScratchText);
    if (index == 1) {
        for (size_t k = 0; k < s.Varnaam.size(); ++k)
            s.Varnaam[k] = k < lines.size() ? lines[k] : std::string();
        return;
    }
    std::vector<std::string>& list = s.CategoryLists[index];
    list.clear();
    if (s.ScratchText.empty())
        return;
    for (std::string& line : lines)
        InsertSorted(list, std::move(line));
}

}  // namespace core
