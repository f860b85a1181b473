// The Interrater and CrossTables menus and "Make Filter" on the sample
// protocol and a second coder's copy of it, driven by real events.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "analyses/analysis_fixture.h"
#include "analyses/windows/cross.h"
#include "analyses/windows/interask.h"
#include "analyses/windows/uitvoer.h"
#include "mainwindow/import_fixture.h"
#include "mainwindow/windows/savefile.h"
#include "store/data_file.h"
#include "store/selection_store.h"
#include "store/text.h"
#include "support/main_window_fixture.h"
#include "widgets/text_codec.h"
#include "widgets/window_util.h"

namespace {

using test::Click;
using test::Key;
using test::ReadBytes;

void ClickRow(QListWidget* list, int row) {
    Click(list->viewport(), list->visualItemRect(list->item(row)).center());
}

struct AnalysisMenusGui : test::SampleProtocolTest {
    std::string coder2File, filFile;
    std::vector<std::string> promptNames;

    void SetUp() override {
        coder2File = dir.File("classroom-coder2.kov");
        filFile = dir.File("classroom.fil");
        for (const std::string& copy : {coder2File, filFile})
            std::filesystem::copy_file(std::string(KOVA_SOURCE_DIR) + "/examples/" +
                                           std::filesystem::path(copy).filename().string(),
                                       copy);
        SampleProtocolTest::SetUp();
        w->show();
    }

