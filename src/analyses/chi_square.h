// The statistics of a table of counts: expected frequencies under
// independence, chi square with its degrees of freedom and 0.95 critical
// value, Cramer's coefficient, Goodman and Kruskal's lambdas and the adjusted
// residuals. Matrices in, numbers out: the lag-sequential analysis, the cross
// tables and the interrater analysis all use it, and the report block of
// chi_square_report.h prints it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace core {

// A value that cannot be computed (a zero denominator); the reports print it
// as " *******".
inline constexpr double kUndefined = 9999;

// A table addressed (row, column) with subscripts 0..Rows() by 0..Columns();
// subscript 0 is not used. In a table of R by C categories the cells are rows
// 1..R and columns 1..C, and row R + 1 and column C + 1 hold the totals, so
// Rows() is R + 1 and Columns() is C + 1.
template <typename T>
class Matrix {
public:
    Matrix() = default;
    // A table of `categoryRows` by `categoryColumns` categories plus the
    // totals row and column, all zero.
    Matrix(int categoryRows, int categoryColumns)
        : rows_(categoryRows + 1),
          columns_(categoryColumns + 1),
          values_(static_cast<size_t>(rows_ + 1) * static_cast<size_t>(columns_ + 1)) {}

    T& operator()(int row, int column) { return values_[Index(row, column)]; }
    const T& operator()(int row, int column) const { return values_[Index(row, column)]; }

    // The subscripts of the totals row and column.
    int Rows() const { return rows_; }
    int Columns() const { return columns_; }

    bool operator==(const Matrix&) const = default;

private:
    size_t Index(int row, int column) const {
        return static_cast<size_t>(row) * static_cast<size_t>(columns_ + 1) +
               static_cast<size_t>(column);
    }

    int rows_ = 1;
    int columns_ = 1;
    std::vector<T> values_ = std::vector<T>(4);
};

// Counts (double precision) and the values derived from them (single
// precision, as the reports print them).
using CountMatrix = Matrix<double>;
using SingleMatrix = Matrix<float>;

// Fills the totals row and column from the cells: row totals in the last
// column, column totals in the last row, the grand total N' in the corner.
void FillTotals(CountMatrix& f);

// E(a, b) = row total x column total / N' when both totals are non-zero, else
// 0; the totals row and column are copied from f.
SingleMatrix ExpectedFrequencies(const CountMatrix& f);

struct ChiSquareResult {
    double chiSquare = 0;
    double cramer = kUndefined;
    // Two factors whose product is the degrees of freedom: categories of the
    // rows less one, of the columns less one.
    int16_t dfRows = 0;
    int16_t dfColumns = 0;
    double lambdaRow = kUndefined;     // predicts the row category from the column
    double lambdaColumn = kUndefined;  // predicts the column category from the row
};

// Chi square = sum over the cells with a non-zero expected frequency of
// F^2 / E, less N'. Cramer's coefficient = sqrt(chi square / (N' x (q - 1)))
// with q the smaller number of categories, undefined when N' is 0 or q < 2.
// The lambdas are undefined when their denominator is 0.
ChiSquareResult ComputeChiSquare(const CountMatrix& f, const SingleMatrix& e);

// The degrees of freedom: the product of the two factors; 0 when either is
// below 1 (a table of fewer than two rows or columns has none).
int DegreesOfFreedom(int dfRows, int dfColumns);

// The chi square that a 0.05 probability of error allows, for 1..30 degrees
// of freedom; kUndefined outside.
double CriticalChiSquare95(int df);

// For more than 30 degrees of freedom: the normal deviate
// sqrt(2 chi square) - sqrt(2 df - 1).
double ChiSquareZ(double chiSquare, int df);

// Haberman's adjusted residuals of the cells:
// (F - E) / sqrt(E x (1 - row total / N') x (1 - column total / N')),
// kUndefined where that variance is 0 (an empty row or column, a margin that
// holds every count). Totals row and column are 0.
SingleMatrix AdjustedResiduals(const CountMatrix& f, const SingleMatrix& e);

// How many cells (rows 1..R by columns 1..C) hold an expected frequency
// below 5 and below 1.
struct SmallExpected {
    int cells = 0;
    int below5 = 0;
    int below1 = 0;
};
SmallExpected CountSmallExpected(const SingleMatrix& e);

}  // namespace core
