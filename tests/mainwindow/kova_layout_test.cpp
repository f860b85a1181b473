// The main window's controls, menus, resizing and drawing from the model.
#include <gtest/gtest.h>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QWindow>

#include "mainwindow/kova.h"
#include "mainwindow/qt_ui.h"
#include "support/qt_app.h"

namespace {

QColor Back(QWidget* w) {
    return w->palette().color(w->backgroundRole());
}

class KovaLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::App();
        window = std::make_unique<kova>(s, ui);
        window->show();
        QApplication::processEvents();
    }
    // Makes the inner area w x h pixels.
    void ResizeInner(int w, int h) {
        window->resize(window->size() + QSize(w, h) - window->Page->size());
        QApplication::processEvents();
        ASSERT_EQ(window->Page->size(), QSize(w, h));
    }
    core::KovaState s;
    QtUi ui{s};
    std::unique_ptr<kova> window;
};

TEST_F(KovaLayoutTest, EveryControlIsThereByName) {
    const char* names[] = {"Text1",       "Scrollbar",   "Scrollbar2",
                           "Command1",    "Command2",    "CPgUp2",
                           "CPgDn2",      "Teller",      "Teller2",
                           "SelLabel(0)", "SelLabel(1)", "T1",
                           "T2",          "T3",          "T4",
                           "T7",          "L4",          "L7",
                           "C4",          "C7",          "CSaveSelection",
                           "List1",       "List2",       "CFirst",
                           "CPgUp",       "CPgDn",       "CLast",
                           "CFind",       "CFindDown",   "CString",
                           "Combo1",      "Combo2",      "CSavetable",
                           "CPrint",      "CSave",       "CBack",
                           "CRunfilter",  "CFileInfo",   "CDelete",
                           "CCopy",       "CInsrt",      "CAdd",
                           "CJoin",       "CSplit",      "CAnaf",
                           "diag",        "Varnaam(0)",  "Varnaam(9)",
                           "V0(1)",       "V7(10)",      "Lab(1)",
                           "Lab(9)"};
    for (const char* name : names)
        EXPECT_NE(window->findChild<QWidget*>(name), nullptr) << name;
    EXPECT_EQ(window->findChild<QWidget*>("Lab(10)"), nullptr);
}

TEST_F(KovaLayoutTest, PageKeepsItsDesignPlaces) {
    EXPECT_EQ(window->V[0][1]->geometry(), QRect(0, 20, 38, 25));
    EXPECT_EQ(window->V[3][5]->geometry(), QRect(129, 186, 65, 25));
    EXPECT_EQ(window->V[7][10]->geometry(), QRect(393, 396, 65, 25));
    EXPECT_EQ(window->Lab[1]->geometry().topLeft(), QPoint(459, 18));
    EXPECT_EQ(window->Lab[7]->geometry().topLeft(), QPoint(459, 270));
    EXPECT_EQ(window->Text1->geometry().topLeft(), QPoint(459, 396));
    EXPECT_EQ(window->Varnaam[9]->geometry(), QRect(556, 0, 160, 19));
    EXPECT_EQ(window->L[4]->geometry().topLeft(), QPoint(195, 420));
    EXPECT_EQ(window->T[1]->geometry(), QRect(40, 420, 65, 27));
    EXPECT_EQ(window->Teller->geometry(), QRect(0, 420, 38, 17));

    // Design colours of the columns and the headings.
    EXPECT_EQ(Back(window->V[0][1]), QColor(255, 255, 128));
    EXPECT_EQ(Back(window->V[1][1]), QColor(192, 255, 255));
    EXPECT_EQ(Back(window->V[3][1]), QColor(192, 255, 192));
    EXPECT_EQ(Back(window->V[6][4]), QColor(192, 255, 192));
    EXPECT_EQ(Back(window->L[5]), QColor(192, 255, 255));
    EXPECT_EQ(window->Varnaam[0]->palette().color(QPalette::Base), QColor(192, 64, 0));
    EXPECT_EQ(window->Varnaam[0]->palette().color(QPalette::Text), QColor(255, 255, 0));
    EXPECT_EQ(window->Varnaam[8]->text(), "V8");
    EXPECT_EQ(window->V[2][3]->textFormat(), Qt::PlainText);
    EXPECT_EQ(window->Lab[2]->textFormat(), Qt::PlainText);
}

