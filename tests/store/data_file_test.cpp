#include "store/data_file.h"

#include <gtest/gtest.h>
#include <sys/fsuid.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "store/text.h"
#include "store_test_util.h"
#include "support/fake_ui.h"

using core::ProtocolRecord;
using core::RecordSet;
using test::ReadBytes;
using test::Rec;
using test::WriteBytes;

namespace {

struct DataFileTest : ::testing::Test {
    test::TempDir dir;
    core::KovaState s;
    test::FakeUi ui;

    // What a read gives: the set, count, header number and file info.
    RecordSet records;
    int16_t count = -1;
    int16_t header = -1;
    std::string info = "untouched";

    bool Save(const std::string& name, const RecordSet& set, int16_t n, int16_t h,
              const std::string& fileInfo) {
        return core::SaveDataFile(s, ui, name, set, n, h, fileInfo);
    }
    bool Read(const std::string& name) {
        return core::ReadDataFile(s, ui, name, records, count, header, info);
    }
    bool ReadText(const std::string& bytes) {
        std::string name = dir.File("in.kov");
        WriteBytes(name, bytes);
        return Read(name);
    }
    // The size of the file a save writes.
    size_t SavedBytes(const std::string& name, const RecordSet& set, int16_t n, int16_t h,
                      const std::string& fileInfo) {
        EXPECT_TRUE(Save(name, set, n, h, fileInfo)) << LastMessage();
        return ReadBytes(name).size();
    }
    std::string LastMessage() const { return ui.messages.empty() ? "" : ui.messages.back(); }
    ::testing::AssertionResult LastSays(const std::string& part) const {
        if (LastMessage().find(part) != std::string::npos)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << LastMessage();
    }
};

const std::string kTwoRecords =
    "##00000\r\n"
    " 2 MEMO 1 \r\n"
    " 9 \r\n"
    "Lesson 4, group B\r\n"
    "coded by AK\r\n"
    "##00001\r\n"
    "0:01:05\r\n"
    " 1 \r\n"
    "T\r\n"
    "Q\r\n"
    "L1\r\n"
    "\r\n"
    "+\r\n"
    "What floats?\r\n"
    "##00002\r\n"
    "0:01:09\r\n"
    "-3 \r\n"
    "S1\r\n"
    "A\r\n"
    "\r\n"
    "\r\n"
    "\r\n"
    "The boat.\r\n"
    "And the cork.\r\n"
    "##MEMOS##\r\n"
    "##00002\r\n"
    "first answer\r\n"
    "given quickly\r\n"
    "##END\r\n";

RecordSet TwoRecords() {
    RecordSet set(3);
    set[1] = Rec(1, "0:01:05", 1, "T", "Q", "L1", "", "+", "What floats?");
    set[2] = Rec(2, "0:01:09", -3, "S1", "A", "", "", "", "The boat.\r\nAnd the cork.",
                 "first answer\r\ngiven quickly");
    return set;
}

TEST_F(DataFileTest, WritesTheFormatByteForByteAndReadsItBack) {
    std::string name = dir.File("lesson.kov");
    ASSERT_TRUE(Save(name, TwoRecords(), 2, 9, "Lesson 4, group B\r\ncoded by AK"));
    EXPECT_EQ(ReadBytes(name), kTwoRecords);
    EXPECT_EQ(s.MemoCount, 1);
    EXPECT_TRUE(ui.messages.empty());

    ASSERT_TRUE(Read(name));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(header, 9);
    EXPECT_EQ(info, "Lesson 4, group B\r\ncoded by AK");
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1], TwoRecords()[1]);
    EXPECT_EQ(records[2], TwoRecords()[2]);
    EXPECT_EQ(records[0], ProtocolRecord{});
}

TEST_F(DataFileTest, EmptySetAndNegativeHeader) {
    std::string name = dir.File("empty.kov");
    ASSERT_TRUE(Save(name, RecordSet(1), 0, -7, ""));
    EXPECT_EQ(ReadBytes(name), "##00000\r\n 0 MEMO 0 \r\n-7 \r\n\r\n##END\r\n");
    records = test::NumberedSet(4);
    ASSERT_TRUE(Read(name));
    EXPECT_EQ(count, 0);
    EXPECT_EQ(header, -7);
    EXPECT_EQ(info, "");
    EXPECT_EQ(records.size(), 1u);
}

