// File names with letters beyond ASCII, from the file dialog and the command
// line: kept in the program's code page, found on disk under their UTF-8
// names, and refused when the code page cannot hold them.
#include <gtest/gtest.h>

#include <QAction>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>

#include "analyses/windows/uitvoer.h"
#include "mainwindow/daily_fixture.h"
#include "support/main_window_fixture.h"

namespace {

namespace fs = std::filesystem;

QString U(const char8_t* text) {
    return QString::fromUtf8(reinterpret_cast<const char*>(text));
}

std::string Utf8(const char8_t* text) {
    return std::string(reinterpret_cast<const char*>(text));
}

struct FileNames : test::MainWindowTest {
    QString qdir;

    void SetUp() override {
        qdir = QString::fromStdString(dir.path().string());
        // A protocol of 12 records, on disk as "Müller.kov".
        WriteProtocol("p.kov", test::MakeRecords(12), 12);
        fs::rename(dir.path() / "p.kov", dir.path() / u8"Müller.kov");
        MainWindowTest::SetUp();
        w->Form_Load("");
    }

    // The file dialog answers this name, as the system gives it.
    void Answer(const QString& name) {
        CommonDialog::TestQtAnswer() = [name](const core::FileDialogRequest&, bool) {
            return std::optional<QString>(name);
        };
    }

    // Clicks OK on the next message box and gives its text.
    std::shared_ptr<QString> CatchMessage() {
        auto text = std::make_shared<QString>("(no message)");
        test::WhenModal([text](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (box == nullptr) {
                modal->close();
                return;
            }
            *text = box->text();
            box->button(QMessageBox::Ok)->click();
        });
        return text;
    }
};

TEST_F(FileNames, OpenAndSaveFindTheFileUnderItsUtf8Name) {
    Answer(qdir + U(u8"/Müller.kov"));
    w->mnuFileItem[1]->trigger();
    ASSERT_EQ(s.ViewMode, 1);
    EXPECT_EQ(s.RecordCount1, 12);  // the existing file, not a new empty set
    EXPECT_EQ(s.DataFileName1, dir.File("M\xFCller.kov"));
    EXPECT_EQ(w->windowTitle(), "KOVA Datafile: " + qdir + U(u8"/Müller.kov"));

    w->mnuFileItem[2]->trigger();  // saved over itself, the old one kept as backup
    EXPECT_EQ(dir.Listing(), Utf8(u8"Müller.bak;Müller.kov;"));
}

TEST_F(FileNames, ANameTheCodePageCannotHoldIsRefusedAndChangesNothing) {
    const QString title = w->windowTitle();
    Answer(qdir + U(u8"/Ωmega.kov"));
    auto message = CatchMessage();
    w->mnuFileItem[1]->trigger();
    EXPECT_TRUE(message->contains(U(u8"Ωmega.kov"))) << message->toStdString();
    EXPECT_EQ(s.ViewMode, 0);
    EXPECT_EQ(s.DataFileName1, "");
    EXPECT_EQ(w->windowTitle(), title);

    // Saving an open set under such a name keeps its name and writes nothing.
    Answer(qdir + U(u8"/Müller.kov"));
    w->mnuFileItem[1]->trigger();
    ASSERT_EQ(s.RecordCount1, 12);
    Answer(qdir + U(u8"/日本.kov"));
    message = CatchMessage();
    w->mnuFileItem[2]->trigger();
    EXPECT_TRUE(message->contains(U(u8"日本.kov"))) << message->toStdString();
    EXPECT_EQ(s.DataFileName1, dir.File("M\xFCller.kov"));
    EXPECT_EQ(w->windowTitle(), "KOVA Datafile: " + qdir + U(u8"/Müller.kov"));
    EXPECT_EQ(dir.Listing(), Utf8(u8"Müller.kov;"));
}

TEST_F(FileNames, TheViewerSavesUnderTheUtf8Name) {
    s.OutputKind = "ana";
    s.AnalysisFileName = dir.File("r\xE9sultat.ana");
    ui.ShowOutput("KOVA Output file: " + s.AnalysisFileName, "old");
    ui.Viewer().Tekst->setPlainText("new text");
    ui.Viewer().CSave->click();
    EXPECT_EQ(dir.Listing(), Utf8(u8"Müller.kov;résultat.ana;"));
    EXPECT_EQ(test::ReadBytes((dir.path() / u8"résultat.ana").string()), "new text");
}

TEST_F(FileNames, CommandLineBecomesTheCodePageOrIsRefused) {
    char prog[] = "kova",
         a[] =
             "/data/M\xC3\xBC"
             "ller",
         b[] = "\xE2\x82\xAC.kov";
    char* argv[] = {prog, a, b, nullptr};
    EXPECT_EQ(kova::JoinCommandLine(3, argv), "/data/M\xFCller \x80.kov");

    char c[] = "/data/\xCE\xA9mega.kov";
    char* refused[] = {prog, c, nullptr};
    auto message = CatchMessage();
    EXPECT_EQ(kova::JoinCommandLine(2, refused), "");
    EXPECT_TRUE(message->contains(U(u8"/data/Ωmega.kov"))) << message->toStdString();
}

}  // namespace
