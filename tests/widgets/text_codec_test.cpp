#include "widgets/text_codec.h"

#include <gtest/gtest.h>

TEST(TextCodec, EveryByteRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    QString q = ToQString(all);
    ASSERT_EQ(q.size(), 256);
    EXPECT_EQ(FromQString(q), all);
    // Distinct bytes give distinct characters.
    for (int a = 0; a < 256; ++a)
        for (int b = a + 1; b < 256; ++b)
            ASSERT_NE(q[a], q[b]) << a << " " << b;
}

TEST(TextCodec, WindowsCharactersMapToUnicode) {
    EXPECT_EQ(ToQString("\x80"), QString(QChar(0x20AC)));  // euro
    EXPECT_EQ(ToQString("\x93q\x94"), QString::fromUtf8("\u201Cq\u201D"));
    EXPECT_EQ(ToQString("\x8A\x9F"), QString::fromUtf8("\u0160\u0178"));
    EXPECT_EQ(ToQString("caf\xE9"), QString::fromUtf8("caf\u00E9"));
    for (unsigned char undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(ToQString(std::string(1, static_cast<char>(undefined)))[0].unicode(), undefined);
    EXPECT_EQ(FromQString(QString::fromUtf8("\u2026\u2122")), "\x85\x99");
}

TEST(TextCodec, UnmappableCharactersBecomeQuestionMarks) {
    EXPECT_EQ(FromQString(QString::fromUtf8("a\u4E2Db")), "a?b");
    // A character outside the basic plane counts once.
    EXPECT_EQ(FromQString(QString::fromUtf8("x\U0001F600y")), "x?y");
    // Latin-1 controls 0x80 and 0x9F are not Windows-1252 characters.
    EXPECT_EQ(FromQString(QString(QChar(0x80))), "?");
}

TEST(TextCodec, EditorLineBreaks) {
    EXPECT_EQ(ToEditorText("a\r\nb\nc\rd"), QString("a\nb\nc\nd"));
    EXPECT_EQ(ToEditorText("\r\n\r\n"), QString("\n\n"));
    EXPECT_EQ(FromEditorText("a\nb"), "a\r\nb");
    EXPECT_EQ(FromEditorText("a\r\nb\rc"), "a\r\nb\r\nc");
    EXPECT_EQ(FromEditorText(QString::fromUtf8("a\u2029b\u2028c")), "a\r\nb\r\nc");
    std::string crlf = "first line\r\n\r\nthird \xE9\r\n";
    EXPECT_EQ(FromEditorText(ToEditorText(crlf)), crlf);
}

// A label shown as a menu caption keeps its "&" instead of marking a shortcut.
TEST(TextCodec, CaptionTextShowsAmpersands) {
    EXPECT_EQ(ToCaptionText("R&D \xE9"), QString::fromUtf8("R&&D é"));
    EXPECT_EQ(ToCaptionText("plain"), QString("plain"));
}

// A box whose text is written back holds every byte 01..FF exactly (the
// window tests take the same bytes through the real boxes).
TEST(TextCodec, EditableTextKeepsEveryByte) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string cases[] = {
        all,
        "lone\rcr\r\nand crlf\nand lf\r",
        "\r\n\r\n",
        "\n\r",
        "no\xA0"
        "break\xA0"
        "space",
        " \t blanks kept \t ",
    };
    for (const std::string& bytes : cases)
        EXPECT_TRUE(FromEditableText(ToEditableText(bytes)) == bytes) << bytes;
    // What the user types as a line break is stored as CR LF.
    EXPECT_EQ(FromEditableText(QString::fromUtf8("a\u2029b\u2028c\nd")), "a\r\nb\r\nc\r\nd");
    // CR LF is a line break of the box; a lone CR and LF show as symbols.
    EXPECT_EQ(ToEditableText("a\r\nb\rc\nd"), QString::fromUtf8("a\nb\u240Dc\u240Ad"));
}