TEST_F(KovaLayoutTest, StartsInTheDesignState) {
    EXPECT_EQ(window->windowTitle(), "KOVA ");
    EXPECT_EQ(Back(window->Page), QColor(128, 128, 128));
    for (QWidget* hidden :
         {(QWidget*)window->CSave, (QWidget*)window->CPrint, (QWidget*)window->CFileInfo,
          (QWidget*)window->CRunfilter, (QWidget*)window->CBack, (QWidget*)window->CAnaf,
          (QWidget*)window->CSaveSelection, (QWidget*)window->CSavetable,
          (QWidget*)window->SelLabel[0], (QWidget*)window->SelLabel[1], (QWidget*)window->Teller2,
          (QWidget*)window->T[4], (QWidget*)window->List1})
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
    EXPECT_TRUE(window->C[4]->isVisible());
    EXPECT_TRUE(window->CAdd->isVisible());
    EXPECT_EQ(window->CAdd->text(), "Add Record");
    EXPECT_EQ(window->CJoin->toolTip(), "Join current record  with previous");
    EXPECT_EQ(window->CString->text(), "String");
    EXPECT_EQ(window->CFind->text(), "Find ");
    EXPECT_EQ(window->C[6]->text(), "V6-edit");
    EXPECT_FALSE(window->Scrollbar->hasTracking());
}

TEST_F(KovaLayoutTest, LowerRightBlockFollowsTheInnerEdges) {
    const QSize design = kova::DesignInnerSize();
    ResizeInner(design.width(), design.height());
    QRect split = window->CSplit->geometry();
    EXPECT_EQ(split.x() + split.width(), design.width());
    EXPECT_EQ(split.y() + split.height(), design.height() - 2);  // 30 twips above
    EXPECT_EQ(window->Text1->size(), QSize(330, 102));
    EXPECT_EQ(window->L[4]->height(), 160);

    const QRect text1 = window->Text1->geometry();
    const QRect lab = window->Lab[4]->geometry();
    const QRect v7 = window->V[7][10]->geometry();
    const QRect c5 = window->C[5]->geometry();
    const QRect first = window->CFirst->geometry();
    const QRect bar2 = window->Scrollbar2->geometry();

    ResizeInner(design.width() + 100, design.height() + 100);
    EXPECT_EQ(window->Text1->geometry(), text1.adjusted(0, 0, 100, 100));
    EXPECT_EQ(window->Lab[4]->geometry(), lab.adjusted(0, 0, 100, 0));
    EXPECT_EQ(window->V[7][10]->geometry(), v7);
    EXPECT_EQ(window->C[5]->geometry(), c5.translated(0, 100));
    EXPECT_EQ(window->CFirst->geometry(), first.translated(100, 100));
    EXPECT_EQ(window->Scrollbar2->geometry(), bar2.translated(100, 0));
    EXPECT_EQ(window->L[7]->height(), 260);
    split = window->CSplit->geometry();
    EXPECT_EQ(split.x() + split.width(), design.width() + 100);
}

TEST_F(KovaLayoutTest, WindowHasAMinimumSize) {
    window->resize(200, 100);
    QApplication::processEvents();
    EXPECT_GE(window->width(), 780);
    EXPECT_GE(window->height(), 535);

    // A window system that ignores the size hints (no window manager, a
    // tiling one) can still make the window smaller: it snaps back in the
    // dimension that was too small.
    const QSize min = window->minimumSize();
    window->windowHandle()->resize(min.width() - 100, min.height() + 50);
    QApplication::processEvents();
    EXPECT_EQ(window->size(), QSize(min.width(), min.height() + 50));
    window->windowHandle()->resize(min.width() + 40, 100);
    QApplication::processEvents();
    EXPECT_EQ(window->size(), QSize(min.width() + 40, min.height()));
}

TEST_F(KovaLayoutTest, MenusStandInTheirOrder) {
    QStringList titles;
    for (QAction* a : window->menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles,
              QStringList({"&File", "&Edit", "Selection", "Frequency", "&Sequential", "&Interrater",
                           "&CrossTables", "Words", "Patterns", "Chart", "&Help", "About..."}));
    EXPECT_EQ(window->mnuFileItem[1]->text(), "&Open Kovfile..");
    EXPECT_EQ(window->mnuFileItem[1]->shortcut(), QKeySequence("Ctrl+M"));
    EXPECT_EQ(window->mnuFileItem[17]->text(), "Append Kovfile ");
    EXPECT_EQ(window->mnuFileItem[33]->text(), "E&xit");
    EXPECT_TRUE(window->mnuFileItem[3]->isCheckable());
    EXPECT_EQ(window->mnuFileItem.count(22), 0u);
    EXPECT_EQ(window->mnuEditItem[8]->text(), "Update sequencer (V2)");
    EXPECT_FALSE(window->mnuSwapVar[2]->isEnabled());
    EXPECT_EQ(window->mnuSelectItem.size(), 9u);
    EXPECT_EQ(window->mnuSelectItemEpi.size(), 8u);
    EXPECT_EQ(window->mnuSelectionItem[1]->shortcut(), QKeySequence("Ctrl+U"));
    EXPECT_EQ(window->mnuAnalyseItem[9]->text(), "All");
    EXPECT_TRUE(window->mnuInterraterItem[10]->isSeparator());
    EXPECT_EQ(window->mnuTableEdit[1]->text(), "Variable labels");
}

