#include "patterns/count_words.h"

#include <gtest/gtest.h>

#include "patterns/letter_case.h"
#include "patterns/result_table.h"

namespace {

TEST(CountWords, NormalisesMarksCaseAndLineBreaks) {
    EXPECT_EQ(core::NormaliseWordText("  Hello, World!  "), "hello  world");
    EXPECT_EQ(core::NormaliseWordText("a\r\nb"), "a b");
    EXPECT_EQ(core::NormaliseWordText("x\ty{z}(w)[v]:u;t>s<r`q"), "x y z  w  v  u t s r q");
    EXPECT_EQ(core::NormaliseWordText("'quoted' \"too\" and/or back\\slash"),
              "quoted   too  and or back slash");
    EXPECT_EQ(core::NormaliseWordText("\xC9T\xC9"), "\xE9t\xE9");
}

TEST(CountWords, CountsBlankSeparatedWordsAndConsumesTheText) {
    std::string text = "One, two...three (four)";
    EXPECT_EQ(core::CountWords(text), 4);
    EXPECT_TRUE(text.empty());
    std::string empty;
    EXPECT_EQ(core::CountWords(empty), 0);
    std::string marks = " ... , ! ";
    EXPECT_EQ(core::CountWords(marks), 0);
    std::string lines = "first\r\nsecond\nthird";
    EXPECT_EQ(core::CountWords(lines), 2);  // a bare line feed joins "secondthird"
    std::string hyphen = "well-known e-mail";
    EXPECT_EQ(core::CountWords(hyphen), 2);
}

TEST(CountWords, LongTextsCountBeyondSixteenBits) {
    std::string text;
    for (int k = 0; k < 40000; ++k)
        text += "w ";
    EXPECT_EQ(core::CountWords(text), 40000);
}

TEST(LetterCase, Windows1252Letters) {
    EXPECT_EQ(core::LowerCase("ABC xyz \xC0\xDE\xD7\x8A\x8C\x8E\x9F"),
              "abc xyz \xE0\xFE\xD7\x9A\x9C\x9E\xFF");
    EXPECT_EQ(core::UpperCase("abc XYZ \xE0\xFE\xF7\xDF\x9A\x9C\x9E\xFF"),
              "ABC XYZ \xC0\xDE\xF7\xDF\x8A\x8C\x8E\x9F");
}

TEST(ResultTable, SortsRowsByAColumnKeepingTheHeadings) {
    core::ResultTableModel t;
    t.cells = {{"", "no.", "word"}, {"1", "10", "pear"}, {"2", "9", "Apple"}, {"3", "10", "fig"}};
    core::SortResultTable(t, 1);
    EXPECT_EQ(t.cells[0][1], "no.");
    EXPECT_EQ(t.cells[1][2], "Apple");  // 9 before 10: numbers compare as numbers
    EXPECT_EQ(t.cells[2][2], "pear");   // equal keys keep their order
    EXPECT_EQ(t.cells[3][2], "fig");
    core::SortResultTable(t, 2);
    EXPECT_EQ(t.cells[1][2], "Apple");
    EXPECT_EQ(t.cells[2][2], "fig");
    EXPECT_EQ(t.cells[3][2], "pear");
    core::SortResultTable(t, 7);  // a column the rows lack sorts nothing away
    EXPECT_EQ(t.cells.size(), 4u);
}

}  // namespace
