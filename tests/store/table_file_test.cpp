#include "store/table_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "store/text.h"
#include "support/fake_ui.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

class TableFile : public ::testing::Test {
protected:
    void SetUp() override { dir = test::MakeTempDir("kova_table_"); }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(dir, fs::perms::owner_all, ec);
        fs::remove_all(dir, ec);
    }
    std::string Path(const std::string& name) const { return (dir / name).string(); }
    static std::string Slurp(const std::string& path) {
        std::ifstream f(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    }
    static void Write(const std::string& path, const std::string& bytes) {
        std::ofstream f(path, std::ios::binary);
        f << bytes;
    }
    // A state with labels and lists that differ from the defaults.
    static core::KovaState Filled() {
        core::KovaState s;
        for (int i = 0; i < 10; ++i) {
            s.Varnaam[i] = "Label " + std::to_string(i);
        }
        s.CategoryLists[4] = {"apple", "Banana", "cherry"};
        s.CategoryLists[6] = {"x"};
        return s;
    }

    fs::path dir;
    test::FakeUi ui;
};

const std::string kLabelLines =
    "\"V0\"\r\n\"V1\"\r\n\"V2\"\r\n\"V3\"\r\n\"V4\"\r\n\"V5\"\r\n\"V6\"\r\n\"V7\"\r\n\"V8\"\r\n"
    "\"Total\"\r\n";

}  // namespace

TEST_F(TableFile, WritesTheExactBytes) {
    core::KovaState s;
    s.Varnaam[3] = "Actor, who";
    s.CategoryLists[5] = {"a", "B"};
    ASSERT_TRUE(core::SaveTableFile(s, ui, Path("t.tbl")));
    EXPECT_EQ(Slurp(Path("t.tbl")),
              "\"V0\"\r\n\"V1\"\r\n\"V2\"\r\n\"Actor, who\"\r\n\"V4\"\r\n\"V5\"\r\n\"V6\"\r\n"
              "\"V7\"\r\n\"V8\"\r\n\"Total\"\r\n"
              "\"V4\",0\r\n\"V5\",2\r\n\"a\"\r\n\"B\"\r\n\"V6\",0\r\n\"V7\",0\r\n");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(fs::exists(Path("t.tbl.~tmp0")));
}

