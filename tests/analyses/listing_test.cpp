// The protocol listing and the grid view's listing: whole listing blocks
// compared byte for byte with files and lines written out by hand.
#include "analyses/listing.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "analyses/analysis_fixture.h"

namespace test {
namespace {

std::string Golden(const std::string& name) {
    return ReadAll(std::filesystem::path(KOVA_SOURCE_DIR) / "tests/analyses/golden" / name);
}

core::ProtocolRecord Rec(int16_t v0, std::string v1, int16_t v2, std::vector<std::string> codes,
                         std::string v8, std::string memo = "") {
    core::ProtocolRecord r;
    r.V0 = v0;
    r.V1 = std::move(v1);
    r.V2 = v2;
    codes.resize(5);
    r.V3 = codes[0];
    r.V4 = codes[1];
    r.V5 = codes[2];
    r.V6 = codes[3];
    r.V7 = codes[4];
    r.V8 = std::move(v8);
    r.Memo = std::move(memo);
    return r;
}

class ListingTest : public AnalysisTest {
protected:
    void SetUp() override {
        AnalysisTest::SetUp();
        // A wrapped text with a memo, a V1 longer than its field, a word
        // longer than the text column, trailing blanks and a record number
        // of five digits (a record of a larger protocol, as in a selection).
        s.Records1 = {
            core::ProtocolRecord{},
            Rec(1, "0:01:05", 1, {"T", "Q"}, "Who knows why a boat floats?  "),
            Rec(2, "0:01:12", -1, {"P1", "A", "B1", "L2", "x"},
                "The boat floats because the air inside makes it light, and the water "
                "pushes it up from below.",
                "check\r\nthis"),
            Rec(3, "12:34:56.789", 0, {},
                "Abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz "
                "end\r\nline two"),
            Rec(12345, "1:00:00", 1, {}, "Last.", "Five digits"),
        };
        s.RecordCount1 = 4;
        s.FromRecord = 1;
        s.ToRecord = 4;
        s.FileInfo1 = "Classroom test\r\nsecond line";
    }

