// The filter program as data: filter lines are records of data set 2's type
// held in Records2 (lines 1..FilterCount). A line whose V2 is a block code is
// the header of the block made of it and the condition lines directly above
// it; on a condition line V2 is the offset of the tested record from the
// anchor. The seven cells are V1, V3..V8.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "store/data_file.h"
#include "store/record.h"
#include "store/state.h"
#include "store/text.h"
#include "store/ui.h"

namespace core {

inline constexpr int16_t kConditionFilterBlock = 999;
inline constexpr int16_t kSieveBlock = 888;
inline constexpr int16_t kSelectBlock = 777;
inline constexpr int16_t kClosingBlock = 555;

inline bool IsBlockCode(int16_t v2) {
    return v2 == kConditionFilterBlock || v2 == kSieveBlock || v2 == kSelectBlock ||
           v2 == kClosingBlock;
}

// A condition cell that cannot be evaluated (no operator, a bad pattern). It
// ends the command that runs the filter; what carries it is the cell's text,
// as a message quotes it.
struct ConditionError : std::runtime_error {
    explicit ConditionError(const std::string& cell) : std::runtime_error(QuoteForMessage(cell)) {}
};

// A filter command that must stop before it changes data set 1 further; the
// command puts everything back as it was and shows this message.
struct FilterStop : std::runtime_error {
    std::string title;
    explicit FilterStop(const std::string& text, const std::string& t)
        : std::runtime_error(text), title(t) {}
};

// The state of one block's pass over data set 1: the deletion queue (by the
// index each record had during the pass, so a record is queued once), the
// number of split marks placed and the size data set 1 takes saved, followed
// change by change so that the pass stops before the set could not be saved.
struct FilterPass {
    std::vector<char> deleteQueued;  // index 0..RecordCount1
    int FilterDeleteCount = 0;       // distinct records queued
    int FilterSplitCount = 0;
    SavedSize saved;
};

// A header cell that places split marks in the target's text: "|///" after
// the text given, "|\\\" before it.
inline bool IsSplitMarkCell(const std::string& cell) {
    return cell.compare(0, 4, "|///") == 0 || cell.compare(0, 4, "|\\\\\\") == 0;
}

// The stop of a filter that would make data set 1 too large to be saved.
FilterStop TooLargeForAFile();

// The cells of a line in the order the filter reads them, with the names the
// actions know them by ("Sn" for the text).
inline constexpr int kCellFields[7] = {1, 3, 4, 5, 6, 7, 8};
inline constexpr std::string ProtocolRecord::*kCellMembers[7] = {
    &ProtocolRecord::V1, &ProtocolRecord::V3, &ProtocolRecord::V4, &ProtocolRecord::V5,
    &ProtocolRecord::V6, &ProtocolRecord::V7, &ProtocolRecord::V8};
inline constexpr const char* kCellNames[7] = {"V1", "V3", "V4", "V5", "V6", "V7", "Sn"};

// Header search: moves FilterNo forward to the first header line at or below
// it (the last line when none is below). False, with FilterNo not moved past
// the program, when there is no program or FilterNo lies below its last line;
// a FilterNo before line 1 starts at line 1.
bool FindBlockHeader(const KovaState& s, int16_t& FilterNo);

// $V1..$V5: the number k of a variable reference "$Vk", 0 for anything else
// (a reference is the whole text, exactly).
int VariableIndex(const std::string& operand);

// A double in the general number form: an integer without a decimal point,
// other values with up to 15 significant digits; "." as the decimal point.
std::string GeneralNumberText(double value);

}  // namespace core
