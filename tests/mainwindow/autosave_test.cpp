#include "mainwindow/autosave.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "mainwindow/daily_fixture.h"
#include "mainwindow/import_fixture.h"
#include "store/open_save.h"
#include "store/selection_store.h"
#include "store/store_test_util.h"

namespace {

struct Autosave : ::testing::Test {
    test::TempDir dir;
    core::KovaState s;
    test::FakeUi ui;
    std::string name;

    void SetUp() override {
        name = test::WriteDataFile(dir.File("lesson.kov"), test::NumberedSet(3), 9, "info");
        ASSERT_TRUE(core::OpenDataFile(s, ui, name));
    }
    // The ticks of `minutes` minutes; which of them saved (1-based).
    std::vector<int> Run(int minutes, bool insideCommand = false) {
        std::vector<int> saves;
        for (int m = 1; m <= minutes; ++m)
            if (core::AutosaveTick(s, ui, insideCommand) == core::TickResult::Saved)
                saves.push_back(m);
        return saves;
    }
    // Runs `minutes` minutes that must not save; the messages told by then.
    size_t Unsaved(int minutes) {
        EXPECT_EQ(Run(minutes), std::vector<int>{});
        return ui.messages.size();
    }
};

TEST_F(Autosave, SavesEveryPeriodAfterTheChoice) {
    struct Case {
        int16_t choice;
        int minutes;
        std::vector<int> saves;
    };
    const Case cases[] = {{1, 16, {5, 10, 15}}, {12, 130, {60, 120}}, {0, 30, {}}, {-1, 30, {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.choice);
        EXPECT_EQ(core::ChooseAutosave(s, c.choice), c.choice > 0);
        EXPECT_EQ(Run(c.minutes), c.saves);
    }
}

TEST_F(Autosave, WritesTheCurrentSetWithItsFileInfo) {
    core::ChooseAutosave(s, 1);
    s.Records1[2].V8 = "changed";
    s.FileInfo1 = "new info";
    s.ViewMode = 3;  // whatever set is shown
    EXPECT_EQ(Run(5), std::vector<int>{5});
    const auto again = test::ReadDataBack(name);
    ASSERT_TRUE(again.ok);
    EXPECT_EQ(again.records[2].V8, "changed");
    EXPECT_EQ(again.info, "new info");
    EXPECT_TRUE(std::filesystem::exists(dir.File("lesson.bak")));
}

TEST_F(Autosave, NothingCountsWithoutDataSet1OrInsideACommand) {
    core::ChooseAutosave(s, 1);
    EXPECT_EQ(Run(10, true), std::vector<int>{});
    EXPECT_EQ(s.AutosaveTicks, 0);
    s.DataFileName1.clear();
    EXPECT_EQ(Run(10), std::vector<int>{});
    s.DataFileName1 = name;
    EXPECT_EQ(Run(5), std::vector<int>{5});
}

TEST_F(Autosave, ShownSelectionIsWrittenBackInEveryViewAndStaysShown) {
    core::BeginSelection(s, ui);
    s.SelectionMarks1[2] = 1;
    core::ApplySelection(s, ui);
    s.Records1[1].V4 = "edited";
    s.ViewMode = 2;
    core::ChooseAutosave(s, 1);
    EXPECT_EQ(Run(5), std::vector<int>{5});
    EXPECT_EQ(s.SelectionShown1, core::kTrue);
    EXPECT_EQ(s.RecordCount1, 1);
    EXPECT_EQ(s.ViewMode, 2);
    const auto again = test::ReadDataBack(name);
    ASSERT_EQ(again.count, 3);
    EXPECT_EQ(again.records[2].V4, "edited");
}

TEST_F(Autosave, SetReadInPartAndFailedSavesKeepTheFiles) {
    core::ChooseAutosave(s, 1);
    s.ReadIncomplete1 = true;
    const std::string file = test::ReadBytes(name);
    for (int m = 1; m <= 4; ++m)
        EXPECT_EQ(core::AutosaveTick(s, ui, false), core::TickResult::Counted);
    EXPECT_EQ(core::AutosaveTick(s, ui, false), core::TickResult::Skipped);
    EXPECT_EQ(dir.Listing(), "lesson.kov;");
    EXPECT_EQ(ui.messages.size(), 1u);
    ui.messages.clear();
    s.ReadIncomplete1 = false;
    // The backup's name is taken by a folder: the save fails, with one message.
    std::filesystem::create_directory(dir.File("lesson.bak"));
    test::WriteBytes(dir.File("lesson.bak/keep"), "kept");
    for (int m = 1; m <= 4; ++m)
        core::AutosaveTick(s, ui, false);
    EXPECT_EQ(core::AutosaveTick(s, ui, false), core::TickResult::Failed);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(test::ReadBytes(name), file);
    EXPECT_EQ(test::ReadBytes(dir.File("lesson.bak/keep")), "kept");
    EXPECT_EQ(dir.Listing(), "lesson.bak;lesson.kov;");
}

// Once a set read in part has replaced its file, the backup keeps the file as
// it was: neither a later save by hand nor an automatic one replaces it.
TEST_F(Autosave, TheOriginalOfASetReadInPartStaysInItsBackup) {
    const std::string cut = dir.File("cut.kov");
    const std::string original =
        "##00000\r\n 2 MEMO 0 \r\n 2 \r\nx\r\n##00001\r\na\r\n 1 \r\nT\r\n"
        "\r\n\r\n\r\n\r\none\r\n##0000?\r\n";
    test::WriteBytes(cut, original);
    ASSERT_TRUE(core::OpenDataFile(s, ui, cut));
    ui.answers = {core::Answer::Yes};
    ASSERT_TRUE(core::SaveCurrentFile(s, ui));
    ASSERT_TRUE(core::SaveCurrentFile(s, ui));
    core::ChooseAutosave(s, 1);
    EXPECT_EQ(Run(5), std::vector<int>{5});
    EXPECT_EQ(test::ReadBytes(dir.File("cut.bak")), original);
}

// A set read only in part is not saved automatically: that is told once,
// with how to save it.
TEST_F(Autosave, ASetReadInPartIsToldOnceWithHowToSaveIt) {
    core::ChooseAutosave(s, 1);
    s.ReadIncomplete1 = true;
    ASSERT_EQ(Unsaved(15), 1u);
    for (const char* says : {"automatic save did not save \"", "read only in part", "Save Data",
                             "Save Kovfile", "every 5 minutes"})
        EXPECT_NE(ui.messages[0].find(says), std::string::npos) << ui.messages[0];
    // Another file read in part as data set 1: told again.
    s.DataFileName1 = dir.File("other.kov");
    EXPECT_EQ(Unsaved(5), 2u);
    EXPECT_EQ(dir.Listing(), "lesson.kov;");
}

// The refusals of data set 1's save, each set (true) or ended (false).
struct Refusal {
    const char* what;
    std::function<void(Autosave&, bool)> set;
};

std::vector<Refusal> Refusals() {
    return {
        {"read in part", [](Autosave& t, bool on) { t.s.ReadIncomplete1 = on; }},
        {"backup name taken by a folder",
         [](Autosave& t, bool on) {
             std::filesystem::remove_all(t.dir.File("lesson.bak"));
             if (on)
                 std::filesystem::create_directory(t.dir.File("lesson.bak"));
         }},
        // Another program's version: ended when the user has saved over it.
        {"file changed on disk",
         [](Autosave& t, bool on) {
             if (on)
                 std::filesystem::rename(
                     test::WriteDataFile(t.dir.File("theirs.tmp"), test::NumberedSet(5)), t.name);
             else
                 t.s.DataFileKnown1 = core::KnowFile(t.name);
         }},
    };
}

TEST_F(Autosave, ARefusalIsToldAgainAfterASuccessfulSave) {
    core::ChooseAutosave(s, 1);
    for (const Refusal& r : Refusals()) {
        SCOPED_TRACE(r.what);
        ui.messages.clear();
        r.set(*this, true);
        EXPECT_EQ(Unsaved(10), 1u);
        r.set(*this, false);
        EXPECT_EQ(Run(5), std::vector<int>{5});
        r.set(*this, true);
        EXPECT_EQ(Unsaved(5), 2u);
        r.set(*this, false);
    }
}

TEST_F(Autosave, ARefusalAboutDataSet1IsToldAgainWhenAnotherSetIsOpened) {
    const std::string second = test::WriteDataFile(dir.File("second.kov"), test::NumberedSet(2));
    const std::string filter = test::WriteDataFile(dir.File("lines.fil"), test::NumberedSet(1));
    core::ChooseAutosave(s, 1);
    for (const Refusal& r : Refusals()) {
        SCOPED_TRACE(r.what);
        s.DataFileName2.clear();
        s.FilterFileName.clear();
        ui.messages.clear();
        r.set(*this, true);
        EXPECT_EQ(Unsaved(10), 1u);
        ASSERT_TRUE(core::OpenData2File(s, ui, second));
        EXPECT_EQ(Unsaved(10), 2u);
        ASSERT_TRUE(core::OpenFilterFile(s, ui, filter));
        EXPECT_EQ(Unsaved(5), 3u);
        r.set(*this, false);
    }
}

// Another refusal of the same files is told at once.
TEST_F(Autosave, AnotherRefusalIsToldAtOnce) {
    core::ChooseAutosave(s, 1);
    Refusals()[1].set(*this, true);
    EXPECT_EQ(Run(5), std::vector<int>{});
    Refusals()[1].set(*this, false);
    std::filesystem::permissions(name, std::filesystem::perms::owner_read);
    EXPECT_EQ(Run(5), std::vector<int>{});
    std::filesystem::permissions(name, std::filesystem::perms::owner_all);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_NE(ui.messages[1].find("Permission denied"), std::string::npos) << ui.messages[1];
}

// A refused save is told once, as the automatic save's, with a way on; the
// same refusal comes back silently until the open files change.
TEST_F(Autosave, ARefusalIsToldOnceUntilTheOpenFilesChange) {
    // Two sets that keep one backup (they came to by the file system, after
    // they were opened); data set 1's name is not of the form Save Kovfile keeps.
    std::filesystem::rename(name, dir.File("lesson.ko1"));
    s.DataFileName1 = dir.File("lesson.ko1");
    s.DataFileName2 = test::WriteDataFile(dir.File("lesson.ko2"), test::NumberedSet(2));
    test::WriteBytes(dir.File("lesson.bak"), "keep");
    const auto files = test::Snapshot(dir.path());
    core::ChooseAutosave(s, 1);
    ASSERT_EQ(Unsaved(15), 1u);
    for (const char* says :
         {"automatic save", "such as \"", "lesson-2.kov\"", "close \"", "every 5 minutes"})
        EXPECT_NE(ui.messages[0].find(says), std::string::npos) << ui.messages[0];
    EXPECT_TRUE(test::Snapshot(dir.path()) == files);

    s.DataFileName2 = test::WriteDataFile(dir.File("lesson.ko3"), test::NumberedSet(2));
    EXPECT_EQ(Unsaved(5), 2u);
    s.DataFileName2.clear();
    EXPECT_EQ(Run(5), std::vector<int>{5});
    EXPECT_EQ(ui.messages.size(), 2u);
}

}  // namespace
