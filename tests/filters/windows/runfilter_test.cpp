#include "filters/windows/runfilter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <cstdlib>

#include "filters/filter_test_support.h"
#include "patterns/windows/words.h"
#include "support/fake_ui.h"
#include "support/main_window_fixture.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"

namespace {

struct RunfilterWindow : ::testing::Test {
    core::KovaState s;
    test::FakeUi ui;

    void SetUp() override {
        test::App();
        test::SetCodedProtocol(s, 6, {2, 5});
        s.CurrentRecord1 = 2;
        test::SetProgram(s, {test::FilterLine(0, {{4, "A"}}), test::FilterLine(999, {{5, "B"}})});
        s.ViewMode = 3;
    }
    void TearDown() override {
        if (Words* w = Words::Find())
            delete w;
    }
    // A shown dialog that deletes itself when it closes.
    QPointer<runfilter> Open() {
        QPointer<runfilter> d = new runfilter(s, ui);
        d->show();
        return d;
    }
    static void Press(QPushButton* button) {
        button->click();
        QApplication::processEvents();
    }
};

TEST_F(RunfilterWindow, LoadPresetsTheRangeAndClearsTheOptions) {
    s.FilterAppendMode = core::kTrue;
    s.FilterReportOn = core::kTrue;
    runfilter d(s, ui);
    EXPECT_EQ(d.windowTitle(), "KOVA Run filter(s)");
    EXPECT_EQ(d.Text1[0]->text(), "2");
    EXPECT_EQ(d.Text1[1]->text(), "6");
    EXPECT_EQ(s.FilterAppendMode, core::kFalse);
    EXPECT_EQ(s.FilterReportOn, core::kFalse);
    EXPECT_FALSE(d.Check1->isChecked());
    EXPECT_EQ(d.Check1->text(), "Appending changes (filter conflict analysis)");
    EXPECT_EQ(d.Check2->text(), "Filter report (summary of succeeded filters)");
    EXPECT_EQ(d.Label2[0]->text(), "On record no.               to");
    EXPECT_EQ(d.Command3->text(), "Run All Filters");
    EXPECT_EQ(d.Command1->text(), "Run Current Filter");
    EXPECT_FALSE(d.isModal());
}

TEST_F(RunfilterWindow, RangeBoxesLeaveTheWordsOfTheRangeLineInSight) {
    runfilter d(s, ui);
    const QLabel* line = d.Label2[0];
    const QFontMetrics fm(line->font());
    const QString text = line->text();
    const int leadEnd = line->x() + fm.horizontalAdvance("On record no.");
    const int toStart = line->x() + fm.horizontalAdvance(text.left(text.size() - 2));
    const int textEnd = line->x() + fm.horizontalAdvance(text);
    // The first box stands in the run of blanks, the second behind "to".
    EXPECT_GE(d.Text1[0]->x(), leadEnd);
    EXPECT_LE(d.Text1[0]->geometry().right(), toStart);
    EXPECT_GE(d.Text1[1]->x(), textEnd);
    EXPECT_LE(d.Text1[1]->geometry().right(), d.width());
    // Both boxes are wide enough for a five-digit record number.
    const int digits = QFontMetrics(d.Text1[0]->font()).horizontalAdvance("32767");
    EXPECT_GT(d.Text1[0]->width(), digits);
    EXPECT_GT(d.Text1[1]->width(), digits);
}

// The options are read from the boxes when a run starts: a box ticked
// without a click (by an accessibility tool, say) counts as well.
TEST_F(RunfilterWindow, TheRunTakesTheOptionsAsTheBoxesShowThem) {
    QPointer<runfilter> d = Open();
    d->Check1->setChecked(true);
    d->Check2->setChecked(true);
    Press(d->Command3);
    EXPECT_EQ(s.FilterAppendMode, core::kTrue);
    EXPECT_EQ(s.FilterReportOn, core::kTrue);
    EXPECT_NE(Words::Find(), nullptr);
}

TEST_F(RunfilterWindow, RunAllRunsOverTheTypedRangeAndCloses) {
    QPointer<runfilter> d = Open();
    d->Text1[0]->setText("1");
    d->Text1[1]->setText("4");
    Press(d->Command3);
    EXPECT_TRUE(d.isNull());
    EXPECT_EQ(test::Column(s, 5), (std::vector<std::string>{"", "B", "", "", "", ""}));
    EXPECT_EQ(s.ViewMode, 1);
    EXPECT_EQ(Words::Find(), nullptr);
}

TEST_F(RunfilterWindow, BadRangeClosesWithoutRunning) {
    QPointer<runfilter> d = Open();
    d->Text1[0]->setText("5");
    d->Text1[1]->setText("3");
    Press(d->Command1);
    EXPECT_TRUE(d.isNull());
    EXPECT_EQ(test::Column(s, 5), std::vector<std::string>(6));
    EXPECT_EQ(s.ViewMode, 3);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(RunfilterWindow, CancelSetsDialogCancelled) {
    QPointer<runfilter> d = Open();
    Press(d->Command2);
    EXPECT_TRUE(d.isNull());
    EXPECT_EQ(s.DialogCancelled, 1);
}

TEST_F(RunfilterWindow, ReportShowsTheWordsWindowSortableByHeading) {
    QPointer<runfilter> d = Open();
    d->Check2->click();
    Press(d->Command3);
    Words* w = Words::Find();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), "KOVA Filter Report");
    ASSERT_EQ(w->Grid->columnCount(), 5);
    ASSERT_EQ(w->Grid->rowCount(), 2);
    EXPECT_EQ(w->Grid->horizontalHeaderItem(3)->text(), "filter no.");
    EXPECT_EQ(w->Grid->item(0, 2)->text(), "2");
    EXPECT_EQ(w->Grid->item(1, 2)->text(), "5");
    EXPECT_EQ(w->Grid->item(1, 4)->text(), "B");
    EXPECT_EQ(w->Label1->text(), "Total of succeeded filters:");
    EXPECT_EQ(w->Label3->text(), " 2");
    EXPECT_EQ(w->Label4->text(), " 1");

