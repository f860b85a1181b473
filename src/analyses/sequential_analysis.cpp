#include "analyses/sequential_analysis.h"

#include "analyses/chi_square_report.h"
#include "analyses/interrater.h"
#include "analyses/output_file.h"
#include "analyses/range_options.h"
#include "analyses/sequential_reports.h"
#include "analyses/table_layout.h"
#include "analyses/transition_tables.h"
#include "store/text.h"

namespace core {

namespace {

bool LagValid(int lag) {
    return lag >= 1 && lag <= 20;
}

}  // namespace

std::string_view SequentialCode(const ProtocolRecord& r, int varIndex) {
    // EventCode, less the sign position of V2's number.
    return TrimmedView(EventCode(r, varIndex));
}

EventList BuildSequentialEvents(const KovaState& s, int varIndex) {
    EventList list;
    list.RangeLength = static_cast<int16_t>(s.ToRecord - s.FromRecord + 1);
    list.events.reserve(static_cast<size_t>(list.RangeLength) + 1);
    // Filling is on (1) or off (0); any other value finds no events.
    if (s.EpisodeFilling != 0 && s.EpisodeFilling != 1) {
        list.events[0].span = list.RangeLength;
        return list;
    }
    for (int i = s.FromRecord; i <= s.ToRecord; ++i) {
        const std::string_view code = SequentialCode(s.Records1[static_cast<size_t>(i)], varIndex);
        if (!code.empty()) {
            FrequencyEvent e;
            e.code = code;
            e.span = 1;
            e.position = static_cast<int16_t>(i);
            list.events.push_back(std::move(e));
        } else if (s.EpisodeFilling == 1 && i > 1) {
            // An empty record repeats the code before it (the empty code of
            // event 0 when the range starts with empty records).
            FrequencyEvent e;
            e.code = list.events.back().code;
            e.span = 1;
            e.position = static_cast<int16_t>(i);
            list.events.push_back(std::move(e));
        } else {
            ++list.events.back().span;
        }
    }
    return list;
}

bool ComputeTransitionTables(KovaState& s, KovaUi& ui, int16_t varIndex, const EventList& events,
                             int16_t lag, const ReportClock& clock) {
    if (!LagValid(lag))
        return true;
    const int n = events.EventCount();
    if (n == 0)
        return WriteSequentialNoCodesBlock(s, ui, varIndex, clock);

    SequentialReport report;
    report.varIndex = varIndex;
    report.lag = lag;
    report.clock = clock;
    if (!ChooseCategories(s, ui, varIndex, Icon::Critical, report.categories,
                          [&] { return DistinctCodes(events); }))
        return true;
    // Before any table: K categories take K x K cells in several tables.
    if (!CheckCategoryCount(ui, report.categories.size()))
        return true;

    std::vector<std::string_view> codes;
    codes.reserve(static_cast<size_t>(n));
    for (int k = 1; k <= n; ++k)
        codes.push_back(events.events[static_cast<size_t>(k)].code);
    const CountMatrix f = CountTransitions(report.categories, codes, lag);
    // Counted: from here on the categories are only printed, and every table
    // prints them cut.
    report.categories = PrintedLabels(report.categories);

    if (s.ShowFrequencyTable != 0 && !WriteFrequencyTransitionTable(s, ui, report, f))
        return false;

    const SingleMatrix e = ExpectedFrequencies(f);
    const ChiSquareResult chi = ComputeChiSquare(f, e);
    const ChiSquareLabels labels{"Expected Transition Table", VariableLabel(s, varIndex),
                                 SequentialTitleTags(s), report.categories, report.categories};
    if (!PrintChiSquareStatistics(s, ui, labels, f, e, chi, clock))
        return false;

    if (s.ShowProbabilityTable != 0 &&
        !WriteProbabilityTransitionTable(s, ui, report, RowProbabilities(f)))
        return false;

    if (s.ShowUniZScores != 0 || s.ShowUniKappa != 0) {
        const SingleMatrix z = UniZScores(f, n);
        if (s.ShowUniZScores != 0 && !WriteZScoreTable(s, ui, "uni", report, z))
            return false;
        if (s.ShowUniKappa != 0 && !WriteKappaTable(s, ui, "uni", report, UniKappas(f, n)))
            return false;
    }
    if (s.ShowBiZScores != 0 || s.ShowBiKappa != 0) {
        const SingleMatrix z = BiZScores(f, n);
        if (s.ShowBiZScores != 0 && !WriteZScoreTable(s, ui, "bi", report, z))
            return false;
        if (s.ShowBiKappa != 0 && !WriteKappaTable(s, ui, "bi", report, BiKappas(f, n)))
            return false;
    }
    return true;
}

bool SequentialAnalysis(KovaState& s, KovaUi& ui, int16_t varIndex, int16_t lag,
                        const ReportClock& clock) {
    if (varIndex < 2 || varIndex > 7 || !LagValid(lag) || !FrequencyRangeValid(s))
        return true;
    const int reportsBefore = s.AnalysisReportsWritten;
    const EventList events = BuildSequentialEvents(s, varIndex);
    if (!ComputeTransitionTables(s, ui, varIndex, events, lag, clock))
        return false;
    return ShowAnalysisFileIfWritten(s, ui, reportsBefore);
}

void SequentialMenuItem(KovaState& s, KovaUi& ui, int index,
                        const std::function<void()>& askOptions, const ReportClock& clock) {
    RunAnalysisMenuItem(s, index, 2, askOptions,
                        [&](int16_t v) { return SequentialAnalysis(s, ui, v, s.Lag, clock); });
}

std::array<std::string, 2> LagRangePreset(const KovaState& s) {
    return ShownRangePreset(s.Records1, s.RecordCount1, SignedNumber);
}

std::string MissingLagSwitch(const LagSwitches& on) {
    constexpr size_t kUniDiagram = 0, kUniZ = 5, kBiZ = 7, kBiDiagram = 9;
    if (on[kUniDiagram] && !on[kUniZ])
        return std::string(
                   "The uni-directional diagram is drawn from the uni-directional z-scores: "
                   "tick \"") +
               kLagSwitchCaptions[kUniZ] + "\" as well.";
    if (on[kBiDiagram] && !on[kBiZ])
        return std::string(
                   "The bi-directional diagram is drawn from the bi-directional z-scores: "
                   "tick \"") +
               kLagSwitchCaptions[kBiZ] + "\" as well.";
    for (size_t i = 0; i < on.size(); ++i)
        if (on[i] && i != kUniDiagram && i != kBiDiagram)
            return "";
    return "Nothing would be reported: tick at least one of the tables.";
}

bool ApplyLagOptions(KovaState& s, KovaUi& ui, std::string_view fromText, std::string_view toText,
                     bool episodeFilling, bool tableBased, const LagSwitches& switches) {
    int16_t from = 0;
    int16_t to = 0;
    if (!ReadAndMapRange(ui, s.Records1, s.RecordCount1, s.SelectionShown1 != kFalse, fromText,
                         toText, from, to))
        return false;
    s.EpisodeFilling = episodeFilling ? 1 : 0;
    s.TableBasedCategories = tableBased ? 1 : 0;
    auto box = [&](int i) -> int16_t { return switches[static_cast<size_t>(i)] ? 1 : 0; };
    s.ShowUniDiagram = box(0);
    s.ShowFrequencyTable = box(1);
    s.ShowExpectedTable = box(2);
    s.ShowResidualsTable = box(3);
    s.ShowProbabilityTable = box(4);
    s.ShowUniZScores = box(5);
    s.ShowUniKappa = box(6);
    s.ShowBiZScores = box(7);
    s.ShowBiKappa = box(8);
    s.ShowBiDiagram = box(9);
    if (!LagValid(s.Lag))
        return false;
    s.FromRecord = from;
    s.ToRecord = to;
    return true;
}

}  // namespace core