TEST_F(DataFileTest, OnlyRecordsWithMemosAreListedInOrder) {
    RecordSet set = test::NumberedSet(5);
    set[4].Memo = "four";
    set[2].Memo = " ";  // a memo of one blank is still a memo when written
    std::string name = dir.File("m.kov");
    ASSERT_TRUE(Save(name, set, 5, 0, "x"));
    std::string bytes = ReadBytes(name);
    EXPECT_NE(bytes.find(" 5 MEMO 2 \r\n"), std::string::npos);
    EXPECT_NE(bytes.find("##MEMOS##\r\n##00002\r\n \r\n##00004\r\nfour\r\n##END\r\n"),
              std::string::npos);
    // Without memos there is no memo section at all.
    set[4].Memo.clear();
    set[2].Memo.clear();
    ASSERT_TRUE(Save(name, set, 5, 0, "x"));
    EXPECT_EQ(ReadBytes(name).find("##MEMOS##"), std::string::npos);
}

TEST_F(DataFileTest, WhatAReadGivesBackDiffers) {
    RecordSet set(3);
    set[1] = Rec(1, "  0:00:01 ", 4, " T ", " Q", "L1 ", "\tx", " ", "  one  \r\n\r\n  three ",
                 "\r\n\r\n  memo line \r\n");
    set[2] = Rec(2, "", 0, "", "", "", "", "", "\r\nsecond line", "\r\n  \r\n");
    std::string name = dir.File("d.kov");
    ASSERT_TRUE(Save(name, set, 2, 1, "  info  \r\n next "));
    ASSERT_TRUE(Read(name));
    // Blanks (not tabs) at both ends of every field and line are gone; empty
    // lines inside V8 stay; a memo loses its leading empty lines, and a memo of
    // only empty lines reads back as no memo.
    EXPECT_EQ(records[1],
              Rec(1, "0:00:01", 4, "T", "Q", "L1", "\tx", "", "one\r\n\r\nthree", "memo line\r\n"));
    EXPECT_EQ(records[2], Rec(2, "", 0, "", "", "", "", "", "\r\nsecond line", ""));
    EXPECT_EQ(info, "info\r\nnext");
}

TEST_F(DataFileTest, TheWriterNeverWritesWhatItsReaderMisreads) {
    RecordSet set(3);
    set[1] = Rec(1, "0:00:01\r\nx", 1, "T\nU", "Q\rR", "", "", "",
                 "##first line\r\n##00002\nlone LF\r\n##", "##memo\r\n##00001");
    set[2] = Rec(2, "", 1, "", "", "", "", "", "carriage\rinside", "");
    std::string name = dir.File("g.kov");
    ASSERT_TRUE(Save(name, set, 2, 1, "##info\r\n##00001"));
    std::string bytes = ReadBytes(name);
    EXPECT_NE(
        bytes.find("\r\n ##info\r\n ##00001\r\n##00001\r\n0:00:01 x\r\n 1 \r\nT U\r\nQ R\r\n"),
        std::string::npos);
    EXPECT_NE(bytes.find("\r\n##first line\r\n ##00002\r\nlone LF\r\n ##\r\n##00002\r\n"),
              std::string::npos);
    EXPECT_NE(bytes.find("##00001\r\n ##memo\r\n ##00001\r\n##END"), std::string::npos);

    ASSERT_TRUE(Read(name));
    ASSERT_EQ(count, 2);
    EXPECT_EQ(info, "##info\r\n##00001");
    EXPECT_EQ(records[1], Rec(1, "0:00:01 x", 1, "T U", "Q R", "", "", "",
                              "##first line\r\n##00002\r\nlone LF\r\n##", "##memo\r\n##00001"));
    // A lone CR is no line end: it stays inside its line.
    EXPECT_EQ(records[2].V8, "carriage\rinside");
}

