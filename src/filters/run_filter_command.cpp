#include "filters/run_filter_command.h"

#include "filters/filter_program.h"
#include "filters/filter_report.h"
#include "filters/filter_run.h"
#include "store/text.h"
#include "store/view.h"

namespace core {

namespace {

// What a filter command may change of data set 1 and its views, kept so that a
// failed command can leave everything as it found it.
struct CommandSnapshot {
    RecordSet Records1;
    int16_t RecordCount1, CurrentRecord1, FromRecord, ToRecord, ViewMode;
    int16_t SieveActive, SieveCount, SievePosition;
    std::vector<float> SieveList;
    int16_t SelectionShown1, FullCount1;
    RecordSet FullRecords1;
    std::vector<int16_t> SelectionMarks1;
    MainWindowModel Main;
    ResultTableModel ResultTable;
    int FilterReportRow;

    explicit CommandSnapshot(const KovaState& s)
        : Records1(s.Records1),
          RecordCount1(s.RecordCount1),
          CurrentRecord1(s.CurrentRecord1),
          FromRecord(s.FromRecord),
          ToRecord(s.ToRecord),
          ViewMode(s.ViewMode),
          SieveActive(s.SieveActive),
          SieveCount(s.SieveCount),
          SievePosition(s.SievePosition),
          SieveList(s.SieveList),
          SelectionShown1(s.SelectionShown1),
          FullCount1(s.FullCount1),
          FullRecords1(s.FullRecords1),
          SelectionMarks1(s.SelectionMarks1),
          Main(s.Main),
          ResultTable(s.ResultTable),
          FilterReportRow(s.FilterReportRow) {}

    void Restore(KovaState& s) {
        s.Records1 = std::move(Records1);
        s.RecordCount1 = RecordCount1;
        ++s.ChangeCount1;
        s.CurrentRecord1 = CurrentRecord1;
        s.FromRecord = FromRecord;
        s.ToRecord = ToRecord;
        s.ViewMode = ViewMode;
        s.SieveActive = SieveActive;
        s.SieveCount = SieveCount;
        s.SievePosition = SievePosition;
        s.SieveList = std::move(SieveList);
        s.SelectionShown1 = SelectionShown1;
        s.FullCount1 = FullCount1;
        s.FullRecords1 = std::move(FullRecords1);
        s.SelectionMarks1 = std::move(SelectionMarks1);
        s.Main = std::move(Main);
        s.ResultTable = std::move(ResultTable);
        s.FilterReportRow = FilterReportRow;
    }
};

// Position of the first shown record from `start` on whose number is `number`;
// the number itself when none is.
int16_t ShownPositionOf(const KovaState& s, int16_t number, int start) {
    for (int p = std::max(start, 1); p <= s.RecordCount1; ++p)
        if (s.Records1[p].V0 == number)
            return static_cast<int16_t>(p);
    return number;
}

void Run(KovaState& s, KovaUi& ui, FilterRunKind kind) {
    // Both commands show data set 1 first, so the renumbering after a split or
    // deletion works the same way for either.
    ShowDataMode(s, ui);
    const bool report = s.FilterReportOn != kFalse;
    if (report)
        InitFilterReport(s);
    if (kind == FilterRunKind::CurrentFilter) {
        int16_t line = s.CurrentFilterLine;
        RunFilter(s, ui, line);
    } else {
        RunAllFilters(s, ui);
    }
    if (report)
        FinishFilterReport(s, ui);
    ui.HideWait();
    if (s.CurrentRecord1 > s.RecordCount1)
        s.CurrentRecord1 = s.RecordCount1;
    if (s.CurrentRecord1 < 1 && s.RecordCount1 > 0)
        s.CurrentRecord1 = 1;
    ShowDataMode(s, ui);
}

}  // namespace

std::pair<std::string, std::string> FilterRangePreset(const KovaState& s) {
    auto number = [&](int index) {
        if (index < 1 || static_cast<size_t>(index) >= s.Records1.size())
            return std::string();
        return PlainNumber(s.Records1[index].V0);
    };
    return {number(s.CurrentRecord1), number(s.RecordCount1)};
}

bool ReadFilterRange(KovaState& s, const std::string& FromText, const std::string& ToText) {
    int16_t from = 0, to = 0;
    try {
        from = ReadInt16(FromText);
        to = ReadInt16(ToText);
    } catch (const Overflow16&) {
        return false;
    }
    s.FromRecord = from;
    s.ToRecord = to;
    if (s.SelectionShown1 != kFalse) {
        s.FromRecord = ShownPositionOf(s, s.FromRecord, 1);
        s.ToRecord = ShownPositionOf(s, s.ToRecord, s.FromRecord);
    }
    return s.FromRecord >= 1 && s.ToRecord <= s.RecordCount1 && s.FromRecord <= s.ToRecord;
}

bool RunFilterCommand(KovaState& s, KovaUi& ui, FilterRunKind kind) {
    CommandSnapshot before(s);
    std::string text, title;
    Icon icon = Icon::Critical;
    try {
        Run(s, ui, kind);
        return true;
    } catch (const ConditionError& e) {
        text = e.what();
        title = "Fatal Error in condition filter:";
    } catch (const FilterStop& e) {
        text = e.what();
        title = e.title;
        icon = Icon::Exclamation;
    }
    ui.HideWait();
    before.Restore(s);
    ui.MainChanged();
    ui.Message(text, title, icon);
    return false;
}

}  // namespace core
