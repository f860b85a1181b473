#include "store/text.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace core {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads the next non-blank character of `text` from `pos` on, without taking it.
char PeekNonBlank(std::string_view text, size_t& pos) {
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
    return pos < text.size() ? text[pos] : '\0';
}

}  // namespace

double ReadNumber(std::string_view text) {
    // Gather the characters of the number with the blanks taken out, then
    // convert them locale-independently.
    std::string mantissa;
    bool negative = false;
    size_t pos = 0;
    char c = PeekNonBlank(text, pos);
    if (c == '+' || c == '-') {
        negative = c == '-';
        ++pos;
    }
    bool anyDigit = false;
    bool seenPoint = false;
    for (;;) {
        c = PeekNonBlank(text, pos);
        if (IsDigit(c)) {
            mantissa += c;
            anyDigit = true;
        } else if (c == '.' && !seenPoint) {
            mantissa += c;
            seenPoint = true;
        } else {
            break;
        }
        ++pos;
    }
    if (!anyDigit) {
        return 0.0;
    }
    // An exponent counts only when at least one digit follows the E.
    std::string exponent;
    if (c == 'E' || c == 'e') {
        size_t p = pos + 1;
        std::string digits;
        char e = PeekNonBlank(text, p);
        if (e == '+' || e == '-') {
            if (e == '-') {
                digits += '-';
            }
            ++p;
        }
        bool expDigit = false;
        for (;;) {
            e = PeekNonBlank(text, p);
            if (!IsDigit(e)) {
                break;
            }
            digits += e;
            expDigit = true;
            ++p;
        }
        if (expDigit) {
            exponent = "e" + digits;
        }
    }
    const std::string number = mantissa + exponent;
    double value = 0.0;
    auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Too large gives infinity (which no 16-bit store accepts), too small zero.
        const bool tiny = !exponent.empty() && exponent[1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    } else if (ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

int16_t RoundTo16(double value) {
    // nearbyint in the default rounding mode rounds halves to the even neighbour.
    const double r = std::nearbyint(value);
    if (!(r >= -32768.0 && r <= 32767.0)) {
        throw Overflow16("Overflow");
    }
    return static_cast<int16_t>(r);
}

int16_t ReadInt16(std::string_view text) {
    return RoundTo16(ReadNumber(text));
}

std::string TrimLeft(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

std::string TrimRight(std::string_view text) {
    const size_t last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string() : std::string(text.substr(0, last + 1));
}

std::string Trim(std::string_view text) {
    return std::string(TrimmedView(text));
}

std::string_view TrimmedView(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string SignedNumber(long long value) {
    return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}

std::string FileNumber(long long value) {
    return SignedNumber(value) + " ";
}

std::string PlainNumber(long long value) {
    return std::to_string(value);
}

namespace {

// The magnitude of `value` rounded to `decimals` places, halves away from zero,
// as a digit string of units of 10^-decimals. Works on the value's decimal form
// with 15 significant digits, so 0.125 or 0.625 round up as they read, not as
// their binary neighbours would. `shift` multiplies by 10^shift first.
std::string RoundedUnits(double value, int decimals, int shift) {
    constexpr int kSignificant = 15;
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific,
                             kSignificant - 1);
    std::string_view text(buf, res.ptr - buf);
    const size_t ePos = text.find('e');
    std::string digits;
    for (char c : text.substr(0, ePos)) {
        if (IsDigit(c)) {
            digits += c;
        }
    }
    int exp10 = 0;
    std::string_view expText = text.substr(ePos + 1);
    if (!expText.empty() && expText[0] == '+') {
        expText.remove_prefix(1);
    }
    std::from_chars(expText.data(), expText.data() + expText.size(), exp10);
    if (digits.find_first_not_of('0') == std::string::npos) {
        return "0";
    }
    // digits[0] stands for 10^(exp10 + shift); in units of 10^-decimals that is
    // 10^scaledExp, so the first scaledExp + 1 digits form the integer part.
    const long long scaledExp = static_cast<long long>(exp10) + shift + decimals;
    const long long keep = scaledExp + 1;
    const long long total = static_cast<long long>(digits.size());
    std::string units;
    bool roundUp = false;
    if (keep >= total) {
        units = digits + std::string(static_cast<size_t>(keep - total), '0');
    } else if (keep >= 0) {
        units = digits.substr(0, static_cast<size_t>(keep));
        roundUp = digits[static_cast<size_t>(keep)] >= '5';
    }
    if (units.empty()) {
        units = "0";
    }
    if (roundUp) {
        int i = static_cast<int>(units.size()) - 1;
        while (i >= 0 && units[i] == '9') {
            units[i] = '0';
            --i;
        }
        if (i < 0) {
            units.insert(units.begin(), '1');
        } else {
            ++units[i];
        }
    }
    const size_t nonZero = units.find_first_not_of('0');
    return nonZero == std::string::npos ? "0" : units.substr(nonZero);
}

bool IsPlaceholder(char c) {
    return c == '#' || c == '0';
}

}  // namespace

std::string FormatNumber(double value, std::string_view pattern) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-Inf" : "Inf";
    }
    const size_t point = pattern.find('.');
    const std::string_view intPattern = pattern.substr(0, point);
    const std::string_view fracPattern =
        point == std::string_view::npos ? std::string_view() : pattern.substr(point + 1);
    const int intSlots =
        static_cast<int>(std::count_if(intPattern.begin(), intPattern.end(), IsPlaceholder));
    const int decimals =
        static_cast<int>(std::count_if(fracPattern.begin(), fracPattern.end(), IsPlaceholder));
    const bool percent = pattern.find('%') != std::string_view::npos;

    std::string units = RoundedUnits(value, decimals, percent ? 2 : 0);
    const bool negative = value < 0 && units != "0";
    if (units.size() <= static_cast<size_t>(decimals)) {
        units.insert(0, static_cast<size_t>(decimals) + 1 - units.size(), '0');
    }
    std::string intDigits = units.substr(0, units.size() - decimals);
    std::string fracDigits = units.substr(units.size() - decimals);
    intDigits.erase(0, std::min(intDigits.find_first_not_of('0'), intDigits.size()));

    // The integer part shows at least as many digits as there are placeholders
    // from the first '0' on; leading '#' places print nothing.
    int minDigits = 0;
    int slot = 0;
    for (char c : intPattern) {
        if (IsPlaceholder(c)) {
            if (c == '0') {
                minDigits = intSlots - slot;
                break;
            }
            ++slot;
        }
    }
    if (static_cast<int>(intDigits.size()) < minDigits) {
        intDigits.insert(0, minDigits - intDigits.size(), '0');
    }
    // '#' places at the end of the decimals drop trailing zeros.
    int fracShown = decimals;
    {
        int place = decimals;
        for (auto it = fracPattern.rbegin(); it != fracPattern.rend(); ++it) {
            if (!IsPlaceholder(*it)) {
                continue;
            }
            --place;
            if (*it != '#' || fracDigits[place] != '0' || place + 1 != fracShown) {
                break;
            }
            fracShown = place;
        }
    }

    std::string out = negative ? "-" : "";
    const int lead = intSlots - static_cast<int>(intDigits.size());  // may be negative
    slot = 0;
    for (char c : intPattern) {
        if (!IsPlaceholder(c)) {
            out += c;
            continue;
        }
        if (slot == 0 && lead < 0) {
            out += intDigits.substr(0, static_cast<size_t>(1 - lead));  // wider than the pattern
        } else if (slot >= lead) {
            out += intDigits[slot - lead];
        }
        ++slot;
    }
    if (intSlots == 0) {
        out += intDigits;
    }
    if (point != std::string_view::npos) {
        out += '.';
        int place = 0;
        for (char c : fracPattern) {
            if (!IsPlaceholder(c)) {
                out += c;
                continue;
            }
            if (place < fracShown) {
                out += fracDigits[place];
            }
            ++place;
        }
    }
    return out;
}

WildcardPattern WildcardPattern::Compile(std::string_view pattern) {
    WildcardPattern compiled;
    compiled.source_ = std::string(pattern);
    std::vector<Token>& tokens = compiled.tokens_;
    std::vector<Segment>& segments = compiled.segments_;
    segments.emplace_back();
    bool afterStar = false;
    size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        Token t;
        if (c == '*') {
            ++i;
            // A star ends the segment before it; a run of stars is one star.
            if (!afterStar) {
                segments.emplace_back();
                segments.back().first = tokens.size();
            }
            afterStar = true;
            continue;
        }
        afterStar = false;
        if (c == '?') {
            t.kind = Token::Any;
            ++i;
        } else if (c == '#') {
            t.kind = Token::Digit;
            ++i;
        } else if (c == '[') {
            size_t j = i + 1;
            bool negate = false;
            if (j < pattern.size() && pattern[j] == '!') {
                negate = true;
                ++j;
            }
            const size_t first = j;
            while (j < pattern.size() && pattern[j] != ']') {
                const auto lo = static_cast<unsigned char>(pattern[j]);
                // "a-z" is a range; a '-' first or last in the set is itself.
                if (j + 2 < pattern.size() && pattern[j + 1] == '-' && pattern[j + 2] != ']') {
                    const auto hi = static_cast<unsigned char>(pattern[j + 2]);
                    if (hi < lo) {
                        throw BadPattern("Descending range in pattern: " + std::string(pattern));
                    }
                    for (unsigned v = lo; v <= hi; ++v) {
                        t.set.set(v);
                    }
                    j += 3;
                } else {
                    t.set.set(lo);
                    ++j;
                }
            }
            if (j >= pattern.size()) {
                throw BadPattern("Unclosed [ in pattern: " + std::string(pattern));
            }
            if (j == first) {
                throw BadPattern("Empty [] in pattern: " + std::string(pattern));
            }
            if (negate) {
                t.set.flip();
            }
            t.kind = Token::Set;
            i = j + 1;
        } else {
            t.byte = static_cast<unsigned char>(c);
            ++i;
        }
        Segment& segment = segments.back();
        if (t.kind == Token::Literal) {
            segment.bytes += static_cast<char>(t.byte);
        } else {
            segment.literal = false;
        }
        ++segment.count;
        tokens.push_back(std::move(t));
    }
    return compiled;
}

