#include "mainwindow/file_commands.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>

#include "mainwindow/coding.h"
#include "mainwindow/daily_fixture.h"
#include "mainwindow/import_commands.h"
#include "mainwindow/import_fixture.h"
#include "mainwindow/record_commands.h"
#include "store/data_file.h"
#include "store/open_save.h"
#include "store/selection_store.h"
#include "store/store_test_util.h"
#include "store/table_file.h"
#include "support/scripted_chooser.h"

namespace {

namespace fs = std::filesystem;

struct FileCommands : ::testing::Test {
    core::KovaState s;
    test::FakeUi ui;
    test::ScriptedChooser dialog;
    fs::path dir;

    void SetUp() override { dir = test::MakeTempDir("kova_files_"); }
    void TearDown() override { fs::remove_all(dir); }

    std::string File(const std::string& name) const { return (dir / name).string(); }
    std::string Said() const { return ui.messages.empty() ? "" : ui.messages.back(); }

    // An empty folder and nothing open.
    void Afresh() {
        fs::remove_all(dir);
        fs::create_directory(dir);
        s = core::KovaState();
        ui = test::FakeUi();
        dialog = test::ScriptedChooser();
    }

    // Data set 1 and the filter lines open, the filter lines shown.
    void ShowFilterLinesWithDataSet1() {
        test::ShowSet1(s, ui, 5, 2);
        s.Records2 = test::MakeRecords(3);
        s.FilterCount = 3;
        s.CurrentFilterLine = 1;
        s.FilterFileName = File("f.fil");
        core::ShowFilterMode(s, ui);
    }
};

TEST(FileExtensionRule, AppendsOnlyToAChangedNameWithoutTheExactExtension) {
    EXPECT_EQ(core::WithExtension("a.kov", "a.kov", ".kov"), "a.kov");
    EXPECT_EQ(core::WithExtension("a.kov", "b", ".kov"), "b.kov");
    EXPECT_EQ(core::WithExtension("a.kov", "B.KOV", ".kov"), "B.KOV.kov");
    EXPECT_EQ(core::WithExtension("", "c.kov", ".kov"), "c.kov");
    EXPECT_EQ(core::WithExtension("x", "", ".kov"), "");
}

// Every file dialog names the command that asked, whatever dialog came
// before, so that a user never replaces one set believing it is another.
TEST_F(FileCommands, EveryFileDialogIsTitledByItsCommand) {
    test::ScriptedImportDialogs importDialogs;
    const core::OutputView viewer;
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"Open Kovfile", [&] { core::OpenKovfile(s, ui, dialog); }},
        {"Save Kovfile", [&] { core::SaveKovfile(s, ui, dialog); }},
        {"Open Tablefile", [&] { core::OpenTablefile(s, ui, dialog); }},
        {"Save Tablefile", [&] { core::SaveTablefile(s, ui, dialog); }},
        {"Open Filterfile", [&] { core::OpenFilterfile(s, ui, dialog); }},
        {"Open Anafile", [&] { core::OpenAnafile(s, dialog); }},
        {"Save Anafile", [&] { core::SaveAnafile(s, ui, dialog, viewer); }},
        {"Open Lstfile", [&] { core::OpenLstfile(s, dialog); }},
        {"Save Lstfile", [&] { core::SaveLstfile(s, ui, dialog, viewer); }},
        {"Append Kovfile", [&] { core::AppendKovfile(s, ui, dialog); }},
        {"Merge Kov file", [&] { core::MergeKovfile(s, ui, dialog); }},
        {"Read General Dialogue Txtfile",
         [&] { core::ReadDialogueTxtfile(s, ui, dialog, importDialogs); }},
        {"Read General Text file", [&] { core::ReadGeneralTextfile(s, ui, dialog); }},
        {"Read from Excel file", [&] { core::ReadExcelfile(s, ui, dialog, importDialogs); }},
    };
    for (const auto& [title, run] : commands) {
        test::ShowSet1(s, ui, 5, 2);
        ui.answers = {core::Answer::No};
        dialog.requests.clear();
        run();
        ASSERT_EQ(dialog.requests.size(), 1u) << title;
        EXPECT_EQ(dialog.requests[0].title, title);
    }
}

TEST_F(FileCommands, CancelledFilterOpenLeavesTheFilterLines) {
    ShowFilterLinesWithDataSet1();
    const core::KovaState before = s;
    ui.answers = {core::Answer::No};
    dialog.answers = {std::nullopt};
    EXPECT_FALSE(core::OpenFilterfile(s, ui, dialog));
    EXPECT_EQ(s.ViewMode, 3);
    EXPECT_EQ(s.FilterFileName, before.FilterFileName);
    EXPECT_EQ(s.Records2, before.Records2);
}

