#include "analyses/analysis_commands.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <tuple>
#include <vector>

#include "analyses/analysis_fixture.h"
#include "mainwindow/daily_fixture.h"
#include "store/data_file.h"
#include "store/selection_store.h"
#include "store/store_test_util.h"
#include "support/scripted_chooser.h"

namespace {

namespace fs = std::filesystem;

using FakeChooser = test::ScriptedChooser;

struct OpenKov2Test : ::testing::Test {
    core::KovaState s;
    test::FakeUi ui;
    FakeChooser dialog;
    fs::path dir = test::MakeTempDir("kova_kov2_");
    std::string second = (dir / "coder2.kov").string();

    void SetUp() override {
        test::ShowSet1(s, ui, 5, 3);
        core::KovaState scratch;
        ASSERT_TRUE(core::SaveDataFile(scratch, ui, second, test::MakeRecords(4, "coder two "), 4,
                                       9, "second coder"));
    }
    void TearDown() override { fs::remove_all(dir); }

    void OpenItem() {
        core::InterraterMenuItem(
            s, ui, 1, dialog, [] { FAIL() << "no options dialog"; }, test::FixedClock());
    }
};

TEST_F(OpenKov2Test, WithoutASecondSetGoesStraightToTheFileDialog) {
    dialog.answers = {second};
    const uint64_t changes = s.ChangeCount2;
    OpenItem();
    EXPECT_EQ(s.ChangeCount2, changes + 1);
    for (const std::string& line : ui.log)
        EXPECT_NE(line.rfind("AskSaveFile", 0), 0u) << line;
    ASSERT_EQ(dialog.requests.size(), 1u);
    EXPECT_EQ(dialog.requests[0].title, "Open Second Interrater Datafile");
    EXPECT_EQ(dialog.requests[0].filter, core::kDataFilter);
    EXPECT_EQ(dialog.requests[0].fileName, "");
    EXPECT_EQ(s.ViewMode, 2);
    EXPECT_EQ(s.DataFileName2, second);
    EXPECT_EQ(s.RecordCount2, 4);
    EXPECT_EQ(s.Main.title, "KOVA Data2file: " + second);
    EXPECT_EQ(s.Main.CBack.caption, "<< Data1");
    EXPECT_EQ(s.Main.text1, "coder two 1");
}

TEST_F(OpenKov2Test, ACancelPutsTheViewAndThePageBack) {
    dialog.answers = {second};
    OpenItem();
    core::ShowDataMode(s, ui);
    // A report shown in the output viewer, which hides "Show output".
    s.AnalysisFileName = (dir / "talk.ana").string();
    s.Main.CAnaf.visible = false;
    const core::MainWindowModel shown = s.Main;
    struct Case {
        const char* name;
        std::deque<core::Answer> answers;
        std::deque<std::optional<std::string>> files;
        size_t dialogs;
    } cases[] = {
        {"Cancel in the save prompt", {core::Answer::Cancel}, {}, 0},
        {"Cancel in the file dialog", {core::Answer::No}, {std::nullopt}, 1},
        {"a file that is not a data file", {core::Answer::No}, {(dir / "bad.kov").string()}, 1},
    };
    test::WriteBytes((dir / "bad.kov").string(), "not a protocol\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.answers = c.answers;
        dialog.answers = c.files;
        dialog.requests.clear();
        ui.log.clear();
        OpenItem();
        ASSERT_FALSE(ui.log.empty());
        EXPECT_EQ(ui.log[0], "AskSaveFile " + second);
        EXPECT_EQ(dialog.requests.size(), c.dialogs);
        EXPECT_EQ(s.ViewMode, 1);
        EXPECT_EQ(s.Main, shown);
        EXPECT_EQ(s.DataFileName2, second);
        EXPECT_EQ(s.RecordCount2, 4);
    }
}

TEST_F(OpenKov2Test, FilterLinesAreAskedAboutBeforeDataSet2TakesTheirPlace) {
    const std::string filters = (dir / "f.fil").string();
    s.Records2 = test::MakeRecords(2, "filter ");
    s.FilterCount = 2;
    s.CurrentFilterLine = 2;
    s.FilterFileName = filters;
    core::ShowDataMode(s, ui);
    ui.answers = {core::Answer::Yes};
    dialog.answers = {second};
    OpenItem();
    ASSERT_FALSE(ui.log.empty());
    EXPECT_EQ(ui.log[0], "AskSaveFile " + filters);
    // Yes saved the filter lines before they were dropped.
    core::RecordSet saved;
    int16_t count = 0, header = 0;
    std::string info;
    core::ReadDataFile(s, ui, filters, saved, count, header, info);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(s.FilterFileName, "");
    EXPECT_EQ(s.DataFileName2, second);
    EXPECT_EQ(s.ViewMode, 2);
}

TEST_F(OpenKov2Test, ASelectionOfDataSet2IsWrittenBackBeforeTheQuestion) {
    dialog.answers = {second};
    OpenItem();
    core::BeginSelection(s, ui);
    s.SelectionMarks2[3] = 1;
    core::ApplySelection(s, ui);
    s.Records2[1].V8 = "edited";
    core::ShowDataMode(s, ui);
    ui.answers = {core::Answer::Yes};
    dialog.answers = {std::nullopt};
    OpenItem();
    EXPECT_EQ(s.SelectionShown2, core::kFalse);
    EXPECT_EQ(s.RecordCount2, 4);
    EXPECT_EQ(s.Records2[3].V8, "edited");
    EXPECT_EQ(s.ViewMode, 1);
}

TEST_F(OpenKov2Test, TheMenuActsOnlyWithDataSet1OpenAndNotOnTheFilterLines) {
    s.ViewMode = 3;
    OpenItem();
    s.ViewMode = 1;
    s.DataFileName1.clear();
    OpenItem();
    EXPECT_TRUE(dialog.requests.empty());
    EXPECT_TRUE(ui.log.empty());
}

TEST_F(OpenKov2Test, AnalysesNeedDataSet2AndRunAfterTheOptionsDialog) {
    s.DataFileName1 = (dir / "one.kov").string();
    int asked = 0;
    auto ask = [&] { ++asked; };
    auto shows = [&] {
        return std::count_if(ui.log.begin(), ui.log.end(),
                             [](const std::string& l) { return l.rfind("ShowOutput", 0) == 0; });
    };
    core::InterraterMenuItem(s, ui, 6, dialog, ask, test::FixedClock());
    EXPECT_EQ(asked, 0);
    dialog.answers = {second};
    OpenItem();
    // Cancel in the options dialog: nothing runs, the file is not shown.
    auto cancel = [&] {
        ++asked;
        s.DialogCancelled = 1;
    };
    s.EpisodeFilling = 1;
    s.Lag = 3;
    core::InterraterMenuItem(s, ui, 6, dialog, cancel, test::FixedClock());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(s.EpisodeFilling, 0);
    EXPECT_EQ(s.Lag, 0);
    EXPECT_EQ(s.CompareVariable, 0);
    auto ok = [&] {
        ++asked;
        s.FromRecord = 1;
        s.ToRecord = 5;
        s.FromRecord2 = 1;
        s.ToRecord2 = 4;
        s.ShowAgreementKappa = 1;
    };
    ui.log.clear();
    core::InterraterMenuItem(s, ui, 6, dialog, ok, test::FixedClock());
    EXPECT_EQ(s.CompareVariable, 4);
    EXPECT_EQ(shows(), 1);
    EXPECT_NE(test::ReadAll(dir / "one.ana").find("INTERRATER AGREEMENT:"), std::string::npos);
    // "All": one dialog, seven variables in order, the file shown once.
    fs::remove(dir / "one.ana");
    for (int i = 1; i <= 4; ++i)
        s.Records1[i].V7 = s.Records2[i].V7 = "x";
    ui.log.clear();
    asked = 0;
    core::InterraterMenuItem(s, ui, 11, dialog, ok, test::FixedClock());
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(s.CompareVariable, 7);
    const std::string ana = test::ReadAll(dir / "one.ana");
    EXPECT_EQ(test::Count(ana, "INTERRATER AGREEMENT:"), 7u);
    EXPECT_LT(ana.find("AGREEMENT: V1"), ana.find("AGREEMENT: V7"));
    EXPECT_EQ(shows(), 1);
}

TEST(InterraterOptions, PresetAndOkMapTheRangesOfBothSets) {
    core::KovaState s;
    test::FakeUi ui;
    test::ShowSet1(s, ui, 6, 1);
    s.Records2 = test::MakeRecords(9);
    s.RecordCount2 = 9;
    core::InterraterOptions o = core::InterraterPreset(s);
    EXPECT_EQ((std::vector{o.from1, o.to1, o.from2, o.to2}),
              (std::vector<std::string>{"1", "6", "1", "9"}));
    EXPECT_TRUE(o.frequencyTable && o.categoryKappas && o.agreementKappa);
    EXPECT_FALSE(o.expectedTable || o.residualsTable);
    // A selection of data set 2 shows the records numbered 4, 7 and 9.
    s.SelectionShown2 = core::kTrue;
    s.Records2 = {core::ProtocolRecord{}, test::MakeRecords(9)[4], test::MakeRecords(9)[7],
                  test::MakeRecords(9)[9]};
    s.RecordCount2 = 3;
    std::tie(o.from1, o.to1, o.from2, o.to2) = std::tuple("2", "5", "7", "9");
    o.expectedTable = true;
    o.agreementKappa = false;
    ASSERT_TRUE(core::ApplyInterraterOptions(s, ui, o));
    EXPECT_EQ((std::vector{s.FromRecord, s.ToRecord, s.FromRecord2, s.ToRecord2}),
              (std::vector<int16_t>{2, 5, 2, 3}));
    EXPECT_EQ(s.ShowExpectedTable, 1);
    EXPECT_EQ(s.ShowAgreementKappa, 0);
    // Once answered, the dialog offers what the last OK chose.
    core::InterraterOptions again = core::InterraterPreset(s);
    EXPECT_TRUE(again.expectedTable);
    EXPECT_FALSE(again.agreementKappa);
    // A number past the 16-bit range changes nothing.
    o.to2 = "40000";
    EXPECT_FALSE(core::ApplyInterraterOptions(s, ui, o));
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(s.ToRecord2, 3);
}

}  // namespace
