// Frequency analysis: one variable of data set 1 over the record range becomes
// a list of events (code, records spanned, start time, duration), whose counts,
// durations and spans are then summed per category.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "analyses/report_frame.h"
#include "store/state.h"
#include "store/ui.h"

namespace core {

// Codes are views: of the records' own fields, or of number texts that last
// the whole run (V2). A filled event repeats the view, not the text, so a long
// code is held once however many records repeat it. The records stay as they
// are while an analysis reads them.
struct FrequencyEvent {
    std::string_view code;
    int span = 0;          // records spanned: its own and the following uncoded ones
    float start = 0;       // start time (ParseTimeCode of its record's time code)
    float duration = 0;    // start of the next event minus its own start; 0 for the last
    int16_t position = 0;  // position in the shown set of the record that starts it
    int16_t number = 0;    // that record's own number (V0), as the user knows it
};

struct EventList {
    int16_t RangeLength = 0;  // records of the range
    // Event 0 holds the records of the range before the first event; events
    // 1..EventCount() follow.
    std::vector<FrequencyEvent> events{FrequencyEvent{}};
    int16_t EventCount() const { return static_cast<int16_t>(events.size() - 1); }
};

// Whether data set 1 is shown and 1 <= FromRecord <= ToRecord <= RecordCount1.
bool FrequencyRangeValid(const KovaState& s);

// The code of variable varIndex (1..7) of a record: the trimmed text of V1 and
// V3..V7; for V2 the number with its sign position (" 3"), "" for 0. A view,
// of the record's field or of a number text that lasts the whole run.
std::string_view EventCode(const ProtocolRecord& r, int varIndex);

// The event pass and the duration pass over FromRecord..ToRecord of data set
// 1 (the range must be valid), with EpisodeFilling.
EventList BuildEventList(const KovaState& s, int varIndex);

// Sums of one category.
struct CategoryCount {
    std::string label;           // the category as the report prints it (PrintedLabel)
    double count = 0;            // events
    double durations = 0;        // sum of their durations
    double durationSquares = 0;  // sum of their squared durations
    double spans = 0;            // sum of the records they span
    double spanSquares = 0;      // sum of the squared spans
};

struct FrequencyCounts {
    std::vector<CategoryCount> rows;  // in category order
    int valid = 0;                    // events that matched a category
    CategoryCount total;              // sums over the rows (count = valid)
};

// Counts the events of 1..EventCount() per category; an event counts for every
// category equal to its code (case-sensitive), so a category listed twice
// counts it twice, as `valid` does.
FrequencyCounts CountCategories(const std::vector<std::string>& categories,
                                const EventList& events);

// The distinct non-empty codes of the events, case-sensitive, in the sorted
// order of the program's category lists.
std::vector<std::string> DistinctCodes(const EventList& events);

// The distinct non-empty codes of both lists, in the same order.
std::vector<std::string> DistinctCodesOf(const std::vector<std::string_view>& a,
                                         const std::vector<std::string_view>& b);

// The categories of a table of variable varIndex: its coding list where
// TableBasedCategories applies to it (V4..V7), else what `found` gives. An
// empty coding list refuses the analysis: a message titled "Error" with
// `icon`, and false.
bool ChooseCategories(const KovaState& s, KovaUi& ui, int varIndex, Icon icon,
                      std::vector<std::string>& categories,
                      const std::function<std::vector<std::string>()>& found);

// Mean and population standard deviation (divisor n) from a count, a sum and
// a sum of squares; both 0 when n is 0. A radicand that rounding makes
// slightly negative gives 0.
struct MeanSd {
    double mean = 0;
    double sd = 0;
};
MeanSd PopulationMeanSd(double n, double sum, double sumSquares);

// Runs the analysis of variable varIndex (1..7): nothing when the range is not
// valid; otherwise writes the time-code block (V1) or the frequency block
// (V2..V7) and shows the analysis output file. False when the command must end
// (the output file could not be written or read).
bool FrequencyAnalysis(KovaState& s, KovaUi& ui, int16_t varIndex, const ReportClock& clock);

}  // namespace core
