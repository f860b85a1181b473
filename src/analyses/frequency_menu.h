// The Frequency menu and the core of its options dialog.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "analyses/report_frame.h"
#include "store/state.h"
#include "store/ui.h"

namespace core {

// Texts of the options dialog's range boxes when it opens: the record numbers
// of the first and last record of data set 1 ("" when it has none).
std::array<std::string, 2> FrequencyRangePreset(const KovaState& s);

// The options dialog's OK: writes EpisodeFilling and TableBasedCategories and,
// with data set 1 shown, FromRecord/ToRecord from the typed texts (mapped to
// positions while a selection is shown). The range itself is not checked. A
// number outside the 16-bit range gives a message titled "Error", changes
// nothing and returns false (the dialog stays open).
bool ApplyFrequencyOptions(KovaState& s, KovaUi& ui, std::string_view fromText,
                           std::string_view toText, bool episodeFilling, bool tableBased);

// The captions of the Frequency menu's items 1..7: the labels of V1..V7, as
// views of the state's own (a label may be megabytes long; each opening of
// the menu reads them).
std::array<std::string_view, 7> FrequencyMenuCaptions(const KovaState& s);

// The Frequency menu's items: 1..7 analyse that variable, 9 ("All") V1..V7 in
// turn. Acts only while data set 1 is shown and has a file name. askOptions
// shows the options dialog modally; a Cancel there sets DialogCancelled.
void FrequencyMenuItem(KovaState& s, KovaUi& ui, int index, const std::function<void()>& askOptions,
                       const ReportClock& clock);

}  // namespace core
