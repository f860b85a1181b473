// The shared chi-square block of the analysis output file: the table of
// expected frequencies with chi square, degrees of freedom, the 0.95
// critical value (or a z for more than 30 degrees of freedom), warnings on
// small expected frequencies, Cramer's coefficient and both lambdas; and the
// table of adjusted residuals.
#pragma once

#include <string>
#include <vector>

#include "analyses/chi_square.h"
#include "analyses/report_frame.h"
#include "store/state.h"
#include "store/ui.h"

namespace core {

// What names the block: its title ("Expected Transition Table"), the subject
// (a variable label), the title tags (range, selection, episode filling) and
// the labels of the rows and columns (category j at index j - 1).
struct ChiSquareLabels {
    std::string title;
    std::string subject;
    std::vector<std::string> tags;
    std::vector<std::string> rowLabels;
    std::vector<std::string> columnLabels;
};

// The title of the adjusted-residuals block.
inline constexpr const char* kResidualsTitle = "Adjusted Residuals Table";

// Appends to the analysis output file the expected-frequency block when
// ShowExpectedTable is set and the adjusted-residuals block when
// ShowResidualsTable is set; with neither, the file is still created (empty
// when new). f holds the counts with their totals, e the expected
// frequencies (ExpectedFrequencies), r their statistics (ComputeChiSquare).
// False when the file could not be written (after a message).
bool PrintChiSquareStatistics(KovaState& s, KovaUi& ui, const ChiSquareLabels& labels,
                              const CountMatrix& f, const SingleMatrix& e, const ChiSquareResult& r,
                              const ReportClock& clock);

}  // namespace core
