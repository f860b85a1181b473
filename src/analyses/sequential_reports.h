// The report blocks of the lag-sequential analysis: the frequency and
// probability transition tables, the z-score and transformed kappa tables in
// their uni- and bi-directional forms, and the block of a range without
// events. The writers compute nothing: they lay out the matrices of
// transition_tables.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analyses/chi_square.h"
#include "analyses/report_frame.h"
#include "store/state.h"
#include "store/ui.h"

namespace core {

// What every block of one analysis shares.
struct SequentialReport {
    int16_t varIndex = 0;  // V2..V7, the subject of the title line
    int16_t lag = 1;
    // Category j at index j - 1; once counted, as the tables print them
    // (PrintedLabels).
    std::vector<std::string> categories;
    ReportClock clock;
};

// The title tags: episode filling, the range and the selection, as number
// items (" (no.  1 - 25 )").
std::vector<std::string> SequentialTitleTags(const KovaState& s);

// Each writer appends its block to the analysis output file; false when the
// file could not be written (after a message).
bool WriteSequentialNoCodesBlock(KovaState& s, KovaUi& ui, int16_t varIndex,
                                 const ReportClock& clock);
bool WriteFrequencyTransitionTable(KovaState& s, KovaUi& ui, const SequentialReport& r,
                                   const CountMatrix& f);
bool WriteProbabilityTransitionTable(KovaState& s, KovaUi& ui, const SequentialReport& r,
                                     const SingleMatrix& p);
// `direction` is "uni" or "bi". After its block the z-score writer has the
// diagram of significant transitions shown (modally) when that direction's
// diagram switch is set.
bool WriteZScoreTable(KovaState& s, KovaUi& ui, const std::string& direction,
                      const SequentialReport& r, const SingleMatrix& z);
bool WriteKappaTable(KovaState& s, KovaUi& ui, const std::string& direction,
                     const SequentialReport& r, const SingleMatrix& kappa);

}  // namespace core
