// Episode selection: marks the records inside (or outside) the episodes of
// one value of one variable V0..V7 in the full store. An episode opens at a
// record holding the value, runs on over records holding it or empty, and
// closes at the first record holding another value. For V0 and V1 the value
// is a range: a record within it opens, one past its end closes.
#pragma once

#include "store/state.h"

namespace core {

// Marks every record inside an episode; other marks stay.
void SelectEpisodesOr(KovaState& s);
// Marks every record outside all episodes; other marks stay.
void SelectEpisodesOrNot(KovaState& s);
// Unmarks every marked record outside all episodes (V0, V1: outside the range).
void SelectEpisodesAnd(KovaState& s);
// Unmarks every marked record inside an episode (V0, V1: inside the range).
void SelectEpisodesAndNot(KovaState& s);

}  // namespace core
