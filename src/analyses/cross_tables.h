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
// variable. Only the pairs in which both codes are non-empty are counted.
// Categories are the lists L4..L7 where TableBasedCategories is set (V4..V7),
// else the distinct codes each variable takes in those pairs. A table-based
// list that is empty, or more than kMaxTableCategories categories, gives a
// message titled "Error" and nullopt (the analysis is refused) before any
// table is allocated.
std::optional<CountTable> BuildCrossTable(const KovaState& s, KovaUi& ui, int varX, int varY);

// Runs the cross table of varX by varY: nothing when Lag is outside 0..20 or
// the range is not valid; a refused table (BuildCrossTable) gives no block; otherwise appends the
// report blocks to the analysis output file. It does not show the file. False only when the file
// could not be written.
bool RunCrossTables(KovaState& s, KovaUi& ui, int16_t varX, int16_t varY, const ReportClock& clock);

}  // namespace core