// The size counted without building the file is the size of the file
// written, whatever line breaks, marker-like lines, memos and numbers a set
// holds; followed record by record, or field by field through a change, it
// stays the size written.
TEST_F(DataFileTest, TheSizeCountedIsTheSizeWritten) {
    RecordSet tricky(4);
    tricky[1] = Rec(1, "0:00:01\r\nx", -32768, "T\nU", "Q\rR", "\r\n", "\n\r", "",
                    "##first line\r\n##00002\nlone LF\r\n##", "##memo\r\n##00001\n\n##");
    tricky[2] = Rec(2, "", 32767, "", "", "", "", "", "carriage\rinside\r", "\r\n#\n#");
    tricky[3] = Rec(3, "", 0, "", "", "", "", "", "\n\n\r\n\n", "");
    RecordSet memos = test::NumberedSet(12);
    for (int k = 1; k <= 12; ++k)
        memos[k].Memo = "m";
    struct Case {
        RecordSet set;
        int16_t count, header;
        std::string info;
    };
    std::vector<Case> cases = {{TwoRecords(), 2, 9, "Lesson 4, group B\r\ncoded by AK"},
                               {RecordSet(1), 0, -7, ""},
                               {tricky, 3, -32768, "##info\n##00001\r\n"},
                               {tricky, 3, 12345, "#"},
                               {memos, 12, 0, "\n"}};
    // Every number where it gains a digit: a sequence number, the header
    // number, the record count and the memo count (of a set whose record
    // count keeps its five digits).
    const RecordSet many = test::NumberedSet(10001);
    for (int16_t n : {9, 10, 99, 100, 999, 1000, 9999, 10000}) {
        const std::string at = std::to_string(n);
        RecordSet sequence = TwoRecords();
        sequence[1].V2 = n;
        sequence[2].V2 = static_cast<int16_t>(-n);
        RecordSet withMemos = many;
        for (int k = 1; k <= n; ++k)
            withMemos[k].Memo = "m";
        cases.push_back({sequence, 2, 0, "sequence numbers " + at});
        cases.push_back({TwoRecords(), 2, n, "header " + at});
        cases.push_back({TwoRecords(), 2, static_cast<int16_t>(-n), "header -" + at});
        cases.push_back({many, n, 0, "records " + at});
        cases.push_back({withMemos, 10001, 0, "memos " + at});
    }
    const std::string name = dir.File("size.kov");
    for (const auto& c : cases) {
        const size_t written = SavedBytes(name, c.set, c.count, c.header, c.info);
        EXPECT_EQ(core::SavedFileBytes(c.set, c.count, c.header, c.info), written) << c.info;

        core::SavedSize size(c.set, c.count, c.header, c.info);
        for (int k = 1; k <= c.count; ++k) {
            size.Remove(c.set[k]);
            size.Add(c.set[k]);
        }
        EXPECT_EQ(size.Bytes(), written);

        // Every field changed: line breaks added, the sequence number's digits changed.
        RecordSet changed = c.set;
        for (int k = 1; k <= c.count; ++k) {
            for (int f = 1; f <= 8; ++f) {
                size.RemoveField(changed[k], f);
                if (f == 2)
                    changed[k].V2 = static_cast<int16_t>(changed[k].V2 == -32768 ? 7 : -32768);
                else
                    *core::TextField(changed[k], f) += "\r\nx\n";
                size.AddField(changed[k], f);
            }
        }
        EXPECT_EQ(size.Bytes(), SavedBytes(name, changed, c.count, c.header, c.info)) << c.info;
    }
}

// Taking a record with a memo out and putting it back follows the memo count
// where it loses or gains a digit (10 memos, 9, 10 again, and 9, 10, 9), the
// record count keeping its two.
TEST_F(DataFileTest, RemoveAndAddFollowTheMemoCountAcrossADigit) {
    RecordSet set = test::NumberedSet(20);
    for (int k = 1; k <= 10; ++k)
        set[k].Memo = "m";
    RecordSet without = set;
    without.erase(without.begin() + 10);
    const size_t ten = SavedBytes(dir.File("ten.kov"), set, 20, 9, "");
    const size_t nine = SavedBytes(dir.File("nine.kov"), without, 19, 9, "");
    for (const bool fromTen : {true, false}) {
        SCOPED_TRACE(fromTen ? "from 10 memos" : "from 9 memos");
        core::SavedSize size(fromTen ? set : without, fromTen ? 20 : 19, 9, "");
        ASSERT_EQ(size.Bytes(), fromTen ? ten : nine);
        for (const bool remove : {fromTen, !fromTen}) {
            if (remove)
                size.Remove(set[10]);
            else
                size.Add(set[10]);
            EXPECT_EQ(size.Memos(), remove ? 9 : 10);
            EXPECT_EQ(size.Bytes(), remove ? nine : ten);
        }
    }
}

TEST_F(DataFileTest, ReadsLoneLineFeedsAndALastLineWithoutEnd) {
    ASSERT_TRUE(ReadText(
        "##00000\n 1 MEMO 1 \n 9 \ninfo\n##00001\n1:00\n 2 \nT\n\n\n\n\ntext\nmore\n##MEMOS##\n"
        "##00001\nnote"));
    EXPECT_EQ(count, 1);
    EXPECT_EQ(info, "info");
    EXPECT_EQ(records[1], Rec(1, "1:00", 2, "T", "", "", "", "", "text\r\nmore", "note"));
    // The last record's text may end the file too.
    ASSERT_TRUE(
        ReadText("##00000\r\n 1 MEMO 0 \r\n 0 \r\n##00001\r\na\r\n 1 \r\n\r\n\r\n\r\n\r\n"
                 "\r\nlast"));
    EXPECT_EQ(records[1].V8, "last");
    EXPECT_EQ(info, "");  // no file-info line at all
}