TEST_F(TableFile, RoundTripKeepsEverything) {
    core::KovaState s = Filled();
    s.Varnaam[8] = "  text, with commas  ";
    s.Varnaam[2] = "";
    s.CategoryLists[7] = {"", "two\r\nlines", "z", "\xE9t\xE9"};  // sorted: high bytes last
    s.CategoryLists[5] = {"dup", "Dup", "dup"};
    ASSERT_TRUE(core::SaveTableFile(s, ui, Path("t.tbl")));
    const std::string first = Slurp(Path("t.tbl"));

    core::KovaState r;
    r.CategoryLists[5] = {"old"};
    ASSERT_TRUE(core::ReadTableFile(r, ui, Path("t.tbl")));
    EXPECT_EQ(r.Varnaam, s.Varnaam);
    for (int k = 4; k <= 7; ++k) {
        EXPECT_EQ(r.CategoryLists[k], s.CategoryLists[k]) << "list " << k;
    }
    // Writing what was read gives the same bytes.
    ASSERT_TRUE(core::SaveTableFile(r, ui, Path("u.tbl")));
    EXPECT_EQ(Slurp(Path("u.tbl")), first);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(TableFile, OverwritesAnExistingFile) {
    Write(Path("t.tbl"), std::string(5000, 'x'));
    core::KovaState s;
    ASSERT_TRUE(core::SaveTableFile(s, ui, Path("t.tbl")));
    EXPECT_EQ(Slurp(Path("t.tbl")),
              kLabelLines + "\"V4\",0\r\n\"V5\",0\r\n\"V6\",0\r\n\"V7\",0\r\n");
}

TEST_F(TableFile, ReadingReplacesEveryListAndSortsAnyOrder) {
    Write(Path("t.tbl"), kLabelLines +
                             "\"V7\",2\r\n\"b\"\r\n\"A\"\r\n\"V6\",0\r\n\"V5\",1\r\n"
                             "\"q\"\r\n\"V4\",3\r\n\"c\"\r\n\"a\"\r\n\"B\"\r\n");
    core::KovaState s = Filled();
    ASSERT_TRUE(core::ReadTableFile(s, ui, Path("t.tbl")));
    EXPECT_EQ(s.Varnaam[9], "Total");
    EXPECT_EQ(s.CategoryLists[4], (std::vector<std::string>{"a", "B", "c"}));
    EXPECT_EQ(s.CategoryLists[5], (std::vector<std::string>{"q"}));
    EXPECT_TRUE(s.CategoryLists[6].empty());  // "x" of before is gone
    EXPECT_EQ(s.CategoryLists[7], (std::vector<std::string>{"A", "b"}));
}

TEST_F(TableFile, ReaderToleratesOtherItemForms) {
    // Lone LF and lone CR line ends, unquoted and padded items, text after a
    // closing quote, a block named twice, an unknown block, a fifth block and
    // no line end at the very end.
    Write(Path("t.tbl"),
          "l0\nl1,  l2  \r\"l3\" junk\r\n\"l4\"\"\n\"l5\",\"l6\"\n  \"  l7 \"\nl8\n\"l9\"\n"
          "V4,1\n\"one\"\n\"V4\", 1\n\"two\"\n\"XX\",2\n\"drop\"\n\"drop\"\n"
          "\"V5\",-3\n\"V9\",\"val\",1\n\"later\"");
    core::KovaState s;
    ASSERT_TRUE(core::ReadTableFile(s, ui, Path("t.tbl")));
    EXPECT_EQ(s.Varnaam, (std::array<std::string, 10>{"l0", "l1", "l2", "l3", "l4", "l5", "l6",
                                                      "  l7 ", "l8", "l9"}));
    EXPECT_EQ(s.CategoryLists[4], (std::vector<std::string>{"one", "two"}));
    EXPECT_TRUE(s.CategoryLists[5].empty());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(TableFile, DamagedFilesChangeNothingAndReport) {
    const std::string full =
        kLabelLines + "\"V4\",2\r\n\"a\"\r\n\"b\"\r\n\"V5\",0\r\n\"V6\",0\r\n\"V7\",0\r\n";
    const std::vector<std::string> damaged = {
        "",
        "\r\n",
        "\"only one label\"\r\n",
        full.substr(0, full.find("\"b\"")),         // ends inside a block
        full.substr(0, full.find("\"V7\"")),        // ends before the last block
        kLabelLines + "\"V4\",99999\r\n\"a\"\r\n",  // count beyond 16 bits
        kLabelLines + "\"V4\",32767\r\n\"a\"\r\n",  // count larger than the file
        full + std::string(core::kMaxTableFileBytes + 1 - full.size(), ' '),  // past the bound
    };
    for (const std::string& bytes : damaged) {
        Write(Path("t.tbl"), bytes);
        core::KovaState s = Filled();
        const core::KovaState before = Filled();
        ui.messages.clear();
        EXPECT_FALSE(core::ReadTableFile(s, ui, Path("t.tbl")));
        EXPECT_EQ(s.Varnaam, before.Varnaam);
        EXPECT_EQ(s.CategoryLists, before.CategoryLists);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].rfind("Error|Error # ", 0), 0u) << ui.messages[0];
        EXPECT_NE(ui.messages[0].find("ReadTableFile\r"), std::string::npos);
        if (bytes.size() > core::kMaxTableFileBytes) {
            EXPECT_NE(ui.messages[0].find("larger than 16 MB, the most a table file may hold (" +
                                          Path("t.tbl") + ")"),
                      std::string::npos)
                << ui.messages[0];
        }
    }
    // One byte less, at the bound, the file is read.
    Write(Path("t.tbl"), full + std::string(core::kMaxTableFileBytes - full.size(), ' '));
    core::KovaState s;
    EXPECT_TRUE(core::ReadTableFile(s, ui, Path("t.tbl")));
}

