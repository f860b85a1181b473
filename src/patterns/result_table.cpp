#include "patterns/result_table.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "store/text.h"

namespace core {

namespace {

// The value of a cell that is a whole number text (blanks around allowed).
std::optional<double> CellNumber(const std::string& cell) {
    std::string t = Trim(cell);
    if (t.empty())
        return std::nullopt;
    double v = 0;
    auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || end != t.data() + t.size())
        return std::nullopt;
    return v;
}

}  // namespace

void SortResultTable(ResultTableModel& table, int column) {
    if (table.cells.size() < 3 || column < 0)
        return;
    auto cellOf = [column](const std::vector<std::string>& row) -> const std::string& {
        static const std::string empty;
        return static_cast<size_t>(column) < row.size() ? row[column] : empty;
    };
    std::stable_sort(table.cells.begin() + 1, table.cells.end(),
                     [&](const std::vector<std::string>& a, const std::vector<std::string>& b) {
                         const std::string& x = cellOf(a);
                         const std::string& y = cellOf(b);
                         std::optional<double> nx = CellNumber(x);
                         std::optional<double> ny = CellNumber(y);
                         if (nx && ny)
                             return *nx < *ny;
                         if (nx || ny)
                             return nx.has_value();
                         return CompareCategories(x, y) < 0;
                     });
}

}  // namespace core
