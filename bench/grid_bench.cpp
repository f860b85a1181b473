// The grid view over the largest protocol (32767 records): opening its table
// and reading the cells of a first screen, reading every cell once (what a
// scroll through the whole grid or its listing reads), and sorting it by the
// text column, each measured against reading the protocol's file. At the end
// the times are printed as ratios to the reading.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench_support.h"
#include "mainwindow/grid_model.h"
#include "store/data_file.h"
#include "store/state.h"

namespace {

using bench::SilentUi;

std::map<std::string, double> secondsPerIteration;

core::KovaState ShownProtocol() {
    const bench::ProtocolFile& data = bench::ProtocolFile::Get();
    core::KovaState s;
    s.Records1 = data.records();
    s.RecordCount1 = core::kMaxRecords;
    s.DataFileName1 = data.name();
    s.ViewMode = 1;
    return s;
}

void BM_ReadProtocolFile(benchmark::State& state) {
    const bench::ProtocolFile& data = bench::ProtocolFile::Get();
    SilentUi ui;
    for (auto _ : state) {
        core::KovaState s;
        core::RecordSet records;
        int16_t count = 0, header = 0;
        std::string info;
        benchmark::DoNotOptimize(
            core::ReadDataFile(s, ui, data.name(), records, count, header, info));
        if (count != core::kMaxRecords)
            state.SkipWithError("the protocol was not read whole");
    }
}

// "Grid": the table is made and the first screen (40 rows) is drawn.
void BM_GridOpen(benchmark::State& state) {
    const core::KovaState s = ShownProtocol();
    for (auto _ : state) {
        std::optional<core::GridModel> grid = core::GridModel::Open(s);
        size_t bytes = 0;
        for (int row = 1; row <= 40; ++row)
            for (int column = 0; column < grid->ColumnCount(); ++column)
                bytes += grid->Cell(s, row, column).size();
        benchmark::DoNotOptimize(bytes);
    }
}

// Every cell of every row read once.
void BM_GridAllCells(benchmark::State& state) {
    const core::KovaState s = ShownProtocol();
    std::optional<core::GridModel> grid = core::GridModel::Open(s);
    for (auto _ : state) {
        size_t bytes = 0;
        for (int row = 1; row <= grid->RowCount(); ++row)
            for (int column = 0; column < grid->ColumnCount(); ++column)
                bytes += grid->Cell(s, row, column).size();
        benchmark::DoNotOptimize(bytes);
    }
}

// A double click on the heading of the text column, from the order of
// positions.
void BM_GridSortByText(benchmark::State& state) {
    const core::KovaState s = ShownProtocol();
    std::optional<core::GridModel> grid = core::GridModel::Open(s);
    for (auto _ : state) {
        state.PauseTiming();
        grid->SortByMenuItem(s, 0);
        state.ResumeTiming();
        grid->SortByColumn(s, grid->TextColumn());
        benchmark::DoNotOptimize(grid->Position(1));
    }
}

BENCHMARK(BM_ReadProtocolFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridOpen)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridAllCells)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridSortByText)->Unit(benchmark::kMillisecond);

// Keeps each benchmark's time per iteration for the ratios printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                secondsPerIteration[run.benchmark_name()] =
                    run.real_accumulated_time / static_cast<double>(run.iterations);
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto read = secondsPerIteration.find("BM_ReadProtocolFile");
    if (read != secondsPerIteration.end() && read->second > 0) {
        const std::pair<const char*, const char*> measured[] = {
            {"BM_GridOpen", "Opening the grid and drawing its first screen"},
            {"BM_GridAllCells", "Reading every cell of the grid"},
            {"BM_GridSortByText", "Sorting the grid by the text column"},
        };
        for (const auto& [name, what] : measured) {
            auto found = secondsPerIteration.find(name);
            if (found != secondsPerIteration.end())
                std::printf("%s over %d records takes %.3f times the reading of its file\n", what,
                            core::kMaxRecords, found->second / read->second);
        }
    }
    benchmark::Shutdown();
    return 0;
}
