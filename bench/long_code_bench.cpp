// The peak memory of the reports of a protocol whose V4 holds one code of the
// largest field size (16 MiB) among the 32767 records of the generated
// protocol: a Sequential report of V4 with every table ticked (both diagrams
// described), the same with episode filling over the fifteen empty records
// that follow the long code, and Interrater > All with a second coder who
// agrees on the long code. Each runs in a child process; the counters give
// its peak, what the bench held before it, and the size of the output file.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "analyses/interrater.h"
#include "analyses/output_file.h"
#include "analyses/sequential_analysis.h"
#include "bench_support.h"
#include "store/record.h"
#include "store/state.h"
#include "store/text.h"

namespace {

using bench::SilentUi;

constexpr int kLongCodeRecord = 1000;
constexpr int kEmptyAfter = 15;

core::ReportTime FixedTime() {
    return core::ReportTime{"01-01-2024", "12:00:00"};
}

// The generated protocol with the long code in V4 of one record and the V4 of
// the records after it left empty.
core::KovaState LongCodeProtocol() {
    const bench::ProtocolFile& data = bench::ProtocolFile::Get();
    core::KovaState s = bench::ShownProtocol(data.records(), data.name());
    std::string code(core::kMaxFieldBytes, 'L');
    for (size_t i = 0; i < code.size(); i += 64)
        code[i] = static_cast<char>('a' + i / 64 % 26);
    s.Records1[kLongCodeRecord].V4 = std::move(code);
    for (int k = 1; k <= kEmptyAfter; ++k)
        s.Records1[kLongCodeRecord + k].V4.clear();
    s.FromRecord = 1;
    s.ToRecord = core::kMaxRecords;
    s.ShowFrequencyTable = s.ShowExpectedTable = s.ShowResidualsTable = 1;
    s.ShowProbabilityTable = s.ShowUniZScores = s.ShowUniKappa = 1;
    s.ShowBiZScores = s.ShowBiKappa = s.ShowUniDiagram = s.ShowBiDiagram = 1;
    s.ShowAgreementKappa = s.ShowCategoryKappas = 1;
    return s;
}

// Runs `report` on a fresh output file in a child process and sets the
// counters. A report too large for the output viewer ends with a message
// (and false) once it has been written: its peak counts all the same.
template <typename Report>
void RunPeak(benchmark::State& state, core::KovaState& s, Report report) {
    const std::string ana = core::AnalysisOutputName(s);
    double peak = 0, base = 0;
    for (auto _ : state) {
        std::filesystem::remove(ana);
        peak = bench::PeakInChild(
            [&] {
                report();
                return true;
            },
            base);
        if (peak < 0)
            state.SkipWithError("the child process failed");
    }
    std::error_code ec;
    const auto size = std::filesystem::file_size(ana, ec);
    state.counters["peak_MB"] = peak;
    state.counters["bench_base_MB"] = base;
    state.counters["output_MB"] = ec ? -1 : static_cast<double>(size) / (1 << 20);
    std::filesystem::remove(ana);
}

void BM_PeakSequentialLongCode(benchmark::State& state) {
    core::KovaState s = LongCodeProtocol();
    SilentUi ui;
    RunPeak(state, s, [&] { return core::SequentialAnalysis(s, ui, 4, 1, FixedTime); });
}

void BM_PeakSequentialLongCodeFilled(benchmark::State& state) {
    core::KovaState s = LongCodeProtocol();
    s.EpisodeFilling = 1;
    SilentUi ui;
    RunPeak(state, s, [&] { return core::SequentialAnalysis(s, ui, 4, 1, FixedTime); });
}

// Interrater > All after its options: V1..V7 in turn, then the output file
// shown (read whole).
void BM_PeakInterraterAllLongCode(benchmark::State& state) {
    core::KovaState s = LongCodeProtocol();
    s.Records2 = s.Records1;
    s.RecordCount2 = core::kMaxRecords;
    for (int i = 1; i <= core::kMaxRecords; i += 7)
        *core::TextField(s.Records2[static_cast<size_t>(i)], 5) += "x";
    s.DataFileName2 = (bench::ProtocolFile::Get().folder() / "coder2.kov").string();
    s.FromRecord2 = 1;
    s.ToRecord2 = core::kMaxRecords;
    SilentUi ui;
    RunPeak(state, s, [&] {
        const int before = s.AnalysisReportsWritten;
        for (int16_t v = 1; v <= 7; ++v)
            if (!core::RunInterraterAgreement(s, ui, v, FixedTime))
                return;
        core::ShowAnalysisFileIfWritten(s, ui, before);
    });
}

BENCHMARK(BM_PeakSequentialLongCode)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PeakSequentialLongCodeFilled)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PeakInterraterAllLongCode)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
