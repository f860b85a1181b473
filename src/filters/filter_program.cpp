#include "filters/filter_program.h"

#include <charconv>
#include <cmath>

namespace core {

int VariableIndex(const std::string& operand) {
    if (operand.size() == 3 && operand[0] == '$' && operand[1] == 'V' && operand[2] >= '1' &&
        operand[2] <= '5')
        return operand[2] - '0';
    return 0;
}

FilterStop TooLargeForAFile() {
    return FilterStop(TooLargeToSaveText() + " The filter stopped; nothing was changed.",
                      "ERROR HELP");
}

bool FindBlockHeader(const KovaState& s, int16_t& FilterNo) {
    if (s.FilterCount < 1 || s.Records2.size() <= static_cast<size_t>(s.FilterCount))
        return false;
    if (FilterNo < 1)
        FilterNo = 1;
    if (FilterNo > s.FilterCount)
        return false;
    while (FilterNo != s.FilterCount && !IsBlockCode(s.Records2[FilterNo].V2))
        ++FilterNo;
    return true;
}

std::string GeneralNumberText(double value) {
    if (value == 0 || std::isnan(value))
        return "0";
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    std::string out(buf, res.ptr);
    for (char& c : out)
        if (c == 'e')
            c = 'E';
    return out;
}

}  // namespace core
