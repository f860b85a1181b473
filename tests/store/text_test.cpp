#include "store/text.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <random>
#include <string>
#include <string_view>
#include <vector>

using namespace core;

namespace {

// Checks f(input) == expected for every row, naming the row that fails.
template <typename Out, typename F>
void Check(F f, std::initializer_list<std::pair<std::string, Out>> rows) {
    for (const auto& [in, out] : rows) {
        SCOPED_TRACE("input \"" + in + "\"");
        EXPECT_EQ(f(in), out);
    }
}

double Read(const std::string& t) {
    return ReadNumber(t);
}

}  // namespace

TEST(ReadNumber, PrefixSignsPointsExponentsAndBlanks) {
    // "." is the only decimal point; an exponent without digits is not part of
    // the number; blanks anywhere are skipped, line breaks are not blanks.
    Check<double>(
        Read, {{"", 0.0},        {"abc", 0.0},     {"12abc", 12.0}, {"-7", -7.0},  {"+7", 7.0},
               {"12.5", 12.5},   {".5", 0.5},      {"-.5", -0.5},   {"5.", 5.0},   {"1.2.3", 1.2},
               {"1,5", 1.0},     {".", 0.0},       {"-", 0.0},      {"--5", 0.0},  {"1e3", 1000.0},
               {"2E-2", 0.02},   {"2e+2x", 200.0}, {"3e", 3.0},     {"3e+", 3.0},  {"3d2", 3.0},
               {"0x10", 0.0},    {"02:", 2.0},     {" 1 2 ", 12.0}, {"- 5", -5.0}, {"\t4 . 5", 4.5},
               {"1 e 2", 100.0}, {"\r\n5", 0.0},   {"1e-999", 0.0}});
    EXPECT_TRUE(std::isinf(ReadNumber("1e999")));
    EXPECT_LT(ReadNumber("-1e999"), 0.0);
    EXPECT_GT(ReadNumber(std::string(400, '9')), 1e300);
}

TEST(RoundTo16, HalvesToEvenThenRangeCheck) {
    EXPECT_EQ(RoundTo16(0.5), 0);
    EXPECT_EQ(RoundTo16(1.5), 2);
    EXPECT_EQ(RoundTo16(2.5), 2);
    EXPECT_EQ(RoundTo16(-2.5), -2);
    EXPECT_EQ(RoundTo16(2.5000001), 3);
    EXPECT_EQ(RoundTo16(32767.0), 32767);
    EXPECT_EQ(RoundTo16(32767.4), 32767);
    EXPECT_EQ(RoundTo16(-32768.5), -32768);
    for (double bad : {32767.5, -32768.6, 1e300, std::nan(""), double(INFINITY)})
        EXPECT_THROW(RoundTo16(bad), Overflow16) << bad;
    EXPECT_EQ(ReadInt16(" 12 "), 12);
    EXPECT_EQ(ReadInt16("abc"), 0);
    EXPECT_EQ(ReadInt16("3.5"), 4);
    EXPECT_EQ(ReadInt16("-32768"), -32768);
    EXPECT_THROW(ReadInt16("32768"), Overflow16);
    EXPECT_THROW(ReadInt16("1e999"), Overflow16);
}

TEST(Trim, SpacesOnly) {
    Check<std::string>(
        [](const std::string& t) { return std::string(Trim(t)); },
        {{"  a b  ", "a b"}, {"\ta\t", "\ta\t"}, {"    ", ""}, {"", ""}, {" \r\n ", "\r\n"}});
    EXPECT_EQ(TrimLeft("  a  "), "a  ");
    EXPECT_EQ(TrimRight("  a  "), "  a");
    EXPECT_EQ(TrimLeft("   "), "");
    EXPECT_EQ(TrimRight("   "), "");
}

TEST(NumberTexts, SignPositionFileAndPlain) {
    EXPECT_EQ(SignedNumber(0), " 0");
    EXPECT_EQ(SignedNumber(53), " 53");
    EXPECT_EQ(SignedNumber(-5), "-5");
    EXPECT_EQ(FileNumber(5), " 5 ");
    EXPECT_EQ(FileNumber(-32768), "-32768 ");
    EXPECT_EQ(PlainNumber(32767), "32767");
    EXPECT_EQ(PlainNumber(0), "0");
}

