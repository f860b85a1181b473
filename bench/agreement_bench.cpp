// Interrater > All and one cross table over the largest protocol, 32767
// records, with every table and statistic written; measured against reading
// that protocol's file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "analyses/analysis_commands.h"
#include "analyses/cross_tables.h"
#include "analyses/interrater.h"
#include "bench_support.h"
#include "store/data_file.h"
#include "store/state.h"

namespace {

using bench::SilentUi;

core::ReportTime FixedTime() {
    return core::ReportTime{"01-01-2024", "12:00:00"};
}

// Both coders hold the whole protocol; the second differs in one record of
// seven in V4..V7.
core::KovaState TwoCoders(const bench::ProtocolFile& data) {
    core::KovaState s;
    s.Records1 = data.records();
    s.RecordCount1 = core::kMaxRecords;
    s.Records2 = data.records();
    s.RecordCount2 = core::kMaxRecords;
    for (int i = 1; i <= core::kMaxRecords; i += 7)
        for (int k = 4; k <= 7; ++k)
            *core::TextField(s.Records2[static_cast<size_t>(i)], k) += "x";
    s.DataFileName1 = data.name();
    s.DataFileName2 = (data.folder() / "coder2.kov").string();
    s.ViewMode = 1;
    s.FromRecord = s.FromRecord2 = 1;
    s.ToRecord = s.ToRecord2 = core::kMaxRecords;
    s.ShowFrequencyTable = s.ShowExpectedTable = s.ShowResidualsTable = 1;
    s.ShowAgreementKappa = s.ShowCategoryKappas = 1;
    return s;
}

void BM_ReadProtocolFile(benchmark::State& state) {
    bench::ReadProtocolFile(state, bench::ProtocolFile::Get().name());
}

// V1..V7 in turn, each appended to the output file (V1, a time code on every
// record, is refused for its number of categories).
void BM_InterraterAll(benchmark::State& state) {
    const bench::ProtocolFile& data = bench::ProtocolFile::Get();
    SilentUi ui;
    core::KovaState s = TwoCoders(data);
    const std::string ana = (data.folder() / "protocol.ana").string();
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(ana);
        state.ResumeTiming();
        for (int16_t v = 1; v <= 7; ++v)
            core::RunInterraterAgreement(s, ui, v, FixedTime);
    }
}

// V4 by V6 at lag 1 with the expected and residual blocks.
void BM_CrossTable(benchmark::State& state) {
    const bench::ProtocolFile& data = bench::ProtocolFile::Get();
    SilentUi ui;
    core::KovaState s = TwoCoders(data);
    s.Lag = 1;
    const std::string ana = (data.folder() / "protocol.ana").string();
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(ana);
        state.ResumeTiming();
        core::RunCrossTables(s, ui, 4, 6, FixedTime);
    }
}

BENCHMARK(BM_ReadProtocolFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InterraterAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CrossTable)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
