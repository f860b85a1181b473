// Event selection: marks single records of the full store by one variable's
// value or range, with context records before and after each hit. The
// routines change only the marks of the set that ViewMode names;
// ApplySelection then shows the marked records.
#pragma once

#include "store/state.h"

namespace core {

// Marks every record hit (with its context); other marks stay.
void SelectEventsOr(KovaState& s);
// Marks every record outside all hits and their context; other marks stay.
void SelectEventsOrNot(KovaState& s);
// Unmarks every marked record that is not hit (nor in a hit's context).
void SelectEventsAnd(KovaState& s);
// Unmarks every marked record that is hit or in a hit's context.
void SelectEventsAndNot(KovaState& s);

}  // namespace core
