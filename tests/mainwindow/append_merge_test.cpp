#include "store/append_merge.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "mainwindow/daily_fixture.h"
#include "mainwindow/import_commands.h"
#include "mainwindow/import_fixture.h"
#include "store/open_save.h"
#include "store/selection_store.h"
#include "store/view.h"

namespace {

using test::Timed;

struct AppendMerge : ::testing::Test {
    test::TempDir dir;
    core::KovaState s;
    test::FakeUi ui;
    test::ScriptedChooser dialog;

    // Data set 1 opened from a file of `records`, shown.
    void OpenData1(const core::RecordSet& records, const std::string& info = "own info") {
        std::string name = test::WriteDataFile(dir.File("one.kov"), records, 3, info);
        ASSERT_TRUE(core::OpenDataFile(s, ui, name));
    }
    std::string Second(const core::RecordSet& records, const std::string& name = "two.kov") {
        return test::WriteDataFile(dir.File(name), records, 7, "second info");
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (int k = 1; k <= s.RecordCount1; ++k) {
            EXPECT_EQ(s.Records1[k].V0, k);
            out.push_back(s.Records1[k].V8);
        }
        return out;
    }
};

TEST_F(AppendMerge, AppendingThreeRecordsToTenNumbersThemOnAndShowsTheLast) {
    OpenData1(test::NumberedSet(10));
    core::RecordSet more = test::NumberedSet(3);
    more[2].Memo = "a memo\r\nof two lines";
    dialog.answers = {Second(more)};
    ASSERT_TRUE(core::AppendKovfile(s, ui, dialog));
    ASSERT_EQ(s.RecordCount1, 13);
    for (int k = 11; k <= 13; ++k) {
        EXPECT_EQ(s.Records1[k].V0, k);
        EXPECT_EQ(s.Records1[k].V8, "text " + std::to_string(k - 10));
    }
    EXPECT_EQ(s.Records1[12].Memo, "a memo\r\nof two lines");
    EXPECT_EQ(s.CurrentRecord1, 13);
    EXPECT_EQ(s.Main.Teller.caption, "13");
    EXPECT_EQ(s.Main.scrollMax, 13);
    EXPECT_EQ(s.Main.scrollValue, 13);
    EXPECT_EQ(s.Main.text1, "text 3");
    EXPECT_EQ(s.FileInfo1, "own info");
    EXPECT_EQ(s.FileHeaderNumber, 7);
    EXPECT_EQ(s.AppendFileName, dir.File("two.kov"));
    ASSERT_EQ(dialog.requests.size(), 1u);
    EXPECT_EQ(dialog.requests[0].filter, core::kDataFilter);
}

TEST_F(AppendMerge, AppendingAnEmptyFileOnlyMovesToTheLastRecord) {
    OpenData1(test::NumberedSet(4));
    core::RecordSet before = s.Records1;
    dialog.answers = {Second(core::RecordSet(1))};
    ASSERT_TRUE(core::AppendKovfile(s, ui, dialog));
    EXPECT_EQ(s.Records1, before);
    EXPECT_EQ(s.CurrentRecord1, 4);
}

TEST_F(AppendMerge, AppendingBehindTheFilterLines) {
    s.Records2 = test::MakeRecords(2);
    s.FilterCount = 2;
    s.FilterFileName = dir.File("f.fil");
    s.FilterFileInfo = "filters";
    core::ShowFilterMode(s, ui);
    dialog.answers = {Second(test::NumberedSet(2), "g.fil")};
    ASSERT_TRUE(core::AppendFilterfile(s, ui, dialog));
    ASSERT_EQ(s.FilterCount, 4);
    EXPECT_EQ(s.Records2[3].V0, 3);
    EXPECT_EQ(s.Records2[4].V8, "text 2");
    EXPECT_EQ(s.CurrentFilterLine, 4);
    EXPECT_EQ(s.Main.Teller.caption, "4");
    EXPECT_EQ(s.FilterFileInfo, "filters");
    EXPECT_EQ(dialog.requests[0].filter, core::kFilterFileFilter);
}

TEST_F(AppendMerge, AppendWritesBackAndEndsASelectionFirst) {
    OpenData1(test::NumberedSet(5));
    // A selection of records 2 and 4, record 4 edited while shown.
    core::BeginSelection(s, ui);
    s.SelectionMarks1[2] = 1;
    s.SelectionMarks1[4] = 2;
    core::ApplySelection(s, ui);
    s.CurrentRecord1 = 2;
    s.Records1[2].V4 = "edited";
    dialog.answers = {Second(test::NumberedSet(1))};
    ASSERT_TRUE(core::AppendKovfile(s, ui, dialog));
    EXPECT_EQ(s.SelectionShown1, core::kFalse);
    ASSERT_EQ(s.RecordCount1, 6);
    EXPECT_EQ(s.Records1[4].V4, "edited");
    EXPECT_EQ(s.Records1[6].V0, 6);
}

TEST_F(AppendMerge, MergeOrdersByTimeWithTiesAndUntimedRecords) {
    struct Case {
        const char* name;
        std::initializer_list<const char*> first;
        std::initializer_list<const char*> second;
        std::vector<std::string> order;
    };
    const Case cases[] = {
        {"ties keep data set 1 first",
         {"10:00", "10:05", "10:10"},
         {"10:05", "10:07"},
         {"a1", "a2", "b1", "b2", "a3"}},
        {"untimed records stay behind their predecessor",
         {"10:00", "", "", "10:10"},
         {"10:05"},
         {"a1", "a2", "a3", "b1", "a4"}},
        {"an untimed first record of the file goes first",
         {"10:00", "10:10"},
         {"", "10:05"},
         {"b1", "a1", "b2", "a2"}},
        {"both untimed: data set 1 wins", {"", "10:10"}, {"", "10:05"}, {"a1", "b1", "b2", "a2"}},
        {"blanks parse as time 0 but are not empty", {"10:00"}, {" "}, {"b1", "a1"}},
        {"file used up first", {"9:00", "11:00", "12:00"}, {"10:00"}, {"a1", "b1", "a2", "a3"}},
        {"no records in data set 1", {}, {"10:00", "9:00"}, {"b1", "b2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        core::RecordSet first = Timed(c.first, "a");
        core::RecordSet second = Timed(c.second, "b");
        core::RecordSet merged = core::MergeByTime(first, static_cast<int16_t>(first.size() - 1),
                                                   second, static_cast<int16_t>(second.size() - 1));
        std::vector<std::string> order;
        for (size_t k = 1; k < merged.size(); ++k) {
            EXPECT_EQ(merged[k].V0, static_cast<int16_t>(k));
            order.push_back(merged[k].V8);
        }
        EXPECT_EQ(order, c.order);
    }
}

TEST_F(AppendMerge, MergeWorksFromAnyViewAndLeavesTheClipboardAlone) {
    OpenData1(Timed({"10:00", "10:10"}, "a"), "kept info");
    s.Records2 = test::MakeRecords(2);
    s.RecordCount2 = 2;
    s.DataFileName2 = dir.File("second.kov");
    core::ShowData2Mode(s, ui);
    s.RecordClipboard = test::MakeRecords(2, "clip ");
    s.ClipboardCount = 2;
    const core::RecordSet clipboard = s.RecordClipboard;
    dialog.answers = {Second(Timed({"10:05"}, "b"))};
    ASSERT_TRUE(core::MergeKovfile(s, ui, dialog));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"a1", "b1", "a2"}));
    EXPECT_EQ(s.RecordClipboard, clipboard);
    EXPECT_EQ(s.ClipboardCount, 2);
    EXPECT_EQ(s.ViewMode, 1);
    EXPECT_EQ(s.CurrentRecord1, 3);
    EXPECT_EQ(s.FileInfo1, "kept info");
    EXPECT_EQ(s.FileHeaderNumber, 7);
}

