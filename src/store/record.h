// The one record type of the program and the record sets built from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace core {

// Largest number of records a set can hold: counts and positions are 16-bit.
inline constexpr int kMaxRecords = 32767;

// Longest text a command may make of one field (16 MiB): far beyond any typed
// or imported protocol text, yet small enough that a command which keeps
// appending a field to itself stops with a message long before memory ends.
inline constexpr size_t kMaxFieldBytes = size_t{16} << 20;

// How every message says that a field would pass kMaxFieldBytes, after what
// would be: "longer than 16777216 characters, the most a field can hold".
// Inline, for the reader program, which links only the workbook's own sources.
inline std::string LongerThanAFieldText() {
    return "longer than " + std::to_string(kMaxFieldBytes) +
           " characters, the most a field can hold";
}

// One protocol line (or one filter line). Text fields hold the file's bytes
// (Windows-1252, line breaks as CR LF) unchanged.
struct ProtocolRecord {
    int16_t V0 = 0;  // record number: the record's position in its set
    std::string V1;  // time code
    int16_t V2 = 0;  // sequence number, 0 = empty; offset or opcode in filter lines
    std::string V3;  // actor
    std::string V4;
    std::string V5;
    std::string V6;
    std::string V7;
    std::string V8;    // protocol text
    std::string Memo;  // "" = no memo

    bool operator==(const ProtocolRecord&) const = default;
};

// A record set: index 0 holds no record, record k sits at index k, and between
// operations size() == count + 1 (an empty vector means "no array yet").
using RecordSet = std::vector<ProtocolRecord>;

// Field k (1, 3..8) of a record as text; nullptr for 0, 2 and out-of-range k.
const std::string* TextField(const ProtocolRecord& r, int k);
std::string* TextField(ProtocolRecord& r, int k);

}  // namespace core
