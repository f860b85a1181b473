// Interrater agreement: the codes of one variable in data set 1 (coder 1) and
// data set 2 (coder 2) are paired record by record over the two ranges and
// counted in a table of coder 1 by coder 2, from which the agreement
// percentage, Cohen's kappa and the kappa of every category follow.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "analyses/chi_square.h"
#include "analyses/report_frame.h"
#include "store/record.h"
#include "store/state.h"
#include "store/ui.h"

namespace core {

// The codes of variable varIndex (1..7) at positions from..to of `records`,
// as EventCode's views. With filling an empty code repeats the code before it
// within the range.
std::vector<std::string_view> RangeCodes(const RecordSet& records, int16_t from, int16_t to,
                                         int varIndex, bool filling);

// The pairs (a[i], b[i]) over the shorter list in which both codes are
// non-empty, and how many pairs were left out because only one was empty.
// Only these pairs are counted and give the categories: an empty code
// compared with nothing would add rows and columns that change the
// statistics.
struct CodedPairs {
    std::vector<std::string_view> first;
    std::vector<std::string_view> second;
    size_t oneEmpty = 0;
};
CodedPairs PairCodes(const std::vector<std::string_view>& a,
                     const std::vector<std::string_view>& b);

// A table of counts with its categories: counts(r, c) for the row category
// r and the column category c (from 1), with the totals in row Rows() and
// column Columns() of the matrix (chi_square.h).
struct CountTable {
    CountTable() = default;
    CountTable(CountTable&&) = default;
    CountTable& operator=(CountTable&&) = default;
    // The indexes are views of the table's own categories: a copy's would
    // look into the original.
    CountTable(const CountTable&) = delete;
    CountTable& operator=(const CountTable&) = delete;

    std::vector<std::string> rowCategories;
    std::vector<std::string> columnCategories;
    CountMatrix counts;
    // The first index (from 1) of each category, for counting.
    std::unordered_map<std::string_view, int> rowIndex;
    std::unordered_map<std::string_view, int> columnIndex;
    int Rows() const { return static_cast<int>(rowCategories.size()); }
    int Columns() const { return static_cast<int>(columnCategories.size()); }
    double Total() const { return counts(Rows() + 1, Columns() + 1); }
};

// The most categories a table takes: beyond it the table would not fit in
// memory nor its lines on a page (a variable of time codes, say).
inline constexpr size_t kMaxTableCategories = 1000;

// An empty table over the categories, its margins 0.
CountTable MakeCountTable(std::vector<std::string> rows, std::vector<std::string> columns);

// Adds one pair: the first row category equal to `row` and the first column
// category equal to `column`; a pair with a code outside the categories is
// not counted.
void CountPair(CountTable& table, std::string_view row, std::string_view column);

// The agreement of two coders from their table (same categories in rows and
// columns). Undefined values are kUndefined.
struct Agreement {
    double pairs = 0;
    double agreements = 0;
    double percentage = kUndefined;  // agreements / pairs
    double kappa = kUndefined;       // Cohen's kappa
    // Per category k, the kappa of the two-by-two table "k or not k":
    // 2 (N n_kk - r_k c_k) / (N (r_k + c_k) - 2 r_k c_k).
    std::vector<double> categoryKappas;
};
Agreement ComputeAgreement(const CountTable& table);

// A table of more than kMaxTableCategories categories is refused with a
// message titled "Error": false.
bool CheckCategoryCount(KovaUi& ui, size_t count);

// The frequency table in the layout of the transition tables: the table's
// title with `rightTitle` at column 89, a rule, the column categories as
// headings with "Total:", a rule, a row per row category with its counts
// and total, a rule and the totals row.
void WriteCountTable(AnalysisOutput& block, const CountTable& table, std::string_view title,
                     std::string_view rightTitle);

// The records left out of the table: those of the longer range beyond the
// shorter one, and the pairs in which one coder left the code empty.
struct LeftOut {
    size_t notPaired = 0;
    size_t oneEmpty = 0;
};

// The report blocks of one variable: the title and (ShowFrequencyTable) the
// frequency table, the chi-square statistics, the agreement with Cohen's
// kappa and the records left out (ShowAgreementKappa) and the category
// kappas (ShowCategoryKappas). A table without categories gives the
// "No Codes Found!" block.
bool WriteInterraterReport(KovaState& s, KovaUi& ui, int16_t varIndex, const CountTable& table,
                           const LeftOut& leftOut, const ReportClock& clock);

// Runs the agreement of variable varIndex (1..7): nothing unless data set 2
// is open and both ranges (FromRecord..ToRecord of data set 1, FromRecord2..
// ToRecord2 of data set 2) are valid; otherwise sets CompareVariable (the
// grid's two-coder layout marks the rows where the coders differ in it) and
// appends the report blocks to the analysis output file. It does not show
// the file. False only when the command must end (the file could not be
// written).
bool RunInterraterAgreement(KovaState& s, KovaUi& ui, int16_t varIndex, const ReportClock& clock);

}  // namespace core
