#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "sheetreader/sheet_reader.h"
#include "store/error_numbers.h"
#include "store/store_test_util.h"
#include "store/workbook.h"

namespace {

using Kind = core::CellValue::Kind;

long OpenFiles() {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                         std::filesystem::directory_iterator());
}

// A reader that crashes, hangs, floods the pipe or is not there is stopped
// and named in a message; the program waits on it no longer than it allows.
TEST(SheetReader, FaultsOfTheReaderEndInAMessageNamingTheFile) {
    test::TempDir dir;
    struct Case {
        const char* name;
        const char* script;  // nullptr: no program there
        const char* message;
    };
    const Case cases[] = {
        {"crash", "kill -SEGV $$", "stopped on signal 11"},
        {"hang", "exec sleep 20", "takes longer than 0.30 seconds"},
        {"flood", "exec yes", "hands back more than the import can take"},
        {"failure", "exit 3", "ended with status 3"},
        {"killed from outside", "kill -KILL $$", "killed from outside (signal 9)"},
        {"missing", nullptr, "cannot be started"},
    };
    const auto openFiles = OpenFiles();
    const char* before = std::getenv("KOVA_SHEETREADER");
    const std::string kept = before == nullptr ? "" : before;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string program = dir.File(c.name);
        if (c.script != nullptr) {
            test::WriteBytes(program, std::string("#!/bin/sh\n") + c.script + "\n");
            chmod(program.c_str(), 0700);
        }
        setenv("KOVA_SHEETREADER", program.c_str(), 1);
        int waits = 0;
        const auto start = std::chrono::steady_clock::now();
        try {
            core::RunSheetReader(
                {"names", "book.xls"}, "/data/book.xls", 1 << 20, [&] { ++waits; }, 300);
            ADD_FAILURE() << "no error";
        } catch (const core::WorkbookError& e) {
            EXPECT_EQ(e.number, core::kErrWorkbook);
            EXPECT_NE(std::string(e.what()).find("(/data/book.xls)"), std::string::npos);
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
        if (std::string(c.name) == "hang") {
            EXPECT_GE(waits, 2);  // the wait window is kept alive meanwhile
        }
    }
    EXPECT_EQ(OpenFiles(), openFiles);  // a failed start keeps no pipe
    setenv("KOVA_SHEETREADER", kept.c_str(), 1);
}

// A process the reader leaves behind holding the pipe neither delays its reply nor outlives it.
TEST(SheetReader, WhatTheReaderStartedEndsWithIt) {
    test::TempDir dir;
    const std::string program = dir.File("reader");
    const std::string pidFile = dir.File("left");
    test::WriteBytes(program, "#!/bin/sh\nsleep 30 &\necho $! > " + pidFile + "\nprintf reply\n");
    chmod(program.c_str(), 0700);
    const char* before = std::getenv("KOVA_SHEETREADER");
    const std::string kept = before == nullptr ? "" : before;
    setenv("KOVA_SHEETREADER", program.c_str(), 1);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(core::RunSheetReader({"names", "b.xls"}, "b.xls", 1 << 20, {}, 5000), "reply");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    setenv("KOVA_SHEETREADER", kept.c_str(), 1);
    const std::string left = std::to_string(std::stoi(test::ReadBytes(pidFile)));
    std::string state = "gone";
    for (int i = 0; i < 100; ++i) {
        std::ifstream in("/proc/" + left + "/stat");
        std::string pid, name;
        if (!(in >> pid >> name >> state) || state == "Z")
            break;
        usleep(10000);
    }
    EXPECT_TRUE(state == "gone" || state == "Z") << state;
}

