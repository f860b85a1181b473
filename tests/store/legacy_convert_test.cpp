#include "store/legacy_convert.h"

#include <gtest/gtest.h>

#include "store/store_test_util.h"
#include "support/fake_ui.h"

namespace {

// One older record: fields filled up with blanks, V2 little-endian.
std::string OldRecord(size_t length, const std::string& v1, int16_t v2, const std::string& v3,
                      const std::string& v4, const std::string& v8) {
    auto field = [](const std::string& text, size_t size) {
        std::string f = text.substr(0, size);
        f.resize(size, ' ');
        return f;
    };
    const uint16_t bits = static_cast<uint16_t>(v2);
    std::string r = field(v1, 10);
    r.push_back(static_cast<char>(bits & 0xFF));
    r.push_back(static_cast<char>(bits >> 8));
    r += field(v3, 10) + field(v4, 10) + field("", 10) + field("", 10) + field("", 10) +
         field(v8, length - 62);
    return r;
}

TEST(LegacyRecords, ByteLayoutOfBothLengths) {
    for (size_t length : {size_t{562}, size_t{3062}}) {
        SCOPED_TRACE(length);
        std::string bytes = OldRecord(length, " 10:00", -1, "Anna", "Q1", "Hello there") +
                            OldRecord(length, "10:05", 300, "Bo", "", "Yes");
        ASSERT_EQ(bytes.size(), 2 * length);
        int16_t count = 0;
        core::RecordSet trimmed = core::ParseLegacyRecords(bytes, length, true, count);
        ASSERT_EQ(count, 2);
        EXPECT_EQ(trimmed[1].V0, 1);
        EXPECT_EQ(trimmed[1].V1, "10:00");
        EXPECT_EQ(trimmed[1].V2, -1);
        EXPECT_EQ(trimmed[1].V3, "Anna");
        EXPECT_EQ(trimmed[1].V4, "Q1");
        EXPECT_EQ(trimmed[1].V5, "");
        EXPECT_EQ(trimmed[1].V8, "Hello there");
        EXPECT_EQ(trimmed[2].V2, 300);
        core::RecordSet whole = core::ParseLegacyRecords(bytes, length, false, count);
        EXPECT_EQ(whole[1].V1, " 10:00    ");
        EXPECT_EQ(whole[2].V8.size(), length - 62);
        EXPECT_EQ(whole[2].V8.substr(0, 4), "Yes ");
        // A trailing partial record is ignored.
        core::ParseLegacyRecords(bytes + "x", length, true, count);
        EXPECT_EQ(count, 2);
        core::ParseLegacyRecords(bytes.substr(0, length - 1), length, true, count);
        EXPECT_EQ(count, 0);
    }
}

struct Converters : ::testing::Test {
    test::TempDir dir;
    core::KovaState s;
    test::FakeUi ui;
};

TEST_F(Converters, DataFileIsKeptAsOldAndRewrittenInTheCurrentForm) {
    const std::string name = dir.File("notes.dat");
    const std::string old =
        OldRecord(562, "10:00", 2, "Anna", "Q", "Hi") + OldRecord(562, "10:01", 3, "Bo", "", "Ho");
    test::WriteBytes(name, old);
    test::WriteBytes(dir.File("notes.old"), "earlier");
    test::WriteBytes(dir.File("notes.bak"), "a backup of another file");
    s.FileInfo1 = "replaced set";
    ASSERT_TRUE(core::ConvertLegacyDataFile562(s, ui, name));
    EXPECT_EQ(test::ReadBytes(dir.File("notes.old")), old);
    EXPECT_EQ(s.RecordCount1, 2);
    EXPECT_EQ(s.FileInfo1, name);
    EXPECT_EQ(s.DataFileName1, name);
    EXPECT_EQ(s.ViewMode, 1);
    EXPECT_EQ(s.CurrentRecord1, 1);
    EXPECT_EQ(test::ReadBytes(name),
              "##00000\r\n 2 MEMO 0 \r\n 9 \r\n" + name +
                  "\r\n##00001\r\n10:00\r\n 2 \r\nAnna\r\nQ\r\n\r\n\r\n\r\nHi\r\n"
                  "##00002\r\n10:01\r\n 3 \r\nBo\r\n\r\n\r\n\r\n\r\nHo\r\n##END\r\n");
    EXPECT_EQ(dir.Listing(), "notes.bak;notes.dat;notes.old;");
    EXPECT_EQ(test::ReadBytes(dir.File("notes.bak")), "a backup of another file");
}

// Through a link the file it leads to is converted, its older form kept
// beside it; the link stays and names the set.
TEST_F(Converters, ALinkStaysAndTheFileItLeadsToIsConverted) {
    namespace fs = std::filesystem;
    const std::string old = OldRecord(562, "10:00", 2, "Anna", "Q", "Hi");
    const std::string link = dir.File("link.dat");
    fs::create_directory(dir.path() / "real");
    test::WriteBytes(dir.File("real/notes.dat"), old);
    fs::create_symlink("real/notes.dat", link);
    ASSERT_TRUE(core::ConvertLegacyDataFile562(s, ui, link));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link), "real/notes.dat");
    EXPECT_EQ(test::ReadBytes(dir.File("real/notes.old")), old);
    EXPECT_EQ(test::ReadBytes(dir.File("real/notes.dat")).substr(0, 7), "##00000");
    EXPECT_EQ(s.DataFileName1, link);
    EXPECT_EQ(s.FileInfo1, link);
    EXPECT_EQ(dir.Listing(), "link.dat;real;");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Converters, FilterFileKeepsTheBlanksInMemoryAndShowsTheLastLine) {
    const std::string name = dir.File("rules.fil");
    test::WriteBytes(
        name, OldRecord(3062, "*", 999, "*", "A", "x") + OldRecord(3062, "*", 0, "*", "B", "y"));
    ASSERT_TRUE(core::ConvertLegacyFilterFile3062(s, ui, name));
    EXPECT_EQ(s.FilterCount, 2);
    EXPECT_EQ(s.CurrentFilterLine, 2);
    EXPECT_EQ(s.ViewMode, 3);
    EXPECT_EQ(s.Records2[1].V8.size(), 3000u);
    EXPECT_EQ(s.Records2[1].V1.size(), 10u);
    EXPECT_EQ(s.Records2[1].V2, 999);
    EXPECT_EQ(s.FilterFileInfo, name);
    EXPECT_EQ(test::ReadBytes(name).substr(0, 7), "##00000");
}