TEST_F(DataFileTest, CountLineForms) {
    const std::string body =
        "##00001\r\na\r\n 1 \r\n\r\n\r\n\r\n\r\n\r\none\r\n"
        "##00002\r\nb\r\n 1 \r\n\r\n\r\n\r\n\r\n\r\ntwo\r\n"
        "##00003\r\nc\r\n 1 "
        "\r\n\r\n\r\n\r\n\r\n\r\nthree\r\n##MEMOS##\r\n##00002\r\nm\r\n##END\r\n";
    // An older file: the count alone, no memos.
    ASSERT_TRUE(ReadText("##00000\r\n3\r\n 0 \r\n" + body));
    EXPECT_EQ(count, 3);
    EXPECT_EQ(s.MemoCount, 0);
    EXPECT_EQ(records[2].Memo, "");
    // "MEMO" is case-sensitive.
    ASSERT_TRUE(ReadText("##00000\r\n 3 memo 1 \r\n 0 \r\n" + body));
    EXPECT_EQ(count, 3);
    EXPECT_EQ(records[2].Memo, "");
    // The memo count drops the first character after "MEMO".
    ASSERT_TRUE(ReadText("##00000\r\n 3 MEMO11\r\n 0 \r\n" + body));
    EXPECT_EQ(s.MemoCount, 1);
    EXPECT_EQ(records[2].Memo, "m");
    // A smaller count reads that many records and ignores the rest.
    ASSERT_TRUE(ReadText("##00000\r\n 2 MEMO 0 \r\n 0 \r\n" + body));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(records.size(), 3u);
    EXPECT_EQ(records[2].V8, "two");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DataFileTest, BadFirstLineChangesNothing) {
    records = test::NumberedSet(2);
    count = 2;
    header = 5;
    info = "old";
    EXPECT_FALSE(ReadText("#00000\r\n 1 MEMO 0 \r\n"));
    EXPECT_EQ(LastMessage(), "KOVA|Error in the first line, not starting with ##00000#00000");
    EXPECT_EQ(records, test::NumberedSet(2));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(header, 5);
    EXPECT_EQ(info, "old");
    EXPECT_EQ(ui.waitShows, 0);
    // The first line must match exactly: no trimming.
    EXPECT_FALSE(ReadText("##00000 \r\n"));
    EXPECT_EQ(LastMessage(), "KOVA|Error in the first line, not starting with ##00000##00000 ");
    EXPECT_FALSE(ReadText(""));
    EXPECT_EQ(LastMessage(), "KOVA|Error in the first line, not starting with ##00000");
    // A long first line is quoted cut short.
    EXPECT_FALSE(ReadText(std::string(1 << 20, 'x') + "\r\n"));
    EXPECT_EQ(LastMessage(), "KOVA|Error in the first line, not starting with ##00000" +
                                 std::string(60, 'x') + "...");
    EXPECT_EQ(count, 2);
}

TEST_F(DataFileTest, BadRecordMarkerKeepsWhatWasRead) {
    EXPECT_FALSE(
        ReadText("##00000\r\n 4 MEMO 1 \r\n 3 \r\ninfo\r\n"
                 "##00001\r\na\r\n 1 \r\nT\r\n\r\n\r\n\r\n\r\none\r\n"
                 "##00003\r\nb\r\n 1 "
                 "\r\nT\r\n\r\n\r\n\r\n\r\ntwo\r\n##MEMOS##\r\n##00001\r\nm\r\n##END\r\n"));
    EXPECT_EQ(LastMessage(), "KOVA|Error in the datafile, see linenumber: 2");
    EXPECT_EQ(count, 4);
    EXPECT_EQ(header, 3);
    EXPECT_EQ(info, "info");
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records[1].V8, "one");
    EXPECT_EQ(records[1].Memo, "");  // no memo is read
    for (int k = 2; k <= 4; ++k) {
        EXPECT_EQ(records[k].V0, k);  // numbered by position, never 0
        EXPECT_EQ(records[k].V8, "");
    }
    EXPECT_FALSE(ui.waitVisible);
    EXPECT_EQ(ui.waitLabel3, "record no.");
    EXPECT_EQ(ui.waitLabel1, " 2");
}

TEST_F(DataFileTest, MarkerLinesEndTheirSection) {
    // A larger count stops at the first missing marker.
    EXPECT_FALSE(
        ReadText("##00000\r\n 2 MEMO 0 \r\n 0 \r\n\r\n##00001\r\na\r\n 1 \r\n\r\n\r\n\r\n\r\n\r\n"
                 "one\r\n##END\r\n"));
    EXPECT_EQ(LastMessage(), "KOVA|Error in the datafile, see linenumber: 2");
    // A file-info line starting with "##" is taken for the first marker.
    EXPECT_FALSE(ReadText("##00000\r\n 1 MEMO 0 \r\n 0 \r\n##info\r\n##00001\r\n"));
    EXPECT_EQ(LastMessage(), "KOVA|Error in the datafile, see linenumber: 1");
    EXPECT_EQ(info, "");
}

