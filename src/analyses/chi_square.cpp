#include "analyses/chi_square.h"

#include <array>
#include <cmath>

namespace core {

void FillTotals(CountMatrix& f) {
    const int m = f.Rows();
    const int n = f.Columns();
    for (int a = 1; a < m; ++a) {
        double sum = 0;
        for (int b = 1; b < n; ++b)
            sum += f(a, b);
        f(a, n) = sum;
    }
    for (int b = 1; b < n; ++b) {
        double sum = 0;
        for (int a = 1; a < m; ++a)
            sum += f(a, b);
        f(m, b) = sum;
    }
    double total = 0;
    for (int a = 1; a < m; ++a)
        total += f(a, n);
    f(m, n) = total;
}

SingleMatrix ExpectedFrequencies(const CountMatrix& f) {
    const int m = f.Rows();
    const int n = f.Columns();
    SingleMatrix e(m - 1, n - 1);
    const double total = f(m, n);
    for (int a = 1; a < m; ++a) {
        for (int b = 1; b < n; ++b) {
            const double row = f(a, n);
            const double column = f(m, b);
            e(a, b) = row != 0 && column != 0 ? static_cast<float>(row * column / total) : 0.0f;
        }
        e(a, n) = static_cast<float>(f(a, n));
    }
    for (int b = 1; b < n; ++b)
        e(m, b) = static_cast<float>(f(m, b));
    e(m, n) = static_cast<float>(total);
    return e;
}

ChiSquareResult ComputeChiSquare(const CountMatrix& f, const SingleMatrix& e) {
    const int m = f.Rows();
    const int n = f.Columns();
    const int rows = m - 1;
    const int columns = n - 1;
    const double total = f(m, n);
    ChiSquareResult r;

    double sum = 0;
    for (int a = 1; a <= rows; ++a)
        for (int b = 1; b <= columns; ++b)
            if (e(a, b) != 0)
                sum += f(a, b) * f(a, b) / static_cast<double>(e(a, b));
    r.chiSquare = sum - total;
    // Rounding leaves a tiny negative value for a table that fits exactly.
    if (r.chiSquare < 0 && r.chiSquare > -1e-9 * (total + 1))
        r.chiSquare = 0;

    r.dfRows = static_cast<int16_t>(rows - 1);
    r.dfColumns = static_cast<int16_t>(columns - 1);
    const int smaller = rows < columns ? rows : columns;
    if (total != 0 && smaller >= 2) {
        const double v = r.chiSquare / (total * (smaller - 1));
        r.cramer = std::sqrt(v > 0 ? v : 0);
    }

    // The maxima start at 0 and are replaced only by strictly larger values.
    double largestRow = 0;
    for (int a = 1; a <= rows; ++a)
        if (f(a, n) > largestRow)
            largestRow = f(a, n);
    double largestColumn = 0;
    for (int b = 1; b <= columns; ++b)
        if (f(m, b) > largestColumn)
            largestColumn = f(m, b);
    double sumColumnMaxima = 0;
    for (int b = 1; b <= columns; ++b) {
        double largest = 0;
        for (int a = 1; a <= rows; ++a)
            if (f(a, b) > largest)
                largest = f(a, b);
        sumColumnMaxima += largest;
    }
    double sumRowMaxima = 0;
    for (int a = 1; a <= rows; ++a) {
        double largest = 0;
        for (int b = 1; b <= columns; ++b)
            if (f(a, b) > largest)
                largest = f(a, b);
        sumRowMaxima += largest;
    }
    if (total != largestRow)
        r.lambdaRow = (sumColumnMaxima - largestRow) / (total - largestRow);
    if (total != largestColumn)
        r.lambdaColumn = (sumRowMaxima - largestColumn) / (total - largestColumn);
    return r;
}

int DegreesOfFreedom(int dfRows, int dfColumns) {
    if (dfRows < 1 || dfColumns < 1)
        return 0;
    return dfRows * dfColumns;
}

double CriticalChiSquare95(int df) {
    // The 0.95 quantiles of the chi-square distribution, 1 to 30 degrees of
    // freedom.
    static constexpr std::array<double, 30> kTable = {
        3.841,  5.991,  7.815,  9.488,  11.070, 12.592, 14.067, 15.507, 16.919, 18.307,
        19.675, 21.026, 22.362, 23.685, 24.996, 26.296, 27.587, 28.869, 30.144, 31.410,
        32.671, 33.924, 35.172, 36.415, 37.652, 38.885, 40.113, 41.337, 42.557, 43.773};
    if (df < 1 || df > 30)
        return kUndefined;
    return kTable[static_cast<size_t>(df - 1)];
}

double ChiSquareZ(double chiSquare, int df) {
    return std::sqrt(2 * (chiSquare > 0 ? chiSquare : 0)) - std::sqrt(2.0 * df - 1);
}

SingleMatrix AdjustedResiduals(const CountMatrix& f, const SingleMatrix& e) {
    const int m = f.Rows();
    const int n = f.Columns();
    SingleMatrix d(m - 1, n - 1);
    const double total = f(m, n);
    for (int a = 1; a < m; ++a) {
        for (int b = 1; b < n; ++b) {
            const double expected = e(a, b);
            const double variance =
                total == 0 ? 0 : expected * (1 - f(a, n) / total) * (1 - f(m, b) / total);
            d(a, b) = variance > 0 ? static_cast<float>((f(a, b) - expected) / std::sqrt(variance))
                                   : static_cast<float>(kUndefined);
        }
    }
    return d;
}

SmallExpected CountSmallExpected(const SingleMatrix& e) {
    SmallExpected small;
    for (int a = 1; a < e.Rows(); ++a) {
        for (int b = 1; b < e.Columns(); ++b) {
            ++small.cells;
            if (e(a, b) < 5)
                ++small.below5;
            if (e(a, b) < 1)
                ++small.below1;
        }
    }
    return small;
}

}  // namespace core
