#include "store/text_import.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "mainwindow/daily_fixture.h"
#include "mainwindow/import_commands.h"
#include "mainwindow/import_fixture.h"
#include "store/open_save.h"

namespace {

// The records as "{V1|V3|V8}" each, numbered from 1, each a new actor.
std::string Lines(const core::ImportedSet& set) {
    std::string out;
    for (int k = 1; k <= set.count; ++k) {
        const core::ProtocolRecord& r = set.records[k];
        EXPECT_EQ(r.V0, k);
        EXPECT_EQ(r.V2, 1);
        out += "{" + r.V1 + "|" + r.V3 + "|" + r.V8 + "}";
    }
    return out;
}

TEST(DialogueText, DelimiterLayoutAndCommentRules) {
    struct Case {
        const char* name;
        bool timed;
        std::string text;
        const char* lines;
        const char* info = "";
        const char* comment = "#";
        const char* delimiter = ";";
        size_t replaced = 0;
        size_t strayBytes = 0;
    };
    const Case cases[] = {
        {"time, actor, text and a continuation line", true,
         "10:02:11; Anna; Shall we go?\r\nwhen it stops\r\n",
         "{10:02:11|Anna|Shall we go?\r\nwhen it stops}"},
        {"delimiters inside the text are dropped", true, "1; Bo; Note; twelve\r\n",
         "{1|Bo|Note twelve}"},
        {"without time", false, "Anna;Yes\r\n", "{|Anna|Yes}"},
        {"a time holding the delimiter is cut there", true, "10:02 : Anna : Hi\r\n",
         "{10|02|Anna  Hi}", "", "#", ":"},
        {"one delimiter with time: a time and a text, no actor", true, "10:05; hello there\r\n",
         "{10:05||hello there}"},
        {"comment lines are not trimmed after the character", true, "#Interview 4\r\n# coder B\r\n",
         "", "Interview 4\r\n coder B"},
        {"lines before the first utterance go to the file info in order", false,
         "Session two\r\n#coded\r\nA; hi\r\nmore\r\n#late\r\n", "{|A|hi\r\nmore}",
         "Session two\r\ncoded\r\nlate"},
        {"a Tab before the comment character makes no comment line", false, "\t#x; y\r\n",
         "{|#x|y}"},
        {"no comment character: empty lines add empty info lines", false, "\r\nA;b\r\n   \r\n",
         "{|A|b}", "\r\n", ""},
        {"with a comment character empty lines are skipped", false, "\r\nA;b\r\n\r\n", "{|A|b}", "",
         "%"},
        {"tabs become blanks; a last line without its end counts", false, "A;\tone\ttwo\nB;three",
         "{|A|one two}{|B|three}"},
        {"CR, LF and CR LF each end a line", false, "A;1\rB;2\nC;3\r\n\rD;4\r",
         "{|A|1}{|B|2}{|C|3}{|D|4}"},
        {"UTF-8 with its mark: converted, what the code page lacks counted", true,
         "\xEF\xBB\xBF"
         "10:00; Ren\xC3\xA9"
         "e; caf\xC3\xA9 \xE2\x82\xAC \xE4\xB8\xAD\xE6\x96\x87\r\n",
         "{10:00|Ren\xE9"
         "e|caf\xE9 \x80 ?\?}",
         "", "#", ";", 2},
        {"UTF-8 without its mark", false, "A;\xC3\xA0 bient\xC3\xB4t", "{|A|\xE0 bient\xF4t}"},
        {"Windows-1252 text stays as it is", false, "A;caf\xE9 \xC3", "{|A|caf\xE9 \xC3}"},
        {"UTF-8 but for a stray byte: the byte becomes \"?\" and is counted", false,
         "A;caf\xC3\xA9 cr\xC3\xA8me \xE9t\xC3\xA9", "{|A|caf\xE9 cr\xE8me ?t\xE9}", "", "#", ";",
         0, 1},
        {"Windows-1252 text with one pair that reads as UTF-8 stays as it is", false,
         "A;caf\xE9 \xC9\xBB na\xEFve", "{|A|caf\xE9 \xC9\xBB na\xEFve}"},
        {"Windows-1252 text with as many such pairs as stray bytes stays as it is", false,
         "A;caf\xE9 \xC9\xBB", "{|A|caf\xE9 \xC9\xBB}"},
        {"a lead byte that ends the text is stray", false, "A;caf\xC3\xA9 na\xC3",
         "{|A|caf\xC3\xA9 na\xC3}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        core::KovaState s;
        s.DialogueLayout = c.timed ? "met tijd" : "zonder tijd";
        s.DialogueDelimiter = c.delimiter;
        s.DialogueCommentChar = c.comment;
        core::ImportedSet set = core::ParseDialogueText(s, c.text);
        EXPECT_EQ(Lines(set), c.lines);
        EXPECT_EQ(set.fileInfo, c.info);
        EXPECT_EQ(set.replaced, c.replaced);
        EXPECT_EQ(set.strayBytes, c.strayBytes);
        // Read a byte at a time, as a file is read in chunks: the same set.
        EXPECT_EQ(Lines(core::ParseDialogueText(s, c.text, 1)), c.lines);
    }
}

TEST(DialogueText, DialogAnswersKeepTheDialogOpenUntilComplete) {
    core::KovaState s;
    s.DialogueCommentChar = "#";
    EXPECT_FALSE(core::TakeDialogueAnswers(s, -1, ";", ""));
    EXPECT_FALSE(core::TakeDialogueAnswers(s, 1, "", ""));
    EXPECT_EQ(s.DialogueLayout, "zonder tijd");  // the layout just chosen stays
    EXPECT_TRUE(core::TakeDialogueAnswers(s, 0, ";;", ""));
    EXPECT_EQ(s.DialogueLayout, "met tijd");
    EXPECT_EQ(s.DialogueDelimiter, ";");
    EXPECT_EQ(s.DialogueCommentChar, "#");  // an empty box keeps the earlier one
    EXPECT_TRUE(core::TakeDialogueAnswers(s, 0, ":", "%x"));
    EXPECT_EQ(s.DialogueCommentChar, "%");
}

// The sentences are the records' texts, each ended by "/".
TEST(SentenceText, SentenceCutsAndPrefixes) {
    const std::pair<const char*, const char*> cases[] = {
        {"We left. Then it rained! Why?", "(NP) We left./Then it rained!/Why?/"},
        {"Good morning.", "(NL) Good morning./"},
        // No cut before a small letter, a digit or a second blank.
        {"We met at 3. 4 people stayed.  Then. left",
         "(NL) We met at 3. 4 people stayed.  Then. left/"},
        {"Mr. Smith came.", "(NP) Mr./Smith came./"},  // an abbreviation before a capital cuts
        {"It ends.\r\nNext one\r\n", "(NL) It ends./(NL) Next one/"},
        {"\r\n   \r\n  ## note\r\nText\r\n", "(NL) Text/"},  // empty, blank and ## lines: nothing
        {"a|b", "(NP) a/b/"},
        {"A\tB? C", "(NP) A B?/C/"},  // a tab inside becomes a blank after trimming
        {"It ends.\rNext one", "(NL) It ends./(NL) Next one/"},
    };
    for (const auto& [text, sentences] : cases) {
        core::ImportedSet set = core::ParseSentenceText(text);
        std::string got;
        for (int k = 1; k <= set.count; ++k)
            got += set.records[k].V8 + "/";
        EXPECT_EQ(got, sentences) << text;
    }
}

TEST(ImportedFileName, TheExtensionGivesWayToKov) {
    test::FakeUi ui;
    const std::pair<std::string, std::string> cases[] = {
        {"/d/talk.txt", "/d/talk.kov"}, {"/d/data.xlsx", "/d/data.kov"},
        {"/d/notes", "/d/notes.kov"},   {"/d.v2/notes", "/d.v2/notes.kov"},
        {"/d/a.b.xls", "/d/a.b.kov"},   {"/d/talk.kov", "/d/talk.kov"},
    };
    for (const auto& [source, expected] : cases) {
        std::string name;
        EXPECT_TRUE(core::ImportedFileName(ui, source, name));
        EXPECT_EQ(name, expected);
    }
    for (const char* bad : {"/d/.txt", "/d/", ""}) {
        std::string name = "kept";
        EXPECT_FALSE(core::ImportedFileName(ui, bad, name));
        EXPECT_EQ(name, "kept");
    }
    EXPECT_EQ(ui.messages.size(), 3u);
}

struct TextImport : ::testing::Test {
    test::TempDir dir;
    core::KovaState s;
    test::FakeUi ui;
    test::ScriptedChooser dialog;
    test::ScriptedImportDialogs options;

    void OpenData1() {
        std::string name = test::WriteDataFile(dir.File("open.kov"), test::NumberedSet(4));
        ASSERT_TRUE(core::OpenDataFile(s, ui, name));
    }
};

TEST_F(TextImport, DialogueBecomesASavedDataFileThatReopensTheSame) {
    const std::string source = dir.File("talk.txt");
    test::WriteBytes(source, "#Interview 4\r\n10:00; Anna; Hi; there\r\n10:01; Bo; Hello\r\n");
    test::WriteBytes(dir.File("talk.kov"), "older");
    OpenData1();
    s.SelectionShown1 = core::kFalse;
    s.SieveActive = 1;
    s.SieveCount = 1;
    ui.answers = {core::Answer::No, core::Answer::Yes};
    dialog.answers = {source};
    options.dialogueOption = 0;
    options.commentChar = "#";
    ASSERT_TRUE(core::ReadDialogueTxtfile(s, ui, dialog, options));
    EXPECT_EQ(options.shownFileName, source);
    EXPECT_EQ(s.CurrentFileName, source);
    EXPECT_EQ(s.DataFileName1, dir.File("talk.kov"));
    EXPECT_EQ(s.Main.title, "KOVA Datafile: " + dir.File("talk.kov"));
    EXPECT_EQ(s.FileInfo1, "Interview 4");
    EXPECT_EQ(s.RecordCount1, 2);
    EXPECT_EQ(s.Records1[1].V8, "Hi there");
    EXPECT_EQ(s.CurrentRecord1, 1);
    EXPECT_EQ(s.ViewMode, 1);
    EXPECT_EQ(s.SieveActive, 0);
    EXPECT_EQ(test::ReadBytes(dir.File("talk.bak")), "older");
    EXPECT_NE(ui.log.back().find("\"" + dir.File("talk.kov") + "\" is there already"),
              std::string::npos);
    EXPECT_EQ(dialog.requests[0].filter, core::kDialogueFilter);

    const auto back = test::ReadDataBack(dir.File("talk.kov"));
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.header, 9);
    EXPECT_EQ(back.info, "Interview 4");
    EXPECT_EQ(back.records, s.Records1);
}

// The file is as large as an import reads, most of it blank lines.
TEST_F(TextImport, SentencesAreSavedWithTheirFileNameAsFileInfo) {
    const std::string source = dir.File("story.txt");
    // UTF-8 but for one byte: the import says so.
    std::string text = "We left the caf\xC3\xA9 for cr\xC3\xA8me, na\xEFve. Then it rained!\r\n";
    text.resize(core::kMaxTextFileBytes, ' ');
    for (size_t at = text.size(); at > size_t{1} << 20; at -= size_t{1} << 20)
        text[at - 1] = '\n';
    test::WriteBytes(source, text);
    test::WriteBytes(dir.File("story.bak"), "made by hand");
    dialog.answers = {source};
    ASSERT_TRUE(core::ReadGeneralTextfile(s, ui, dialog));
    EXPECT_EQ(s.FileInfo1, dir.File("story.kov"));
    EXPECT_EQ(s.RecordCount1, 2);
    EXPECT_EQ(s.Records1[1].V8, "(NP) We left the caf\xE9 for cr\xE8me, na?ve.");
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_NE(ui.messages.back().find("not UTF-8 were imported as \"?\": 1."), std::string::npos);
    EXPECT_EQ(dialog.requests[0].filter, core::kTextFilter);
    const std::string head =
        "##00000\r\n 2 MEMO 0 \r\n 9 \r\n" + dir.File("story.kov") + "\r\n##00001\r\n";
    EXPECT_EQ(test::ReadBytes(dir.File("story.kov")).substr(0, head.size()), head);
    EXPECT_EQ(test::ReadBytes(dir.File("story.bak")), "made by hand");
}

// An imported set one byte past what a data file holds is refused in the
// words of the commands that add records, before anything is written.
TEST_F(TextImport, ASetTooLargeToSaveIsRefusedAsAnAddIs) {
    OpenData1();
    const core::KovaState before = s;
    const auto files = test::Snapshot(dir.path());
    core::ImportedSet set{
        .records = test::MakeRecords(5, std::string(core::kMaxFieldBytes - 1, 'x')),
        .count = 5,
        .fileInfo = "talk"};
    const size_t over =
        core::SavedFileBytes(set.records, 5, 9, set.fileInfo) - core::kMaxDataFileBytes;
    ASSERT_GT(over, 1u);
    set.records[5].V8.resize(core::kMaxFieldBytes - (over - 1));
    ASSERT_EQ(core::SavedFileBytes(set.records, 5, 9, set.fileInfo), core::kMaxDataFileBytes + 1);
    EXPECT_FALSE(core::InstallImportedSet(s, ui, dir.File("talk.kov"), std::move(set)));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("Saved, the set would be larger than 80 MB, the most a data file "
                                  "may hold. Nothing was imported."),
              std::string::npos)
        << ui.messages[0];
    EXPECT_EQ(s.Records1, before.Records1);
    EXPECT_EQ(s.DataFileName1, before.DataFileName1);
    EXPECT_EQ(test::Snapshot(dir.path()), files);
}

