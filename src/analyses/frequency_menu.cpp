#include "analyses/frequency_menu.h"

#include <algorithm>

#include "analyses/frequency_analysis.h"
#include "analyses/range_options.h"
#include "store/text.h"

namespace core {

std::array<std::string, 2> FrequencyRangePreset(const KovaState& s) {
    return ShownRangePreset(s.Records1, s.RecordCount1, PlainNumber);
}

bool ApplyFrequencyOptions(KovaState& s, KovaUi& ui, std::string_view fromText,
                           std::string_view toText, bool episodeFilling, bool tableBased) {
    int16_t from = 0;
    int16_t to = 0;
    if (s.ViewMode == 1 &&
        !ReadAndMapRange(ui, s.Records1, s.RecordCount1, s.SelectionShown1 != kFalse, fromText,
                         toText, from, to))
        return false;
    s.EpisodeFilling = episodeFilling ? 1 : 0;
    s.TableBasedCategories = tableBased ? 1 : 0;
    if (s.ViewMode == 1) {
        s.FromRecord = from;
        s.ToRecord = to;
    }
    return true;
}

std::array<std::string_view, 7> FrequencyMenuCaptions(const KovaState& s) {
    std::array<std::string_view, 7> captions;
    for (size_t i = 0; i < captions.size(); ++i)
        captions[i] = s.Varnaam[i + 1];
    return captions;
}

void FrequencyMenuItem(KovaState& s, KovaUi& ui, int index, const std::function<void()>& askOptions,
                       const ReportClock& clock) {
    RunAnalysisMenuItem(s, index, 1, askOptions,
                        [&](int16_t v) { return FrequencyAnalysis(s, ui, v, clock); });
}

}  // namespace core
