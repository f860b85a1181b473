// What the range dialogs of the analyses share: reading the two typed record
// numbers, presetting the first and last shown ones, and running a menu item.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "store/record.h"
#include "store/state.h"
#include "store/ui.h"

namespace core {

// Reads the two typed numbers of a range as 16-bit integers and maps them to
// positions of the shown set; a number out of range gets the one message and
// false.
bool ReadAndMapRange(KovaUi& ui, const RecordSet& records, int16_t count, bool selectionShown,
                     std::string_view fromText, std::string_view toText, int16_t& from,
                     int16_t& to);

// The numbers of the first and last of the `count` shown records, written by
// `format`; empty when nothing is shown.
std::array<std::string, 2> ShownRangePreset(const RecordSet& records, int16_t count,
                                            std::string (*format)(long long));

// A menu item of an analysis over the variables first..7, or 9 for all of
// them: needs data 1 in view, resets the episode filling, asks the options and
// runs the analysis unless cancelled; All stops at the first failure.
void RunAnalysisMenuItem(KovaState& s, int index, int16_t first,
                         const std::function<void()>& askOptions,
                         const std::function<bool(int16_t)>& run);

}  // namespace core
