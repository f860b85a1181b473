#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>
#include <fstream>

#include "mainwindow/daily_fixture.h"
#include "mainwindow/windows/memo.h"
#include "support/qt_app.h"
#include "widgets/common_dialog.h"
#include "widgets/text_codec.h"

namespace {

namespace fs = std::filesystem;

TEST(CommonDialogFilters, PairsBecomeQtNameFilters) {
    QStringList f = CommonDialog::QtFilters(core::kDataFilter);
    ASSERT_EQ(f.size(), 4);
    EXPECT_EQ(f[0].toStdString(), "All Files (*.*) (*)");
    EXPECT_EQ(f[1].toStdString(), "Kov Files (*.kov) (*.kov*)");
    EXPECT_EQ(f[3].toStdString(), "Batch Files (*.bat) (*.bat)");
}

TEST(CommonDialog, OpenTakesAnyNameAndSaveAsksNoOverwriteQuestion) {
    test::App();
    CommonDialog common(nullptr);
    QFileDialog open;
    common.Configure(open, {"", core::kTableFilter, "A title"}, false);
    EXPECT_EQ(open.windowTitle().toStdString(), "A title");
    EXPECT_EQ(open.fileMode(), QFileDialog::AnyFile);  // a new name opens a new set
    EXPECT_EQ(open.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(open.selectedNameFilter().toStdString(), "Table Files (*.tbl)");

    QFileDialog save;
    common.Configure(save, {"/tmp/x.tbl", core::kTableFilter, "Save Tablefile"}, true);
    EXPECT_EQ(save.windowTitle().toStdString(), "Save Tablefile");  // each use its own
    EXPECT_EQ(save.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_TRUE(save.testOption(QFileDialog::DontConfirmOverwrite));
}

TEST(CommonDialog, EachUseHasItsOwnTitleAndTestsCanAnswer) {
    CommonDialog dialog(nullptr);
    CommonDialog::TestAnswer() = [](const core::FileDialogRequest&, bool save) {
        return save ? std::optional<std::string>("saved") : std::nullopt;
    };
    EXPECT_FALSE(dialog.ShowOpen({"", core::kDataFilter, "First"}).has_value());
    EXPECT_EQ(dialog.ShowSave({"", core::kDataFilter, "Second"}), "saved");
    EXPECT_EQ(dialog.Title().toStdString(), "Second");
    CommonDialog::TestAnswer() = nullptr;
}

struct MemoWindow : ::testing::Test {
    core::KovaState s;
    test::FakeUi ui;
    void SetUp() override { test::App(); }
};

TEST_F(MemoWindow, ModelessOkStoresWithCrLfAndCloses) {
    test::ShowSet1(s, ui, 12, 12);
    Memo memo(s, ui);
    memo.Open(core::MemoTargetForRow(s, 4));
    memo.ShowModeless();
    EXPECT_EQ(memo.windowTitle().toStdString(), "Memo at 6");
    memo.TextBox1->setPlainText(QString::fromUtf8("first\nsecond \xc3\xa9"));
    memo.Command1[0]->click();
    EXPECT_EQ(s.Records1[6].Memo, "first\r\nsecond \xe9");
    EXPECT_FALSE(memo.isVisible());
    EXPECT_EQ(s.Main.rows[4].labColour, core::kPaleYellow);
}

TEST_F(MemoWindow, EscapeKeepsTheEditorAndItsText) {
    test::ShowSet1(s, ui, 12, 12);
    Memo memo(s, ui);
    memo.Open(core::MemoTargetForCurrent(s));
    memo.ShowModeless();
    memo.TextBox1->setPlainText("typed");
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(memo.TextBox1, &escape);
    EXPECT_TRUE(memo.isVisible());
    EXPECT_EQ(memo.TextBox1->toPlainText().toStdString(), "typed");
    EXPECT_EQ(s.Records1[12].Memo, "");
    memo.hide();
}

TEST_F(MemoWindow, MovedRecordKeepsTheTextInTheOpenEditor) {
    test::ShowSet1(s, ui, 12, 12);
    Memo memo(s, ui);
    memo.Open(core::MemoTargetForCurrent(s));
    memo.ShowModeless();
    memo.TextBox1->setPlainText("typed");
    s.Records1.pop_back();  // the last record is cut
    s.RecordCount1 = 11;
    memo.Command1[0]->click();
    EXPECT_TRUE(memo.isVisible());
    EXPECT_EQ(memo.TextBox1->toPlainText().toStdString(), "typed");
    EXPECT_EQ(ui.messages.size(), 1u);
    memo.hide();
}

TEST_F(MemoWindow, FileInfoIsEditedModally) {
    test::ShowSet1(s, ui, 2, 1);
    s.FileInfo1 = "info";
    Memo memo(s, ui);
    memo.Open(core::FileInfoTarget(s));
    EXPECT_EQ(memo.windowTitle().toStdString(), "File info: /tmp/one.kov");
    EXPECT_EQ(memo.width(), 467);  // 7000 twips, to the nearest pixel
    test::WhenModal([&](QWidget* w) {
        EXPECT_EQ(w, &memo);
        memo.TextBox1->setPlainText("");
        memo.Command1[0]->click();
    });
    memo.ShowModal();
    EXPECT_EQ(s.FileInfo1, "/tmp/one.kov");
    EXPECT_EQ(memo.width(), 179);  // 2685 twips
}

}  // namespace
