// The filter report's block of the analysis output file.
#pragma once

#include "analyses/report_frame.h"
#include "store/state.h"
#include "store/ui.h"

namespace core {

// Appends the "FILTER REPORT: " block of the table's rows, in its current
// order, to the analysis output file and shows that file. False when the file
// could not be written (after the message).
bool WriteFilterReportOutput(KovaState& s, KovaUi& ui,
                             const ReportTime& time = CurrentReportTime());

}  // namespace core
