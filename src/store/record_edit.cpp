#include "store/record_edit.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "store/text.h"

namespace core {

namespace {

// The pieces of `text` at every `separator`: the text before each occurrence,
// and the rest after the last one when it is not empty, each trimmed. Empty
// when the text holds no separator.
std::vector<std::string> SplitPieces(const std::string& text, const std::string& separator) {
    std::vector<std::string> pieces;
    std::string rest = Trim(text);
    size_t p = rest.find(separator);
    if (p == std::string::npos) {
        return pieces;
    }
    while (p != std::string::npos) {
        pieces.push_back(Trim(std::string_view(rest).substr(0, p)));
        rest.erase(0, p + separator.size());
        p = rest.find(separator);
        if (p == std::string::npos && !rest.empty()) {
            pieces.push_back(Trim(rest));
        }
    }
    return pieces;
}

}  // namespace

bool SplitRecordsAtSeparator(KovaState& /*s*/, RecordSet& Records, int16_t From, int16_t& Count,
                             const std::string& Separator) {
    if (Count < 0 || Records.size() < static_cast<size_t>(Count) + 1) {
        return false;  // not a whole set: touch nothing
    }
    if (Separator.empty() || From < 1 || From > Count) {
        return true;
    }
    // First find every split and check the limits, so a refused split leaves
    // the set exactly as it was.
    std::vector<std::pair<int, std::vector<std::string>>> splits;
    long long total = 0;
    for (int i = From; i <= Count; ++i) {
        std::vector<std::string> pieces = SplitPieces(Records[i].V8, Separator);
        if (pieces.empty()) {
            ++total;
            continue;
        }
        total += static_cast<long long>(pieces.size());
        if (Records[i].V2 + static_cast<long long>(pieces.size()) - 1 > 32767) {
            return false;
        }
        splits.emplace_back(i, std::move(pieces));
    }
    if (From - 1 + total > kMaxRecords) {
        return false;
    }

    if (!splits.empty()) {
        RecordSet tail;
        tail.reserve(static_cast<size_t>(total));
        size_t next = 0;
        for (int i = From; i <= Count; ++i) {
            if (next < splits.size() && splits[next].first == i) {
                int v2 = Records[i].V2;
                for (std::string& piece : splits[next].second) {
                    ProtocolRecord r = Records[i];
                    r.V8 = std::move(piece);
                    r.V2 = static_cast<int16_t>(v2++);
                    tail.push_back(std::move(r));
                }
                ++next;
            } else {
                tail.push_back(std::move(Records[i]));
            }
        }
        Records.resize(static_cast<size_t>(From));
        for (ProtocolRecord& r : tail) {
            Records.push_back(std::move(r));
        }
    }
    Count = static_cast<int16_t>(From - 1 + total);
    Records.resize(static_cast<size_t>(Count) + 1);
    for (int i = From; i <= Count; ++i) {
        Records[i].V0 = static_cast<int16_t>(i);
    }
    return true;
}

void NumberSequence(RecordSet& Records, int16_t Count) {
    const int last = std::min<int>(Count, static_cast<int>(Records.size()) - 1);
    for (int i = 1; i <= last; ++i) {
        ProtocolRecord& r = Records[i];
        if (i == 1) {
            r.V2 = 1;
            continue;
        }
        const ProtocolRecord& prev = Records[i - 1];
        if (!r.V1.empty() && r.V1 != prev.V1) {
            r.V2 = 1;
        } else if (r.V3 == prev.V3) {
            // A run is never longer than the set, so this stays within 16 bits.
            r.V2 = static_cast<int16_t>(prev.V2 + 1);
        } else {
            r.V2 = 1;
        }
    }
}

}  // namespace core
