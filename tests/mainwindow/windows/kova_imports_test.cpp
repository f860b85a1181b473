// Append, merge, the imports, automatic saving and Help driven through the
// main window's menu and the dialogs they open.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTimer>
#include <deque>
#include <filesystem>

#include "mainwindow/daily_fixture.h"
#include "mainwindow/import_fixture.h"
#include "mainwindow/windows/autosaveask.h"
#include "mainwindow/windows/excelask.h"
#include "mainwindow/windows/generaltxt.h"
#include "mainwindow/windows/help_viewer.h"
#include "mainwindow/windows/savefile.h"
#include "store/open_save.h"
#include "support/main_window_fixture.h"

namespace {

namespace fs = std::filesystem;

// What a message box showed.
struct Seen {
    QString title, text;
};

using test::WhenDialog;

// The next message box is noted and closed with OK.
void CloseMessage(Seen& seen) {
    WhenDialog<QMessageBox>([&seen](QMessageBox* box) {
        seen = {box->windowTitle(), box->text()};
        box->button(QMessageBox::Ok)->click();
    });
}

struct KovaImports : test::MainWindowTest {
    void SetUp() override {
        MainWindowTest::SetUp();
        w->Form_Load("");
    }
    void Pick(int index) { w->mnuFileItem[index]->trigger(); }
};

TEST_F(KovaImports, CommandsWithoutTheirSetSayWhatToOpenFirst) {
    const std::pair<int, const char*> cases[] = {
        {17, "First, open kov.file to append to!"},
        {18, "First, open Filter file (*.fil) to append to!"},
        {20, "First, open kov.file to merge with!"},
    };
    for (const auto& [index, text] : cases) {
        Seen seen;
        CloseMessage(seen);
        Pick(index);
        EXPECT_EQ(seen.title, "ERROR HELP");
        EXPECT_EQ(seen.text, text);
    }
}

TEST_F(KovaImports, AppendAndMergeRedrawTheWindow) {
    const std::string one = WriteProtocol("one.kov", test::Timed({"10:00", "10:10"}, "a"), 2);
    const std::string two = WriteProtocol("two.kov", test::Timed({"10:05"}, "b"), 1);
    ASSERT_TRUE(core::OpenDataFile(s, ui, one));
    AnswerDialogs({two});
    Pick(20);
    ASSERT_EQ(s.RecordCount1, 3);
    EXPECT_EQ(s.Records1[2].V8, "b1");
    EXPECT_EQ(w->Teller->text(), "3");
    AnswerDialogs({two});
    Pick(17);
    EXPECT_EQ(s.RecordCount1, 4);
    EXPECT_EQ(w->Teller->text(), "4");
    EXPECT_EQ(w->Scrollbar->maximum(), 4);
}

TEST_F(KovaImports, DialogueDialogStaysOpenUntilCompleteAndImports) {
    const std::string source = dir.File("talk.txt");
    test::WriteBytes(source, "#Session 1\r\n10:00; Anna; Hi\r\n10:01; Bo; Hello\r\n");
    AnswerDialogs({source});
    bool stayedOpen = false;
    QString shownName;
    WhenDialog<generaltxt>([&](generaltxt* d) {
        shownName = d->LFileName->text();
        d->Delimiter->setText(";");
        d->CReadFile->click();  // no layout chosen yet
        stayedOpen = d->isVisible();
        d->Option1[0]->setChecked(true);
        d->CommentChar->setText("#");
        d->CReadFile->click();
    });
    Pick(24);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(shownName.toStdString(), source);
    ASSERT_EQ(s.RecordCount1, 2);
    EXPECT_EQ(s.Records1[2].V3, "Bo");
    EXPECT_EQ(s.FileInfo1, "Session 1");
    EXPECT_EQ(w->windowTitle().toStdString(), "KOVA Datafile: " + dir.File("talk.kov"));
    EXPECT_TRUE(fs::exists(dir.File("talk.kov")));
}

TEST_F(KovaImports, ClosingTheDialogueDialogImportsNothing) {
    const std::string source = dir.File("talk.txt");
    test::WriteBytes(source, "A; b\r\n");
    s.DialogueLayout = "met tijd";  // options of an earlier import
    s.DialogueDelimiter = ";";
    AnswerDialogs({source});
    WhenDialog<generaltxt>([](generaltxt* d) { d->close(); });
    Pick(24);
    EXPECT_EQ(s.RecordCount1, 0);
    EXPECT_EQ(dir.Listing(), "talk.txt;");
}

TEST_F(KovaImports, WorksheetDialogChecksItsNumbersAndImports) {
    const std::string book = dir.File("lesson.xls");
    fs::copy_file(fs::path(KOVA_SOURCE_DIR) / "tests/store/data/lesson.xls", book);
    AnswerDialogs({book});
    Seen seen;
    QStringList sheets;
    bool stayedOpen = false;
    WhenDialog<excelask>([&](excelask* d) {
        for (int i = 0; i < d->cmbSheets->count(); ++i)
            sheets << d->cmbSheets->itemText(i);
        d->Text1[0]->setText("1");
        d->Text1[7]->setText("3");
        d->Text2[0]->setText("2");
        d->Text2[1]->setText("0");
        CloseMessage(seen);
        d->Command1[0]->click();
        stayedOpen = d->isVisible();
        d->Text2[1]->setText("4");
        d->Command1[0]->click();
    });
    Pick(26);
    EXPECT_EQ(sheets, (QStringList{"Lesson", "Notes"}));
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(seen.title, "ERROR HELP");
    ASSERT_EQ(s.RecordCount1, 3);
    EXPECT_EQ(s.Records1[1].V1, "10:00:00");
    EXPECT_EQ(s.Records1[1].V8, "Shall we go?");
    EXPECT_EQ(s.DataFileName1, dir.File("lesson.kov"));

    // After the save question, Cancel imports nothing and keeps the set. (The
    // workbook of the open set would be refused before its dialog: its data
    // file is the open one.)
    auto importCopy = [&](const std::string& name, std::function<void(excelask*)> answer) {
        fs::copy_file(book, dir.File(name));
        AnswerDialogs({dir.File(name)});
        WhenDialog<savefile>([answer](savefile* prompt) {
            WhenDialog<excelask>(answer);
            prompt->Command2->click();
        });
        Pick(26);
    };
    importCopy("other.xls", [](excelask* d) { d->Command1[1]->click(); });
    EXPECT_EQ(s.RecordCount1, 3);

    // The sheet chosen in the box is read, by its place in the workbook.
    importCopy("notes.xls", [](excelask* d) {
        d->cmbSheets->setCurrentIndex(1);
        d->Text1[7]->setText("1");
        d->Command1[0]->click();
    });
    ASSERT_EQ(s.RecordCount1, 1);
    EXPECT_EQ(s.Records1[1].V8, "only a note");
    EXPECT_EQ(s.FileInfo1, dir.File("notes.kov") + " | worksheet: Notes");
}

TEST_F(KovaImports, AutomaticSaveOptionStartsTheTimerAndTheTickSaves) {
    const std::string name = WriteProtocol("lesson.kov", test::MakeRecords(3), 3);
    ASSERT_TRUE(core::OpenDataFile(s, ui, name));
    WhenDialog<autosaveask>([](autosaveask* d) {
        EXPECT_EQ(d->List1->count(), 13);
        EXPECT_EQ(d->List1->currentRow(), 0);
        d->List1->setCurrentRow(1);
        d->OKButton->click();
    });
    Pick(3);
    EXPECT_TRUE(w->Timer1->isActive());
    EXPECT_EQ(w->Timer1->interval(), 60000);
    EXPECT_TRUE(w->mnuFileItem[3]->isChecked());
    s.Records1[2].V8 = "typed";
    for (int m = 1; m <= 4; ++m)
        w->Timer1_Timer();
    EXPECT_FALSE(fs::exists(dir.File("lesson.bak")));
    w->Timer1_Timer();
    EXPECT_TRUE(fs::exists(dir.File("lesson.bak")));
    EXPECT_NE(test::ReadBytes(name).find("typed"), std::string::npos);

    // Ticks inside a modal dialog count nothing; the close box changes nothing.
    int16_t ticks = -1;
    WhenDialog<autosaveask>([&](autosaveask* d) {
        EXPECT_EQ(d->List1->currentRow(), 1);
        EXPECT_TRUE(w->InsideCommand());
        w->Timer1_Timer();
        ticks = s.AutosaveTicks;
        d->List1->setCurrentRow(0);
        d->close();
    });
    Pick(3);
    EXPECT_EQ(ticks, 0);
    EXPECT_EQ(s.AutosaveChoice, 1);
    EXPECT_TRUE(w->Timer1->isActive());

    WhenDialog<autosaveask>([](autosaveask* d) {
        d->List1->setCurrentRow(0);
        d->OKButton->click();
    });
    Pick(3);
    EXPECT_FALSE(w->Timer1->isActive());
    EXPECT_FALSE(w->mnuFileItem[3]->isChecked());
}

TEST_F(KovaImports, HelpShowsTheGuideOrSaysItIsMissing) {
    ASSERT_FALSE(fs::exists(HelpViewer::HelpFileName().toStdString()));
    Seen seen;
    CloseMessage(seen);
    w->mnuHelp->trigger();
    EXPECT_NE(seen.text.indexOf("kova_help.html"), -1);

    HelpViewer viewer(w.get());
    const QString guide = QString(KOVA_SOURCE_DIR) + "/help/kova_help.html";
    ASSERT_TRUE(viewer.ShowContents(guide));
    EXPECT_TRUE(viewer.isVisible());
    EXPECT_TRUE(viewer.Browser->toPlainText().contains("KOVA user guide"));
    EXPECT_TRUE(viewer.Browser->toPlainText().contains("Read from Excel file"));
    EXPECT_FALSE(viewer.ShowContents(guide + ".missing"));
}

}  // namespace
