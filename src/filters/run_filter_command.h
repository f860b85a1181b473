// The commands of the run-filters dialog `runfilter`, without the window.
#pragma once

#include <string>
#include <utility>

#include "store/state.h"
#include "store/ui.h"

namespace core {

// The dialog's preset range: the record numbers (V0) of data set 1's current
// and last record, as digits.
std::pair<std::string, std::string> FilterRangePreset(const KovaState& s);

// Reads the range boxes into FromRecord and ToRecord (while a selection is
// shown, record numbers are mapped to shown positions). True when the range is
// good: 1 <= FromRecord <= ToRecord <= RecordCount1. A number that a 16-bit
// value cannot hold makes the range bad.
bool ReadFilterRange(KovaState& s, const std::string& FromText, const std::string& ToText);

enum class FilterRunKind { CurrentFilter, AllFilters };

// Runs the block at the current filter line, or every condition-filter block,
// over the range already read, with the filter report when FilterReportOn is
// set; data set 1 is shown before and after. When the run cannot complete (a
// condition that cannot be evaluated, a split past the record limit, a field
// past its length limit, a set too large to be saved, memory running out) the
// message is shown and the whole state is put back as it was before the
// command. True when the run completed.
bool RunFilterCommand(KovaState& s, KovaUi& ui, FilterRunKind kind);

}  // namespace core
