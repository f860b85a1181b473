// The writers other than the File menu's saves (imports, converters, the
// automatic save) never write over a file open as a set, nor over its backup.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "mainwindow/autosave.h"
#include "mainwindow/import_fixture.h"
#include "store/legacy_convert.h"
#include "store/open_save.h"

namespace {

namespace fs = std::filesystem;

// A writer given the source it reads; true when it reports success.
using Writer = std::function<bool(core::KovaState&, test::FakeUi&, const std::string& source)>;

bool Dialogue(core::KovaState& s, test::FakeUi& ui, const std::string& source) {
    test::ScriptedImportDialogs options;
    return core::ReadDialogueTextFile(s, ui, options, source);
}

bool Worksheet(core::KovaState& s, test::FakeUi& ui, const std::string& source) {
    test::ScriptedImportDialogs options;
    options.columns[7] = "1";
    test::FakeWorkbook book;
    book.cells[{1, 1}] = {core::CellValue::Kind::Text, 0, "cell"};
    return core::ImportExcelSheet(s, ui, options, source, book.Opener());
}

// The source is data set 1 and is saved automatically. It stands there as a
// set that no open would have taken in beside the other (its backup came to
// be that set's file on disk since).
bool Autosave(core::KovaState& s, test::FakeUi& ui, const std::string& source) {
    EXPECT_FALSE(core::OpenDataFile(s, ui, source));
    s.Records1 = test::NumberedSet(2);
    s.RecordCount1 = 2;
    s.DataFileName1 = source;
    core::ChooseAutosave(s, 1);
    bool saved = false;
    for (int minute = 1; minute <= 5; ++minute)
        saved = core::AutosaveTick(s, ui, false) == core::TickResult::Saved || saved;
    return saved;
}

TEST(OpenFileWriters, RefuseToWriteOverAnOpenSetsFileOrItsBackup) {
    const std::string legacy562(562, 'x'), legacy3062(3062, 'x');
    struct Case {
        const char* writer;
        Writer write;
        const char* source;       // "talk" and this extension, in the folder below
        std::string sourceBytes;  // empty: a data file
        int set;                  // which set holds `openFile`
        const char* openFile;
        bool throughLink;  // the writer reaches the folder by a symlink
    };
    const Case cases[] = {
        {"dialogue over data set 1", Dialogue, ".txt", "10:00; Anna; Hi\r\n", 1, "talk.kov", false},
        {"dialogue over data set 2", Dialogue, ".txt", "10:00; Anna; Hi\r\n", 2, "talk.kov", true},
        {"dialogue deleting an open backup", Dialogue, ".txt", "10:00; A; Hi\r\n", 2, "talk.bak",
         true},
        {"sentences over data set 1", core::ImportTextSentences, ".txt", "One. Two.\r\n", 1,
         "talk.kov", true},
        {"sentences over the filter file", core::ImportTextSentences, ".txt", "One.\r\n", 3,
         "talk.kov", false},
        {"worksheet over data set 1", Worksheet, ".xls", "book", 1, "talk.kov", true},
        {"worksheet over data set 2", Worksheet, ".xls", "book", 2, "talk.kov", false},
        {"converter moving onto data set 1", core::ConvertLegacyDataFile562, ".dat", legacy562, 1,
         "talk.old", false},
        {"converter moving onto data set 2", core::ConvertLegacyDataFile562, ".dat", legacy562, 2,
         "talk.old", true},
        {"converter over the filter file", core::ConvertLegacyFilterFile3062, ".dat", legacy3062, 3,
         "talk.dat", true},
        {"autosave onto data set 2 as backup", Autosave, ".kov", "", 2, "talk.bak", true},
        {"autosave onto the filter file as backup", Autosave, ".kov", "", 3, "talk.bak", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.writer);
        test::TempDir dir;
        const fs::path real = fs::path(dir.path()) / "real";
        fs::create_directory(real);
        fs::create_directory_symlink(real, fs::path(dir.path()) / "link");
        const std::string open = (real / c.openFile).string();
        test::WriteDataFile(open, test::NumberedSet(3), 9, "open set");

        core::KovaState s;
        test::FakeUi ui;
        if (c.set == 1) {
            ASSERT_TRUE(core::OpenDataFile(s, ui, open));
        } else {
            const std::string data1 = (real / "other.kov").string();
            test::WriteDataFile(data1, test::NumberedSet(1));
            ASSERT_TRUE(core::OpenDataFile(s, ui, data1));
            ASSERT_TRUE(c.set == 2 ? core::OpenData2File(s, ui, open)
                                   : core::OpenFilterFile(s, ui, open));
        }
        const std::string folder = c.throughLink ? "link" : "real";
        const std::string source = (fs::path(dir.path()) / folder / "talk").string() + c.source;
        if (std::string(c.openFile) == "talk.dat")
            test::WriteBytes(open, c.sourceBytes);  // replaced on disk by an older form
        else if (c.sourceBytes.empty())
            test::WriteDataFile(source, test::NumberedSet(2));
        else
            test::WriteBytes(source, c.sourceBytes);
        const auto files = test::Snapshot(real);
        ui.messages.clear();

        EXPECT_FALSE(c.write(s, ui, source));
        EXPECT_EQ(test::Snapshot(real), files);
        const std::string said = ui.messages.empty() ? "" : ui.messages.back();
        EXPECT_NE(said.find("is open in KOVA as"), std::string::npos) << said;
        // An import over an open set says how to go on, naming the file as it
        // was opened, whatever way the writer took.
        const bool importAdvice = std::string_view(c.openFile) == "talk.kov";
        const std::string advice =
            "close \"" + open + "\", or save it under another name, then import again.";
        EXPECT_EQ(said.find(advice) != std::string::npos, importAdvice) << said;
        EXPECT_TRUE(!importAdvice || said.find("choose another name") == std::string::npos) << said;
        if (c.set == 1)
            EXPECT_EQ(s.Records1, test::NumberedSet(3));
        else
            EXPECT_EQ(s.Records2, test::NumberedSet(3));
    }
}

}  // namespace
