#include "filters/filter_run.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "filters/filter_actions.h"
#include "filters/filter_conditions.h"
#include "filters/filter_program.h"
#include "filters/filter_report.h"
#include "filters/sieve_select.h"
#include "store/open_save.h"
#include "store/record_edit.h"
#include "store/text.h"

namespace core {

namespace {

const char* const kSelectionRefusal =
    "Undo the selection first: filters that delete or split records run only on the "
    "whole data set.";

std::string TooManyRecords() {
    return "The split would make more than " + PlainNumber(kMaxRecords) +
           " records; nothing was changed.";
}

// Split pass: every record of data set 1 whose text holds "///" is cut into
// pieces. Records are split one at a time so that each piece remembers the
// record it came from; `origin` gets, per new index, the index before.
void SplitPass(KovaState& s, KovaUi& ui, FilterPass& pass, std::vector<int>& origin) {
    const int before = s.RecordCount1;
    RecordSet result;
    result.reserve(static_cast<size_t>(before) + 1);
    result.emplace_back();
    origin.assign(1, 0);
    for (int i = 1; i <= before; ++i) {
        ProtocolRecord& r = s.Records1[i];
        if (r.V8.find("///") == std::string::npos) {
            result.push_back(std::move(r));
            origin.push_back(i);
            continue;
        }
        // The pieces' sequence numbers only last until the renumbering below,
        // so they must not refuse the split: the pieces are cut from a copy
        // numbered 1 and then count up from the record's own number, held at
        // 32767 where they would pass it. Only the record limit can refuse.
        const int firstSequence = r.V2;
        RecordSet one(2);
        one[1] = std::move(r);
        one[1].V2 = 1;
        int16_t count = 1;
        // The renumbering below gives the pieces their numbers: the whole
        // set is counted again after it.
        SplitSizeCheck check{pass.saved};
        if (!SplitRecordsAtSeparator(s, one, 1, count, "///", &check)) {
            if (check.refused)
                throw TooLargeForAFile();
            throw FilterStop(TooManyRecords(), "ERROR HELP");
        }
        for (int k = 1; k <= count; ++k) {
            one[k].V2 = static_cast<int16_t>(std::min(firstSequence + k - 1, 32767));
            result.push_back(std::move(one[k]));
            origin.push_back(i);
        }
        if (result.size() - 1 > static_cast<size_t>(kMaxRecords))
            throw FilterStop(TooManyRecords(), "ERROR HELP");
    }
    // Checked over the whole set: the records after the last split one count too.
    if (result.size() - 1 > static_cast<size_t>(kMaxRecords))
        throw FilterStop(TooManyRecords(), "ERROR HELP");
    for (size_t k = 1; k < result.size(); ++k)
        result[k].V0 = static_cast<int16_t>(k);
    s.Records1 = std::move(result);
    s.RecordCount1 = static_cast<int16_t>(s.Records1.size() - 1);
    ++s.ChangeCount1;
    RenumberSequencer(s, ui);
    const int added = s.RecordCount1 - before;
    s.ToRecord = static_cast<int16_t>(std::min<int>(s.ToRecord + added, s.RecordCount1));
}

// Deletion pass: drops every record whose origin was queued (all pieces of a
// queued record that was split).
void DeletionPass(KovaState& s, KovaUi& ui, const FilterPass& pass,
                  const std::vector<int>& origin) {
    RecordSet kept;
    kept.reserve(static_cast<size_t>(s.RecordCount1) + 1);
    kept.emplace_back();
    for (int i = 1; i <= s.RecordCount1; ++i) {
        if (pass.deleteQueued[origin[i]])
            continue;
        kept.push_back(std::move(s.Records1[i]));
        kept.back().V0 = static_cast<int16_t>(kept.size() - 1);
    }
    const bool dropped = static_cast<int>(kept.size()) - 1 != s.RecordCount1;
    s.Records1 = std::move(kept);
    s.RecordCount1 = static_cast<int16_t>(s.Records1.size() - 1);
    if (dropped)
        ++s.ChangeCount1;
    RenumberSequencer(s, ui);
    if (s.ToRecord > s.RecordCount1)
        s.ToRecord = s.RecordCount1;
}

// `saved` is what data set 1 takes saved, counted by the run's first block
// and then followed: the matched records keep it up to date and the passes
// that renumber the sequence count it again.
void RunConditionBlock(KovaState& s, KovaUi& ui, int16_t header, std::optional<SavedSize>& saved) {
    ui.ShowWait("filterno.", SignedNumber(header));
    FilterPass pass;
    pass.deleteQueued.assign(static_cast<size_t>(s.RecordCount1) + 1, 0);
    if (!saved)
        saved = SavedSizeOfSet(s, 1);
    pass.saved = *saved;

    const BlockConditions conditions(s.Records2, header);
    const int from = s.FromRecord;
    const int to = std::min<int>(s.ToRecord, s.RecordCount1);
    for (int i = std::max(from, 1); i <= to; ++i) {
        if (!conditions.Accept(s, s.Records1, i, to))
            continue;
        // The report names the record as it was numbered when it matched.
        const int16_t number = s.Records1[i].V0;
        ApplyFilterActions(s, pass, s.Records2[header], i, header);
        if (s.FilterReportOn != kFalse)
            AddFilterReportRow(s, number, header);
    }

    std::vector<int> origin;
    if (pass.FilterSplitCount != 0) {
        SplitPass(s, ui, pass, origin);
    } else {
        origin.resize(static_cast<size_t>(s.RecordCount1) + 1);
        for (size_t k = 0; k < origin.size(); ++k)
            origin[k] = static_cast<int>(k);
    }
    if (pass.FilterDeleteCount != 0)
        DeletionPass(s, ui, pass, origin);
    // Both passes renumber the sequence, whose numbers take more bytes as the
    // runs grow longer: what the set takes now is counted once more.
    if (pass.FilterSplitCount != 0 || pass.FilterDeleteCount != 0) {
        pass.saved = SavedSizeOfSet(s, 1);
        if (!pass.saved.Fits())
            throw TooLargeForAFile();
    }
    saved = pass.saved;
}

void RunBlock(KovaState& s, KovaUi& ui, int16_t& FilterNo, bool& refusalShown,
              std::optional<SavedSize>& saved) {
    if (!FindBlockHeader(s, FilterNo))
        return;
    switch (s.Records2[FilterNo].V2) {
        case kSelectBlock:
            // These change what set is shown: a block after them counts anew.
            saved.reset();
            SelectByFilterLines(s, ui, FilterNo);
            return;
        case kSieveBlock:
            saved.reset();
            SieveRecords(s, ui, FilterNo);
            return;
        case kConditionFilterBlock:
            break;
        default:
            return;
    }
    if (s.SelectionShown1 != kFalse && BlockChangesRecordCount(s.Records2[FilterNo])) {
        if (!refusalShown)
            ui.Message(kSelectionRefusal, "ERROR HELP", Icon::Exclamation);
        refusalShown = true;
        return;
    }
    RunConditionBlock(s, ui, FilterNo, saved);
}

}  // namespace

bool BlockChangesRecordCount(const ProtocolRecord& HeaderLine) {
    for (int field : kCellFields) {
        std::string cell = Trim(*TextField(HeaderLine, field));
        if (cell == "|del" || IsSplitMarkCell(cell))
            return true;
    }
    return false;
}

void RunFilter(KovaState& s, KovaUi& ui, int16_t& FilterNo) {
    bool refusalShown = false;
    std::optional<SavedSize> saved;
    RunBlock(s, ui, FilterNo, refusalShown, saved);
}

void RunAllFilters(KovaState& s, KovaUi& ui) {
    bool refusalShown = false;
    // What data set 1 takes saved is counted once for the whole run: counted
    // again at every block, over a set near the bound it took longer than the
    // blocks themselves.
    std::optional<SavedSize> saved;
    const int count = s.FilterCount;
    for (int k = 1; k <= count && k <= s.FilterCount; ++k) {
        if (s.Records2[k].V2 != kConditionFilterBlock)
            continue;
        int16_t copy = static_cast<int16_t>(k);
        RunBlock(s, ui, copy, refusalShown, saved);
    }
}

}  // namespace core
