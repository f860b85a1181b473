// The filter report: one row per anchor that a condition-filter block
// rewrote, collected in the result table of `Words` (KovaState::ResultTable).
#pragma once

#include <cstdint>

#include "store/state.h"
#include "store/ui.h"

namespace core {

// Lays the table out afresh for the report (five columns, the headings and one
// empty data row) and starts the row count.
void InitFilterReport(KovaState& s);

// The row of one match: the anchor's record number and the header's line.
void AddFilterReportRow(KovaState& s, int16_t RecordNumber, int16_t HeaderLine);

// Hides the wait window, drops the spare empty row, writes the action texts
// (as PrintedLabel gives them) and the two totals. The caller then shows the
// window `Words`.
void FinishFilterReport(KovaState& s, KovaUi& ui);

// The action text of a header line: its cells other than "*", blank-separated.
std::string FilterActionText(const ProtocolRecord& HeaderLine);

}  // namespace core
