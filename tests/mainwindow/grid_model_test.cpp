// The grid view's table without drawing it: cells of the three layouts, the
// sort order, edits written back into the records and the memo target.
#include "mainwindow/grid_model.h"

#include <gtest/gtest.h>

#include <vector>

#include "store/text.h"
#include "support/fake_ui.h"

namespace {

using core::GridEdit;
using core::GridModel;

core::ProtocolRecord Rec(int16_t v0, std::vector<std::string> fields, int16_t v2 = 1) {
    core::ProtocolRecord r;
    r.V0 = v0;
    r.V2 = v2;
    fields.resize(7);
    r.V1 = fields[0];
    r.V3 = fields[1];
    r.V4 = fields[2];
    r.V5 = fields[3];
    r.V6 = fields[4];
    r.V7 = fields[5];
    r.V8 = fields[6];
    return r;
}

struct Grid : ::testing::Test {
    core::KovaState s;
    test::FakeUi ui;

    Grid() {
        for (int k = 0; k <= 8; ++k)
            s.Varnaam[static_cast<size_t>(k)] = "L" + std::to_string(k);
        s.DataFileName1 = "/p/talk.kov";
    }
    // Data set 1 of `count` records with V4 taken from `codes` (cycled).
    void Set1(int count, const std::vector<std::string>& codes = {"a"}) {
        s.Records1.assign(1, core::ProtocolRecord{});
        for (int k = 1; k <= count; ++k)
            s.Records1.push_back(
                Rec(static_cast<int16_t>(k), {" 0:0" + std::to_string(k % 10), "T",
                                              codes[static_cast<size_t>(k - 1) % codes.size()], "",
                                              "", "", " text " + std::to_string(k) + " "}));
        s.RecordCount1 = static_cast<int16_t>(count);
        s.ViewMode = 1;
    }
    std::vector<int> Order(const GridModel& g) const {
        std::vector<int> positions;
        for (int row = 1; row <= g.RowCount(); ++row)
            positions.push_back(g.Position(row));
        return positions;
    }
    std::vector<std::string> Row(const GridModel& g, int row) const {
        std::vector<std::string> cells;
        for (int c = 0; c < g.ColumnCount(); ++c)
            cells.push_back(g.Cell(s, row, c));
        return cells;
    }
};

TEST_F(Grid, DataLayoutCellsHeadersAndMemoMarks) {
    Set1(3);
    s.Records1[2].Memo = "note";
    s.Records1[2].V2 = -4;
    s.Records1[2].V7 = " x ";
    auto g = GridModel::Open(s);
    ASSERT_TRUE(g);
    EXPECT_EQ(g->Layout(), core::GridLayout::Data);
    ASSERT_EQ(g->RowCount(), 3);
    ASSERT_EQ(g->ColumnCount(), 12);
    EXPECT_EQ(Row(*g, 2), (std::vector<std::string>{"0002", "2", "0:02", "-4", "T", "a", "", "",
                                                    "x", "text 2", "0002", "0002"}));
    EXPECT_EQ(Row(*g, 3)[3], " 1");
    std::vector<std::string> headers;
    std::vector<int> widths;
    for (int c = 0; c < 12; ++c) {
        headers.push_back(g->Header(s, c));
        widths.push_back(g->ColumnWidth(c));
    }
    EXPECT_EQ(headers, (std::vector<std::string>{"", "L0", "L1", "L2", "L3", "L4", "L5", "L6", "L7",
                                                 "L8", "", ""}));
    EXPECT_EQ(widths, (std::vector<int>{500, 500, 1000, 500, 1000, 1000, 1000, 1000, 1000, 10950,
                                        500, 1000}));
    EXPECT_FALSE(g->MemoMarked(s, 1));
    EXPECT_TRUE(g->MemoMarked(s, 2));
    // The grid reads the records: a memo added later is marked too.
    s.Records1[3].Memo = "later";
    EXPECT_TRUE(g->MemoMarked(s, 3));
}

TEST_F(Grid, FilterLayoutNumbersLinesByPosition) {
    s.Records2.assign(1, core::ProtocolRecord{});
    for (int k = 1; k <= 12; ++k)
        s.Records2.push_back(Rec(static_cast<int16_t>(k), {"", "*"}, k == 12 ? 999 : 0));
    s.FilterCount = 12;
    s.FilterFileName = "/p/rules.fil";
    s.ViewMode = 3;
    auto g = GridModel::Open(s);
    ASSERT_TRUE(g);
    EXPECT_EQ(Row(*g, 1)[0], "001");
    EXPECT_EQ(Row(*g, 1)[1], " 1");
    EXPECT_EQ(Row(*g, 12), (std::vector<std::string>{"012", " 12", "", " 999", "*", "", "", "", "",
                                                     "", "012", "012"}));
    EXPECT_EQ(g->ColumnWidth(3), 1000);
    EXPECT_FALSE(g->MemoMarked(s, 1));
    EXPECT_EQ(g->ListedSetFileName(s), "/p/rules.fil");
}

TEST_F(Grid, TwoCoderLayoutMarksDifferences) {
    Set1(5, {"Q", "A", "E", "Q", "R"});
    s.Records2 = {core::ProtocolRecord{}, Rec(1, {"", "", "Q"}), Rec(2, {"", "", "a"}),
                  Rec(3, {"", "", " E "}, 7)};
    s.RecordCount2 = 3;
    s.ViewMode = 2;
    struct Case {
        int16_t variable;
        std::vector<std::string> marks;   // column 1, rows 1..5
        std::vector<std::string> second;  // column 9
        std::string header;
    };
    const Case cases[] = {
        {4, {"", "DIF", "", " 4", " 5"}, {"Q", "a", "E", "", ""}, "L4(2)"},
        {2, {"", "", "DIF", " 4", " 5"}, {" 1", " 1", " 7", "", ""}, "L2(2)"},
        {8, {" 1", " 2", " 3", " 4", " 5"}, {"", "", "", "", ""}, ""},
        {0, {" 1", " 2", " 3", " 4", " 5"}, {"", "", "", "", ""}, ""},
    };
    for (const Case& c : cases) {
        s.CompareVariable = c.variable;
        auto g = GridModel::Open(s);
        ASSERT_TRUE(g);
        ASSERT_EQ(g->ColumnCount(), 13);
        std::vector<std::string> marks, second;
        for (int row = 1; row <= 5; ++row) {
            marks.push_back(g->Cell(s, row, 1));
            second.push_back(g->Cell(s, row, 9));
        }
        EXPECT_EQ(marks, c.marks) << c.variable;
        EXPECT_EQ(second, c.second) << c.variable;
        EXPECT_EQ(g->Header(s, 9), c.header);
        EXPECT_EQ(g->Header(s, 10), "L8");
        EXPECT_EQ(g->Cell(s, 2, 10), "text 2");
        EXPECT_EQ(g->Cell(s, 2, 12), "0002");
    }
    // A double click on the marks: empty marks, then the rows not compared,
    // then "DIF"; ties by position.
    s.CompareVariable = 4;
    auto g = GridModel::Open(s);
    g->SortByColumn(s, 1);
    EXPECT_EQ(Order(*g), (std::vector<int>{1, 3, 4, 5, 2}));
    // Item 8 sorts by the second coder's column.
    g->SortByMenuItem(s, 8);
    EXPECT_EQ(Order(*g), (std::vector<int>{4, 5, 2, 3, 1}));
    g->SortByMenuItem(s, 0);
    EXPECT_EQ(Order(*g), (std::vector<int>{1, 2, 3, 4, 5}));
    // Listing rows: ten cells, in the order shown.
    auto rows = g->ListingRows(s);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[1],
              (std::vector<std::string>{"DIF", "0:02", " 1", "T", "A", "", "", "", "a", "text 2"}));
}

