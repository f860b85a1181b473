// The Selection menu and the dialog it opens, on a menu built as the main
// window builds it, over data set 1 held in the state.
#include <gtest/gtest.h>
#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <map>

#include "filters/selection_test_support.h"
#include "filters/windows/selectie.h"
#include "filters/windows/selection_menu.h"
#include "support/fake_ui.h"
#include "support/qt_app.h"
#include "widgets/window_util.h"

namespace {

class SelectionWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        s.Records1 = test::RecordsWithField(4, {"A", "B", "", "B", "A", "C"});
        s.RecordCount1 = 6;
        s.CurrentRecord1 = 6;
        s.ViewMode = 1;
        s.CategoryLists[4] = {"A", "B", "C"};
        s.Varnaam[0] = "Line";
        s.Varnaam[4] = "Act";

        menu = new QMenu(&owner);
        for (int item = 1; item <= 5; ++item)
            items[item] = menu->addAction(QString("item %1").arg(item));
        AddSubmenu(2, 8, mnuSelectItem);
        AddSubmenu(3, 8, mnuAndSelectItem);
        AddSubmenu(4, 7, mnuSelectItemEpi);
        AddSubmenu(5, 7, mnuAndSelectItemEpi);
        handlers = new SelectionMenu(s, ui, &owner);
        handlers->Connect(items, mnuSelectItem, mnuAndSelectItem, mnuSelectItemEpi,
                          mnuAndSelectItemEpi);
    }
    void AddSubmenu(int item, int last, std::map<int, QAction*>& into) {
        auto* sub = new QMenu(menu);
        for (int k = 0; k <= last; ++k)
            into[k] = sub->addAction(QString("V%1").arg(k));
        items[item]->setMenu(sub);
    }
    // Opens submenu `item` and picks variable k.
    selectie* Pick(int item, std::map<int, QAction*>& variables, int k) {
        emit items[item]->menu()->aboutToShow();
        variables[k]->trigger();
        return handlers->Dialog();
    }
    static void Click(QWidget* w, QPoint at) {
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
            QCoreApplication::sendEvent(w, &e);
        }
    }
    static void Unloads() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    QApplication& app = test::App();  // before any widget
    core::KovaState s;
    test::FakeUi ui;
    QWidget owner;
    QMenu* menu = nullptr;
    std::map<int, QAction*> items, mnuSelectItem, mnuAndSelectItem, mnuSelectItemEpi,
        mnuAndSelectItemEpi;
    SelectionMenu* handlers = nullptr;
};

TEST_F(SelectionWindowTest, OrEventsOnACodePresetsSelectsAndUnloads) {
    selectie* d = Pick(2, mnuSelectItem, 4);
    EXPECT_EQ(s.SelectionKind1, "OR");
    EXPECT_EQ(mnuSelectItem[4]->text(), "Act");
    EXPECT_EQ(mnuSelectItem[0]->text(), "Line");
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->isVisible() && !d->isModal());
    EXPECT_EQ(d->windowTitle(), "Act");
    EXPECT_EQ(d->Label->text(), "Or Select code");
    EXPECT_TRUE(d->Text1->isHidden());
    EXPECT_FALSE(d->Text3->isHidden());
    EXPECT_EQ(d->Text3->text(), "0");
    ASSERT_EQ(d->Combo1->list->count(), 4);
    EXPECT_EQ(d->Combo1->list->item(3)->text(), "");
    EXPECT_EQ(d->Combo1->height(), 132);

    d->Combo1->list->setCurrentRow(0);  // picking a code puts it in the edit field
    EXPECT_EQ(d->Combo1->edit->text(), "A");
    d->Combo1->edit->setText("typed");  // a click on the same code picks it again
    Click(d->Combo1->list->viewport(),
          d->Combo1->list->visualItemRect(d->Combo1->list->item(0)).center());
    EXPECT_EQ(d->Combo1->edit->text(), "A");
    d->COkee->click();
    Unloads();
    EXPECT_EQ(handlers->Dialog(), nullptr);
    EXPECT_EQ(s.RecordCount1, 2);
    EXPECT_EQ(s.Records1[2].V0, 5);

    items[1]->trigger();  // Undo Selection
    EXPECT_EQ(s.RecordCount1, 6);
}