TEST(FormatNumber, RoundsHalvesAwayFromZeroOnTheDecimalValue) {
    EXPECT_EQ(FormatNumber(0.125, "###0.00"), "0.13");
    EXPECT_EQ(FormatNumber(0.625, "###0.00"), "0.63");
    EXPECT_EQ(FormatNumber(2.5, "####0"), "3");
    EXPECT_EQ(FormatNumber(-2.5, "####0"), "-3");
    EXPECT_EQ(FormatNumber(12.6, "####0"), "13");
    EXPECT_EQ(FormatNumber(1.005, "####0.00"), "1.01");
    EXPECT_EQ(FormatNumber(2.675, "####0.00"), "2.68");
    EXPECT_EQ(FormatNumber(0.1 + 0.2, "####0.00"), "0.30");
    EXPECT_EQ(FormatNumber(9.995, "###0.00"), "10.00");
    EXPECT_EQ(FormatNumber(99999.5, "####0"), "100000");
    EXPECT_EQ(FormatNumber(0.0005, "####0.000"), "0.001");
    EXPECT_EQ(FormatNumber(0.0004999, "####0.000"), "0.000");
    EXPECT_EQ(FormatNumber(1e-20, "####0.00"), "0.00");
}

TEST(FormatNumber, ZeroAndSigns) {
    EXPECT_EQ(FormatNumber(0, "####0"), "0");
    EXPECT_EQ(FormatNumber(0, "####0.00"), "0.00");
    EXPECT_EQ(FormatNumber(-0.0, "####0.00"), "0.00");
    EXPECT_EQ(FormatNumber(-0.004, "####0.00"), "0.00");  // rounds to zero: no minus sign
    EXPECT_EQ(FormatNumber(-0.4, "####0"), "0");
    EXPECT_EQ(FormatNumber(-0.005, "####0.00"), "-0.01");
    EXPECT_EQ(FormatNumber(-1.25, "###0.00"), "-1.25");
}

TEST(FormatNumber, PatternsOfTheReports) {
    EXPECT_EQ(FormatNumber(7, "####0"), "7");  // no padding: callers right-align
    EXPECT_EQ(FormatNumber(123, "#####0"), "123");
    EXPECT_EQ(FormatNumber(3.14159, "####0.00"), "3.14");
    EXPECT_EQ(FormatNumber(0.5, "####0.00%"), "50.00%");
    EXPECT_EQ(FormatNumber(1, "####0.00%"), "100.00%");
    EXPECT_EQ(FormatNumber(1.0 / 3, "####0.00%"), "33.33%");
    EXPECT_EQ(FormatNumber(0.00125, "####0.00%"), "0.13%");  // x100 done on the decimal digits
    EXPECT_EQ(FormatNumber(2.0 / 3, "####0.00%"), "66.67%");
    EXPECT_EQ(FormatNumber(5, "#####00.0"), "05.0");
    EXPECT_EQ(FormatNumber(123.45, "#####00.0"), "123.5");
    EXPECT_EQ(FormatNumber(0.04, "#####00.0"), "00.0");
    EXPECT_EQ(FormatNumber(1.5, "####0.000"), "1.500");
    EXPECT_EQ(FormatNumber(42, "(####0)"), "(42)");
    EXPECT_EQ(FormatNumber(0, "(####0)"), "(0)");
    EXPECT_EQ(FormatNumber(-3, "(####0)"), "-(3)");
    EXPECT_EQ(FormatNumber(-1.96, "####0.00"), "-1.96");
}

TEST(FormatNumber, WiderThanThePatternIsWrittenWhole) {
    EXPECT_EQ(FormatNumber(1234567, "####0"), "1234567");
    EXPECT_EQ(FormatNumber(123456.789, "###0.00"), "123456.79");
    EXPECT_EQ(FormatNumber(12345.678, "####0.00%"), "1234567.80%");
    EXPECT_EQ(FormatNumber(1e20, "####0"), "100000000000000000000");
    EXPECT_EQ(FormatNumber(-1234567, "(####0)"), "-(1234567)");
}

TEST(FormatNumber, OddPatternsAndValues) {
    EXPECT_EQ(FormatNumber(1.5, "0.##"), "1.5");
    EXPECT_EQ(FormatNumber(1.0, "0.##"), "1.");
    EXPECT_EQ(FormatNumber(1.25, "0.#0"), "1.25");
    EXPECT_EQ(FormatNumber(5, ""), "5");
    EXPECT_EQ(FormatNumber(5, "x"), "x5");
    EXPECT_EQ(FormatNumber(std::nan(""), "####0"), "NaN");
    EXPECT_EQ(FormatNumber(-INFINITY, "####0"), "-Inf");
}

