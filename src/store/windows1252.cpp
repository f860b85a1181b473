#include "store/windows1252.h"

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

std::string Utf8ToWindows1252Replacing(std::string_view utf8, size_t& replaced) {
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            out.push_back(static_cast<char>(lead));
            ++i;
            continue;
        }
        // The length a lead byte announces, and the least character of that
        // length (a smaller one would be an overlong form).
        size_t length = 0;
        char32_t least = 0;
        if ((lead & 0xE0) == 0xC0) {
            length = 2;
            least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            least = 0x10000;
        }
        char32_t c = lead & (0x7F >> length);
        bool good = length != 0 && i + length <= utf8.size();
        for (size_t k = 1; good && k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            good = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        if (!good || c < least) {
            out.push_back('?');
            ++replaced;
            ++i;
            continue;
        }
        const int b = Windows1252Byte(c);
        if (b < 0)
            ++replaced;
        out.push_back(b < 0 ? '?' : static_cast<char>(b));
        i += length;
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
