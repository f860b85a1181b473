// The grid view's table over a record set: one row per record, its cells read
// from the records when they are asked for (the grid holds no copy), a row
// order of its own for sorting, and the edits and memo openings that go back
// into the records. The grid stays bound to the set it was opened on: once
// that set has changed by number or order, nothing is stored through it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "mainwindow/memo_edit.h"
#include "store/state.h"
#include "store/ui.h"

namespace core {

// The layouts, numbered by the view mode that opens them.
enum class GridLayout : int16_t { Data = 1, TwoCoder = 2, Filter = 3 };

enum class GridEditor { None, Combo, Text };

enum class GridEdit {
    Unchanged,  // the text equals the cell's, or the cell belongs to no field
    Stored,     // written into the record (and the full set under a selection)
    OutOfDate,  // the set changed since the grid opened: message shown
    Refused,    // a number outside the 16-bit range: message shown
    TooLarge,   // the set would grow too large to be saved: message shown
};

class GridModel {
public:
    // The grid of the set ViewMode names: the data layout (view mode 1), the
    // two-coder layout (2: data set 1 beside data set 2) or the filter layout
    // (3). None in view mode 0 and for a set without records.
    static std::optional<GridModel> Open(const KovaState& s);

    GridLayout Layout() const { return layout_; }
    int RowCount() const { return static_cast<int>(order_.size()); }
    int ColumnCount() const { return layout_ == GridLayout::TwoCoder ? 13 : 12; }
    int ColumnWidth(int column) const;  // twips
    int TextColumn() const { return layout_ == GridLayout::TwoCoder ? 10 : 9; }
    int KeyColumn() const { return layout_ == GridLayout::TwoCoder ? 11 : 10; }
    int PositionColumn() const { return KeyColumn() + 1; }

    // The heading of a column (row 0).
    std::string Header(const KovaState& s, int column) const;
    // The text of a cell; `row` 1..RowCount in the order shown.
    std::string Cell(const KovaState& s, int row, int column) const;
    // The record's position in its set, as the row's position cells hold it.
    int16_t Position(int row) const;
    // The text cell of a record with a memo is marked (data layout only).
    bool MemoMarked(const KovaState& s, int row) const;
    // Which floated editor a click on a cell of `column` opens.
    GridEditor EditorFor(int column) const;

    // The set is still the one the grid was opened on, by number and order.
    bool UpToDate(const KovaState& s) const;
    // UpToDate, with a message that the grid is out of date when it is not.
    bool CheckUpToDate(const KovaState& s, KovaUi& ui) const;
    // The two-coder layout, with another file read in data set 2's place
    // (or the filter lines, which share its records) since it opened.
    bool SecondSetReplaced(const KovaState& s) const;
    // An out-of-date grid taken over to its set as the set now stands, rows
    // in the order of positions; false when the set has no records left or,
    // in the two-coder layout, when another file took data set 2's place.
    bool Rebind(const KovaState& s);

    // The Sort menu's item `index` (0..8, V0..V8): sorts by column index + 1;
    // item 0 restores the order of positions.
    void SortByMenuItem(const KovaState& s, int index);
    // A double click on the heading of `column` (or on its cell in row 1).
    void SortByColumn(const KovaState& s, int column);

    // A floated editor's text committed to a cell: the field of the record at
    // the row's position (and, under a shown selection, of the full set's
    // record that the record's number names) takes the text; V2 takes its
    // numeric value.
    GridEdit SetCell(KovaState& s, KovaUi& ui, int row, int column, const std::string& text);

    // The memo editor's target for a right click on `row`: the memo of the
    // record at the row's position in the set the main window showed (data
    // set 2 in the two-coder layout); invalid when the grid is out of date
    // (after a message) or, in the two-coder layout, when the row lies beyond
    // data set 2's count.
    MemoTarget MemoTargetForRow(const KovaState& s, KovaUi& ui, int row) const;

    // The rows in the order shown, each the texts of columns 1 to the text
    // column, for the listing of sorted data.
    std::vector<std::vector<std::string>> ListingRows(const KovaState& s) const;
    // The file of the listed set, after which the listing file is named.
    const std::string& ListedSetFileName(const KovaState& s) const;

private:
    // What the grid was opened on; compared before anything is stored.
    struct Binding {
        std::string fileName;
        int16_t count = 0;
        int16_t selectionShown = 0;
        uint64_t changeCount = 0;
        bool operator==(const Binding&) const = default;
    };
    static Binding BindingOf(const KovaState& s, int16_t set);

    const RecordSet& Records(const KovaState& s) const;
    const ProtocolRecord* RecordAt(const KovaState& s, int16_t position) const;
    std::string PositionText(int16_t position) const;
    // The comparison of the two-coder layout at a position: whether it is
    // compared, data set 2's value and whether the two differ.
    bool Compared(const KovaState& s, int16_t position, std::string* second, bool* differ) const;
    void Sort(const KovaState& s, int column, bool byPositionOnly);
    void Bind(const KovaState& s);
    // The grid's set holds records, all of them in its array.
    bool HoldsRecords(const KovaState& s) const;

    GridLayout layout_ = GridLayout::Data;
    int16_t compareVariable_ = 0;  // 1..7 in the two-coder layout, else 0
    std::vector<int16_t> order_;   // the position of every row, in the order shown
    int keySource_ = 0;            // the column last copied into the key column
    Binding binding_;
    Binding secondBinding_;  // data set 2, in the two-coder layout
};

}  // namespace core
