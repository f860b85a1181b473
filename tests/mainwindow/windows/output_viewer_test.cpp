// The output viewer: showing a file (or only its end), OK, Save and Print.
#include <gtest/gtest.h>
#include <QAction>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextDocument>

#include "analyses/windows/epiask.h"
#include "analyses/windows/uitvoer.h"
#include "store/file_access.h"
#include "support/main_window_fixture.h"
#include "widgets/text_codec.h"
#include "widgets/text_printer.h"

namespace {

using test::ReadBytes;

struct OutputViewerTest : test::GuiTest {
    void SetUp() override {
        ui.AttachMainWindow(nullptr, [this] { ++redraws; });
    }
    int redraws = 0;
};

TEST_F(OutputViewerTest, ShowsTheTextWithTheCaretAtTheEnd) {
    uitvoer& v = ui.Viewer();
    EXPECT_FALSE(v.isVisible());
    ui.ShowOutput("KOVA Output file: /p/talk.ana", "/p/talk.ana\r\n\r\nFREQUENCIES: \xE9t\xE9\r\n");
    EXPECT_TRUE(v.isVisible());
    EXPECT_EQ(v.windowTitle(), "KOVA Output file: /p/talk.ana");
    EXPECT_EQ(v.Tekst->toPlainText(),
              QString::fromUtf8("/p/talk.ana\n\nFREQUENCIES: \u00E9t\u00E9\n"));
    EXPECT_TRUE(v.Tekst->textCursor().atEnd());
    EXPECT_EQ(v.CSave->text(), "Save");
    EXPECT_EQ(v.CPrint->text(), "Print");
    EXPECT_EQ(v.COkee->text(), "OK");

    // A second file replaces what the viewer showed.
    ui.ShowOutput("KOVA Output file: /p/talk.lst", "listing");
    EXPECT_EQ(v.Tekst->toPlainText(), "listing");
}

// The file shown again with blocks added, after edits, or with a line break
// split across the old end: the viewer always holds exactly the new file.
TEST_F(OutputViewerTest, AGrownFileShowsAsIfLoadedAnew) {
    uitvoer& v = ui.Viewer();
    auto shows = [&v](const std::string& bytes) {
        QPlainTextEdit fresh;
        fresh.setPlainText(ToEditableText(bytes));
        EXPECT_EQ(v.Tekst->toPlainText(), fresh.toPlainText());
        EXPECT_EQ(v.Tekst->document()->blockCount(), fresh.document()->blockCount());
        EXPECT_TRUE(v.Tekst->textCursor().atEnd());
        EXPECT_FALSE(v.Tekst->document()->isUndoAvailable());
        EXPECT_FALSE(v.Tekst->document()->isModified());
    };
    std::string file = "a.ana\r\n\r\nFIRST \xE9\r\n";
    ui.ShowOutput("KOVA Output file: a.ana", file);
    shows(file);
    file += "SECOND\r\n\r\n";
    ui.ShowOutput("KOVA Output file: a.ana", file);
    shows(file);
    ui.ShowOutput("KOVA Output file: a.ana", file);  // unchanged
    shows(file);

    // Typed into the viewer: the file shown again replaces the edit.
    v.Tekst->moveCursor(QTextCursor::Start);
    v.Tekst->insertPlainText("typed ");
    file += "THIRD";
    ui.ShowOutput("KOVA Output file: a.ana", file);
    shows(file);
    // Replaced from outside without a change mark.
    v.Tekst->setPlainText("other");
    file += " more";
    ui.ShowOutput("KOVA Output file: a.ana", file);
    shows(file);

    // A CR at the old end pairs with the LF that follows it.
    file += "\r";
    ui.ShowOutput("KOVA Output file: a.ana", file);
    shows(file);
    file += "\nlast\r\n";
    ui.ShowOutput("KOVA Output file: a.ana", file);
    shows(file);
    EXPECT_EQ(v.TextBytes(), file);

    // A shorter or different file is loaded whole.
    ui.ShowOutput("KOVA Output file: a.ana", "a.ana\r\nnew");
    shows("a.ana\r\nnew");
}

// The widest reports (103 columns) show whole, without scrolling sideways.
TEST_F(OutputViewerTest, AReportOf103ColumnsShowsWhole) {
    std::string report;
    for (int line = 0; line < 80; ++line)
        report += std::string(103, static_cast<char>('A' + line % 26)) + "\r\n";
    ui.ShowOutput("KOVA Output file: x.ana", report);
    QApplication::processEvents();
    EXPECT_EQ(ui.Viewer().Tekst->horizontalScrollBar()->maximum(), 0);
}

TEST_F(OutputViewerTest, OkHidesTheViewerAndGivesBackShowOutput) {
    ui.ShowOutput("KOVA Output file: x.ana", "text");
    s.Main.CAnaf.visible = false;
    ui.Viewer().COkee->click();
    EXPECT_FALSE(ui.Viewer().isVisible());
    EXPECT_TRUE(s.Main.CAnaf.visible);
    EXPECT_EQ(redraws, 1);

    // The close box and Escape close it the same way: "Show output" is never
    // left hidden with no viewer on the screen.
    for (int how = 0; how < 2; ++how) {
        ui.ShowOutput("KOVA Output file: x.ana", "text");
        s.Main.CAnaf.visible = false;
        if (how == 0) {
            ui.Viewer().close();
        } else {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(ui.Viewer().Tekst, &escape);
        }
        EXPECT_FALSE(ui.Viewer().isVisible()) << how;
        EXPECT_TRUE(s.Main.CAnaf.visible) << how;
    }
}

TEST_F(OutputViewerTest, SaveWritesTheTextBackToTheShownFile) {
    std::string ana = dir.File("talk.ana");
    std::string lst = dir.File("talk.lst");
    test::WriteBytes(ana, "old analysis\r\n");
    test::WriteBytes(lst, "old listing\r\n");
    s.AnalysisFileName = ana;
    s.ListingFileName = lst;

    s.OutputKind = "ana";
    ui.ShowOutput("KOVA Output file: " + ana, "old analysis\r\n");
    ui.Viewer().Tekst->setPlainText(QString::fromUtf8("line one\nline \u00E9\n\nend"));
    ui.Viewer().CSave->click();
    EXPECT_EQ(ReadBytes(ana), "line one\r\nline \xE9\r\n\r\nend");
    EXPECT_EQ(ReadBytes(lst), "old listing\r\n");

    s.OutputKind = "lst";
    ui.Viewer().Tekst->setPlainText("new listing\n");
    ui.Viewer().CSave->click();
    EXPECT_EQ(ReadBytes(lst), "new listing\r\n");
    EXPECT_EQ(dir.Listing(), "talk.ana;talk.lst;");  // no leftovers

    // Nothing shown from a file: Save writes nothing.
    s.OutputKind = "";
    ui.Viewer().CSave->click();
    EXPECT_EQ(ReadBytes(lst), "new listing\r\n");

    // A line too long to edit shows cut, and Save writes the file whole.
    s.OutputKind = "lst";
    const std::string longLine = "head\r\n" + std::string(size_t{4} << 20, 'x') + "\r\ntail";
    ui.ShowOutput("KOVA Output file: " + lst, longLine);
    ui.Viewer().repaint();
    ui.Viewer().CSave->click();
    EXPECT_TRUE(ReadBytes(lst) == longLine);
}

TEST_F(OutputViewerTest, SaveThatFailsSaysSoAndCreatesNothing) {
    s.OutputKind = "ana";
    s.AnalysisFileName = dir.File("missing/folder/talk.ana");
    ui.ShowOutput("KOVA Output file: " + s.AnalysisFileName, "text");
    QString title;
    test::WhenModal([&title](QWidget* w) {
        title = w->windowTitle();
        w->close();
    });
    ui.Viewer().CSave->click();
    EXPECT_EQ(title, "Error");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(s.AnalysisFileName)));
}

