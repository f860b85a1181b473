#include "filters/filter_conditions.h"

#include <cmath>

#include "filters/filter_program.h"
#include "patterns/count_words.h"
#include "store/text.h"
#include "store/time_code.h"

namespace core {

namespace {

bool StartsWith(const std::string& text, std::string_view prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The operator character at `pos` and the operand behind it; a cell that ends
// before its operator is no usable condition.
struct OperatorOperand {
    char op;
    std::string operand;
};

OperatorOperand SplitCell(const std::string& cell, size_t pos) {
    if (cell.size() <= pos)
        throw ConditionError(cell);
    return {cell[pos], cell.substr(pos + 1)};
}

int16_t Compare(char op, double value, double bound) {
    switch (op) {
        case '>':
            return value > bound;
        case '<':
            return value < bound;
        case '=':
            return value == bound;
        case '~':
            return value != bound;
        default:
            return 0;
    }
}

int16_t CompareTexts(char op, const std::string& value, const std::string& operand) {
    // std::string compares bytes as unsigned values: capitals before small letters.
    int c = value.compare(operand);
    switch (op) {
        case '>':
            return c > 0;
        case '<':
            return c < 0;
        case '=':
            return c == 0;
        case '~':
            return c != 0;
        default:
            return 0;
    }
}

// "...:$Vk" keeps the tested field's value in filter variable k; a cell that
// names no variable fails.
int16_t KeepInVariable(KovaState& s, const std::string& operand, const std::string& value) {
    const int var = VariableIndex(operand);
    if (var == 0)
        return 0;
    s.FilterVariables[var] = value;
    return 1;
}

// An operand that names a filter variable stands for that variable's value.
const std::string& OperandValue(const KovaState& s, const std::string& operand) {
    const int var = VariableIndex(operand);
    return var ? s.FilterVariables[var] : operand;
}

int16_t Evaluate(KovaState& s, const std::string& value, const std::string& cell,
                 const std::string& anchorValue, const ProtocolRecord& record) {
    if (cell == "*")
        return 1;
    // A cell without wildcard characters matches exactly the equal text; the
    // pattern matcher is needed only for the others.
    if (cell.find_first_of("*?#[") == std::string::npos ? value == cell
                                                        : WildcardMatch(value, cell))
        return 1;
    if (cell == "|nil" && value.empty())
        return 1;
    if (StartsWith(cell, "|V0="))
        return ReadNumber(std::string_view(cell).substr(4)) == record.V0;
    if (StartsWith(cell, "|n")) {
        auto [op, operand] = SplitCell(cell, 2);
        if (op == ':')
            return KeepInVariable(s, operand, value);
        double bound = ReadNumber(OperandValue(s, operand));
        return Compare(op, ReadNumber(value), bound);
    }
    if (StartsWith(cell, "|dt")) {
        auto [op, operand] = SplitCell(cell, 3);
        const std::string& limit = OperandValue(s, operand);
        double bound =
            limit.find(':') != std::string::npos ? ParseTimeCode(limit) : ReadNumber(limit);
        // Whole seconds, halves to even, held wide so that no pair of codes fails.
        double d = std::nearbyint(ParseTimeCode(anchorValue) - ParseTimeCode(value));
        return Compare(op, d, bound);
    }
    if (StartsWith(cell, "|wcount")) {
        auto [op, operand] = SplitCell(cell, 7);
        s.ScratchText = value;
        int words = CountWords(s.ScratchText);
        return Compare(op, words, ReadNumber(operand));
    }
    if (StartsWith(cell, "|$")) {
        auto [op, operand] = SplitCell(cell, 2);
        if (op == ':')
            return KeepInVariable(s, operand, value);
        if (op == 'V') {
            if (cell.size() >= 5 && cell[3] >= '1' && cell[3] <= '5' && cell[4] == ':') {
                s.FilterVariables[cell[3] - '0'] = cell.substr(5);
                return 1;
            }
            return 0;
        }
        return CompareTexts(op, value, OperandValue(s, operand));
    }
    return 0;
}

}  // namespace

int16_t MatchFieldCondition(KovaState& s, const std::string& Value, const std::string& Condition,
                            const std::string& AnchorValue, const ProtocolRecord& DataRecord) {
    try {
        return Evaluate(s, Value, Condition, AnchorValue, DataRecord);
    } catch (const ConditionError&) {
        throw;
    } catch (const std::exception&) {
        // A bad pattern, or any other failure inside the cell's test.
        throw ConditionError(Condition);
    }
}

int16_t RecordMatchesFilterLine(KovaState& s, const ProtocolRecord& ConditionLine,
                                const ProtocolRecord& DataRecord,
                                const ProtocolRecord& AnchorRecord) {
    for (auto field : kCellMembers) {
        if (MatchFieldCondition(s, DataRecord.*field, ConditionLine.*field, AnchorRecord.*field,
                                DataRecord) == 0)
            return 0;
    }
    return 1;
}

}  // namespace core
