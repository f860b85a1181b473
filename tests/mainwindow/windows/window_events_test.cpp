// The main window's own event handling driven by real input events: mouse
// clicks as the window system delivers them, keys through the shortcut map,
// activation, and the text box and memo editor holding every byte.
#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QWindow>
#include <filesystem>

#include "analyses/windows/uitvoer.h"
#include "mainwindow/daily_fixture.h"
#include "mainwindow/windows/gridtry.h"
#include "mainwindow/windows/memo.h"
#include "mainwindow/windows/savefile.h"
#include "patterns/windows/words.h"
#include "store/selection_store.h"
#include "support/main_window_fixture.h"
#include "widgets/window_util.h"

namespace {

namespace fs = std::filesystem;

// Every byte 01..FF once, with a lone CR (0D before 0E), a CR LF pair and a
// non-breaking space (A0); it neither starts nor ends with a blank, so the
// text box shows it whole. No lone LF: a data file cannot hold one.
std::string EveryByte() {
    std::string text;
    for (int b = 1; b <= 255; ++b) {
        if (b != '\n')
            text += static_cast<char>(b);
        if (b == 'A')
            text += "\r\n";
    }
    return text;
}

struct WindowEvents : test::MainWindowTest {
    std::string dataFile;

    void SetUp() override {
        dataFile = WriteProtocol("protocol.kov", test::MakeRecords(30), 30);
        MainWindowTest::SetUp();
        w->Form_Load("");
        ASSERT_TRUE(test::Activate(w.get()));
    }

    // Moves to record k of data set 1 as the user does: the last record,
    // then the Up key on the scroll bar.
    void GoTo(int k) {
        w->CLast->click();
        w->Scrollbar->setFocus();
        while (s.CurrentRecord1 > k)
            QTest::keyClick(w->Scrollbar, Qt::Key_Up);
        ASSERT_EQ(s.CurrentRecord1, k);
    }

    // The middle of `target` in the main window's own coordinates, where
    // the window system's events arrive.
    QPoint At(QWidget* target) { return target->mapTo(w.get(), target->rect().center()); }
};

// The window system delivers a double click as press, release, double click,
// release; only the first click moves the page.
TEST_F(WindowEvents, DoubleClickOnAnotherRowMovesOnce) {
    Open(dataFile);
    for (int k : {0, 4, 7}) {
        SCOPED_TRACE(k);
        w->CLast->click();
        ASSERT_EQ(w->V[0][3]->text(), "23");
        QTest::mouseDClick(w->windowHandle(), Qt::LeftButton, {}, At(w->V[k][3]));
        QApplication::processEvents();
        EXPECT_EQ(s.CurrentRecord1, 23);
        EXPECT_EQ(w->V[0][10]->text(), "23");
    }
    // On the current row the double click clears the field, as before.
    s.Records1[23].V4 = "Q";
    QTest::mouseDClick(w->windowHandle(), Qt::LeftButton, {}, At(w->V[4][10]));
    QApplication::processEvents();
    EXPECT_EQ(s.CurrentRecord1, 23);
    EXPECT_EQ(s.Records1[23].V4, "");
    // A single click after the double click counts again.
    QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {}, At(w->V[1][9]));
    EXPECT_EQ(s.CurrentRecord1, 22);
}

