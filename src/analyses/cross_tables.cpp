#include "analyses/cross_tables.h"

#include <algorithm>

#include "analyses/chi_square_report.h"
#include "analyses/frequency_analysis.h"
#include "analyses/table_layout.h"
#include "store/record_range.h"

namespace core {

std::optional<CountTable> BuildCrossTable(const KovaState& s, KovaUi& ui, int varX, int varY) {
    const std::vector<std::string_view> x =
        RangeCodes(s.Records1, s.FromRecord, s.ToRecord, varX, s.EpisodeFilling == 1);
    const std::vector<std::string_view> y =
        RangeCodes(s.Records1, s.FromRecord, s.ToRecord, varY, s.EpisodeFillingY == 1);
    const size_t lag = s.Lag < 0 ? 0 : static_cast<size_t>(s.Lag);
    const size_t shift = std::min(lag, y.size());
    // Record i pairs with record i + lag: the row codes without the last
    // `lag`, the column codes without the first.
    const CodedPairs pairs =
        PairCodes(x, std::vector<std::string_view>(y.begin() + static_cast<long>(shift), y.end()));
    std::vector<std::string> rows;
    std::vector<std::string> columns;
    if (!ChooseCategories(s, ui, varX, Icon::Exclamation, rows,
                          [&] { return DistinctCodesOf(pairs.first, {}); }) ||
        !ChooseCategories(s, ui, varY, Icon::Exclamation, columns,
                          [&] { return DistinctCodesOf(pairs.second, {}); }))
        return std::nullopt;
    if (!CheckCategoryCount(ui, std::max(rows.size(), columns.size())))
        return std::nullopt;
    CountTable table = MakeCountTable(std::move(rows), std::move(columns));
    for (size_t i = 0; i < pairs.first.size(); ++i)
        CountPair(table, pairs.first[i], pairs.second[i]);
    return table;
}

namespace {

constexpr int kDateColumn = 85;

std::vector<std::string> CrossTags(const KovaState& s) {
    std::vector<std::string> tags;
    if (s.EpisodeFilling != 0)
        tags.push_back(" (EPISODE FILLED X)");
    if (s.EpisodeFillingY != 0)
        tags.push_back(" (EPISODE FILLED Y)");
    tags.push_back(RangeTag(s.FromRecord, s.ToRecord, true));
    tags.push_back(SelectionTag(s, s.FromRecord, s.ToRecord, true));
    return tags;
}

}  // namespace

bool RunCrossTables(KovaState& s, KovaUi& ui, int16_t varX, int16_t varY,
                    const ReportClock& clock) {
    if (varX < 1 || varX > 7 || varY < 1 || varY > 7 || s.Lag < 0 || s.Lag > 20 ||
        !RangeWithinSet(s.FromRecord, s.ToRecord, s.RecordCount1, s.Records1))
        return true;
    std::optional<CountTable> table = BuildCrossTable(s, ui, varX, varY);
    if (!table)
        return true;
    const std::string subject = VariableLabel(s, varX) + " x " + VariableLabel(s, varY);
    if (table->Rows() == 0 || table->Columns() == 0)
        return WriteNoCodesBlock(s, ui, "CROSS TABLES:", subject, {}, kDateColumn, clock);
    if (s.ShowFrequencyTable != 0) {
        AnalysisOutput block = OpenAnalysisOutput(s, LeadIn::PrefixAndBlank);
        WriteReportTitle(block, "CROSS TABLES: ", false, subject, CrossTags(s), kDateColumn,
                         clock());
        WriteReportRule(block, '=');
        ReportWriter lag;
        lag.Text("Row at Lag:").Number(-s.Lag);
        WriteCountTable(block, *table, "Cross Frequency Table", lag.Bytes());
        if (!FlushAnalysisOutput(s, ui, block))
            return false;
    }
    const SingleMatrix e = ExpectedFrequencies(table->counts);
    const ChiSquareLabels labels{"Expected Cross Table", subject, CrossTags(s),
                                 PrintedLabels(table->rowCategories),
                                 PrintedLabels(table->columnCategories)};
    return PrintChiSquareStatistics(s, ui, labels, table->counts, e,
                                    ComputeChiSquare(table->counts, e), clock);
}

}  // namespace core
