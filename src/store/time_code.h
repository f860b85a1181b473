// Time codes and small text helpers of the store.
#pragma once

#include <string>
#include <string_view>

namespace core {

// Seconds for "h:m:s" and "h:m", hours for a day-month-hour code, the leading
// number of any other text, 0 for the empty text.
double ParseTimeCode(std::string_view text);

}  // namespace core