bool WildcardPattern::Token::Accepts(unsigned char c) const {
    switch (kind) {
        case Any:
            return true;
        case Digit:
            return c >= '0' && c <= '9';
        case Set:
            return set.test(c);
        case Literal:
            return byte == c;
    }
    return false;
}

bool WildcardPattern::MatchesAt(const Segment& segment, std::string_view text, size_t at) const {
    if (segment.literal) {
        return text.compare(at, segment.count, segment.bytes) == 0;
    }
    for (size_t k = 0; k < segment.count; ++k) {
        if (!tokens_[segment.first + k].Accepts(static_cast<unsigned char>(text[at + k]))) {
            return false;
        }
    }
    return true;
}

size_t WildcardPattern::FindFrom(const Segment& segment, std::string_view text, size_t from) const {
    if (segment.literal) {
        return text.find(segment.bytes, from);
    }
    for (size_t at = from; at + segment.count <= text.size(); ++at) {
        if (MatchesAt(segment, text, at)) {
            return at;
        }
    }
    return std::string_view::npos;
}

bool WildcardPattern::Matches(std::string_view text) const {
    const Segment& head = segments_.front();
    if (segments_.size() == 1) {
        return text.size() == head.count && MatchesAt(head, text, 0);
    }
    // Between stars every token takes one byte, so the head must start the
    // text, the tail must end it, and each segment in between may take the
    // first place where it fits after the one before: an earlier place never
    // leaves less room for the rest.
    const Segment& tail = segments_.back();
    if (text.size() < head.count + tail.count || !MatchesAt(head, text, 0) ||
        !MatchesAt(tail, text, text.size() - tail.count)) {
        return false;
    }
    const std::string_view middle = text.substr(0, text.size() - tail.count);
    size_t from = head.count;
    for (size_t k = 1; k + 1 < segments_.size(); ++k) {
        const size_t at = FindFrom(segments_[k], middle, from);
        if (at == std::string_view::npos) {
            return false;
        }
        from = at + segments_[k].count;
    }
    return true;
}