TEST_F(OutputViewerTest, PrintAsksThroughADialog) {
    ui.ShowOutput("KOVA Output file: x.ana", "text to print");
    QString seen;
    test::WhenModal([&seen](QWidget* w) {
        seen = w->objectName();
        w->close();
    });
    ui.Viewer().CPrint->click();
    EXPECT_EQ(seen, PrintingAvailable() ? "PrintDialog" : "PrintUnavailable");
}

// An analysis file past the viewer's bounds, as a user meets it: each new
// report is seen at the end of the viewer, and Save Anafile writes the whole
// file, never the part shown.
using LargeOutputFile = test::SampleProtocolTest;

TEST_F(LargeOutputFile, ANewReportShowsAtTheEndAndSaveAnafileWritesTheWholeFile) {
    // 17 MB, made cheaply: a first line, then a sparse run of zeros ending a
    // line 17 MB long.
    constexpr uintmax_t kRun = uintmax_t{17} << 20;
    test::WriteBytes(anaFile, "first line\r\n");
    std::filesystem::resize_file(anaFile, kRun);
    ASSERT_FALSE(core::AppendToFile(anaFile, "\r\n"));
    // Frequency > V4 with OK, noting any message box on the way.
    QStringList messages;
    test::WhenModalOf<QMessageBox>([&messages](QMessageBox* box) {
        messages << box->text();
        box->close();
    });
    test::WhenModalOf<epiask>([](epiask* d) { QTest::mouseClick(d->Command1, Qt::LeftButton); });
    w->mnuAnalyseItem.at(4)->trigger();
    const std::string whole = ReadBytes(anaFile);
    const std::string report = whole.substr(kRun + 2);
    ASSERT_NE(report.find("FREQUENCIES:  V4"), std::string::npos);

    // The report at the end, read-only under the note; the viewer's Save is off.
    uitvoer& v = ui.Viewer();
    EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
    ASSERT_TRUE(v.isVisible());
    EXPECT_TRUE(v.TextBytes() == report);
    EXPECT_TRUE(v.Tekst->textCursor().atEnd());
    EXPECT_TRUE(v.LNote->isVisible());
    EXPECT_TRUE(v.LNote->text().contains(QString("%L1 bytes").arg(whole.size())));
    QTest::keyClicks(v.Tekst, "typed");
    QTest::mouseClick(v.CSave, Qt::LeftButton);
    EXPECT_TRUE(ReadBytes(anaFile) == whole);

    // "Show output" after OK shows the end again.
    QTest::mouseClick(v.COkee, Qt::LeftButton);
    QTest::mouseClick(w->CAnaf, Qt::LeftButton);
    EXPECT_TRUE(v.LNote->isVisible());
    EXPECT_TRUE(v.TextBytes() == report);

    // Save Anafile under its own name and under another: the whole file as it
    // is on disk, and the line end every save puts after the viewer's text.
    AnswerDialogs({anaFile});
    w->mnuFileItem[12]->trigger();
    EXPECT_TRUE(ReadBytes(anaFile) == whole + "\r\n");
    const std::string copy = dir.File("copy.ana");
    AnswerDialogs({copy});
    w->mnuFileItem[12]->trigger();
    EXPECT_TRUE(ReadBytes(copy) == whole + "\r\n\r\n");
    EXPECT_TRUE(messages.isEmpty());

    // A file that fits is shown whole and may be edited and saved again.
    test::WriteBytes(copy, "small\r\n");
    AnswerDialogs({copy});
    w->mnuFileItem[11]->trigger();
    EXPECT_FALSE(v.LNote->isVisible());
    QTest::keyClicks(v.Tekst, "typed");
    QTest::mouseClick(v.CSave, Qt::LeftButton);
    EXPECT_EQ(ReadBytes(copy), "small\r\ntyped");
}

}  // namespace
