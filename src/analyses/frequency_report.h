// The report blocks of the frequency analysis: the "FREQUENCIES:" table of a
// coded variable and the time-code block of V1.
#pragma once

#include <cstdint>

#include "analyses/frequency_analysis.h"
#include "analyses/report_frame.h"
#include "store/state.h"
#include "store/ui.h"

namespace core {

// Appends the "FREQUENCIES:" block of variable varIndex (2..7) to the analysis
// output file: per category the events, their share of the records and of the
// valid events, mean and s.d. of their durations and spans; the missing row;
// the totals. Table-based categories (V4..V7) come from the category list;
// an empty list gives a message titled "Error" and no block. False only when
// the file could not be written.
bool WriteFrequencyReport(KovaState& s, KovaUi& ui, int16_t varIndex, const EventList& events,
                          const ReportClock& clock);

// Appends the time-code block of V1: per time code the events and their
// shares, mean and s.d. of the intervals between successive events, the total
// session time and the intervals more than two s.d. from the mean with the
// record positions that bound them. False only when the file could not be
// written.
bool WriteTimecodeReport(KovaState& s, KovaUi& ui, const EventList& events,
                         const ReportClock& clock);

}  // namespace core
