// Clock-style sums and differences of time codes, as the filter actions use
// them: each code is split into hours, minutes and seconds, and each field
// carries or borrows at most once.
#pragma once

#include <string>

namespace core {

// TimeA + TimeB as "h:m:s" ("0" for an empty TimeA; TimeA itself, unchanged,
// for an empty TimeB). A code without ":" counts as 0:0:0.
std::string AddTimes(const std::string& TimeA, const std::string& TimeB);

// TimeA - TimeB, the same way; hours are never wrapped.
std::string SubtractTimes(const std::string& TimeA, const std::string& TimeB);

// A single-precision value as text: up to 7 significant digits, "." as the
// decimal point, no exponent, no padding.
std::string SevenDigitText(float value);

}  // namespace core