    // Sorting by a heading reorders the table model as well as the grid.
    s.ResultTable.cells[1][2] = "9";
    w->Refresh();
    w->Grid_HeadingClick(2);
    EXPECT_EQ(w->Grid->item(0, 2)->text(), "5");
    EXPECT_EQ(s.ResultTable.cells[1][2], "5");
    EXPECT_EQ(s.ResultTable.cells[0][2], "prot.line");

    // The report window stands in the middle of the screen (not at its
    // corner over the main window's menu), every column wide enough for its
    // heading.
    const QRect screen = w->screen()->geometry();
    const QRect frame = w->frameGeometry();
    EXPECT_LE(std::abs(frame.center().x() - screen.center().x()), 2);
    EXPECT_LE(std::abs(frame.center().y() - screen.center().y()), 2);
    QHeaderView* headings = w->Grid->horizontalHeader();
    for (int c = 0; c < w->Grid->columnCount(); ++c) {
        const QString text = w->Grid->horizontalHeaderItem(c)->text();
        const int needed = headings->fontMetrics().horizontalAdvance(text);
        EXPECT_GT(w->Grid->columnWidth(c), needed) << text.toStdString();
    }
}

// The List button writes what the filters' side handed the window: the
// report block into the analysis output file beside the data file.
TEST_F(RunfilterWindow, ListWritesTheFilterReportBlock) {
    test::TempDir dir;
    s.DataFileName1 = dir.File("talk.kov");
    QPointer<runfilter> d = Open();
    d->Check2->click();
    Press(d->Command3);
    Words* w = Words::Find();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(dir.Listing(), "");
    Press(w->Command2);
    EXPECT_EQ(s.AnalysisFileName, dir.File("talk.ana"));
    std::ifstream in(s.AnalysisFileName, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    EXPECT_NE(bytes.find("FILTER REPORT: "), std::string::npos);

    // A table shown without a List action leaves the file as it is.
    Words::ShowTable(s, ui, nullptr);
    Press(w->Command2);
    std::ifstream again(s.AnalysisFileName, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(again)), {}), bytes);
}

runfilter* OpenRunfilter() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<runfilter*>(w); d != nullptr && d->isVisible())
            return d;
    return nullptr;
}

using RunFilterButton = test::MainWindowTest;

TEST_F(RunFilterButton, OpensTheDialogFromTheFilterView) {
    test::SetCodedProtocol(s, 3, {});
    test::SetProgram(s, {test::FilterLine(999, {})});
    s.ViewMode = 3;
    w->CRunfilter_Click();
    runfilter* d = OpenRunfilter();
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->Text1[1]->text(), "3");
    // A second click keeps the one dialog, with the option ticked in it.
    d->Check2->click();
    w->CRunfilter_Click();
    int open = 0;
    for (QWidget* top : QApplication::topLevelWidgets())
        open += qobject_cast<runfilter*>(top) != nullptr;
    EXPECT_EQ(open, 1);
    EXPECT_EQ(OpenRunfilter(), d);
    EXPECT_TRUE(d->Check2->isChecked());
    d->close();
    QApplication::processEvents();

    // Without a data file there is nothing to run the filters on.
    s.DataFileName1.clear();
    QString title;
    test::WhenModal([&title](QWidget* box) {
        title = box->windowTitle();
        box->close();
    });
    w->CRunfilter_Click();
    EXPECT_EQ(title, "ERROR HELP");
    EXPECT_EQ(OpenRunfilter(), nullptr);
}

}  // namespace