TEST_F(DataFileTest, BadMemoMarker) {
    // Every memo ends at a marker line, so only the line after "##MEMOS##"
    // can fail the memo marker test.
    EXPECT_FALSE(
        ReadText("##00000\r\n 2 MEMO 2 \r\n 0 \r\n\r\n"
                 "##00001\r\na\r\n 1 \r\n\r\n\r\n\r\n\r\n\r\none\r\n"
                 "##00002\r\nb\r\n 1 \r\n\r\n\r\n\r\n\r\n\r\ntwo\r\n##MEMOS##\r\n"
                 "#00002\r\nsecond\r\n##00001\r\nfirst\r\n##END\r\n"));
    EXPECT_EQ(LastMessage(), "KOVA|Error in the datafile, see linenumber: 1");
    EXPECT_EQ(records[1].Memo, "");
    EXPECT_EQ(records[2].V8, "two");
    EXPECT_EQ(ui.waitLabel1, " 1");
    EXPECT_FALSE(ui.waitVisible);
}

TEST_F(DataFileTest, DamagedHeaderIsAReadErrorThatChangesNothing) {
    const std::string tail = " 0 \r\n\r\n##END\r\n";
    const std::pair<std::string, std::string> bad[] = {
        {"-2 MEMO 0 ", "negative"},
        {" abc MEMO 0 ", "no record count"},
        {" MEMO 0 ", "no record count"},
        {" 32768 MEMO 0 ", "above the limit of 32767 records"},
        {" 100000 ", "above the limit of 32767 records"},
        {" 3 MEMO 99999 ", "does not fit a 16-bit integer"},
    };
    for (const auto& [line, words] : bad) {
        records = test::NumberedSet(1);
        count = 1;
        info = "old";
        ui.messages.clear();
        EXPECT_FALSE(ReadText("##00000\r\n" + line + "\r\n" + tail)) << line;
        ASSERT_EQ(ui.messages.size(), 1u) << line;
        EXPECT_EQ(ui.messages[0].rfind("Error|Error # ", 0), 0u) << ui.messages[0];
        EXPECT_NE(ui.messages[0].find(" was generated by KOVA\r"), std::string::npos);
        EXPECT_NE(ui.messages[0].find(words), std::string::npos) << ui.messages[0];
        EXPECT_EQ(count, 1) << line;
        EXPECT_EQ(records, test::NumberedSet(1));
        EXPECT_EQ(info, "old");
    }
    // The largest count is accepted (and here stops at the first missing marker).
    EXPECT_FALSE(ReadText("##00000\r\n 32767 MEMO 0 \r\n" + tail));
    EXPECT_EQ(LastMessage(), "KOVA|Error in the datafile, see linenumber: 1");
    EXPECT_EQ(count, 32767);
    EXPECT_EQ(records.size(), 32768u);
    EXPECT_EQ(records[32767].V0, 32767);
}

TEST_F(DataFileTest, BodyErrorsUseTheErrorFrame) {
    const std::string head = "##00000\r\n 1 MEMO 1 \r\n 0 \r\n\r\n##00001\r\n";
    const std::string fields = "a\r\n 1 \r\n\r\n\r\n\r\n\r\n\r\ntext\r\n";
    // The file ends inside a record.
    EXPECT_FALSE(ReadText(head + "a\r\n 1 \r\n"));
    EXPECT_EQ(LastMessage(),
              "Error|Error #  62 was generated by KOVA\rInput past end of file: the file ends "
              "before record 1 of 1 is complete");
    EXPECT_EQ(count, 1);
    EXPECT_EQ(records[1].V1, "a");
    // The file ends before an announced memo.
    EXPECT_FALSE(ReadText(head + fields + "##MEMOS##\r\n"));
    EXPECT_TRUE(LastSays("before memo 1 of 1"));
    // A memo marker that names no record of the set.
    for (const char* marker : {"##00002", "##00000", "##", "##99999"}) {
        EXPECT_FALSE(ReadText(head + fields + "##MEMOS##\r\n" + marker + "\r\nm\r\n##END\r\n"));
        EXPECT_TRUE(
            LastSays("Error #  9 was generated by KOVA\rSubscript out of range: the memo "
                     "marker \"" +
                     std::string(marker) + "\" names no record of the set"));
        EXPECT_EQ(records[1].V8, "text");
    }
    // A text whose lone line feeds, each taken as CR LF, pass the most a field holds.
    EXPECT_FALSE(ReadText(head + "a\r\n 1 \r\n\r\n\r\n\r\n\r\n\r\nt\r\n" +
                          std::string(core::kMaxFieldBytes / 2, '\n') + "##END\r\n"));
    EXPECT_TRUE(
        LastSays("Error #  6 was generated by KOVA\rOverflow: the text of record 1 is "
                 "longer than 16777216 characters, the most a field can hold"));
    // A sequence number that does not fit 16 bits.
    EXPECT_FALSE(ReadText(head + "a\r\n 40000 \r\n"));
    EXPECT_TRUE(
        LastSays("Error #  6 was generated by KOVA\rOverflow: the number \"40000\" in "
                 "line 7 does not fit a 16-bit integer"));
    EXPECT_FALSE(ui.waitVisible);
}

