// The test of a condition line against a record of data set 1.
#pragma once

#include <cstdint>
#include <string>

#include "store/record.h"
#include "store/state.h"

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

}  // namespace core