TEST_F(Grid, SortOrders) {
    Set1(5, {"b", "a", "B", "d", "a"});
    s.Records1[1].V2 = 9;
    s.Records1[2].V2 = 10;
    auto g = GridModel::Open(s);
    ASSERT_TRUE(g);
    struct Step {
        const char* name;
        bool menu;
        int index;  // menu item or column
        std::vector<int> order;
        std::string key1;  // key column of row 1 afterwards
    };
    const Step steps[] = {
        {"V4 by menu: b and B equal, ties by position", true, 4, {2, 5, 1, 3, 4}, "a"},
        {"record numbers restore the order", true, 0, {1, 2, 3, 4, 5}, "1"},
        {"V2 as text: \" 10\" before \" 9\"", true, 2, {3, 4, 5, 2, 1}, " 1"},
        {"V4 by its header", false, 5, {2, 5, 1, 3, 4}, "a"},
        {"header of column 1 restores the order", false, 1, {1, 2, 3, 4, 5}, "1"},
        {"the key column itself keeps its copies", false, 10, {1, 2, 3, 4, 5}, "1"},
        {"the position column", false, 11, {1, 2, 3, 4, 5}, "0001"},
        {"V8 text", false, 9, {1, 2, 3, 4, 5}, "text 1"},
    };
    for (const Step& step : steps) {
        if (step.menu)
            g->SortByMenuItem(s, step.index);
        else
            g->SortByColumn(s, step.index);
        EXPECT_EQ(Order(*g), step.order) << step.name;
        EXPECT_EQ(g->Cell(s, 1, 10), step.key1) << step.name;
        EXPECT_EQ(g->Cell(s, 1, 11), core::FormatNumber(step.order[0], "0000")) << step.name;
    }
}