TEST_F(TableFile, MissingFileIsReported) {
    core::KovaState s = Filled();
    EXPECT_FALSE(core::ReadTableFile(s, ui, Path("none.tbl")));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].rfind("Error|Error #  53 was generated by ReadTableFile\r", 0), 0u);
    EXPECT_EQ(s.CategoryLists[4], Filled().CategoryLists[4]);
    EXPECT_FALSE(core::ReadTableFile(s, ui, ""));
    EXPECT_EQ(ui.messages.size(), 2u);
}

TEST_F(TableFile, BinaryGarbageNeverCrashes) {
    std::string bytes;
    unsigned x = 12345;
    for (int round = 0; round < 200; ++round) {
        bytes.clear();
        const int len = static_cast<int>(x % 400);
        for (int i = 0; i < len; ++i) {
            x = x * 1103515245u + 12345u;
            const char pick[] = {
                '"', ',', '\r', '\n', 'V', '4', '5', '9', ' ', '\0', static_cast<char>(x >> 24)};
            bytes += pick[(x >> 16) % sizeof pick];
        }
        Write(Path("g.tbl"), bytes);
        core::KovaState s;
        core::ReadTableFile(s, ui, Path("g.tbl"));
    }
    SUCCEED();
}

TEST_F(TableFile, DoubleQuotesAreRefusedBeforeWriting) {
    EXPECT_TRUE(core::IsTableItemAllowed("a, b"));
    EXPECT_TRUE(core::IsTableItemAllowed(""));
    EXPECT_FALSE(core::IsTableItemAllowed("say \"hi\""));
    EXPECT_NE(core::TableItemRefusedText("a\"b").find("double quote"), std::string::npos);
    EXPECT_LT(core::TableItemRefusedText(std::string(1 << 20, '"')).size(), 200u);

    Write(Path("t.tbl"), "old contents");
    core::KovaState s = Filled();
    s.CategoryLists[7] = {"ok", "bad\"one"};
    EXPECT_FALSE(core::SaveTableFile(s, ui, Path("t.tbl")));
    s.CategoryLists[7].clear();
    s.Varnaam[1] = "\"";
    EXPECT_FALSE(core::SaveTableFile(s, ui, Path("t.tbl")));
    EXPECT_EQ(Slurp(Path("t.tbl")), "old contents");
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0], "KOVA|" + core::TableItemRefusedText("bad\"one"));
    EXPECT_FALSE(fs::exists(Path("t.tbl.~tmp0")));
}

TEST_F(TableFile, UnwritableTargetKeepsTheOldFileAndReports) {
    core::KovaState s = Filled();
    // A folder in the way of the file.
    fs::create_directories(Path("taken.tbl"));
    EXPECT_FALSE(core::SaveTableFile(s, ui, Path("taken.tbl")));
    EXPECT_TRUE(fs::is_directory(Path("taken.tbl")));
    EXPECT_FALSE(fs::exists(Path("taken.tbl.~tmp0")));
    // A folder that does not exist.
    EXPECT_FALSE(core::SaveTableFile(s, ui, Path("no/such/t.tbl")));
    EXPECT_FALSE(core::SaveTableFile(s, ui, ""));
    ASSERT_EQ(ui.messages.size(), 3u);
    for (const std::string& m : ui.messages) {
        EXPECT_EQ(m.rfind("Error|Error #  75 was generated by SaveTableFile\r", 0), 0u) << m;
    }
}

