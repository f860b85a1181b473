// The main window's daily work driven through its controls: open, move,
// edit, code, find, write memos, keep tables and save.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "mainwindow/daily_fixture.h"
#include "mainwindow/import_fixture.h"
#include "mainwindow/windows/memo.h"
#include "mainwindow/windows/record_dialogs.h"
#include "mainwindow/windows/savefile.h"
#include "store/open_save.h"
#include "store/table_file.h"
#include "support/main_window_fixture.h"
#include "widgets/window_util.h"

namespace {

namespace fs = std::filesystem;

using test::Key;

void Mouse(QWidget* target, QEvent::Type type, Qt::MouseButton button) {
    QPointF at(2, 2);
    QMouseEvent event(type, at, target->mapToGlobal(at), button, button, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// The next save prompt is answered with one of its buttons.
void AnswerSavePrompt(QPushButton* savefile::*button) {
    test::WhenModal([button](QWidget* modal) {
        auto* prompt = qobject_cast<savefile*>(modal);
        ASSERT_NE(prompt, nullptr);
        (prompt->*button)->click();
    });
}

struct KovaDaily : test::MainWindowTest {
    std::string dataFile;

    void SetUp() override {
        // A protocol of 30 records written by the program's own writer.
        core::RecordSet records = test::MakeRecords(30);
        records[12].V8 = "a word in twelve";
        records[20].V8 = "another word here";
        dataFile = WriteProtocol("protocol.kov", records, 30);
        MainWindowTest::SetUp();
        w->Form_Load("");
        // Keys and focus need the window to be the active one.
        ASSERT_TRUE(test::Activate(w.get()));
    }

    void OpenProtocol() { Open(dataFile); }

    QWidget* Focus() {
        QWidget* f = w->focusWidget();
        return f != nullptr ? f : w.get();
    }
};

TEST_F(KovaDaily, OpenKovfileShowsTheProtocol) {
    OpenProtocol();
    EXPECT_EQ(s.RecordCount1, 30);
    EXPECT_EQ(w->windowTitle().toStdString(), "KOVA Datafile: " + dataFile);
    EXPECT_EQ(w->V[0][10]->text().toStdString(), std::to_string(s.CurrentRecord1));
}

TEST_F(KovaDaily, CancelledOpenChangesNothing) {
    AnswerDialogs({std::nullopt});
    w->mnuFileItem[1]->trigger();
    EXPECT_EQ(s.ViewMode, 0);
    EXPECT_EQ(s.DataFileName1, "");
    EXPECT_EQ(s.RecordCount1, 0);
}

TEST_F(KovaDaily, ButtonsKeysScrollBarsAndRowsMove) {
    OpenProtocol();
    w->CFirst->click();
    EXPECT_EQ(s.CurrentRecord1, 1);
    w->CLast->click();
    EXPECT_EQ(s.CurrentRecord1, 30);
    w->CPgUp->click();
    EXPECT_EQ(s.CurrentRecord1, 20);
    w->CPgDn2->click();
    EXPECT_EQ(s.CurrentRecord1, 30);

    w->Scrollbar->setValue(15);
    EXPECT_EQ(s.CurrentRecord1, 15);
    EXPECT_EQ(w->Scrollbar2->value(), 15);
    w->Scrollbar2->setValue(17);
    EXPECT_EQ(s.CurrentRecord1, 17);
    EXPECT_EQ(w->V[0][10]->text(), "17");

    w->Scrollbar->setFocus();
    Key(Focus(), Qt::Key_Down);
    EXPECT_EQ(s.CurrentRecord1, 18);
    Key(Focus(), Qt::Key_Home);
    EXPECT_EQ(s.CurrentRecord1, 1);
    Key(Focus(), Qt::Key_End);
    EXPECT_EQ(s.CurrentRecord1, 30);
    Key(Focus(), Qt::Key_PageUp);
    EXPECT_EQ(s.CurrentRecord1, 20);

    // A list with the focus keeps the page keys for itself.
    w->L[4]->setFocus();
    ASSERT_EQ(w->focusWidget(), w->L[4]);
    Key(w->L[4], Qt::Key_Down);
    EXPECT_EQ(s.CurrentRecord1, 20);

    Mouse(w->V[4][3], QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_EQ(s.CurrentRecord1, 13);
    Mouse(w->Lab[9], QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_EQ(s.CurrentRecord1, 12);
    EXPECT_EQ(w->Scrollbar->value(), 12);
}

// Home and End, with Ctrl too, move the caret of the boxes that take typing;
// the arrow and page keys still move the record.
TEST_F(KovaDaily, HomeAndEndInTheRecordBoxesMoveOnlyTheCaret) {
    OpenProtocol();
    w->Scrollbar->setValue(15);
    ASSERT_EQ(s.CurrentRecord1, 15);
    w->Text1->setFocus();
    ASSERT_EQ(w->focusWidget(), w->Text1);
    QTest::keyClick(w->Text1, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(w->Text1->textCursor().position(), w->Text1->toPlainText().size());
    QTest::keyClick(w->Text1, Qt::Key_Home);
    EXPECT_EQ(w->Text1->textCursor().position(), 0);
    for (QLineEdit* box : {w->T[1], w->T[2], w->T[3], w->Varnaam[4]}) {
        SCOPED_TRACE(box->objectName().toStdString());
        box->setFocus();
        box->setText("abc");
        for (auto mod : {Qt::NoModifier, Qt::ControlModifier}) {
            QTest::keyClick(box, Qt::Key_Home, mod);
            EXPECT_EQ(box->cursorPosition(), 0);
            QTest::keyClick(box, Qt::Key_End, mod);
            EXPECT_EQ(box->cursorPosition(), 3);
            EXPECT_EQ(s.CurrentRecord1, 15) << mod;
        }
    }
    w->Text1->setFocus();
    QTest::keyClick(w->Text1, Qt::Key_Down);
    EXPECT_EQ(s.CurrentRecord1, 16);
    QTest::keyClick(w->Text1, Qt::Key_PageUp);
    EXPECT_EQ(s.CurrentRecord1, 6);
}

// After the close button the filter view shows no file: what is typed or
// pasted there is refused with a message, and nothing changes.
TEST_F(KovaDaily, TheViewOfAClosedFilterFileTakesNoTyping) {
    OpenProtocol();
    ASSERT_TRUE(core::OpenFilterFile(s, ui, dir.File("rules.fil")));
    AnswerSavePrompt(&savefile::Command2);
    w->Command2->click();
    ASSERT_EQ(s.ViewMode, 3);
    ASSERT_EQ(s.FilterFileName, "");
    const core::RecordSet closed = s.Records2;
    QApplication::clipboard()->setText("pasted");
    for (bool paste : {false, true}) {
        SCOPED_TRACE(paste);
        auto said = std::make_shared<QStringList>();
        w->Text1->setFocus();
        ASSERT_EQ(w->focusWidget(), w->Text1);
        test::WhenDialog<QMessageBox>([said](QMessageBox* box) {
            said->append(box->text());
            box->close();
        });
        paste ? w->mnuEditItem[2]->trigger() : QTest::keyClick(w->Text1, Qt::Key_A);
        ASSERT_EQ(said->size(), 1);
        EXPECT_TRUE(said->at(0).startsWith("No file is open here"));
        EXPECT_EQ(w->Text1->toPlainText(), "");
        EXPECT_EQ(s.Records2, closed);
    }
}

TEST_F(KovaDaily, EditBoxesAndTextBoxChangeTheRecord) {
    OpenProtocol();
    w->CLast->click();
    w->T[3]->setFocus();
    w->T[3]->setText("O");
    w->T[3]->setCursorPosition(1);
    Key(w->T[3], Qt::Key_Apostrophe, Qt::NoModifier, "'");
    w->T[3]->insert("Brien");
    EXPECT_EQ(w->T[3]->text(), "O'Brien");
    Key(w->T[3], Qt::Key_Return);
    EXPECT_EQ(s.Records1[30].V3, "O'Brien");
    EXPECT_EQ(w->V[3][10]->text(), "O'Brien");
    EXPECT_EQ(w->T[3]->text(), "");

    w->T[2]->setText("3.5");
    Key(w->T[2], Qt::Key_Return);
    EXPECT_EQ(s.Records1[30].V2, 4);

    w->T[1]->setFocus();
    ASSERT_EQ(w->focusWidget(), w->T[1]);
    w->T[1]->setText("10:00");
    Key(w->T[1], Qt::Key_Right);  // at the end: on to T2
    EXPECT_EQ(w->focusWidget(), w->T[2]);
    Key(w->T[2], Qt::Key_Left);  // at the start: back to T1
    EXPECT_EQ(w->focusWidget(), w->T[1]);
    w->T[3]->setFocus();
    Key(w->T[3], Qt::Key_Right);  // the last box: on to the first list
    EXPECT_EQ(w->focusWidget(), w->L[4]);

    w->Text1->setPlainText("typed\nover two lines");
    EXPECT_EQ(s.Records1[30].V8, "typed\r\nover two lines");
}

TEST_F(KovaDaily, TableFileFillsTheListsAndTheCodingListsCode) {
    core::KovaState table;
    table.Varnaam[4] = "Speech";
    table.CategoryLists[4] = {"ask", "Tell"};
    table.CategoryLists[5] = {"x"};
    std::string tableFile = (dir.path() / "scheme.tbl").string();
    ASSERT_TRUE(core::SaveTableFile(table, fake, tableFile));

    OpenProtocol();
    AnswerDialogs({tableFile});
    w->mnuFileItem[5]->trigger();
    EXPECT_EQ(s.TableFileName, tableFile);
    ASSERT_EQ(w->L[4]->count(), 2);
    EXPECT_EQ(w->L[4]->item(1)->text(), "Tell");
    EXPECT_EQ(w->L[5]->count(), 1);
    EXPECT_EQ(w->Varnaam[4]->text(), "Speech");
    EXPECT_EQ(w->Combo2->itemText(4), "Speech");
    EXPECT_EQ(w->Combo2->currentIndex(), 8);
    // The narrow box shows the chosen label from its start.
    EXPECT_EQ(w->Combo2->lineEdit()->cursorPosition(), 0);
    EXPECT_FALSE(w->CSavetable->isHidden());

    w->CFirst->click();
    w->L[4]->setCurrentRow(1);
    w->L_DblClick(4);
    EXPECT_EQ(s.Records1[1].V4, "Tell");
    EXPECT_EQ(s.CurrentRecord1, 2);

    w->L[5]->setCurrentRow(0);
    w->L[5]->setFocus();
    ASSERT_EQ(w->focusWidget(), w->L[5]);
    Key(w->L[5], Qt::Key_Space);
    EXPECT_EQ(s.Records1[2].V5, "x");
    EXPECT_EQ(s.CurrentRecord1, 2);
    EXPECT_EQ(w->focusWidget(), w->L[6]);
    Key(w->L[6], Qt::Key_Left);
    EXPECT_EQ(w->focusWidget(), w->L[5]);
    Key(w->L[5], Qt::Key_Right);
    EXPECT_EQ(w->focusWidget(), w->L[6]);
    EXPECT_TRUE(w->L[5]->selectedItems().isEmpty());
    Key(w->L[6], Qt::Key_Left);
    Key(w->L[5], Qt::Key_Delete);
    EXPECT_EQ(s.Records1[2].V5, "");
    Key(w->L[5], Qt::Key_Return);
    EXPECT_EQ(s.CurrentRecord1, 3);

    // A category typed into the box beside the list.
    w->C[6]->click();
    EXPECT_FALSE(w->T[6]->isHidden());
    w->T[6]->setText("new");
    Key(w->T[6], Qt::Key_Return);
    EXPECT_TRUE(w->T[6]->isHidden());
    ASSERT_EQ(w->L[6]->count(), 1);
    EXPECT_EQ(w->L[6]->item(0)->text(), "new");
}

// A table may bring a label or category of megabytes: every place draws its
// start only, and the bytes stay whole for coding and the saved table.
TEST_F(KovaDaily, ALongLabelAndCategoryShowCutAndStayWhole) {
    core::KovaState table;
    table.Varnaam[4] = std::string(5000, 'L');
    const std::string category(70000, 'c');
    table.CategoryLists[4] = {category};
    const std::string tableFile = dir.File("long.tbl"), saved = dir.File("saved.tbl");
    ASSERT_TRUE(core::SaveTableFile(table, fake, tableFile));
    OpenProtocol();
    AnswerDialogs({tableFile, saved});
    w->mnuFileItem[5]->trigger();
    w->CPgDn->click();
    emit w->mnuSequential->aboutToShow();
    for (const QString& shown :
         {w->Varnaam[4]->text(), w->L[4]->item(0)->text(), w->mnuSequentialItem[4]->text()})
        EXPECT_EQ(shown.size(), kMaxShownLineBytes);
    EXPECT_TRUE(w->Varnaam[4]->isReadOnly());
    EXPECT_EQ(w->Varnaam[4]->cursorPosition(), 0);  // its start in sight
    test::Click(w->L[4]->viewport(), w->L[4]->visualItemRect(w->L[4]->item(0)).center());
    EXPECT_TRUE(s.Records1[s.CurrentRecord1].V4 == category);

    bool excerpt = false;
    test::WhenDialog<tabeledit>([&](tabeledit* d) {
        excerpt = d->Label1->text().size() == kMaxShownLineBytes && d->RichTextBox1->isReadOnly();
        QTest::mouseClick(d->Command1, Qt::LeftButton);
    });
    w->mnuTableEdit[4]->trigger();
    EXPECT_TRUE(excerpt);
    // Nothing was edited: Exit has no table to ask about.
    EXPECT_FALSE(s.TableChanged);
    w->mnuFileItem[6]->trigger();
    EXPECT_TRUE(test::ReadBytes(saved) == test::ReadBytes(tableFile));
}

TEST_F(KovaDaily, DoubleQuotesAreRefusedWhereLabelsAndCategoriesAreTyped) {
    std::string shown;
    auto answerOk = [&shown](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        shown = box->text().toStdString();
        box->button(QMessageBox::Ok)->click();
    };

    w->Varnaam[4]->setFocus();
    w->Varnaam[4]->selectAll();
    Key(w->Varnaam[4], Qt::Key_S, Qt::NoModifier, "S");
    EXPECT_EQ(s.Varnaam[4], "S");
    test::WhenModal(answerOk);
    Key(w->Varnaam[4], Qt::Key_QuoteDbl, Qt::NoModifier, "\"");
    EXPECT_NE(shown.find("double quote"), std::string::npos);
    EXPECT_EQ(s.Varnaam[4], "S");
    EXPECT_EQ(w->Varnaam[4]->text(), "S");

    shown.clear();
    w->C[5]->click();
    w->T[5]->setText("say \"hi\"");
    test::WhenModal(answerOk);
    Key(w->T[5], Qt::Key_Return);
    EXPECT_NE(shown.find("double quote"), std::string::npos);
    EXPECT_TRUE(s.CategoryLists[5].empty());
    EXPECT_EQ(w->T[5]->text(), "say \"hi\"");  // kept to mend
}

TEST_F(KovaDaily, FindLocatesTextsForwardBackwardAndByPattern) {
    OpenProtocol();
    w->CFirst->click();
    w->Combo1->setEditText("word");
    w->CFind->click();
    EXPECT_EQ(s.CurrentRecord1, 12);
    EXPECT_EQ(w->Text1->textCursor().selectedText(), "word");
    w->CFind->click();
    EXPECT_EQ(s.CurrentRecord1, 20);
    w->CFindDown->click();
    EXPECT_EQ(w->CFindDown->text(), "Prev:");
    w->CFind->click();
    EXPECT_EQ(s.CurrentRecord1, 12);
    EXPECT_EQ(w->Combo1->findText("word"), 0);

    w->CFindDown->click();
    w->CString->click();
    EXPECT_EQ(w->CString->text(), "Pattern");
    w->CFirst->click();
    w->Combo1->setEditText("*word*");
    w->CFind->click();
    EXPECT_EQ(s.CurrentRecord1, 12);
}

TEST_F(KovaDaily, RightClickOpensTheMemoEditorAndAMemoColoursTheRow) {
    OpenProtocol();
    w->CLast->click();
    Mouse(w->Lab[3], QEvent::MouseButtonPress, Qt::RightButton);
    Memo& memo = w->MemoWindow();
    ASSERT_TRUE(memo.isVisible());
    EXPECT_EQ(memo.windowTitle(), "Memo at 23");
    memo.TextBox1->setPlainText("remember");
    memo.Command1[0]->click();
    EXPECT_EQ(s.Records1[23].Memo, "remember");
    EXPECT_EQ(w->Lab[3]->palette().color(QPalette::Window), QColor(255, 255, 128));
    EXPECT_FALSE(memo.isVisible());
}

TEST_F(KovaDaily, AModalOpeningKeepsAMemoTypedIntoTheModelessEditor) {
    OpenProtocol();
    w->CLast->click();
    Mouse(w->Lab[3], QEvent::MouseButtonPress, Qt::RightButton);
    Memo& memo = w->MemoWindow();
    ASSERT_TRUE(memo.isVisible());
    memo.TextBox1->setPlainText("not yet stored");
    // Neither the text box's right click nor File Info takes the editor over
    // while it holds the typed text (a modal editor would be closed here).
    bool tookOver = false;
    auto closeModal = [&] {
        QTimer::singleShot(0, [&] {
            if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                tookOver = true;
                modal->reject();
            }
        });
    };
    closeModal();
    Mouse(w->Text1->viewport(), QEvent::MouseButtonRelease, Qt::RightButton);
    QApplication::processEvents();
    closeModal();
    w->CFileInfo->click();
    QApplication::processEvents();
    EXPECT_FALSE(tookOver);
    EXPECT_TRUE(memo.isVisible());
    EXPECT_FALSE(memo.isModal());
    EXPECT_EQ(memo.windowTitle(), "Memo at 23");
    EXPECT_EQ(memo.TextBox1->toPlainText(), "not yet stored");
    memo.Command1[0]->click();
    EXPECT_EQ(s.Records1[23].Memo, "not yet stored");

    // Unchanged, the modeless editor gives way to the modal one.
    Mouse(w->Lab[3], QEvent::MouseButtonPress, Qt::RightButton);
    ASSERT_TRUE(memo.isVisible());
    bool modal = false;
    QString title;
    test::WhenModal([&](QWidget* dialog) {
        modal = dialog == &memo;
        title = memo.windowTitle();
        memo.reject();
    });
    Mouse(w->Text1->viewport(), QEvent::MouseButtonRelease, Qt::RightButton);
    EXPECT_TRUE(modal);
    EXPECT_EQ(title, "Memo at 30");
}

TEST_F(KovaDaily, SaveKovfileWritesTheFileAndKeepsABackup) {
    OpenProtocol();
    w->Text1->setPlainText("changed");
    AnswerDialogs({dataFile});  // its own name: saved over itself
    w->mnuFileItem[2]->trigger();
    EXPECT_TRUE(fs::exists(dir.path() / "protocol.bak"));
    const auto back = test::ReadDataBack(dataFile);
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.records[s.CurrentRecord1].V8, "changed");
}

TEST_F(KovaDaily, ExitAsksAboutTheShownFile) {
    OpenProtocol();
    bool quit = false;
    w->quitHook = [&quit] { quit = true; };
    AnswerSavePrompt(&savefile::Command3);  // Cancel
    w->mnuFileItem[33]->trigger();
    EXPECT_FALSE(quit);
    AnswerSavePrompt(&savefile::Command2);  // No
    w->mnuFileItem[33]->trigger();
    EXPECT_TRUE(quit);
}

// The program does not end over a memo typed into the modeless editor and
// not stored: the editor comes forward with a message; once it is stored,
// Exit goes on as usual.
TEST_F(KovaDaily, ExitWaitsForAMemoThatIsNotStored) {
    OpenProtocol();
    bool quit = false;
    w->quitHook = [&quit] { quit = true; };
    w->CLast->click();
    Mouse(w->Lab[3], QEvent::MouseButtonPress, Qt::RightButton);
    Memo& memo = w->MemoWindow();
    ASSERT_TRUE(memo.isVisible());
    memo.TextBox1->setPlainText("typed, not stored");
    QString message;
    test::WhenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        message = box->text();
        box->accept();
    });
    w->mnuFileItem[33]->trigger();
    EXPECT_FALSE(quit);
    EXPECT_TRUE(message.contains("not stored"));
    EXPECT_TRUE(memo.isVisible());
    EXPECT_EQ(memo.TextBox1->toPlainText(), "typed, not stored");

    memo.Command1[0]->click();
    EXPECT_EQ(s.Records1[23].Memo, "typed, not stored");
    AnswerSavePrompt(&savefile::Command2);  // No
    w->mnuFileItem[33]->trigger();
    EXPECT_TRUE(quit);
}

}  // namespace