// Looking at records and memos changes no byte of them, whatever bytes they
// hold; what is typed lands beside them exactly; an untouched memo editor
// keeps nothing from ending, and the file saved then is the file read.
TEST_F(WindowEvents, ShowingRecordsAndMemosKeepsEveryByte) {
    const std::string every = EveryByte();
    core::RecordSet records = test::MakeRecords(12);
    for (int k : {4, 5, 6}) {
        records[k].V8 = every;
        records[k].Memo = every;
    }
    const std::string file = WriteProtocol("bytes.kov", records, 12);
    Open(file);
    const core::RecordSet read = s.Records1;
    ASSERT_EQ(read[5].V8, every);
    ASSERT_EQ(read[5].Memo, every);

    // Every record current once, then back.
    for (int k = 12; k >= 1; --k)
        GoTo(k);
    w->CLast->click();
    EXPECT_TRUE(s.Records1 == read);

    // The memo editor from the text box, closed with ok as it came.
    GoTo(5);
    EXPECT_TRUE(EditableBytes(w->Text1) == every);
    std::string inEditor;
    test::WhenDialog<Memo>([&](Memo* memo) {
        inEditor = EditableBytes(memo->TextBox1);
        memo->Command1[0]->click();
    });
    QTest::mouseClick(w->Text1->viewport(), Qt::RightButton);
    EXPECT_TRUE(inEditor == every);
    EXPECT_TRUE(s.Records1 == read);

    // The modeless editor left open untouched keeps nothing from ending.
    GoTo(8);
    ASSERT_EQ(w->V[0][6]->text(), "4");
    QTest::mousePress(w->Lab[6], Qt::RightButton);
    Memo& memo = w->MemoWindow();
    ASSERT_TRUE(memo.isVisible());
    EXPECT_FALSE(memo.HasUnstoredEdit());
    bool asked = false;  // a refusal would ask to store the memo first
    test::WhenModal([&asked](QWidget* modal) {
        asked = true;
        qobject_cast<QDialog*>(modal)->reject();
    });
    EXPECT_FALSE(w->MemoHoldsUnstoredText());
    EXPECT_FALSE(asked);
    EXPECT_TRUE(s.Records1 == read);

    // Saving after all this writes the file as it was read.
    w->CSave->click();
    EXPECT_TRUE(test::ReadBytes(file) == test::ReadBytes((dir.path() / "bytes.bak").string()));

    // A text with blanks around it is shown trimmed and kept whole.
    s.Records1[3].V8 = "  " + every + " ";
    GoTo(3);
    EXPECT_TRUE(EditableBytes(w->Text1) == every);
    GoTo(2);
    EXPECT_TRUE(s.Records1[3].V8 == "  " + every + " ");

    // Typed at the end of the texts: the typed characters and nothing else
    // change, lone line feeds included.
    const std::string withLf = "a\nb" + every;
    s.Records1[7].V8 = withLf;
    s.Records1[7].Memo = withLf;
    GoTo(7);
    w->Text1->setFocus();
    w->Text1->moveCursor(QTextCursor::End);
    QTest::keyClicks(w->Text1, "x");
    EXPECT_TRUE(s.Records1[7].V8 == withLf + "x");
    QTest::mousePress(w->Lab[9], Qt::RightButton);  // the memo of record 6
    ASSERT_TRUE(memo.isVisible());
    memo.TextBox1->moveCursor(QTextCursor::End);
    QTest::keyClicks(memo.TextBox1, "y");
    memo.Command1[0]->click();
    EXPECT_TRUE(s.Records1[6].Memo == every + "y");
    EXPECT_TRUE(s.Records1[6].V8 == read[6].V8);
}

// Whether each line of the note over a text shown cut ends between words.
bool NoteBreaksBetweenWords(const QPlainTextEdit* box) {
    QTextDocument* doc = box->document();
    for (QTextBlock b = doc->begin(); b.position() < ExactPart(box).start; b = b.next()) {
        doc->documentLayout()->blockBoundingRect(b);  // laid out now
        for (int i = 1; i < b.layout()->lineCount(); ++i) {
            const int cut = b.layout()->lineAt(i).textStart();
            if (b.text()[cut - 1] != ' ' && b.text()[cut] != ' ')
                return false;
        }
    }
    return true;
}

// The note over a text shown cut says which bound the text passed, and its
// lines break between words, also once the window is made narrower.
TEST_F(WindowEvents, TheNoteOverACutTextSaysItsBoundBetweenWords) {
    core::RecordSet records = test::MakeRecords(3);
    records[2].V8 = std::string(size_t{70} << 10, 'w');
    while (records[3].V8.size() <= size_t{1} << 20)
        records[3].V8 += "a short line\r\n";
    Open(WriteProtocol("cut.kov", records, 3));
    for (const auto& [record, says] :
         {std::pair(2, "[A line of this text is longer than 64 KB, the most a box edits in one"),
          std::pair(3, "is longer than 1 MB, the most a box edits:")}) {
        w->resize(w->minimumWidth() + 300, w->height());
        GoTo(record);
        w->resize(w->minimumWidth(), w->height());
        const QString note = w->Text1->toPlainText().left(ExactPart(w->Text1).start);
        EXPECT_TRUE(QString(note).replace('\n', ' ').contains(says)) << note.toStdString();
        EXPECT_TRUE(NoteBreaksBetweenWords(w->Text1)) << record;
    }
    // A box that does not wrap (the table editor, the viewer) breaks it too.
    QPlainTextEdit box;
    box.setLineWrapMode(QPlainTextEdit::NoWrap);
    box.resize(300, 200);
    box.show();
    SetEditableBytes(&box, records[2].V8);
    const QString note = box.toPlainText().left(ExactPart(&box).start - 1);
    for (const QString& line : note.split('\n'))
        EXPECT_LE(QFontMetrics(box.font()).horizontalAdvance(line), box.viewport()->width())
            << line.toStdString();
}

