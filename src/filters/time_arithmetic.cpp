#include "filters/time_arithmetic.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "store/text.h"

namespace core {

namespace {

struct TimeParts {
    float h = 0, m = 0, s = 0;
};

TimeParts SplitTimeCode(std::string_view code) {
    TimeParts t;
    size_t p = code.find(':');
    if (p == std::string_view::npos)
        return t;
    t.h = static_cast<float>(ReadNumber(code.substr(0, p)));
    size_t q = code.find(':', p + 1);
    if (q != std::string_view::npos) {
        t.m = static_cast<float>(ReadNumber(code.substr(p + 1, q - p - 1)));
        // A third ":" ends the seconds' number, as any other non-digit does.
        t.s = static_cast<float>(ReadNumber(code.substr(q + 1)));
    } else {
        t.m = static_cast<float>(ReadNumber(code.substr(p + 1)));
    }
    return t;
}

std::string JoinParts(float h, float m, float s) {
    return SevenDigitText(h) + ":" + SevenDigitText(m) + ":" + SevenDigitText(s);
}

// What sums and differences share: an empty first code gives "0", an empty
// second leaves the first as it is; otherwise `combine` works on the parts.
template <typename Combine>
std::string CombineTimes(const std::string& timeA, const std::string& timeB, Combine combine) {
    if (timeA.empty())
        return "0";
    if (timeB.empty())
        return timeA;
    return combine(SplitTimeCode(timeA), SplitTimeCode(timeB));
}

}  // namespace

std::string SevenDigitText(float value) {
    if (value == 0 || !std::isfinite(value))
        return "0";
    // Seven significant digits in scientific form, then written out plainly.
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 6);
    std::string_view sci(buf, res.ptr - buf);
    bool negative = sci.front() == '-';
    if (negative)
        sci.remove_prefix(1);
    size_t e = sci.find('e');
    std::string digits;
    for (char c : sci.substr(0, e))
        if (c != '.')
            digits += c;
    int exponent = 0;
    std::string_view expText = sci.substr(e + 1);
    if (!expText.empty() && expText.front() == '+')
        expText.remove_prefix(1);
    std::from_chars(expText.data(), expText.data() + expText.size(), exponent);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    std::string out;
    if (exponent >= 0) {
        size_t intLen = static_cast<size_t>(exponent) + 1;
        if (digits.size() <= intLen) {
            out = digits + std::string(intLen - digits.size(), '0');
        } else {
            out = digits.substr(0, intLen) + "." + digits.substr(intLen);
        }
    } else {
        out = "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    }
    return negative ? "-" + out : out;
}

std::string AddTimes(const std::string& TimeA, const std::string& TimeB) {
    return CombineTimes(TimeA, TimeB, [](TimeParts a, TimeParts b) {
        float s = a.s + b.s;
        if (s > 59) {
            a.m += 1;
            s -= 60;
        }
        float m = a.m + b.m;
        if (m > 59) {
            a.h += 1;
            m -= 60;
        }
        float h = a.h + b.h;
        if (h > 23)
            h -= 24;
        return JoinParts(h, m, s);
    });
}

std::string SubtractTimes(const std::string& TimeA, const std::string& TimeB) {
    return CombineTimes(TimeA, TimeB, [](TimeParts a, TimeParts b) {
        float s = a.s - b.s;
        if (s < 0) {
            if (a.m > 0) {
                a.m -= 1;
                s += 60;
            } else if (a.m == 0) {
                a.h -= 1;
                a.m = 59;
                s += 60;
            }
        }
        float m = a.m - b.m;
        if (m < 0) {
            a.h -= 1;
            m += 60;
        }
        float h = a.h - b.h;
        return JoinParts(h, m, s);
    });
}

}  // namespace core
