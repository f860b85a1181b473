// What the benchmarks share: a silent stand-in for the windows, the largest
// protocol (32767 records), generated once and written to a file of its own in
// a temporary folder that is removed at exit, the timing of reading a protocol
// file and the ratios of other timings to it, and the peak memory of work
// run in a child process.
#pragma once

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "store/data_file.h"
#include "store/record.h"
#include "store/state.h"
#include "support/silent_ui.h"

namespace bench {

using test::SilentUi;

// A protocol with realistic fields: increasing time codes, four actors, codes
// from small sets (a few left empty), about 150 characters of text, a memo on
// one record in ten and a text of several lines on one in twenty. The codes
// are of the shapes "A1", "B2", "C", and the actors "T", "P1".. "P3".
inline core::RecordSet MakeProtocol(int count = core::kMaxRecords) {
    static const char* const kWords[] = {
        "the",   "water", "boat",   "floats", "sinks",  "because", "heavy", "light", "we",
        "think", "maybe", "shape",  "air",    "inside", "metal",   "wood",  "and",   "so",
        "it",    "is",    "not",    "only",   "weight", "size",    "of",    "a",     "teacher",
        "asks",  "why",   "answer", "group",  "test",   "result",  "table", "glass", "salt"};
    static const char* const kActors[] = {"T", "P1", "P2", "P3"};
    static const char* const kActs[] = {"A1", "A2", "B1", "B2", "C", "D7", ""};
    static const char* const kTopics[] = {"A1", "B1", "B2", "C", "D7", ""};
    static const char* const kLevels[] = {"L1", "L2", "L3"};
    std::mt19937 rng(42);
    auto pick = [&](const auto& list) { return list[rng() % (sizeof list / sizeof list[0])]; };
    auto sentence = [&](size_t length) {
        std::string text;
        while (text.size() < length) {
            if (!text.empty())
                text += ' ';
            text += pick(kWords);
        }
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
        text += '.';
        return text;
    };
    core::RecordSet set(static_cast<size_t>(count) + 1);
    int seconds = 0;
    for (int k = 1; k <= count; ++k) {
        core::ProtocolRecord& r = set[k];
        seconds += 2 + static_cast<int>(rng() % 9);
        r.V0 = static_cast<int16_t>(k);
        char time[32];
        std::snprintf(time, sizeof time, "%d:%02d:%02d", seconds / 3600, seconds / 60 % 60,
                      seconds % 60);
        r.V1 = time;
        r.V2 = static_cast<int16_t>(1 + k % 4);
        r.V3 = pick(kActors);
        r.V4 = pick(kActs);
        r.V5 = pick(kTopics);
        r.V6 = pick(kLevels);
        if (k % 11 == 0)
            r.V7.push_back('x');
        if (k % 20 == 7)
            r.V8 = sentence(70) + "\r\n" + sentence(50) + "\r\n" + sentence(20);
        else
            r.V8 = sentence(140 + rng() % 20);
        if (k % 10 == 3)
            r.Memo = sentence(60);
    }
    return set;
}

// The generated protocol's texts lengthened until the set takes exactly
// kMaxDataFileBytes as the bound counts it (the header number at its widest),
// less `shortBy` bytes.
inline core::RecordSet AtTheBound(int count, int16_t header, const std::string& info,
                                  size_t shortBy = 0) {
    core::RecordSet set = MakeProtocol(count);
    const size_t missing =
        core::kMaxDataFileBytes - shortBy - core::SavedSize(set, count, header, info).BoundBytes();
    for (int k = 1; k <= count; ++k)
        set[k].V8.append(missing / count + (k == 1 ? missing % count : 0), 'w');
    return set;
}

// The generated protocol and its file, made on first use.
class ProtocolFile {
public:
    static const ProtocolFile& Get() {
        static const ProtocolFile file;
        return file;
    }
    const std::filesystem::path& folder() const { return folder_; }
    const std::string& name() const { return name_; }
    const core::RecordSet& records() const { return records_; }

private:
    ProtocolFile() : records_(MakeProtocol()) {
        folder_ =
            std::filesystem::temp_directory_path() / ("kova_bench_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        name_ = (folder_ / "protocol.kov").string();
        core::KovaState s;
        SilentUi ui;
        if (!core::SaveDataFile(s, ui, name_, records_, core::kMaxRecords, 9, "Generated protocol"))
            std::fprintf(stderr, "cannot write %s: %s\n", name_.c_str(), ui.lastMessage.c_str());
    }
    ~ProtocolFile() {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    std::filesystem::path folder_;
    std::string name_;
    core::RecordSet records_;
};

// A state with the records as data 1, in view under the file name given.
inline core::KovaState ShownProtocol(const core::RecordSet& records, const std::string& name) {
    core::KovaState s;
    s.Records1 = records;
    s.RecordCount1 = core::kMaxRecords;
    s.DataFileName1 = name;
    s.ViewMode = 1;
    return s;
}

// The body of a benchmark that reads the protocol file `name` whole.
inline void ReadProtocolFile(benchmark::State& state, const std::string& name) {
    SilentUi ui;
    for (auto _ : state) {
        core::KovaState s;
        core::RecordSet records;
        int16_t count = 0, header = 0;
        std::string info;
        benchmark::DoNotOptimize(core::ReadDataFile(s, ui, name, records, count, header, info));
        if (count != core::kMaxRecords)
            state.SkipWithError("the protocol was not read whole");
    }
}

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
    std::map<std::string, double> secondsPerIteration;
};

// The process's peak resident memory so far, in MB.
inline double MaxRssMb() {
    rusage self{};
    getrusage(RUSAGE_SELF, &self);
    return static_cast<double>(self.ru_maxrss) / 1024;
}

// Runs `work` in a child process and gives its peak memory in MB as it ends,
// or a negative number when the work failed. The child starts with what the
// bench holds; `base` gives that part.
template <typename Work>
double PeakInChild(Work&& work, double& base) {
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        const double before = MaxRssMb();
        const bool ok = work();
        const double peak[2] = {before, ok ? MaxRssMb() : -1};
        const ssize_t written = write(fds[1], peak, sizeof peak);
        _exit(written == sizeof peak ? 0 : 1);
    }
    close(fds[1]);
    double peak[2] = {0, -1};
    const ssize_t got = read(fds[0], peak, sizeof peak);
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    base = peak[0];
    return got == sizeof peak ? peak[1] : -1;
}

// Runs the registered benchmarks, then prints for each {benchmark, what} the
// time of the benchmark as a multiple of the time of BM_ReadProtocolFile, with
// `decimals` places.
inline int RunWithRatios(int argc, char** argv,
                         const std::vector<std::pair<const char*, const char*>>& measured,
                         int decimals) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto& seconds = reporter.secondsPerIteration;
    auto read = seconds.find("BM_ReadProtocolFile");
    if (read != seconds.end() && read->second > 0) {
        for (const auto& [name, what] : measured) {
            auto found = seconds.find(name);
            if (found != seconds.end())
                std::printf("%s over %d records takes %.*f times the reading of its file\n", what,
                            core::kMaxRecords, decimals, found->second / read->second);
        }
    }
    benchmark::Shutdown();
    return 0;
}

}  // namespace bench