// Open Kovfile asks about data set 1 and ends its selection before the
// question; when the command then ends without opening, the view it was
// called from comes back whole: counter, scroll range, selection labels and
// record buttons, not only its mode.
TEST_F(FileCommands, CommandEndingWithoutOpeningGivesTheWholeViewBack) {
    struct Case {
        const char* what;
        bool filterView;  // else data set 2's view
        std::deque<core::Answer> answers;
        std::deque<std::optional<std::string>> names;
    };
    const Case cases[] = {
        {"filter view, question cancelled", true, {core::Answer::Cancel}, {}},
        {"filter view, dialog cancelled", true, {core::Answer::No}, {std::nullopt}},
        {"data set 2, question cancelled", false, {core::Answer::Cancel}, {}},
        {"data set 2, dialog cancelled", false, {core::Answer::No}, {std::nullopt}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        s = core::KovaState();
        test::ShowSet1(s, ui, 40, 20);
        // A selection of data set 1: every other record.
        core::BeginSelection(s, ui);
        for (int k = 2; k <= 40; k += 2)
            s.SelectionMarks1[k] = 1;
        core::ApplySelection(s, ui);
        ASSERT_EQ(s.RecordCount1, 20);
        if (c.filterView) {
            s.Records2 = test::MakeRecords(3);
            s.FilterCount = 3;
            s.CurrentFilterLine = 2;
            s.FilterFileName = File("f.fil");
            core::ShowFilterMode(s, ui);
        } else {
            test::ShowSet2(s, ui, 7, 4);
        }
        const core::MainWindowModel before = s.Main;
        const int16_t mode = s.ViewMode;
        ui.answers = c.answers;
        dialog.answers = c.names;
        dialog.requests.clear();
        EXPECT_FALSE(core::OpenKovfile(s, ui, dialog));
        EXPECT_EQ(dialog.requests.size(), c.names.size());
        EXPECT_EQ(s.ViewMode, mode);
        EXPECT_EQ(s.DataFileName1, "/tmp/one.kov");
        EXPECT_TRUE(s.Main == before);
        // The selection ended by the question stays ended.
        EXPECT_EQ(s.SelectionShown1, core::kFalse);
        EXPECT_EQ(s.RecordCount1, 40);
    }
}

TEST_F(FileCommands, CancelledOpensOfTablesAndOutputsChangeNothing) {
    s.TableFileName = "t.tbl";
    s.AnalysisFileName = "a.ana";
    s.ListingFileName = "l.lst";
    s.CategoryLists[4] = {"x"};
    EXPECT_FALSE(core::OpenTablefile(s, ui, dialog));
    EXPECT_FALSE(core::OpenAnafile(s, dialog));
    EXPECT_FALSE(core::OpenLstfile(s, dialog));
    EXPECT_FALSE(core::SaveAnafile(s, ui, dialog, {true, "text"}));
    EXPECT_EQ(s.TableFileName, "t.tbl");
    EXPECT_EQ(s.AnalysisFileName, "a.ana");
    EXPECT_EQ(s.ListingFileName, "l.lst");
    EXPECT_EQ(s.CategoryLists[4], std::vector<std::string>{"x"});
}

// A refused name or a Cancel ends the command; a save does not fall back on the current name.
TEST_F(FileCommands, RefusedNameOrCancelEndsEveryCommandWithNothingChanged) {
    for (const std::optional<std::string>& answer :
         {std::optional<std::string>(""), std::optional<std::string>()}) {
        SCOPED_TRACE(answer ? "refused name" : "cancelled");
        s = core::KovaState();
        dialog = test::ScriptedChooser();
        ShowFilterLinesWithDataSet1();
        s.DataFileName1 = File("d.kov");
        s.TableFileName = File("t.tbl");
        s.AnalysisFileName = File("a.ana");
        s.ListingFileName = File("l.lst");
        s.OutputKind = "ana";
        core::KovaState before = s;
        ui.answers = {core::Answer::No, core::Answer::No};
        dialog.answers.assign(11, answer);
        EXPECT_FALSE(core::OpenKovfile(s, ui, dialog));
        EXPECT_FALSE(core::OpenFilterfile(s, ui, dialog));
        EXPECT_FALSE(core::OpenTablefile(s, ui, dialog));
        EXPECT_FALSE(core::OpenAnafile(s, dialog));
        EXPECT_FALSE(core::OpenLstfile(s, dialog));
        EXPECT_FALSE(core::SaveFilterfile(s, ui, dialog));
        EXPECT_FALSE(core::SaveTablefile(s, ui, dialog));
        EXPECT_FALSE(core::SaveAnafile(s, ui, dialog, {true, "text"}));
        s.OutputKind = "lst";
        EXPECT_FALSE(core::SaveLstfile(s, ui, dialog, {true, "text"}));
        s.ViewMode = 1;
        EXPECT_FALSE(core::SaveKovfile(s, ui, dialog));
        EXPECT_EQ(dialog.requests.size(), 10u);
        EXPECT_EQ(s.DataFileName1, before.DataFileName1);
        EXPECT_EQ(s.FilterFileName, before.FilterFileName);
        EXPECT_EQ(s.TableFileName, before.TableFileName);
        EXPECT_EQ(s.AnalysisFileName, before.AnalysisFileName);
        EXPECT_EQ(s.ListingFileName, before.ListingFileName);
        EXPECT_EQ(s.Records2, before.Records2);
        EXPECT_EQ(s.Main.title, before.Main.title);
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_TRUE(fs::is_empty(dir));  // nothing written
    }
}

// A save-as that cannot write its new file leaves the set or output under
// the name (and the window under the title) it had, for data and filter
// files, analysis and listing files alike.
TEST_F(FileCommands, FailedSaveAsGivesBackTheOldNameAndTitle) {
    struct Case {
        const char* what;
        int16_t mode;
        bool (*command)(core::KovaState&, core::KovaUi&, core::FileChooser&);
        std::string core::KovaState::*name;
    };
    const Case cases[] = {
        {"Save Kovfile", 1, core::SaveKovfile, &core::KovaState::DataFileName1},
        {"Save Filterfile", 3, core::SaveFilterfile, &core::KovaState::FilterFileName},
        {"Save Anafile", 1,
         [](core::KovaState& s, core::KovaUi& ui, core::FileChooser& d) {
             s.OutputKind = "ana";
             return core::SaveAnafile(s, ui, d, {true, "report"});
         },
         &core::KovaState::AnalysisFileName},
        {"Save Lstfile", 1,
         [](core::KovaState& s, core::KovaUi& ui, core::FileChooser& d) {
             s.OutputKind = "lst";
             return core::SaveLstfile(s, ui, d, {true, "listing"});
         },
         &core::KovaState::ListingFileName},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        s = core::KovaState();
        ShowFilterLinesWithDataSet1();
        s.DataFileName1 = File("d.kov");
        s.AnalysisFileName = File("a.ana");
        s.ListingFileName = File("l.lst");
        if (c.mode == 1)
            core::ShowDataMode(s, ui);
        const std::string oldName = s.*c.name;
        const std::string oldTitle = s.Main.title;
        ui.messages.clear();
        dialog.answers = {File("no such folder/new")};
        EXPECT_FALSE(c.command(s, ui, dialog));
        EXPECT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(s.*c.name, oldName);
        EXPECT_EQ(s.Main.title, oldTitle);
    }
}

TEST_F(FileCommands, SaveSelectionCancelledWritesNothing) {
    test::ShowSet1(s, ui, 4, 1);
    s.SelectionShown1 = core::kTrue;
    dialog.answers = {std::nullopt};
    EXPECT_FALSE(core::SaveSelectionAs(s, ui, dialog));
    EXPECT_EQ(dialog.requests.size(), 1u);
    EXPECT_EQ(s.DataFileName1, "/tmp/one.kov");
    EXPECT_TRUE(s.SelectionFileName.empty());
}

// A selection saved under the open file's own name would replace the whole
// protocol on disk by the selected records: refused, nothing written.
TEST_F(FileCommands, SaveSelectionRefusesTheOpenFilesOwnName) {
    const fs::path whole = dir / "whole.kov";
    test::ShowSet1(s, ui, 5, 1);
    s.DataFileName1 = whole.string();
    ASSERT_TRUE(core::SaveCurrentFile(s, ui));
    core::BeginSelection(s, ui);
    s.SelectionMarks1[2] = 2;
    core::ApplySelection(s, ui);
    ui.messages.clear();
    ui.log.clear();
    dialog.answers = {whole.string()};
    EXPECT_FALSE(core::SaveSelectionAs(s, ui, dialog));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("is open in KOVA as the data file"), std::string::npos);
    EXPECT_TRUE(ui.log.empty() || ui.log.back().rfind("Message", 0) == 0);  // no save prompt
    const auto back = test::ReadDataBack(whole.string());
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.count, 5);
    EXPECT_FALSE(fs::exists(dir / "whole.bak"));
    EXPECT_EQ(s.SelectionShown1, core::kTrue);
}

