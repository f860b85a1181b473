// The statistical core of the lag-sequential analysis: the categories of an
// event list, the transitions from each event to the event `lag` places later,
// and what is derived from them (expected frequencies and chi square through
// chi_square.h, row probabilities, uni- and bi-directional z-scores and
// transformed kappas). Qt-free and file-free: the reports print the result.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analyses/chi_square.h"

namespace core {

// Counts the transitions at `lag`: for each event i = 1..N - lag whose code is
// a category a, and whose event i + lag has a category b, F(a, b) grows by 1;
// an event whose code is no category keeps its place but adds nothing. A code
// listed twice counts for its first place. `codes` holds events 1..N at index
// 0..N-1. The totals are filled in.
CountMatrix CountTransitions(const std::vector<std::string>& categories,
                             const std::vector<std::string_view>& codes, int lag);

// P(a, b) = F(a, b) / row total (0 for an empty row); the totals row holds the
// column totals as shares of N', the totals column 1 for every non-empty row.
SingleMatrix RowProbabilities(const CountMatrix& f);

// How often each category occurs, as the z-scores and kappas take it: the
// larger of its row total and its column total (index 1..K).
std::vector<double> CategoryFrequencies(const CountMatrix& f);

// The z-scores and transformed kappas of the cells 1..K by 1..K, for `events`
// events (N). With one category (K = 1) every value is kUndefined; else
// with one event every value is 0.001. A z whose variance is 0 or
// below is 0. A kappa's bound is at least the observed count when the count is
// at or above its expectation, and a kappa whose denominator is 0 is 0.
SingleMatrix UniZScores(const CountMatrix& f, int events);
SingleMatrix UniKappas(const CountMatrix& f, int events);
SingleMatrix BiZScores(const CountMatrix& f, int events);
SingleMatrix BiKappas(const CountMatrix& f, int events);

// The value that a single event gives every z-score and kappa.
inline constexpr float kSingleEventValue = 0.001f;

}  // namespace core
