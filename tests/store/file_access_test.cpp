// File names kept as Windows-1252 bytes reach the disk under their UTF-8
// names, and the shared read, replace and append keep files whole.
#include "store/file_access.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "store/data_file.h"
#include "store/table_file.h"
#include "store/windows1252.h"
#include "store_test_util.h"
#include "support/fake_ui.h"

// The failure the flush of a folder meets (0: none), to see what a save
// does when the disk fails it.
static int folderSyncError = 0;

// Takes the place of the system's flush in this test program (the store is
// linked in statically): a folder meets `folderSyncError`.
extern "C" int fsync(int fd) {
    struct stat st {};
    if (folderSyncError != 0 && ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        errno = folderSyncError;
        return -1;
    }
    static const auto real = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fsync"));
    return real(fd);
}

namespace {

namespace fs = std::filesystem;

// The name on disk in UTF-8, as a directory listing shows it.
std::string Utf8(const char8_t* text) {
    return std::string(reinterpret_cast<const char*>(text));
}

// A path's UTF-8 form (compared as plain bytes).
std::string Utf8Of(const fs::path& path) {
    std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

TEST(Windows1252, TableAndItsReverseAgree) {
    EXPECT_EQ(core::kWindows1252[0x41], u'A');
    EXPECT_EQ(core::kWindows1252[0x80], u'\u20AC');
    EXPECT_EQ(core::kWindows1252[0x9F], u'\u0178');
    EXPECT_EQ(core::kWindows1252[0x8D], u'\u008D');  // undefined: kept as itself
    EXPECT_EQ(core::kWindows1252[0xFC], u'\u00FC');
    for (int b = 0; b < 256; ++b)
        EXPECT_EQ(core::Windows1252Byte(core::kWindows1252[b]), b) << b;
    EXPECT_EQ(core::Windows1252Byte(U'\u03A9'), -1);
    EXPECT_EQ(core::Windows1252Byte(U'\U0001F600'), -1);
    EXPECT_EQ(core::Windows1252ToUtf8("M\xFCller \x80 \x99"), Utf8(u8"Müller € ™"));
}

TEST(NativePath, BuildsTheUtf8Name) {
    EXPECT_EQ(Utf8Of(core::NativePath("/data/M\xFCller.kov")), Utf8(u8"/data/Müller.kov"));
    EXPECT_EQ(Utf8Of(core::NativePath("caf\xE9.tbl").filename()), Utf8(u8"café.tbl"));
    EXPECT_EQ(core::NativePath("plain.kov").string(), "plain.kov");
    EXPECT_EQ(core::FileNamePart("/data/M\xFCller.kov"), "M\xFCller.kov");
    EXPECT_EQ(core::FileNamePart("alone.kov"), "alone.kov");
}

using Messages = std::vector<std::string>;

// What the save-step watcher saw: each step, its path and that path's
// permissions at that moment.
struct SeenStep {
    core::SaveStep step;
    std::string path;
    fs::perms mode;
};
std::vector<SeenStep> seen;

void RecordStep(core::SaveStep step, const fs::path& path) {
    std::error_code ec;
    seen.push_back({step, path.string(), fs::status(path, ec).permissions()});
}

struct FileAccess : ::testing::Test {
    test::TempDir dir;
    test::FakeUi ui;
    core::KovaState s;

    void TearDown() override { core::WatchSaveSteps(nullptr); }
    std::string Name(const std::string& name) const { return dir.File(name); }
    std::string Read(const std::string& name) const { return test::ReadBytes(Name(name)); }
    void Write(const std::string& name, const std::string& bytes = "old") const {
        test::WriteBytes(Name(name), bytes);
    }
    void Folder(const std::string& name) const { fs::create_directory(dir.path() / name); }
    void Link(const fs::path& target, const std::string& name) const {
        fs::create_symlink(target, dir.path() / name);
    }
    bool Save(const std::string& name, int count = 1, const std::string& info = "") {
        return core::SaveDataFile(s, ui, Name(name), test::NumberedSet(count), count, 9, info);
    }
    // Runs `run` with the scratch folder as the working folder.
    template <class Run>
    void InDir(Run run) const {
        const fs::path before = fs::current_path();
        fs::current_path(dir.path());
        run();
        fs::current_path(before);
    }
    // Everything in the folder and in its folders, links not followed: "a;a/b;".
    std::string Tree() const {
        std::set<std::string> names;
        for (const auto& e : fs::recursive_directory_iterator(dir.path()))
            names.insert(e.path().lexically_relative(dir.path()).string());
        std::string out;
        for (const std::string& name : names)
            out += name + ";";
        return out;
    }
    // Watches the save steps from now on, forgetting those seen before.
    void Watch() {
        seen.clear();
        core::WatchSaveSteps(&RecordStep);
    }
    // The steps seen, as "step path" lines with the folder left out of the paths.
    std::string Steps() const {
        static const char* const kNames[] = {"write ", "sync ", "rename ", "sync folder "};
        const std::string folder = fs::canonical(dir.path()).string();
        std::string out;
        for (const SeenStep& step : seen)
            out += kNames[static_cast<int>(step.step)] +
                   step.path.substr(step.path.rfind(folder, 0) == 0 ? folder.size() : 0) + "\n";
        return out;
    }
};

TEST_F(FileAccess, DataFileIsWrittenReadAndBackedUpUnderItsUtf8Name) {
    const std::string name = Name("M\xFCller.kov");
    core::RecordSet records(3);
    records[1].V8 = "first";
    records[2].V8 = "second \xE9t\xE9";
    ASSERT_TRUE(core::SaveDataFile(s, ui, name, records, 2, 1, "info"));
    EXPECT_EQ(dir.Listing(), Utf8(u8"Müller.kov;"));
    EXPECT_FALSE(fs::exists(dir.path() / "M\xFCller.kov"));

    records[1].V8 = "changed";
    ASSERT_TRUE(core::SaveDataFile(s, ui, name, records, 2, 1, "info"));
    EXPECT_EQ(dir.Listing(), Utf8(u8"Müller.bak;Müller.kov;"));
    EXPECT_EQ(s.ScratchText, "M\xFCller.kov");

    core::RecordSet back;
    int16_t count = 0, header = 0;
    std::string info;
    ASSERT_TRUE(core::ReadDataFile(s, ui, name, back, count, header, info));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(back[1].V8, "changed");
    EXPECT_EQ(back[2].V8, "second \xE9t\xE9");
    ASSERT_TRUE(core::ReadDataFile(s, ui, Name("M\xFCller.bak"), back, count, header, info));
    EXPECT_EQ(back[1].V8, "first");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(FileAccess, TableFileIsWrittenAndReadUnderItsUtf8Name) {
    s.Varnaam[3] = "Acteur";
    s.CategoryLists[4] = {"caf\xE9"};
    ASSERT_TRUE(core::SaveTableFile(s, ui, Name("caf\xE9.tbl")));
    EXPECT_EQ(dir.Listing(), Utf8(u8"café.tbl;"));
    core::KovaState other;
    ASSERT_TRUE(core::ReadTableFile(other, ui, Name("caf\xE9.tbl")));
    EXPECT_EQ(other.Varnaam[3], "Acteur");
    EXPECT_EQ(other.CategoryLists[4], std::vector<std::string>{"caf\xE9"});
    // The name's bytes as they are are another, missing file.
    EXPECT_FALSE(core::ReadTableFile(other, ui, dir.path().string() + "/caf\xC3\xA9.tbl"));
    EXPECT_TRUE(ui.messages.back().find("File not found") != std::string::npos);
}

TEST_F(FileAccess, ReadGivesTheBytesOrLeavesThemAlone) {
    test::WriteBytes((dir.path() / u8"r\u00E9sum\u00E9.txt").string(), std::string("a\0b\r\n", 5));
    std::string bytes = "old";
    EXPECT_FALSE(core::ReadWholeFile(Name("r\xE9sum\xE9.txt"), bytes));
    EXPECT_EQ(bytes, std::string("a\0b\r\n", 5));
    EXPECT_TRUE(core::IsRegularFile(Name("r\xE9sum\xE9.txt")));
    EXPECT_TRUE(core::PathExists(Name("r\xE9sum\xE9.txt")));

    bytes = "old";
    EXPECT_EQ(core::ReadWholeFile(Name("missing"), bytes), std::errc::no_such_file_or_directory);
    EXPECT_EQ(core::ReadWholeFile("", bytes), std::errc::no_such_file_or_directory);
    fs::create_directory(dir.path() / "folder");
    EXPECT_EQ(core::ReadWholeFile(Name("folder"), bytes), std::errc::is_a_directory);
    EXPECT_TRUE(core::PathExists(Name("folder")));
    EXPECT_FALSE(core::IsRegularFile(Name("folder")));
    EXPECT_EQ(bytes, "old");
}

// The end of a file past the bound begins at the first line that starts
// within the last maxBytes, whatever ends the line before: the two bytes
// before them tell whether they do.
TEST_F(FileAccess, ReadTailGivesTheLinesThatEndTheFileWithinTheBound) {
    const std::string name = "tail.ana", lone = "lone.ana";
    Write(name, "ab\r\ncd\r\nef");  // 10 bytes
    Write(lone, "ab\ncd\ref");      // 8 bytes
    // The file, the bound, the end read and the bytes skipped before it.
    const std::tuple<std::string, size_t, std::string, uintmax_t> cases[] = {
        {name, 10, "ab\r\ncd\r\nef", 0},  // exactly at the bound: whole
        {name, 9, "cd\r\nef", 4},         // one past: not from the start
        {name, 6, "cd\r\nef", 4},         // the bound just after a CR LF
        {name, 5, "ef", 8},               // within a line: the next one
        {name, 4, "ef", 8},               // the bound between CR and LF
        {name, 1, "", 10},                // no line starts there
        {lone, 7, "cd\ref", 3},           // one past: after a lone LF
        {lone, 5, "cd\ref", 3},           // the bound just after a lone LF
        {lone, 4, "ef", 6},               // within a line: after a lone CR
        {lone, 2, "ef", 6},               // the bound just after a lone CR
    };
    for (const auto& [file, maxBytes, expected, expectedSkipped] : cases) {
        std::string tail = "old";
        uintmax_t skipped = 99;
        SCOPED_TRACE(file + " " + std::to_string(maxBytes));
        EXPECT_FALSE(core::ReadFileTail(Name(file), maxBytes, tail, skipped));
        EXPECT_EQ(tail, expected);
        EXPECT_EQ(skipped, expectedSkipped);
    }
}

// A copy whose source is gone leaves the target as it was and says so.
TEST_F(FileAccess, ReplaceWithCopyOfAFileGoneLeavesTheTarget) {
    const std::string target = Name("copy.ana");
    test::WriteBytes(target, "old");
    bool readFailed = false;
    EXPECT_EQ(core::ReplaceFileWithCopy(target, Name("gone.ana"), "\r\n", readFailed),
              std::errc::no_such_file_or_directory);
    EXPECT_TRUE(readFailed);
    EXPECT_EQ(test::ReadBytes(target), "old");
    EXPECT_EQ(dir.Listing(), "copy.ana;");
}

TEST_F(FileAccess, ReplaceTakesAFreeTemporaryAndLeavesNoneBehind) {
    const std::string name = Name("\xC4nderung.lst");
    test::WriteBytes((dir.path() / u8"Änderung.lst.~tmp0").string(), "someone else's");
    EXPECT_FALSE(core::ReplaceFile(name, "new text"));
    EXPECT_EQ(test::ReadBytes((dir.path() / u8"Änderung.lst").string()), "new text");
    EXPECT_EQ(test::ReadBytes((dir.path() / u8"Änderung.lst.~tmp0").string()), "someone else's");
    EXPECT_EQ(dir.Listing(), Utf8(u8"Änderung.lst;Änderung.lst.~tmp0;"));

    // A folder in the way: refused, nothing left.
    fs::create_directory(dir.path() / "taken");
    EXPECT_TRUE(core::ReplaceFile(Name("taken"), "x"));
    EXPECT_TRUE(fs::is_directory(dir.path() / "taken"));
    EXPECT_TRUE(core::ReplaceFile(Name("no/such/file"), "x"));
    EXPECT_TRUE(core::ReplaceFile("", "x"));
    EXPECT_EQ(dir.Listing(), Utf8(u8"taken;Änderung.lst;Änderung.lst.~tmp0;"));
}

TEST_F(FileAccess, ReplacedAndSavedFilesKeepTheirPermissions) {
    const std::string name = Name("shared.kov");
    ASSERT_FALSE(core::ReplaceFile(name, "first"));
    const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                           fs::perms::group_write;
    fs::permissions(core::NativePath(name), mode);
    ASSERT_FALSE(core::ReplaceFile(name, "second"));
    EXPECT_EQ(fs::status(core::NativePath(name)).permissions(), mode);

    // A data file saved over it (with its backup) keeps them too, and its
    // owner and group, given first: a change of them may clear mode bits.
    const bool givenAway = ::chown(name.c_str(), 1234, 4321) == 0;
    const fs::perms kept = mode | fs::perms::group_exec | fs::perms::set_gid;
    fs::permissions(core::NativePath(name), kept);
    core::KovaState s;
    test::FakeUi ui;
    core::RecordSet records(2);
    records[1].V8 = "text";
    ASSERT_TRUE(core::SaveDataFile(s, ui, name, records, 1, 9, ""));
    EXPECT_EQ(fs::status(core::NativePath(name)).permissions(), kept);
    struct stat st {};
    ASSERT_EQ(::stat(name.c_str(), &st), 0);
    if (givenAway) {  // only where this user may give a file away
        EXPECT_EQ(std::pair(st.st_uid, st.st_gid), std::pair(1234u, 4321u));
    }
}

// Records the step, and counts the renames at which "p.kov" stands.
int renamesWithTheName = 0;
void RecordStepAndTheName(core::SaveStep step, const fs::path& path) {
    RecordStep(step, path);
    if (step == core::SaveStep::Rename && fs::exists(path.parent_path() / "p.kov"))
        ++renamesWithTheName;
}

// The new file is on the disk before it takes the old one's place, and the
// folder after the renames: a crash of the system leaves the old file or the
// new one whole, never one cut short.
TEST_F(FileAccess, TheNewFileIsOnTheDiskBeforeItTakesTheOldOnesPlace) {
    const std::string replaced =
        "write /out.ana.~tmp0\nsync /out.ana.~tmp0\nrename /out.ana\nsync folder \n";
    Write("out.ana");
    Watch();
    ASSERT_FALSE(core::ReplaceFile(Name("out.ana"), "new"));
    EXPECT_EQ(Steps(), replaced);
    Watch();
    bool readFailed = false;
    ASSERT_FALSE(core::ReplaceFileWithCopy(Name("out.ana"), Name("out.ana"), "end", readFailed));
    EXPECT_EQ(Steps(), replaced);
    EXPECT_EQ(Read("out.ana"), "newend");
    // A data file gets its backup name first, keeping its own at every
    // rename; the folder is flushed once both renames are done.
    ASSERT_TRUE(Save("p.kov"));
    Watch();
    core::WatchSaveSteps(&RecordStepAndTheName);
    ASSERT_TRUE(Save("p.kov"));
    EXPECT_EQ(
        Steps(),
        "write /p.kov.~tmp0\nsync /p.kov.~tmp0\nrename /p.bak\nrename /p.kov\nsync folder \n");
    EXPECT_EQ(renamesWithTheName, 2);
    // A name in the working folder: that folder is flushed.
    Watch();
    InDir([] { ASSERT_FALSE(core::ReplaceFile("out.ana", "here")); });
    EXPECT_EQ(Steps(), "write out.ana.~tmp0\nsync out.ana.~tmp0\nrename out.ana\nsync folder .\n");
    // A write that fails is neither flushed nor renamed.
    Folder("taken");
    Watch();
    EXPECT_TRUE(core::ReplaceFile(Name("taken"), "x"));
    EXPECT_EQ(Steps(), "write /taken.~tmp0\nsync /taken.~tmp0\n");
    EXPECT_EQ(dir.Listing(), "out.ana;p.bak;p.kov;taken;");
    EXPECT_TRUE(ui.messages.empty());
}

// Takes the temporary file away once the old file has moved to its backup.
void RemoveTemporaryAtBackup(core::SaveStep step, const fs::path& path) {
    if (step == core::SaveStep::Rename && path.extension() == ".bak")
        fs::remove(path.parent_path() / "p.kov.~tmp0");
}

// A new file that cannot take the old one's place leaves the old one under
// its name, and under its backup's name too.
TEST_F(FileAccess, WhenTheNewFileCannotTakeItsPlaceTheOldOneStays) {
    Write("p.kov");
    core::WatchSaveSteps(&RemoveTemporaryAtBackup);
    EXPECT_EQ(core::ReplaceFile(Name("p.kov"), "new", Name("p.bak")),
              std::errc::no_such_file_or_directory);
    EXPECT_EQ(Read("p.kov"), "old");
    EXPECT_EQ(Read("p.bak"), "old");
    EXPECT_EQ(dir.Listing(), "p.bak;p.kov;");
    // Saved again, the backup already is the old file.
    core::WatchSaveSteps(nullptr);
    EXPECT_FALSE(core::ReplaceFile(Name("p.kov"), "new", Name("p.bak")));
    EXPECT_EQ(Read("p.bak"), "old");
    EXPECT_EQ(dir.Listing(), "p.bak;p.kov;");
}

// A folder that fails to be flushed fails the save, which names it; one on a
// file system that cannot flush a folder does not.
TEST_F(FileAccess, AFolderThatFailsToBeFlushedIsReported) {
    for (const auto& [error, reported] : {std::pair{EIO, true}, std::pair{EINVAL, false}}) {
        std::string failed;
        folderSyncError = error;
        const std::error_code ec = core::ReplaceFile(Name("out.ana"), "new", {}, &failed);
        folderSyncError = 0;
        EXPECT_EQ(ec, reported ? std::make_error_code(std::errc::io_error) : std::error_code());
        EXPECT_EQ(failed, reported ? dir.path().string() : "");
        EXPECT_EQ(Read("out.ana"), "new");
    }
}

// The temporary file has the permissions of the file it replaces before its
// first byte is written, never more: a protocol only its owner may read is
// not readable by others while it is saved.
TEST_F(FileAccess, TheTemporaryFileIsNeverMoreOpenThanTheFileItReplaces) {
    using P = fs::perms;
    const P rw = P::owner_read | P::owner_write;
    for (const P mode :
         {rw, rw | P::group_read, rw | P::group_read | P::group_write | P::others_read}) {
        SCOPED_TRACE(static_cast<int>(mode));
        for (const std::string name : {"text.ana", "set.kov"}) {
            Write(name);
            fs::permissions(Name(name), mode);
            Watch();
            ASSERT_TRUE(name == "set.kov" ? Save(name) : !core::ReplaceFile(Name(name), "new"));
            ASSERT_GE(seen.size(), 2u);
            EXPECT_EQ(seen[0].step, core::SaveStep::WriteTemporary);
            EXPECT_EQ(seen[0].mode, mode) << seen[0].path;
            EXPECT_EQ(seen[1].step, core::SaveStep::SyncTemporary);
            EXPECT_EQ(seen[1].mode, mode);
            EXPECT_EQ(fs::status(Name(name)).permissions(), mode);
        }
        EXPECT_EQ(fs::status(Name("set.bak")).permissions(), mode);
        fs::remove(Name("set.bak"));
    }
    // A new file gets what the process's mask leaves of read and write for
    // all, as any new file does.
    const mode_t mask = ::umask(0027);
    Watch();
    ASSERT_FALSE(core::ReplaceFile(Name("new.ana"), "new"));
    ::umask(mask);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen[0].mode, rw | P::group_read);
    EXPECT_EQ(fs::status(Name("new.ana")).permissions(), rw | P::group_read);
    EXPECT_EQ(dir.Listing(), "new.ana;set.kov;text.ana;");
}

// A file opened through a link is saved through it: the link stays, the file
// it leads to is written and keeps its backup beside it.
TEST_F(FileAccess, ASaveThroughALinkWritesTheFileItLeadsTo) {
    Folder("real");
    Folder("links");
    for (const char* name : {"real/real.kov", "real/real.tbl", "real/real.ana"})
        Write(name, "first");
    const std::pair<fs::path, const char*> links[] = {
        {"../real/real.kov", "links/link.kov"},
        {"link.kov", "links/chain.kov"},
        {dir.path() / "real/real.tbl", "links/link.tbl"},
        {"../real/real.ana", "links/link.ana"}};
    for (const auto& [target, name] : links)
        Link(target, name);
    const std::string realFolder = fs::canonical(dir.path() / "real").string();

    std::string file;
    EXPECT_FALSE(core::SavedFileOf(Name("links/chain.kov"), file));
    EXPECT_EQ(file, realFolder + "/real.kov");
    EXPECT_FALSE(core::SavedFileOf(Name("real/real.kov"), file));
    EXPECT_EQ(file, Name("real/real.kov"));  // no link: the name as it is
    EXPECT_EQ(core::BackupFileName(Name("links/link.kov"), core::DataFileKind::Data),
              realFolder + "/real.bak");
    EXPECT_EQ(core::BackupFileName(Name("links/link.kov"), core::DataFileKind::Filter),
              realFolder + "/real.kov.bak");

    ASSERT_TRUE(Save("links/link.kov", 2, "v2"));
    EXPECT_EQ(Read("real/real.bak"), "first");
    const std::string second = Read("real/real.kov");
    Watch();
    ASSERT_TRUE(Save("links/chain.kov", 1, "v1"));
    EXPECT_EQ(Read("real/real.bak"), second);
    // The folder flushed is the one the file is in.
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().step, core::SaveStep::SyncFolder);
    EXPECT_EQ(seen.back().path, realFolder);
    EXPECT_EQ(s.ScratchText, "chain.kov");
    core::RecordSet back;
    int16_t count = 0, header = 0;
    std::string info;
    ASSERT_TRUE(core::ReadDataFile(s, ui, Name("links/link.kov"), back, count, header, info));
    EXPECT_EQ(info, "v1");

    s.Varnaam[3] = "Acteur";
    ASSERT_TRUE(core::SaveTableFile(s, ui, Name("links/link.tbl")));
    core::KovaState other;
    ASSERT_TRUE(core::ReadTableFile(other, ui, Name("real/real.tbl")));
    EXPECT_EQ(other.Varnaam[3], "Acteur");

    bool readFailed = false;
    ASSERT_FALSE(
        core::ReplaceFileWithCopy(Name("links/link.ana"), Name("links/link.ana"), "+", readFailed));
    EXPECT_EQ(Read("real/real.ana"), "first+");

    for (const auto& [target, name] : links)
        EXPECT_EQ(fs::read_symlink(dir.path() / name), target);
    EXPECT_EQ(Tree(),
              "links;links/chain.kov;links/link.ana;links/link.kov;links/link.tbl;"
              "real;real/real.ana;real/real.bak;real/real.kov;real/real.tbl;");
    EXPECT_TRUE(ui.messages.empty());
}

// A link that leads to nothing or to a folder is named in the message, and
// nothing is written, the link and what it leads to left as they were.
TEST_F(FileAccess, ALinkToNothingOrToAFolderIsRefusedWithItsTarget) {
    Folder("real");
    Folder("links");
    Write("real/data.kov");
    const std::string realFolder = fs::canonical(dir.path() / "real").string();
    const std::string gone = "is a link to \"" + realFolder + "/gone.kov\", which does not exist";
    struct Case {
        std::string link;
        const char* target;
        std::error_code code;
        std::string says;
    };
    // Each link is made as its row comes: "chain.kov" leads to "gone.kov".
    const Case cases[] = {
        {"links/gone.kov", "../real/gone.kov", core::LinkError::LeadsNowhere, gone},
        {"links/chain.kov", "gone.kov", core::LinkError::LeadsNowhere, gone},
        {"links/folder.kov", "../real", core::LinkError::LeadsToFolder,
         "is a link to the folder \"" + realFolder + "\", not to a file"},
        {"links/lost.kov", "../nowhere/gone.kov", core::LinkError::LeadsNowhere,
         "is a link to \"" + fs::canonical(dir.path()).string() +
             "/nowhere/gone.kov\", which does not exist"},
        // The system finds no folder "missing", so no way out of it either.
        {"links/lexical.kov", "missing/../../real/data.kov", core::LinkError::LeadsNowhere,
         "is a link to \"" + fs::canonical(dir.path()).string() +
             "/links/missing/../../real/data.kov\", which does not exist"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        Link(c.target, c.link);
        const std::string link = Name(c.link);
        std::string file;
        EXPECT_EQ(core::SavedFileOf(link, file), c.code);
        EXPECT_EQ(core::ReplaceFile(link, "x"), c.code);
        const std::string said = "Path/File access error: \"" + link + "\" " + c.says;
        ui.messages.clear();
        EXPECT_FALSE(Save(c.link));
        EXPECT_EQ(ui.messages, Messages{"Error|Error #  75 was generated by KOVA\r" + said});
        ui.messages.clear();
        EXPECT_FALSE(core::SaveTableFile(s, ui, link));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_NE(ui.messages[0].find(said), std::string::npos) << ui.messages[0];
        EXPECT_TRUE(fs::is_symlink(link));
    }
    EXPECT_EQ(Tree(),
              "links;links/chain.kov;links/folder.kov;links/gone.kov;links/lexical.kov;"
              "links/lost.kov;real;real/data.kov;");
    EXPECT_EQ(Read("real/data.kov"), "old");
}

// Links are followed forty deep, as the system follows them; one more is
// refused.
TEST_F(FileAccess, FortyLinksAreFollowedAndOneMoreIsNot) {
    Write("end.kov");
    Link("end.kov", "l40");
    for (int k = 39; k >= 0; --k)
        Link("l" + std::to_string(k + 1), "l" + std::to_string(k));
    const std::string end = fs::canonical(dir.path()).string() + "/end.kov";
    std::string file;
    EXPECT_FALSE(core::SavedFileOf(Name("l1"), file));
    EXPECT_EQ(file, end);
    EXPECT_FALSE(core::ReplaceFile(Name("l1"), "forty"));
    EXPECT_EQ(Read("end.kov"), "forty");
    // A name relative to the working folder is followed from there.
    file.clear();
    InDir([&] { EXPECT_FALSE(core::SavedFileOf("l40", file)); });
    EXPECT_EQ(file, end);
    EXPECT_EQ(core::SavedFileOf(Name("l0"), file), std::errc::too_many_symbolic_link_levels);
    EXPECT_EQ(core::ReplaceFile(Name("l0"), "forty-one"), std::errc::too_many_symbolic_link_levels);
    EXPECT_EQ(Read("end.kov"), "forty");
    EXPECT_TRUE(fs::is_symlink(dir.path() / "l0"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "l1"));
}

// A read-only file stays refused when it is reached through a link, and the
// link stays.
TEST_F(FileAccess, AReadOnlyFileBehindALinkIsRefused) {
    Write("locked.kov");
    fs::permissions(Name("locked.kov"), fs::perms::owner_read);
    Link("locked.kov", "link.kov");
    EXPECT_EQ(core::ReplaceFile(Name("link.kov"), "new"), std::errc::permission_denied);
    EXPECT_FALSE(Save("link.kov"));
    EXPECT_EQ(ui.messages, Messages{"Error|Error #  70 was generated by KOVA\rPermission denied (" +
                                    Name("link.kov") + ")"});
    EXPECT_EQ(Read("locked.kov"), "old");
    EXPECT_TRUE(fs::is_symlink(dir.path() / "link.kov"));
    EXPECT_EQ(dir.Listing(), "link.kov;locked.kov;");
    fs::permissions(Name("locked.kov"), fs::perms::owner_all);
}

TEST_F(FileAccess, AppendAddsOrCutsBackToTheOldLength) {
    const std::string name = Name("r\xE9sultat.ana");
    EXPECT_FALSE(core::AppendToFile(name, "one\r\n"));
    EXPECT_FALSE(core::AppendToFile(name, "two\r\n"));
    EXPECT_EQ(dir.Listing(), Utf8(u8"résultat.ana;"));
    EXPECT_EQ(test::ReadBytes((dir.path() / u8"résultat.ana").string()), "one\r\ntwo\r\n");

    // A write that runs into the file size limit half way is taken back.
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 20;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::error_code failed = core::AppendToFile(name, std::string(100, 'x'));
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(failed);
    EXPECT_EQ(test::ReadBytes((dir.path() / u8"résultat.ana").string()), "one\r\ntwo\r\n");

    fs::create_directory(dir.path() / "folder.ana");
    EXPECT_TRUE(core::AppendToFile(Name("folder.ana"), "x"));
    EXPECT_TRUE(core::AppendToFile("", "x"));
}

TEST_F(FileAccess, RenameAndRemoveUseTheUtf8Names) {
    ASSERT_FALSE(core::ReplaceFile(Name("\x80uro.kov"), "x"));
    EXPECT_FALSE(core::RenameFile(Name("\x80uro.kov"), Name("\x99.kov")));
    EXPECT_EQ(dir.Listing(), Utf8(u8"™.kov;"));
    EXPECT_FALSE(core::RemoveFile(Name("\x99.kov")));
    EXPECT_EQ(dir.Listing(), "");
}

// Whether two names are one file is asked of the file system: other
// spellings, links to the file or to a folder on the way, hard links.
TEST_F(FileAccess, SameFileIsDecidedOnDisk) {
    const fs::path d = dir.path();
    fs::create_directory(d / "sub");
    test::WriteBytes(Name("sub/a.kov"), "a");
    test::WriteBytes(Name("sub/b.kov"), "b");
    fs::create_directory_symlink(d / "sub", d / "link");
    fs::create_symlink(d / "sub" / "a.kov", d / "alias.kov");
    fs::create_hard_link(d / "sub" / "a.kov", d / "hard.kov");
    const std::string a = Name("sub/a.kov");
    struct Case {
        std::string other;
        bool same;
    };
    const Case cases[] = {
        {a, true},
        {Name("sub/./a.kov"), true},
        {Name("link/a.kov"), true},
        {Name("alias.kov"), true},
        {Name("hard.kov"), true},
        {Name("sub/b.kov"), false},
        {Name("sub/A.kov"), false},  // not there
        {"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(core::SameFile(a, c.other), c.same) << c.other;
        EXPECT_EQ(core::SameFile(c.other, a), c.same) << c.other;
    }
    // Names of files not there yet: the same place once the folders' links
    // are resolved.
    EXPECT_TRUE(core::SameFile(Name("sub/new.kov"), Name("link/new.kov")));
    EXPECT_FALSE(core::SameFile(Name("sub/new.kov"), Name("sub/other.kov")));
    EXPECT_FALSE(core::SameFile("", ""));
}

TEST_F(FileAccess, AbsoluteFileNameTakesTheWorkingFolder) {
    const fs::path before = fs::current_path();
    fs::current_path(dir.path());
    EXPECT_EQ(core::AbsoluteFileName("class.kov"), Name("class.kov"));
    EXPECT_TRUE(core::SameFile(core::AbsoluteFileName("./x/../class.kov"), Name("class.kov")));
    EXPECT_EQ(core::AbsoluteFileName("/data/M\xFCller.kov"), "/data/M\xFCller.kov");
    EXPECT_EQ(core::AbsoluteFileName("M\xFCller.kov"), Name("M\xFCller.kov"));
    EXPECT_EQ(core::AbsoluteFileName(""), "");
    // A working folder whose name the code page cannot hold gives no name.
    fs::create_directory(dir.path() / u8"\u03A9");
    fs::current_path(dir.path() / u8"\u03A9");
    EXPECT_EQ(core::AbsoluteFileName("class.kov"), "");
    fs::current_path(before);
}

}  // namespace
