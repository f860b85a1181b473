#include "store/open_save.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "store/append_merge.h"
#include "store/data_file.h"
#include "store/selection_store.h"
#include "store/view.h"
#include "store_test_util.h"
#include "support/fake_ui.h"

namespace {

using core::Answer;
using test::ReadBytes;
using test::WriteBytes;

struct OpenSaveTest : ::testing::Test {
    test::TempDir dir;
    core::KovaState s;
    test::FakeUi ui;

    // Writes a protocol of `count` numbered records to `name` in the folder.
    std::string MakeFile(const std::string& name, int count, const std::string& info = "info",
                         int16_t header = 9) {
        std::string path = dir.File(name);
        test::FakeUi quiet;
        EXPECT_TRUE(core::SaveDataFile(s, quiet, path, test::NumberedSet(count),
                                       static_cast<int16_t>(count), header, info));
        return path;
    }
    void ActivateSieve() {
        s.SieveActive = 1;
        s.SieveCount = 2;
        s.SievePosition = 2;
        s.SieveList = {0, 1, 3};
    }
    std::string LastMessage() const { return ui.messages.empty() ? "" : ui.messages.back(); }
};

TEST_F(OpenSaveTest, OpeningADataFileShowsItsFirstRecord) {
    std::string name = MakeFile("lesson.kov", 12, "Lesson 4");
    ActivateSieve();
    s.SelectionShown1 = core::kTrue;
    ASSERT_TRUE(core::OpenDataFile(s, ui, name));
    EXPECT_EQ(s.DataFileName1, name);
    EXPECT_EQ(s.RecordCount1, 12);
    EXPECT_EQ(s.CurrentRecord1, 1);
    EXPECT_EQ(s.FileInfo1, "Lesson 4");
    EXPECT_EQ(s.FileHeaderNumber, 9);
    EXPECT_EQ(s.Records1, test::NumberedSet(12));
    EXPECT_EQ(s.SieveActive, 0);
    EXPECT_EQ(s.SieveCount, 0);
    EXPECT_EQ(s.SievePosition, 0);
    EXPECT_EQ(s.SelectionShown1, core::kFalse);
    EXPECT_EQ(s.ViewMode, 1);
    EXPECT_EQ(s.Main.title, "KOVA Datafile: " + name);
    EXPECT_EQ(s.Main.rows[10].v[0], "1");
    EXPECT_EQ(s.Main.Teller.caption, "12");
}

TEST_F(OpenSaveTest, ANewDataFileNameGivesOneRecordAndWritesNothing) {
    s.FileInfo1 = "kept";
    s.FileHeaderNumber = 4;
    std::string name = dir.File("new.kov");
    ASSERT_TRUE(core::OpenDataFile(s, ui, name));
    ASSERT_EQ(s.RecordCount1, 1);
    ASSERT_EQ(s.Records1.size(), 2u);
    EXPECT_EQ(s.Records1[1], test::Rec(1, "", 1, "", "", "", "", "", ""));
    EXPECT_EQ(s.CurrentRecord1, 1);
    EXPECT_EQ(s.FileInfo1, "kept");
    EXPECT_EQ(s.FileHeaderNumber, 4);
    EXPECT_EQ(dir.Listing(), "");
    EXPECT_EQ(s.Main.title, "KOVA Datafile: " + name);
}

TEST_F(OpenSaveTest, AFailedOpenChangesNothing) {
    std::string good = MakeFile("good.kov", 5);
    ASSERT_TRUE(core::OpenDataFile(s, ui, good));
    s.CurrentRecord1 = 4;
    core::ShowDataMode(s, ui);
    const core::KovaState before = s;

    std::string bad = dir.File("bad.kov");
    WriteBytes(bad, "not a protocol\r\n");
    EXPECT_FALSE(core::OpenDataFile(s, ui, bad));
    EXPECT_EQ(ui.messages.back(),
              "KOVA|Error in the first line, not starting with ##00000not a protocol");
    // A damaged count line is caught before anything is replaced as well.
    WriteBytes(bad, "##00000\r\n 40000 MEMO 0 \r\n 9 \r\n");
    EXPECT_FALSE(core::OpenDataFile(s, ui, bad));
    EXPECT_NE(ui.messages.back().find("above the limit of 32767 records"), std::string::npos);
    // Data set 2 is read without a test for the name: a missing file is reported.
    EXPECT_FALSE(core::OpenData2File(s, ui, dir.File("missing.kov")));
    EXPECT_FALSE(core::OpenDataFile(s, ui, ""));

    EXPECT_EQ(s.DataFileName1, good);
    EXPECT_EQ(s.Records1, before.Records1);
    EXPECT_EQ(s.RecordCount1, 5);
    EXPECT_EQ(s.CurrentRecord1, 4);
    EXPECT_EQ(s.ViewMode, 1);
    EXPECT_EQ(s.Main, before.Main);
    EXPECT_EQ(s.DataFileName2, "");
}

// A file within the bound whose texts break their lines with lone line
// feeds, each saved as CR LF: its set could never be saved, so no opener
// takes it (appending or merging neither), and the state stays as it was.
// One that fits opens and saves.
TEST_F(OpenSaveTest, AFileWhoseSetCouldNotBeSavedIsNotOpened) {
    std::string bytes = "##00000\r\n 6 MEMO 0 \r\n 9 \r\nlone line feeds\r\n";
    for (int k = 1; k <= 6; ++k) {
        bytes += "##0000" + std::to_string(k) + "\r\n0:00:01\r\n 1 \r\nT\r\n\r\n\r\n\r\n\r\n";
        if (k <= 5)
            bytes += std::string(16'700'000, 'w') + "\r\n";  // one line, saved as it is
        else
            bytes += "w" + std::string(300'000, '\n');  // twice as long saved
    }
    bytes += "##END\r\n";
    ASSERT_LT(bytes.size(), core::kMaxDataFileBytes);
    const std::string name = dir.File("lf.kov");
    WriteBytes(name, bytes);
    bytes = std::string();

    s.FileHeaderNumber = 4;
    const core::KovaState before = s;
    const std::pair<const char*, std::function<bool()>> openers[] = {
        {"data set 1", [&] { return core::OpenDataFile(s, ui, name); }},
        {"filter file", [&] { return core::OpenFilterFile(s, ui, name); }},
        {"data set 2", [&] { return core::OpenData2File(s, ui, name); }},
        {"append or merge", [&] { return core::ReadAppendFile(s, ui, name); }}};
    for (const auto& [what, open] : openers) {
        ui.messages.clear();
        EXPECT_FALSE(open()) << what;
        ASSERT_EQ(ui.messages.size(), 1u) << what;
        EXPECT_NE(ui.messages[0].find("Overflow: saved again, the records would be larger than 80 "
                                      "MB, the most a data file may hold"),
                  std::string::npos)
            << ui.messages[0];
        EXPECT_TRUE(s == before) << what;
    }

    WriteBytes(name, "##00000\r\n 1 MEMO 0 \r\n 9 \r\n##00001\r\n\n 1 \nT\n\n\n\n\nw\n\nx\n");
    ASSERT_TRUE(core::OpenDataFile(s, ui, name));
    EXPECT_EQ(s.Records1[1].V8, "w\r\n\r\nx");
    EXPECT_TRUE(core::SaveCurrentFile(s, ui));
}

// A link to a name the code page cannot hold: no save could write it.
TEST_F(OpenSaveTest, ALinkToANameKovaCannotUseIsNotOpened) {
    ASSERT_TRUE(core::OpenDataFile(s, ui, MakeFile("good.kov", 5)));
    std::filesystem::copy_file(dir.File("good.kov"), dir.path() / u8"\u65E5\u672C.kov");
    std::filesystem::create_symlink(u8"\u65E5\u672C.kov", dir.path() / "cjk.kov");
    const core::KovaState before = s;
    for (auto open : {core::OpenDataFile, core::OpenFilterFile, core::OpenData2File}) {
        EXPECT_FALSE(open(s, ui, dir.File("cjk.kov")));
        EXPECT_NE(LastMessage().find("cjk.kov\" was not opened: it is a link to a file whose name "
                                     "holds a character that KOVA cannot use"),
                  std::string::npos);
        EXPECT_TRUE(s == before);
    }
}

// The header number is one for every set and each open changes it: a set
// grown as far as it may be saved, under a one-digit number, still saves once
// a file with a five-digit one is opened beside it, and opens again.
TEST_F(OpenSaveTest, ASetAtTheBoundStillSavesWhenAnotherOpenChangesTheHeaderNumber) {
    const std::string name = MakeFile("full.kov", 6);
    const std::string other = MakeFile("other.kov", 2, "", -32768);
    ASSERT_TRUE(core::OpenDataFile(s, ui, name));
    ASSERT_EQ(s.FileHeaderNumber, 9);
    for (int k = 1; k <= 5; ++k)
        s.Records1[k].V8.assign(core::kMaxFieldBytes - 4096, 'x');
    std::string& text = s.Records1[6].V8;
    text.append(core::kMaxDataFileBytes - 8 - core::SavedSizeOfSet(s, 1).Bytes(), 'x');
    ASSERT_TRUE(core::SavedSizeOfSet(s, 1).Fits());
    while (core::SavedSizeOfSet(s, 1).Fits())
        text += 'x';
    text.pop_back();
    const size_t length = text.size();
    ASSERT_TRUE(core::SaveCurrentFile(s, ui)) << LastMessage();

    ASSERT_TRUE(core::OpenData2File(s, ui, other));
    ASSERT_EQ(s.FileHeaderNumber, -32768);
    core::ShowDataMode(s, ui);
    ui.messages.clear();
    ASSERT_TRUE(core::SaveCurrentFile(s, ui)) << LastMessage();
    EXPECT_EQ(std::filesystem::file_size(name), core::kMaxDataFileBytes);
    ASSERT_TRUE(core::OpenDataFile(s, ui, name)) << LastMessage();
    EXPECT_EQ(s.Records1[6].V8.size(), length);
}

TEST_F(OpenSaveTest, ABadMarkerShowsWhatWasRead) {
    std::string name = dir.File("cut.kov");
    WriteBytes(name,
               "##00000\r\n 3 MEMO 0 \r\n 2 \r\nx\r\n##00001\r\na\r\n 1 \r\nT\r\n\r\n\r\n\r\n\r\n"
               "one\r\n##END\r\n");
    ASSERT_TRUE(core::OpenDataFile(s, ui, name));
    EXPECT_EQ(ui.messages.back(), "KOVA|Error in the datafile, see linenumber: 2");
    EXPECT_EQ(s.RecordCount1, 3);
    EXPECT_EQ(s.Records1[1].V8, "one");
    EXPECT_EQ(s.Records1[3].V0, 3);
    EXPECT_EQ(s.DataFileName1, name);
    EXPECT_EQ(s.Main.Teller.caption, "3");

    // An empty protocol has no current record.
    ASSERT_TRUE(core::OpenDataFile(s, ui, MakeFile("empty.kov", 0)));
    EXPECT_EQ(s.RecordCount1, 0);
    EXPECT_EQ(s.CurrentRecord1, 0);
}

TEST_F(OpenSaveTest, ANewFilterFileIsWrittenAtOnce) {
    s.FilterFileInfo = "rules";
    s.FileHeaderNumber = 3;
    s.DataFileName2 = "/x/coder2.kov";
    s.RecordCount2 = 8;
    s.CurrentRecord2 = 2;
    std::string name = dir.File("new.fil");
    ASSERT_TRUE(core::OpenFilterFile(s, ui, name));
    EXPECT_EQ(ReadBytes(name),
              "##00000\r\n 1 MEMO 0 \r\n 3 \r\nrules\r\n##00001\r\n*\r\n 0 \r\n*\r\n*\r\n*\r\n*\r\n"
              "*\r\n*\r\n##END\r\n");
    EXPECT_EQ(s.FilterCount, 1);
    EXPECT_EQ(s.CurrentFilterLine, 1);
    EXPECT_EQ(s.Records2[1], test::Rec(1, "*", 0, "*", "*", "*", "*", "*", "*"));
    EXPECT_EQ(s.FilterFileName, name);
    EXPECT_EQ(s.ViewMode, 3);
    EXPECT_EQ(s.Main.Teller.caption, "1");
    EXPECT_EQ(s.Main.scrollMax, 1);
    EXPECT_EQ(s.DataFileName2, "");
    EXPECT_EQ(s.RecordCount2, 0);
    EXPECT_EQ(s.CurrentRecord2, 0);
}

TEST_F(OpenSaveTest, ANewFilterFileThatCannotBeWrittenOpensNothing) {
    EXPECT_FALSE(core::OpenFilterFile(s, ui, dir.File("no/such/folder.fil")));
    EXPECT_NE(ui.messages.back().find("Error|Error # "), std::string::npos);
    EXPECT_EQ(s.ViewMode, 0);
    EXPECT_EQ(s.FilterFileName, "");
    EXPECT_EQ(s.FilterCount, 0);
    EXPECT_TRUE(s.Records2.empty());
}

TEST_F(OpenSaveTest, AnExistingFilterFileShowsItsLastLine) {
    std::string name = MakeFile("rules.fil", 6, "my rules");
    s.SelectionShown2 = core::kTrue;  // a selection of data set 2 that Records2 held
    s.FullRecords2 = test::NumberedSet(40);
    s.FullCount2 = 40;
    ASSERT_TRUE(core::OpenFilterFile(s, ui, name));
    EXPECT_EQ(s.FilterCount, 6);
    EXPECT_EQ(s.CurrentFilterLine, 6);
    EXPECT_EQ(s.FilterFileInfo, "my rules");
    EXPECT_EQ(s.Main.text1, "text 6");
    EXPECT_EQ(s.Main.background, core::kTeal);
    EXPECT_EQ(s.SelectionShown2, core::kFalse);
    EXPECT_FALSE(s.Main.Teller2.visible);
}

TEST_F(OpenSaveTest, OpeningDataSet2DropsTheFilterLines) {
    s.FilterFileName = "/x/rules.fil";
    s.FilterCount = 3;
    s.CurrentFilterLine = 3;
    ActivateSieve();
    std::string name = MakeFile("coder2.kov", 7);
    ASSERT_TRUE(core::OpenData2File(s, ui, name));
    EXPECT_EQ(s.RecordCount2, 7);
    EXPECT_EQ(s.CurrentRecord2, 1);
    EXPECT_EQ(s.DataFileName2, name);
    EXPECT_EQ(s.FilterFileName, "");
    EXPECT_EQ(s.FilterCount, 0);
    EXPECT_EQ(s.CurrentFilterLine, 0);
    EXPECT_EQ(s.SieveActive, 0);
    EXPECT_EQ(s.ViewMode, 2);
    EXPECT_EQ(s.Main.title, "KOVA Data2file: " + name);
}

TEST_F(OpenSaveTest, SavingTheShownSet) {
    std::string name = MakeFile("lesson.kov", 6, "Lesson");
    ASSERT_TRUE(core::OpenDataFile(s, ui, name));
    // A selection of records 2 and 5, then an edit of the shown record 5.
    core::BeginSelection(s, ui);
    s.SelectionMarks1[2] = 2;
    s.SelectionMarks1[5] = 5;
    core::ApplySelection(s, ui);
    ASSERT_EQ(s.RecordCount1, 2);
    s.Records1[2].V4 = "EDITED";
    s.FileInfo1 = "Lesson, revised";
    ASSERT_TRUE(core::SaveCurrentFile(s, ui));

    core::RecordSet back;
    int16_t count = 0, header = 0;
    std::string info;
    ASSERT_TRUE(core::ReadDataFile(s, ui, name, back, count, header, info));
    EXPECT_EQ(count, 6);  // the full set, not the shown two
    EXPECT_EQ(back[5].V4, "EDITED");
    EXPECT_EQ(info, "Lesson, revised");
    EXPECT_EQ(s.RecordCount1, 2);  // the selection stays shown
    EXPECT_EQ(s.SelectionShown1, core::kTrue);
    EXPECT_EQ(ReadBytes(dir.File("lesson.bak")).find("EDITED"), std::string::npos);

    // Data set 2 without a name: nothing is written.
    s.ViewMode = 2;
    s.Records2 = test::NumberedSet(2);
    s.RecordCount2 = 2;
    const std::string files = dir.Listing();
    EXPECT_TRUE(core::SaveCurrentFile(s, ui));
    EXPECT_EQ(dir.Listing(), files);

    // The filter lines with their own file info.
    s.ViewMode = 3;
    s.FilterFileName = dir.File("rules.fil");
    s.FilterFileInfo = "rules info";
    s.Records2 = test::NumberedSet(3);
    s.FilterCount = 3;
    ASSERT_TRUE(core::SaveCurrentFile(s, ui));
    ASSERT_TRUE(core::ReadDataFile(s, ui, s.FilterFileName, back, count, header, info));
    EXPECT_EQ(count, 3);
    EXPECT_EQ(info, "rules info");
}

TEST_F(OpenSaveTest, SavePromptAnswers) {
    std::string name = MakeFile("lesson.kov", 3);
    ASSERT_TRUE(core::OpenDataFile(s, ui, name));
    s.Records1[1].V4 = "NEW";

    // No: goes on without saving.
    ui.answers = {Answer::No};
    s.DialogCancelled = 1;
    EXPECT_TRUE(core::AskSaveFile(s, ui));
    EXPECT_EQ(s.DialogCancelled, 0);
    EXPECT_EQ(ui.log.back(), "AskSaveFile " + name);
    EXPECT_EQ(dir.Listing(), "lesson.kov;");

    // Cancel, and the close box or Escape (which answer Cancel): the caller stops.
    ui.answers = {Answer::Cancel};
    EXPECT_FALSE(core::AskSaveFile(s, ui));
    EXPECT_EQ(s.DialogCancelled, 1);
    EXPECT_EQ(dir.Listing(), "lesson.kov;");

    // Yes: saved, the old file kept as the backup.
    ui.answers = {Answer::Yes};
    EXPECT_TRUE(core::AskSaveFile(s, ui));
    EXPECT_EQ(s.DialogCancelled, 0);
    EXPECT_EQ(dir.Listing(), "lesson.bak;lesson.kov;");
    EXPECT_NE(ReadBytes(name).find("NEW"), std::string::npos);

    // Yes, but the save fails: counts as Cancel, the data stays in memory.
    std::filesystem::remove(name);
    std::filesystem::create_directory(name);
    ui.answers = {Answer::Yes};
    ui.messages.clear();
    EXPECT_FALSE(core::AskSaveFile(s, ui));
    EXPECT_EQ(s.DialogCancelled, 1);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(s.Records1[1].V4, "NEW");
}

TEST_F(OpenSaveTest, SavePromptAsksOnlyAboutANamedSet) {
    EXPECT_TRUE(core::AskSaveFile(s, ui));  // view 0
    s.ViewMode = 2;
    EXPECT_TRUE(core::AskSaveFile(s, ui));  // data set 2 without a name
    EXPECT_TRUE(ui.log.empty());

    // Two questions in a row each name their own file.
    s.DataFileName2 = dir.File("two.kov");
    s.FilterFileName = dir.File("rules.fil");
    ui.answers = {Answer::No, Answer::No};
    EXPECT_TRUE(core::AskSaveFile(s, ui));
    s.ViewMode = 3;
    EXPECT_TRUE(core::AskSaveFile(s, ui));
    ASSERT_EQ(ui.log.size(), 2u);
    EXPECT_EQ(ui.log[0], "AskSaveFile " + s.DataFileName2);
    EXPECT_EQ(ui.log[1], "AskSaveFile " + s.FilterFileName);
}

TEST_F(OpenSaveTest, AFolderNameIsReportedNotOpenedAsANewSet) {
    std::string good = MakeFile("good.kov", 5);
    ASSERT_TRUE(core::OpenDataFile(s, ui, good));
    ui.messages.clear();
    std::string folder = dir.File("folder.kov");
    std::filesystem::create_directory(folder);
    EXPECT_FALSE(core::OpenDataFile(s, ui, folder));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("folder.kov"), std::string::npos);
    EXPECT_EQ(s.DataFileName1, good);
    EXPECT_EQ(s.RecordCount1, 5);

    ui.messages.clear();
    EXPECT_FALSE(core::OpenFilterFile(s, ui, folder));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(s.FilterFileName, "");
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

// A protocol of three records whose second marker is damaged: a read takes
// record 1 and leaves records 2 and 3 empty.
std::string CutFile(const test::TempDir& dir, const std::string& name) {
    const std::string path = dir.File(name);
    WriteBytes(path,
               "##00000\r\n 3 MEMO 0 \r\n 2 \r\nx\r\n##00001\r\na\r\n 1 \r\nT\r\n\r\n\r\n\r\n\r\n"
               "one\r\n##0000?\r\nb\r\n 2 \r\nT\r\n\r\n\r\n\r\n\r\ntwo\r\n##END\r\n");
    return path;
}

size_t Questions(const test::FakeUi& ui) {
    size_t n = 0;
    for (const std::string& entry : ui.log)
        n += entry.rfind("AskYesNo ", 0) == 0;
    return n;
}

// Saves the current file answering Yes; how many questions were asked.
size_t SaveSayingYes(core::KovaState& st, test::FakeUi& fake) {
    fake.answers = {Answer::Yes};
    fake.log.clear();
    EXPECT_TRUE(core::SaveCurrentFile(st, fake));
    return Questions(fake);
}

// Saving a set read in part over its own file asks first; No writes nothing.
TEST_F(OpenSaveTest, ASetReadInPartAsksBeforeItReplacesItsFile) {
    struct Case {
        const char* what;
        int16_t view;  // 1 data set 1, 2 data set 2, 3 filter lines
        bool viaPrompt;
        std::deque<Answer> answers;
        bool written;
    } cases[] = {
        {"save, No", 1, false, {Answer::No}, false},
        {"save, Yes", 1, false, {Answer::Yes}, true},
        {"exit prompt Yes, then No", 1, true, {Answer::Yes, Answer::No}, false},
        {"exit prompt Yes, then Yes", 1, true, {Answer::Yes, Answer::Yes}, true},
        {"data set 2, No", 2, false, {Answer::No}, false},
        {"filter lines, No", 3, false, {Answer::No}, false},
        {"filter lines, Yes", 3, false, {Answer::Yes}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir folder;
        core::KovaState st;
        test::FakeUi fake;
        const std::string name = CutFile(folder, "cut.kov");
        const std::string original = ReadBytes(name);
        if (c.view == 1)
            ASSERT_TRUE(core::OpenDataFile(st, fake, name));
        else if (c.view == 2)
            ASSERT_TRUE(core::OpenData2File(st, fake, name));
        else
            ASSERT_TRUE(core::OpenFilterFile(st, fake, name));
        EXPECT_EQ(c.view == 1 ? st.ReadIncomplete1 : st.ReadIncomplete2, true);
        fake.answers = c.answers;
        fake.log.clear();
        const bool saved =
            c.viaPrompt ? core::AskSaveFile(st, fake) : core::SaveCurrentFile(st, fake);
        EXPECT_EQ(saved, c.written);
        EXPECT_EQ(Questions(fake), 1u);
        EXPECT_NE(fake.log.back().find("could not be read completely"), std::string::npos);
        if (c.viaPrompt) {
            EXPECT_EQ(st.DialogCancelled, c.written ? 0 : 1);
        }
        if (c.written) {
            EXPECT_NE(ReadBytes(name), original);
            EXPECT_FALSE(c.view == 1 ? st.ReadIncomplete1 : st.ReadIncomplete2);
            // Saved once, the file holds the set: no more questions.
            EXPECT_EQ(SaveSayingYes(st, fake), 0u);
        } else {
            EXPECT_EQ(ReadBytes(name), original);
            EXPECT_EQ(folder.Listing(), "cut.kov;");
        }
    }
}

// How many records a file holds, and how many of them hold only their number.
std::pair<int, int> RecordsAndEmptyOf(const std::string& name) {
    core::KovaState st;
    test::FakeUi quiet;
    core::RecordSet records;
    int16_t count = 0, header = 0;
    std::string info;
    EXPECT_TRUE(core::ReadDataFile(st, quiet, name, records, count, header, info));
    int empty = 0;
    for (int k = 1; k <= count; ++k)
        empty += records[k] == test::Rec(static_cast<int16_t>(k), "", 0, "", "", "", "", "", "");
    return {count, empty};
}

// The question before a set read in part replaces its file says what the
// file will then hold, counted as the save finds the set: records filled,
// cut or edited behind a selection since the read count as they are now.
TEST_F(OpenSaveTest, TheQuestionOfAPartReadSaysWhatTheFileWillHold) {
    struct Case {
        const char* what;
        int keep;  // the records kept, all if -1
        bool selectThird;
        std::vector<int> filled;
        bool emptyFirst;
        std::string holds;
        std::pair<int, int> written;  // records, empty ones
    };
    const std::string it = " because it could not be read.";
    const std::string twoEmpty = "hold 3 records, 2 of them empty because they could not be read.";
    const std::string oneEmpty = "hold 3 records, 1 of them empty" + it;
    const Case cases[] = {
        {"as read", -1, false, {}, false, twoEmpty, {3, 2}},
        {"one filled", -1, false, {3}, false, oneEmpty, {3, 1}},
        {"both filled", -1, false, {2, 3}, false, "hold 3 records.\r\n", {3, 0}},
        {"one cut", 2, false, {}, false, "hold 2 records, 1 of them empty" + it, {2, 1}},
        {"only the read one kept", 1, false, {}, false, "hold 1 record.\r\n", {1, 0}},
        {"all cut", 0, false, {}, false, "hold 0 records.\r\n", {0, 0}},
        {"only an empty one kept", 1, false, {}, true, "hold 1 record, empty" + it, {1, 1}},
        {"behind a selection", -1, true, {}, false, twoEmpty, {3, 2}},
        {"filled behind a selection", -1, true, {1}, false, oneEmpty, {3, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TempDir folder;
        core::KovaState st;
        test::FakeUi fake;
        const std::string name = CutFile(folder, "cut.kov");
        ASSERT_TRUE(core::OpenDataFile(st, fake, name));
        if (c.keep >= 0) {
            st.RecordCount1 = static_cast<int16_t>(c.keep);
            st.Records1.resize(static_cast<size_t>(c.keep) + 1);
        }
        if (c.selectThird) {
            core::BeginSelection(st, fake);
            st.SelectionMarks1[3] = 1;
            core::ApplySelection(st, fake);
        }
        for (int k : c.filled)
            st.Records1[k].V8 = "filled";
        if (c.emptyFirst)
            st.Records1[1] = test::Rec(1, "", 0, "", "", "", "", "", "");
        ASSERT_EQ(SaveSayingYes(st, fake), 1u);
        EXPECT_NE(fake.log[0].find("The file will then " + c.holds), std::string::npos)
            << fake.log[0];
        EXPECT_EQ(RecordsAndEmptyOf(name), c.written);
    }
}

// The figures of the question are those of the file written, records and
// memos, for a protocol cut off in the middle of a record or stopped at a
// memo marker that names no record; it names the backup that keeps the file.
TEST_F(OpenSaveTest, TheQuestionCountsTheFileThenWritten) {
    const std::string whole = ReadBytes(std::string(KOVA_SOURCE_DIR) + "/examples/classroom.kov");
    ASSERT_GT(whole.size(), 5000u);
    const std::pair<std::string, int> cases[] = {
        {whole.substr(0, 5000), 0},
        {std::string(whole).replace(whole.find("##00078", whole.find("##MEMOS##")), 7, "##00999"),
         5}};
    for (const auto& [bytes, memos] : cases) {
        SCOPED_TRACE(memos);
        const std::string name = dir.File("part" + std::to_string(memos) + ".kov");
        WriteBytes(name, bytes);
        ASSERT_TRUE(core::OpenDataFile(s, ui, name));
        ASSERT_TRUE(s.ReadIncomplete1);
        ASSERT_EQ(SaveSayingYes(s, ui), 1u);
        const auto [records, empty] = RecordsAndEmptyOf(name);
        EXPECT_EQ(records, s.RecordCount1);
        EXPECT_EQ(empty > 0, memos == 0);
        const std::string holds =
            "hold " + std::to_string(records) + " records" +
            (empty > 0 ? ", " + std::to_string(empty) + " of them empty because they could not " +
                             "be read."
                       : ".") +
            " It holds 10 memos now and will then hold " + std::to_string(memos) +
            ".\r\n\r\nThe file as it is now is kept as \"" +
            core::BackupFileName(name, core::DataFileKind::Data) + "\"";
        EXPECT_NE(ui.log[0].find(holds), std::string::npos) << ui.log[0];
    }
}

// The mark follows the last read of each set; a new set has none.
TEST_F(OpenSaveTest, TheMarkOfAPartReadFollowsTheLastRead) {
    const std::string cut = CutFile(dir, "cut.kov");
    const std::string good = MakeFile("good.kov", 4);
    ASSERT_TRUE(core::OpenDataFile(s, ui, cut));
    EXPECT_TRUE(s.ReadIncomplete1);
    ASSERT_TRUE(core::OpenDataFile(s, ui, good));
    EXPECT_FALSE(s.ReadIncomplete1);
    ASSERT_TRUE(core::OpenDataFile(s, ui, cut));
    ASSERT_TRUE(core::OpenDataFile(s, ui, dir.File("new.kov")));
    EXPECT_FALSE(s.ReadIncomplete1);

    ASSERT_TRUE(core::OpenFilterFile(s, ui, cut));
    EXPECT_TRUE(s.ReadIncomplete2);
    EXPECT_FALSE(s.ReadIncomplete1);
    ASSERT_TRUE(core::OpenFilterFile(s, ui, dir.File("new.fil")));
    EXPECT_FALSE(s.ReadIncomplete2);
    ASSERT_TRUE(core::OpenData2File(s, ui, cut));
    EXPECT_TRUE(s.ReadIncomplete2);
    ASSERT_TRUE(core::OpenData2File(s, ui, good));
    EXPECT_FALSE(s.ReadIncomplete2);
}

}  // namespace