TEST_F(DataFileTest, MissingFileChangesNothing) {
    count = 3;
    EXPECT_FALSE(Read(dir.File("none.kov")));
    EXPECT_EQ(LastMessage(), "Error|Error #  53 was generated by KOVA\rFile not found (" +
                                 dir.File("none.kov") + ")");
    EXPECT_EQ(count, 3);
    EXPECT_EQ(ui.waitShows, 0);
}

TEST_F(DataFileTest, WaitWindowCountsRecordsAndEndsOnTheLast) {
    RecordSet set = test::NumberedSet(600);
    set[300].Memo = "m";
    std::string name = dir.File("w.kov");
    ASSERT_TRUE(Save(name, set, 600, 0, ""));
    ASSERT_TRUE(Read(name));
    EXPECT_EQ(ui.waitShows, 1);
    EXPECT_FALSE(ui.waitVisible);
    EXPECT_EQ(ui.waitLabel3, "record no.");
    EXPECT_EQ(ui.waitLabel1, " 1");  // the memo counter ran last
    EXPECT_EQ(ui.log.back(), "HideWait");
    EXPECT_EQ(records, set);
}

TEST_F(DataFileTest, SavingKeepsExactlyOneBackup) {
    std::string name = dir.File("p.kov");
    RecordSet first = test::NumberedSet(1), second = test::NumberedSet(2),
              third = test::NumberedSet(3);
    ASSERT_TRUE(Save(name, first, 1, 0, "v1"));
    EXPECT_EQ(dir.Listing(), "p.kov;");
    std::string v1 = ReadBytes(name);
    ASSERT_TRUE(Save(name, second, 2, 0, "v2"));
    std::string v2 = ReadBytes(name);
    EXPECT_EQ(dir.Listing(), "p.bak;p.kov;");
    EXPECT_EQ(ReadBytes(dir.File("p.bak")), v1);
    ASSERT_TRUE(Save(name, third, 3, 0, "v3"));
    EXPECT_EQ(dir.Listing(), "p.bak;p.kov;");
    EXPECT_EQ(ReadBytes(dir.File("p.bak")), v2);
    EXPECT_NE(ReadBytes(name), v2);
    EXPECT_EQ(s.ScratchText, "p.kov");
    EXPECT_EQ(s.ScratchInteger, static_cast<int16_t>(name.size() - 4));

    // A new file leaves a backup that stands at its backup's name alone: it
    // is no version of the new file, and may be another file's.
    std::string other = dir.File("q.kov");
    WriteBytes(dir.File("q.bak"), "another file's");
    ASSERT_TRUE(Save(other, first, 1, 0, ""));
    EXPECT_EQ(s.ScratchText, "");  // no earlier version was kept
    EXPECT_EQ(dir.Listing(), "p.bak;p.kov;q.bak;q.kov;");
    EXPECT_EQ(ReadBytes(dir.File("q.bak")), "another file's");

    // Saving to a ".bak" name rewrites that file and leaves no backup.
    std::string bak = dir.File("p.bak");
    ASSERT_TRUE(Save(bak, first, 1, 0, "v1"));
    EXPECT_EQ(ReadBytes(bak), v1);
    EXPECT_EQ(dir.Listing(), "p.bak;p.kov;q.bak;q.kov;");
}

TEST_F(DataFileTest, FailedWriteLeavesFileAndBackupAsTheyWere) {
    std::string name = dir.File("f.kov");
    WriteBytes(name, "current");
    WriteBytes(dir.File("f.bak"), "backup");
    RecordSet set = test::NumberedSet(2);
    // The name cannot be written: a folder of that name is in the way.
    std::filesystem::create_directory(dir.File("g.kov"));
    WriteBytes(dir.File("g.bak"), "g backup");
    EXPECT_FALSE(Save(dir.File("g.kov"), set, 2, 0, ""));
    EXPECT_TRUE(LastSays("Error|Error #  75 was generated by KOVA\r"));
    // A folder that does not exist.
    ui.messages.clear();
    EXPECT_FALSE(Save(dir.File("missing/f.kov"), set, 2, 0, ""));
    EXPECT_TRUE(LastSays("Error|Error #  53 was generated by KOVA\rFile not found"));
    // A name shorter than four characters.
    EXPECT_FALSE(Save("a.k", set, 2, 0, ""));
    EXPECT_EQ(LastMessage(),
              "Error|Error #  52 was generated by KOVA\rBad file name or number "
              "(\"a.k\")");
    // A count beyond the set.
    EXPECT_FALSE(Save(name, set, 3, 0, ""));
    EXPECT_TRUE(LastSays("Error #  9 "));
    EXPECT_FALSE(Save(name, set, -1, 0, ""));

    EXPECT_EQ(ReadBytes(name), "current");
    EXPECT_EQ(ReadBytes(dir.File("f.bak")), "backup");
    EXPECT_EQ(ReadBytes(dir.File("g.bak")), "g backup");
    EXPECT_EQ(dir.Listing(), "f.bak;f.kov;g.bak;g.kov;");  // no temporary file left behind
}