// The sample table file is kept in exactly the form the writer gives it.
TEST_F(TableFile, SampleTableReadsAndWritesBackByteForByte) {
    const std::string sample =
        (fs::path(__FILE__).parent_path() / ".." / ".." / "examples" / "classroom.tbl").string();
    core::KovaState s;
    ASSERT_TRUE(core::ReadTableFile(s, ui, sample));
    EXPECT_EQ(s.Varnaam[4], "Speech act");
    EXPECT_EQ(s.CategoryLists[5], (std::vector<std::string>{"L1", "L2", "L3"}));
    ASSERT_TRUE(core::SaveTableFile(s, ui, Path("copy.tbl")));
    EXPECT_EQ(Slurp(Path("copy.tbl")), Slurp(sample));
    EXPECT_TRUE(ui.messages.empty());
}

// Files of other kinds are refused whole: the labels and lists stay as they
// were and the message says what the file is not.
TEST_F(TableFile, FilesWithoutTheTableLayoutAreRefused) {
    std::string random;
    unsigned x = 2024;
    for (int i = 0; i < 3000; ++i) {
        x = x * 1103515245u + 12345u;
        random += static_cast<char>(x >> 23);
    }
    std::string prose;
    for (int i = 0; i < 40; ++i) {
        prose += "Line " + std::to_string(i) + " of a letter, with commas, and more\r\n";
    }
    const std::string dataFile =
        "##00000\r\n 2 MEMO 0 \r\n 9 \r\ninfo\r\n##00001\r\n0:01\r\n 1 \r\nT\r\nQ\r\n\r\n\r\n\r\n"
        "one\r\n##00002\r\n0:02\r\n 2 \r\nT\r\nA\r\n\r\n\r\n\r\ntwo\r\n##END\r\n";
    const std::string noKnownList =
        kLabelLines + "\"X1\",0\r\n\"X2\",1\r\n\"a\"\r\n\"X3\",0\r\n\"X4\",0\r\n";
    struct Case {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"random bytes", random},
        {"a text of prose", prose},
        {"a data file", dataFile},
        {"no list V4..V7", noKnownList},
        {"a control byte",
         kLabelLines + "\"V4\",1\r\n\"a" + std::string(1, '\0') + "b\"\r\n\"V5\",0\r\n"},
    };
    for (const Case& c : cases) {
        Write(Path("other.tbl"), c.bytes);
        core::KovaState s = Filled();
        ui.messages.clear();
        EXPECT_FALSE(core::ReadTableFile(s, ui, Path("other.tbl"))) << c.what;
        EXPECT_EQ(s.Varnaam, Filled().Varnaam) << c.what;
        EXPECT_EQ(s.CategoryLists, Filled().CategoryLists) << c.what;
        ASSERT_EQ(ui.messages.size(), 1u) << c.what;
        EXPECT_EQ(ui.messages[0].rfind("Error|Error # ", 0), 0u) << ui.messages[0];
        EXPECT_NE(ui.messages[0].find("other.tbl is not a table file"), std::string::npos)
            << c.what << ": " << ui.messages[0];
    }
}

// A long list read in any order comes out as inserting its items one by one
// would leave it: sorted, equal items in file order.
TEST_F(TableFile, LongListsAreSortedAsInsertingWouldSortThem) {
    std::vector<std::string> items;
    std::string bytes = kLabelLines + "\"V4\",3000\r\n";
    for (int i = 0; i < 3000; ++i) {
        // Case differences make equal items that keep their order.
        std::string item = (i % 3 == 0 ? "CODE" : "code") + std::to_string((i * 7919) % 1000);
        bytes += "\"" + item + "\"\r\n";
        items.push_back(item);
    }
    bytes += "\"V5\",0\r\n\"V6\",0\r\n\"V7\",0\r\n";
    Write(Path("long.tbl"), bytes);
    core::KovaState s;
    ASSERT_TRUE(core::ReadTableFile(s, ui, Path("long.tbl")));
    std::vector<std::string> expected;
    for (const std::string& item : items) {
        core::InsertSorted(expected, item);
    }
    EXPECT_EQ(s.CategoryLists[4], expected);
}