// The new file of Save Selection replaces the whole set in memory: the
// whole set, with its edits, is offered for saving first.
TEST_F(FileCommands, SaveSelectionAsksToSaveTheWholeSetItReplaces) {
    const fs::path whole = dir / "whole.kov";
    const fs::path part = dir / "part.kov";
    for (core::Answer answer : {core::Answer::Cancel, core::Answer::Yes}) {
        fs::remove(part);  // a new file each time: no question about replacing it
        test::ShowSet1(s, ui, 5, 1);
        s.DataFileName1 = whole.string();
        ASSERT_TRUE(core::SaveCurrentFile(s, ui));
        s.Records1[5].V8 = "edited before";
        core::BeginSelection(s, ui);
        s.SelectionMarks1[2] = 2;
        s.SelectionMarks1[4] = 4;
        core::ApplySelection(s, ui);
        s.Records1[1].V8 = "edited in the selection";  // record 2
        ui.answers = {answer};
        dialog.answers = {File("part")};
        EXPECT_TRUE(core::SaveSelectionAs(s, ui, dialog));

        const auto saved = test::ReadDataBack(part.string());
        ASSERT_TRUE(saved.ok);
        EXPECT_EQ(saved.count, 2);
        EXPECT_EQ(saved.records[1].V8, "edited in the selection");
        if (answer == core::Answer::Cancel) {
            // Nothing replaced: the selection is still shown over the whole set.
            EXPECT_EQ(s.DataFileName1, whole.string());
            EXPECT_EQ(s.SelectionShown1, core::kTrue);
            EXPECT_EQ(s.RecordCount1, 2);
            EXPECT_EQ(s.FullRecords1[5].V8, "edited before");
            core::EndSelection(s, ui);
        } else {
            EXPECT_EQ(s.DataFileName1, part.string());
            EXPECT_EQ(s.SelectionShown1, core::kFalse);
            const auto back = test::ReadDataBack(whole.string());
            ASSERT_TRUE(back.ok);
            EXPECT_EQ(back.count, 5);
            EXPECT_EQ(back.records[2].V8, "edited in the selection");
            EXPECT_EQ(back.records[5].V8, "edited before");
        }
    }
}

// A save onto an existing file other than the one the set, table or output
// came from asks first; No writes nothing. A link that leads to no file (nor
// round in a loop) is refused at once: a save would write through it, so there is nothing to ask.
TEST_F(FileCommands, SavingOverAnotherExistingFileAsksFirst) {
    const core::OutputView report{true, "report"};
    const std::function<bool()> saveTable = [&] { return core::SaveTablefile(s, ui, dialog); };
    const std::function<bool()> saveKov = [&] { return core::SaveKovfile(s, ui, dialog); };
    const struct {
        const char* file;
        std::function<bool()> save;
        std::string says = "";  // "": the save asks
    } cases[] = {
        {"other.tbl", saveTable},
        {"link.tbl", saveTable,
         "\"" + File("link.tbl") + "\" is a link to \"" + File("nowhere") +
             "\", which does not exist"},
        {"folder.kov", saveKov, "is a link to the folder \"" + File("sub") + "\", not to a file"},
        {"loop.kov", saveKov, "\"" + File("loop.kov") + "\" is a link that never reaches a file"},
        {"other.kov", saveKov},
        {"other.fil", [&] { return core::SaveFilterfile(s, ui, dialog); }},
        {"other.ana", [&] { return core::SaveAnafile(s, ui, dialog, report); }},
        {"other.kov", [&] { return core::SaveSelectionAs(s, ui, dialog); }},
        {"other.png", [&] { return core::ChoosePictureFile(s, ui, dialog, "Save").has_value(); }},
    };
    for (const char* file : {"other.tbl", "other.kov", "other.fil", "other.ana", "other.png"})
        test::WriteBytes(File(file), "keep");
    fs::create_symlink(dir / "nowhere", dir / "link.tbl");
    fs::create_directory(dir / "sub");
    fs::create_symlink(dir / "sub", dir / "folder.kov");
    fs::create_symlink(dir / "loop.kov", dir / "loop.kov");
    const auto files = test::Snapshot(dir);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        ShowFilterLinesWithDataSet1();
        core::ShowDataMode(s, ui);
        s.OutputKind = "ana";
        ui.log.clear();
        ui.answers = {core::Answer::No};
        dialog.answers = {File(c.file)};
        EXPECT_FALSE(c.save());
        ASSERT_EQ(ui.log.size(), 1u);
        if (c.says.empty())
            EXPECT_EQ(ui.log[0].rfind("AskYesNo", 0), 0u);
        else
            EXPECT_NE(ui.log[0].find(c.says), std::string::npos) << ui.log[0];
    }
    EXPECT_EQ(s.TableFileName, "");
    EXPECT_TRUE(test::Snapshot(dir) == files);

    // Yes replaces it; the table's own file is then saved over unasked.
    ui.log.clear();
    ui.answers = {core::Answer::Yes};
    dialog.answers = {File("other.tbl"), File("other.tbl")};
    EXPECT_TRUE(core::SaveTablefile(s, ui, dialog));
    EXPECT_TRUE(core::SaveTablefile(s, ui, dialog));
    EXPECT_EQ(ui.log.size(), 1u);
}

// A picture is never saved over an open set's file, whatever a question would answer.
TEST_F(FileCommands, PictureIsRefusedTheFileOfAnOpenSetEndingInPng) {
    const std::string set = test::WriteDataFile(File("shot.png"), test::MakeRecords(2));
    ASSERT_TRUE(core::OpenDataFile(s, ui, set));
    ui.answers = {core::Answer::Yes};
    dialog.answers = {set};
    EXPECT_FALSE(core::ChoosePictureFile(s, ui, dialog, "Save Diagram").has_value());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("is open in KOVA as the data file"), std::string::npos);
}

