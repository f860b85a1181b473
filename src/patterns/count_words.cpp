#include "patterns/count_words.h"

#include "patterns/letter_case.h"
#include "store/text.h"

namespace core {

std::string NormaliseWordText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : LowerCase(text)) {
        switch (c) {
            case '\n':
                break;
            case ',':
            case '.':
            case '!':
            case '?':
            case '{':
            case '}':
            case '(':
            case ')':
            case '[':
            case ']':
            case ':':
            case ';':
            case '>':
            case '<':
            case '`':
            case '\'':
            case '"':
            case '/':
            case '\\':
            case '\t':
            case '\r':
                out += ' ';
                break;
            default:
                out += c;
        }
    }
    return Trim(out);
}

int CountWords(std::string& text) {
    std::string rest = NormaliseWordText(text);
    text.clear();
    // Words are taken off the front one at a time, each ending at the next
    // blank, and the rest is trimmed: runs of blanks separate like one blank.
    int count = 0;
    size_t pos = 0;
    while (pos < rest.size()) {
        if (rest[pos] == ' ') {
            ++pos;
            continue;
        }
        ++count;
        size_t end = rest.find(' ', pos);
        pos = end == std::string::npos ? rest.size() : end;
    }
    return count;
}

}  // namespace core