// Saves that may not or cannot replace the file: each gives its message,
// names what failed (the file itself, its backup or its folder), and leaves
// the file, its backup and the folder as they were (no temporary file, no old
// content moved to ".bak").
TEST_F(DataFileTest, RefusedAndFailedSavesLeaveTheFolderAsItWas) {
    namespace fs = std::filesystem;
    struct Case {
        const char* what;
        std::function<void(const std::string& name)> before;
        std::function<void(const std::string& name)> after;
        std::string message;
        size_t text = 0;              // the bytes of record 1's text
        const char* names = "p.kov";  // "": the folder
    } cases[] = {
        {"read-only file",
         [](const std::string& name) {
             fs::permissions(
                 name, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
         },
         [](const std::string& name) { fs::permissions(name, fs::perms::owner_all); },
         "Error #  70 was generated by KOVA\rPermission denied ("},
        {"file-size limit of the process",
         [](const std::string&) {
             rlimit limit{};
             getrlimit(RLIMIT_FSIZE, &limit);
             limit.rlim_cur = 4096;
             setrlimit(RLIMIT_FSIZE, &limit);
         },
         [](const std::string&) {
             rlimit limit{};
             getrlimit(RLIMIT_FSIZE, &limit);
             limit.rlim_cur = limit.rlim_max;
             setrlimit(RLIMIT_FSIZE, &limit);
         },
         "Error #  75 was generated by KOVA\rPath/File access error: "},
        {"a folder in the backup's place",
         [](const std::string& name) {
             fs::remove(core::DerivedName(name, ".bak"));
             fs::create_directories(core::DerivedName(name, ".bak") + "/inside");
         },
         [](const std::string&) {},
         "Error #  75 was generated by KOVA\rPath/File access error: ", 0, "p.bak"},
        // The administrator, whom no permission stops, is checked as another user.
        {"a folder that takes no new file",
         [](const std::string& name) {
             using P = fs::perms;
             fs::permissions(name, P::all & ~(P::owner_exec | P::group_exec | P::others_exec));
             fs::permissions(fs::path(name).parent_path(),
                             P::all & ~P::owner_write & ~P::group_write & ~P::others_write);
             setfsuid(65534);
         },
         [](const std::string& name) {
             setfsuid(getuid());
             fs::permissions(fs::path(name).parent_path(), fs::perms::owner_all);
         },
         "Error #  70 was generated by KOVA\rPermission denied (", 0, ""},
        {"no temporary name free",
         [](const std::string& name) {
             for (int k = 0; k < 100; ++k)
                 WriteBytes(name + ".~tmp" + std::to_string(k), "");
         },
         [](const std::string&) {},
         "Error #  75 was generated by KOVA\rPath/File access error: no temporary name is free "},
        {"a file too large to be opened again", [](const std::string&) {},
         [](const std::string&) {},
         "Error #  6 was generated by KOVA\rOverflow: ", core::kMaxDataFileBytes},
    };
    for (const Case& c : cases) {
        test::TempDir folder;
        const std::string name = folder.File("p.kov");
        WriteBytes(name, "current");
        WriteBytes(folder.File("p.bak"), "backup");
        c.before(name);
        const std::string listing = folder.Listing();
        ui.messages.clear();
        core::RecordSet set = test::NumberedSet(500);
        set[1].V8.assign(c.text, 'x');
        EXPECT_FALSE(Save(name, set, 500, 0, "")) << c.what;
        c.after(name);
        ASSERT_EQ(ui.messages.size(), 1u) << c.what;
        EXPECT_EQ(ui.messages[0].rfind("Error|" + c.message, 0), 0u) << ui.messages[0];
        const std::string tail =
            "(" + (*c.names ? folder.File(c.names) : folder.path().string()) + ")";
        EXPECT_EQ(ui.messages[0].substr(ui.messages[0].size() - tail.size()), tail)
            << ui.messages[0];
        EXPECT_EQ(ReadBytes(name), "current") << c.what;
        EXPECT_EQ(folder.Listing(), listing) << c.what;
        if (fs::is_regular_file(folder.File("p.bak"))) {
            EXPECT_EQ(ReadBytes(folder.File("p.bak")), "backup") << c.what;
        }
    }
}

// A set counted exactly at the bound is saved, read and taken again; one byte
// more is refused. The header number, which every open, append and merge
// changes, is counted at its widest: a one-digit one writes four bytes less. A
// file of the bound whose set takes it with a one-digit header number is read
// but not taken; one byte more on disk is not read.
TEST_F(DataFileTest, ASetAtItsBoundSavesAFileThatIsReadAgainAndOneByteMoreIsNot) {
    const std::string name = dir.File("full.kov");
    RecordSet set = test::NumberedSet(6);
    for (int k = 1; k <= 5; ++k)
        set[k].V8.assign(core::kMaxFieldBytes - 4096, 'x');
    for (int16_t h : {9, -32768}) {
        SCOPED_TRACE(h);
        set[6].V8 = "text 6";
        set[6].V8.append(core::kMaxDataFileBytes - core::SavedSize(set, 6, h, "").BoundBytes(),
                         'x');
        ASSERT_TRUE(Save(name, set, 6, h, "")) << LastMessage();
        ASSERT_EQ(std::filesystem::file_size(name), core::kMaxDataFileBytes - (h == 9 ? 4 : 0));
        ASSERT_TRUE(Read(name)) << LastMessage();
        ASSERT_EQ(count, 6);
        EXPECT_EQ(header, h);
        EXPECT_TRUE(records[6] == set[6]);
        EXPECT_TRUE(core::SavableAsRead(ui, name, records, count, header, info)) << LastMessage();

        set[6].V8 += 'x';
        ui.messages.clear();
        EXPECT_FALSE(Save(name, set, 6, h, ""));
        EXPECT_TRUE(LastSays("Overflow: the file would be larger than 80 MB"));
        EXPECT_EQ(std::filesystem::file_size(name), core::kMaxDataFileBytes - (h == 9 ? 4 : 0));
    }
    // The file of the five-digit header number, of exactly the bound.
    std::string bytes = ReadBytes(name);
    ASSERT_EQ(bytes.substr(0, 30), "##00000\r\n 6 MEMO 0 \r\n-32768 \r\n");
    bytes.replace(21, 7, " 9 ");
    bytes.insert(bytes.size() - 9, "xxxx");  // before "\r\n##END\r\n"
    ASSERT_EQ(bytes.size(), core::kMaxDataFileBytes);
    WriteBytes(name, bytes);
    bytes = std::string();
    ASSERT_TRUE(Read(name)) << LastMessage();
    ASSERT_EQ(header, 9);
    ui.messages.clear();
    EXPECT_FALSE(core::SavableAsRead(ui, name, records, count, header, info));
    EXPECT_TRUE(
        LastSays("saved again with a five-digit header number (which opening, appending "
                 "or merging a file can give every set), the records would be larger "
                 "than 80 MB, the most a data file may hold: no change"));

    std::ofstream(name, std::ios::binary | std::ios::app) << ' ';
    EXPECT_FALSE(Read(name));
    EXPECT_TRUE(LastSays("larger than 80 MB"));
}

TEST_F(DataFileTest, ReportDataFileErrorTexts) {
    core::ReportDataFileError(ui, 1, 0, "garbage");
    core::ReportDataFileError(ui, 2, 12, "##00013");
    core::ReportDataFileError(ui, 2, -1, "");
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[0], "KOVA|Error in the first line, not starting with ##00000garbage");
    EXPECT_EQ(ui.messages[1], "KOVA|Error in the datafile, see linenumber: 12");
    EXPECT_EQ(ui.messages[2], "KOVA|Error in the datafile, see linenumber:-1");
}