    // The save prompt's name is noted and Cancel clicked.
    void CancelSavePrompt() {
        test::WhenDialog<savefile>([this](savefile* prompt) {
            promptNames.push_back(FromQString(prompt->Label1->text()));
            prompt->Command3->click();
        });
    }
    void OpenKov2() {
        AnswerDialogs({coder2File});
        w->mnuInterraterItem.at(1)->trigger();
    }
};

TEST_F(AnalysisMenusGui, OpenKov2ShowsDataSet2AndItsEditsGoToItsOwnFile) {
    const std::string before1 = ReadBytes(kovFile);
    OpenKov2();
    ASSERT_EQ(s.ViewMode, 2);
    EXPECT_EQ(test::Back(w->Page), QColor(192, 64, 0));
    EXPECT_EQ(w->CSave->text(), "Save Data2");
    EXPECT_FALSE(w->CRunfilter->isVisible());

    // A page down and an edit of the speaker box land in data set 2.
    Click(w->CPgDn);
    const int16_t current = s.CurrentRecord2;
    EXPECT_GT(current, 1);
    w->T[3]->setFocus();
    w->T[3]->setText("P");
    Key(w->T[3], Qt::Key_Return);
    EXPECT_EQ(s.Records2[static_cast<size_t>(current)].V3, "P");
    EXPECT_NE(s.Records1[static_cast<size_t>(current)].V3, "P");

    // The record buttons act on data set 2 too.
    const int16_t count1 = s.RecordCount1;
    const int16_t count2 = s.RecordCount2;
    Click(w->CAdd);
    EXPECT_EQ(s.RecordCount2, count2 + 1);
    EXPECT_EQ(s.RecordCount1, count1);
    Click(w->CSave);
    const test::ReadBack saved = test::ReadDataBack(coder2File);
    EXPECT_EQ(saved.records[static_cast<size_t>(current)].V3, "P");
    EXPECT_EQ(saved.count, count2 + 1);
    EXPECT_EQ(ReadBytes(kovFile), before1);

    // Back goes to data set 1 and again to data set 2.
    Click(w->CBack);
    EXPECT_EQ(s.ViewMode, 1);
    EXPECT_EQ(w->CBack->text(), ">> Data2");
    Click(w->CBack);
    EXPECT_EQ(s.ViewMode, 2);
    EXPECT_EQ(s.CurrentRecord2, current + 1);  // the added record
}

TEST_F(AnalysisMenusGui, CancelWhenReopeningKeepsTheViewAndThePageOfDataSet1) {
    OpenKov2();
    Click(w->CBack);
    ASSERT_EQ(s.ViewMode, 1);
    CancelSavePrompt();
    OpenKov2();
    EXPECT_EQ(promptNames, std::vector<std::string>{coder2File});
    EXPECT_EQ(s.ViewMode, 1);
    // An edit now lands in data set 1, the set on the screen.
    w->T[3]->setText("Z");
    Key(w->T[3], Qt::Key_Return);
    EXPECT_EQ(s.Records1[static_cast<size_t>(s.CurrentRecord1)].V3, "Z");
}

TEST_F(AnalysisMenusGui, InterraterV4ReportsTheAgreementAndEscapeCancels) {
    OpenKov2();
    Click(w->CBack);
    // The items show the labels while the menu is open.
    s.Varnaam[4] = "speech act";
    emit w->mnuInterrater->aboutToShow();
    EXPECT_EQ(w->mnuInterraterItem.at(6)->text(), "speech act");

    test::WhenDialog<interask>([&](interask* d) {
        EXPECT_EQ(d->windowTitle(), "KOVA Interrater Reliability Options");
        EXPECT_EQ(d->Label2->text(), ToQString(coder2File));
        Click(d->Command1);
    });
    w->mnuInterraterItem.at(6)->trigger();
    EXPECT_EQ(s.CompareVariable, 4);
    const std::string ana = ReadBytes(anaFile);
    EXPECT_NE(ana.find("INTERRATER AGREEMENT: speech act"), std::string::npos);
    // The second coder's copy differs in 13 speech acts.
    int pairs = 0;
    for (int i = 1; i <= s.RecordCount1; ++i)
        pairs += !s.Records1[static_cast<size_t>(i)].V4.empty() &&
                 !s.Records2[static_cast<size_t>(i)].V4.empty();
    ASSERT_GT(pairs, 13);
    const std::string agreement = test::At(
        {{1, "Total:"},
         {12, test::R8(std::to_string(pairs))},
         {24, test::R8(std::to_string(pairs - 13))},
         {36,
          test::R8(core::FormatNumber((pairs - 13) / static_cast<double>(pairs), "####0.00%"))}});
    EXPECT_NE(ana.find(agreement.substr(0, agreement.size() - 2)), std::string::npos) << ana;
    EXPECT_TRUE(ui.Viewer().isVisible());

    // Escape in the dialog cancels: nothing is written.
    const std::string before = ReadBytes(anaFile);
    test::WhenDialog<interask>([](interask* d) { Key(d, Qt::Key_Escape); });
    w->mnuInterraterItem.at(11)->trigger();
    EXPECT_EQ(ReadBytes(anaFile), before);
}

TEST_F(AnalysisMenusGui, CrossTablesOpensOneDialogAndRunsTheTableAtTheLag) {
    s.Varnaam[3] = std::string(5000, 'L');  // a label of megabytes shows cut
    w->mnuCrossTable->trigger();
    w->mnuCrossTable->trigger();
    const auto dialogs = w->findChildren<cross*>();
    ASSERT_EQ(dialogs.size(), 1);
    QPointer<cross> d = dialogs[0];
    EXPECT_TRUE(d->isVisible());
    EXPECT_FALSE(d->isModal());
    ASSERT_EQ(d->List1->count(), 6);
    EXPECT_EQ(d->List1->item(1)->text().size(), kMaxShownLineBytes);
    EXPECT_EQ(d->Text1->text(), "1");
    EXPECT_EQ(d->Text2->text(), QString::number(s.RecordCount1));
    ClickRow(d->List1, 2);
    ClickRow(d->List2, 3);
    d->Combo1->setFocus();
    Key(d->Combo1, Qt::Key_Down);
    EXPECT_EQ(s.Lag, 1);
    Click(d->Command1);
    const std::string ana = ReadBytes(anaFile);
    EXPECT_NE(ana.find("CROSS TABLES: V4 x V5"), std::string::npos) << ana.substr(0, 300);
    EXPECT_NE(ana.find("Row at Lag:-1 "), std::string::npos);
    EXPECT_TRUE(ui.Viewer().isVisible());
    QApplication::processEvents();
    EXPECT_TRUE(d.isNull() || !d->isVisible());

    // Not in the view of another set.
    OpenKov2();
    w->mnuCrossTable->trigger();
    for (cross* open : w->findChildren<cross*>())
        EXPECT_FALSE(open->isVisible());
}

// Under a selection of the even records, the typed record numbers 4 to 10
// are the 2nd to the 5th shown record.
TEST_F(AnalysisMenusGui, CrossTablesMapTypedRecordNumbersUnderASelection) {
    ASSERT_GE(s.RecordCount1, 20);
    core::BeginSelection(s, ui);
    for (int k = 2; k <= 20; k += 2)
        s.SelectionMarks1[static_cast<size_t>(k)] = 1;
    core::ApplySelection(s, ui);
    ASSERT_EQ(s.SelectionShown1, core::kTrue);
    w->mnuCrossTable->trigger();
    const auto dialogs = w->findChildren<cross*>();
    ASSERT_EQ(dialogs.size(), 1);
    cross* d = dialogs[0];
    EXPECT_EQ(d->Text1->text(), "2");
    EXPECT_EQ(d->Text2->text(), "20");
    for (auto [box, typed] : {std::pair{d->Text1, "4"}, std::pair{d->Text2, "10"}}) {
        box->setFocus();
        Key(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, typed);
    }
    ClickRow(d->List1, 2);
    ClickRow(d->List2, 3);
    Click(d->Command1);
    EXPECT_EQ(s.FromRecord, 2);
    EXPECT_EQ(s.ToRecord, 5);
    EXPECT_NE(ReadBytes(anaFile).find("(Selected: 4 - 10 )"), std::string::npos);
}

TEST_F(AnalysisMenusGui, MakeFilterFromTheSelectedWordFindsTheRecord) {
    AnswerDialogs({filFile});
    w->mnuFileItem.at(8)->trigger();
    ASSERT_EQ(s.ViewMode, 3);
    const int16_t current = s.CurrentFilterLine;
    Click(w->CBack);
    ASSERT_EQ(s.ViewMode, 1);
    EXPECT_EQ(w->CRunfilter->text(), "Make Filter");
    ASSERT_TRUE(w->CRunfilter->isVisible());
    ASSERT_EQ(s.Records1[static_cast<size_t>(s.CurrentRecord1)].V8.substr(0, 5), "Good ");

    // Select "Good" with the keyboard, then the button: the new condition
    // after the current line (the lines themselves are the core tests' part).
    w->Text1->setFocus();
    Key(w->Text1, Qt::Key_Home, Qt::ControlModifier);
    for (int i = 0; i < 4; ++i)
        Key(w->Text1, Qt::Key_Right, Qt::ShiftModifier);
    ASSERT_EQ(w->Text1->textCursor().selectedText(), "Good");
    Click(w->CRunfilter);
    EXPECT_EQ(s.ViewMode, 3);
    EXPECT_EQ(s.Records2[static_cast<size_t>(current + 1)].V8, "Good*");
}

TEST_F(AnalysisMenusGui, ClosingOnDataSet2AsksAboutItsFile) {
    OpenKov2();
    CancelSavePrompt();
    w->close();
    EXPECT_EQ(promptNames, std::vector<std::string>{coder2File});
    EXPECT_EQ(quits, 0);
    EXPECT_TRUE(w->isVisible());
}

}  // namespace
