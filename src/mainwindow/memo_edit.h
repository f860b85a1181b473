// What the memo and file-info editor edits, and storing its text.
#pragma once

#include <cstdint>
#include <string>

#include "store/state.h"
#include "store/ui.h"

namespace core {

// The record (or file info) the editor was opened on, identified when it
// opens so that the text is stored there and nowhere else.
struct MemoTarget {
    bool valid = false;
    bool fileInfo = false;
    int16_t set = 0;  // 1 data set 1, 2 data set 2, 3 filter lines
    std::string fileName;
    int16_t selectionShown = 0;
    int16_t count = 0;
    int16_t position = 0;
    int16_t number = 0;    // the record's V0 when the editor opened
    int16_t row = 0;       // page row to colour (MemoRecord), 0 for none
    uint64_t changes = 0;  // the set's change counter when the editor opened
    std::string caption;
};

// The memo of the record on page row `row` of the shown set (a row label or,
// for the last row, the text box). Invalid for an empty row.
MemoTarget MemoTargetForRow(const KovaState& s, int row);

// The memo of the current record of the shown set (Find, the text box).
MemoTarget MemoTargetForCurrent(const KovaState& s);

// The memo of the record at `position` of the shown set (the grid view);
// `row` 0 colours no page row.
MemoTarget MemoTargetForPosition(const KovaState& s, int16_t position, int16_t row);

// The memo of the record at `position` of `set` (1 data set 1, 2 data set 2,
// 3 filter lines), whatever set is shown (the grid view keeps its own set).
MemoTarget MemoTargetForSetPosition(const KovaState& s, int16_t set, int16_t position, int16_t row);

// The file info of the shown set. Invalid in view mode 0.
MemoTarget FileInfoTarget(const KovaState& s);

// The text the editor starts with.
std::string MemoTargetText(const KovaState& s, const MemoTarget& t);

enum class MemoStore {
    Stored,  // stored (or deleted): the editor closes
    Kept,    // the delete question was answered No: the editor stays open
    // The record moved or went, or the set would grow too large to be saved:
    // message shown, nothing stored, the editor stays open with the text.
    Refused,
};

// The editor's ok (deleteIt false) or delete (true) button. `text` has CR LF
// line breaks.
MemoStore StoreMemo(KovaState& s, KovaUi& ui, const MemoTarget& t, bool deleteIt,
                    const std::string& text);

}  // namespace core
