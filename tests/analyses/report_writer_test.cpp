#include "analyses/report_writer.h"

#include <gtest/gtest.h>

using core::ReportWriter;

TEST(ReportWriter, TabPadsEndsTheLineWhenBeyondAndIgnoresItsOwnColumn) {
    ReportWriter w;
    w.Text("ab").Tab(5).Text("c");
    EXPECT_EQ(w.Bytes(), "ab  c");
    EXPECT_EQ(w.Column(), 6);
    w.Tab(6).Text("d");  // already at column 6: nothing
    EXPECT_EQ(w.Bytes(), "ab  cd");
    w.Tab(3).Text("e");  // beyond column 3: next line, padded
    EXPECT_EQ(w.Bytes(), "ab  cd\r\n  e");
    w.EndLine();
    EXPECT_EQ(w.Column(), 1);
}

TEST(ReportWriter, ZoneStepsGoToTheNextZoneOfFourteenColumns) {
    ReportWriter w;
    w.Text("FREQUENCIES:").ZoneStep().Text("V4");
    EXPECT_EQ(w.Bytes(), "FREQUENCIES:  V4");
    ReportWriter atStart;
    atStart.ZoneStep().Text("x");
    EXPECT_EQ(atStart.Bytes(), std::string(14, ' ') + "x");
    ReportWriter onZone;  // standing on column 15 moves on to 29
    onZone.Text(std::string(14, 'a')).ZoneStep();
    EXPECT_EQ(onZone.Column(), 29);
}

TEST(ReportWriter, NumberItemsAndFields) {
    ReportWriter w;
    w.Number(7).Text("|").Number(-1).Text("|");
    EXPECT_EQ(w.Bytes(), " 7 |-1 |");
    ReportWriter f;
    f.RightField("abc", 5).Text("|").LeftField("abc", 5).Text("|");
    f.RightField("abcdefgh", 5).Text("|").LeftField("abcdefgh", 3).Text("|");
    EXPECT_EQ(f.Bytes(), "  abc|abc  |abcde|abc|");
}

TEST(ReportWriter, NumberFieldsRightAlignAndNeverCutANumber) {
    ReportWriter w;
    w.NumberField(12.6, "####0", 8).Text("|").NumberField(0.25, "####0.00%", 8).Text("|");
    w.NumberField(42, "(####0)", 8).Text("|");
    EXPECT_EQ(w.Bytes(), "      13|  25.00%|    (42)|");
    // 123456.789 with "###0.00" needs nine characters: written whole, and the
    // next Tab column comes after it.
    ReportWriter wide;
    wide.Tab(47).NumberField(123456.789, "###0.00", 8).Tab(57).Text("x");
    EXPECT_EQ(wide.Bytes(), std::string(46, ' ') + "123456.79" + " x");
    ReportWriter wider;
    wider.Tab(47).NumberField(12345678.5, "###0.00", 8).Tab(57).Text("x");
    EXPECT_EQ(wider.Bytes(), std::string(46, ' ') + "12345678.50\r\n" + std::string(56, ' ') + "x");
}

TEST(ReportWriter, LeftNumbersAreWrittenWhole) {
    ReportWriter w;
    w.LeftNumber(7, 4).Text("A").EndLine().LeftNumber(12345, 4).Text("B");
    EXPECT_EQ(w.Bytes(), "7   A\r\n12345B");
    EXPECT_EQ(core::TrimmedNumber(-3), "-3");
}

TEST(ReportWriter, TextWithALineFeedCountsColumnsFromTheNewLine) {
    ReportWriter w;
    w.Text("first\r\nab").Tab(5).Text("c");
    EXPECT_EQ(w.Bytes(), "first\r\nab  c");
}

TEST(PrintWrappedText, WrapsAfterBlanksAndPunctuationBetweenTheColumns) {
    ReportWriter w;
    w.Text("1234");
    core::PrintWrappedText(w, "one two,three fours   \r", 6, 15);  // width 10
    EXPECT_EQ(w.Bytes(),
              "1234 one two,\r\n"
              "     three \r\n"
              "     fours");
    EXPECT_EQ(w.Column(), 11);  // the last line is left open
}

TEST(PrintWrappedText, CutsAPieceWithoutBreakAtTheWidth) {
    ReportWriter w;
    core::PrintWrappedText(w, "abcdefghijkl", 1, 5);
    EXPECT_EQ(w.Bytes(), "abcde\r\nfghij\r\nkl");
}

TEST(PrintWrappedText, TextAfterALineFeedStartsANewLineAtTheFirstColumn) {
    ReportWriter w;
    w.Text("x");
    core::PrintWrappedText(w, "ab\r\ncd\r\n\r\nef", 3, 10);
    EXPECT_EQ(w.Bytes(), "x ab\r\n  cd\r\n  \r\n  ef");
}

TEST(PrintWrappedText, ALineBeyondTheFirstColumnContinuesOnTheNextLine) {
    ReportWriter w;
    w.Text("123456");
    core::PrintWrappedText(w, "ab", 3, 10);
    EXPECT_EQ(w.Bytes(), "123456\r\n  ab");
}