// The reader program refuses to read when it cannot put its own limits in
// place: started with a hard limit of processor time below its own, which it
// may not raise.
TEST(SheetReader, TheReaderReadsNothingWithoutItsLimits) {
    const std::string book = std::string(KOVA_SOURCE_DIR) + "/tests/store/data/lesson.xls";
    int out[2];
    ASSERT_EQ(pipe(out), 0);
    const pid_t child = fork();
    if (child == 0) {
        prctl(PR_CAPBSET_DROP, CAP_SYS_RESOURCE);  // an administrator could raise it
        const rlimit cpu{5, 5};
        setrlimit(RLIMIT_CPU, &cpu);
        dup2(out[1], 1);
        execl(KOVA_SHEETREADER_PATH, "kova_sheetreader", "names", book.c_str(), nullptr);
        _exit(127);
    }
    close(out[1]);
    std::string reply;
    char chunk[4096];
    for (ssize_t n; (n = read(out[0], chunk, sizeof chunk)) > 0;)
        reply.append(chunk, static_cast<size_t>(n));
    close(out[0]);
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_EQ(status, 0);
    try {
        core::DecodeNamesReply(reply, book);
        ADD_FAILURE() << "read";
    } catch (const core::WorkbookError& e) {
        EXPECT_NE(std::string(e.what()).find("cannot limit its memory and time"), std::string::npos)
            << e.what();
    }
}

std::string Word(uint32_t w) {
    return std::string{static_cast<char>(w), static_cast<char>(w >> 8), static_cast<char>(w >> 16),
                       static_cast<char>(w >> 24)};
}

TEST(SheetReader, RepliesAreCheckedBeforeTheyAreUsed) {
    const std::vector<core::CellValue> cells = {{},
                                                {Kind::Number, 1.5, ""},
                                                {Kind::Text, 0, "caf\xE9"},
                                                {Kind::Date, 2, ""},
                                                {Kind::Elapsed, 1.0625, ""}};
    const std::string good = core::EncodeCellsReply(cells);
    // Read back and written again: the same bytes, each cell as it was.
    EXPECT_EQ(core::EncodeCellsReply(core::DecodeCellsReply(good, 5, "b.xlsx")), good);
    EXPECT_EQ(core::DecodeNamesReply(core::EncodeNamesReply({"A", "B"}), "b.xlsx"),
              (std::vector<std::string>{"A", "B"}));

    double nan = std::nan("");
    std::string nanBits(8, '\0');
    std::memcpy(nanBits.data(), &nan, 8);
    std::string manyNames = "N" + Word(4097);
    for (int i = 0; i < 4097; ++i)
        manyNames += Word(4096) + std::string(4096, 'n');
    int asked = 0;  // the reader opens no workbook before its limits are in place
    const std::string unlimited = core::SheetReaderReply(
        {"names", std::string(KOVA_SOURCE_DIR) + "/tests/store/data/lesson.xls"},
        [&](int resource, unsigned long long, unsigned long long) {
            ++asked;
            return resource == RLIMIT_CPU ? EPERM : 0;
        });
    EXPECT_GE(asked, 2);
    struct Case {
        const char* name;
        std::string reply;
        size_t cells;  // 0: a names reply
        const char* message;
    };
    const Case cases[] = {
        {"fewer cells than asked", good, 6, "another number of cells"},
        {"bytes past the end", good + "x", 5, "goes on past its end"},
        {"cut short", good.substr(0, good.size() - 1), 5, "ends early"},
        {"unknown kind", "C" + Word(1) + "\x09", 1, "no known kind"},
        {"number not finite", "C" + Word(1) + "\x01" + nanBits, 1, "not finite"},
        {"field past 16 MB", "C" + Word(1) + "\x02" + Word(16777217), 1, "longer than"},
        {"names of another kind", good, 0, "wrong kind"},
        {"too many names", "N" + Word(1u << 30), 0, "too many sheets"},
        {"names past 16 MB", manyNames, 0, "more than 16 MB of text"},
        {"text length past its end", "C" + Word(1) + "\x02" + Word(10) + "abc", 1, "ends early"},
        {"reader's own error", core::EncodeErrorReply(9, "Subscript out of range: no sheet 3"), 1,
         "Subscript out of range: no sheet 3"},
        {"error of another number", core::EncodeErrorReply(5, "odd"), 0, "odd"},
        {"read without its limits", unlimited, 0, "cannot limit its memory and time"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            if (c.cells == 0)
                core::DecodeNamesReply(c.reply, "b.xlsx");
            else
                core::DecodeCellsReply(c.reply, c.cells, "b.xlsx");
            ADD_FAILURE() << "taken";
        } catch (const core::WorkbookError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
            EXPECT_EQ(e.number, std::string(c.name) == "reader's own error" ? core::kErrSubscript
                                                                            : core::kErrWorkbook);
        }
    }
}

}  // namespace