bool WildcardMatch(std::string_view text, std::string_view pattern) {
    return WildcardPattern::Compile(pattern).Matches(text);
}

std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement) {
    if (find.empty()) {
        return std::string(text);
    }
    std::string out;
    size_t from = 0;
    for (;;) {
        const size_t at = text.find(find, from);
        if (at == std::string_view::npos) {
            break;
        }
        out.append(text.substr(from, at - from));
        out.append(replacement);
        from = at + find.size();
    }
    out.append(text.substr(from));
    return out;
}

namespace {

// Windows-1252 letters folded to their lower-case form.
constexpr std::array<unsigned char, 256> MakeFoldTable() {
    std::array<unsigned char, 256> fold{};
    for (unsigned i = 0; i < 256; ++i) {
        fold[i] = static_cast<unsigned char>(i);
    }
    for (unsigned i = 'A'; i <= 'Z'; ++i) {
        fold[i] = static_cast<unsigned char>(i + 0x20);
    }
    for (unsigned i = 0xC0; i <= 0xDE; ++i) {
        if (i != 0xD7) {
            fold[i] = static_cast<unsigned char>(i + 0x20);
        }
    }
    fold[0x8A] = 0x9A;  // S caron
    fold[0x8C] = 0x9C;  // OE
    fold[0x8E] = 0x9E;  // Z caron
    fold[0x9F] = 0xFF;  // Y diaeresis
    return fold;
}

constexpr std::array<unsigned char, 256> kFold = MakeFoldTable();

}  // namespace

