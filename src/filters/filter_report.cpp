#include "filters/filter_report.h"

#include <map>
#include <string>

#include "filters/filter_program.h"
#include "store/text.h"

namespace core {

namespace {

constexpr int kReportColumns = 5;

std::vector<std::string> EmptyRow() {
    return std::vector<std::string>(kReportColumns);
}

}  // namespace

void InitFilterReport(KovaState& s) {
    ResultTableModel& t = s.ResultTable;
    t = ResultTableModel{};
    t.caption = "KOVA Filter Report";
    t.columnWidths = {650, 650, 650, 650, 1500};
    t.cells = {{"", "no.", "prot.line", "filter no.", "filter action"}, EmptyRow()};
    t.labels[2] = "Number of different filters:";
    t.labels[1] = "Total of succeeded filters:";
    s.FilterReportRow = 1;
}

void AddFilterReportRow(KovaState& s, int16_t RecordNumber, int16_t HeaderLine) {
    ResultTableModel& t = s.ResultTable;
    const int r = s.FilterReportRow;
    t.cells.push_back(EmptyRow());
    if (r < 1 || static_cast<size_t>(r) >= t.cells.size())
        return;
    std::vector<std::string>& row = t.cells[r];
    row.assign(kReportColumns, "");
    row[0] = PlainNumber(r);
    row[1] = PlainNumber(r);
    row[2] = PlainNumber(RecordNumber);
    row[3] = PlainNumber(HeaderLine);
    s.FilterReportRow = r + 1;
}

std::string FilterActionText(const ProtocolRecord& HeaderLine) {
    std::string text;
    for (int field : {1, 3, 4, 5, 6, 7}) {
        const std::string& cell = *TextField(HeaderLine, field);
        if (cell != "*")
            text += cell + " ";
    }
    if (HeaderLine.V8 != "*")
        text += HeaderLine.V8;
    return TrimRight(text);
}

void FinishFilterReport(KovaState& s, KovaUi& ui) {
    ui.HideWait();
    ResultTableModel& t = s.ResultTable;
    const int n = s.FilterReportRow - 1;
    if (n >= 1 && t.cells.size() > 1)
        t.cells.pop_back();
    s.FilterReportRow = n;
    t.labels[3] = SignedNumber(n);

    // One action text per distinct header line, looked up by its number.
    std::map<std::string, std::string> actions;
    for (int r = 1; r <= n && static_cast<size_t>(r) < t.cells.size(); ++r) {
        const std::string& key = t.cells[r][3];
        if (actions.count(key))
            continue;
        double line = ReadNumber(key);
        std::string text;
        if (line >= 1 && line <= s.FilterCount && static_cast<size_t>(line) < s.Records2.size())
            text = FilterActionText(s.Records2[static_cast<size_t>(line)]);
        // Every row of the block holds its action text: cut, as the report
        // prints it, a long literal is not copied whole into thousands of rows.
        actions.emplace(key, PrintedLabel(text));
    }
    for (int r = 1; r <= n && static_cast<size_t>(r) < t.cells.size(); ++r)
        t.cells[r][4] = actions[t.cells[r][3]];
    t.labels[4] = SignedNumber(static_cast<long long>(actions.size()));
}

}  // namespace core