// A long label and category show cut; the category picked selects whole.
TEST_F(SelectionWindowTest, ALongLabelAndCategoryShowCutAndSelectWhole) {
    const std::string category(kMaxShownLineBytes + 1, 'Z');
    s.Varnaam[4] = s.Records1[3].V4 = category;
    s.CategoryLists[4] = {category};
    selectie* d = Pick(2, mnuSelectItem, 4);
    ASSERT_NE(d, nullptr);
    QListWidget* list = d->Combo1->list;
    EXPECT_EQ(d->windowTitle().size(), kMaxShownLineBytes);
    EXPECT_EQ(list->item(0)->text().size(), kMaxShownLineBytes);
    Click(list->viewport(), list->visualItemRect(list->item(0)).center());
    d->COkee->click();
    Unloads();
    EXPECT_EQ(s.RecordCount1, 1);
}

TEST_F(SelectionWindowTest, RangeNeedsBothFieldsAndTheDialogStaysOpen) {
    selectie* d = Pick(3, mnuAndSelectItem, 0);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->Label->text(), "And Select lines");
    EXPECT_FALSE(d->Text1->isHidden());
    EXPECT_FALSE(d->Text3->isHidden());  // a fresh dialog shows every row
    EXPECT_TRUE(d->Combo1->isHidden());
    d->Text1->setText("2");
    d->Text3->setText("1");
    d->COkee->click();
    EXPECT_EQ(ui.messages, std::vector<std::string>{"KOVA|Specify field(s)!"});
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(s.LagBefore, 1);

    d->Text2->setText("4");
    d->Check1->setChecked(true);  // AND with no selection shown starts one as OR does
    d->COkee->click();
    Unloads();
    EXPECT_EQ(s.RecordCount1, 3);
    EXPECT_EQ(s.Records1[3].V0, 6);
}

TEST_F(SelectionWindowTest, PresettingKeepsTheOpenDialogAndItsChoices) {
    selectie* d = Pick(2, mnuSelectItem, 0);
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->Text3->isHidden());  // OR on a range: no context
    d->Check1->setChecked(true);
    d->Text4->setText("2");
    selectie* again = Pick(3, mnuAndSelectItem, 4);
    EXPECT_EQ(again, d);
    EXPECT_TRUE(d->Text3->isHidden());  // AND events leaves the context row as it was
    EXPECT_TRUE(d->Check1->isChecked());
    EXPECT_EQ(d->Text4->text(), "2");
    EXPECT_EQ(d->Label->text(), "And Select code");

    Pick(4, mnuSelectItemEpi, 1);
    EXPECT_EQ(s.SelectionKind1, "EPI-OR");
    EXPECT_EQ(d->Label->text(), "Or Select timecodes");
    EXPECT_TRUE(mnuSelectItemEpi.count(8) == 0);

    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(d, &esc);
    Unloads();
    EXPECT_EQ(handlers->Dialog(), nullptr);
    EXPECT_EQ(s.RecordCount1, 6);
}

// What the user types once the dialog is up goes into its value box: the
// code or text box, or the start of the range where there is none.
TEST_F(SelectionWindowTest, TypingGoesIntoTheValueBox) {
    struct Case {
        int variable;
        const char* typed;
        QLineEdit* selectie::*box;
    };
    for (const Case& c :
         {Case{4, "B", nullptr}, Case{8, "word", nullptr}, Case{0, "2", &selectie::Text1}}) {
        SCOPED_TRACE(c.variable);
        selectie* d = Pick(2, mnuSelectItem, c.variable);
        ASSERT_NE(d, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowActive(d));
        // Through the window, as the keyboard sends it to the focused control.
        for (const char* ch = c.typed; *ch != 0; ++ch)
            QTest::keyClick(d->windowHandle(), *ch);
        QLineEdit* box = c.box != nullptr ? d->*c.box : d->Combo1->edit;
        EXPECT_EQ(QApplication::focusWidget(), box);
        EXPECT_EQ(box->text(), c.typed);
        d->CCancel->click();
        Unloads();
    }
}

TEST_F(SelectionWindowTest, NothingOpenNothingHappens) {
    s.ViewMode = 0;
    EXPECT_EQ(Pick(2, mnuSelectItem, 4), nullptr);
    EXPECT_EQ(Pick(5, mnuAndSelectItemEpi, 4), nullptr);
    EXPECT_EQ(s.SelectionKind1, "");
    EXPECT_EQ(mnuSelectItem[4]->text(), "V4");
    items[1]->trigger();
    EXPECT_EQ(ui.redraws, 0);
}

}  // namespace
