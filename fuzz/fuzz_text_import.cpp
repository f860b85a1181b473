// Feeds any bytes to the parsers of the two text imports. The first byte
// picks the dialogue options; the rest is the text. Besides crashes and
// sanitizer reports it checks what every import must keep: a set numbered by
// position within the record limit, single-line fields without line breaks,
// no field past the field limit, and the same result however the bytes are
// cut into chunks while a file is read.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "store/state.h"
#include "store/text_import.h"

namespace {

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_text_import: %s\n", what);
        std::abort();
    }
}

bool Same(const core::ImportedSet& a, const core::ImportedSet& b) {
    return a.count == b.count && a.records == b.records && a.fileInfo == b.fileInfo &&
           a.replaced == b.replaced;
}

void CheckSet(const core::ImportedSet& set, bool plainAscii) {
    Check(set.count >= 0 && set.count <= core::kMaxRecords, "count within the record limit");
    Check(set.records.size() == static_cast<size_t>(set.count) + 1, "set size matches the count");
    Check(set.fileInfo.size() <= core::kMaxFieldBytes, "file info within the field limit");
    Check(!plainAscii || set.replaced == 0, "nothing replaced in plain ASCII");
    for (int k = 1; k <= set.count; ++k) {
        const core::ProtocolRecord& r = set.records[static_cast<size_t>(k)];
        Check(r.V0 == k && r.V2 == 1, "records numbered by position, sequence 1");
        for (const std::string* f : {&r.V1, &r.V3})
            Check(f->find_first_of("\r\n") == std::string::npos, "one line in V1 and V3");
        Check(r.V8.size() <= core::kMaxFieldBytes, "V8 within the field limit");
    }
}

// Parses whole and in chunks of `chunk` bytes; both end alike.
template <typename Parse>
void ParseBothWays(Parse&& parse, size_t chunk, bool plainAscii) {
    core::ImportedSet whole, pieces;
    bool wholeOk = true, piecesOk = true;
    try {
        whole = parse(0);
    } catch (const std::length_error&) {
        wholeOk = false;
    } catch (const core::TextTooLong&) {
        wholeOk = false;
    }
    try {
        pieces = parse(chunk);
    } catch (const std::length_error&) {
        piecesOk = false;
    } catch (const core::TextTooLong&) {
        piecesOk = false;
    }
    Check(wholeOk == piecesOk, "refused alike whole and in chunks");
    if (!wholeOk)
        return;
    CheckSet(whole, plainAscii);
    Check(Same(whole, pieces), "the same set whole and in chunks");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const uint8_t options = data[0];
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    bool plainAscii = true;
    for (char c : text)
        plainAscii = plainAscii && static_cast<unsigned char>(c) < 0x80;
    const size_t chunk = 1 + options % 7;

    core::KovaState s;
    const char* layouts[] = {"met tijd", "zonder tijd", ""};
    s.DialogueLayout = layouts[(options >> 3) % 3];
    s.DialogueDelimiter = (options & 0x20) ? ":" : ";";
    s.DialogueCommentChar = (options & 0x40) ? "#" : "";
    ParseBothWays([&](size_t n) { return core::ParseDialogueText(s, text, n); }, chunk, plainAscii);
    ParseBothWays([&](size_t n) { return core::ParseSentenceText(text, n); }, chunk, plainAscii);
    return 0;
}
