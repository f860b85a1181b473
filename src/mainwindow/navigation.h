// Moving the current record of the shown set: the navigation buttons, the
// page keys, the scroll bars and the page rows.
#pragma once

#include <cstdint>

#include "store/record.h"
#include "store/state.h"
#include "store/ui.h"

namespace core {

// The current record of the shown set, or nullptr when no set is shown or its
// position lies outside 1..count. Every field edit goes through this.
ProtocolRecord* CurrentShownRecord(KovaState& s);

// Redraws the shown set's page at (a copy of) its current position.
void RedrawShownPage(KovaState& s, KovaUi& ui);

// Position in the shown set of the record on page row `row` (1..DisplayRows),
// read from the row's record-number caption; 0 for an empty row or no set.
int16_t RowPosition(const KovaState& s, int row);

// First and Last: position 1 or the count (the window then gives the
// horizontal scroll bar the focus in every view mode).
void GoFirst(KovaState& s, KovaUi& ui);
void GoLast(KovaState& s, KovaUi& ui);

// Ten records on, limited to the count.
void PageDown(KovaState& s, KovaUi& ui);

// Ten records back when the position is 11 or more; with a sieve of data set 1
// one sieve entry back, wrapping to the last entry.
void PageUp(KovaState& s, KovaUi& ui);

enum class NavigationKey { Down, Up, PageDown, PageUp, End, Home };

// A page key: moves the scroll bar's value within its limits, which then
// moves the record as a scroll bar change does.
void PressNavigationKey(KovaState& s, KovaUi& ui, NavigationKey key);

// A scroll bar's value changed (by the user): it becomes the position.
void ScrollbarChange(KovaState& s, KovaUi& ui, int value);

// A click on page row `row` of V0..V7 (setScrollBars false) or a left
// mouse-down on its text label (setScrollBars true): that record becomes
// current.
void RowClick(KovaState& s, KovaUi& ui, int row, bool setScrollBars);

// A double click on the current row of V1 or V3..V7: that field of the current
// record is cleared.
void ClearCurrentField(KovaState& s, KovaUi& ui, int field);

// The record position held by a sieve entry, kept within data set 1.
int16_t SievedRecord(const KovaState& s, int16_t entry);

// In view 1, with a sieve in force that found records, moves the sieve
// position one entry forward or back (round at either end) and returns true.
// Otherwise moves nothing and returns false; in view 1 a sieve that data
// set 1's changes have outdated is ended first.
bool StepSieve(KovaState& s, bool forward);

}  // namespace core
