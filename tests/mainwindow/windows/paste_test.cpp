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

#include "analyses/windows/uitvoer.h"
#include "mainwindow/daily_fixture.h"
#include "mainwindow/windows/gridtry.h"
#include "mainwindow/windows/memo.h"
#include "mainwindow/windows/record_dialogs.h"
#include "support/main_window_fixture.h"

namespace {

enum class Route { CtrlV, ShiftInsert, MiddleClick, ContextMenu, Command };

QString BoxText(QWidget* box) {
    if (auto* edit = qobject_cast<QPlainTextEdit*>(box))
        return edit->toPlainText();
    return qobject_cast<QLineEdit*>(box)->text();
}

// Pastes into `box` the way `route` does; `empty` leaves the clipboard
// without an owner (nothing at all, or data of no format).
void Paste(QWidget* box, Route route, const std::function<void()>& empty) {
    auto* edit = qobject_cast<QPlainTextEdit*>(box);
    auto* line = qobject_cast<QLineEdit*>(box);
    if (route == Route::ContextMenu) {
        // The menu opens while the clipboard holds text; the owner is gone
        // by the time Paste is chosen.
        QGuiApplication::clipboard()->setText("gone");
        std::unique_ptr<QMenu> menu(edit != nullptr ? edit->createStandardContextMenu()
                                                    : line->createStandardContextMenu());
        empty();
        for (QAction* action : menu->actions()) {
            if (action->text().startsWith("&Paste"))
                action->trigger();
        }
        return;
    }
    empty();
    QWidget* clicked = edit != nullptr ? edit->viewport() : box;
    switch (route) {
        case Route::CtrlV:
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
            break;
        case Route::ShiftInsert:
            QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
            break;
        case Route::MiddleClick:
            test::Click(clicked, std::nullopt, Qt::MiddleButton);
            break;
        default:
            edit != nullptr ? edit->paste() : line->paste();
            break;
    }
}

struct EmptyClipboardPaste : test::MainWindowTest {};

TEST_F(EmptyClipboardPaste, PastesNothingIntoAnyBoxByAnyRoute) {
    const std::string file = WriteProtocol("talk.kov", test::MakeRecords(3), 3);
    w->Form_Load("");
    AnswerDialogs({file});
    w->mnuFileItem[1]->trigger();
    ASSERT_EQ(s.ViewMode, 1);

    test::Click(w->Lab[1], std::nullopt, Qt::RightButton);
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
        [] {
            QGuiApplication::clipboard()->clear(QClipboard::Clipboard);
            QGuiApplication::clipboard()->clear(QClipboard::Selection);
        },
        [] { QGuiApplication::clipboard()->setMimeData(new QMimeData); },
    };
    for (QWidget* box : boxes) {
        for (Route route : {Route::CtrlV, Route::ShiftInsert, Route::MiddleClick,
                            Route::ContextMenu, Route::Command}) {
            for (const auto& empty : empties) {
                const QString before = BoxText(box);
                Paste(box, route, empty);
                EXPECT_EQ(BoxText(box), before)
                    << box->window()->objectName().toStdString() << " "
                    << box->objectName().toStdString() << " route " << static_cast<int>(route);
            }
        }
    }
    // The main window's Edit menu pastes into its text box.
    for (const auto& empty : empties) {
        const QString before = BoxText(w->Text1);
        empty();
        w->mnuEditItem[2]->trigger();
        EXPECT_EQ(BoxText(w->Text1), before);
    }
}

// A text longer than a box edits would keep the program busy laying it out:
// both ways into the record's text box refuse it with a message.
TEST_F(EmptyClipboardPaste, ATextTooLongToEditIsNotPasted) {
    const std::string file = WriteProtocol("talk.kov", test::MakeRecords(3), 3);
    w->Form_Load("");
    AnswerDialogs({file});
    w->mnuFileItem[1]->trigger();
    ASSERT_EQ(s.ViewMode, 1);
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
            EXPECT_EQ(shown, 1) << text.size() << (menu ? " menu" : " keys");
            EXPECT_EQ(BoxText(w->Text1), before);
        }
    }
}

}  // namespace
