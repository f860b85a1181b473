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

core::KovaState ShownProtocol() {
    const bench::ProtocolFile& data = bench::ProtocolFile::Get();
    return bench::ShownProtocol(data.records(), data.name());
}

void BM_ReadProtocolFile(benchmark::State& state) {
    bench::ReadProtocolFile(state, bench::ProtocolFile::Get().name());
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

}  // namespace

int main(int argc, char** argv) {
    return bench::RunWithRatios(argc, argv,
                                {{"BM_GridOpen", "Opening the grid and drawing its first screen"},
                                 {"BM_GridAllCells", "Reading every cell of the grid"},
                                 {"BM_GridSortByText", "Sorting the grid by the text column"}},
                                3);
}
