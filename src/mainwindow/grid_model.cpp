#include "mainwindow/grid_model.h"

#include <algorithm>

#include "store/record_edit.h"
#include "store/text.h"

namespace core {

namespace {

constexpr const char* kOutOfDate =
    "The grid view is out of date: the records have changed since it was opened, so nothing "
    "was stored. Close the grid view and open it again.";

// A V2 value, or a compared variable's value, as the grid shows it.
std::string FieldText(const ProtocolRecord& r, int k) {
    if (k == 2)
        return SignedNumber(r.V2);
    const std::string* field = TextField(r, k);
    return field != nullptr ? Trim(*field) : std::string();
}

}  // namespace

GridModel::Binding GridModel::BindingOf(const KovaState& s, int16_t set) {
    switch (set) {
        case 1:
            return {s.DataFileName1, s.RecordCount1, s.SelectionShown1, s.ChangeCount1};
        case 2:
            return {s.DataFileName2, s.RecordCount2, s.SelectionShown2, s.ChangeCount2};
        default:
            return {s.FilterFileName, s.FilterCount, s.SelectionShown2, s.ChangeCount2};
    }
}

std::optional<GridModel> GridModel::Open(const KovaState& s) {
    if (s.ViewMode < 1 || s.ViewMode > 3)
        return std::nullopt;
    GridModel grid;
    grid.layout_ = static_cast<GridLayout>(s.ViewMode);
    if (!grid.HoldsRecords(s))
        return std::nullopt;
    if (grid.layout_ == GridLayout::TwoCoder && s.CompareVariable >= 1 && s.CompareVariable <= 7)
        grid.compareVariable_ = s.CompareVariable;
    grid.Bind(s);
    return grid;
}

void GridModel::Bind(const KovaState& s) {
    const bool filter = layout_ == GridLayout::Filter;
    binding_ = BindingOf(s, filter ? 3 : 1);
    if (layout_ == GridLayout::TwoCoder)
        secondBinding_ = BindingOf(s, 2);
    const int16_t count = std::max<int16_t>(binding_.count, 0);
    order_.resize(static_cast<size_t>(count));
    for (int16_t i = 0; i < count; ++i)
        order_[static_cast<size_t>(i)] = static_cast<int16_t>(i + 1);
}

bool GridModel::SecondSetReplaced(const KovaState& s) const {
    return layout_ == GridLayout::TwoCoder && BindingOf(s, 2).fileName != secondBinding_.fileName;
}

bool GridModel::Rebind(const KovaState& s) {
    if (UpToDate(s))
        return true;
    // The fields of another data set 2 would show as the second coder's.
    if (SecondSetReplaced(s))
        return false;
    if (!HoldsRecords(s))
        return false;
    Bind(s);
    return true;
}

bool GridModel::HoldsRecords(const KovaState& s) const {
    const int16_t count = layout_ == GridLayout::Filter ? s.FilterCount : s.RecordCount1;
    return count >= 1 && static_cast<size_t>(count) < Records(s).size();
}

int GridModel::ColumnWidth(int column) const {
    if (layout_ == GridLayout::TwoCoder) {
        static constexpr int kWidths[13] = {500,  500,  1000, 500,   1000, 1000, 1000,
                                            1000, 1000, 1000, 10950, 500,  1000};
        return column >= 0 && column < 13 ? kWidths[column] : 0;
    }
    static constexpr int kWidths[12] = {500,  500,  1000, 500,   1000, 1000,
                                        1000, 1000, 1000, 10950, 500,  1000};
    if (column == 3 && layout_ == GridLayout::Filter)
        return 1000;
    return column >= 0 && column < 12 ? kWidths[column] : 0;
}

std::string GridModel::Header(const KovaState& s, int column) const {
    if (layout_ == GridLayout::TwoCoder) {
        if (column >= 1 && column <= 8)
            return s.Varnaam[static_cast<size_t>(column - 1)];
        if (column == 9)
            return compareVariable_ != 0 ? s.Varnaam[static_cast<size_t>(compareVariable_)] + "(2)"
                                         : std::string();
        if (column == 10)
            return s.Varnaam[8];
        return std::string();
    }
    if (column >= 1 && column <= 9)
        return s.Varnaam[static_cast<size_t>(column - 1)];
    return std::string();
}

const RecordSet& GridModel::Records(const KovaState& s) const {
    return layout_ == GridLayout::Filter ? s.Records2 : s.Records1;
}

const ProtocolRecord* GridModel::RecordAt(const KovaState& s, int16_t position) const {
    const RecordSet& records = Records(s);
    if (position < 1 || static_cast<size_t>(position) >= records.size())
        return nullptr;
    return &records[static_cast<size_t>(position)];
}

std::string GridModel::PositionText(int16_t position) const {
    return FormatNumber(position, layout_ == GridLayout::Filter ? "000" : "0000");
}

int16_t GridModel::Position(int row) const {
    if (row < 1 || row > RowCount())
        return 0;
    return order_[static_cast<size_t>(row - 1)];
}

bool GridModel::Compared(const KovaState& s, int16_t position, std::string* second,
                         bool* differ) const {
    if (compareVariable_ == 0)
        return false;
    const int16_t n = std::min(binding_.count, secondBinding_.count);
    if (position > n || static_cast<size_t>(position) >= s.Records2.size())
        return false;
    const ProtocolRecord* first = RecordAt(s, position);
    if (first == nullptr)
        return false;
    std::string value = FieldText(s.Records2[static_cast<size_t>(position)], compareVariable_);
    if (differ != nullptr)
        *differ = FieldText(*first, compareVariable_) != value;
    if (second != nullptr)
        *second = std::move(value);
    return true;
}

std::string GridModel::Cell(const KovaState& s, int row, int column) const {
    const int16_t position = Position(row);
    const ProtocolRecord* r = RecordAt(s, position);
    if (r == nullptr)
        return std::string();
    if (column == 0 || column == PositionColumn())
        return PositionText(position);
    if (column == KeyColumn())
        return Cell(s, row, keySource_);
    if (column == TextColumn())
        return Trim(r->V8);
    if (column == 1) {
        switch (layout_) {
            case GridLayout::Data:
                return Trim(SignedNumber(r->V0));
            case GridLayout::Filter:
                return SignedNumber(position);
            case GridLayout::TwoCoder: {
                bool differ = false;
                if (Compared(s, position, nullptr, &differ))
                    return differ ? "DIF" : "";
                return SignedNumber(position);
            }
        }
    }
    if (layout_ == GridLayout::TwoCoder && column == 9) {
        std::string second;
        Compared(s, position, &second, nullptr);
        return second;
    }
    if (column >= 2 && column <= 8)
        return FieldText(*r, column - 1);
    return std::string();
}

bool GridModel::MemoMarked(const KovaState& s, int row) const {
    if (layout_ != GridLayout::Data)
        return false;
    const ProtocolRecord* r = RecordAt(s, Position(row));
    return r != nullptr && !r->Memo.empty();
}

GridEditor GridModel::EditorFor(int column) const {
    if (column == TextColumn())
        return GridEditor::Text;
    if (column < 1 || column >= ColumnCount())
        return GridEditor::None;
    if (layout_ == GridLayout::TwoCoder)
        return column <= 8 ? GridEditor::Combo : GridEditor::None;
    return GridEditor::Combo;
}

bool GridModel::UpToDate(const KovaState& s) const {
    if (BindingOf(s, layout_ == GridLayout::Filter ? 3 : 1) != binding_)
        return false;
    return layout_ != GridLayout::TwoCoder || BindingOf(s, 2) == secondBinding_;
}

bool GridModel::CheckUpToDate(const KovaState& s, KovaUi& ui) const {
    if (UpToDate(s))
        return true;
    ui.Message(kOutOfDate, kProgramTitle, Icon::Exclamation);
    return false;
}

void GridModel::Sort(const KovaState& s, int column, bool byPositionOnly) {
    // The key column takes a copy of the chosen column (copying the key
    // column onto itself leaves it as it is).
    if (column != KeyColumn())
        keySource_ = column;
    // The position columns hold the positions zero-padded to a few digits
    // only: compared as text, 10000 would come before 9999.
    if (byPositionOnly || keySource_ == 0 || keySource_ == PositionColumn()) {
        std::sort(order_.begin(), order_.end());
        return;
    }
    // One key per position, made once: the comparison then only compares.
    const size_t size = Records(s).size();
    std::vector<std::string> keys(size);
    for (int row = 1; row <= RowCount(); ++row) {
        const int16_t position = Position(row);
        if (static_cast<size_t>(position) < size)
            keys[static_cast<size_t>(position)] = Cell(s, row, KeyColumn());
    }
    auto key = [&keys](int16_t position) -> const std::string& {
        static const std::string kEmpty;
        return static_cast<size_t>(position) < keys.size() ? keys[static_cast<size_t>(position)]
                                                           : kEmpty;
    };
    // Text without regard to case, then the position: every row has its own
    // position, so equal keys keep the order of positions.
    std::sort(order_.begin(), order_.end(), [&key](int16_t a, int16_t b) {
        const int c = CompareCategories(key(a), key(b));
        return c != 0 ? c < 0 : a < b;
    });
}

void GridModel::SortByMenuItem(const KovaState& s, int index) {
    if (index < 0 || index > 8)
        return;
    Sort(s, index + 1, index == 0);
}

void GridModel::SortByColumn(const KovaState& s, int column) {
    if (column < 0 || column >= ColumnCount())
        return;
    Sort(s, column, layout_ != GridLayout::TwoCoder && column == 1);
}

GridEdit GridModel::SetCell(KovaState& s, KovaUi& ui, int row, int column,
                            const std::string& text) {
    int field = -1;  // the record field the column shows
    if (column >= 2 && column <= 8)
        field = column - 1;
    else if (column == TextColumn())
        field = 8;
    const int16_t position = Position(row);
    if (field < 0 || position == 0 || text == Cell(s, row, column))
        return GridEdit::Unchanged;
    if (!CheckUpToDate(s, ui))
        return GridEdit::OutOfDate;
    int16_t number = 0;
    if (field == 2) {
        try {
            number = ReadInt16(text);
        } catch (const Overflow16&) {
            ui.Message("A sequence number is a whole number from -32768 to 32767.", "Error",
                       Icon::Exclamation);
            return GridEdit::Refused;
        }
    }
    const bool filter = layout_ == GridLayout::Filter;
    RecordSet& records = filter ? s.Records2 : s.Records1;
    ProtocolRecord& record = records[static_cast<size_t>(position)];
    // Behind a selection the shown record is saved in the full set's place.
    FieldGrowth growth;
    if (field == 2)
        growth.Number(record, number);
    else
        growth.Field(record, field, text);
    if (!FitsFieldWrite(s, ui, filter ? 3 : 1, growth))
        return GridEdit::TooLarge;
    auto write = [&](ProtocolRecord& r) {
        if (field == 2)
            r.V2 = number;
        else
            *TextField(r, field) = text;
    };
    write(record);
    const bool selectionShown = (filter ? s.SelectionShown2 : s.SelectionShown1) != 0;
    if (selectionShown) {
        RecordSet& full = filter ? s.FullRecords2 : s.FullRecords1;
        const int16_t fullCount = filter ? s.FullFilterCount : s.FullCount1;
        if (record.V0 >= 1 && record.V0 <= fullCount &&
            static_cast<size_t>(record.V0) < full.size())
            write(full[static_cast<size_t>(record.V0)]);
    }
    return GridEdit::Stored;
}

MemoTarget GridModel::MemoTargetForRow(const KovaState& s, KovaUi& ui, int row) const {
    const int16_t position = Position(row);
    if (position == 0)
        return MemoTarget{};
    if (layout_ == GridLayout::TwoCoder && position > s.RecordCount2)
        return MemoTarget{};
    if (!CheckUpToDate(s, ui))
        return MemoTarget{};
    // The two-coder layout is opened from data set 2's view: its memos are
    // the second coder's, of the record at the row's position.
    int16_t set = 1;
    if (layout_ == GridLayout::Filter)
        set = 3;
    else if (layout_ == GridLayout::TwoCoder)
        set = 2;
    MemoTarget t = MemoTargetForSetPosition(s, set, position, static_cast<int16_t>(row));
    t.caption = "Memo at " + SignedNumber(position);
    return t;
}

std::vector<std::vector<std::string>> GridModel::ListingRows(const KovaState& s) const {
    std::vector<std::vector<std::string>> rows;
    rows.reserve(order_.size());
    for (int row = 1; row <= RowCount(); ++row) {
        std::vector<std::string> cells;
        cells.reserve(static_cast<size_t>(TextColumn()));
        for (int column = 1; column <= TextColumn(); ++column)
            cells.push_back(Cell(s, row, column));
        rows.push_back(std::move(cells));
    }
    return rows;
}

const std::string& GridModel::ListedSetFileName(const KovaState& s) const {
    return layout_ == GridLayout::Filter ? s.FilterFileName : s.DataFileName1;
}

}  // namespace core
