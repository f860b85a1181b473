#include "analyses/frequency_menu.h"

#include <algorithm>

#include "analyses/frequency_analysis.h"
#include "store/record_range.h"
#include "store/text.h"

namespace core {

std::array<std::string, 2> FrequencyRangePreset(const KovaState& s) {
    if (s.RecordCount1 < 1 || s.Records1.size() <= static_cast<size_t>(s.RecordCount1))
        return {"", ""};
    return {PlainNumber(s.Records1[1].V0),
            PlainNumber(s.Records1[static_cast<size_t>(s.RecordCount1)].V0)};
}

bool ApplyFrequencyOptions(KovaState& s, KovaUi& ui, std::string_view fromText,
                           std::string_view toText, bool episodeFilling, bool tableBased) {
    int16_t from = 0;
    int16_t to = 0;
    if (s.ViewMode == 1) {
        try {
            from = ReadInt16(fromText);
            to = ReadInt16(toText);
        } catch (const Overflow16&) {
            ui.Message("Record numbers are whole numbers from 1 to 32767.", "Error",
                       Icon::Exclamation);
            return false;
        }
    }
    s.EpisodeFilling = episodeFilling ? 1 : 0;
    s.TableBasedCategories = tableBased ? 1 : 0;
    if (s.ViewMode == 1) {
        MapRecordNumbersToPositions(s.Records1, s.RecordCount1, s.SelectionShown1 != kFalse, from,
                                    to);
        s.FromRecord = from;
        s.ToRecord = to;
    }
    return true;
}

std::array<std::string, 7> FrequencyMenuCaptions(const KovaState& s) {
    std::array<std::string, 7> captions;
    for (size_t i = 0; i < captions.size(); ++i)
        captions[i] = s.Varnaam[i + 1];
    return captions;
}

void FrequencyMenuItem(KovaState& s, KovaUi& ui, int index, const std::function<void()>& askOptions,
                       const ReportClock& clock) {
    if (s.ViewMode != 1 || s.DataFileName1.empty())
        return;
    if (!((index >= 1 && index <= 7) || index == 9))
        return;
    s.EpisodeFilling = 0;
    s.DialogCancelled = 0;
    askOptions();
    if (s.DialogCancelled != 0)
        return;
    if (index == 9) {
        for (int16_t v = 1; v <= 7; ++v)
            if (!FrequencyAnalysis(s, ui, v, clock))
                return;
    } else {
        FrequencyAnalysis(s, ui, static_cast<int16_t>(index), clock);
    }
}

}  // namespace core
