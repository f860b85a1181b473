// Frequency analysis of all seven variables (Frequency > All) over the largest
// protocol, 32767 records, measured against reading that protocol's file.
// At the end the two times are printed as a ratio.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "analyses/frequency_menu.h"
#include "store/data_file.h"
#include "store/state.h"
#include "store/ui.h"

namespace {

struct SilentUi : core::KovaUi {
    void Message(const std::string&, const std::string&, core::Icon) override {}
    core::Answer AskSaveFile(const std::string&) override { return core::Answer::No; }
    core::Answer AskYesNo(const std::string&, const std::string&) override {
        return core::Answer::No;
    }
    void ShowWait(const std::string&, const std::string&) override {}
    void HideWait() override {}
    void MainChanged() override {}
    void ShowOutput(const std::string&, const std::string&) override {}
};

std::string TwoDigits(int n) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%02d", n % 100);
    return buffer;
}

// A coded dialogue: every record has a time code and an actor, most carry
// codes from small category sets, some are left empty.
core::RecordSet MakeProtocol(int count) {
    const char* actors[] = {"Teacher", "Pupil 1", "Pupil 2", "Pupil 3"};
    const char* acts[] = {"Question", "Answer", "Feedback", "Instruction", "Remark", ""};
    const char* topics[] = {"Maths", "Reading", "Order", "Other", ""};
    const char* levels[] = {"low", "middle", "high"};
    core::RecordSet records(1);
    for (int i = 1; i <= count; ++i) {
        core::ProtocolRecord r;
        r.V0 = static_cast<int16_t>(i);
        const int seconds = i * 4;
        r.V1 = TwoDigits(seconds / 3600) + ":" + TwoDigits(seconds / 60 % 60) + ":" +
               TwoDigits(seconds % 60);
        r.V2 = static_cast<int16_t>(i % 5 + 1);
        r.V3 = actors[i % 4];
        r.V4 = acts[(i * 7) % 6];
        r.V5 = topics[(i / 3) % 5];
        r.V6 = levels[(i * 5) % 3];
        if (i % 11 == 0)
            r.V7 = "x";
        r.V8 = "And then the pupil said something about the task at hand, number " +
               std::to_string(i) + ".";
        records.push_back(std::move(r));
    }
    return records;
}

struct Fixture {
    Fixture() {
        dir = std::filesystem::temp_directory_path() /
              ("kova_frequency_bench_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        file = (dir / "large.kov").string();
        records = MakeProtocol(core::kMaxRecords);
        core::KovaState s;
        SilentUi ui;
        if (!core::SaveDataFile(s, ui, file, records, core::kMaxRecords, 0, "bench"))
            std::fprintf(stderr, "cannot write %s\n", file.c_str());
    }
    ~Fixture() { std::filesystem::remove_all(dir); }
    std::filesystem::path dir;
    std::string file;
    core::RecordSet records;
};

Fixture& Data() {
    static Fixture fixture;
    return fixture;
}

std::map<std::string, double> secondsPerIteration;

void BM_ReadProtocolFile(benchmark::State& state) {
    Fixture& data = Data();
    SilentUi ui;
    for (auto _ : state) {
        core::KovaState s;
        core::RecordSet records;
        int16_t count = 0, header = 0;
        std::string info;
        benchmark::DoNotOptimize(
            core::ReadDataFile(s, ui, data.file, records, count, header, info));
        if (count != core::kMaxRecords)
            state.SkipWithError("the protocol was not read whole");
    }
}

// Frequency > All: the time-code block of V1 and the frequency blocks of
// V2..V7, each appended to the output file and shown (read back whole).
void BM_FrequencyAllVariables(benchmark::State& state) {
    Fixture& data = Data();
    SilentUi ui;
    core::KovaState s;
    s.Records1 = data.records;
    s.RecordCount1 = core::kMaxRecords;
    s.DataFileName1 = data.file;
    s.ViewMode = 1;
    const std::string ana = (data.dir / "large.ana").string();
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
