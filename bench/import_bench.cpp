// Merging two protocols of 16000 records each by time, and importing a
// worksheet of 32767 rows, each beside reading a data file of the same size:
// the merged protocol, and the data file the import writes. The counters
// give each as a ratio to that read, and the import's peak memory (the
// bench's own data included).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <xlsxwriter.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench_support.h"
#include "store/append_merge.h"
#include "store/data_file.h"
#include "store/state.h"
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
    rusage self{};
    getrusage(RUSAGE_SELF, &self);
    state.counters["program_peak_MB"] = static_cast<double>(self.ru_maxrss) / 1024;
}

}  // namespace

BENCHMARK(BM_MergeTwoProtocols)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportWorksheet)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
