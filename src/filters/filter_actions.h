// The action cells of a condition-filter block's header line.
#pragma once

#include <cstdint>
#include <string>

#include "filters/filter_program.h"
#include "store/state.h"

namespace core {

// Carries out one action cell. TargetField, AnchorField and AnchorV2 are the
// record fields themselves (the same field when the offset is 0); TargetIndex
// and AnchorIndex are indices in Records1. Deletions and split marks are
// counted in `pass`. A split mark changes only the target's text, any other
// action only AnchorField and AnchorV2: ApplyFilterActions follows the saved
// size on these alone.
void ApplyFieldAction(KovaState& s, FilterPass& pass, std::string& TargetField,
                      const std::string& ActionCell, std::string& AnchorField, int16_t& AnchorV2,
                      int TargetIndex, int AnchorIndex, const std::string& FieldName);

// The text behind the first StartMarker up to the first EndMarker after it;
// with no EndMarker there, the rest of the text.
std::string TextBetweenMarkers(const std::string& Text, const std::string& StartMarker,
                               const std::string& EndMarker);

// Trims the header's cells (in the filter line itself) and applies them, V1,
// V3..V8 in this order, to the anchor at AnchorIndex. The target is the
// record at the offset of the line above the header (0 when that line is a
// header or there is none).
void ApplyFilterActions(KovaState& s, FilterPass& pass, ProtocolRecord& HeaderLine, int AnchorIndex,
                        int16_t FilterNo);

}  // namespace core
