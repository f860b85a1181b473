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

#include "support/main_window_fixture.h"

namespace {

using test::Back;

struct KovaLayoutTest : test::MainWindowTest {
    void SetUp() override {
        MainWindowTest::SetUp();
        w->show();
        QApplication::processEvents();
    }
    // Makes the inner area w x h pixels.
    void ResizeInner(int width, int height) {
        w->resize(w->size() + QSize(width, height) - w->Page->size());
        QApplication::processEvents();
        ASSERT_EQ(w->Page->size(), QSize(width, height));
    }
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
        EXPECT_NE(w->findChild<QWidget*>(name), nullptr) << name;
    EXPECT_EQ(w->findChild<QWidget*>("Lab(10)"), nullptr);
}

TEST_F(KovaLayoutTest, PageKeepsItsDesignPlaces) {
    EXPECT_EQ(w->V[0][1]->geometry(), QRect(0, 20, 38, 25));
    EXPECT_EQ(w->V[3][5]->geometry(), QRect(129, 186, 65, 25));
    EXPECT_EQ(w->V[7][10]->geometry(), QRect(393, 396, 65, 25));
    EXPECT_EQ(w->Lab[1]->geometry().topLeft(), QPoint(459, 18));
    EXPECT_EQ(w->Lab[7]->geometry().topLeft(), QPoint(459, 270));
    EXPECT_EQ(w->Text1->geometry().topLeft(), QPoint(459, 396));
    EXPECT_EQ(w->Varnaam[9]->geometry(), QRect(556, 0, 160, 19));
    EXPECT_EQ(w->L[4]->geometry().topLeft(), QPoint(195, 420));
    EXPECT_EQ(w->T[1]->geometry(), QRect(40, 420, 65, 27));
    EXPECT_EQ(w->Teller->geometry(), QRect(0, 420, 38, 17));

    // Design colours of the columns and the headings.
    EXPECT_EQ(Back(w->V[0][1]), QColor(255, 255, 128));
    EXPECT_EQ(Back(w->V[1][1]), QColor(192, 255, 255));
    EXPECT_EQ(Back(w->V[3][1]), QColor(192, 255, 192));
    EXPECT_EQ(Back(w->V[6][4]), QColor(192, 255, 192));
    EXPECT_EQ(Back(w->L[5]), QColor(192, 255, 255));
    EXPECT_EQ(w->Varnaam[0]->palette().color(QPalette::Base), QColor(192, 64, 0));
    EXPECT_EQ(w->Varnaam[0]->palette().color(QPalette::Text), QColor(255, 255, 0));
    EXPECT_EQ(w->Varnaam[8]->text(), "V8");
    EXPECT_EQ(w->V[2][3]->textFormat(), Qt::PlainText);
    EXPECT_EQ(w->Lab[2]->textFormat(), Qt::PlainText);
}

TEST_F(KovaLayoutTest, StartsInTheDesignState) {
    EXPECT_EQ(w->windowTitle(), "KOVA ");
    EXPECT_EQ(Back(w->Page), QColor(128, 128, 128));
    for (QWidget* hidden :
         {(QWidget*)w->CSave, (QWidget*)w->CPrint, (QWidget*)w->CFileInfo, (QWidget*)w->CRunfilter,
          (QWidget*)w->CBack, (QWidget*)w->CAnaf, (QWidget*)w->CSaveSelection,
          (QWidget*)w->CSavetable, (QWidget*)w->SelLabel[0], (QWidget*)w->SelLabel[1],
          (QWidget*)w->Teller2, (QWidget*)w->T[4], (QWidget*)w->List1})
        EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
    EXPECT_TRUE(w->C[4]->isVisible());
    EXPECT_TRUE(w->CAdd->isVisible());
    EXPECT_EQ(w->CAdd->text(), "Add Record");
    EXPECT_EQ(w->CJoin->toolTip(), "Join current record  with previous");
    EXPECT_EQ(w->CString->text(), "String");
    EXPECT_EQ(w->CFind->text(), "Find ");
    EXPECT_EQ(w->C[6]->text(), "V6-edit");
    EXPECT_FALSE(w->Scrollbar->hasTracking());
}

TEST_F(KovaLayoutTest, LowerRightBlockFollowsTheInnerEdges) {
    const QSize design = kova::DesignInnerSize();
    ResizeInner(design.width(), design.height());
    QRect split = w->CSplit->geometry();
    EXPECT_EQ(split.x() + split.width(), design.width());
    EXPECT_EQ(split.y() + split.height(), design.height() - 2);  // 30 twips above
    EXPECT_EQ(w->Text1->size(), QSize(330, 102));
    EXPECT_EQ(w->L[4]->height(), 160);

    const QRect text1 = w->Text1->geometry();
    const QRect lab = w->Lab[4]->geometry();
    const QRect v7 = w->V[7][10]->geometry();
    const QRect c5 = w->C[5]->geometry();
    const QRect first = w->CFirst->geometry();
    const QRect bar2 = w->Scrollbar2->geometry();

    ResizeInner(design.width() + 100, design.height() + 100);
    EXPECT_EQ(w->Text1->geometry(), text1.adjusted(0, 0, 100, 100));
    EXPECT_EQ(w->Lab[4]->geometry(), lab.adjusted(0, 0, 100, 0));
    EXPECT_EQ(w->V[7][10]->geometry(), v7);
    EXPECT_EQ(w->C[5]->geometry(), c5.translated(0, 100));
    EXPECT_EQ(w->CFirst->geometry(), first.translated(100, 100));
    EXPECT_EQ(w->Scrollbar2->geometry(), bar2.translated(100, 0));
    EXPECT_EQ(w->L[7]->height(), 260);
    split = w->CSplit->geometry();
    EXPECT_EQ(split.x() + split.width(), design.width() + 100);
}

TEST_F(KovaLayoutTest, WindowHasAMinimumSize) {
    w->resize(200, 100);
    QApplication::processEvents();
    EXPECT_GE(w->width(), 780);
    EXPECT_GE(w->height(), 535);

    // A window system that ignores the size hints (no window manager, a
    // tiling one) can still make the window smaller: it snaps back in the
    // dimension that was too small.
    const QSize min = w->minimumSize();
    w->windowHandle()->resize(min.width() - 100, min.height() + 50);
    QApplication::processEvents();
    EXPECT_EQ(w->size(), QSize(min.width(), min.height() + 50));
    w->windowHandle()->resize(min.width() + 40, 100);
    QApplication::processEvents();
    EXPECT_EQ(w->size(), QSize(min.width() + 40, min.height()));
}

TEST_F(KovaLayoutTest, MenusStandInTheirOrder) {
    QStringList titles;
    for (QAction* a : w->menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles,
              QStringList({"&File", "&Edit", "Selection", "Frequency", "&Sequential", "&Interrater",
                           "&CrossTables", "Words", "Patterns", "Chart", "&Help", "About..."}));
    EXPECT_EQ(w->mnuFileItem[1]->text(), "&Open Kovfile..");
    EXPECT_EQ(w->mnuFileItem[1]->shortcut(), QKeySequence("Ctrl+M"));
    EXPECT_EQ(w->mnuFileItem[17]->text(), "Append Kovfile ");
    EXPECT_EQ(w->mnuFileItem[33]->text(), "E&xit");
    EXPECT_TRUE(w->mnuFileItem[3]->isCheckable());
    EXPECT_EQ(w->mnuFileItem.count(22), 0u);
    EXPECT_EQ(w->mnuEditItem[8]->text(), "Update sequencer (V2)");
    EXPECT_FALSE(w->mnuSwapVar[2]->isEnabled());
    EXPECT_EQ(w->mnuSelectItem.size(), 9u);
    EXPECT_EQ(w->mnuSelectItemEpi.size(), 8u);
    EXPECT_EQ(w->mnuSelectionItem[1]->shortcut(), QKeySequence("Ctrl+U"));
    EXPECT_EQ(w->mnuAnalyseItem[9]->text(), "All");
    EXPECT_TRUE(w->mnuInterraterItem[10]->isSeparator());
    EXPECT_EQ(w->mnuTableEdit[1]->text(), "Variable labels");
}

TEST_F(KovaLayoutTest, DrawsThePageFromTheModel) {
    core::MainWindowModel& m = s.Main;
    m.title = "KOVA Filterfile: /p/f\xE9.fil";
    m.background = core::kTeal;
    m.rows[10].v = {"12", "10:01:02", "999", "Teacher", "Q", "", "", "X"};
    m.rows[9].v[0] = "32767";  // five digits fit the number column
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
    QObject::connect(w->Scrollbar, &QScrollBar::valueChanged, [&] { ++scrollSignals; });
    ui.MainChanged();

    EXPECT_EQ(w->windowTitle(), QString::fromUtf8("KOVA Filterfile: /p/f\u00E9.fil"));
    EXPECT_EQ(Back(w->Page), QColor(0, 128, 128));
    EXPECT_EQ(w->V[0][10]->text(), "12");
    EXPECT_LE(w->V[0][9]->sizeHint().width(), w->V[0][9]->width());
    EXPECT_EQ(w->V[1][10]->text(), "10:01:02");
    EXPECT_EQ(w->V[2][10]->text(), "999");
    EXPECT_EQ(w->V[7][10]->text(), "X");
    EXPECT_EQ(w->V[0][9]->text(), "32767");
    EXPECT_EQ(w->Lab[9]->text(), "two\nlines <b>not bold</b>");
    EXPECT_EQ(Back(w->Lab[9]), QColor(255, 255, 128));
    EXPECT_EQ(Back(w->Lab[8]), QColor(255, 255, 192));
    EXPECT_EQ(w->Text1->toPlainText(), "current\ntext");
    EXPECT_EQ(w->Text1->palette().color(QPalette::Base), QColor(255, 255, 128));
    EXPECT_EQ(w->Scrollbar->maximum(), 50);
    EXPECT_EQ(w->Scrollbar2->value(), 12);
    EXPECT_TRUE(w->Scrollbar->isEnabled());
    EXPECT_EQ(scrollSignals, 0);  // drawing runs no change handler
    EXPECT_TRUE(w->CSave->isVisible());
    EXPECT_EQ(w->CSave->text(), "Save Filters");
    EXPECT_EQ(w->CBack->text(), "<< Data");
    EXPECT_FALSE(w->CAdd->isEnabled());
    EXPECT_EQ(w->Teller->text(), "50");
    EXPECT_TRUE(w->Teller2->isVisible());
    EXPECT_TRUE(w->SelLabel[0]->isVisible());
    EXPECT_EQ(w->SelLabel[0]->text(), " of");
    EXPECT_EQ(w->Varnaam[4]->text(), "Question");

    // Drawing the same text again leaves the caret where the user put it.
    QTextCursor c = w->Text1->textCursor();
    c.setPosition(3);
    w->Text1->setTextCursor(c);
    ui.MainChanged();
    EXPECT_EQ(w->Text1->textCursor().position(), 3);

    // An empty set: the bars stand at 0 and take no input.
    m.scrollEnabled = false;
    m.scrollMax = 0;
    m.scrollValue = 0;
    ui.MainChanged();
    EXPECT_FALSE(w->Scrollbar->isEnabled());
    EXPECT_EQ(w->Scrollbar2->value(), 0);
}

TEST_F(KovaLayoutTest, EditedVariableLabelGoesToTheState) {
    w->Varnaam[5]->setFocus();
    w->Varnaam[5]->selectAll();
    w->Varnaam[5]->insert(QString::fromUtf8("Sch\u00E9ma"));
    EXPECT_EQ(s.Varnaam[5], "Sch\xE9ma");
}

TEST(KovaCommandLine, ArgumentsMakeOneName) {
    char prog[] = "kova", a[] = "/data/my", b[] = "talk.kov";
    char* argv[] = {prog, a, b, nullptr};
    EXPECT_EQ(kova::JoinCommandLine(3, argv), "/data/my talk.kov");
    EXPECT_EQ(kova::JoinCommandLine(1, argv), "");
}

}  // namespace