TEST_F(TextImport, CancelAndFailuresLeaveDataSet1AndTheFilesAsTheyWere) {
    test::WriteBytes(dir.File("talk.txt"), "A; b\r\n");
    test::WriteBytes(dir.File("talk.kov"), "older");
    std::string many;
    for (int k = 0; k <= core::kMaxRecords; ++k)
        many += "A;b\r\n";
    test::WriteBytes(dir.File("many.txt"), many);
    test::WriteBytes(dir.File("talk.bak"), "A; backup\r\n");
    test::WriteBytes(dir.File("long.txt"), "A; " + std::string(core::kMaxFieldBytes, 'x'));
    // In a folder of its own, so that the snapshot below does not read it.
    test::TempDir bigDir;
    test::WriteBytes(bigDir.File("big.txt"), "");
    std::filesystem::resize_file(bigDir.File("big.txt"), core::kMaxTextFileBytes + 1);
    test::WriteBytes(dir.File("link.txt"), "A; b\r\n");
    std::filesystem::create_symlink("nowhere", dir.File("link.kov"));
    OpenData1();
    const core::KovaState before = s;
    const auto files = test::Snapshot(dir.path());
    using A = core::Answer;
    struct Case {
        const char* name;
        std::optional<std::string> file;
        size_t messages;
        A save = A::No;      // the question about data set 1
        A replace = A::Yes;  // the question before talk.kov is replaced
        bool cancelOptions = false;
        const char* said = nullptr;  // in the message
    };
    const Case cases[] = {
        {"save question cancelled", dir.File("talk.txt"), 0, A::Cancel},
        {"file dialog cancelled", std::nullopt, 0},
        {"option dialog cancelled", dir.File("talk.txt"), 0, A::No, A::Yes, true},
        {"the data file there is not to be replaced", dir.File("talk.txt"), 0, A::No, A::No},
        {"the source is the data file", dir.File("talk.kov"), 1},
        {"the source is the data file's backup", dir.File("talk.bak"), 1},
        {"a line longer than a field", dir.File("long.txt"), 1},
        {"missing file", dir.File("gone.txt"), 1},
        {"a bare extension names no file", dir.File(".txt"), 1},
        {"too many records", dir.File("many.txt"), 1},
        {"a file past the size an import reads", bigDir.File("big.txt"), 1, A::No, A::Yes, false,
         "larger than 64 MB"},
        {"a link there, leading nowhere, is refused", dir.File("link.txt"), 1, A::No, A::No, false,
         "\", which does not exist"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.messages.clear();
        ui.answers = {c.save, c.replace};
        dialog.answers = {c.file};
        options.cancel = c.cancelOptions;
        EXPECT_FALSE(core::ReadDialogueTxtfile(s, ui, dialog, options));
        EXPECT_EQ(ui.messages.size(), c.messages);
        if (c.said != nullptr) {
            EXPECT_NE(ui.messages.at(0).find(c.said), std::string::npos) << ui.messages[0];
        }
        EXPECT_EQ(s.Records1, before.Records1);
        EXPECT_EQ(s.DataFileName1, before.DataFileName1);
        EXPECT_EQ(s.FileInfo1, before.FileInfo1);
        EXPECT_EQ(s.Main, before.Main);
    }
    ui.answers = {core::Answer::No};
    dialog.answers = {dir.File("many.txt")};
    EXPECT_FALSE(core::ReadGeneralTextfile(s, ui, dialog));
    EXPECT_EQ(s.Records1, before.Records1);
    EXPECT_EQ(test::Snapshot(dir.path()), files);
}

}  // namespace
