// Feeds any bytes to the data file reader. Besides crashes and sanitizer
// reports it checks what every read must keep: a set numbered by position
// whose size matches its count, and a writer whose file reads back the same
// and takes the size counted for it.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "store/data_file.h"
#include "store/state.h"
#include "store/text.h"
#include "support/silent_ui.h"

namespace {

std::string ScratchName(const char* tag) {
    return (std::filesystem::temp_directory_path() /
            ("kova_fuzz_" + std::to_string(getpid()) + "_" + tag + ".kov"))
        .string();
}

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_data_file: %s\n", what);
        std::abort();
    }
}

// V1..V7 hold one line each: a CR inside is written as a blank, on purpose.
bool HasCarriageReturnInSingleLineFields(const core::RecordSet& set) {
    for (const core::ProtocolRecord& r : set)
        for (const std::string* f : {&r.V1, &r.V3, &r.V4, &r.V5, &r.V6, &r.V7})
            if (f->find('\r') != std::string::npos)
                return true;
    return false;
}

const std::string& InputName() {
    static const std::string name = ScratchName("in");
    return name;
}
const std::string& OutputName() {
    static const std::string name = ScratchName("out");
    return name;
}

// Runs at exit, after the names above may be gone: builds them anew.
void RemoveScratchFiles() {
    std::error_code ec;
    std::filesystem::remove(ScratchName("in"), ec);
    std::filesystem::remove(ScratchName("out"), ec);
    std::filesystem::remove(core::DerivedName(ScratchName("out"), ".bak"), ec);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::atexit(RemoveScratchFiles);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& input = InputName();
    const std::string& output = OutputName();
    if (std::FILE* f = std::fopen(input.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }

    core::KovaState s;
    test::SilentUi ui;
    core::RecordSet records;
    int16_t count = -1, header = 0;
    std::string info;
    const bool ok = core::ReadDataFile(s, ui, input, records, count, header, info);
    Check(ok == (ui.messages == 0), "a failed read shows exactly one message");
    Check(ui.messages <= 1, "a read shows at most one message");
    if (count < 0) {
        Check(!ok && records.empty(), "an untouched set after a failed header");
        return 0;
    }
    Check(count <= core::kMaxRecords, "count within the record limit");
    Check(records.size() == static_cast<size_t>(count) + 1, "set size matches the count");
    for (int k = 1; k <= count; ++k)
        Check(records[k].V0 == k, "records numbered by position");
    if (!ok || HasCarriageReturnInSingleLineFields(records))
        return 0;

    // What was read is written and read again unchanged.
    Check(core::SaveDataFile(s, ui, output, records, count, header, info), "write succeeds");
    Check(core::SavedFileBytes(records, count, header, info) == std::filesystem::file_size(output),
          "the size counted is the size written");
    core::RecordSet again;
    int16_t count2 = -1, header2 = 0;
    std::string info2;
    Check(core::ReadDataFile(s, ui, output, again, count2, header2, info2), "re-read succeeds");
    Check(count2 == count && header2 == header && info2 == info, "header round trip");
    Check(again == records, "records round trip");
    return 0;
}