TEST(WildcardMatch, BasicTokens) {
    EXPECT_TRUE(WildcardMatch("", ""));
    EXPECT_TRUE(WildcardMatch("", "*"));
    EXPECT_FALSE(WildcardMatch("", "?"));
    EXPECT_FALSE(WildcardMatch("a", ""));
    EXPECT_TRUE(WildcardMatch("abc", "abc"));
    EXPECT_FALSE(WildcardMatch("abc", "ABC"));   // case-sensitive
    EXPECT_FALSE(WildcardMatch("abcd", "abc"));  // the whole text
    EXPECT_TRUE(WildcardMatch("abc", "a?c"));
    EXPECT_FALSE(WildcardMatch("ac", "a?c"));
    EXPECT_TRUE(WildcardMatch("a5c", "a#c"));
    EXPECT_FALSE(WildcardMatch("axc", "a#c"));
    EXPECT_TRUE(WildcardMatch("hello world", "*wor*"));
    EXPECT_TRUE(WildcardMatch("hello world", "h*d"));
    EXPECT_FALSE(WildcardMatch("hello world", "h*x"));
    EXPECT_TRUE(WildcardMatch("aaa", "a**a"));
    EXPECT_TRUE(WildcardMatch("abab", "*ab"));
    EXPECT_TRUE(WildcardMatch("mississippi", "m*iss*ppi"));
    EXPECT_FALSE(WildcardMatch("mississippi", "m*iss*ppx"));
}

TEST(WildcardMatch, StarAndQuestionSpanLineBreaksAndHighBytes) {
    EXPECT_TRUE(WildcardMatch("one\r\ntwo", "one*two"));
    EXPECT_TRUE(WildcardMatch("a\nb", "a?b"));
    EXPECT_TRUE(WildcardMatch("caf\xE9", "caf?"));
    EXPECT_TRUE(WildcardMatch("\xE9", "[\xC0-\xFF]"));
    EXPECT_FALSE(WildcardMatch("e", "[\xC0-\xFF]"));
}

TEST(WildcardMatch, Sets) {
    EXPECT_TRUE(WildcardMatch("b", "[abc]"));
    EXPECT_FALSE(WildcardMatch("d", "[abc]"));
    EXPECT_TRUE(WildcardMatch("d", "[!abc]"));
    EXPECT_FALSE(WildcardMatch("a", "[!abc]"));
    EXPECT_TRUE(WildcardMatch("\n", "[!abc]"));
    EXPECT_TRUE(WildcardMatch("m", "[a-z]"));
    EXPECT_FALSE(WildcardMatch("M", "[a-z]"));
    EXPECT_TRUE(WildcardMatch("M", "[a-zA-Z]"));
    EXPECT_TRUE(WildcardMatch("-", "[-a]"));
    EXPECT_TRUE(WildcardMatch("-", "[a-]"));
    EXPECT_TRUE(WildcardMatch("-", "[!a-]") == false);
    EXPECT_TRUE(WildcardMatch("a", "[a-a]"));
    EXPECT_TRUE(WildcardMatch("15Mr0930", "*#[A-Z][a-z]#*"));
    EXPECT_FALSE(WildcardMatch("15mr0930", "*#[A-Z][a-z]#*"));
    EXPECT_FALSE(WildcardMatch("15MR0930", "*#[A-Z][a-z]#*"));
}

TEST(WildcardMatch, LiteralSpecialCharacters) {
    EXPECT_TRUE(WildcardMatch("[", "[[]"));
    EXPECT_TRUE(WildcardMatch("a*b", "a[*]b"));
    EXPECT_FALSE(WildcardMatch("axb", "a[*]b"));
    EXPECT_TRUE(WildcardMatch("?", "[?]"));
    EXPECT_FALSE(WildcardMatch("x", "[?]"));
    EXPECT_TRUE(WildcardMatch("#", "[#]"));
    EXPECT_FALSE(WildcardMatch("5", "[#]"));
    EXPECT_TRUE(WildcardMatch("]", "]"));
    EXPECT_TRUE(WildcardMatch("a]", "a]"));
    EXPECT_TRUE(WildcardMatch("!", "!"));
    EXPECT_TRUE(WildcardMatch("[x]", "[[]x]"));
}

TEST(WildcardMatch, BadPatternsThrowWhateverTheText) {
    // Even where the text fails before the bad part is reached.
    for (const char* bad : {"[a", "[", "[!", "[]", "[!]", "[z-a]"})
        EXPECT_THROW(WildcardMatch("a", bad), BadPattern) << bad;
    EXPECT_THROW(WildcardMatch("x", "a[b"), BadPattern);
    EXPECT_THROW(WildcardMatch("", "*[z-a]"), BadPattern);
}

