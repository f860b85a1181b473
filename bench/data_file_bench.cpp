// Reading and writing the largest protocol (32767 records), each beside a
// baseline that only handles the same bytes as lines (read) or as one block
// (write), and the memory an open protocol takes against its file size.
// Then the peak memory of the largest data files read (kMaxDataFileBytes),
// each in a process of its own: read alone, and in the most a user can hold
// at once: both data sets at the bound, a selection's copy of data set 1,
// data set 1 opened again (read beside the open set) and saved.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_support.h"
#include "store/data_file.h"
#include "store/state.h"
#include "store/table_file.h"

namespace {

using bench::SilentUi;

std::string ReadAll(const std::string& name) {
    std::string data;
    std::FILE* f = std::fopen(name.c_str(), "rb");
    std::fseek(f, 0, SEEK_END);
    data.resize(static_cast<size_t>(std::ftell(f)));
    std::rewind(f);
    size_t n = std::fread(data.data(), 1, data.size(), f);
    data.resize(n);
    std::fclose(f);
    return data;
}

// The protocol's file and its bytes, read once.
class Fixture {
public:
    static const Fixture& Get() {
        static const Fixture f;
        return f;
    }
    const std::string& file() const { return bench::ProtocolFile::Get().name(); }
    const std::string& bytes() const { return bytes_; }
    std::string folder() const { return bench::ProtocolFile::Get().folder().string(); }

private:
    Fixture() : bytes_(ReadAll(file())) {}
    std::string bytes_;
};

void BM_ReadDataFile(benchmark::State& state) {
    const Fixture& fx = Fixture::Get();
    core::KovaState s;
    SilentUi ui;
    for (auto _ : state) {
        core::RecordSet records;
        int16_t count = 0, header = 0;
        std::string info;
        bool ok = core::ReadDataFile(s, ui, fx.file(), records, count, header, info);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(records.data());
    }
    if (ui.messages != 0)
        state.SkipWithError(ui.lastMessage.c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fx.bytes().size()));
}

// Baseline: the same file read and cut into lines of their own (CR LF or LF).
void BM_ReadBaselineLines(benchmark::State& state) {
    const Fixture& fx = Fixture::Get();
    for (auto _ : state) {
        std::string data = ReadAll(fx.file());
        std::vector<std::string> lines;
        size_t pos = 0;
        while (pos < data.size()) {
            size_t nl = data.find('\n', pos);
            size_t end = nl == std::string::npos ? data.size() : nl;
            size_t len = end - pos;
            if (len > 0 && data[end - 1] == '\r')
                --len;
            lines.emplace_back(data, pos, len);
            pos = nl == std::string::npos ? data.size() : nl + 1;
        }
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fx.bytes().size()));
}

void BM_WriteDataFile(benchmark::State& state) {
    const Fixture& fx = Fixture::Get();
    core::KovaState s;
    SilentUi ui;
    core::RecordSet records;
    int16_t count = 0, header = 0;
    std::string info;
    core::ReadDataFile(s, ui, fx.file(), records, count, header, info);
    const std::string name = fx.folder() + "/written.kov";
    for (auto _ : state) {
        bool ok = core::SaveDataFile(s, ui, name, records, count, header, info);
        benchmark::DoNotOptimize(ok);
    }
    if (ui.messages != 0)
        state.SkipWithError(ui.lastMessage.c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fx.bytes().size()));
}

// Baseline: the same bytes written to a file in one block.
void BM_WriteBaselineBytes(benchmark::State& state) {
    const Fixture& fx = Fixture::Get();
    const std::string name = fx.folder() + "/baseline.kov";
    for (auto _ : state) {
        std::FILE* f = std::fopen(name.c_str(), "wb");
        std::fwrite(fx.bytes().data(), 1, fx.bytes().size(), f);
        std::fclose(f);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * fx.bytes().size()));
}

long ResidentBytes() {
    long pages = 0, resident = 0;
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (f == nullptr)
        return 0;
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
        resident = 0;
    std::fclose(f);
    return resident * sysconf(_SC_PAGESIZE);
}

// The bytes malloc has handed out, large blocks of their own mapping included
// (whether the set's array gets one depends on what was freed before).
size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// The memory an open protocol holds, against the size of its file: the heap
// the set takes (exact) and the growth of the resident set (coarser).
void BM_OpenSetMemory(benchmark::State& state) {
    const Fixture& fx = Fixture::Get();
    core::KovaState s;
    SilentUi ui;
    double heapRatio = 0, residentRatio = 0;
    for (auto _ : state) {
        malloc_trim(0);
        const size_t heapBefore = HeapInUse();
        const long residentBefore = ResidentBytes();
        core::RecordSet records;
        int16_t count = 0, header = 0;
        std::string info;
        core::ReadDataFile(s, ui, fx.file(), records, count, header, info);
        malloc_trim(0);
        const size_t heapAfter = HeapInUse();
        const long residentAfter = ResidentBytes();
        heapRatio = static_cast<double>(heapAfter - heapBefore) / fx.bytes().size();
        residentRatio = static_cast<double>(residentAfter - residentBefore) / fx.bytes().size();
        benchmark::DoNotOptimize(records.data());
    }
    state.counters["file_MB"] = fx.bytes().size() / 1e6;
    state.counters["heap_per_file_byte"] = heapRatio;
    state.counters["rss_per_file_byte"] = residentRatio;
}

