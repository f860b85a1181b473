#include "analyses/range_options.h"

#include "store/record_range.h"
#include "store/text.h"

namespace core {

bool ReadAndMapRange(KovaUi& ui, const RecordSet& records, int16_t count, bool selectionShown,
                     std::string_view fromText, std::string_view toText, int16_t& from,
                     int16_t& to) {
    try {
        from = ReadInt16(fromText);
        to = ReadInt16(toText);
    } catch (const Overflow16&) {
        ui.Message("Record numbers are whole numbers from 1 to 32767.", "Error", Icon::Exclamation);
        return false;
    }
    MapRecordNumbersToPositions(records, count, selectionShown, from, to);
    return true;
}

std::array<std::string, 2> ShownRangePreset(const RecordSet& records, int16_t count,
                                            std::string (*format)(long long)) {
    if (count < 1 || records.size() <= static_cast<size_t>(count))
        return {"", ""};
    return {format(records[1].V0), format(records[static_cast<size_t>(count)].V0)};
}

void RunAnalysisMenuItem(KovaState& s, int index, int16_t first,
                         const std::function<void()>& askOptions,
                         const std::function<bool(int16_t)>& run) {
    if (s.ViewMode != 1 || s.DataFileName1.empty())
        return;
    if (!((index >= first && index <= 7) || index == 9))
        return;
    s.EpisodeFilling = 0;
    s.DialogCancelled = 0;
    askOptions();
    if (s.DialogCancelled != 0)
        return;
    if (index == 9) {
        for (int16_t v = first; v <= 7; ++v)
            if (!run(v))
                return;
    } else {
        run(static_cast<int16_t>(index));
    }
}

}  // namespace core
