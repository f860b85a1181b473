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
// both ways into the record's text box refuse it with a message.
TEST_F(EmptyClipboardPaste, ATextTooLongToEditIsNotPasted) {
    const QString before = BoxText(w->Text1);
    for (const QString& text : {QString(70000, 'w'), QString(1100000, 'w')}) {
        for (bool menu : {false, true}) {
            QGuiApplication::clipboard()->setText(text);
            int shown = 0;
            test::WhenDialog<QMessageBox>([&](QMessageBox* box) {
                ++shown;
                box->accept();
            });
            menu ? w->mnuEditItem[2]->trigger()
                 : QTest::keyClick(w->Text1, Qt::Key_V, Qt::ControlModifier);
            EXPECT_EQ(shown, 1) << text.size() << menu;
            EXPECT_EQ(BoxText(w->Text1), before);
        }
    }
}

}  // namespace
