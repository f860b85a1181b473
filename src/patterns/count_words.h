// Word counting of protocol texts, shared by the word lists and the filters.
#pragma once

#include <string>
#include <string_view>

namespace core {

// The text as the word counts see it: lower case; the marks , . ! ? { } ( )
// [ ] : ; > < ` the quotes ' " and the slashes / \ as well as tabs and carriage
// returns turned into blanks; line feeds removed; trimmed.
std::string NormaliseWordText(std::string_view text);

// The number of blank-separated words of the normalised text. The argument is
// consumed (left empty); pass a copy when the text is still needed. The count
// is wide: a long text can hold more words than a 16-bit number.
int CountWords(std::string& text);

}  // namespace core
