// The record buttons, the cut, copy, delete-coding and swap-coding dialogs,
// the table editor and the Edit menu, driven by key and mouse events.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>
#include <memory>

#include "mainwindow/daily_fixture.h"
#include "mainwindow/windows/record_dialogs.h"
#include "store/open_save.h"
#include "store/selection_store.h"
#include "support/main_window_fixture.h"

namespace {

using test::Click;
using test::Key;
using test::WhenDialog;

QString Text(QWidget* dialog, const char* name) {
    if (auto* label = dialog->findChild<QLabel*>(name))
        return label->text();
    if (auto* box = dialog->findChild<QLineEdit*>(name))
        return box->text();
    if (auto* button = dialog->findChild<QPushButton*>(name))
        return button->text();
    return "<" + QString(name) + " missing>";
}

// The title and the texts of the named controls, one "name=text" a line.
QString Sentence(QWidget* dialog, std::initializer_list<const char*> names) {
    QString out = "title=" + dialog->windowTitle() + "\n";
    for (const char* name : names)
        out += QString(name) + "=" + Text(dialog, name) + "\n";
    return out;
}

struct RecordEditWindow : test::MainWindowTest {
    void Open(int count, int current) {
        core::RecordSet records = test::MakeRecords(count);
        ASSERT_TRUE(core::OpenDataFile(s, ui, WriteProtocol("p.kov", records, count)));
        s.CurrentRecord1 = static_cast<int16_t>(current);
        core::RefreshRecordList1(s, ui, s.CurrentRecord1);
        w->show();
        // Focus needs the window to be the active one.
        ASSERT_TRUE(test::Activate(w.get()));
    }
};

TEST_F(RecordEditWindow, CutDialogShowsItsSentenceAndNoIsTheDefault) {
    Open(20, 12);
    QString seen;
    WhenDialog<delask>([&](delask* d) {
        seen = Sentence(
            d, {"Label1", "Label2(1)", "Text1", "Label3", "Text2", "Label4", "cmdOK", "cmdCancel"});
        Key(d->Text1, Qt::Key_Return);  // Enter gives NO
    });
    Click(w->CDelete);
    EXPECT_EQ(seen,
              "title=KOVA Delete Options\nLabel1=Do you really want to cut \nLabel2(1)=record "
              "no.\nText1= 12\nLabel3=to no.\nText2= 12\nLabel4=of this protocol (filter) "
              "file? \ncmdOK=YES\ncmdCancel=NO\n");
    EXPECT_EQ(s.RecordCount1, 20);
    EXPECT_EQ(w->focusWidget(), w->Scrollbar);

    WhenDialog<delask>([](delask* d) { Key(d->Text2, Qt::Key_Escape); });
    Click(w->CDelete);
    EXPECT_EQ(s.RecordCount1, 20);

    WhenDialog<delask>([](delask* d) {
        d->Text2->setText("14");
        Click(d->cmdOK);
    });
    Click(w->CDelete);
    EXPECT_EQ(s.ClipboardCount, 3);
    EXPECT_EQ(w->Teller->text(), "17");
    EXPECT_EQ(w->Scrollbar->maximum(), 17);
    EXPECT_EQ(w->Scrollbar->value(), 12);
    EXPECT_EQ(w->Text1->toPlainText(), "text 15");
}

TEST_F(RecordEditWindow, CopyDialogCopiesOnEnterAndCancelsOnEscape) {
    Open(10, 3);
    QString seen;
    WhenDialog<copyask>([&](copyask* d) {
        seen = Sentence(d, {"Label1", "Text1", "Label4", "Label5", "cmdOK", "cmdCancel"});
        d->Text2->setText("5");
        Key(d->Text2, Qt::Key_Return);
    });
    Click(w->CCopy);
    EXPECT_EQ(seen,
              "title= KOVA Copy Options\nLabel1=How many records do you want to copy \nText1= "
              "3\nLabel4=of this protocol (filter) file? \nLabel5=(copy to the clipboard "
              "database, paste to insert) \ncmdOK=COPY\ncmdCancel=Cancel\n");
    EXPECT_EQ(s.ClipboardCount, 3);

    WhenDialog<copyask>([](copyask* d) {
        d->Text1->setText("1");
        Key(d->Text1, Qt::Key_Escape);
    });
    Click(w->CCopy);
    EXPECT_EQ(s.ClipboardCount, 3);
}

TEST_F(RecordEditWindow, ButtonsAddSplitAtTheCaretAndJoin) {
    Open(3, 2);
    Click(w->CAdd);
    EXPECT_EQ(w->V[2][10]->text(), "1");
    EXPECT_EQ(w->focusWidget(), w->Scrollbar);
    w->Text1->setPlainText("left right");
    QTextCursor cursor = w->Text1->textCursor();
    cursor.setPosition(4);
    w->Text1->setTextCursor(cursor);
    Click(w->CSplit);
    EXPECT_EQ(s.Records1[3].V8, "left");
    EXPECT_EQ(w->Text1->toPlainText(), "right");
    EXPECT_EQ(w->Scrollbar->value(), 4);
    Click(w->CJoin);
    EXPECT_EQ(w->Text1->toPlainText(), "left right");
    EXPECT_EQ(w->Teller->text(), "4");
}

// Typing in a set 3 bytes short of what a data file may hold: the fourth key
// is refused with the message, and the box shows the record's text again with
// the caret where it was.
TEST_F(RecordEditWindow, AKeyThatWouldMakeTheSetTooLargeToSaveIsTakenBack) {
    Open(20, 12);
    test::FillToTheBound(s, 1, 3);
    core::RefreshRecordList1(s, ui, s.CurrentRecord1);
    w->Text1->setFocus();
    w->Text1->moveCursor(QTextCursor::End);
    QString message;
    test::WhenModalOf<QMessageBox>([&message](QMessageBox* box) {
        message = box->text();
        box->close();
    });
    QTest::keyClicks(w->Text1, "abcd");
    EXPECT_EQ(message.toStdString(), test::kSetTooLargeToSave);
    EXPECT_EQ(s.Records1[12].V8, "text 12abc");
    EXPECT_EQ(w->Text1->toPlainText().toStdString(), "text 12abc");
    EXPECT_EQ(w->Text1->textCursor().position(), 10);
    EXPECT_EQ(core::SavedSizeOfSet(s, 1).BoundBytes(), core::kMaxDataFileBytes);
}

// A no-break space (byte 0xA0) is a character of the text like any other:
// showing, splitting and editing a text must keep it.
TEST_F(RecordEditWindow, ANoBreakSpaceSurvivesTheTextBoxAndTheTableEditor) {
    Open(3, 1);
    s.Records1[2].V8 = "one\xA0two three";
    s.CurrentRecord1 = 2;
    core::RefreshRecordList1(s, ui, s.CurrentRecord1);
    QTextCursor cursor = w->Text1->textCursor();
    cursor.setPosition(7);
    w->Text1->setTextCursor(cursor);
    Click(w->CSplit);
    EXPECT_EQ(s.Records1[2].V8, "one\xA0two");
    EXPECT_EQ(s.Records1[3].V8, "three");

    s.Varnaam[4] = "Mood\xA0of the day";
    WhenDialog<tabeledit>([](tabeledit* d) { Click(d->Command1); });
    w->mnuTableEdit[1]->trigger();
    EXPECT_EQ(s.Varnaam[4], "Mood\xA0of the day");
}

TEST_F(RecordEditWindow, EditMenuDisablesRecordCutAndPasteInASelection) {
    Open(5, 1);
    w->mnuEdit->aboutToShow();
    EXPECT_TRUE(w->mnuEditItem[4]->isEnabled());
    core::BeginSelection(s, ui);
    s.SelectionMarks1[2] = 1;
    core::ApplySelection(s, ui);
    w->mnuEdit->aboutToShow();
    EXPECT_FALSE(w->mnuEditItem[4]->isEnabled());
    EXPECT_TRUE(w->mnuEditItem[5]->isEnabled());
    EXPECT_FALSE(w->mnuEditItem[6]->isEnabled());
    EXPECT_FALSE(w->CDelete->isEnabled());
}

TEST_F(RecordEditWindow, DeleteCodingDialogAndItsCancelPaths) {
    Open(5, 2);
    for (auto& r : s.Records1)
        r.V4 = "c";
    s.Varnaam[4] = "Mood";
    w->mnuEdit->aboutToShow();
    EXPECT_EQ(w->mnuDeleteVar[4]->text(), "Mood");

    QString seen;
    WhenDialog<delcodingask>([&](delcodingask* d) {
        seen = Sentence(d, {"Label1", "Label5", "Label3", "Label2(1)", "Text1", "Text2", "Label4",
                            "cmdOK", "cmdCancel"});
        Key(d->Text1, Qt::Key_Return);  // NO
    });
    w->mnuDeleteVar[4]->trigger();
    EXPECT_EQ(seen,
              "title=Kova Delete Coding?\nLabel1=Do you really want to delete all coding\n"
              "Label5=of variable:\nLabel3=Mood\nLabel2(1)=from record no.                "
              "to\nText1= 2\nText2= 5\nLabel4=of this protocol (filter) file? \ncmdOK=YES\n"
              "cmdCancel=NO\n");
    EXPECT_EQ(s.Records1[3].V4, "c");
    EXPECT_EQ(s.DialogCancelled, 1);

    // A valid range stands in FromRecord/ToRecord from before: the close box
    // and Escape still clear nothing.
    s.FromRecord = 1;
    s.ToRecord = 5;
    WhenDialog<delcodingask>([](delcodingask* d) { d->close(); });
    w->mnuDeleteVar[4]->trigger();
    WhenDialog<delcodingask>([](delcodingask* d) { Key(d, Qt::Key_Escape); });
    w->mnuDeleteVar[4]->trigger();
    for (int i = 1; i <= 5; ++i)
        EXPECT_EQ(s.Records1[i].V4, "c");

    WhenDialog<delcodingask>([](delcodingask* d) { Click(d->cmdOK); });
    w->mnuDeleteVar[4]->trigger();
    EXPECT_EQ(s.Records1[1].V4, "c");
    EXPECT_EQ(s.Records1[5].V4, "");
    EXPECT_EQ(w->V[4][10]->text(), "");
}

TEST_F(RecordEditWindow, SwapCodingDialogOffersTheOtherVariables) {
    Open(4, 1);
    for (auto& r : s.Records1)
        r.V7 = "code";
    s.Varnaam[7] = "Act";
    std::vector<std::pair<QString, bool>> options;
    bool optionForV2Shown = true, anyChecked = false;
    QString first;
    WhenDialog<swapcodingask>([&](swapcodingask* d) {
        first = d->Label1[1]->text();
        for (QRadioButton* o : d->Option1) {
            options.emplace_back(o->text(), o->isEnabled());
            anyChecked = anyChecked || o->isChecked();
        }
        optionForV2Shown = d->Option1[1]->isVisible();
        Click(d->Option1[6]);
        Click(d->cmdOK);
    });
    w->mnuSwapVar[8]->trigger();
    EXPECT_EQ(first, "V8");
    ASSERT_EQ(options.size(), 8u);
    EXPECT_EQ(options[6], std::make_pair(QString("Act"), true));
    EXPECT_EQ(options[7], std::make_pair(QString("V8"), false));
    EXPECT_FALSE(optionForV2Shown);
    EXPECT_FALSE(anyChecked);
    EXPECT_EQ(s.Records1[4].V8, "code");
    EXPECT_EQ(s.Records1[4].V7, "text 4");
    EXPECT_EQ(s.Lag, 0);

    // Closed by its close box with a variable chosen: nothing is swapped.
    WhenDialog<swapcodingask>([](swapcodingask* d) {
        Click(d->Option1[6]);
        d->close();
    });
    w->mnuSwapVar[8]->trigger();
    EXPECT_EQ(s.Records1[1].V8, "code");
    EXPECT_EQ(s.Lag, 0);
}

TEST_F(RecordEditWindow, TableEditorAppliesOnlyOnOk) {
    Open(2, 1);
    s.CategoryLists[4] = {"a", "b"};
    w->RefillCodingLists();
    QString caption, text;
    WhenDialog<tabeledit>([&](tabeledit* d) {
        caption = d->Label1->text();
        text = d->RichTextBox1->toPlainText();
        d->RichTextBox1->setPlainText("Nr\nTime");
        Click(d->Command1);
    });
    w->mnuTableEdit[1]->trigger();
    EXPECT_EQ(caption, "Variable labels");
    EXPECT_EQ(text, "V0\nV1\nV2\nV3\nV4\nV5\nV6\nV7\nV8\nTotal");
    EXPECT_EQ(s.Varnaam[1], "Time");
    EXPECT_EQ(s.Varnaam[4], "");
    EXPECT_EQ(w->Varnaam[1]->text(), "Time");

    WhenDialog<tabeledit>([&](tabeledit* d) {
        caption = d->Label1->text();
        d->RichTextBox1->setPlainText("x");
        d->close();
    });
    s.Varnaam[4] = "Mood";
    w->mnuTableEdit[4]->trigger();
    EXPECT_EQ(caption, "Mood");
    EXPECT_EQ(s.CategoryLists[4], (std::vector<std::string>{"a", "b"}));

    WhenDialog<tabeledit>([&](tabeledit* d) {
        d->RichTextBox1->setPlainText("z\ny");
        Click(d->Command1);
    });
    w->mnuTableEdit[4]->trigger();
    ASSERT_EQ(w->L[4]->count(), 2);
    EXPECT_EQ(s.CategoryLists[4], (std::vector<std::string>{"y", "z"}));
}

// A double quote cannot stand in a table file: OK names it and the editor
// stays open with the text to mend.
TEST_F(RecordEditWindow, TableEditorOkRefusesADoubleQuote) {
    Open(2, 1);
    auto said = std::make_shared<QString>();
    auto stillOpen = std::make_shared<bool>(false);
    WhenDialog<tabeledit>([said, stillOpen](tabeledit* d) {
        d->RichTextBox1->setPlainText("Nr\nsay \"hi\"");
        WhenDialog<QMessageBox>([said](QMessageBox* box) {
            *said = box->text();
            box->close();
        });
        Click(d->Command1);
        *stillOpen = d->isVisible();
        d->close();
    });
    w->mnuTableEdit[1]->trigger();
    EXPECT_TRUE(said->contains("double quote"));
    EXPECT_TRUE(*stillOpen);
    EXPECT_EQ(s.Varnaam[1], "V1");
}

TEST_F(RecordEditWindow, TextCutCopyAndPasteGoThroughTheSystemClipboard) {
    Open(2, 2);
    QClipboard* clipboard = QGuiApplication::clipboard();
    w->Text1->setPlainText("one two\nthree");
    QTextCursor cursor = w->Text1->textCursor();
    cursor.setPosition(4);
    cursor.setPosition(11, QTextCursor::KeepAnchor);
    w->Text1->setTextCursor(cursor);
    w->mnuEditItem[0]->trigger();
    EXPECT_EQ(clipboard->text(), "two\nthr");
    EXPECT_EQ(s.Records1[2].V8, "one ee");

    // Cut with nothing selected empties the clipboard and keeps the text.
    w->mnuEditItem[0]->trigger();
    EXPECT_EQ(clipboard->text(), "");
    EXPECT_EQ(s.Records1[2].V8, "one ee");

    clipboard->setText("A\r\nB");
    w->mnuEditItem[2]->trigger();
    EXPECT_EQ(s.Records1[2].V8, "one A\r\nBee");

    cursor = w->Text1->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    w->Text1->setTextCursor(cursor);
    w->mnuEditItem[1]->trigger();
    EXPECT_EQ(clipboard->text(), "one");
    EXPECT_EQ(s.Records1[2].V8, "one A\r\nBee");

    // The text box leaves its clipboard keys to the Edit menu, so that they
    // do what the menu items do; other keys it keeps.
    for (auto [key, taken] :
         {std::pair{Qt::Key_X, false}, {Qt::Key_C, false}, {Qt::Key_V, false}, {Qt::Key_Z, true}}) {
        QKeyEvent override(QEvent::ShortcutOverride, key, Qt::ControlModifier);
        override.ignore();
        QApplication::sendEvent(w->Text1, &override);
        EXPECT_EQ(override.isAccepted(), taken) << key;
    }
}

}  // namespace
