// The lag-sequential analysis of one coded variable of data set 1: the event
// list over the record range, the transition tables and their report blocks,
// the Sequential menu and the core of its options dialog `lagask`.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "analyses/frequency_analysis.h"
#include "analyses/report_frame.h"
#include "store/state.h"
#include "store/ui.h"

namespace core {

// The code of variable varIndex (2..7) of a record: V2 as a plain number ("5",
// "-3"; "" for 0), the trimmed text of V3..V7. A view, as EventCode's.
std::string_view SequentialCode(const ProtocolRecord& r, int varIndex);

// The events of variable varIndex over FromRecord..ToRecord of data set 1 (the
// range must be valid): a coded record starts an event; with EpisodeFilling 1
// an empty record from the second record of the set on starts an event that
// repeats the previous code; any other empty record adds to the records
// spanned of the current event (event 0 before the first). Any other value
// of EpisodeFilling finds no events.
EventList BuildSequentialEvents(const KovaState& s, int varIndex);

// The categories, the transitions at `lag` and their statistics, with the
// blocks the table switches ask for appended to the analysis output file (the
// " No Codes Found! " block for an empty event list). Table-based categories
// of V4..V7 with an empty coding list, or more than kMaxTableCategories
// categories, give a message and write nothing. False when the output file
// could not be written.
bool ComputeTransitionTables(KovaState& s, KovaUi& ui, int16_t varIndex, const EventList& events,
                             int16_t lag, const ReportClock& clock);

// Runs the analysis of variable varIndex (2..7): nothing (and no viewer) for a
// lag outside 1..20, data set 1 not shown or a range outside
// 1 <= from <= to <= count; else the tables, then the analysis output file is
// shown. False when the command must end (a file could not be written/read).
bool SequentialAnalysis(KovaState& s, KovaUi& ui, int16_t varIndex, int16_t lag,
                        const ReportClock& clock);

// The Sequential menu's items: 2..7 analyse that variable, 9 ("All") V2..V7
// in turn after one showing of the options dialog; 1 and others do nothing.
// Acts only while data set 1 is shown and has a file name. askOptions shows
// `lagask` modally; a Cancel there sets DialogCancelled.
void SequentialMenuItem(KovaState& s, KovaUi& ui, int index,
                        const std::function<void()>& askOptions, const ReportClock& clock);

// `lagask`: the lags its list offers, and the range boxes' texts when it opens
// (the record numbers of the first and last record of data set 1 as shown,
// with the sign position: " 1").
inline constexpr int kLagChoices = 10;
std::array<std::string, 2> LagRangePreset(const KovaState& s);

// The check boxes of `lagask` in the order of its `Check2` array: the
// uni-directional diagram, the frequency, expected, residuals and probability
// tables, uni z-scores, uni kappas, bi z-scores, bi kappas, the bi-directional
// diagram.
inline constexpr int kLagSwitches = 10;
using LagSwitches = std::array<bool, kLagSwitches>;
// Their captions, in the same order.
inline constexpr const char* kLagSwitchCaptions[kLagSwitches] = {
    "Uni-directional diagram", "Frequency table",         "Expected table",
    "Adjusted residuals",      "Probability table",       "Uni-directional z-scores",
    "Uni-directional kappa",   "Bi-directional z-scores", "Bi-directional kappa",
    "Bi-directional diagram"};

// What the user must tick before `lagask`'s OK can run anything, or "" when
// the switches make a report: a diagram is drawn from its direction's
// z-scores, so it needs that table, and without any table the run would
// write nothing.
std::string MissingLagSwitch(const LagSwitches& on);

// `lagask`'s OK: EpisodeFilling, TableBasedCategories and the switches; with a lag outside
// 1..20 nothing more and false (the dialog stays open); else FromRecord and
// ToRecord from the typed texts (mapped to positions while a selection of
// data set 1 is shown) and true, whatever the range. A number outside the
// 16-bit range gives a message titled "Error" and false.
bool ApplyLagOptions(KovaState& s, KovaUi& ui, std::string_view fromText, std::string_view toText,
                     bool episodeFilling, bool tableBased, const LagSwitches& switches);

}  // namespace core
