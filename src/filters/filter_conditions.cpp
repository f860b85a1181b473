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

int16_t Evaluate(KovaState& s, const std::string& value, const CellPattern& pattern,
                 const std::string& anchorValue, const ProtocolRecord& record) {
    if (pattern.Accepts(value))
        return 1;
    const std::string& cell = pattern.Cell();
    if (cell.empty() || cell[0] != '|')
        return 0;  // every other test is a cell starting with "|"
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

int16_t TestCell(KovaState& s, const std::string& value, const CellPattern& cell,
                 const std::string& anchorValue, const ProtocolRecord& record) {
    try {
        return Evaluate(s, value, cell, anchorValue, record);
    } catch (const ConditionError&) {
        throw;
    } catch (const std::exception&) {
        // A bad pattern, or any other failure inside the cell's test.
        throw ConditionError(cell.Cell());
    }
}

}  // namespace

CellPattern::CellPattern(std::string cell) : cell_(std::move(cell)) {
    if (cell_ == "*") {
        kind_ = Kind::Anything;
    } else if (cell_.find_first_of("*?#[") == std::string::npos) {
        kind_ = Kind::Exact;  // the pattern matcher is needed only for the others
    } else {
        try {
            pattern_ = WildcardPattern::Compile(cell_);
            kind_ = Kind::Pattern;
        } catch (const BadPattern& e) {
            kind_ = Kind::Bad;
            error_ = e.what();
        }
    }
}

bool CellPattern::Accepts(std::string_view value) const {
    switch (kind_) {
        case Kind::Anything:
            return true;
        case Kind::Exact:
            return value == cell_;
        case Kind::Pattern:
            return pattern_->Matches(value);
        case Kind::Bad:
            break;
    }
    throw BadPattern(error_);
}

PreparedFilterLine::PreparedFilterLine(const ProtocolRecord& ConditionLine)
    : offset_(ConditionLine.V2), cells_{CellPattern(ConditionLine.V1),
                                        CellPattern(ConditionLine.V3),
                                        CellPattern(ConditionLine.V4),
                                        CellPattern(ConditionLine.V5),
                                        CellPattern(ConditionLine.V6),
                                        CellPattern(ConditionLine.V7),
                                        CellPattern(ConditionLine.V8)} {}

int16_t MatchFieldCondition(KovaState& s, const std::string& Value, const std::string& Condition,
                            const std::string& AnchorValue, const ProtocolRecord& DataRecord) {
    return TestCell(s, Value, CellPattern(Condition), AnchorValue, DataRecord);
}

int16_t RecordMatchesFilterLine(KovaState& s, const ProtocolRecord& ConditionLine,
                                const ProtocolRecord& DataRecord,
                                const ProtocolRecord& AnchorRecord) {
    return RecordMatchesFilterLine(s, PreparedFilterLine(ConditionLine), DataRecord, AnchorRecord);
}

int16_t RecordMatchesFilterLine(KovaState& s, const PreparedFilterLine& ConditionLine,
                                const ProtocolRecord& DataRecord,
                                const ProtocolRecord& AnchorRecord) {
    for (size_t k = 0; k < ConditionLine.Cells().size(); ++k) {
        const auto field = kCellMembers[k];
        if (TestCell(s, DataRecord.*field, ConditionLine.Cells()[k], AnchorRecord.*field,
                     DataRecord) == 0)
            return 0;
    }
    return 1;
}

BlockConditions::BlockConditions(const RecordSet& program, int header) {
    for (int line = header - 1; line > 0 && !IsBlockCode(program[line].V2); --line)
        lines_.emplace_back(program[line]);
}

bool BlockConditions::Accept(KovaState& s, const RecordSet& records, int anchor, int last) const {
    for (const PreparedFilterLine& line : lines_) {
        const int t = anchor + line.Offset();
        if (t < 1 || t > last || RecordMatchesFilterLine(s, line, records[t], records[anchor]) != 1)
            return false;
    }
    return true;
}

}  // namespace core
