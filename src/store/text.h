// Shared text and number primitives. Every part of the program uses these and
// no other implementation of the same job.
#pragma once

#include <bitset>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// A value that does not fit a 16-bit integer (after rounding).
struct Overflow16 : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A wildcard pattern that cannot be used (an unclosed "[", an empty or
// descending set).
struct BadPattern : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Reads a number from the start of a text: blanks (spaces and tabs) are skipped anywhere, then
// the longest prefix that forms a decimal number (sign, digits, ".", exponent
// E/e) is taken; 0 when there is none. "." is always the decimal point.
double ReadNumber(std::string_view text);

// Rounds to the nearest integer, halves to even, and checks the 16-bit range;
// throws Overflow16 outside -32768..32767.
int16_t RoundTo16(double value);

// ReadNumber then RoundTo16.
int16_t ReadInt16(std::string_view text);

// Removes leading and trailing space characters (only ' ', not tabs).
std::string Trim(std::string_view text);
// Trim's result as a view of the text itself.
std::string_view TrimmedView(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

// Number texts: with the sign position (" 5", "-5"), the file form with the
// sign position and one trailing blank (" 5 ", "-5 "), and plain digits.
std::string SignedNumber(long long value);
std::string FileNumber(long long value);
std::string PlainNumber(long long value);

// Formats a value with a report pattern such as "####0", "####0.00",
// "####0.00%" or "(####0)": '0' always a digit, '#' a digit unless a leading
// zero, '%' multiplies by 100, other characters literal. Rounds halves away
// from zero; a number wider than the pattern is written whole.
std::string FormatNumber(double value, std::string_view pattern);

// Wildcard match of the whole text: '*' any run, '?' one character, '#' one
// digit, "[set]" one character of the set (ranges a-z by byte value), "[!set]"
// one character outside it; inside a set "* ? # [" are literal, so "[[]", "[*]",
// "[?]" and "[#]" match those characters; a "-" first or last in a set and a
// "]" outside a set are literal. '*' also spans line breaks. Case-sensitive.
// Throws BadPattern for an unclosed "[", an empty set "[]" or "[!]" and a
// descending range such as "[z-a]", whatever the text.
bool WildcardMatch(std::string_view text, std::string_view pattern);

// A wildcard pattern (WildcardMatch's syntax) read once, to test many texts:
// WildcardMatch is Compile and one Matches.
class WildcardPattern {
public:
    // Throws BadPattern as WildcardMatch does.
    static WildcardPattern Compile(std::string_view pattern);

    bool Matches(std::string_view text) const;

    // The pattern as written.
    const std::string& Source() const { return source_; }

private:
    // One element of the pattern; every element takes exactly one byte.
    struct Token {
        enum Kind : unsigned char { Any, Digit, Set, Literal } kind = Literal;
        unsigned char byte = 0;
        std::bitset<256> set;
        bool Accepts(unsigned char c) const;
    };
    // A run of tokens between two stars (or an end of the pattern); when it
    // holds literal bytes only, they are kept as text to be searched for.
    struct Segment {
        size_t first = 0;
        size_t count = 0;
        bool literal = true;
        std::string bytes;
    };

    bool MatchesAt(const Segment& segment, std::string_view text, size_t at) const;
    size_t FindFrom(const Segment& segment, std::string_view text, size_t from) const;

    std::string source_;
    std::vector<Token> tokens_;
    // The segments in order: one more than the pattern has runs of stars.
    std::vector<Segment> segments_;
};

// Every occurrence of `find` replaced by `replacement`, left to right, not
// overlapping; an empty `find` changes nothing.
std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement);

// The one ordering of every sorted list of the program (coding lists, the
// collectors of distinct codes): case-insensitive over Windows-1252 letters.
// Returns <0, 0, >0.
int CompareCategories(std::string_view a, std::string_view b);

// Inserts into a list kept in that order; an item equal to existing ones goes
// after them. Returns the index where it went.
size_t InsertSorted(std::vector<std::string>& list, std::string item);

// The derived name of a file: the name less its extension followed by
// `extension` (".bak", ".ana", ".lst", ".kov", ".old"). Only a last four
// bytes of a "." and three others, none of them '/', are an extension that
// gives way ("talk.kov" gives "talk.bak"); any other name gets `extension`
// added ("proj/ab" gives "proj/ab.bak", "data.xlsx" gives "data.xlsx.bak").
// A name shorter than four bytes has nothing to derive from: throws
// std::invalid_argument, which callers report as an error of the command.
std::string DerivedName(std::string_view fileName, std::string_view extension);

// A size as a message names it: whole megabytes ("16 MB"). Inline, for the
// reader program, which links only the workbook's own sources.
inline std::string SizeInMB(size_t bytes) {
    return std::to_string(bytes >> 20) + " MB";
}

// How many characters of a field or of a file's content a message quotes.
inline constexpr size_t kMessageQuoteLength = 60;

// What a message quotes of a field or of a file's content, whatever its
// size: the text itself when it has at most kMessageQuoteLength characters,
// else its first characters followed by "..." to show that it was cut. A
// CR LF pair, which shows as one line break, is never split.
std::string QuoteForMessage(std::string_view text);

// How many bytes of a code or a label a report, a result table or the
// transition diagram prints. Real codes are short words (a report's columns
// are 12 wide, the older fixed-length files held 10 bytes), so 256 is far
// above any of them; yet a table of the most categories an analysis takes
// prints well under a megabyte of labels, whatever the codes hold.
inline constexpr size_t kPrintedLabelLength = 256;

// What follows the first bytes of a cut code or label.
inline constexpr std::string_view kCutMark = "...[cut]";

// A code or label as a report prints it: the text itself when it has at most
// kPrintedLabelLength bytes, else its first bytes followed by kCutMark (a
// CR LF pair is never split). A text already cut this way comes back as it
// is. Only the printing is cut: the analyses count whole codes, so two codes
// that differ only beyond the cut remain two categories.
std::string PrintedLabel(std::string_view text);

// "Error # " & number (sign position) & " was generated by " & source & CR & description.
std::string ErrorText(long long number, std::string_view source, std::string_view description);

}  // namespace core
