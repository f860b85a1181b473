// A filter program of 50 condition-filter blocks, three condition lines each,
// over a protocol of 32767 records; and the share of that time spent in the
// wildcard match, measured by replaying exactly the matches the run made,
// once with the patterns compiled once (as the run does) and once with each
// pattern read again for every text. The program runs once more over a set
// near the bound of a data file, whose every change is counted against it.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bench_support.h"
#include "filters/filter_run.h"
#include "store/data_file.h"
#include "store/record.h"
#include "store/state.h"
#include "store/text.h"

// The link step wraps core::WildcardPattern::Matches (see bench/CMakeLists.txt),
// so that a recording run can keep every (text, pattern) pair the filter
// asked about, the pattern by its place in `patterns`.
namespace {
bool recording = false;
std::vector<std::string> patterns;
std::map<std::string, size_t> patternIndex;
std::vector<std::pair<std::string, size_t>> recorded;
}  // namespace

extern "C" bool
__real__ZNK4core15WildcardPattern7MatchesESt17basic_string_viewIcSt11char_traitsIcEE(
    const core::WildcardPattern* pattern, std::string_view text);

extern "C" bool
__wrap__ZNK4core15WildcardPattern7MatchesESt17basic_string_viewIcSt11char_traitsIcEE(
    const core::WildcardPattern* pattern, std::string_view text) {
    if (recording) {
        auto [at, added] = patternIndex.try_emplace(pattern->Source(), patterns.size());
        if (added)
            patterns.push_back(pattern->Source());
        recorded.emplace_back(text, at->second);
    }
    return __real__ZNK4core15WildcardPattern7MatchesESt17basic_string_viewIcSt11char_traitsIcEE(
        pattern, text);
}

namespace {

using bench::SilentUi;

core::ProtocolRecord Line(int16_t v2) {
    core::ProtocolRecord l;
    l.V2 = v2;
    l.V1 = l.V3 = l.V4 = l.V5 = l.V6 = l.V7 = l.V8 = std::string(1, '*');
    return l;
}

// Words of the generated texts, some frequent and some rare.
const char* const kTextWords[] = {"boat",  "floats", "sinks",   "heavy",
                                  "shape", "metal",  "teacher", "salt"};

core::RecordSet MakeProgram() {
    core::RecordSet p(1);
    for (int b = 0; b < 50; ++b) {
        core::ProtocolRecord before = Line(-1);
        before.V3 = b % 2 ? "P#" : "P?";
        before.V4 = "[AB]#";
        core::ProtocolRecord anchor = Line(0);
        anchor.V8 = "*";
        anchor.V8.append(kTextWords[b % 8]).append("*");
        anchor.V5 = b % 3 ? "[!C]*" : "*";
        core::ProtocolRecord after = Line(1);
        after.V3 = b % 4 == 0 ? "T" : "P*";
        after.V4 = b % 5 == 0 ? "D?" : "?#";
        core::ProtocolRecord header = Line(999);
        header.V6 = b % 2 ? "seen" : "|$+x";
        header.V7 = "|n+1";
        p.push_back(before);
        p.push_back(anchor);
        p.push_back(after);
        p.push_back(header);
    }
    for (size_t k = 1; k < p.size(); ++k)
        p[k].V0 = static_cast<int16_t>(k);
    return p;
}

void PrepareState(core::KovaState& s, const core::RecordSet& protocol,
                  const core::RecordSet& program) {
    s.Records1 = protocol;
    s.RecordCount1 = core::kMaxRecords;
    s.CurrentRecord1 = 1;
    s.FromRecord = 1;
    s.ToRecord = core::kMaxRecords;
    s.ViewMode = 1;
    s.Records2 = program;
    s.FilterCount = static_cast<int16_t>(program.size() - 1);
}

void RunTheProgram(benchmark::State& state, const core::RecordSet& protocol) {
    const core::RecordSet program = MakeProgram();
    core::KovaState s;
    SilentUi ui;
    for (auto _ : state) {
        state.PauseTiming();
        PrepareState(s, protocol, program);
        state.ResumeTiming();
        core::RunAllFilters(s, ui);
        benchmark::DoNotOptimize(s.Records1.data());
    }
    if (ui.messages != 0)
        state.SkipWithError(ui.lastMessage.c_str());
    state.counters["records"] = core::kMaxRecords;
}

void BM_FilterProgram(benchmark::State& state) {
    RunTheProgram(state, bench::MakeProtocol());
}
BENCHMARK(BM_FilterProgram)->Unit(benchmark::kMillisecond);

// The same program over a set 1 MiB short of what a data file may hold, its
// texts about 2.5 KB each: every change is counted against that bound.
void BM_FilterProgramNearTheBound(benchmark::State& state) {
    const core::KovaState empty;
    const core::RecordSet protocol = bench::AtTheBound(core::kMaxRecords, empty.FileHeaderNumber,
                                                       empty.FileInfo1, size_t{1} << 20);
    RunTheProgram(state, protocol);
    state.counters["set_MB"] =
        static_cast<double>(core::SavedFileBytes(protocol, core::kMaxRecords,
                                                 empty.FileHeaderNumber, empty.FileInfo1)) /
        (1 << 20);
}
BENCHMARK(BM_FilterProgramNearTheBound)->Unit(benchmark::kMillisecond);

// Records the wildcard matches of one run of the program.
void RecordTheMatches() {
    if (!recorded.empty())
        return;
    core::KovaState s;
    SilentUi ui;
    PrepareState(s, bench::MakeProtocol(), MakeProgram());
    recording = true;
    core::RunAllFilters(s, ui);
    recording = false;
}

// The same run's wildcard matches alone, each pattern compiled once as the
// run does: its time over the program's time is the share of the run spent
// matching patterns.
void BM_WildcardMatchesOfTheProgram(benchmark::State& state) {
    RecordTheMatches();
    std::vector<core::WildcardPattern> compiled;
    for (const std::string& pattern : patterns)
        compiled.push_back(core::WildcardPattern::Compile(pattern));
    for (auto _ : state) {
        int hits = 0;
        for (const auto& [text, pattern] : recorded)
            hits += compiled[pattern].Matches(text);
        benchmark::DoNotOptimize(hits);
    }
    state.counters["matches"] = static_cast<double>(recorded.size());
    state.counters["patterns"] = static_cast<double>(patterns.size());
}
BENCHMARK(BM_WildcardMatchesOfTheProgram)->Unit(benchmark::kMillisecond);

// The same matches with the pattern read again for every text, as a
// one-off WildcardMatch does.
void BM_WildcardMatchesReadingThePatternEachTime(benchmark::State& state) {
    RecordTheMatches();
    for (auto _ : state) {
        int hits = 0;
        for (const auto& [text, pattern] : recorded)
            hits += core::WildcardMatch(text, patterns[pattern]);
        benchmark::DoNotOptimize(hits);
    }
    state.counters["matches"] = static_cast<double>(recorded.size());
}
BENCHMARK(BM_WildcardMatchesReadingThePatternEachTime)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