TEST_F(KovaLayoutTest, DrawsThePageFromTheModel) {
    core::MainWindowModel& m = s.Main;
    m.title = "KOVA Filterfile: /p/f\xE9.fil";
    m.background = core::kTeal;
    m.rows[10].v = {"12", "10:01:02", "999", "Teacher", "Q", "", "", "X"};
    m.rows[9].v[0] = "11";
    m.rows[9].lab = "two\r\nlines <b>not bold</b>";
    m.rows[9].labColour = core::kPaleYellow;
    m.text1 = "current\r\ntext";
    m.text1Colour = core::kPaleYellow;
    m.scrollMin = 1;
    m.scrollMax = 50;
    m.scrollValue = 12;
    m.scrollEnabled = true;
    m.CSave = {"Save Filters", true};
    m.CBack = {"<< Data", true};
    m.CAdd.enabled = false;
    m.Teller.caption = "50";
    m.Teller2 = {"80", true};
    m.SelLabel[0].visible = true;
    s.Varnaam[4] = "Question";

    int scrollSignals = 0;
    QObject::connect(window->Scrollbar, &QScrollBar::valueChanged, [&] { ++scrollSignals; });
    ui.MainChanged();

    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("KOVA Filterfile: /p/f\u00E9.fil"));
    EXPECT_EQ(Back(window->Page), QColor(0, 128, 128));
    EXPECT_EQ(window->V[0][10]->text(), "12");
    EXPECT_EQ(window->V[1][10]->text(), "10:01:02");
    EXPECT_EQ(window->V[2][10]->text(), "999");
    EXPECT_EQ(window->V[7][10]->text(), "X");
    EXPECT_EQ(window->V[0][9]->text(), "11");
    EXPECT_EQ(window->Lab[9]->text(), "two\nlines <b>not bold</b>");
    EXPECT_EQ(Back(window->Lab[9]), QColor(255, 255, 128));
    EXPECT_EQ(Back(window->Lab[8]), QColor(255, 255, 192));
    EXPECT_EQ(window->Text1->toPlainText(), "current\ntext");
    EXPECT_EQ(window->Text1->palette().color(QPalette::Base), QColor(255, 255, 128));
    EXPECT_EQ(window->Scrollbar->maximum(), 50);
    EXPECT_EQ(window->Scrollbar2->value(), 12);
    EXPECT_TRUE(window->Scrollbar->isEnabled());
    EXPECT_EQ(scrollSignals, 0);  // drawing runs no change handler
    EXPECT_TRUE(window->CSave->isVisible());
    EXPECT_EQ(window->CSave->text(), "Save Filters");
    EXPECT_EQ(window->CBack->text(), "<< Data");
    EXPECT_FALSE(window->CAdd->isEnabled());
    EXPECT_EQ(window->Teller->text(), "50");
    EXPECT_TRUE(window->Teller2->isVisible());
    EXPECT_TRUE(window->SelLabel[0]->isVisible());
    EXPECT_EQ(window->SelLabel[0]->text(), " of");
    EXPECT_EQ(window->Varnaam[4]->text(), "Question");

    // Drawing the same text again leaves the caret where the user put it.
    QTextCursor c = window->Text1->textCursor();
    c.setPosition(3);
    window->Text1->setTextCursor(c);
    ui.MainChanged();
    EXPECT_EQ(window->Text1->textCursor().position(), 3);

    // An empty set: the bars stand at 0 and take no input.
    m.scrollEnabled = false;
    m.scrollMax = 0;
    m.scrollValue = 0;
    ui.MainChanged();
    EXPECT_FALSE(window->Scrollbar->isEnabled());
    EXPECT_EQ(window->Scrollbar2->value(), 0);
}

TEST_F(KovaLayoutTest, EditedVariableLabelGoesToTheState) {
    window->Varnaam[5]->setFocus();
    window->Varnaam[5]->selectAll();
    window->Varnaam[5]->insert(QString::fromUtf8("Sch\u00E9ma"));
    EXPECT_EQ(s.Varnaam[5], "Sch\xE9ma");
}

TEST(KovaCommandLine, ArgumentsMakeOneName) {
    char prog[] = "kova", a[] = "/data/my", b[] = "talk.kov";
    char* argv[] = {prog, a, b, nullptr};
    EXPECT_EQ(kova::JoinCommandLine(3, argv), "/data/my talk.kov");
    EXPECT_EQ(kova::JoinCommandLine(1, argv), "");
}

}  // namespace