// A word of 4 MiB in a text and one of 1 MiB in a memo (layout time grows
// with the square of a word's length) show everywhere and save unchanged.
// A text past what the box edits shows cut and read-only; a line of 64 KiB
// is still edited.
TEST_F(WindowEvents, OneLongWordShowsEverywhereAndKeepsItsBytes) {
    core::RecordSet records = test::MakeRecords(8);
    records[2].V8 = std::string(size_t{4} << 20, 'w');
    records[3].Memo = std::string(size_t{1} << 20, 'm');
    records[5].V8 = std::string(kMaxEditableLineBytes, 'l');
    records[6].V8 = "short line";  // 1.2 MB in all
    for (int k = 1; k < 100000; ++k)
        records[6].V8 += "\r\nshort line";
    const std::string file = WriteProtocol("long.kov", records, 8);
    Open(file);
    const core::RecordSet read = s.Records1;

    GoTo(6);
    EXPECT_TRUE(HoldsExcerpt(w->Text1));
    GoTo(5);
    EXPECT_FALSE(w->Text1->isReadOnly());
    GoTo(2);  // by the keys from the last record
    EXPECT_TRUE(EditableBytes(w->Text1) == read[2].V8);
    EXPECT_EQ(ExactPart(w->Text1).length, static_cast<int>(kExcerptLineBytes));
    const QString shown = w->Text1->toPlainText();
    w->Text1->setFocus();
    QTest::keyClicks(w->Text1, "x");  // shown cut, it takes no keys
    EXPECT_TRUE(w->Text1->isReadOnly());
    EXPECT_EQ(w->Text1->toPlainText(), shown);
    w->CFirst->click();
    w->Combo1->setEditText("ww");
    w->CFind->click();
    EXPECT_EQ(s.CurrentRecord1, 2);
    EXPECT_EQ(w->Text1->textCursor().selectedText(), "ww");
    GoTo(3);
    EXPECT_LE(static_cast<size_t>(w->Lab[9]->text().size()), kMaxShownLineBytes);  // record 2
    std::string inEditor;
    test::WhenDialog<Memo>([&](Memo* memo) {
        inEditor = EditableBytes(memo->TextBox1);
        memo->Command1[0]->click();
    });
    QTest::mouseClick(w->Text1->viewport(), Qt::RightButton);
    EXPECT_TRUE(inEditor == read[3].Memo);

    // The grid shows the text and floats its box over it; leaving it stores nothing.
    w->Command1->click();
    gridtry* grid = w->GridWindow();
    ASSERT_NE(grid, nullptr);
    QTableView* cells = grid->MSFlexGrid1;
    const int text = grid->Grid().TextColumn();
    for (int row : {1, 0})
        QTest::mouseClick(cells->viewport(), Qt::LeftButton, {},
                          cells->visualRect(cells->model()->index(row, text)).center());
    grid->Command1->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(s.Records1 == read);

    w->CSave->click();
    EXPECT_TRUE(test::ReadBytes(file) == test::ReadBytes((dir.path() / "long.bak").string()));
}

// Coming back to the program while typing: the window's activation redraws
// the page, and the text box keeps what is typed and where the caret is.
TEST_F(WindowEvents, ComingBackToTheWindowKeepsTheTypedTextAndCaret) {
    Open(dataFile);
    GoTo(20);
    w->Text1->setFocus();
    w->Text1->moveCursor(QTextCursor::End);
    QTest::keyClicks(w->Text1, " more ");
    ASSERT_EQ(s.Records1[20].V8, "text 20 more ");
    QTextCursor caret = w->Text1->textCursor();
    caret.setPosition(4);
    w->Text1->setTextCursor(caret);

    // Another program's window comes to the front, then the user comes back.
    QWidget other;
    other.show();
    ASSERT_TRUE(test::Activate(&other));
    ASSERT_TRUE(test::Activate(w.get()));

    EXPECT_EQ(w->Text1->toPlainText(), "text 20 more ");
    EXPECT_EQ(w->Text1->textCursor().position(), 4);
    EXPECT_EQ(s.Records1[20].V8, "text 20 more ");
    // Another record still replaces the text.
    GoTo(19);
    EXPECT_EQ(w->Text1->toPlainText(), "text 19");
}