// The sample files are kept in exactly the form the writer gives them.
std::string SampleFile(const std::string& name) {
    // Found beside this source file, which the build names by its full path.
    return (std::filesystem::path(__FILE__).parent_path() / ".." / ".." / "examples" / name)
        .string();
}

void ExpectRoundTrip(const std::string& sample, int16_t& count, core::KovaState& s) {
    ASSERT_TRUE(std::filesystem::exists(sample)) << sample;
    test::FakeUi ui;
    RecordSet records;
    int16_t header = 0;
    std::string info;
    ASSERT_TRUE(core::ReadDataFile(s, ui, sample, records, count, header, info));
    EXPECT_EQ(header, 9);
    test::TempDir dir;
    ASSERT_TRUE(core::SaveDataFile(s, ui, dir.File("copy"), records, count, header, info));
    EXPECT_EQ(ReadBytes(dir.File("copy")), ReadBytes(sample));
    EXPECT_TRUE(ui.messages.empty());
}

TEST(SampleProtocol, ProtocolAndFilterFileReadAndWriteBackByteForByte) {
    core::KovaState s;
    int16_t count = 0;
    ExpectRoundTrip(SampleFile("classroom.kov"), count, s);
    EXPECT_GE(count, 100);
    EXPECT_LE(count, 300);
    EXPECT_GE(s.MemoCount, 5);
    ExpectRoundTrip(SampleFile("classroom.fil"), count, s);
    EXPECT_EQ(count, 7);
}

}  // namespace
