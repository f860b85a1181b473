#include "analyses/transition_tables.h"

#include <cmath>
#include <unordered_map>

namespace core {

namespace {

// The transformed kappa (observed - expected) / D, with D the expectation
// below it and the distance from the expectation to the bound above it; the
// bound is never taken below the observed count, so the kappa stays in -1..1.
float TransformedKappa(double observed, double expected, double bound) {
    double d = 0;
    if (observed < expected) {
        d = expected;
    } else {
        if (bound < observed)
            bound = observed;
        d = bound - expected;
    }
    if (d == 0)
        return 0;
    return static_cast<float>((observed - expected) / d);
}

float ZScore(double observed, double expected, double variance) {
    if (!(variance > 0))
        return 0;
    return static_cast<float>((observed - expected) / std::sqrt(variance));
}

// The (m - 1) x (m - 1) table of a statistic over the category pairs (a, b)
// of the count table f. A single category leaves nothing to compare a
// transition with: its value is undefined. Otherwise a single event gives
// every cell the marker value.
template <typename Cell>
SingleMatrix PairTable(const CountMatrix& f, int events, Cell cell) {
    const int m = f.Rows();
    SingleMatrix table(m - 1, m - 1);
    for (int a = 1; a < m; ++a)
        for (int b = 1; b < m; ++b)
            table(a, b) = m == 2        ? static_cast<float>(kUndefined)
                          : events == 1 ? kSingleEventValue
                                        : cell(a, b);
    return table;
}

}  // namespace

CountMatrix CountTransitions(const std::vector<std::string>& categories,
                             const std::vector<std::string_view>& codes, int lag) {
    const int k = static_cast<int>(categories.size());
    CountMatrix f(k, k);
    std::unordered_map<std::string_view, int> index;
    index.reserve(categories.size());
    for (int a = 0; a < k; ++a)
        index.emplace(categories[static_cast<size_t>(a)], a + 1);  // keeps the first place
    // The category of every event once, -1 for none.
    std::vector<int> place(codes.size(), -1);
    for (size_t i = 0; i < codes.size(); ++i) {
        auto found = index.find(codes[i]);
        if (found != index.end())
            place[i] = found->second;
    }
    if (lag >= 0) {
        for (size_t i = 0; i + static_cast<size_t>(lag) < codes.size(); ++i) {
            const int a = place[i];
            const int b = place[i + static_cast<size_t>(lag)];
            if (a > 0 && b > 0)
                f(a, b) += 1;
        }
    }
    FillTotals(f);
    return f;
}

SingleMatrix RowProbabilities(const CountMatrix& f) {
    const int m = f.Rows();
    SingleMatrix p(m - 1, m - 1);
    for (int a = 1; a < m; ++a) {
        const double total = f(a, m);
        if (total == 0)
            continue;
        for (int b = 1; b < m; ++b)
            p(a, b) = static_cast<float>(f(a, b) / total);
        p(a, m) = 1;
    }
    const double n = f(m, m);
    if (n != 0)
        for (int b = 1; b <= m; ++b)
            p(m, b) = static_cast<float>(f(m, b) / n);
    return p;
}

std::vector<double> CategoryFrequencies(const CountMatrix& f) {
    const int m = f.Rows();
    std::vector<double> freq(static_cast<size_t>(m), 0);
    for (int b = 1; b < m; ++b)
        freq[static_cast<size_t>(b)] = f(m, b) > f(b, m) ? f(m, b) : f(b, m);
    return freq;
}

SingleMatrix UniZScores(const CountMatrix& f, int events) {
    const std::vector<double> freq = CategoryFrequencies(f);
    const double n = events;
    const double divisor = events == 1 ? n * n * n : n * n * (n - 1);
    return PairTable(f, events, [&](int a, int b) {
        const double fa = freq[static_cast<size_t>(a)];
        const double fb = freq[static_cast<size_t>(b)];
        const double expected = fa * fb / n;
        const double variance = fa * fb * (n - fa) * (n - fb) / divisor;
        return ZScore(f(a, b), expected, variance);
    });
}

SingleMatrix UniKappas(const CountMatrix& f, int events) {
    const int m = f.Rows();
    const std::vector<double> freq = CategoryFrequencies(f);
    const double n = events;
    return PairTable(f, events, [&](int a, int b) {
        const double expected = freq[static_cast<size_t>(a)] * freq[static_cast<size_t>(b)] / n;
        const double bound = f(a, m) < f(b, m) ? f(a, m) : f(b, m);
        return TransformedKappa(f(a, b), expected, bound);
    });
}

SingleMatrix BiZScores(const CountMatrix& f, int events) {
    const std::vector<double> freq = CategoryFrequencies(f);
    const double n = events;
    const float nSingle = static_cast<float>(events);
    const double divisor = events == 1 ? n * n * n : n * n * (n - 1);
    return PairTable(f, events, [&](int a, int b) {
        const double fa = freq[static_cast<size_t>(a)];
        const double fb = freq[static_cast<size_t>(b)];
        const double observed = f(a, b) + f(b, a);
        const double expected = 2 * fa * fb / n;
        const float factor =
            static_cast<float>(fa * fb + (nSingle - fa) * (nSingle - fb) - nSingle);
        const double variance = 2 * fa * fb * static_cast<double>(factor) / divisor;
        return ZScore(observed, expected, variance);
    });
}

SingleMatrix BiKappas(const CountMatrix& f, int events) {
    const int m = f.Rows();
    const std::vector<double> freq = CategoryFrequencies(f);
    const double n = events;
    return PairTable(f, events, [&](int a, int b) {
        const double observed = f(a, b) + f(b, a);
        const double expected = 2 * freq[static_cast<size_t>(a)] * freq[static_cast<size_t>(b)] / n;
        const double rowA = f(a, m);
        const double rowB = f(b, m);
        const double bound = rowA == rowB ? 2 * rowA - 1 : 2 * (rowA < rowB ? rowA : rowB);
        return TransformedKappa(observed, expected, bound);
    });
}

}  // namespace core