TEST(WildcardMatch, ManyStarsStayFast) {
    // A pattern that would take exponential time by naive backtracking.
    const std::string text(150, 'a');
    const std::string pattern = "*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*a*b";
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 100; ++i) {
        EXPECT_FALSE(WildcardMatch(text, pattern));
    }
    EXPECT_TRUE(WildcardMatch(text + "b", pattern));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(elapsed, std::chrono::seconds(2));
}

// A plain backtracking matcher over a small alphabet, to hold the compiled
// matcher against: 'a', 'b', '1' literal, '?', '#', '*' and the set "[ab]".
bool ReferenceMatch(std::string_view text, std::string_view pattern) {
    if (pattern.empty())
        return text.empty();
    if (pattern[0] == '*')
        return ReferenceMatch(text, pattern.substr(1)) ||
               (!text.empty() && ReferenceMatch(text.substr(1), pattern));
    if (text.empty())
        return false;
    const char c = text[0];
    size_t width = 1;
    bool fits = false;
    if (pattern[0] == '?')
        fits = true;
    else if (pattern[0] == '#')
        fits = c >= '0' && c <= '9';
    else if (pattern[0] == '[')
        fits = c == 'a' || c == 'b', width = 4;
    else
        fits = c == pattern[0];
    return fits && ReferenceMatch(text.substr(1), pattern.substr(width));
}

TEST(WildcardPattern, AgreesWithPlainBacktracking) {
    // Patterns of up to eight elements against texts of up to ten bytes, drawn
    // the same way every run.
    const std::string elements[] = {"a", "b", "1", "?", "#", "*", "[ab]"};
    std::mt19937 rng(2024);
    int failures = 0;
    for (int round = 0; round < 4000; ++round) {
        std::string pattern;
        for (int n = static_cast<int>(rng() % 9); n > 0; --n)
            pattern += elements[rng() % 7];
        const WildcardPattern compiled = WildcardPattern::Compile(pattern);
        for (int k = 0; k < 40; ++k) {
            std::string text;
            for (int n = static_cast<int>(rng() % 11); n > 0; --n)
                text += "ab1"[rng() % 3];
            if (compiled.Matches(text) != ReferenceMatch(text, pattern) && ++failures <= 5)
                ADD_FAILURE() << "text \"" << text << "\", pattern \"" << pattern << "\"";
        }
    }
    EXPECT_EQ(failures, 0);
}

TEST(WildcardPattern, CompiledOnceServesManyTextsAndKeepsItsSource) {
    const WildcardPattern p = WildcardPattern::Compile("*[A-Z]#*x");
    EXPECT_EQ(p.Source(), "*[A-Z]#*x");
    EXPECT_TRUE(p.Matches("A1x"));
    EXPECT_TRUE(p.Matches("zzB2yyx"));
    EXPECT_FALSE(p.Matches("a1x"));
    EXPECT_FALSE(p.Matches("A1xy"));
    EXPECT_TRUE(p.Matches("one\r\nC3 and x"));
    // The same failures, with the same messages, as the one-off match.
    for (const char* bad : {"[a", "[]", "[!]", "a*[z-a]"}) {
        std::string compiled, once;
        try {
            WildcardPattern::Compile(bad);
        } catch (const BadPattern& e) {
            compiled = e.what();
        }
        try {
            WildcardMatch("a", bad);
        } catch (const BadPattern& e) {
            once = e.what();
        }
        EXPECT_FALSE(compiled.empty()) << bad;
        EXPECT_EQ(compiled, once) << bad;
    }
}

TEST(ReplaceAll, LeftToRightWithoutOverlap) {
    EXPECT_EQ(ReplaceAll("a\"b\"c", "\"", ""), "abc");
    EXPECT_EQ(ReplaceAll("abc", "x", "y"), "abc");
    EXPECT_EQ(ReplaceAll("abc", "c", "XY"), "abXY");
    EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
    EXPECT_EQ(ReplaceAll("aa", "a", "aa"), "aaaa");  // replacements are not searched again
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(ReplaceAll("", "a", "x"), "");
    EXPECT_EQ(ReplaceAll("l1\r\nl2\r\n", "\r", ""), "l1\nl2\n");
}