// A data file of exactly kMaxDataFileBytes: 32767 records whose texts share
// the bytes. Its header number has five digits, the width the bound counts,
// so that the file is the largest that opens and can be saved again.
// `loneLineFeeds`: each text is a word followed by empty lines ending in a
// lone LF, which the reader turns into CR LF, so that the set holds twice the
// file's bytes; otherwise each text is one long line.
std::string LargestDataFile(bool loneLineFeeds) {
    const std::string name =
        (bench::ProtocolFile::Get().folder() / (loneLineFeeds ? "largest-lf.kov" : "largest.kov"))
            .string();
    const std::string head = "##00000\r\n 32767 MEMO 0 \r\n 10000 \r\nlargest\r\n";
    const std::string end = "##END\r\n";
    const size_t fields =
        std::string("##00001\r\n0:00:01\r\n 1 \r\nT\r\nA1\r\nB1\r\nL1\r\n\r\n").size();
    const size_t perRecord = (core::kMaxDataFileBytes - head.size() - end.size()) /
                             static_cast<size_t>(core::kMaxRecords);
    std::FILE* f = std::fopen(name.c_str(), "wb");
    if (f == nullptr)
        return name;
    size_t written = std::fwrite(head.data(), 1, head.size(), f);
    for (int k = 1; k <= core::kMaxRecords; ++k) {
        char marker[16];
        std::snprintf(marker, sizeof marker, "##%05d", k);
        std::string record =
            std::string(marker) + "\r\n0:00:01\r\n 1 \r\nT\r\nA1\r\nB1\r\nL1\r\n\r\n";
        const size_t text = k < core::kMaxRecords
                                ? perRecord - fields
                                : core::kMaxDataFileBytes - written - end.size() - fields;
        if (loneLineFeeds)
            record += "w\r\n" + std::string(text - 3, '\n');
        else
            record += std::string(text - 2, 'w') + "\r\n";
        written += std::fwrite(record.data(), 1, record.size(), f);
    }
    written += std::fwrite(end.data(), 1, end.size(), f);
    std::fclose(f);
    if (written != core::kMaxDataFileBytes)
        std::fprintf(stderr, "%s holds %zu bytes\n", name.c_str(), written);
    return name;
}

bool ReadInto(core::KovaState& s, const std::string& name, core::RecordSet& records,
              int16_t& count) {
    SilentUi ui;
    int16_t header = 0;
    std::string info;
    return core::ReadDataFile(s, ui, name, records, count, header, info) &&
           count == core::kMaxRecords;
}

// Data set 1 read from the file: its peak alone.
bool ReadOnce(const std::string& name) {
    core::KovaState s;
    return ReadInto(s, name, s.Records1, s.RecordCount1);
}

// The most a user holds at once: data sets 1 and 2 read from the file, a
// selection's full copy of data set 1, data set 1 read again beside it (as
// an open does), then saved (the save builds the whole file in a buffer).
// Not with lone line feeds: such a set would pass the bound saved, and no
// open takes it.
bool HoldTheMost(const std::string& name) {
    core::KovaState s;
    SilentUi ui;
    if (!ReadInto(s, name, s.Records1, s.RecordCount1) ||
        !ReadInto(s, name, s.Records2, s.RecordCount2))
        return false;
    s.FullRecords1 = s.Records1;
    core::RecordSet again;
    int16_t count = 0;
    if (!ReadInto(s, name, again, count))
        return false;
    s.Records1 = std::move(again);
    const std::string saved = name.substr(0, name.size() - 4) + "-saved.kov";
    const bool ok = core::SaveDataFile(s, ui, saved, s.Records1, s.RecordCount1, 9, "saved");
    std::filesystem::remove(saved);
    std::filesystem::remove(saved.substr(0, saved.size() - 4) + ".bak");
    return ok;
}

void RunPeak(benchmark::State& state, bool loneLineFeeds, bool (*work)(const std::string&)) {
    const std::string name = LargestDataFile(loneLineFeeds);
    double peak = 0, base = 0;
    for (auto _ : state) {
        peak = bench::PeakInChild([&] { return work(name); }, base);
        if (peak < 0)
            state.SkipWithError("the file was not read");
    }
    std::filesystem::remove(name);
    state.counters["file_MB"] = static_cast<double>(core::kMaxDataFileBytes) / (1 << 20);
    state.counters["peak_MB"] = peak;
    state.counters["bench_base_MB"] = base;
}

void BM_PeakLargestDataFile(benchmark::State& state) {
    RunPeak(state, false, ReadOnce);
}
void BM_PeakLargestDataFileLoneLineFeeds(benchmark::State& state) {
    RunPeak(state, true, ReadOnce);
}
void BM_PeakMostHeldAtOnce(benchmark::State& state) {
    RunPeak(state, false, HoldTheMost);
}

}  // namespace

// A table file with 30000 categories in V4, in no order, read in full.
void BM_ReadLongTableFile(benchmark::State& state) {
    const std::string name = (bench::ProtocolFile::Get().folder() / "long_table.tbl").string();
    {
        std::string bytes;
        for (int i = 0; i < 10; ++i)
            bytes += "\"label " + std::to_string(i) + "\"\r\n";
        bytes += "\"V4\",30000\r\n";
        for (int i = 0; i < 30000; ++i)
            bytes += "\"code " + std::to_string((i * 7919) % 30011) + "\"\r\n";
        bytes += "\"V5\",0\r\n\"V6\",0\r\n\"V7\",0\r\n";
        std::FILE* f = std::fopen(name.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    core::KovaState s;
    SilentUi ui;
    for (auto _ : state) {
        bool ok = core::ReadTableFile(s, ui, name);
        benchmark::DoNotOptimize(ok);
    }
    if (s.CategoryLists[4].size() != 30000)
        state.SkipWithError("the table was not read");
}

BENCHMARK(BM_OpenSetMemory)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadDataFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBaselineLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteDataFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteBaselineBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadLongTableFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PeakLargestDataFile)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PeakLargestDataFileLoneLineFeeds)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PeakMostHeldAtOnce)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
