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

std::map<std::string, double> secondsPerIteration;

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

// Frequency > All: the time-code block of V1 and the frequency blocks of
// V2..V7, each appended to the output file and shown (read back whole).
void BM_FrequencyAllVariables(benchmark::State& state) {
    const bench::ProtocolFile& data = bench::ProtocolFile::Get();
    SilentUi ui;
    core::KovaState s;
    s.Records1 = data.records();
    s.RecordCount1 = core::kMaxRecords;
    s.DataFileName1 = data.name();
    s.ViewMode = 1;
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

// Keeps each benchmark's time per iteration for the ratio printed at the end.
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
    auto all = secondsPerIteration.find("BM_FrequencyAllVariables");
    if (read != secondsPerIteration.end() && all != secondsPerIteration.end() && read->second > 0)
        std::printf("Frequency > All over %d records takes %.2f times the reading of its file\n",
                    core::kMaxRecords, all->second / read->second);
    benchmark::Shutdown();
    return 0;
}
