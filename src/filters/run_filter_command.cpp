#include "filters/run_filter_command.h"

#include <new>
#include <optional>

#include "filters/filter_program.h"
#include "filters/filter_report.h"
#include "filters/filter_run.h"
#include "store/record_range.h"
#include "store/text.h"
#include "store/view.h"

namespace core {

namespace {

const char* const kNoMemory =
    "The filter could not be run: there is not enough memory for it. Nothing was changed.";

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
    MapRecordNumbersToPositions(s.Records1, s.RecordCount1, s.SelectionShown1 != kFalse, from, to);
    s.FromRecord = from;
    s.ToRecord = to;
    return s.FromRecord >= 1 && s.ToRecord <= s.RecordCount1 && s.FromRecord <= s.ToRecord;
}

bool RunFilterCommand(KovaState& s, KovaUi& ui, FilterRunKind kind) {
    // What no filter touches stays out of the copy below: the record
    // clipboard and the records of the file last appended, each up to a set.
    RecordSet clipboard = std::move(s.RecordClipboard);
    RecordSet appended = std::move(s.WorkRecords);
    struct PutBack {
        KovaState& s;
        RecordSet& clipboard;
        RecordSet& appended;
        ~PutBack() {
            s.RecordClipboard = std::move(clipboard);
            s.WorkRecords = std::move(appended);
        }
    } putBack{s, clipboard, appended};
    // The whole state besides, so that a failed command leaves everything as
    // it found it, whatever the state holds now or later.
    std::optional<KovaState> before;
    try {
        before.emplace(s);
    } catch (const std::exception&) {
        ui.Message(kNoMemory, "ERROR HELP", Icon::Exclamation);
        return false;
    }
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
    } catch (const std::bad_alloc&) {
        // The user's data comes back as it was, and the program goes on.
        text = kNoMemory;
        title = "ERROR HELP";
        icon = Icon::Exclamation;
    } catch (const std::exception& e) {
        text = std::string("The filter stopped on an internal error (") + e.what() +
               "). Nothing was changed.";
        title = "ERROR HELP";
    }
    ui.HideWait();
    const uint64_t changes1 = s.ChangeCount1;
    s = std::move(*before);
    // The records are back as they were before the command, yet the counter
    // only ever goes forward: a window bound to a record checks it again.
    s.ChangeCount1 = changes1 + 1;
    ui.MainChanged();
    ui.Message(text, title, icon);
    return false;
}

}  // namespace core
