// Pasting while no program owns the clipboard: every text box of every
// window, by every way of pasting, pastes nothing and the program goes on.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "mainwindow/daily_fixture.h"
#include "mainwindow/windows/gridtry.h"
#include "mainwindow/windows/memo.h"
#include "mainwindow/windows/record_dialogs.h"
#include "support/main_window_fixture.h"

namespace {

QString BoxText(QWidget* box) {
    auto* edit = qobject_cast<QPlainTextEdit*>(box);
    return edit != nullptr ? edit->toPlainText() : qobject_cast<QLineEdit*>(box)->text();
}

// Pastes into `box` by way `route` after `empty` leaves the clipboard without
// an owner; the context menu opens while the clipboard still holds text.
void Paste(QWidget* box, int route, const std::function<void()>& empty) {
    auto* edit = qobject_cast<QPlainTextEdit*>(box);
    QGuiApplication::clipboard()->setText("gone");
    std::unique_ptr<QMenu> menu(edit != nullptr
                                    ? edit->createStandardContextMenu()
                                    : qobject_cast<QLineEdit*>(box)->createStandardContextMenu());
    empty();
    if (route == 0)
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    else if (route == 1)
        QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
    else if (route == 2)
        QTest::mouseClick(edit != nullptr ? edit->viewport() : box, Qt::MiddleButton);
    else if (route == 3)
        QMetaObject::invokeMethod(box, "paste");
    for (QAction* action : menu->actions()) {
        if (route == 4 && action->text().startsWith("&Paste"))
            action->trigger();
    }
}

struct EmptyClipboardPaste : test::MainWindowTest {
    void SetUp() override {
        MainWindowTest::SetUp();
        w->Form_Load("");
        Open(WriteProtocol("talk.kov", test::MakeRecords(3), 3));
    }
};

TEST_F(EmptyClipboardPaste, PastesNothingIntoAnyBoxByAnyRoute) {
    QTest::mouseClick(w->Lab[1], Qt::RightButton);
    Memo& memo = w->MemoWindow();
    w->Command1->click();
    gridtry* grid = w->GridWindow();
    ASSERT_NE(grid, nullptr);
    ui.ShowOutput("KOVA Output file: a.ana", "output");
    tabeledit table(w.get(), s, ui, "table");
    table.show();

    QWidget* boxes[] = {w->Text1,
                        w->T[1],
                        w->Combo1->lineEdit(),
                        memo.TextBox1,
                        grid->RichTextBox1,
                        grid->Combo1->lineEdit(),
                        table.RichTextBox1,
                        ui.Viewer().Tekst};
    const std::function<void()> empties[] = {
        // nothing at all, or data of no format
        [] {
            QGuiApplication::clipboard()->clear(QClipboard::Clipboard);
            QGuiApplication::clipboard()->clear(QClipboard::Selection);
        },
        [] { QGuiApplication::clipboard()->setMimeData(new QMimeData); },
    };
    for (QWidget* box : boxes) {
        for (int route = 0; route < 5; ++route) {
            for (const auto& empty : empties) {
                const QString before = BoxText(box);
                Paste(box, route, empty);
                EXPECT_EQ(BoxText(box), before) << box->objectName().toStdString() << route;
            }
        }
    }
    // The main window's Edit menu pastes into its text box.
    const QString before = BoxText(w->Text1);
    for (const auto& empty : empties) {
        empty();
        w->mnuEditItem[2]->trigger();
        EXPECT_EQ(BoxText(w->Text1), before);
    }
}

// A text longer than a box edits would keep the program busy laying it out:
// both ways into the record's text box refuse a paste that makes a line
// longer than 64 KiB, on either side of the caret, or pastes more than 1 MiB.
TEST_F(EmptyClipboardPaste, ATextTooLongToEditIsNotPasted) {
    const struct {
        QString box;
        bool caretAtEnd;
        QString pasted;
        bool taken;
    } cases[] = {
        {"", false, QString(70000, 'w'), false},
        {"", false, QString(1100000, 'w'), false},
        {QString(40000, 'a'), true, QString(30000, 'w'), false},
        {QString(40000, 'a'), false, QString(30000, 'w'), false},
        {"", false, QString("short line\n").repeated(100000), false},
        // Last: a paste taken leaves its modal wait unanswered.
        {"", false, QString(65536, 'w'), true},
    };
    int shown = 0;
    for (const auto& c : cases) {
        for (bool menu : {false, true}) {
            SCOPED_TRACE(testing::Message() << (&c - cases) << " " << menu);
            w->Text1->setPlainText(c.box);
            if (c.caretAtEnd)
                w->Text1->moveCursor(QTextCursor::End);
            QGuiApplication::clipboard()->setText(c.pasted);
            shown = 0;
            test::WhenDialog<QMessageBox>([&](QMessageBox* box) {
                ++shown;
                box->accept();
            });
            menu ? w->mnuEditItem[2]->trigger()
                 : QTest::keyClick(w->Text1, Qt::Key_V, Qt::ControlModifier);
            EXPECT_EQ(shown, c.taken ? 0 : 1);
            EXPECT_EQ(BoxText(w->Text1), c.taken ? c.pasted : c.box);
        }
    }
}

}  // namespace
