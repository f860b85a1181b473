#include "store/windows1252.h"

#include <algorithm>

namespace core {

namespace {

// Characters of the bytes 0x80..0x9F; the rest of the code page equals
// Latin-1.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

constexpr std::array<char16_t, 256> MakeTable() {
    std::array<char16_t, 256> table{};
    for (int b = 0; b < 256; ++b)
        table[b] = b >= 0x80 && b <= 0x9F ? kHigh[b - 0x80] : static_cast<char16_t>(b);
    return table;
}

}  // namespace

constinit const std::array<char16_t, 256> kWindows1252 = MakeTable();

int Windows1252Byte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<int>(c);
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == c)
            return 0x80 + i;
    }
    return -1;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char b : bytes)
        AppendUtf8(kWindows1252[static_cast<unsigned char>(b)], out);
    return out;
}

void AppendUtf8(char32_t code, std::string& out) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

size_t Utf8Sequence(std::string_view text, char32_t& code) {
    if (text.empty())
        return 0;
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    // The length a lead byte announces, and the range its second byte must
    // fall in: narrower after E0 and F0 (no overlong forms), ED (no
    // surrogates) and F4 (nothing past U+10FFFF).
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    char32_t c = lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[k]);
        if (next < low || next > high)
            return 0;
        low = 0x80;
        high = 0xBF;
        c = (c << 6) | (next & 0x3F);
    }
    code = c;
    return length;
}

std::string Utf8ToWindows1252Replacing(std::string_view utf8, size_t& replaced, size_t* stray) {
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        if (static_cast<unsigned char>(utf8[i]) < 0x80) {
            out.push_back(utf8[i++]);
            continue;
        }
        char32_t c = 0;
        const size_t length = Utf8Sequence(utf8.substr(i), c);
        const int b = length == 0 ? -1 : Windows1252Byte(c);
        if (length == 0 && stray != nullptr)
            ++*stray;
        else if (b < 0)
            ++replaced;
        out.push_back(b < 0 ? '?' : static_cast<char>(b));
        i += std::max<size_t>(length, 1);
    }
    return out;
}

bool Utf8ToWindows1252(std::string_view utf8, std::string& bytes) {
    size_t replaced = 0;
    std::string out = Utf8ToWindows1252Replacing(utf8, replaced);
    if (replaced != 0)
        return false;
    bytes = std::move(out);
    return true;
}

}  // namespace core
