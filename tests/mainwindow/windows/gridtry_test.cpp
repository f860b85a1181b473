// The grid view driven through its controls: the floated code box and text
// box write into the records, sorting by a heading, the memo on a right
// click, and the main window's "Grid" button.
#include "mainwindow/windows/gridtry.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <tuple>

#include "mainwindow/daily_fixture.h"
#include "mainwindow/windows/memo.h"
#include "support/main_window_fixture.h"
#include "widgets/window_util.h"

namespace {

using test::Click;
using test::Key;

void Type(QWidget* target, const QString& text) {
    for (QChar c : text)
        Key(target, c.unicode(), Qt::NoModifier, QString(c));
}

void Press(QWidget* target, QPoint at, Qt::MouseButton button, QEvent::Type type) {
    QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// The centre of a cell of the grid; row 1 is the first record's.
QPoint CellCentre(gridtry* g, int row, int column) {
    return g->MSFlexGrid1->visualRect(g->MSFlexGrid1->model()->index(row - 1, column)).center();
}

struct GridWindow : test::GuiTest {
    std::unique_ptr<gridtry> w;
    std::vector<core::MemoTarget> memos;  // the memo editor's openings
    Memo* memoWindow = nullptr;           // the editor they open, if any

    void Open(int count) {
        s.Records1.assign(1, core::ProtocolRecord{});
        const char* codes[] = {"b", "a", "c", "a"};
        for (int k = 1; k <= count; ++k) {
            core::ProtocolRecord r;
            r.V0 = static_cast<int16_t>(k);
            r.V1 = "0:00:0" + std::to_string(k % 10);
            r.V2 = 1;
            r.V3 = "T";
            r.V4 = codes[(k - 1) % 4];
            r.V8 = " text " + std::to_string(k) + " ";
            s.Records1.push_back(r);
        }
        s.RecordCount1 = static_cast<int16_t>(count);
        s.DataFileName1 = dir.File("talk.kov");
        s.CategoryLists[4] = {"A", "Q", "R"};
        s.ViewMode = 1;
        auto grid = core::GridModel::Open(s);
        ASSERT_TRUE(grid);
        w = std::make_unique<gridtry>(s, fake, std::move(*grid),
                                      [this](const core::MemoTarget& t, QPoint) -> Memo* {
                                          memos.push_back(t);
                                          if (memoWindow != nullptr) {
                                              memoWindow->Open(t);
                                              memoWindow->ShowModeless();
                                          }
                                          return memoWindow;
                                      });
        w->setAttribute(Qt::WA_DeleteOnClose, false);
        w->show();
        QApplication::processEvents();
    }
    QWidget* Cells() const { return w->MSFlexGrid1->viewport(); }
    QPoint CellAt(int row, int column) const { return CellCentre(w.get(), row, column); }
    void ClickCell(int row, int column, Qt::MouseButton button = Qt::LeftButton) {
        Click(Cells(), CellAt(row, column), button);
    }
    void ReplaceComboText(const QString& text) {
        w->Combo1->lineEdit()->selectAll();
        Type(w->Combo1->lineEdit(), text);
    }
    void TearDown() override { w.reset(); }
};

TEST_F(GridWindow, CodeBoxWritesIntoTheRecordWhenChanged) {
    Open(4);
    ClickCell(2, 5);
    ASSERT_TRUE(w->Combo1->isVisible());
    EXPECT_EQ(w->Combo1->currentText(), "a");
    EXPECT_EQ(w->Combo1->geometry().topLeft(),
              w->MSFlexGrid1->visualRect(w->MSFlexGrid1->model()->index(1, 5)).topLeft());

    // The list shows the categories of V4 in list order; one is chosen.
    w->Combo1->showPopup();
    ASSERT_EQ(w->Combo1->count(), 3);
    EXPECT_EQ(w->Combo1->itemText(1), "Q");
    QAbstractItemView* list = w->Combo1->view();
    list->setCurrentIndex(list->model()->index(1, 0));
    Key(list, Qt::Key_Return);
    EXPECT_EQ(s.Records1[2].V4, "Q");
    EXPECT_TRUE(w->Combo1->isVisible());  // it stays over its cell

    // Typed into the box over V3 and left by a click on another cell.
    ClickCell(3, 4);
    ReplaceComboText("P1");
    ClickCell(1, 2);
    EXPECT_EQ(s.Records1[3].V3, "P1");

    // A box opened and left without a change writes nothing: V1 keeps its bytes.
    s.Records1[1].V1 = " 0:00:01 ";
    ClickCell(1, 2);
    ClickCell(4, 8);
    EXPECT_EQ(s.Records1[1].V1, " 0:00:01 ");
    // Nor does a field longer than the box can hold.
    s.Records1[2].V3 = std::string(40000, 'T');
    ClickCell(2, 4);
    ClickCell(4, 8);
    EXPECT_EQ(s.Records1[2].V3.size(), 40000u);

    // V2 takes the number at the start of the text.
    ClickCell(4, 3);
    ReplaceComboText("12abc");
    Key(w->Combo1->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(s.Records1[4].V2, 12);
    EXPECT_TRUE(fake.messages.empty());
}

// A long label heads its column cut; a long category, listed cut, is stored
// whole.
TEST_F(GridWindow, ALongLabelAndCategoryShowCutAndAreStoredWhole) {
    Open(4);
    const std::string category(kMaxShownLineBytes + 1, 'q');
    s.Varnaam[4] = category;
    s.CategoryLists[4] = {category};
    ClickCell(2, 5);
    w->Combo1->showPopup();
    EXPECT_EQ(w->MSFlexGrid1->model()->headerData(5, Qt::Horizontal).toString().size(),
              kMaxShownLineBytes);
    EXPECT_EQ(w->Combo1->itemText(0).size(), kMaxShownLineBytes);
    w->Combo1->view()->setCurrentIndex(w->Combo1->view()->model()->index(0, 0));
    Key(w->Combo1->view(), Qt::Key_Return);
    EXPECT_TRUE(s.Records1[2].V4 == category);

    // With the cut item current, what is typed over it is stored.
    ClickCell(3, 5);
    w->Combo1->showPopup();
    w->Combo1->hidePopup();
    ASSERT_EQ(w->Combo1->currentIndex(), 0);
    ReplaceComboText("typed");
    Key(w->Combo1->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(s.Records1[3].V4 == "typed") << s.Records1[3].V4.size();
}

TEST_F(GridWindow, TypedCodeIsStoredAsTyped) {
    Open(4);
    // Codes are case-sensitive and typed whole: neither "q" nor "Q" is the
    // listed "Qx".
    s.CategoryLists[4] = {"A", "Qx", "R"};
    ClickCell(1, 5);
    w->Combo1->showPopup();
    w->Combo1->hidePopup();
    ReplaceComboText("q");
    ClickCell(2, 2);
    EXPECT_EQ(s.Records1[1].V4, "q");
    ClickCell(3, 5);
    w->Combo1->showPopup();
    w->Combo1->hidePopup();
    ReplaceComboText("Q");
    Key(w->Combo1->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(s.Records1[3].V4, "Q");

    // Typed, then the main window's Save is clicked: the code is in the
    // record before the file is written.
    ClickCell(2, 6);
    ReplaceComboText("L9");
    QFocusEvent leave(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(w->Combo1, &leave);
    EXPECT_EQ(s.Records1[2].V5, "L9");
}

TEST_F(GridWindow, TextBoxWritesTheTextIntoTheRecord) {
    Open(3);
    // The text column is wider than the window: a click on it does not
    // scroll the grid sideways, which would take the box away again.
    w->resize(600, 400);
    QApplication::processEvents();
    ClickCell(2, 9);
    EXPECT_EQ(w->MSFlexGrid1->horizontalScrollBar()->value(), 0);
    ASSERT_TRUE(w->RichTextBox1->isVisible());
    EXPECT_EQ(w->RichTextBox1->toPlainText(), "text 2");
    // Opened and closed without typing: V8 keeps its blanks.
    ClickCell(1, 2);
    EXPECT_FALSE(w->RichTextBox1->isVisible());
    EXPECT_EQ(s.Records1[2].V8, " text 2 ");
    // Nor does a no-break space turn into a blank.
    s.Records1[1].V8 = "one\xA0two";
    ClickCell(1, 9);
    ClickCell(2, 2);
    EXPECT_EQ(s.Records1[1].V8, "one\xA0two");

    ClickCell(3, 9);
    // A key typed on the grid itself searches no row.
    QTest::keyClicks(w->MSFlexGrid1, "t");
    EXPECT_EQ(w->Row(), 3);
    ASSERT_TRUE(w->RichTextBox1->isVisible());
    w->RichTextBox1->setFocus();
    w->RichTextBox1->moveCursor(QTextCursor::End);
    Type(w->RichTextBox1, "!");
    Key(w->RichTextBox1, Qt::Key_Return, Qt::NoModifier, "\r");
    Type(w->RichTextBox1, "ok");
    ClickCell(1, 4);
    EXPECT_EQ(s.Records1[3].V8, "text 3!\r\nok");
    EXPECT_EQ(w->MSFlexGrid1->model()->index(2, 9).data().toString(), "text 3!\nok");
}

TEST_F(GridWindow, ScrollingStoresWhatWasTypedAndHidesTheBoxes) {
    Open(200);
    ClickCell(1, 6);
    ReplaceComboText("R");
    w->MSFlexGrid1->verticalScrollBar()->setValue(50);
    EXPECT_FALSE(w->Combo1->isVisible());
    EXPECT_EQ(s.Records1[1].V5, "R");
}

TEST_F(GridWindow, HeadingDoubleClickSortsAndEditsFollowThePosition) {
    Open(4);  // V4: b, a, c, a
    QHeaderView* header = w->MSFlexGrid1->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(5) + 5, header->height() / 2);
    Click(header->viewport(), at);
    EXPECT_EQ(w->Row(), 1);
    EXPECT_EQ(w->Col(), 5);
    Press(header->viewport(), at, Qt::LeftButton, QEvent::MouseButtonDblClick);
    Press(header->viewport(), at, Qt::LeftButton, QEvent::MouseButtonRelease);
    std::vector<int> order;
    for (int row = 1; row <= 4; ++row)
        order.push_back(w->Grid().Position(row));
    EXPECT_EQ(order, (std::vector<int>{2, 4, 1, 3}));
    EXPECT_EQ(w->MSFlexGrid1->model()->index(0, 0).data().toString(), "0002");

    // A double click on a cell below row 1 sorts nothing.
    ClickCell(3, 2);
    Press(Cells(), CellAt(3, 2), Qt::LeftButton, QEvent::MouseButtonDblClick);
    EXPECT_EQ(w->Grid().Position(3), 1);

    // The edit of row 3 lands in record 1, whose position the row holds.
    ClickCell(3, 4);
    ReplaceComboText("Z");
    Key(w->Combo1->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(s.Records1[1].V3, "Z");
    EXPECT_EQ(s.Records1[3].V3, "T");

    // Sort menu item 0 restores the order.
    w->mnuSortItem[0]->trigger();
    EXPECT_EQ(w->Grid().Position(3), 3);
}

// A double click on a cell of row 1 sorts by its column, although the box
// floated by its first click takes the second.
TEST_F(GridWindow, DoubleClickOnACellOfRowOneSorts) {
    Open(4);  // V4: b, a, c, a
    ASSERT_TRUE(test::Activate(w.get()));
    // From the order of positions by V4, then from the order by V4 by V8.
    const std::tuple<int, int, std::vector<int>> cases[] = {{0, 5, {2, 4, 1, 3}},
                                                            {4, 9, {1, 2, 3, 4}}};
    for (const auto& [startItem, column, order] : cases) {
        SCOPED_TRACE(column);
        w->mnuSortItem[startItem]->trigger();
        const QRect cell = w->MSFlexGrid1->visualRect(w->MSFlexGrid1->model()->index(0, column));
        QTest::mouseDClick(w->windowHandle(), Qt::LeftButton, {},
                           Cells()->mapTo(w.get(), cell.topLeft() + QPoint(5, 5)));
        QApplication::processEvents();
        std::vector<int> positions;
        for (int row = 1; row <= 4; ++row)
            positions.push_back(w->Grid().Position(row));
        EXPECT_EQ(positions, order);
    }
}

// Five-digit positions and record numbers show whole.
TEST_F(GridWindow, FiveDigitNumbersFitTheirColumns) {
    Open(10001);
    w->MSFlexGrid1->scrollToBottom();
    QApplication::processEvents();
    QAbstractItemView* view = w->MSFlexGrid1;  // where the hint is public
    for (int column : {0, 1, 11}) {
        SCOPED_TRACE(column);
        EXPECT_GE(w->MSFlexGrid1->columnWidth(column), view->sizeHintForColumn(column));
    }
}

TEST_F(GridWindow, RightClickOpensTheMemoOfTheRowsRecord) {
    Open(4);
    w->mnuSortItem[4]->trigger();  // rows: 2, 4, 1, 3
    ClickCell(3, 9, Qt::RightButton);
    ASSERT_EQ(memos.size(), 1u);
    EXPECT_EQ(memos[0].position, 1);
    EXPECT_EQ(memos[0].caption, "Memo at  1");
    EXPECT_EQ(s.MemoRecord, 3);
    // Column 0 and a stale grid open nothing.
    ClickCell(3, 0, Qt::RightButton);
    ++s.ChangeCount1;
    ClickCell(2, 9, Qt::RightButton);
    EXPECT_EQ(memos.size(), 1u);
    EXPECT_EQ(fake.messages.size(), 1u);
}

TEST_F(GridWindow, MemoTypedFromASortedGridReachesTheRowsRecord) {
    Memo memo(s, fake);
    memoWindow = &memo;
    Open(4);
    w->mnuSortItem[4]->trigger();  // rows: 2, 4, 1, 3
    ClickCell(4, 9, Qt::RightButton);
    ASSERT_EQ(memos.size(), 1u);
    ASSERT_TRUE(memo.isVisible());
    EXPECT_EQ(memo.windowTitle(), "Memo at  3");
    memo.TextBox1->setFocus();
    Type(memo.TextBox1, "seen");
    memo.Command1[0]->click();
    EXPECT_EQ(s.Records1[3].Memo, "seen");
    EXPECT_TRUE(w->Grid().MemoMarked(s, 4));
    EXPECT_EQ(w->MSFlexGrid1->model()->index(3, 9).data(Qt::BackgroundRole).value<QColor>(),
              QColor(255, 255, 128));
}

TEST_F(GridWindow, AnOutOfDateGridStoresNothing) {
    Open(3);
    ++s.ChangeCount1;  // for example records pasted in the main window
    ClickCell(1, 5);
    ReplaceComboText("Q");
    Key(w->Combo1->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(s.Records1[1].V4, "b");
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_NE(fake.messages[0].find("out of date"), std::string::npos);
}

TEST_F(GridWindow, ActivatedAfterRecordsWereCutItShowsAndEditsTheSetAsItIs) {
    Open(4);
    QWidget mainWindow;
    mainWindow.show();
    // The main window cuts record 1 while the grid stands aside.
    s.Records1.erase(s.Records1.begin() + 1);
    for (int16_t k = 1; k <= 3; ++k)
        s.Records1[static_cast<size_t>(k)].V0 = k;
    s.RecordCount1 = 3;
    ++s.ChangeCount1;
    ASSERT_TRUE(test::Activate(&mainWindow));
    ASSERT_TRUE(test::Activate(w.get()));
    EXPECT_EQ(w->Grid().RowCount(), 3);
    ClickCell(2, 4);
    ReplaceComboText("Zed");
    Key(w->Combo1->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(s.Records1[2].V3, "Zed");
    EXPECT_EQ(s.Records1[2].V8, " text 3 ");
    EXPECT_TRUE(fake.messages.empty());
}

// What is typed into the text box is stored when the box loses the focus,
// and what is left in it when the grid closes.
TEST_F(GridWindow, TextBoxIsStoredWhenItLosesTheFocusAndWhenTheGridCloses) {
    Open(3);
    ASSERT_TRUE(test::Activate(w.get()));
    ClickCell(2, 9);
    QTest::mouseClick(w->RichTextBox1->viewport(), Qt::LeftButton);
    ASSERT_TRUE(w->RichTextBox1->hasFocus());
    w->RichTextBox1->moveCursor(QTextCursor::End);
    QTest::keyClicks(w->RichTextBox1, "!");
    w->MSFlexGrid1->setFocus();
    EXPECT_EQ(s.Records1[2].V8, "text 2!");

    // Another window in front: the box holds text but not the focus.
    QWidget other;
    other.show();
    ASSERT_TRUE(test::Activate(&other));
    ClickCell(3, 9);
    w->RichTextBox1->moveCursor(QTextCursor::End);
    w->RichTextBox1->insertPlainText("?");
    w->close();
    EXPECT_EQ(s.Records1[3].V8, "text 3?");
}

struct GridButton : test::MainWindowTest {};

TEST_F(GridButton, OpensOnceAndNotWithoutRecords) {
    w->Command1->click();
    EXPECT_EQ(w->GridWindow(), nullptr);  // view mode 0
    s.Records1.assign(1, core::ProtocolRecord{});
    s.ViewMode = 1;
    w->Command1->click();
    EXPECT_EQ(w->GridWindow(), nullptr);  // no records
    EXPECT_EQ(s.ActiveWindowName, "kova");

    s.Records1.resize(3);
    s.RecordCount1 = 2;
    w->Command1->click();
    gridtry* grid = w->GridWindow();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(s.ActiveWindowName, "grid");
    s.Records1.resize(4);
    s.RecordCount1 = 3;
    w->Command1->click();
    EXPECT_EQ(w->GridWindow(), grid);
    EXPECT_EQ(grid->Grid().RowCount(), 2);
    grid->Command1->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w->GridWindow(), nullptr);
    EXPECT_EQ(s.ActiveWindowName, "kova");
}

TEST_F(GridButton, OpensTheShownSetsGridInPlaceOfAnotherSets) {
    s.Records1.resize(4);
    s.RecordCount1 = 3;
    s.Records2.resize(3);
    s.FilterCount = 2;
    s.ViewMode = 3;
    w->Command1->click();
    gridtry* filters = w->GridWindow();
    ASSERT_NE(filters, nullptr);
    EXPECT_EQ(filters->Grid().Layout(), core::GridLayout::Filter);
    s.ViewMode = 1;  // back to the data
    w->Command1->click();
    ASSERT_NE(w->GridWindow(), nullptr);
    EXPECT_EQ(w->GridWindow()->Grid().Layout(), core::GridLayout::Data);
    EXPECT_EQ(w->GridWindow()->Grid().RowCount(), 3);

    // A two-coder grid after another data set 2 was opened: the grid of the
    // new pair, not the old one brought forward.
    s.DataFileName2 = "/p/two.kov";
    s.RecordCount2 = 2;
    s.ViewMode = 2;
    w->Command1->click();
    s.DataFileName2 = "/p/other.kov";
    ++s.ChangeCount2;
    w->Command1->click();
    ASSERT_NE(w->GridWindow(), nullptr);
    EXPECT_TRUE(w->GridWindow()->Grid().UpToDate(s));
}

// Back from the grid to the main window by real activation: the page shows
// what the grid stored, the code at once and the text typed into the
// floated box once that box has lost the focus, whichever comes first; what
// is typed next into the text box adds to the grid's edit.
struct GridThenMainWindow : test::MainWindowTest, ::testing::WithParamInterface<int> {
    // The grid of the shown set, opened by its button and in front.
    gridtry* OpenGrid() {
        EXPECT_TRUE(test::Activate(w.get()));
        w->Command1->click();
        if (w->GridWindow() != nullptr) {
            EXPECT_TRUE(test::Activate(w->GridWindow()));
        }
        return w->GridWindow();
    }
};

TEST_P(GridThenMainWindow, ThePageShowsTheGridsEdits) {
    w->Form_Load("");
    if (GetParam() == 1) {
        test::ShowSet1(s, ui, 5, 3);
    } else {
        s.Records2 = test::MakeRecords(5, "line ");
        s.FilterCount = 5;
        s.CurrentFilterLine = 3;
        s.FilterFileName = dir.File("rules.fil");
        core::ShowFilterMode(s, ui);
    }
    ASSERT_EQ(s.ViewMode, GetParam());
    const QString text = GetParam() == 1 ? "text 3" : "line 3";
    ASSERT_EQ(w->Text1->toPlainText(), text);
    core::ProtocolRecord& record = core::ShownRecords(s)[3];
    gridtry* grid = OpenGrid();
    ASSERT_NE(grid, nullptr);

    QWidget* cells = grid->MSFlexGrid1->viewport();
    QTest::mouseClick(cells, Qt::LeftButton, {}, CellCentre(grid, 3, 5));
    grid->Combo1->lineEdit()->selectAll();
    QTest::keyClicks(grid->Combo1->lineEdit(), "Q7");
    QTest::keyClick(grid->Combo1->lineEdit(), Qt::Key_Return);
    ASSERT_EQ(record.V4, "Q7");
    QTest::mouseClick(cells, Qt::LeftButton, {}, CellCentre(grid, 3, 9));
    ASSERT_TRUE(grid->RichTextBox1->isVisible());
    QTest::mouseClick(grid->RichTextBox1->viewport(), Qt::LeftButton);
    ASSERT_TRUE(grid->RichTextBox1->hasFocus());
    grid->RichTextBox1->moveCursor(QTextCursor::End);
    QTest::keyClicks(grid->RichTextBox1, " new");

    ASSERT_TRUE(test::Activate(w.get()));
    EXPECT_EQ(record.V8, (text + " new").toStdString());
    EXPECT_EQ(w->V[4][10]->text(), "Q7");
    EXPECT_EQ(w->Text1->toPlainText().toStdString(), (text + " new").toStdString());
    QTest::mouseClick(w->Text1->viewport(), Qt::LeftButton);
    w->Text1->moveCursor(QTextCursor::End);
    QTest::keyClicks(w->Text1, "!");
    EXPECT_EQ(record.V8, (text + " new!").toStdString());
}

// Data set 2 shown: a memo written from the two-coder grid on the current
// record of data set 2 marks the text box once the main window is back.
TEST_F(GridThenMainWindow, TheSecondSetsPageShowsAMemoWrittenInTheGrid) {
    w->Form_Load("");
    test::ShowSet1(s, ui, 5, 1);
    test::ShowSet2(s, ui, 5, 3);
    gridtry* grid = OpenGrid();
    ASSERT_NE(grid, nullptr);
    QTest::mouseClick(grid->MSFlexGrid1->viewport(), Qt::RightButton, {}, CellCentre(grid, 3, 10));
    Memo& memo = w->MemoWindow();
    ASSERT_TRUE(memo.isVisible());
    QTest::keyClicks(memo.TextBox1, "seen");
    memo.Command1[0]->click();
    ASSERT_EQ(s.Records2[3].Memo, "seen");

    ASSERT_TRUE(test::Activate(w.get()));
    EXPECT_EQ(w->Text1->palette().color(QPalette::Base), QColor(255, 255, 128));
}

INSTANTIATE_TEST_SUITE_P(DataAndFilterLines, GridThenMainWindow, ::testing::Values(1, 3));

}  // namespace
