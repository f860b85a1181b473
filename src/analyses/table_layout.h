// The layout of the square and cross tables of the analysis output file: a
// heading line of column labels, one line per row with its label at column 1
// and the cells right-aligned in 8-character fields every 12 columns.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "analyses/report_writer.h"

namespace core {

// Cell j (from 1) stands at column 12j, its heading label at column 12j + 2.
inline constexpr int kCellWidth = 8;
inline int CellColumn(int j) {
    return 12 * j;
}

// The heading line: label j at Tab(12j + 2); then, with a `totalOffset`,
// "Total:" that many columns right of where the last label began (column 0
// when there is no label); without one, a single blank. Ends the line.
// Labels are printed as PrintedLabel gives them, here and in the rows.
void WriteTableHeading(ReportWriter& out, const std::vector<std::string>& labels, int totalOffset);

// One row: the label at column 1, then cell j at Tab(12j) right-aligned in
// 8 characters (a longer text is written whole). Ends the line.
void WriteTableRow(ReportWriter& out, std::string_view label,
                   const std::vector<std::string>& cells);

// The labels as the tables print them (PrintedLabel of each): what a report
// keeps of its categories once they are counted.
std::vector<std::string> PrintedLabels(const std::vector<std::string>& labels);

// A number cell formatted with a report pattern; kUndefined prints as
// " *******".
std::string CellText(double value, std::string_view pattern);

}  // namespace core