int CompareCategories(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const unsigned char x = kFold[static_cast<unsigned char>(a[i])];
        const unsigned char y = kFold[static_cast<unsigned char>(b[i])];
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

size_t InsertSorted(std::vector<std::string>& list, std::string item) {
    const auto at = std::upper_bound(
        list.begin(), list.end(), item,
        [](const std::string& x, const std::string& y) { return CompareCategories(x, y) < 0; });
    const size_t index = static_cast<size_t>(at - list.begin());
    list.insert(at, std::move(item));
    return index;
}

std::string DerivedName(std::string_view fileName, std::string_view extension) {
    if (fileName.size() < 4) {
        throw std::invalid_argument("The file name \"" + std::string(fileName) +
                                    "\" is too short to derive a file name from.");
    }
    // Only an extension gives way: a name without one (a protocol "proj/ab",
    // "protocol") keeps its whole name, so its derived files stay beside it
    // and apart from those of its neighbours.
    const std::string_view last = fileName.substr(fileName.size() - 4);
    const bool hasExtension = last[0] == '.' && last.find('/') == std::string_view::npos;
    const size_t keep = hasExtension ? fileName.size() - 4 : fileName.size();
    return std::string(fileName.substr(0, keep)) + std::string(extension);
}

namespace {

// The first `length` bytes of a longer text (one less where they would end
// inside a CR LF pair) followed by `mark`; a text of at most `length` bytes
// whole.
std::string CutWithMark(std::string_view text, size_t length, std::string_view mark) {
    if (text.size() <= length)
        return std::string(text);
    size_t cut = length;
    if (cut > 0 && text[cut - 1] == '\r' && text[cut] == '\n')
        --cut;
    std::string out(text.substr(0, cut));
    out += mark;
    return out;
}

}  // namespace

std::string QuoteForMessage(std::string_view text) {
    return CutWithMark(text, kMessageQuoteLength, "...");
}

std::string PrintedLabel(std::string_view text) {
    if (text.size() <= kPrintedLabelLength + kCutMark.size() && text.ends_with(kCutMark))
        return std::string(text);
    return CutWithMark(text, kPrintedLabelLength, kCutMark);
}

std::string ErrorText(long long number, std::string_view source, std::string_view description) {
    return "Error # " + SignedNumber(number) + " was generated by " + std::string(source) + "\r" +
           std::string(description);
}

}  // namespace core
