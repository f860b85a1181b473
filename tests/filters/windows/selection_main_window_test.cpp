// Selection as a user meets it: the sample protocol open in the main window,
// the Selection menu, the dialog, the counters and Undo Selection.
#include <gtest/gtest.h>
#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <filesystem>

#include "filters/windows/selectie.h"
#include "filters/windows/selection_menu.h"
#include "store/data_file.h"
#include "store/open_save.h"
#include "support/main_window_fixture.h"

namespace {

std::filesystem::path SampleProtocol() {
    return std::filesystem::path(__FILE__).parent_path() / ".." / ".." / ".." / "examples" /
           "classroom.kov";
}

struct SelectionMainWindowTest : test::MainWindowTest {
    void SetUp() override {
        MainWindowTest::SetUp();
        file = dir.File("classroom.kov");
        std::filesystem::copy_file(SampleProtocol(), file);
        ASSERT_TRUE(core::OpenDataFile(s, ui, file));
        ASSERT_EQ(s.RecordCount1, 143);
    }
    // Opens submenu `item`, picks variable k, types `value` and presses OK.
    void Select(int item, std::map<int, QAction*>& variables, int k, const QString& value) {
        emit w->mnuSelectionItem[item]->menu()->aboutToShow();
        variables[k]->trigger();
        selectie* d = w->selectionMenu->Dialog();
        ASSERT_NE(d, nullptr);
        d->Combo1->edit->setText(value);
        d->COkee->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    bool SelectionShown() const {
        return !w->Teller2->isHidden() && !w->SelLabel[0]->isHidden() &&
               !w->SelLabel[1]->isHidden() && !w->CSaveSelection->isHidden();
    }
    bool RecordButtonsEnabled() const {
        return w->CDelete->isEnabled() && w->CCopy->isEnabled() && w->CInsrt->isEnabled() &&
               w->CAdd->isEnabled() && w->CJoin->isEnabled() && w->CSplit->isEnabled();
    }

    std::string file;
};

TEST_F(SelectionMainWindowTest, SelectNarrowEditUndoAndSave) {
    Select(2, w->mnuSelectItem, 4, "Q");
    EXPECT_EQ(s.SelectionKind1, "OR");
    EXPECT_EQ(w->Teller->text(), "36");
    EXPECT_EQ(w->Teller2->text(), "143");
    EXPECT_EQ(w->SelLabel[0]->text(), " of");
    EXPECT_EQ(w->SelLabel[1]->text(), " selected");
    EXPECT_TRUE(SelectionShown());
    EXPECT_FALSE(w->CDelete->isEnabled() || w->CCopy->isEnabled() || w->CInsrt->isEnabled() ||
                 w->CAdd->isEnabled() || w->CJoin->isEnabled() || w->CSplit->isEnabled());
    EXPECT_EQ(s.CurrentRecord1, 1);

    // AND on V5 narrows to the questions at the reasoning level.
    Select(3, w->mnuAndSelectItem, 5, "L3");
    EXPECT_EQ(w->Teller->text(), "18");
    std::vector<int> numbers;
    for (int i = 1; i <= s.RecordCount1; ++i)
        numbers.push_back(s.Records1[i].V0);
    EXPECT_EQ(numbers, (std::vector<int>{25, 36, 53, 62, 69, 79, 82, 86, 90, 92, 98, 103, 113, 115,
                                         126, 128, 130, 137}));

    s.Records1[2].V7 = "edited";        // record 36
    w->mnuSelectionItem[1]->trigger();  // Undo Selection (Ctrl+U)
    EXPECT_EQ(w->Teller->text(), "143");
    EXPECT_FALSE(SelectionShown());
    EXPECT_TRUE(RecordButtonsEnabled());
    EXPECT_EQ(s.Records1[36].V7, "edited");

    // An edit in a shown selection is in the file that Save writes.
    Select(2, w->mnuSelectItem, 4, "Q");
    s.Records1[1].V8 = "saved from the selection";  // record 3, the first question
    ASSERT_EQ(s.Records1[1].V0, 3);
    ASSERT_TRUE(core::SaveCurrentFile(s, ui));
    core::KovaState read;
    int16_t count = 0, header = 0;
    std::string info;
    ASSERT_TRUE(core::ReadDataFile(read, ui, file, read.Records1, count, header, info));
    EXPECT_EQ(count, 143);
    EXPECT_EQ(read.Records1[3].V8, "saved from the selection");
    EXPECT_EQ(read.Records1[36].V7, "edited");
}

TEST_F(SelectionMainWindowTest, NothingMatchedShowsTheFullSet) {
    QString seen;
    test::WhenModal([&seen](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            seen = box->windowTitle() + "|" + box->text();
            box->button(QMessageBox::Ok)->click();
        } else {
            modal->close();
        }
    });
    Select(2, w->mnuSelectItem, 4, "no such code");
    EXPECT_EQ(seen, "KOVA|No records selected!");
    EXPECT_EQ(w->Teller->text(), "143");
    EXPECT_FALSE(SelectionShown());
    EXPECT_TRUE(RecordButtonsEnabled());
    EXPECT_EQ(w->selectionMenu->Dialog(), nullptr);
}

}  // namespace
