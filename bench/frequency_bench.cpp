// Frequency analysis of all seven variables (Frequency > All) over the largest
// protocol, 32767 records, measured against reading that protocol's file.
// At the end the two times are printed as a ratio.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "analyses/frequency_menu.h"
#include "bench_support.h"
#include "store/data_file.h"
#include "store/state.h"

namespace {

using bench::SilentUi;

void BM_ReadProtocolFile(benchmark::State& state) {
    bench::ReadProtocolFile(state, bench::ProtocolFile::Get().name());
}

// Frequency > All: the time-code block of V1 and the frequency blocks of
// V2..V7, each appended to the output file and shown (read back whole).
void BM_FrequencyAllVariables(benchmark::State& state) {
    const bench::ProtocolFile& data = bench::ProtocolFile::Get();
    SilentUi ui;
    core::KovaState s = bench::ShownProtocol(data.records(), data.name());
    const std::string ana = (data.folder() / "protocol.ana").string();
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(ana);  // every run starts a new output file
        state.ResumeTiming();
        core::FrequencyMenuItem(
            s, ui, 9,
            [&s] {
                s.FromRecord = 1;
                s.ToRecord = core::kMaxRecords;
            },
            [] {
                return core::ReportTime{"01-01-2024", "12:00:00"};
            });
    }
    if (!std::filesystem::exists(ana))
        state.SkipWithError("no output file was written");
}

BENCHMARK(BM_ReadProtocolFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrequencyAllVariables)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return bench::RunWithRatios(argc, argv, {{"BM_FrequencyAllVariables", "Frequency > All"}}, 2);
}
