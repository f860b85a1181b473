#include "analyses/frequency_analysis.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <unordered_set>

#include "analyses/frequency_report.h"
#include "analyses/output_file.h"
#include "store/record_range.h"
#include "store/text.h"
#include "store/time_code.h"

namespace core {

bool FrequencyRangeValid(const KovaState& s) {
    return s.ViewMode == 1 && RangeWithinSet(s.FromRecord, s.ToRecord, s.RecordCount1, s.Records1);
}

namespace {

// The text of a 16-bit number with its sign position (" 3", "-3"), from a
// table made once: a code is a view, and the view of a number needs a text
// that outlasts the analysis.
std::string_view SignedNumberText(int16_t value) {
    constexpr size_t kSlot = 6;  // " 32767", "-32768"
    constexpr size_t kValues = 65536;
    struct Texts {
        std::string bytes;
        std::vector<unsigned char> lengths;
    };
    static const Texts texts = [] {
        Texts made{std::string(kValues * kSlot, ' '), std::vector<unsigned char>(kValues)};
        for (size_t i = 0; i < kValues; ++i) {
            const std::string text = SignedNumber(static_cast<long long>(i) - 32768);
            made.bytes.replace(i * kSlot, text.size(), text);
            made.lengths[i] = static_cast<unsigned char>(text.size());
        }
        return made;
    }();
    const size_t i = static_cast<size_t>(value + 32768);
    return std::string_view(texts.bytes).substr(i * kSlot, texts.lengths[i]);
}

}  // namespace

std::string_view EventCode(const ProtocolRecord& r, int varIndex) {
    if (varIndex == 2)
        return r.V2 == 0 ? std::string_view() : SignedNumberText(r.V2);
    const std::string* field = TextField(r, varIndex);
    return field ? TrimmedView(*field) : std::string_view();
}

EventList BuildEventList(const KovaState& s, int varIndex) {
    EventList list;
    list.RangeLength = static_cast<int16_t>(s.ToRecord - s.FromRecord + 1);
    list.events.reserve(static_cast<size_t>(list.RangeLength) + 1);
    for (int i = s.FromRecord; i <= s.ToRecord; ++i) {
        const ProtocolRecord& r = s.Records1[static_cast<size_t>(i)];
        const std::string_view code = EventCode(r, varIndex);
        if (!code.empty()) {
            FrequencyEvent e;
            e.code = code;
            e.span = 1;
            e.start = static_cast<float>(ParseTimeCode(TrimmedView(r.V1)));
            e.position = static_cast<int16_t>(i);
            e.number = r.V0;
            list.events.push_back(std::move(e));
        } else if (s.EpisodeFilling == 1 && i > 1) {
            // A filled event repeats the code and start time of the one before
            // it (event 0 when the range begins with empty records).
            FrequencyEvent e;
            e.code = list.events.back().code;
            e.span = 1;
            e.start = list.events.back().start;
            e.position = static_cast<int16_t>(i);
            e.number = r.V0;
            list.events.push_back(std::move(e));
        } else {
            ++list.events.back().span;
        }
    }
    // An event without a time code starts when the one before it started.
    const size_t n = list.events.size() - 1;
    for (size_t k = 1; k < n; ++k) {
        FrequencyEvent& next = list.events[k + 1];
        if (next.start == 0)
            next.start = list.events[k].start;
        list.events[k].duration = next.start - list.events[k].start;
    }
    if (n >= 1)
        list.events[n].duration = 0;
    return list;
}

namespace {

// The distinct non-empty codes that `visit` hands to the function it is
// given, in the sorted order of the category lists. Each is copied once, into
// the list.
template <typename Visit>
std::vector<std::string> SortedDistinctCodes(Visit visit) {
    std::vector<std::string_view> codes;
    std::unordered_set<std::string_view> seen;
    visit([&](std::string_view code) {
        if (!code.empty() && seen.insert(code).second)
            codes.push_back(code);
    });
    // A stable sort in first-seen order gives the list that inserting the
    // codes one by one into the sorted list would give, without its
    // quadratic cost on a protocol with thousands of distinct codes.
    std::stable_sort(codes.begin(), codes.end(), [](std::string_view a, std::string_view b) {
        return CompareCategories(a, b) < 0;
    });
    return std::vector<std::string>(codes.begin(), codes.end());
}

}  // namespace

std::vector<std::string> DistinctCodes(const EventList& events) {
    return SortedDistinctCodes([&](const auto& add) {
        for (size_t k = 1; k < events.events.size(); ++k)
            add(events.events[k].code);
    });
}

std::vector<std::string> DistinctCodesOf(const std::vector<std::string_view>& a,
                                         const std::vector<std::string_view>& b) {
    return SortedDistinctCodes([&](const auto& add) {
        for (const std::vector<std::string_view>* list : {&a, &b})
            for (std::string_view code : *list)
                add(code);
    });
}

bool ChooseCategories(const KovaState& s, KovaUi& ui, int varIndex, Icon icon,
                      std::vector<std::string>& categories,
                      const std::function<std::vector<std::string>()>& found) {
    if (s.TableBasedCategories == 0 || varIndex < 4 || varIndex > 7) {
        categories = found();
        return true;
    }
    categories = s.CategoryLists[static_cast<size_t>(varIndex)];
    if (categories.empty())
        ui.Message(
            "Tablebased option checked. However no categories of coding specified. "
            "Procedure stopped!",
            "Error", icon);
    return !categories.empty();
}

FrequencyCounts CountCategories(const std::vector<std::string>& categories,
                                const EventList& events) {
    FrequencyCounts counts;
    counts.rows.resize(categories.size());
    std::unordered_map<std::string_view, std::vector<size_t>> rowsOf;
    for (size_t r = 0; r < categories.size(); ++r) {
        counts.rows[r].label = PrintedLabel(categories[r]);
        rowsOf[categories[r]].push_back(r);
    }
    for (size_t k = 1; k < events.events.size(); ++k) {
        const FrequencyEvent& e = events.events[k];
        auto found = rowsOf.find(e.code);
        if (found == rowsOf.end())
            continue;
        const double d = e.duration;
        const double span = e.span;
        for (size_t r : found->second) {
            CategoryCount& row = counts.rows[r];
            row.count += 1;
            row.durations += d;
            row.durationSquares += d * d;
            row.spans += span;
            row.spanSquares += span * span;
            ++counts.valid;
        }
    }
    counts.total.count = counts.valid;
    for (const CategoryCount& row : counts.rows) {
        counts.total.durations += row.durations;
        counts.total.durationSquares += row.durationSquares;
        counts.total.spans += row.spans;
        counts.total.spanSquares += row.spanSquares;
    }
    return counts;
}

MeanSd PopulationMeanSd(double n, double sum, double sumSquares) {
    if (n == 0)
        return {};
    double radicand = n * sumSquares - sum * sum;
    if (radicand < 0)
        radicand = 0;
    return MeanSd{sum / n, std::sqrt(radicand) / n};
}

bool FrequencyAnalysis(KovaState& s, KovaUi& ui, int16_t varIndex, const ReportClock& clock) {
    if (varIndex < 1 || varIndex > 7 || !FrequencyRangeValid(s))
        return true;
    const int reportsBefore = s.AnalysisReportsWritten;
    EventList events = BuildEventList(s, varIndex);
    bool written = varIndex == 1 ? WriteTimecodeReport(s, ui, events, clock)
                                 : WriteFrequencyReport(s, ui, varIndex, events, clock);
    if (!written)
        return false;
    return ShowAnalysisFileIfWritten(s, ui, reportsBefore);
}

}  // namespace core