TEST_F(Converters, RefusalsLeaveTheFilesAsTheyWere) {
    test::WriteBytes(dir.File("current.dat"), "##00000\r\n 0 MEMO 0 \r\n 9 \r\n##END\r\n");
    test::WriteBytes(dir.File("current.old"), "the real older file");
    std::string huge(static_cast<size_t>(core::kMaxRecords + 1) * 562, ' ');
    test::WriteBytes(dir.File("huge.dat"), huge);
    test::WriteBytes(dir.File("x.d"), std::string(562, ' '));
    // Moved to its ".old" name, then no temporary name is free for the new form.
    const std::string old = OldRecord(562, "10:00", 2, "Anna", "Q", "Hi");
    test::WriteBytes(dir.File("taken.dat"), old);
    for (int k = 0; k < 100; ++k)
        test::WriteBytes(dir.File("taken.dat.~tmp" + std::to_string(k)), "");
    // A link to a name the program cannot hold.
    test::WriteBytes((dir.path() / u8"\u65E5.dat").string(), old);
    std::filesystem::create_symlink(u8"\u65E5.dat", dir.path() / "far.dat");
    const auto files = test::Snapshot(dir.path());
    s.Records1 = test::NumberedSet(2);
    s.RecordCount1 = 2;
    s.DataFileName1 = dir.File("set.kov");
    const core::KovaState before = s;
    using Converter = bool (*)(core::KovaState&, core::KovaUi&, const std::string&);
    struct Case {
        Converter convert;
        std::vector<const char*> names;
    };
    // A file past the record limit is too large to write for the longer records.
    const Case cases[] = {
        {core::ConvertLegacyDataFile562,
         {"current.dat", "huge.dat", "missing.dat", "x.d", "current.old", "taken.dat", "far.dat"}},
        {core::ConvertLegacyDataFile3062, {"current.dat", "missing.dat"}},
        {core::ConvertLegacyFilterFile562, {"current.dat", "huge.dat", "missing.dat", "x.d"}},
        {core::ConvertLegacyFilterFile3062, {"current.dat", "missing.dat"}},
    };
    for (const Case& c : cases) {
        for (const char* name : c.names) {
            SCOPED_TRACE(name);
            ui.messages.clear();
            const std::string path = std::string(name) == "x.d" ? "x.d" : dir.File(name);
            EXPECT_FALSE(c.convert(s, ui, path));
            EXPECT_EQ(ui.messages.size(), 1u);
            EXPECT_TRUE(s.Records1 == before.Records1);
            EXPECT_TRUE(s.Records2 == before.Records2);
            EXPECT_EQ(s.ViewMode, before.ViewMode);
            EXPECT_EQ(s.DataFileName1, before.DataFileName1);
        }
    }
    EXPECT_EQ(test::Snapshot(dir.path()), files);
}

}  // namespace
