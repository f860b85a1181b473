#include "patterns/letter_case.h"

namespace core {

namespace {

unsigned char LowerByte(unsigned char c) {
    if (c >= 'A' && c <= 'Z')
        return c + 32;
    // Latin-1 capitals (except the multiplication sign) and the four
    // capitals that Windows-1252 puts in 0x80..0x9F.
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 32;
    switch (c) {
        case 0x8A:
            return 0x9A;
        case 0x8C:
            return 0x9C;
        case 0x8E:
            return 0x9E;
        case 0x9F:
            return 0xFF;
        default:
            return c;
    }
}

unsigned char UpperByte(unsigned char c) {
    if (c >= 'a' && c <= 'z')
        return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 32;
    switch (c) {
        case 0x9A:
            return 0x8A;
        case 0x9C:
            return 0x8C;
        case 0x9E:
            return 0x8E;
        case 0xFF:
            return 0x9F;
        default:
            return c;
    }
}

}  // namespace

std::string LowerCase(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(LowerByte(static_cast<unsigned char>(c)));
    return out;
}

std::string UpperCase(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(UpperByte(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace core
