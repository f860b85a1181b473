// The program's one table of the Windows-1252 code page, in which it keeps
// all its text (file names included).
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace core {

// The character of every byte. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same
// number, so every byte string survives a round trip unchanged.
extern const std::array<char16_t, 256> kWindows1252;

// The byte of a character, or -1 when the code page has none for it.
int Windows1252Byte(char32_t c);

// The bytes as UTF-8.
std::string Windows1252ToUtf8(std::string_view bytes);

// Appends one Unicode character to UTF-8 text.
void AppendUtf8(char32_t code, std::string& out);

// The length of the well-formed UTF-8 sequence `text` begins with, its
// character in `code`; 0 when it begins with none (a stray or missing
// continuation byte, an overlong form, a surrogate, a character past
// U+10FFFF, or a sequence cut short by the end of `text`).
size_t Utf8Sequence(std::string_view text, char32_t& code);

// UTF-8 text as bytes; false (and `bytes` untouched) when it is no valid
// UTF-8 or holds a character the code page lacks.
bool Utf8ToWindows1252(std::string_view utf8, std::string& bytes);

// UTF-8 text as bytes, whatever it holds: a character the code page lacks,
// and each byte that begins no well-formed sequence (Utf8Sequence), becomes
// "?", and `replaced` grows by one for each; when `stray` is given, the bytes
// that begin no sequence count there instead.
std::string Utf8ToWindows1252Replacing(std::string_view utf8, size_t& replaced,
                                       size_t* stray = nullptr);

}  // namespace core