TEST_F(Grid, TiesFollowPositionsBeyondFourDigits) {
    Set1(10001);
    auto g = GridModel::Open(s);
    g->SortByMenuItem(s, 4);  // every V4 is "a"
    EXPECT_EQ(g->Position(9999), 9999);
    EXPECT_EQ(g->Position(10000), 10000);
    EXPECT_EQ(g->Cell(s, 10000, 0), "10000");
}

// The position columns sort as numbers: 10000 after 9999, line 1000 after 999.
TEST_F(Grid, PositionColumnsSortAsNumbers) {
    for (int16_t viewMode : {1, 3}) {
        Set1(viewMode == 1 ? 10001 : 1000);
        s.Records2 = s.Records1;
        s.FilterCount = s.RecordCount1;
        s.FilterFileName = "/p/rules.fil";
        s.ViewMode = viewMode;
        auto g = GridModel::Open(s);
        for (int column : {0, 11}) {
            g->SortByColumn(s, 9);  // text order: 1, 10, 100, ...
            g->SortByColumn(s, column);
            EXPECT_EQ(g->Position(s.RecordCount1), s.RecordCount1) << viewMode << " " << column;
        }
    }
}

TEST_F(Grid, EditsReachTheRecordAtTheRowsPosition) {
    Set1(3, {"b", "a", "c"});
    auto g = GridModel::Open(s);
    g->SortByMenuItem(s, 4);  // rows: positions 2, 1, 3
    ASSERT_EQ(g->Position(1), 2);
    struct Case {
        int column;
        std::string text;
        GridEdit result;
    };
    const Case cases[] = {
        {5, "a", GridEdit::Unchanged},  // the code it holds already
        {5, "Q", GridEdit::Stored},
        {2, "1:00", GridEdit::Stored},
        {3, "12abc", GridEdit::Stored},
        {8, "z", GridEdit::Stored},
        {9, "new\r\ntext", GridEdit::Stored},
        {1, "77", GridEdit::Unchanged},  // the record number is no field
        {10, "k", GridEdit::Unchanged},
        {0, "9", GridEdit::Unchanged},
        {3, "40000", GridEdit::Refused},
    };
    for (const Case& c : cases)
        EXPECT_EQ(g->SetCell(s, ui, 1, c.column, c.text), c.result) << c.column << c.text;
    const core::ProtocolRecord& r = s.Records1[2];
    EXPECT_EQ(r.V4, "Q");
    EXPECT_EQ(r.V1, "1:00");
    EXPECT_EQ(r.V2, 12);
    EXPECT_EQ(r.V7, "z");
    EXPECT_EQ(r.V8, "new\r\ntext");
    EXPECT_EQ(r.V0, 2);
    EXPECT_EQ(s.Records1[1].V4, "b");
    EXPECT_EQ(ui.messages.size(), 1u);  // the refused number
    EXPECT_EQ(g->Cell(s, 1, 5), "Q");
}