    std::string ListingPath() const { return (dir / "talk.lst").string(); }
    std::string Listing() const { return ReadAll(dir / "talk.lst"); }
};

TEST_F(ListingTest, PrettyLayoutWithFileInfoAndMemos) {
    s.ListingForExcel = 0;
    s.ListingMemos = 1;
    s.ListingFileInfo = 1;
    ASSERT_TRUE(core::WriteListing(s, ui));
    EXPECT_EQ(Listing(), Golden("listing_pretty.lst"));
    EXPECT_EQ(s.ListingFileName, ListingPath());
    EXPECT_EQ(s.CurrentFileName, s.DataFileName1);
    EXPECT_EQ(s.OutputKind, "lst");
    EXPECT_EQ(ui.outputCaption, "KOVA Output file: " + ListingPath());
    EXPECT_EQ(ui.outputText, Golden("listing_pretty.lst"));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ListingTest, ImportLayoutAppendsToWhatIsThere) {
    std::ofstream(ListingPath(), std::ios::binary) << "earlier\r\n";
    s.ListingForExcel = 1;
    s.ListingMemos = 1;
    s.ListingFileInfo = 0;
    ASSERT_TRUE(core::WriteListing(s, ui));
    EXPECT_EQ(Listing(), "earlier\r\n" + Golden("listing_import.lst"));
}

TEST_F(ListingTest, RecordLineChoices) {
    struct Case {
        const char* name;
        bool forExcel;
        bool withMemo;
        core::ProtocolRecord record;
        std::string line;
    };
    const std::string fields =
        "   12|   0:01:05|    1|         A|        Q1|          |          |";
    const Case cases[] = {
        {"import without memo", true, false, Rec(12, "0:01:05", 1, {"A", "Q1"}, "yes", "m"),
         "   12^0:01:05^    1^A^Q1^^^^yes\r\n"},
        {"import keeps an empty memo", true, true, Rec(12, "0:01:05", 1, {"A", "Q1"}, "yes"),
         "   12^0:01:05^    1^A^Q1^^^^yes^\r\n"},
        {"filter opcode", true, false, Rec(3, "", 999, {}, ""), "    3^^  999^^^^^^\r\n"},
        {"pretty without memo part", false, true, Rec(12, "0:01:05", 1, {"A", "Q1"}, "yes"),
         fields + "          | yes\r\n"},
        {"pretty with the memo left out", false, false,
         Rec(12, "0:01:05", 1, {"A", "Q1"}, "yes", "m"), fields + "          | yes\r\n"},
        {"pretty line break in the text", false, false,
         Rec(12, "0:01:05", 1, {"A", "Q1"}, "one\r\ntwo"),
         fields + "          | one\r\n" + std::string(79, ' ') + "two\r\n"},
        {"pretty five-digit sequence number", false, false, Rec(1, "", -32768, {}, "x"),
         "    1|          |-32768|          |          |          |          |          | x\r\n"},
    };
    for (const Case& c : cases) {
        core::ReportWriter out;
        core::WriteListingRecord(out, c.record, c.forExcel, c.withMemo);
        EXPECT_EQ(out.Bytes(), c.line) << c.name;
    }
}

TEST_F(ListingTest, RangeOfDataSetOne) {
    s.ListingForExcel = 1;
    s.FromRecord = 2;
    s.ToRecord = 3;
    ASSERT_TRUE(core::WriteListing(s, ui));
    // Records 2 and 3 of the golden block, without their memos.
    EXPECT_EQ(Listing(),
              "\r\n"
              "    2^0:01:12^   -1^P1^A^B1^L2^x^The boat floats because the air inside makes it "
              "light, and the water pushes it up from below.\r\n"
              "    3^12:34:56.789^    0^^^^^^Abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz"
              "abcdefghijklmnopqrstuvwxyz end\r\nline two\r\n"
              "\r\n");
}

TEST_F(ListingTest, RangeOutsideTheSetWritesNothing) {
    const std::pair<int16_t, int16_t> ranges[] = {{0, 2}, {3, 2}, {1, 5}, {-1, -1}};
    for (auto [from, to] : ranges) {
        s.FromRecord = from;
        s.ToRecord = to;
        EXPECT_FALSE(core::WriteListing(s, ui)) << from << ".." << to;
    }
    EXPECT_FALSE(std::filesystem::exists(ListingPath()));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(ui.outputCaption.empty());
    EXPECT_TRUE(s.ListingFileName.empty());
}

TEST_F(ListingTest, SecondSetAndFilterLinesAreListedWhole) {
    s.Records2 = {core::ProtocolRecord{}, Rec(1, "", 999, {"*"}, "rule", "memo"),
                  Rec(2, "", -1, {}, "cond")};
    s.FromRecord = 2;  // the range and the memo option do not apply
    s.ToRecord = 2;
    s.ListingMemos = 1;
    s.ListingForExcel = 1;
    const std::string expected = "\r\n    1^^  999^*^^^^^rule\r\n    2^^   -1^^^^^^cond\r\n\r\n";

    s.ViewMode = 3;
    s.FilterCount = 2;
    s.FilterFileName = (dir / "rules.fil").string();
    ASSERT_TRUE(core::WriteListing(s, ui));
    EXPECT_EQ(ReadAll(dir / "rules.lst"), expected);
    EXPECT_EQ(s.CurrentFileName, s.FilterFileName);

    s.ViewMode = 2;
    s.FilterCount = 0;
    s.FilterFileName.clear();
    s.RecordCount2 = 2;
    s.DataFileName2 = (dir / "coder2.kov").string();
    s.ListingFileInfo = 1;
    s.FileInfo2 = "second coder";
    ASSERT_TRUE(core::WriteListing(s, ui));
    EXPECT_EQ(ReadAll(dir / "coder2.lst"),
              "\r\nsecond coder\r\n\r\n    1^^  999^*^^^^^rule\r\n    2^^   -1^^^^^^cond\r\n\r\n");

    s.ViewMode = 0;
    EXPECT_FALSE(core::WriteListing(s, ui));
}

TEST_F(ListingTest, ListingFileThatIsAnOpenSetsFileIsRefused) {
    // The filter file open is, under another name, the file the listing
    // would go to.
    std::ofstream(ListingPath(), std::ios::binary) << "##00000\r\n";
    s.FilterFileName = (dir / "rules.fil").string();
    std::filesystem::create_symlink(ListingPath(), s.FilterFileName);
    EXPECT_FALSE(core::WriteListing(s, ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].rfind("Error|The listing file", 0), 0u) << ui.messages[0];
    EXPECT_EQ(Listing(), "##00000\r\n");
    EXPECT_TRUE(s.ListingFileName.empty());

    // A data file named like a listing: its own name would be derived.
    ui.messages.clear();
    std::filesystem::remove(s.FilterFileName);
    s.FilterFileName.clear();
    s.DataFileName1 = ListingPath();
    EXPECT_FALSE(core::WriteListing(s, ui));
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(Listing(), "##00000\r\n");
}

TEST_F(ListingTest, FailuresLeaveEverythingAsItWas) {
    s.ListingFileName = "before.lst";
    s.DataFileName1 = (dir / "missing" / "talk.kov").string();
    EXPECT_FALSE(core::WriteListing(s, ui));
    s.DataFileName1 = "a.k";
    EXPECT_FALSE(core::WriteListing(s, ui));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].rfind("Error|Error # ", 0), 0u) << ui.messages[0];
    EXPECT_EQ(ui.messages[1].rfind("Error|Error # ", 0), 0u) << ui.messages[1];
    EXPECT_EQ(s.ListingFileName, "before.lst");
    EXPECT_TRUE(ui.outputCaption.empty());
}

