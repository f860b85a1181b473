#include "analyses/table_layout.h"

#include "analyses/chi_square.h"
#include "store/text.h"

namespace core {

void WriteTableHeading(ReportWriter& out, const std::vector<std::string>& labels, int totalOffset) {
    int lastColumn = 0;
    for (size_t j = 1; j <= labels.size(); ++j) {
        lastColumn = CellColumn(static_cast<int>(j)) + 2;
        out.Tab(lastColumn).Text(PrintedLabel(labels[j - 1]));
    }
    if (totalOffset > 0)
        out.Tab(lastColumn + totalOffset).Text("Total:");
    else
        out.Text(" ");
    out.EndLine();
}

void WriteTableRow(ReportWriter& out, std::string_view label,
                   const std::vector<std::string>& cells) {
    out.Text(PrintedLabel(label));
    for (size_t j = 1; j <= cells.size(); ++j) {
        const std::string& cell = cells[j - 1];
        out.Tab(CellColumn(static_cast<int>(j)));
        if (cell.size() >= static_cast<size_t>(kCellWidth))
            out.Text(cell);
        else
            out.RightField(cell, kCellWidth);
    }
    out.EndLine();
}

std::vector<std::string> PrintedLabels(const std::vector<std::string>& labels) {
    std::vector<std::string> printed;
    printed.reserve(labels.size());
    for (const std::string& label : labels)
        printed.push_back(PrintedLabel(label));
    return printed;
}

std::string CellText(double value, std::string_view pattern) {
    if (value == kUndefined)
        return " *******";
    return FormatNumber(value, pattern);
}

}  // namespace core