TEST_F(Grid, EditsUnderASelectionReachTheFullSetToo) {
    Set1(2);
    s.FullRecords1 = s.Records1;
    s.FullRecords1.resize(41);
    s.FullCount1 = 40;
    s.Records1[2].V0 = 40;
    s.SelectionShown1 = core::kTrue;
    auto g = GridModel::Open(s);
    EXPECT_EQ(g->SetCell(s, ui, 2, 4, "P2"), GridEdit::Stored);
    EXPECT_EQ(s.Records1[2].V3, "P2");
    EXPECT_EQ(s.FullRecords1[40].V3, "P2");
    EXPECT_EQ(s.FullRecords1[2].V3, "T");
}

TEST_F(Grid, NothingIsStoredThroughAGridThatIsOutOfDate) {
    Set1(3);
    s.Records1[3].Memo = "old";
    auto g = GridModel::Open(s);
    core::MemoTarget before = g->MemoTargetForRow(s, ui, 3);
    ASSERT_TRUE(before.valid);
    ++s.ChangeCount1;  // for example a record cut in the main window
    EXPECT_EQ(g->SetCell(s, ui, 1, 5, "Q"), GridEdit::OutOfDate);
    EXPECT_EQ(s.Records1[1].V4, "a");
    EXPECT_FALSE(g->MemoTargetForRow(s, ui, 1).valid);
    EXPECT_EQ(ui.messages.size(), 2u);
    // The memo editor opened before the change stores nothing either.
    EXPECT_EQ(core::StoreMemo(s, ui, before, false, "new"), core::MemoStore::Refused);
    EXPECT_EQ(s.Records1[3].Memo, "old");

    // Another file opened in place of the set.
    auto again = GridModel::Open(s);
    s.DataFileName1 = "/p/other.kov";
    EXPECT_FALSE(again->UpToDate(s));
}

// A two-coder grid is taken over to data set 2 as edited, never to a set
// read in its place: that set's fields are no second coder's.
TEST_F(Grid, ATwoCoderGridFollowsEditsOfDataSetTwoOnly) {
    Set1(3);
    s.Records2 = s.Records1;
    s.RecordCount2 = 3;
    s.DataFileName2 = "/p/two.kov";
    s.ViewMode = 2;
    auto g = GridModel::Open(s);
    ++s.ChangeCount2;  // records edited in data set 2
    EXPECT_TRUE(g->Rebind(s));
    s.DataFileName2 = "/p/other.kov";  // another data set 2 opened
    EXPECT_FALSE(g->Rebind(s));
    s.DataFileName2.clear();  // a filter file opened in its place
    EXPECT_FALSE(g->Rebind(s));
}

TEST_F(Grid, MemoOfARowGoesByItsPosition) {
    Set1(10, {"b", "b", "b", "b", "b", "b", "b", "b", "a", "a"});
    s.Records1[9].Memo = "nine";
    auto g = GridModel::Open(s);
    g->SortByMenuItem(s, 4);  // rows: 9, 10, 1, 2, ...
    g->SortByColumn(s, 5);
    core::MemoTarget t = g->MemoTargetForRow(s, ui, 1);
    ASSERT_TRUE(t.valid);
    EXPECT_EQ(t.caption, "Memo at  9");
    EXPECT_EQ(t.set, 1);
    EXPECT_EQ(t.position, 9);
    EXPECT_EQ(t.row, 1);
    EXPECT_EQ(core::MemoTargetText(s, t), "nine");

    // Two coders: the memo is data set 2's, the set the main window showed;
    // rows beyond data set 2 do nothing.
    s.ViewMode = 2;
    s.Records2 = {core::ProtocolRecord{}, Rec(1, {}), Rec(2, {})};
    s.Records2[1].Memo = "coder two";
    s.RecordCount2 = 2;
    auto two = GridModel::Open(s);
    core::MemoTarget first = two->MemoTargetForRow(s, ui, 1);
    EXPECT_EQ(first.set, 2);
    EXPECT_EQ(core::MemoTargetText(s, first), "coder two");
    EXPECT_FALSE(two->MemoTargetForRow(s, ui, 3).valid);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Grid, NoGridWithoutRecords) {
    s.ViewMode = 0;
    EXPECT_FALSE(GridModel::Open(s));
    Set1(0);
    EXPECT_FALSE(GridModel::Open(s));
    s.ViewMode = 3;
    EXPECT_FALSE(GridModel::Open(s));
}

}  // namespace