TEST_F(AppendMerge, WrongViewOrNoDataSetGivesTheHelpMessageAndNoDialog) {
    struct Case {
        const char* name;
        bool (*command)(core::KovaState&, core::KovaUi&, core::FileChooser&);
        int16_t mode;
        const char* message;
    };
    const Case cases[] = {
        {"append in view 0", core::AppendKovfile, 0, "First, open kov.file to append to!"},
        {"append in view 3", core::AppendKovfile, 3, "First, open kov.file to append to!"},
        {"append filters in view 1", core::AppendFilterfile, 1,
         "First, open Filter file (*.fil) to append to!"},
        {"append filters in view 2", core::AppendFilterfile, 2,
         "First, open Filter file (*.fil) to append to!"},
        {"merge without data set 1", core::MergeKovfile, 2, "First, open kov.file to merge with!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        core::KovaState fresh;
        fresh.ViewMode = c.mode;
        ui.messages.clear();
        dialog.requests.clear();
        EXPECT_FALSE(c.command(fresh, ui, dialog));
        EXPECT_EQ(ui.messages, std::vector<std::string>{std::string("ERROR HELP|") + c.message});
        EXPECT_TRUE(dialog.requests.empty());
    }
}

// A file whose set takes exactly what a data file may hold (with a five-digit
// header number, the file takes it too) is opened, appended to an empty data
// set 1 and merged into it; with one byte more in its set (a one-digit header
// number keeps that file within the bound) each of them refuses it.
TEST_F(AppendMerge, AFileWhoseSetTakesTheBoundOpensAppendsAndMerges) {
    core::RecordSet big = test::NumberedSet(6);
    for (int k = 1; k <= 5; ++k)
        big[k].V8.assign(core::kMaxFieldBytes - 4096, 'x');
    big[6].V8.append(core::kMaxDataFileBytes - core::SavedSize(big, 6, -32768, "").BoundBytes(),
                     'x');
    const std::string name = test::WriteDataFile(dir.File("big.kov"), big, -32768, "");
    ASSERT_EQ(std::filesystem::file_size(name), core::kMaxDataFileBytes);
    std::string oneMore = test::ReadBytes(name);
    const size_t headerAt = oneMore.find("\r\n-32768 \r\n") + 2;
    ASSERT_EQ(headerAt, 21u);
    oneMore.replace(headerAt, 7, " 9 ");
    oneMore.insert(oneMore.size() - 9, "x");  // before "\r\n##END\r\n"
    const std::string tooBig = dir.File("too big.kov");
    test::WriteBytes(tooBig, oneMore);
    oneMore = std::string();

    using Command = bool (*)(core::KovaState&, core::KovaUi&, core::FileChooser&);
    const std::pair<const char*, Command> commands[] = {
        {"append", core::AppendKovfile}, {"merge", core::MergeKovfile}, {"open", nullptr}};
    for (const auto& [what, command] : commands) {
        for (const std::string& file : {name, tooBig}) {
            SCOPED_TRACE(std::string(what) + " " + file);
            OpenData1(core::RecordSet(1), "");
            ui.messages.clear();
            dialog.answers = {file};
            const bool made = command ? command(s, ui, dialog) : core::OpenDataFile(s, ui, file);
            if (file == name) {
                ASSERT_TRUE(made) << (ui.messages.empty() ? "" : ui.messages.back());
                EXPECT_EQ(s.RecordCount1, 6);
                EXPECT_EQ(s.Records1[6].V8, big[6].V8);
                EXPECT_EQ(s.FileHeaderNumber, -32768);
                EXPECT_TRUE(core::SavedSizeOfSet(s, 1).Fits());
                EXPECT_TRUE(core::SaveCurrentFile(s, ui));
            } else {
                EXPECT_FALSE(made);
                ASSERT_EQ(ui.messages.size(), 1u);
                EXPECT_NE(ui.messages[0].find("larger than 80 MB"), std::string::npos)
                    << ui.messages[0];
                EXPECT_EQ(s.RecordCount1, 0);
                EXPECT_EQ(s.DataFileName1, dir.File("one.kov"));
            }
        }
    }
}

TEST_F(AppendMerge, FailedReadsAndOversizedResultsChangeNothing) {
    OpenData1(test::NumberedSet(3));
    test::WriteBytes(dir.File("bad.kov"), "not a data file\r\n");
    test::WriteBytes(dir.File("cut.kov"),
                     "##00000\r\n 2 MEMO 0 \r\n 9 \r\n##00001\r\n1\r\n1\r\nA\r\n\r\n\r\n\r\n\r\n"
                     "one\r\n##00007\r\n");
    core::RecordSet big(2);
    big[1].V0 = 1;
    big.resize(core::kMaxRecords - 1);  // 32765 records: three more is too many
    for (size_t k = 1; k < big.size(); ++k)
        big[k].V0 = static_cast<int16_t>(k);
    Second(big, "big.kov");
    core::RecordSet text = test::NumberedSet(1);
    text[1].V8 = "more";
    Second(text, "text.kov");
    core::RecordSet empty(2);  // no text at all, yet lines of its own
    empty[1].V0 = 1;
    Second(empty, "empty.kov");
    core::RecordSet memo = empty;  // its one record holds nothing but a memo
    memo[1].Memo = "note";
    Second(memo, "memo.kov");
    // Past the bound (sparse), beside the folder the snapshot reads.
    test::TempDir hugeDir;
    test::WriteBytes(hugeDir.File("huge.kov"), "##00000\r\n 1 MEMO 0 \r\n 9 \r\n");
    std::filesystem::resize_file(hugeDir.File("huge.kov"), core::kMaxDataFileBytes + 1);
    const auto files = test::Snapshot(dir.path());
    // Saved, data set 1 takes all a data file may hold.
    test::FillToTheBound(s, 1, 0);
    const core::KovaState before = s;
    const std::pair<std::string, std::string> names[] = {
        {dir.File("missing.kov"), "missing.kov"},
        {dir.File("bad.kov"), "first line"},
        {dir.File("cut.kov"), "linenumber"},
        {dir.File("big.kov"), "32767"},
        {dir.File("text.kov"), "Saved, the set would be larger than 80 MB"},
        {dir.File("empty.kov"), "Saved, the set would be larger than 80 MB"},
        {dir.File("memo.kov"), "Saved, the set would be larger than 80 MB"},
        {hugeDir.File("huge.kov"), "larger than 80 MB, the most a data file may hold"}};
    for (const auto& [name, said] : names) {
        SCOPED_TRACE(name);
        for (auto command : {core::AppendKovfile, core::MergeKovfile}) {
            ui.messages.clear();
            dialog.answers = {name};
            EXPECT_FALSE(command(s, ui, dialog));
            ASSERT_EQ(ui.messages.size(), 1u);
            EXPECT_NE(ui.messages[0].find(said), std::string::npos) << ui.messages[0];
            EXPECT_EQ(s.Records1, before.Records1);
            EXPECT_EQ(s.RecordCount1, before.RecordCount1);
            EXPECT_EQ(s.FileHeaderNumber, before.FileHeaderNumber);
            EXPECT_EQ(s.Main, before.Main);
        }
    }
    EXPECT_EQ(test::Snapshot(dir.path()), files);
    EXPECT_EQ(std::filesystem::file_size(hugeDir.File("huge.kov")), core::kMaxDataFileBytes + 1);
}

}  // namespace
