// Reading and writing the largest protocol (32767 records), each beside a
// baseline that only handles the same bytes as lines (read) or as one block
// (write), and the memory an open protocol takes against its file size.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "store/data_file.h"
#include "store/record.h"
#include "store/state.h"
#include "store/ui.h"

namespace {

namespace fs = std::filesystem;

struct SilentUi : core::KovaUi {
    void Message(const std::string& text, const std::string&, core::Icon) override {
        std::fprintf(stderr, "unexpected message: %s\n", text.c_str());
    }
    core::Answer AskSaveFile(const std::string&) override { return core::Answer::Cancel; }
    core::Answer AskYesNo(const std::string&, const std::string&) override {
        return core::Answer::No;
    }
    void ShowWait(const std::string&, const std::string&) override {}
    void HideWait() override {}
    void MainChanged() override {}
    void ShowOutput(const std::string&, const std::string&) override {}
};

// A protocol with realistic fields: increasing time codes, a handful of
// actors, small code sets, about 150 characters of text, a memo on one record
// in ten and a text of several lines on one in twenty.
core::RecordSet MakeProtocol(int count) {
    static const char* const kWords[] = {
        "the",   "water", "boat",   "floats", "sinks",  "because", "heavy", "light", "we",
        "think", "maybe", "shape",  "air",    "inside", "metal",   "wood",  "and",   "so",
        "it",    "is",    "not",    "only",   "weight", "size",    "of",    "a",     "teacher",
        "asks",  "why",   "answer", "group",  "test",   "result",  "table", "glass", "salt"};
    static const char* const kActors[] = {"T", "Anna", "Ben", "Carla", "Dev", "Emma", "Class"};
    static const char* const kActs[] = {"Q", "A", "E", "I", "F", "R"};
    static const char* const kLevels[] = {"L1", "L2", "L3"};
    static const char* const kTopics[] = {"MAT", "SHA", "WEI", "DEN", "ORG"};
    static const char* const kValence[] = {"+", "-", "0"};
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
        r.V5 = pick(kLevels);
        r.V6 = pick(kTopics);
        r.V7 = pick(kValence);
        if (k % 20 == 7)
            r.V8 = sentence(70) + "\r\n" + sentence(50) + "\r\n" + sentence(20);
        else
            r.V8 = sentence(140 + rng() % 20);
        if (k % 10 == 3)
            r.Memo = sentence(60);
    }
    return set;
}

class Fixture {
public:
    static Fixture& Get() {
        static Fixture f;
        return f;
    }
    const std::string& file() const { return file_; }
    const std::string& bytes() const { return bytes_; }
    const std::string& folder() const { return folder_; }

private:
    Fixture() {
        folder_ = (fs::temp_directory_path() / ("kova_bench_" + std::to_string(getpid()))).string();
        fs::create_directories(folder_);
        file_ = folder_ + "/protocol.kov";
        core::KovaState s;
        SilentUi ui;
        core::RecordSet set = MakeProtocol(core::kMaxRecords);
        core::SaveDataFile(s, ui, file_, set, core::kMaxRecords, 9, "Generated protocol");
        std::ifstream in(file_, std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    ~Fixture() {
        std::error_code ec;
        fs::remove_all(folder_, ec);
    }
    std::string folder_;
    std::string file_;
    std::string bytes_;
};

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

// The memory an open protocol holds, against the size of its file: the heap
// the set takes (exact) and the growth of the resident set (coarser).
void BM_OpenSetMemory(benchmark::State& state) {
    const Fixture& fx = Fixture::Get();
    core::KovaState s;
    SilentUi ui;
    double heapRatio = 0, residentRatio = 0;
    for (auto _ : state) {
        malloc_trim(0);
        const size_t heapBefore = mallinfo2().uordblks;
        const long residentBefore = ResidentBytes();
        core::RecordSet records;
        int16_t count = 0, header = 0;
        std::string info;
        core::ReadDataFile(s, ui, fx.file(), records, count, header, info);
        malloc_trim(0);
        const size_t heapAfter = mallinfo2().uordblks;
        const long residentAfter = ResidentBytes();
        heapRatio = static_cast<double>(heapAfter - heapBefore) / fx.bytes().size();
        residentRatio = static_cast<double>(residentAfter - residentBefore) / fx.bytes().size();
        benchmark::DoNotOptimize(records.data());
    }
    state.counters["file_MB"] = fx.bytes().size() / 1e6;
    state.counters["heap_per_file_byte"] = heapRatio;
    state.counters["rss_per_file_byte"] = residentRatio;
}

}  // namespace

BENCHMARK(BM_OpenSetMemory)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadDataFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBaselineLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteDataFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteBaselineBytes)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
