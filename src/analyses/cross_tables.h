// Cross tables: the codes of two variables of data set 1 paired at a lag
// (the row variable at record i, the column variable at record i + Lag) over
// the record range and counted in a table whose chi-square statistics and
// adjusted residuals follow.
#pragma once

#include <cstdint>
#include <optional>

#include "analyses/interrater.h"
#include "analyses/report_frame.h"
#include "store/state.h"
#include "store/ui.h"

namespace core {

// The table of variable varX (rows) by varY (columns), both 1..7, at Lag over
// FromRecord..ToRecord of data set 1 (the range must be valid), with
// EpisodeFilling for the row variable and EpisodeFillingY for the column
// variable. Categories are the lists L4..L7 where TableBasedCategories is set
// (V4..V7), else the distinct codes each variable takes in its pairs. Empty
// when a table-based list is empty (nullopt: the analysis is refused).
std::optional<CountTable> BuildCrossTable(const KovaState& s, int varX, int varY);

// Runs the cross table of varX by varY: nothing when Lag is outside 0..20 or
// the range is not valid; a table-based list without categories gives a
// message titled "Error" and no block; otherwise appends the report blocks to
// the analysis output file. It does not show the file. False only when the
// file could not be written.
bool RunCrossTables(KovaState& s, KovaUi& ui, int16_t varX, int16_t varY, const ReportClock& clock);

}  // namespace core