// The menus' shortcuts work wherever the focus is in the main window, also
// in the edit boxes and the combo boxes, which would take some of them for
// their own editing (Ctrl+U, Ctrl+A).
TEST_F(WindowEvents, MenuShortcutsWorkWhereverTheFocusIs) {
    Open(dataFile);
    QComboBox* find = w->Combo1;
    ASSERT_TRUE(find->isEditable());
    ASSERT_TRUE(test::Activate(w.get()));
    QWidget* boxes[] = {w->T[1], w->T[2], w->T[3], find, w->Text1, w->Scrollbar};
    for (QWidget* box : boxes) {
        SCOPED_TRACE(box->objectName().toStdString());
        // A selection of every other record, then Undo Selection by its key.
        core::BeginSelection(s, ui);
        for (int k = 2; k <= 30; k += 2)
            s.SelectionMarks1[k] = 1;
        core::ApplySelection(s, ui);
        ASSERT_EQ(s.SelectionShown1, core::kTrue);
        box->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), box->focusProxy() ? box->focusProxy() : box);
        if (auto* edit = qobject_cast<QLineEdit*>(box))
            edit->setText("10:00");
        QTest::keyClick(w->windowHandle(), Qt::Key_U, Qt::ControlModifier);
        EXPECT_EQ(s.SelectionShown1, core::kFalse);
        EXPECT_EQ(s.RecordCount1, 30);
        if (auto* edit = qobject_cast<QLineEdit*>(box)) {
            EXPECT_EQ(edit->text(), "10:00");  // not taken as the box's own key
        }

        // Ctrl+A opens an analysis file, it does not select the box's text.
        std::string filter;
        CommonDialog::TestAnswer() = [&filter](const core::FileDialogRequest& r, bool) {
            filter = r.filter;
            return std::optional<std::string>();
        };
        QTest::keyClick(w->windowHandle(), Qt::Key_A, Qt::ControlModifier);
        CommonDialog::TestAnswer() = nullptr;
        EXPECT_EQ(filter, core::kAnalysisFilter);
    }
    // The clipboard keys of a box other than the text box stay its own.
    w->T[3]->setFocus();
    w->T[3]->setText("copy me");
    w->T[3]->selectAll();
    QTest::keyClick(w->windowHandle(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(w->T[3]->text(), "");
}

// Ctrl+S, then Escape in the real file dialog: the typed change stays in
// memory only, and neither the protocol nor a backup is written.
TEST_F(WindowEvents, CancelInTheSaveDialogWritesNothing) {
    Open(dataFile);
    CommonDialog::TestAnswer() = nullptr;
    ASSERT_TRUE(test::Activate(w.get()));
    w->Text1->setFocus();
    QTest::keyClicks(w->Text1, "x");
    const std::string before = test::ReadBytes(dataFile);
    bool shown = false;
    test::WhenModalOf<QFileDialog>([&shown](QFileDialog* d) {
        shown = true;
        QTest::keyClick(d->windowHandle(), Qt::Key_Escape);
    });
    QTest::keyClick(w->windowHandle(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(test::ReadBytes(dataFile) == before);
    EXPECT_EQ(dir.Listing(), "protocol.kov;");
    EXPECT_EQ(s.DataFileName1, dataFile);
}

// Exit ends the program at once: no window of it stays on the screen (the
// result window included) while the process ends.
TEST_F(WindowEvents, ExitTakesEveryWindowOffTheScreenAtOnce) {
    Open(dataFile);
    s.ResultTable.caption = "KOVA Filter Report";
    Words* words = Words::ShowTable(s, ui, w.get());
    ui.Viewer().show();
    ASSERT_TRUE(words->isVisible());
    test::WhenDialog<savefile>([](savefile* prompt) { prompt->Command2->click(); });  // No
    w->mnuFileItem[33]->trigger();
    EXPECT_EQ(quits, 1);
    EXPECT_TRUE(w->Ended());
    for (QWidget* top : QApplication::topLevelWidgets())
        EXPECT_FALSE(top->isVisible()) << top->objectName().toStdString();
}

}  // namespace
