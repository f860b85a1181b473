// A filter program of 50 condition-filter blocks, three condition lines each,
// over a protocol of 32767 records; and the share of that time spent in the
// wildcard match, measured by replaying exactly the matches the run made.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bench_support.h"
#include "filters/filter_run.h"
#include "store/record.h"
#include "store/state.h"
#include "store/text.h"

// The link step wraps core::WildcardMatch (see bench/CMakeLists.txt), so that
// a recording run can keep every (text, pattern) pair the filter asked about.
namespace {
bool recording = false;
std::vector<std::pair<std::string, std::string>> recorded;
}  // namespace

extern "C" bool __real__ZN4core13WildcardMatchESt17basic_string_viewIcSt11char_traitsIcEES3_(
    std::string_view text, std::string_view pattern);

extern "C" bool __wrap__ZN4core13WildcardMatchESt17basic_string_viewIcSt11char_traitsIcEES3_(
    std::string_view text, std::string_view pattern) {
    if (recording)
        recorded.emplace_back(text, pattern);
    return __real__ZN4core13WildcardMatchESt17basic_string_viewIcSt11char_traitsIcEES3_(text,
                                                                                        pattern);
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

void BM_FilterProgram(benchmark::State& state) {
    const core::RecordSet protocol = bench::MakeProtocol();
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
BENCHMARK(BM_FilterProgram)->Unit(benchmark::kMillisecond);

// The same run's wildcard matches alone: its time over the program's time is
// the share of the run spent matching patterns.
void BM_WildcardMatchesOfTheProgram(benchmark::State& state) {
    core::KovaState s;
    SilentUi ui;
    PrepareState(s, bench::MakeProtocol(), MakeProgram());
    recorded.clear();
    recording = true;
    core::RunAllFilters(s, ui);
    recording = false;
    for (auto _ : state) {
        int hits = 0;
        for (const auto& [text, pattern] : recorded)
            hits += core::WildcardMatch(text, pattern);
        benchmark::DoNotOptimize(hits);
    }
    state.counters["matches"] = static_cast<double>(recorded.size());
}
BENCHMARK(BM_WildcardMatchesOfTheProgram)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
