// Merging two protocols of 16000 records each by time, and importing a
// worksheet of 32767 rows, each beside reading a data file of the same size:
// the merged protocol, and the data file the import writes. The counters
// give each as a ratio to that read, and the import's peak memory (the
// bench's own data included).
//
// Then the peak memory of the program on the largest input each import
// takes (a worksheet whose fields bring in all the text an import takes, a
// dialogue text and a running text of the largest size read), each import
// run in a process of its own; and the reader program's peak on a workbook
// that repeats one cell five million times.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench_support.h"
#include "store/append_merge.h"
#include "store/data_file.h"
#include "store/state.h"
#include "store/text_import.h"
#include "store/workbook.h"
#include "store/worksheet_import.h"
#include "support/sheet_reader.h"

namespace {

using bench::SilentUi;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

// Reads `name` as a data file and gives the seconds it took.
double ReadSeconds(const std::string& name) {
    core::KovaState s;
    SilentUi ui;
    core::RecordSet records;
    int16_t count = 0, header = 0;
    std::string info;
    const Clock::time_point start = Clock::now();
    core::ReadDataFile(s, ui, name, records, count, header, info);
    benchmark::DoNotOptimize(records.data());
    return Seconds(start);
}

// Two protocols of 16000 records whose times interleave, and the merged one.
struct MergeFiles {
    std::string first, second, merged;
    static const MergeFiles& Get() {
        static const MergeFiles f;
        return f;
    }

private:
    MergeFiles() {
        const auto& folder = bench::ProtocolFile::Get().folder();
        core::RecordSet a = bench::MakeProtocol(16000);
        core::RecordSet b = bench::MakeProtocol(16000);
        for (size_t k = 1; k < b.size(); ++k)
            b[k].V1 = a[k].V1.substr(0, a[k].V1.size() - 1) + "5";  // a few seconds later
        core::KovaState s;
        SilentUi ui;
        first = (folder / "first.kov").string();
        second = (folder / "second.kov").string();
        merged = (folder / "merged.kov").string();
        core::SaveDataFile(s, ui, first, a, 16000, 9, "first");
        core::SaveDataFile(s, ui, second, b, 16000, 9, "second");
        core::RecordSet m = core::MergeByTime(a, 16000, b, 16000);
        core::SaveDataFile(s, ui, merged, m, 32000, 9, "merged");
    }
};

// The merge command's work: the second file read and merged into data set 1
// (opened before the clock starts).
void BM_MergeTwoProtocols(benchmark::State& state) {
    const MergeFiles& f = MergeFiles::Get();
    SilentUi ui;
    core::KovaState opened;
    core::ReadDataFile(opened, ui, f.first, opened.Records1, opened.RecordCount1,
                       opened.FileHeaderNumber, opened.FileInfo1);
    opened.DataFileName1 = f.first;
    opened.ViewMode = 1;
    double mergeTotal = 0, readTotal = 0;
    for (auto _ : state) {
        state.PauseTiming();
        core::KovaState s = opened;
        state.ResumeTiming();
        const Clock::time_point start = Clock::now();
        bool ok = core::ReadAppendFile(s, ui, f.second) && core::MergeDataByTime(s, ui);
        mergeTotal += Seconds(start);
        benchmark::DoNotOptimize(ok);
        state.PauseTiming();
        if (!ok || s.RecordCount1 != 32000)
            state.SkipWithError("the merge failed");
        readTotal += ReadSeconds(f.merged);
        state.ResumeTiming();
    }
    state.counters["ratio_to_read"] = mergeTotal / readTotal;
}

// A workbook of 32767 rows: a time of day, an actor, four codes and a text.
struct Workbook {
    std::string name;
    static const Workbook& Get() {
        static const Workbook w;
        return w;
    }

private:
    Workbook() {
        const core::RecordSet& p = bench::ProtocolFile::Get().records();
        name = (bench::ProtocolFile::Get().folder() / "protocol.xlsx").string();
        lxw_workbook* wb = workbook_new(name.c_str());
        lxw_worksheet* sheet = workbook_add_worksheet(wb, "Protocol");
        lxw_format* time = workbook_add_format(wb);
        format_set_num_format(time, "h:mm:ss");
        for (int k = 1; k < static_cast<int>(p.size()); ++k) {
            const lxw_row_t r = static_cast<lxw_row_t>(k - 1);
            int h = 0, m = 0, sec = 0;
            std::sscanf(p[k].V1.c_str(), "%d:%d:%d", &h, &m, &sec);
            worksheet_write_number(sheet, r, 0, (h * 3600.0 + m * 60.0 + sec) / 86400.0, time);
            worksheet_write_string(sheet, r, 1, p[k].V3.c_str(), nullptr);
            worksheet_write_string(sheet, r, 2, p[k].V4.c_str(), nullptr);
            worksheet_write_string(sheet, r, 3, p[k].V5.c_str(), nullptr);
            worksheet_write_string(sheet, r, 4, p[k].V6.c_str(), nullptr);
            worksheet_write_string(sheet, r, 5, p[k].V7.c_str(), nullptr);
            worksheet_write_string(sheet, r, 6, p[k].V8.c_str(), nullptr);
        }
        if (workbook_close(wb) != LXW_NO_ERROR)
            std::fprintf(stderr, "cannot write %s\n", name.c_str());
    }
};

// The dialog answered once: every row, the columns in field order.
struct AllRows : core::ImportDialogs {
    bool AskDialogueOptions(core::KovaState&, const std::string&) override { return false; }
    bool AskWorksheetOptions(core::KovaState& s, const std::vector<std::string>& names) override {
        const std::string columns[8] = {"1", "", "2", "3", "4", "5", "6", "7"};
        return !core::TakeWorksheetAnswers(s, columns, "1", "32767", 0, names.front()).has_value();
    }
};

void BM_ImportWorksheet(benchmark::State& state) {
    const Workbook& book = Workbook::Get();
    SilentUi ui;
    AllRows dialogs;
    const std::string written = book.name.substr(0, book.name.size() - 5) + ".kov";
    double importTotal = 0, readTotal = 0;
    std::filesystem::remove(written);
    for (auto _ : state) {
        core::KovaState s;
        const Clock::time_point start = Clock::now();
        bool ok = core::ImportExcelSheet(s, ui, dialogs, book.name);
        importTotal += Seconds(start);
        benchmark::DoNotOptimize(ok);
        state.PauseTiming();
        if (!ok || s.RecordCount1 != core::kMaxRecords)
            state.SkipWithError(ui.lastMessage.empty() ? "the import failed"
                                                       : ui.lastMessage.c_str());
        readTotal += ReadSeconds(written);
        // An import asks before it replaces a data file: each starts afresh.
        std::filesystem::remove(written);
        state.ResumeTiming();
    }
    state.counters["ratio_to_read"] = importTotal / readTotal;
    // The reader's own peak is not to be had here: a spawned child's count
    // starts from the parent's. Run kova_sheetreader under /usr/bin/time.
    state.counters["program_peak_MB"] = bench::MaxRssMb();
}

// ---- the peak on the largest inputs ------------------------------------------

// Writes `count` bytes made by `line` (called with the bytes still to come)
// to `name`.
template <typename Line>
void WriteLines(const std::string& name, size_t count, Line&& line) {
    std::FILE* f = std::fopen(name.c_str(), "wb");
    for (size_t left = count; f != nullptr && left > 0;) {
        const std::string l = line(left);
        std::fwrite(l.data(), 1, l.size(), f);
        left -= l.size();
    }
    if (f != nullptr)
        std::fclose(f);
}

// Writes an ".xlsx" of one sheet, "S", that holds `sheetData` (and the
// shared strings `shared`, when given) and gives its name.
std::string WriteWorkbook(const std::string& file, const std::string& sheetData,
                          const std::string& shared) {
    const std::string name = (bench::ProtocolFile::Get().folder() / file).string();
    const std::string parts[][2] = {
        {"xl/workbook.xml",
         "<workbook xmlns:r=\"r\"><sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/>"
         "</sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<Relationships><Relationship Id=\"rId1\" Type=\"http://x/worksheet\" "
         "Target=\"worksheets/sheet1.xml\"/></Relationships>"},
        {"xl/worksheets/sheet1.xml",
         "<worksheet><sheetData>" + sheetData + "</sheetData></worksheet>"},
        {"xl/sharedStrings.xml", shared}};
    int error = 0;
    zip_t* zip = zip_open(name.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    for (const auto& part : parts) {
        if (part[1].empty())
            continue;
        zip_source_t* source = zip_source_buffer(zip, part[1].data(), part[1].size(), 0);
        zip_file_add(zip, part[0].c_str(), source, 0);
    }
    zip_close(zip);
    return name;
}

// A workbook of one shared string of the largest field, named by cells of
// row 1 from A on and by A2: mapped to V1 and V3..V8, its fields bring in
// exactly the text an import takes.
std::string LargestWorkbook() {
    std::string row1 = "<row r=\"1\">";
    const char last =
        static_cast<char>('A' + core::kMaxWorkbookTextBytes / core::kMaxFieldBytes - 2);
    for (char c = 'A'; c <= last; ++c)
        row1 += std::string("<c r=\"") + c + "1\" t=\"s\"><v>0</v></c>";
    return WriteWorkbook(
        "largest.xlsx", row1 + "</row><row r=\"2\"><c r=\"A2\" t=\"s\"><v>0</v></c></row>",
        "<sst><si><t>" + std::string(core::kMaxFieldBytes, 'a') + "</t></si></sst>");
}

struct LargestDialogs : core::ImportDialogs {
    bool AskDialogueOptions(core::KovaState& s, const std::string&) override {
        return core::TakeDialogueAnswers(s, 0, ";", "");
    }
    bool AskWorksheetOptions(core::KovaState& s, const std::vector<std::string>& names) override {
        const std::string columns[8] = {"1", "", "2", "3", "4", "5", "6", "7"};
        return !core::TakeWorksheetAnswers(s, columns, "1", "2", 0, names.front()).has_value();
    }
};

template <typename Import>
void RunPeak(benchmark::State& state, const std::string& source, double inputBytes,
             Import&& import) {
    const std::string written = source.substr(0, source.rfind('.')) + ".kov";
    double peak = 0, base = 0;
    for (auto _ : state) {
        std::filesystem::remove(written);
        peak = bench::PeakInChild(import, base);
        if (peak < 0)
            state.SkipWithError("the import failed");
    }
    std::filesystem::remove(written);
    state.counters["input_MB"] = inputBytes / (1 << 20);
    state.counters["peak_MB"] = peak;
    state.counters["bench_base_MB"] = base;
}

// The worksheet's fields bring in kMaxWorkbookTextBytes.
void BM_PeakLargestWorksheet(benchmark::State& state) {
    const std::string book = LargestWorkbook();
    RunPeak(state, book, static_cast<double>(core::kMaxWorkbookTextBytes), [&] {
        core::KovaState s;
        SilentUi ui;
        LargestDialogs dialogs;
        return core::ImportExcelSheet(s, ui, dialogs, book) && s.RecordCount1 == 2 &&
               s.Records1[1].V1.size() == core::kMaxFieldBytes;
    });
}

// A dialogue text of kMaxTextFileBytes: records whose text grows line by line
// to almost a field's limit.
void BM_PeakLargestDialogueText(benchmark::State& state) {
    const std::string name = (bench::ProtocolFile::Get().folder() / "largest-talk.txt").string();
    size_t inRecord = core::kMaxFieldBytes;
    WriteLines(name, core::kMaxTextFileBytes, [&](size_t left) {
        if (left <= 64)
            return std::string(left, '\n');  // empty lines, for the file info
        std::string line = inRecord + 8192 > core::kMaxFieldBytes ? "10:00:00;A;" : "";
        inRecord = line.empty() ? inRecord : 0;
        line += std::string(std::min<size_t>(4096, left - line.size() - 2), 'w') + "\r\n";
        inRecord += line.size();
        return line;
    });
    RunPeak(state, name, static_cast<double>(core::kMaxTextFileBytes), [&] {
        core::KovaState s;
        SilentUi ui;
        LargestDialogs dialogs;
        return core::ReadDialogueTextFile(s, ui, dialogs, name) && s.RecordCount1 > 0;
    });
}

// A running text of kMaxTextFileBytes: long lines cut into sentences, almost
// the most records a set holds.
void BM_PeakLargestRunningText(benchmark::State& state) {
    const std::string name = (bench::ProtocolFile::Get().folder() / "largest-story.txt").string();
    const std::string sentence =
        "A" + std::string(core::kMaxTextFileBytes / (core::kMaxRecords - 31) - 2, 's') + ". ";
    WriteLines(name, core::kMaxTextFileBytes, [&](size_t left) {
        if (left <= 2)
            return std::string(left, '\n');
        std::string line;
        while (line.size() + sentence.size() + 2 < std::min<size_t>(left, 4000 * sentence.size()))
            line += sentence;
        if (line.empty())
            line = std::string(left - 2, 's');
        return line + "\r\n";
    });
    RunPeak(state, name, static_cast<double>(core::kMaxTextFileBytes), [&] {
        core::KovaState s;
        SilentUi ui;
        return core::ImportTextSentences(s, ui, name) && s.RecordCount1 > 32000;
    });
}

// Runs the reader with `args` and gives its peak memory in KB, or -1. A
// child's peak counts what it held before it ran the reader: this is run in a
// fresh copy of the bench program, which holds little.
long ReaderPeakKb(char** args) {
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        execv(KOVA_SHEETREADER_PATH, args);
        _exit(127);
    }
    int status = 0;
    rusage used{};
    if (pid < 0 || wait4(pid, &status, 0, &used) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return -1;
    return used.ru_maxrss;
}

// The reader program's own peak on a small workbook that writes cell A1 five
// million times: it keeps one value a cell, however often the file repeats it.
void BM_ReaderPeakRepeatedCell(benchmark::State& state) {
    std::string row = "<row r=\"1\">";
    for (int k = 0; k < 5000000; ++k)
        row += "<c r=\"A1\"><v>1</v></c>";
    const std::string book = WriteWorkbook("repeated.xlsx", row + "</row>", "");
    row = std::string();
    double peak = -1;
    for (auto _ : state) {
        std::FILE* out = popen(("/proc/" + std::to_string(getpid()) + "/exe --reader-peak cells '" +
                                book + "' 0 1 1 1")
                                   .c_str(),
                               "r");
        long kb = -1;
        if (out == nullptr || std::fscanf(out, "%ld", &kb) != 1)
            kb = -1;
        if (out != nullptr)
            pclose(out);
        peak = static_cast<double>(kb) / 1024;
        if (kb < 0)
            state.SkipWithError("the reader failed");
    }
    state.counters["input_KB"] = static_cast<double>(std::filesystem::file_size(book)) / 1024;
    state.counters["reader_peak_MB"] = peak;
}

}  // namespace

BENCHMARK(BM_MergeTwoProtocols)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportWorksheet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakLargestWorksheet)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PeakLargestDialogueText)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PeakLargestRunningText)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ReaderPeakRepeatedCell)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv) {
    if (argc > 2 && std::string(argv[1]) == "--reader-peak") {
        argv[1] = const_cast<char*>(KOVA_SHEETREADER_PATH);
        std::printf("%ld\n", ReaderPeakKb(argv + 1));
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