TEST_F(FileCommands, OutputTextIsSavedOnlyWhenTheViewerShowsThatKind) {
    fs::path ana = dir / "out.ana";
    fs::path lst = dir / "out";
    s.OutputKind = "lst";
    dialog.answers = {ana.string()};
    EXPECT_FALSE(core::SaveAnafile(s, ui, dialog, {true, "listing text"}));
    EXPECT_FALSE(fs::exists(ana));
    EXPECT_EQ(s.AnalysisFileName, ana.string());

    dialog.answers = {lst.string()};
    EXPECT_FALSE(core::SaveLstfile(s, ui, dialog, {false, "hidden viewer"}));
    EXPECT_FALSE(fs::exists(dir / "out.lst"));

    dialog.answers = {lst.string()};
    EXPECT_TRUE(core::SaveLstfile(s, ui, dialog, {true, "line 1\r\nline 2"}));
    EXPECT_EQ(s.ListingFileName, File("out.lst"));
    EXPECT_EQ(test::ReadBytes(File("out.lst")), "line 1\r\nline 2\r\n");
}

TEST_F(FileCommands, ExitAsksAboutAnOpenSetOnlyOnce) {
    EXPECT_EQ(core::ExitProgram(s, ui, dialog), core::ExitDecision::End);
    EXPECT_TRUE(ui.log.empty());
    test::ShowSet1(s, ui, 3, 1);
    ui.answers = {core::Answer::Cancel};
    EXPECT_EQ(core::ExitProgram(s, ui, dialog), core::ExitDecision::Stay);
    ui.answers = {core::Answer::No};
    EXPECT_EQ(core::ExitProgram(s, ui, dialog), core::ExitDecision::End);
}

TEST_F(FileCommands, ExitFromTheFilterViewAlsoAsksAboutDataSet1) {
    ShowFilterLinesWithDataSet1();
    s.DataFileName1 = File("d.kov");
    ui.answers = {core::Answer::No, core::Answer::Cancel};
    EXPECT_EQ(core::ExitProgram(s, ui, dialog), core::ExitDecision::Stay);
    ui.log.clear();
    ui.answers = {core::Answer::No, core::Answer::Yes};
    EXPECT_EQ(core::ExitProgram(s, ui, dialog), core::ExitDecision::End);
    EXPECT_EQ(ui.log, (std::vector<std::string>{"AskSaveFile " + s.FilterFileName,
                                                "AskSaveFile " + s.DataFileName1}));
    EXPECT_TRUE(fs::exists(dir / "d.kov"));
    EXPECT_FALSE(fs::exists(dir / "f.fil"));
    EXPECT_EQ(s.ViewMode, 3);
}

