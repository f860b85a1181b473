// The test of a condition line against a record of data set 1.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/record.h"
#include "store/state.h"
#include "store/text.h"

namespace core {

// 1 when the cell accepts Value (the tested record's field), else 0. May
// write the filter variables and ScratchText. Throws ConditionError (with the
// cell's text) when the cell cannot be evaluated.
int16_t MatchFieldCondition(KovaState& s, const std::string& Value, const std::string& Condition,
                            const std::string& AnchorValue, const ProtocolRecord& DataRecord);

// 1 when every cell of the line accepts the tested record's field of its
// column (V1, V3..V8 in this order, stopping at the first that does not).
int16_t RecordMatchesFilterLine(KovaState& s, const ProtocolRecord& ConditionLine,
                                const ProtocolRecord& DataRecord,
                                const ProtocolRecord& AnchorRecord);

// The wildcard test of a condition cell, made once for a pass over many
// records: "*" accepts anything, a cell without wildcard characters only its
// own text, any other cell is a compiled pattern. A bad pattern is kept as
// such and fails each time the cell is tested, never before.
class CellPattern {
public:
    explicit CellPattern(std::string cell);
    const std::string& Cell() const { return cell_; }
    // Throws BadPattern for a bad pattern.
    bool Accepts(std::string_view value) const;

private:
    enum class Kind { Anything, Exact, Pattern, Bad };
    Kind kind_ = Kind::Exact;
    std::string cell_;
    std::optional<WildcardPattern> pattern_;
    std::string error_;
};

// A condition line made ready for a pass over many records: the patterns of
// its cells are compiled once. Testing it does exactly what testing the line
// does, errors included.
class PreparedFilterLine {
public:
    explicit PreparedFilterLine(const ProtocolRecord& ConditionLine);
    // The offset of the tested record from the anchor (the line's V2).
    int16_t Offset() const { return offset_; }
    // The cells in the order of kCellMembers.
    const std::array<CellPattern, 7>& Cells() const { return cells_; }

private:
    int16_t offset_;
    std::array<CellPattern, 7> cells_;
};

int16_t RecordMatchesFilterLine(KovaState& s, const PreparedFilterLine& ConditionLine,
                                const ProtocolRecord& DataRecord,
                                const ProtocolRecord& AnchorRecord);

// The condition lines of the block whose header is line `header` of a filter
// program: the lines above it up to the previous block, nearest first, each
// prepared once.
class BlockConditions {
public:
    BlockConditions(const RecordSet& program, int header);
    // Whether the record at `anchor` passes the block: every line accepts the
    // record at its offset from the anchor, which must lie within 1..last.
    // The lines are tested nearest the header first, up to the first that
    // does not accept.
    bool Accept(KovaState& s, const RecordSet& records, int anchor, int last) const;
    const std::vector<PreparedFilterLine>& Lines() const { return lines_; }

private:
    std::vector<PreparedFilterLine> lines_;
};

}  // namespace core
