// What the commands that grow a set cost at the largest sets. The time of
// counting what a set takes saved (done before every command that grows it):
// the generated protocol of 32767 records, and 32767 records that take all a
// data file may hold; a key typed into the text box near that bound; and the
// peak of a save refused for its size. Then the peak memory, in a
// process of its own, of a user's session on two sets at that bound: opens, an interrater analysis
// and a frequency analysis, pastes, a cut and paste, a selection, a 64 KiB rewrite filter and a
// split filter, each refused at the bound; and of the 64 KiB rewrite alone over the generated
// protocol.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "analyses/frequency_menu.h"
#include "analyses/interrater.h"
#include "bench_support.h"
#include "filters/run_filter_command.h"
#include "store/data_file.h"
#include "store/open_save.h"
#include "store/record_edit.h"
#include "store/selection_store.h"
#include "store/state.h"
#include "store/view.h"

namespace {

using bench::AtTheBound;
using bench::SilentUi;

constexpr int kRecords = 16000;

core::ReportTime FixedTime() {
    return core::ReportTime{"01-01-2024", "12:00:00"};
}

// Runs `work` in a process of its own and reports its peak memory; `failed`
// says what went wrong when the work fails.
template <typename Work>
void ReportPeak(benchmark::State& state, Work&& work, const char* failed) {
    double peak = 0, base = 0;
    for (auto _ : state) {
        peak = bench::PeakInChild(work, base);
        if (peak < 0)
            state.SkipWithError(failed);
    }
    state.counters["peak_MB"] = peak;
    state.counters["bench_base_MB"] = base;
}

// Counts what `set` (kMaxRecords records) takes saved, again and again.
void CountSavedSize(benchmark::State& state, const core::RecordSet& set, const std::string& info) {
    size_t bytes = 0;
    for (auto _ : state) {
        bytes = core::SavedFileBytes(set, core::kMaxRecords, 9, info);
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["saved_MB"] = static_cast<double>(bytes) / (1 << 20);
}

void BM_SavedSizeOfTheProtocol(benchmark::State& state) {
    CountSavedSize(state, bench::ProtocolFile::Get().records(), "Generated protocol");
}

void BM_SavedSizeAtTheBound(benchmark::State& state) {
    CountSavedSize(state, AtTheBound(core::kMaxRecords, 9, "bound"), "bound");
}

// One key typed into the text box (and taken back with the next) of a set
// 1 KiB short of the bound: the first key counts the set, the others follow
// the room it found.
void BM_TextBoxKeyNearTheBound(benchmark::State& state) {
    core::KovaState s;
    s.Records1 = AtTheBound(core::kMaxRecords, 9, "bound");
    s.Records1[1].V8.resize(s.Records1[1].V8.size() - 1024);
    s.RecordCount1 = core::kMaxRecords;
    s.CurrentRecord1 = 2;
    s.ViewMode = 1;
    s.FileHeaderNumber = 9;
    s.FileInfo1 = "bound";
    SilentUi ui;
    core::ProtocolRecord& record = s.Records1[2];
    std::string text = record.V8;
    bool typed = false;
    for (auto _ : state) {
        if (typed)
            text.pop_back();
        else
            text.push_back('k');
        typed = !typed;
        core::FieldGrowth growth;
        growth.Field(record, 8, text);
        if (!core::FitsTextBoxWrite(s, ui, growth.bytes))
            state.SkipWithError("a key was refused");
        record.V8 = text;
    }
}

// A filter file of two blocks over every record: the text rewritten to a
// 64 KiB literal, and each text split in two.
std::string WriteFilters(const std::filesystem::path& folder) {
    core::RecordSet lines(5);
    auto line = [&](int k, int16_t v2, const std::string& text) {
        lines[k].V0 = static_cast<int16_t>(k);
        lines[k].V2 = v2;
        for (int f : {1, 3, 4, 5, 6, 7, 8})
            *core::TextField(lines[k], f) = f == 8 ? text : "*";
    };
    line(1, 0, "*");
    line(2, 999, std::string(65536, 'w'));
    line(3, 0, "*");
    line(4, 999, "|///.w|1");
    const std::string name = (folder / "grow.fil").string();
    core::KovaState s;
    SilentUi ui;
    core::SaveDataFile(s, ui, name, lines, 4, 0, "", core::DataFileKind::Filter);
    return name;
}

// The session; false when a step did not do what it should (an open that
// failed, a growth that was not refused).
bool Session(const std::string& data, const std::string& data2, const std::string& filters) {
    core::KovaState s;
    SilentUi ui;
    if (!core::OpenDataFile(s, ui, data) || !core::OpenData2File(s, ui, data2))
        return false;
    s.FromRecord = s.FromRecord2 = 1;
    s.ToRecord = s.ToRecord2 = kRecords;
    s.ShowFrequencyTable = s.ShowAgreementKappa = s.ShowCategoryKappas = 1;
    for (int16_t v = 4; v <= 7; ++v)
        core::RunInterraterAgreement(s, ui, v, FixedTime);

    // The whole of data set 1 pasted into both sets, three times each.
    core::ShowDataMode(s, ui);
    int16_t from = 1, to = kRecords;
    core::CopyData1RecordsToClipboard(s, from, to);
    for (int i = 0; i < 3; ++i)
        if (core::InsertRecordsData1(s, ui) || core::InsertRecordsData2(s, ui))
            return false;
    // Half of it cut and pasted back twice: the first fits.
    to = kRecords / 2;
    core::DeleteRecordsData1(s, ui, from, to);
    if (!core::InsertRecordsData1(s, ui) || core::InsertRecordsData1(s, ui))
        return false;
    core::FrequencyMenuItem(
        s, ui, 9, [] {}, FixedTime);

    // Every other record selected; the rewrite runs on the selection.
    core::BeginSelection(s, ui);
    for (int k = 1; k <= s.FullCount1; k += 2)
        s.SelectionMarks1[k] = 1;
    core::ApplySelection(s, ui);
    if (!core::OpenFilterFile(s, ui, filters))
        return false;
    s.FromRecord = 1;
    s.ToRecord = s.RecordCount1;
    s.CurrentFilterLine = 2;
    if (core::RunFilterCommand(s, ui, core::FilterRunKind::CurrentFilter))
        return false;
    core::ShowDataMode(s, ui);
    core::EndSelection(s, ui);
    s.ToRecord = s.RecordCount1;
    for (int16_t line : {2, 4}) {
        s.CurrentFilterLine = line;
        if (core::RunFilterCommand(s, ui, core::FilterRunKind::CurrentFilter))
            return false;
    }
    core::FrequencyMenuItem(
        s, ui, 9, [] {}, FixedTime);
    return s.RecordCount1 == kRecords;
}

void BM_PeakSessionOnTwoSetsAtTheBound(benchmark::State& state) {
    const std::filesystem::path folder = bench::ProtocolFile::Get().folder();
    const std::string data = (folder / "bound.kov").string();
    {
        core::KovaState s;
        SilentUi ui;
        const core::RecordSet set = AtTheBound(kRecords, 9, "bound");
        if (!core::SaveDataFile(s, ui, data, set, kRecords, 9, "bound"))
            state.SkipWithError(ui.lastMessage.c_str());
    }
    const std::string data2 = (folder / "bound2.kov").string();
    std::filesystem::copy_file(data, data2, std::filesystem::copy_options::overwrite_existing);
    const std::string filters = WriteFilters(folder);
    ReportPeak(
        state, [&] { return Session(data, data2, filters); }, "a step of the session went wrong");
    state.counters["set_MB"] = static_cast<double>(core::kMaxDataFileBytes) / (1 << 20);
}

// The 64 KiB rewrite over the 32767 records of the generated protocol, opened
// from its file: refused once the set would pass the bound.
bool RewriteTheProtocol(const std::string& data, const std::string& filters) {
    core::KovaState s;
    SilentUi ui;
    if (!core::OpenDataFile(s, ui, data) || !core::OpenFilterFile(s, ui, filters))
        return false;
    s.FromRecord = 1;
    s.ToRecord = core::kMaxRecords;
    s.CurrentFilterLine = 2;
    return !core::RunFilterCommand(s, ui, core::FilterRunKind::CurrentFilter) &&
           s.Records1 == bench::ProtocolFile::Get().records();
}

void BM_PeakRewriteOfTheProtocol(benchmark::State& state) {
    const bench::ProtocolFile& protocol = bench::ProtocolFile::Get();
    const std::string filters = WriteFilters(protocol.folder());
    ReportPeak(
        state, [&] { return RewriteTheProtocol(protocol.name(), filters); },
        "the rewrite was not refused");
}

// A save refused for its size: ten texts of 16 MiB lone line feeds, which
// would take twice that written. The set is counted, not built.
bool RefuseTheSave(const std::string& folder) {
    core::KovaState s;
    SilentUi ui;
    core::RecordSet set(11);
    for (int k = 1; k <= 10; ++k)
        set[k].V8.assign(core::kMaxFieldBytes, '\n');
    return !core::SaveDataFile(s, ui, folder + "/refused.kov", set, 10, 9, "") && ui.messages == 1;
}

void BM_PeakRefusedSave(benchmark::State& state) {
    const std::string folder = bench::ProtocolFile::Get().folder().string();
    ReportPeak(
        state, [&] { return RefuseTheSave(folder); }, "the save was not refused");
    state.counters["set_MB"] = 10.0 * static_cast<double>(core::kMaxFieldBytes) / (1 << 20);
}

}  // namespace

BENCHMARK(BM_SavedSizeOfTheProtocol)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SavedSizeAtTheBound)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextBoxKeyNearTheBound)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PeakRefusedSave)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PeakRewriteOfTheProtocol)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PeakSessionOnTwoSetsAtTheBound)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
