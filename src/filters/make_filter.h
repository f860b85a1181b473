// "Make Filter": the current record of data set 1 becomes a filter block of
// two lines, a condition line that matches its text (or the part of it the
// user selected) and a header line that writes its codes V4..V7.
#pragma once

#include <string>
#include <string_view>

#include "store/state.h"
#include "store/ui.h"

namespace core {

// The text with the wildcard characters made literal: "[" first (so that the
// brackets added after it stay intact), then "?", "#" and "*".
std::string EscapeWildcards(std::string_view text);

// The condition text for the whole text `text` of the text box and its
// selected part `selected`: with nothing selected the escaped whole text;
// else the escaped selection with "*" after it when its first occurrence
// starts the text, before it when that occurrence ends the text, and on both
// sides otherwise.
std::string MakeFilterCondition(std::string_view text, std::string_view selected);

// Inserts the two lines after the current filter line and shows the filter
// lines with the new header line current. Acts only while data set 1 is shown
// and a filter file is open. A shown selection of the filter lines is first
// written back and ended, so the lines go into the whole program. A program
// too long to take two more lines, or that they would make too large to be
// saved, is refused with a message. True when the lines were inserted.
bool MakeFilter(KovaState& s, KovaUi& ui, std::string_view text, std::string_view selected);

}  // namespace core
