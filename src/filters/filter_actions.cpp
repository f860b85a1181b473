#include "filters/filter_actions.h"

#include "filters/time_arithmetic.h"
#include "patterns/count_words.h"
#include "patterns/letter_case.h"
#include "store/text.h"
#include "store/time_code.h"

namespace core {

namespace {

bool StartsWith(const std::string& text, std::string_view prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// An operand "|text|" stands for text, blanks kept.
std::string DropOuterBars(const std::string& operand) {
    if (operand.size() >= 2 && operand.front() == '|' && operand.back() == '|')
        return operand.substr(1, operand.size() - 2);
    return operand;
}

// The length ReplaceAll(text, find, replacement) would give.
size_t ReplacedLength(std::string_view text, std::string_view find, size_t replacementSize) {
    if (find.empty())
        return text.size();
    size_t length = text.size();
    for (size_t at = text.find(find); at != std::string_view::npos;
         at = text.find(find, at + find.size()))
        length = length - find.size() + replacementSize;
    return length;
}

// Stops the command before a field passes kMaxFieldBytes: blocks that append
// a field to itself would otherwise double it per record until memory ends.
void CheckFieldLength(const KovaState& s, size_t length, const std::string& fieldName,
                      int recordIndex) {
    if (length <= kMaxFieldBytes)
        return;
    throw FilterStop("The filter would make " + (fieldName == "Sn" ? "V8" : fieldName) +
                         " of record " + PlainNumber(s.Records1[recordIndex].V0) + " " +
                         LongerThanAFieldText() + "; nothing was changed.",
                     "ERROR HELP");
}

std::string TextOperation(const KovaState& s, char op, std::string operand, const std::string& text,
                          const std::string& fieldName, int anchorIndex) {
    auto checked = [&](size_t length) { CheckFieldLength(s, length, fieldName, anchorIndex); };
    switch (op) {
        case '~':
            return ReplaceAll(text, DropOuterBars(operand), "");
        case '+': {
            std::string trimmed = Trim(text);
            std::string tail = DropOuterBars(operand);
            checked(trimmed.size() + tail.size());
            return trimmed + tail;
        }
        case '\\': {
            std::string trimmed = Trim(text);
            std::string head = DropOuterBars(operand);
            checked(head.size() + trimmed.size());
            return head + trimmed;
        }
        case '=': {
            // "|find|replacement|" or "|find|replacement": replace; else set.
            if (operand.size() >= 2 && operand.front() == '|') {
                size_t second = operand.find('|', 1);
                if (second != std::string::npos) {
                    std::string find = operand.substr(1, second - 1);
                    std::string rest = operand.substr(second + 1);
                    if (operand.size() >= 3 && operand.back() == '|' &&
                        second != operand.size() - 1)
                        rest.pop_back();
                    checked(ReplacedLength(text, find, rest.size()));
                    return ReplaceAll(text, find, rest);
                }
            }
            checked(operand.size());
            return operand;
        }
        default:
            return text;
    }
}

void PlaceSplitMark(KovaState& s, FilterPass& pass, const std::string& cell, int targetIndex,
                    bool before) {
    std::string m = cell.substr(4);
    size_t bar = m.find('|');
    std::string t = bar == std::string::npos ? m : m.substr(0, bar);
    long long k = static_cast<long long>(t.size());
    if (bar != std::string::npos) {
        try {
            k = RoundTo16(ReadNumber(std::string_view(m).substr(bar + 1)));
        } catch (const Overflow16&) {
            return;  // a position that cannot be held places no mark
        }
    }
    const long long len = static_cast<long long>(t.size());
    std::string u;
    if (before) {
        if (bar != std::string::npos && k >= 2 && k <= len)
            u = t.substr(0, k - 1) + "///" + t.substr(k - 1);
        else
            u = "///" + t;
    } else {
        if (bar != std::string::npos && k > 0 && k < len)
            u = t.substr(0, k) + "///" + t.substr(k);
        else
            u = t + "///";
    }
    std::string& text = s.Records1[targetIndex].V8;
    size_t found = text.find(t);
    long long pos = found == std::string::npos ? 0 : static_cast<long long>(found) + 1;
    long long p = pos + k - 1;
    if (p > 0 && p < static_cast<long long>(text.size())) {
        CheckFieldLength(s, ReplacedLength(text, t, u.size()), "Sn", targetIndex);
        ++pass.FilterSplitCount;
        text = ReplaceAll(text, t, u);
    }
}

}  // namespace

std::string TextBetweenMarkers(const std::string& Text, const std::string& StartMarker,
                               const std::string& EndMarker) {
    size_t a = Text.find(StartMarker);
    if (a == std::string::npos)
        return "";
    size_t b = a + StartMarker.size();
    size_t e = Text.find(EndMarker, b);
    return e == std::string::npos ? Text.substr(b) : Text.substr(b, e - b);
}

void ApplyFieldAction(KovaState& s, FilterPass& pass, std::string& TargetField,
                      const std::string& ActionCell, std::string& AnchorField, int16_t& AnchorV2,
                      int TargetIndex, int AnchorIndex, const std::string& FieldName) {
    const std::string& cell = ActionCell;
    const bool appending = s.FilterAppendMode != kFalse;
    if (cell == "*")
        return;
    if (cell == "|===") {
        std::string copy = TargetField;
        if (appending)
            CheckFieldLength(s, AnchorField.size() + copy.size(), FieldName, AnchorIndex);
        AnchorField = appending ? AnchorField + copy : copy;
        if (FieldName == "V1" && AnchorV2 < INT16_MAX)
            ++AnchorV2;
        return;
    }
    if (cell == "|del") {
        if (!pass.deleteQueued[TargetIndex]) {
            pass.deleteQueued[TargetIndex] = 1;
            ++pass.FilterDeleteCount;
        }
        return;
    }
    if (cell == "|wcount") {
        std::string text = s.Records1[TargetIndex].V8;
        AnchorField = FormatNumber(CountWords(text), "000");
        return;
    }
    if (StartsWith(cell, "|V2=")) {
        try {
            AnchorV2 = RoundTo16(ReadNumber(TextBetweenMarkers(cell, "=", "|")));
        } catch (const Overflow16&) {
            // A value a sequence number cannot hold leaves it as it was.
        }
        return;
    }
    if (cell == "|lowercase") {
        AnchorField = LowerCase(TargetField);
        return;
    }
    if (cell == "|uppercase") {
        AnchorField = UpperCase(TargetField);
        return;
    }
    if (StartsWith(cell, "|n") || StartsWith(cell, "|t") || StartsWith(cell, "|$")) {
        if (cell.size() < 3)
            return;  // no operator: nothing to do
        char op = cell[2];
        std::string operand = cell.substr(3);
        if (int var = VariableIndex(operand))
            operand = s.FilterVariables[var];
        if (cell[1] == 'n') {
            if (op == '+')
                AnchorField = GeneralNumberText(ReadNumber(TargetField) + ReadNumber(operand));
            else if (op == '-')
                AnchorField = GeneralNumberText(ReadNumber(TargetField) - ReadNumber(operand));
        } else if (cell[1] == 't') {
            if (FieldName != "V1")
                return;
            if (op == '+')
                AnchorField = AddTimes(Trim(TargetField), operand);
            else if (op == '-')
                AnchorField = SubtractTimes(Trim(TargetField), operand);
        } else {
            AnchorField = TextOperation(s, op, operand, AnchorField, FieldName, AnchorIndex);
        }
        return;
    }
    if (cell == "|diftime") {
        double d =
            ParseTimeCode(s.Records1[TargetIndex].V1) - ParseTimeCode(s.Records1[AnchorIndex].V1);
        AnchorField = GeneralNumberText(d);
        return;
    }
    if (IsSplitMarkCell(cell)) {
        PlaceSplitMark(s, pass, cell, TargetIndex, cell[1] == '\\');
        return;
    }
    if (appending)
        CheckFieldLength(s, AnchorField.size() + cell.size(), FieldName, AnchorIndex);
    AnchorField = appending ? AnchorField + cell : cell;
}

void ApplyFilterActions(KovaState& s, FilterPass& pass, ProtocolRecord& HeaderLine, int AnchorIndex,
                        int16_t FilterNo) {
    for (int field : kCellFields) {
        std::string* cell = TextField(HeaderLine, field);
        *cell = Trim(*cell);
    }
    int offset = 0;
    if (FilterNo > 1 && !IsBlockCode(s.Records2[FilterNo - 1].V2))
        offset = s.Records2[FilterNo - 1].V2;
    int target = AnchorIndex + offset;
    if (target < 1 || target > s.RecordCount1)
        return;
    ProtocolRecord& anchor = s.Records1[AnchorIndex];
    ProtocolRecord& targetRecord = s.Records1[target];
    // Only what a cell can change is counted again, not the whole records: a
    // split mark changes the target's text, any other action the anchor's
    // field of the cell and its sequence number.
    pass.saved.RemoveField(anchor, 2);
    for (int c = 0; c < 7; ++c) {
        const int k = kCellFields[c];
        const std::string& cell = *TextField(HeaderLine, k);
        if (cell == "*")
            continue;
        const bool mark = IsSplitMarkCell(cell);
        ProtocolRecord& changed = mark ? targetRecord : anchor;
        const int field = mark ? 8 : k;
        pass.saved.RemoveField(changed, field);
        ApplyFieldAction(s, pass, *TextField(targetRecord, k), cell, *TextField(anchor, k),
                         anchor.V2, target, AnchorIndex, kCellNames[c]);
        pass.saved.AddField(changed, field);
    }
    pass.saved.AddField(anchor, 2);
    if (!pass.saved.Fits())
        throw TooLargeForAFile();
}

}  // namespace core
