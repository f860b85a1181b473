#include "store/time_code.h"

#include <array>
#include <utility>

#include "store/text.h"

namespace core {

int MonthOffsetHours(std::string_view code) {
    static constexpr std::array<std::pair<std::string_view, int>, 12> kMonths{{
        {"Jn", 0},
        {"Fb", 744},
        {"Mr", 1416},
        {"Ar", 2160},
        {"My", 2880},
        {"Ju", 3624},
        {"Jl", 4344},
        {"Ag", 5088},
        {"Sp", 5832},
        {"Ot", 6552},
        {"Nv", 7296},
        {"Dc", 8016},
    }};
    for (const auto& [name, offset] : kMonths) {
        if (name == code) {
            return offset;
        }
    }
    return 0;
}

double ParseTimeCode(std::string_view text) {
    if (text.empty()) {
        return 0.0;
    }
    const size_t p1 = text.find(':');
    if (p1 != std::string_view::npos) {
        // Hours and minutes are single precision; the seconds keep double.
        const float h = static_cast<float>(ReadNumber(text.substr(0, p1)) * 3600.0);
        const size_t p2 = text.find(':', p1 + 1);
        if (p2 != std::string_view::npos) {
            // The minutes text runs up to and including the second colon; the
            // seconds' number stops at a third colon.
            const float m = static_cast<float>(ReadNumber(text.substr(p1 + 1, p2 - p1)) * 60.0);
            const float hm = h + m;
            return static_cast<double>(hm) + ReadNumber(text.substr(p2 + 1));
        }
        const float m = static_cast<float>(ReadNumber(text.substr(p1 + 1)) * 60.0);
        const float hm = h + m;
        return static_cast<double>(hm);
    }
    static const WildcardPattern kDayMonthHour = WildcardPattern::Compile("*#[A-Z][a-z]#*");
    if (kDayMonthHour.Matches(text)) {
        // Day, month code and hour by position, chosen by the length alone; the
        // last two characters are minutes, which do not count.
        double day = 0;
        double hour = 0;
        int offset = 0;
        if (text.size() == 8) {
            day = ReadNumber(text.substr(0, 2));
            offset = MonthOffsetHours(text.substr(2, 2));
            hour = ReadNumber(text.substr(4, 2));
        } else if (text.size() == 7) {
            day = ReadNumber(text.substr(0, 1));
            offset = MonthOffsetHours(text.substr(1, 2));
            hour = ReadNumber(text.substr(3, 2));
        }
        return static_cast<double>(static_cast<float>(day * 24 + offset + hour));
    }
    return ReadNumber(text);
}

}  // namespace core