TEST(CompareCategories, CaseInsensitiveOverWindows1252) {
    EXPECT_EQ(CompareCategories("abc", "ABC"), 0);
    EXPECT_LT(CompareCategories("abc", "abd"), 0);
    EXPECT_GT(CompareCategories("B", "a"), 0);
    EXPECT_LT(CompareCategories("ab", "abc"), 0);
    EXPECT_GT(CompareCategories("abc", "AB"), 0);
    EXPECT_EQ(CompareCategories("", ""), 0);
    EXPECT_LT(CompareCategories("", "a"), 0);
    EXPECT_EQ(CompareCategories("\xC9T\xC9", "\xE9t\xE9"), 0);  // accented E
    EXPECT_EQ(CompareCategories("\x8A\x8C\x8E\x9F", "\x9A\x9C\x9E\xFF"), 0);
    EXPECT_NE(CompareCategories("\xD7", "\xF7"), 0);  // multiply and divide signs
    EXPECT_NE(CompareCategories("\xDF", "\xFF"), 0);  // sharp s is no capital of y diaeresis
    EXPECT_LT(CompareCategories("z", "\xE9"), 0);     // high bytes after ASCII
    EXPECT_LT(CompareCategories("_", "A"), 0);
}

TEST(InsertSorted, KeepsOrderAndPutsEqualItemsLast) {
    std::vector<std::string> list;
    EXPECT_EQ(InsertSorted(list, "b"), 0u);
    EXPECT_EQ(InsertSorted(list, "a"), 0u);
    EXPECT_EQ(InsertSorted(list, "c"), 2u);
    EXPECT_EQ(InsertSorted(list, "B"), 2u);  // after the equal "b"
    EXPECT_EQ(InsertSorted(list, "b"), 3u);
    EXPECT_EQ(list, (std::vector<std::string>{"a", "b", "B", "b", "c"}));
    EXPECT_EQ(InsertSorted(list, ""), 0u);
}

TEST(DerivedName, ReplacesOnlyAnExtension) {
    const std::pair<const char*, const char*> rows[] = {
        {"C:\\data\\prot.kov", "C:\\data\\prot.bak"},
        {"/home/u/prot.ana", "/home/u/prot.bak"},
        {".kov", ".bak"},
        {"protocol", "protocol.bak"},
        {"proj/ab", "proj/ab.bak"},
        {"a.b/c", "a.b/c.bak"}};
    for (const auto& [name, derived] : rows)
        EXPECT_EQ(DerivedName(name, ".bak"), derived) << name;
    EXPECT_THROW(DerivedName("abc", ".bak"), std::invalid_argument);
    EXPECT_THROW(DerivedName("", ".bak"), std::invalid_argument);
}

TEST(QuoteForMessage, CutsLongTextsVisiblyAndNeverSplitsALineBreak) {
    const std::string sixty(60, 'x');
    EXPECT_EQ(QuoteForMessage(""), "");
    EXPECT_EQ(QuoteForMessage(sixty), sixty);
    EXPECT_EQ(QuoteForMessage(sixty + "y"), sixty + "...");
    EXPECT_EQ(QuoteForMessage(std::string(59, 'x') + "\r\nz"), std::string(59, 'x') + "...");
    EXPECT_EQ(QuoteForMessage(std::string(16 << 20, '\xE9')), std::string(60, '\xE9') + "...");
}

TEST(PrintedLabel, CutsPastTheBoundWithAMarkOnceAndNeverSplitsALineBreak) {
    const std::string bound(kPrintedLabelLength, 'x');
    EXPECT_EQ(PrintedLabel(bound), bound);
    EXPECT_EQ(PrintedLabel(bound + "y"), bound + std::string(kCutMark));
    const std::string crlf = std::string(kPrintedLabelLength - 1, 'x') + "\r\nz";
    EXPECT_EQ(PrintedLabel(crlf), crlf.substr(0, kPrintedLabelLength - 1) + std::string(kCutMark));
    // What is cut stays as it is when cut again.
    EXPECT_EQ(PrintedLabel(PrintedLabel(crlf)), PrintedLabel(crlf));
    // A longer code that happens to end in the mark is cut all the same.
    EXPECT_EQ(PrintedLabel(bound + "y" + std::string(kCutMark)), bound + std::string(kCutMark));
    EXPECT_EQ(PrintedLabel(std::string(16 << 20, 'w')).size(),
              kPrintedLabelLength + kCutMark.size());
}

TEST(ErrorText, MessageFrame) {
    EXPECT_EQ(ErrorText(53, "SaveDataFile", "File not found"),
              "Error #  53 was generated by SaveDataFile\rFile not found");
    EXPECT_EQ(ErrorText(-1, "x", ""), "Error # -1 was generated by x\r");
}
