// Sequential > All with every table (and both diagrams described) over the
// largest protocol, 32767 records whose variables V2..V7 hold 12 categories
// each, measured against reading that protocol's file. At the end the two
// times are printed as a ratio.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "analyses/sequential_analysis.h"
#include "bench_support.h"
#include "store/data_file.h"
#include "store/state.h"
#include "store/text.h"

namespace {

using bench::SilentUi;

// The generated protocol with 12 categories in V2..V7 (one record in ten of
// V5 left empty), written to a file of its own.
class TwelveCategories {
public:
    static const TwelveCategories& Get() {
        static const TwelveCategories protocol;
        return protocol;
    }
    std::string name;
    core::RecordSet records;

private:
    TwelveCategories() : records(bench::MakeProtocol()) {
        std::mt19937 rng(7);
        auto code = [&] {
            const int c = 1 + static_cast<int>(rng() % 12);
            return std::string(c < 10 ? "C0" : "C") + core::PlainNumber(c);
        };
        for (int k = 1; k <= core::kMaxRecords; ++k) {
            core::ProtocolRecord& r = records[static_cast<size_t>(k)];
            r.V2 = static_cast<int16_t>(1 + rng() % 12);
            r.V3 = "P" + code();
            r.V4 = code();
            r.V5 = k % 10 == 0 ? std::string() : code();
            r.V6 = code();
            r.V7 = code();
        }
        name = (bench::ProtocolFile::Get().folder() / "twelve.kov").string();
        core::KovaState s;
        SilentUi ui;
        if (!core::SaveDataFile(s, ui, name, records, core::kMaxRecords, 9, "Twelve categories"))
            std::fprintf(stderr, "cannot write %s: %s\n", name.c_str(), ui.lastMessage.c_str());
    }
};

void BM_ReadProtocolFile(benchmark::State& state) {
    bench::ReadProtocolFile(state, TwelveCategories::Get().name);
}

// Sequential > All: six analyses, each appending every table to the output
// file and showing it (read back whole).
void BM_SequentialAllVariables(benchmark::State& state) {
    const TwelveCategories& data = TwelveCategories::Get();
    SilentUi ui;
    core::KovaState s = bench::ShownProtocol(data.records, data.name);
    const std::string ana = core::DerivedName(data.name, ".ana");
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(ana);  // every run starts a new output file
        state.ResumeTiming();
        core::SequentialMenuItem(
            s, ui, 9,
            [&s] {
                s.Lag = 1;
                s.FromRecord = 1;
                s.ToRecord = core::kMaxRecords;
                s.ShowFrequencyTable = s.ShowExpectedTable = s.ShowResidualsTable = 1;
                s.ShowProbabilityTable = s.ShowUniZScores = s.ShowUniKappa = 1;
                s.ShowBiZScores = s.ShowBiKappa = s.ShowUniDiagram = s.ShowBiDiagram = 1;
            },
            [] {
                return core::ReportTime{"01-01-2024", "12:00:00"};
            });
    }
    if (!std::filesystem::exists(ana))
        state.SkipWithError("no output file was written");
}

BENCHMARK(BM_ReadProtocolFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SequentialAllVariables)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return bench::RunWithRatios(argc, argv, {{"BM_SequentialAllVariables", "Sequential > All"}}, 2);
}