// Save Data, Exit's save, Save Table and the output file's save onto its own
// name ask before they replace a file written by another since the program
// read or saved it; No keeps that version and the edits. Yes saves, and the
// program's own save after it asks nothing.
TEST_F(FileCommands, SavesAskBeforeReplacingAFileChangedOnDisk) {
    const std::string data = test::WriteDataFile(File("d.kov"), test::NumberedSet(3));
    ASSERT_TRUE(core::OpenDataFile(s, ui, data));
    s.Records1[1].V4 = "MINE";
    ASSERT_TRUE(core::ToggleCategory(s, ui, 4, "ask"));
    dialog.answers = {File("t.tbl")};
    ASSERT_TRUE(core::SaveTablefile(s, ui, dialog));
    s.OutputKind = "ana";
    dialog.answers = {File("o.ana")};
    ASSERT_TRUE(core::SaveAnafile(s, ui, dialog, {true, "mine"}));
    const struct {
        std::string name;
        std::function<bool()> save;
        std::deque<core::Answer> answers;  // before the question's No
    } cases[] = {{data, [&] { return core::SaveShownSet(s, ui); }, {}},
                 {data,
                  [&] { return core::ExitProgram(s, ui, dialog) == core::ExitDecision::End; },
                  {core::Answer::Yes}},
                 {File("t.tbl"), [&] { return core::SaveTableButton(s, ui); }, {}},
                 {File("o.ana"),
                  [&] {
                      dialog.answers = {File("o.ana")};
                      return core::SaveAnafile(s, ui, dialog, {true, "mine"});
                  },
                  {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::WriteBytes(File("theirs"), "theirs");
        fs::rename(File("theirs"), c.name);
        ui.log.clear();
        ui.answers = c.answers;
        ui.answers.push_back(core::Answer::No);
        EXPECT_FALSE(c.save());
        ASSERT_FALSE(ui.log.empty());
        EXPECT_NE(ui.log.back().find("changed on disk"), std::string::npos) << ui.log.back();
        EXPECT_EQ(test::ReadBytes(c.name), "theirs");
    }
    EXPECT_EQ(s.Records1[1].V4, "MINE");
    ui.answers = {core::Answer::Yes};
    EXPECT_TRUE(core::SaveShownSet(s, ui));
    ui.log.clear();
    EXPECT_TRUE(core::SaveShownSet(s, ui));
    EXPECT_TRUE(ui.log.empty());
}

// A changed table is asked about after the sets; Yes without a table file
// asks for a name, and a save that did not happen keeps the program running.
TEST_F(FileCommands, ExitAsksAboutAChangedTable) {
    ASSERT_TRUE(core::ToggleCategory(s, ui, 4, "ask"));
    ui.answers = {core::Answer::Cancel, core::Answer::Yes, core::Answer::Yes};
    EXPECT_EQ(core::ExitProgram(s, ui, dialog), core::ExitDecision::Stay);
    dialog.answers = {std::nullopt};
    EXPECT_EQ(core::ExitProgram(s, ui, dialog), core::ExitDecision::Stay);
    dialog.answers = {File("scheme")};
    EXPECT_EQ(core::ExitProgram(s, ui, dialog), core::ExitDecision::End);
    EXPECT_EQ(s.TableFileName, File("scheme.tbl"));
    ui.log.clear();
    EXPECT_EQ(core::ExitProgram(s, ui, dialog), core::ExitDecision::End);  // saved: no question
    EXPECT_TRUE(ui.log.empty());

    // The table editor's OK marks it changed; Yes saves under its name.
    core::EditTable(s, 1, [this] { s.DialogCancelled = 0; });
    ui.answers = {core::Answer::Yes};
    EXPECT_EQ(core::ExitProgram(s, ui, dialog), core::ExitDecision::End);
    EXPECT_EQ(ui.log, (std::vector<std::string>{"AskSaveFile " + s.TableFileName}));
    EXPECT_FALSE(s.TableChanged);
}

// Open Tablefile puts another table in the place of the one in memory: a
// changed table is asked about first, as at Exit; an unchanged one is not.
TEST_F(FileCommands, OpenTablefileAsksAboutAChangedTableFirst) {
    struct Case {
        const char* what;
        bool edited;
        const char* ownTable;  // the open table file; "" none, under a missing folder fails
        std::deque<core::Answer> answers;
        std::vector<const char*> names;  // Save Tablefile's, then Open's
        bool opened;
        bool savedEdit;  // the own table file then holds the edit
    };
    const Case cases[] = {
        {"unchanged", false, "own.tbl", {}, {"other.tbl"}, true, false},
        {"No", true, "own.tbl", {core::Answer::No}, {"other.tbl"}, true, false},
        {"Yes", true, "own.tbl", {core::Answer::Yes}, {"other.tbl"}, true, true},
        {"Cancel", true, "own.tbl", {core::Answer::Cancel}, {"other.tbl"}, false, false},
        {"Yes, save fails", true, "gone/own.tbl", {core::Answer::Yes}, {"other.tbl"}, false, false},
        {"Yes, no file", true, "", {core::Answer::Yes}, {"new", "other.tbl"}, true, true},
        {"Yes, no name", true, "", {core::Answer::Yes}, {nullptr}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Afresh();
        s.CategoryLists[5] = {"from other"};
        ASSERT_TRUE(core::SaveTableFile(s, ui, File("other.tbl")));
        s.CategoryLists[5] = {"V5-own"};
        ASSERT_TRUE(core::SaveTableFile(s, ui, File("own.tbl")));
        const std::string own = test::ReadBytes(File("own.tbl"));
        if (*c.ownTable != '\0')
            s.TableFileName = File(c.ownTable);
        ASSERT_TRUE(!c.edited || core::ToggleCategory(s, ui, 5, "V5-edit"));
        ui.log.clear();
        ui.answers = c.answers;
        for (const char* name : c.names)
            dialog.answers.push_back(name ? std::optional(File(name)) : std::nullopt);
        const std::string asked =
            s.TableFileName.empty() ? "The table (labels and categories)" : s.TableFileName;
        EXPECT_EQ(core::OpenTablefile(s, ui, dialog), c.opened);
        EXPECT_EQ(ui.log.empty() ? "" : ui.log[0], c.edited ? "AskSaveFile " + asked : "");
        if (c.opened) {
            EXPECT_EQ(s.CategoryLists[5], std::vector<std::string>{"from other"});
            EXPECT_EQ(s.TableFileName, File("other.tbl"));
            EXPECT_FALSE(s.TableChanged);
        } else {
            // The command ended before the table dialog; the edit stays.
            EXPECT_EQ(s.CategoryLists[5], (std::vector<std::string>{"V5-edit", "V5-own"}));
            EXPECT_TRUE(s.TableChanged);
            for (const core::FileDialogRequest& request : dialog.requests)
                EXPECT_NE(request.title, "Open Tablefile");
        }
        const std::string saved = test::ReadBytes(File(*c.ownTable ? c.ownTable : "new.tbl"));
        EXPECT_EQ(saved.find("V5-edit") != std::string::npos, c.savedEdit);
        EXPECT_TRUE(c.savedEdit || test::ReadBytes(File("own.tbl")) == own);
    }
}

// A protocol and its filter file of one name keep a backup each: saving one
// never touches the other's.
TEST_F(FileCommands, DataAndFilterFilesKeepBackupsOfTheirOwn) {
    const std::string kov = test::WriteDataFile(File("classroom.kov"), test::MakeRecords(3));
    const std::string fil = File("classroom.fil");
    test::WriteDataFile(fil, test::MakeRecords(2, "*"));
    ASSERT_TRUE(core::OpenDataFile(s, ui, kov));
    ASSERT_TRUE(core::OpenFilterFile(s, ui, fil));
    core::ShowDataMode(s, ui);
    ASSERT_TRUE(core::SaveShownSet(s, ui));
    const std::string dataBackup = test::ReadBytes(File("classroom.bak"));
    ASSERT_FALSE(dataBackup.empty());

    core::ShowFilterMode(s, ui);
    s.Records2[1].V8 = "changed";
    ASSERT_TRUE(core::SaveShownSet(s, ui));
    dialog.answers = {fil};
    ASSERT_TRUE(core::SaveFilterfile(s, ui, dialog));
    EXPECT_TRUE(test::ReadBytes(File("classroom.bak")) == dataBackup);
    const std::string filterBackup = test::ReadBytes(File("classroom.fil.bak"));
    EXPECT_NE(filterBackup.find("changed"), std::string::npos);

    core::ShowDataMode(s, ui);
    ASSERT_TRUE(core::SaveShownSet(s, ui));
    EXPECT_TRUE(test::ReadBytes(File("classroom.fil.bak")) == filterBackup);
}

// Two open sets never keep one backup: an open (or import) that would make
// them is refused at once, a save under such a name when it is chosen. The
// message names the other set and the backup, and suggests a name the save
// dialog keeps as it is, under which nothing stands yet.
TEST_F(FileCommands, NoSaveReplacesTheBackupOfAnotherOpenSet) {
    using Command = std::function<bool(core::KovaState&, core::KovaUi&, core::FileChooser&)>;
    // What Open Kov2 does once the file is chosen.
    const Command openKov2 = [&](core::KovaState&, core::KovaUi&, core::FileChooser&) {
        return core::OpenData2File(s, ui, *dialog.answers.front());
    };
    const struct {
        const char* what;
        const char* data1;   // data set 1
        const char* second;  // data set 2 (".ko2") or the filter lines, shown last
        Command command;
        const char* chosen;      // the dialog's answer
        const char* other;       // the set named in the message
        const char* backup;      // the backup named
        const char* suggested;   // the name it suggests
        const char* there = "";  // a file standing in the folder before
    } cases[] = {
        {"data set 1 saved as", "a.kov", "classroom.ko2", core::SaveKovfile, "classroom",
         "classroom.ko2\"", "classroom.bak\"", "classroom-3.kov\"", "classroom-2.kov"},
        {"data set 1 saved as", "classroom.kov", "classroom.fil", core::SaveKovfile,
         "classroom.fil", "classroom.fil\"", "classroom.fil.bak\"", "classroom.fil-2.kov\""},
        {"filter lines saved as", "classroom.fil.kov", "rules.fil", core::SaveFilterfile,
         "classroom", "classroom.fil.kov\"", "classroom.fil.bak\"", "classroom-2.fil\""},
        {"Open Kov2", "classroom.kov", nullptr, openKov2, "classroom.ko2", "classroom.kov\"",
         "classroom.bak\"", "classroom-2.kov\""},
        {"Open Filterfile", "classroom.fil.kov", nullptr, core::OpenFilterfile, "classroom.fil",
         "classroom.fil.kov\"", "classroom.fil.bak\"", "classroom-2.fil\""},
        {"Open Kovfile", "a.kov", "classroom.ko2", core::OpenKovfile, "classroom.kov",
         "classroom.ko2\"", "classroom.bak\"", "classroom-2.kov\""},
        {"import", "a.kov", "classroom.ko2", core::ReadGeneralTextfile, "classroom.txt",
         "classroom.ko2\"", "classroom.bak\"", "classroom-2.kov\""},
        {"data set 1 selection saved as", "classroom.kov", "classroom.fil", core::SaveSelectionAs,
         "classroom.fil.kov", "classroom.fil\"", "classroom.fil.bak\"", "classroom.fil-2.kov\"",
         "classroom.fil.kov"},
        {"data set 1 selection saved as", "classroom.ko1", nullptr, core::SaveSelectionAs,
         "classroom.kov", "classroom.ko1\"", "classroom.bak\"", "classroom-2.kov\"",
         "classroom.kov"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what + std::string(" ") + c.chosen);
        Afresh();
        const std::string data1 = test::WriteDataFile(File(c.data1), test::MakeRecords(3));
        ASSERT_TRUE(core::OpenDataFile(s, ui, data1));
        if (c.second != nullptr) {
            const std::string second = File(c.second);
            const bool filter = second.ends_with(".fil");
            test::WriteDataFile(second, test::MakeRecords(2, filter ? "*" : "text "));
            ASSERT_TRUE(filter ? core::OpenFilterFile(s, ui, second)
                               : core::OpenData2File(s, ui, second));
        }
        if (std::string_view(c.what).starts_with("data set 1"))
            core::ShowDataMode(s, ui);
        // Files that would open, and backups that must stay as they are.
        for (const char* name : {"classroom.ko2", "classroom.fil"})
            if (!fs::exists(dir / name))
                test::WriteDataFile(File(name), test::MakeRecords(2, "*"));
        for (const char* name : {"classroom.bak", "classroom.fil.bak", "classroom.txt", c.there})
            if (*name != 0 && !fs::exists(dir / name))
                test::WriteBytes(File(name), std::string("keep ") + name);
        const core::KovaState before = s;
        const auto files = test::Snapshot(dir);
        ui.messages.clear();
        ui.answers = {core::Answer::No, core::Answer::No};
        dialog.answers = {File(c.chosen)};
        EXPECT_FALSE(c.command(s, ui, dialog));
        ASSERT_EQ(ui.messages.size(), 1u);
        for (const char* named : {c.other, c.backup, c.suggested})
            EXPECT_NE(ui.messages[0].find(named), std::string::npos) << ui.messages[0];
        EXPECT_TRUE(test::Snapshot(dir) == files);
        EXPECT_EQ(s.DataFileName1, before.DataFileName1);
        EXPECT_EQ(s.DataFileName2, before.DataFileName2);
        EXPECT_EQ(s.FilterFileName, before.FilterFileName);
    }
}

// Data set 2 takes the place of the filter lines: "prog.fil.kov", which keeps
// its backup in "prog.fil.bak" as the open "prog.fil" does, opens as data set
// 2 in their place, and its save keeps that backup.
TEST_F(FileCommands, TheSetAnOpenReplacesIsNoClash) {
    const std::string data1 = test::WriteDataFile(File("a.kov"), test::MakeRecords(3));
    const std::string fil = test::WriteDataFile(File("prog.fil"), test::MakeRecords(2, "*"));
    const std::string kov = test::WriteDataFile(File("prog.fil.kov"), test::MakeRecords(4));
    const std::string filBytes = test::ReadBytes(fil);
    const std::string kovBytes = test::ReadBytes(kov);
    ASSERT_TRUE(core::OpenDataFile(s, ui, data1));
    ASSERT_TRUE(core::OpenFilterFile(s, ui, fil));
    ui.messages.clear();
    ASSERT_TRUE(core::OpenData2File(s, ui, kov)) << Said();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(s.ViewMode, 2);
    EXPECT_EQ(s.DataFileName2, kov);
    EXPECT_EQ(s.FilterFileName, "");
    EXPECT_EQ(s.RecordCount2, 4);

    s.Records2[1].V8 = "changed";
    ASSERT_TRUE(core::SaveShownSet(s, ui)) << Said();
    EXPECT_TRUE(test::ReadBytes(File("prog.fil.bak")) == kovBytes);
    EXPECT_NE(test::ReadBytes(kov).find("changed"), std::string::npos);
    EXPECT_TRUE(test::ReadBytes(fil) == filBytes);
}

TEST_F(FileCommands, CloseInTheFilterViewKeepsTheViewMode) {
    ShowFilterLinesWithDataSet1();
    ui.answers = {core::Answer::No};
    EXPECT_TRUE(core::CloseShownSet(s, ui));
    EXPECT_EQ(s.ViewMode, 3);
    EXPECT_EQ(s.FilterFileName, "");
    EXPECT_EQ(s.FilterCount, 0);
    EXPECT_EQ(s.Main.title, "KOVA");
    EXPECT_EQ(s.Main.rows[10].v[0], "");
    EXPECT_EQ(s.RecordCount1, 5);  // data set 1 stays open

    core::ShowDataMode(s, ui);
    ui.answers = {core::Answer::Cancel};
    EXPECT_FALSE(core::CloseShownSet(s, ui));
    EXPECT_EQ(s.DataFileName1, "/tmp/one.kov");
    ui.answers = {core::Answer::No};
    EXPECT_TRUE(core::CloseShownSet(s, ui));
    EXPECT_EQ(s.ViewMode, 0);
    EXPECT_EQ(s.RecordCount1, 0);
}

// Nothing is written over a file open as a set, by whatever name the file
// is given (a link to its folder, another spelling, a name relative to the
// working folder), except by saving that set; and a file is open only once.
TEST_F(FileCommands, OpenFilesAreRecognisedOnDiskAndNeverWrittenOver) {
    fs::create_directory(dir / "real");
    fs::create_directory_symlink(dir / "real", dir / "link");
    const std::string data = test::WriteDataFile(File("real/class.kov"), test::MakeRecords(6));
    // A filter file may have any name; this one ends as data files do.
    const std::string rules = test::WriteDataFile(File("real/rules.kov"), test::MakeRecords(2));
    const std::string dataBytes = test::ReadBytes(data);
    const std::string rulesBytes = test::ReadBytes(rules);
    const fs::path workingFolder = fs::current_path();
    fs::current_path(dir / "real");

    using Command = bool (*)(core::KovaState&, core::KovaUi&, core::FileChooser&);
    struct Case {
        const char* what;
        std::string answer;  // what the file dialog gives
        Command command;
        std::string says = "";  // a part of the message
    };
    const std::string viaLink = File("link/class.kov");
    const std::string soft = File("soft.kov"), hard = File("hard.kov");
    const std::string isData = "\" is the file \"" + data + "\", which is already open";
    const std::string filterLink = File("class.fil");
    fs::create_symlink(data, soft);
    fs::create_symlink(data, filterLink);
    fs::create_hard_link(data, hard);
    Command saveSelection = [](core::KovaState& s, core::KovaUi& ui, core::FileChooser& d) {
        return core::SaveSelectionAs(s, ui, d);
    };
    // The Save Table button and Save Anafile on names an earlier open gave.
    Command saveTable = [](core::KovaState& s, core::KovaUi& ui, core::FileChooser&) {
        s.TableFileName = s.SelectionFileName;
        return core::SaveTableButton(s, ui);
    };
    Command saveAna = [](core::KovaState& s, core::KovaUi& ui, core::FileChooser& d) {
        s.AnalysisFileName = s.SelectionFileName;
        s.OutputKind = "ana";
        return core::SaveAnafile(s, ui, d, {true, "report"});
    };
    Command openData2 = [](core::KovaState& s, core::KovaUi& ui, core::FileChooser&) {
        return core::OpenData2File(s, ui, s.SelectionFileName);
    };
    const Case cases[] = {
        {"selection over the data file via a folder link", viaLink, saveSelection},
        {"selection over the data file, relative name", "class.kov", saveSelection},
        {"data set 1 saved as the filter file", File("link/rules.kov"), core::SaveKovfile},
        {"filter lines saved by a file link to the data file", filterLink, core::SaveFilterfile,
         "\"" + filterLink + "\" is the file \"" + data +
             "\", which is open in KOVA as the data file. Only saving"},
        {"table over the data file", viaLink, saveTable},
        {"output text over the data file", viaLink, saveAna},
        {"output text over the data file's backup", File("link/class.bak"), saveAna},
        // Under another name the file is named as it is open.
        {"the data file opened as filter lines", viaLink, core::OpenFilterfile,
         "\"" + viaLink + isData + " in KOVA as the data file."},
        {"the data file opened by a file link", soft, core::OpenFilterfile, "\"" + soft + isData},
        {"the data file opened by a hard link", hard, core::OpenFilterfile, "\"" + hard + isData},
        {"the data file opened by its name", data, core::OpenFilterfile,
         "\"" + data + "\" is already open in KOVA as the data file."},
        // A check of the coding against itself: the message says how.
        {"the data file opened as data set 2", viaLink, openData2,
         "save it under another name, such as \"" + File("link/class-2.kov") +
             "\", with Save Kovfile"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        s = core::KovaState();
        ui = test::FakeUi();
        ASSERT_TRUE(core::OpenFilterFile(s, ui, rules));
        ASSERT_TRUE(core::OpenDataFile(s, ui, data));
        core::BeginSelection(s, ui);
        s.SelectionMarks1[2] = 1;
        core::ApplySelection(s, ui);
        s.SelectionFileName = c.answer;
        ui.answers = {core::Answer::No};
        dialog.answers = {c.answer};
        EXPECT_FALSE(c.command(s, ui, dialog));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_NE(ui.messages[0].find(c.says), std::string::npos) << ui.messages[0];
        EXPECT_TRUE(test::ReadBytes(data) == dataBytes);
        EXPECT_TRUE(test::ReadBytes(rules) == rulesBytes);
        EXPECT_FALSE(fs::exists(dir / "real" / "class.bak"));
        EXPECT_FALSE(fs::exists(dir / "real" / "rules.bak"));
        EXPECT_EQ(std::distance(fs::directory_iterator(dir / "real"), fs::directory_iterator()), 2);
        EXPECT_EQ(s.DataFileName1, data);
        EXPECT_EQ(s.FilterFileName, rules);
    }

    // A set whose save would move an open file aside as its backup is refused
    // at the open, and a save under such a name at the save.
    const std::string backupOpen =
        test::WriteDataFile(File("real/notes.kov"), test::MakeRecords(3));
    fs::rename(rules, dir / "real" / "notes.bak");
    s = core::KovaState();
    ui = test::FakeUi();
    ASSERT_TRUE(core::OpenFilterFile(s, ui, File("link/notes.bak")));
    EXPECT_FALSE(core::OpenDataFile(s, ui, backupOpen));
    EXPECT_EQ(ui.messages.size(), 1u);
    ASSERT_TRUE(core::OpenDataFile(s, ui, data));
    dialog.answers = {backupOpen};
    EXPECT_FALSE(core::SaveKovfile(s, ui, dialog));
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_TRUE(test::ReadBytes(File("real/notes.bak")) == rulesBytes);

    // Saving a set under its own file, by whatever name, goes on as usual.
    s.DataFileName1 = File("link/class.kov");
    EXPECT_TRUE(core::SaveShownSet(s, ui));

    // A filter file's backup is its whole name and ".bak": that file is
    // refused as a set as well.
    const std::string filterBackup = File("real/notes.bak.bak");
    fs::copy_file(backupOpen, filterBackup);
    const std::string filterBackupBytes = test::ReadBytes(filterBackup);
    ui.messages.clear();
    EXPECT_FALSE(core::OpenDataFile(s, ui, filterBackup));
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(test::ReadBytes(filterBackup) == filterBackupBytes);
    fs::current_path(workingFolder);
}

// A save through a link writes the file the link leads to and keeps its
// backup beside that file: the checks before it see that backup, so an open
// set's file standing there is not moved aside.
TEST_F(FileCommands, ASaveThroughALinkIsCheckedAgainstTheBackupItWouldReplace) {
    fs::create_directory(dir / "real");
    const std::string data = test::WriteDataFile(File("class.kov"), test::MakeRecords(3));
    const std::string target = test::WriteDataFile(File("real/talk.kov"), test::MakeRecords(2));
    const std::string filter = test::WriteDataFile(File("real/talk.bak"), test::MakeRecords(1));
    const std::string link = File("talk.kov");
    fs::create_symlink("real/talk.kov", link);
    const std::string targetBytes = test::ReadBytes(target);
    const std::string filterBytes = test::ReadBytes(filter);
    ASSERT_TRUE(core::OpenFilterFile(s, ui, filter));
    ASSERT_TRUE(core::OpenDataFile(s, ui, data));
    ui.answers = {core::Answer::Yes, core::Answer::Yes};
    dialog.answers = {link};
    EXPECT_FALSE(core::SaveKovfile(s, ui, dialog));
    ASSERT_EQ(ui.messages.size(), 1u);
    const std::string backup = (fs::canonical(dir / "real") / "talk.bak").string();
    EXPECT_NE(ui.messages[0].find('"' + backup + '"'), std::string::npos) << ui.messages[0];
    EXPECT_TRUE(test::ReadBytes(target) == targetBytes);
    EXPECT_TRUE(test::ReadBytes(filter) == filterBytes);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(s.DataFileName1, data);

    // Without the filter file open there, the save goes through the link.
    s.FilterFileName.clear();
    ui.messages.clear();
    dialog.answers = {link};
    EXPECT_TRUE(core::SaveKovfile(s, ui, dialog));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(test::ReadBytes(filter) == targetBytes);
    EXPECT_TRUE(test::ReadBytes(target) == test::ReadBytes(data));
    EXPECT_EQ(s.DataFileName1, link);
}

// Data set 2 shares its storage with the filter lines and, without a data set
// 1, is what File > Open replaces: both ask about it first.
TEST_F(FileCommands, OpensThatDropDataSet2AskAboutItFirst) {
    test::ShowSet2(s, ui, 4, 2);
    s.DataFileName2 = File("two.kov");
    const core::KovaState before = s;
    struct Case {
        const char* name;
        bool (*open)(core::KovaState&, core::KovaUi&, core::FileChooser&);
    } cases[] = {{"open data file", core::OpenKovfile}, {"open filter file", core::OpenFilterfile}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.log.clear();
        ui.answers = {core::Answer::Cancel};
        dialog.requests.clear();
        EXPECT_FALSE(c.open(s, ui, dialog));
        ASSERT_EQ(ui.log.size(), 1u);
        EXPECT_EQ(ui.log[0], "AskSaveFile " + before.DataFileName2);
        EXPECT_TRUE(dialog.requests.empty());
        EXPECT_EQ(s.ViewMode, 2);
        EXPECT_EQ(s.DataFileName2, before.DataFileName2);
        EXPECT_EQ(s.Records2, before.Records2);
    }
    // Yes saves data set 2 before the filter file takes its place.
    const std::string filters = File("new.fil");
    ui.answers = {core::Answer::Yes};
    dialog.answers = {filters};
    EXPECT_TRUE(core::OpenFilterfile(s, ui, dialog));
    EXPECT_TRUE(fs::exists(before.DataFileName2));
    EXPECT_EQ(s.ViewMode, 3);
    EXPECT_EQ(s.DataFileName2, "");
}

// A set read in part: a save as under another name asks nothing and clears the
// mark; a save over its own file asks, and No writes nothing.
TEST_F(FileCommands, SaveAsOfASetReadInPartAsksOnlyOverItsOwnFile) {
    const std::string cut = File("cut.kov");
    test::WriteBytes(cut,
                     "##00000\r\n 2 MEMO 0 \r\n 2 \r\nx\r\n##00001\r\na\r\n 1 \r\nT\r\n\r\n"
                     "\r\n\r\n\r\none\r\n##00007\r\n##END\r\n");
    const std::string original = test::ReadBytes(cut);
    const std::string copy = File("copy.kov");
    const std::string copyFil = File("copy.fil");
    struct Case {
        const char* what;
        bool filter;
        std::string chosen;
        bool asked;
        bool written;                    // the chosen file was written
        bool filledInSelection = false;  // the unread line filled behind a selection
    } cases[] = {
        {"data, same file, No", false, cut, true, false},
        {"data, same file through another name, No", false, File("./cut.kov"), true, false},
        {"data, another name", false, copy, false, true},
        {"filter, same file, No", true, cut, true, false},
        {"filter, filled in a selection, No", true, cut, true, false, true},
        {"filter, another name", true, copyFil, false, true},
    };
    for (const Case& c : cases) {
        const std::string& other = c.filter ? copyFil : copy;
        fs::remove(other);
        ASSERT_TRUE(c.filter ? core::OpenFilterFile(s, ui, cut) : core::OpenDataFile(s, ui, cut));
        bool& mark = c.filter ? s.ReadIncomplete2 : s.ReadIncomplete1;
        ASSERT_TRUE(mark) << c.what;
        if (c.filledInSelection) {
            core::BeginSelection(s, ui);
            s.SelectionMarks2[2] = 1;
            core::ApplySelection(s, ui);
            s.Records2[1].V8 = "filled";
        }
        ui.log.clear();
        ui.answers = {core::Answer::No};
        dialog.answers = {c.chosen};
        const bool saved =
            c.filter ? core::SaveFilterfile(s, ui, dialog) : core::SaveKovfile(s, ui, dialog);
        EXPECT_EQ(saved, c.written) << c.what;
        const bool asked = !ui.log.empty() && ui.log.back().rfind("AskYesNo ", 0) == 0;
        EXPECT_EQ(asked, c.asked) << c.what;
        // The question counts what the save would write.
        const char* holds = c.filledInSelection
                                ? "hold 2 records.\r\n"
                                : "hold 2 records, 1 of them empty because it could not be read.";
        EXPECT_TRUE(!asked || ui.log.back().find(holds) != std::string::npos) << ui.log.back();
        EXPECT_EQ(test::ReadBytes(cut), original) << c.what;
        EXPECT_EQ(fs::exists(other), c.written) << c.what;
        EXPECT_EQ(mark, !c.written) << c.what;
    }
    // Closing the set drops the mark with it.
    ASSERT_TRUE(core::OpenDataFile(s, ui, cut));
    ui.answers = {core::Answer::No};
    ASSERT_TRUE(core::CloseShownSet(s, ui));
    EXPECT_FALSE(s.ReadIncomplete1);
}

}  // namespace