TEST_F(ListingTest, GridRowsInTheirOrder) {
    const std::vector<std::string> a{"12", "0:01:05", " 1", "A", "Q1", "", "", "", "yes"};
    const std::vector<std::string> b{"3", "", "-7", "", "", "", "", "", "two\r\nlines"};
    const std::string none = "          |";
    core::GridListing grid{false, {a, b}};

    s.ListingForExcel = 0;
    ASSERT_TRUE(core::WriteGridListing(s, ui, s.DataFileName1, grid));
    std::string expected =
        "\r\n"
        "   12|   0:01:05|    1|         A|        Q1|" +
        none + none + none +
        " yes\r\n"
        "    3|          |   -7|" +
        none + none + none + none + none + " two\r\n" + std::string(79, ' ') +
        "lines\r\n"
        "\r\n";
    EXPECT_EQ(Listing(), expected);
    EXPECT_EQ(ui.outputText, expected);

    s.ListingForExcel = 1;
    ASSERT_TRUE(core::WriteGridListing(s, ui, s.DataFileName1, grid));
    expected += "\r\n12^0:01:05^ 1^A^Q1^^^^yes^\r\n3^^-7^^^^^^two\r\nlines^\r\n\r\n";
    EXPECT_EQ(Listing(), expected);

    // Two coders: ten cells, the text from column 91. A position of five
    // digits in the number column is written whole.
    s.ListingForExcel = 0;
    core::GridListing twoCoder{true,
                               {{"DIF", "0:01:05", " 1", "A", "Q1", "", "", "", "B", "yes"},
                                {" 12345", "", " 1", "", "", "", "", "", "", "end"}}};
    ASSERT_TRUE(core::WriteGridListing(s, ui, (dir / "pair.kov").string(), twoCoder));
    EXPECT_EQ(ReadAll(dir / "pair.lst"),
              "\r\n"
              "  DIF|   0:01:05|    1|         A|        Q1|" +
                  none + none + none +
                  "         B| yes\r\n"
                  " 12345|          |    1|" +
                  none + none + none + none + none + none +
                  " end\r\n"
                  "\r\n");
}

TEST_F(ListingTest, OptionsDialogRangeAndChoices) {
    EXPECT_EQ(core::ListingRangePreset(s), (std::array<std::string, 2>{" 1", " 12345"}));

    ASSERT_TRUE(core::ApplyListingOptions(s, ui, "2", " 3", true, false, true));
    EXPECT_EQ(s.FromRecord, 2);
    EXPECT_EQ(s.ToRecord, 3);
    EXPECT_EQ(s.ListingMemos, 1);
    EXPECT_EQ(s.ListingFileInfo, 0);
    EXPECT_EQ(s.ListingForExcel, 1);

    // A shown selection: typed record numbers become positions.
    s.SelectionShown1 = core::kTrue;
    ASSERT_TRUE(core::ApplyListingOptions(s, ui, "12345", "12345", false, true, false));
    EXPECT_EQ(s.FromRecord, 4);
    EXPECT_EQ(s.ToRecord, 4);
    EXPECT_EQ(s.ListingMemos, 0);
    EXPECT_EQ(s.ListingFileInfo, 1);
    EXPECT_EQ(s.ListingForExcel, 0);

    // A number beyond 16 bits keeps the dialog open and changes nothing.
    EXPECT_FALSE(core::ApplyListingOptions(s, ui, "40000", "1", true, true, true));
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(s.FromRecord, 4);
    EXPECT_EQ(s.ListingForExcel, 0);

    s.ViewMode = 3;
    s.Records2 = {core::ProtocolRecord{}, Rec(1, "", 0, {}, ""), Rec(2, "", 0, {}, "")};
    s.FilterCount = 2;
    EXPECT_EQ(core::ListingRangePreset(s), (std::array<std::string, 2>{" 1", " 2"}));
    ASSERT_TRUE(core::ApplyListingOptions(s, ui, "1", "2", false, false, false));
    EXPECT_EQ(s.FromFilterLine, 1);
    EXPECT_EQ(s.ToFilterLine, 2);
    EXPECT_EQ(s.FromRecord, 4);

    s.ViewMode = 0;
    EXPECT_EQ(core::ListingRangePreset(s), (std::array<std::string, 2>{}));
}

}  // namespace
}  // namespace test
