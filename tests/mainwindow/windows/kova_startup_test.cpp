// Start-up, view modes, the Back button and closing with the save prompt, on
// protocol files the tests write themselves.
#include <gtest/gtest.h>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "analyses/windows/uitvoer.h"
#include "mainwindow/windows/savefile.h"
#include "mainwindow/windows/splash.h"
#include "store/open_save.h"
#include "support/main_window_fixture.h"

namespace {

using test::Back;
using test::ReadBytes;

core::RecordSet Protocol(int count) {
    core::RecordSet r(count + 1);
    for (int k = 1; k <= count; ++k) {
        r[k].V0 = static_cast<int16_t>(k);
        r[k].V1 = "10:00:" + std::to_string(10 + k);
        r[k].V2 = 1;
        r[k].V3 = k % 2 ? "Teacher" : "Pupil";
        r[k].V4 = k % 2 ? "Q" : "A";
        r[k].V8 = "Utterance number " + std::to_string(k);
    }
    return r;
}

struct KovaStartupTest : test::MainWindowTest {
    void SetUp() override {
        MainWindowTest::SetUp();
        core::RecordSet records = Protocol(3);
        records[2].Memo = "a memo";
        data = WriteProtocol("class talk.kov", records, 3, "about the class");
        original = ReadBytes(data);
    }
    // Asks to close the window, answering the save prompt with button
    // `answer` (1 Yes, 2 No, 3 Cancel); returns the name the prompt showed.
    QString CloseAnswering(int answer) {
        QString shown;
        test::WhenModal([&shown, answer](QWidget* w) {
            auto* prompt = qobject_cast<savefile*>(w);
            if (prompt == nullptr) {
                w->close();
                return;
            }
            shown = prompt->Label1->text();
            (answer == 1   ? prompt->Command1
             : answer == 2 ? prompt->Command2
                           : prompt->Command3)
                ->click();
        });
        w->close();
        return shown;
    }
    std::string data;
    std::string original;
};

TEST_F(KovaStartupTest, StartsWithoutAFile) {
    QDir::setCurrent(QString::fromStdString(dir.path().string()));
    w->Form_Load("");
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), "KOVA ");
    EXPECT_EQ(s.ViewMode, 0);
    EXPECT_EQ(s.DisplayRows, 10);
    EXPECT_EQ(s.DataFileName1, "");
    EXPECT_EQ(QDir::currentPath(), QCoreApplication::applicationDirPath());
    ASSERT_EQ(w->Combo2->count(), 10);
    EXPECT_EQ(w->Combo2->itemText(0), "V0");
    EXPECT_EQ(w->Combo2->itemText(9), "Memo");
    EXPECT_EQ(w->Combo2->currentText(), "V8");
    EXPECT_EQ(w->Teller->text(), "");

    // Closing with nothing shown asks nothing and ends.
    w->close();
    EXPECT_EQ(quits, 1);
}

TEST_F(KovaStartupTest, OpensTheQuotedNameAndDrawsThePage) {
    w->Form_Load("\"" + data + "\"");
    EXPECT_EQ(s.DataFileName1, data);
    EXPECT_EQ(s.ViewMode, 1);
    EXPECT_EQ(w->windowTitle(), QString::fromStdString("KOVA Datafile: " + data));
    EXPECT_EQ(Back(w->Page), QColor(128, 128, 128));
    EXPECT_EQ(w->Teller->text(), "3");
    // Record 1 on the bottom row, nothing above it.
    EXPECT_EQ(w->V[0][10]->text(), "1");
    EXPECT_EQ(w->V[3][10]->text(), "Teacher");
    EXPECT_EQ(w->V[1][10]->text(), "10:00:11");
    EXPECT_EQ(w->V[0][9]->text(), "");
    EXPECT_EQ(w->Lab[9]->text(), "");
    EXPECT_EQ(w->Text1->toPlainText(), "Utterance number 1");
    EXPECT_EQ(w->Text1->palette().color(QPalette::Base), QColor(255, 255, 255));
    EXPECT_EQ(w->Scrollbar->maximum(), 3);
    EXPECT_EQ(w->Scrollbar->value(), 1);
    EXPECT_EQ(w->Scrollbar2->value(), 1);

    // Record 3 current: 1 and 2 above it, the memo of 2 marked.
    s.CurrentRecord1 = 3;
    w->Form_Activate();
    EXPECT_EQ(w->V[0][10]->text(), "3");
    EXPECT_EQ(w->V[0][9]->text(), "2");
    EXPECT_EQ(w->V[0][8]->text(), "1");
    EXPECT_EQ(w->V[0][7]->text(), "");
    EXPECT_EQ(w->Lab[8]->text(), "Utterance number 1");
    EXPECT_EQ(w->Text1->toPlainText(), "Utterance number 3");
    EXPECT_EQ(Back(w->Lab[9]), QColor(255, 255, 128));
    EXPECT_EQ(Back(w->Lab[8]), QColor(255, 255, 192));
    EXPECT_EQ(Back(w->Lab[7]), QColor(255, 255, 192));
    EXPECT_EQ(w->Scrollbar->value(), 3);
    EXPECT_TRUE(w->CSave->isVisible());
    EXPECT_EQ(w->CSave->text(), "Save Data");
    EXPECT_FALSE(w->CRunfilter->isVisible());
    EXPECT_FALSE(w->CBack->isVisible());
    EXPECT_EQ(w->Combo2->currentText(), "V8");
}

TEST_F(KovaStartupTest, ADamagedFileOnTheCommandLineOpensNothing) {
    std::string bad = dir.File("damaged.kov");
    { std::ofstream(bad, std::ios::binary) << "#00000\r\n 1 MEMO 0 \r\n"; }
    QString message;
    test::WhenModal([&message](QWidget* w) {
        if (auto* box = qobject_cast<QMessageBox*>(w))
            message = box->text();
        w->close();
    });
    w->Form_Load(bad);
    EXPECT_TRUE(message.startsWith("Error in the first line, not starting with ##00000"));
    // Nothing is open, so nothing can be shown, saved over the damaged file
    // or asked about on closing.
    EXPECT_EQ(s.DataFileName1, "");
    EXPECT_EQ(s.ViewMode, 0);
    EXPECT_EQ(w->windowTitle(), "KOVA ");
    std::string filter = dir.File("rules.fil");
    ASSERT_TRUE(core::OpenFilterFile(s, ui, filter));
    w->CBack->click();
    EXPECT_EQ(s.ViewMode, 3);
    EXPECT_FALSE(w->CBack->isVisible());
    EXPECT_EQ(ReadBytes(bad), "#00000\r\n 1 MEMO 0 \r\n");
    EXPECT_FALSE(std::filesystem::exists(dir.File("damaged.bak")));
}

TEST_F(KovaStartupTest, SplashComesFirstAndAboutShowsItAgain) {
    w->showSplash = true;
    bool openedBeforeSplashClosed = true;
    test::WhenModal([&](QWidget* w) {
        EXPECT_NE(qobject_cast<splash*>(w), nullptr);
        openedBeforeSplashClosed = !s.DataFileName1.empty() && s.ViewMode != 0;
        QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
        QApplication::sendEvent(w, &key);
    });
    w->Form_Load(data);
    EXPECT_FALSE(openedBeforeSplashClosed);
    EXPECT_EQ(s.ViewMode, 1);
    EXPECT_EQ(w->SplashWindow(), nullptr);

    bool shown = false;
    test::WhenModal([&shown](QWidget* w) {
        shown = qobject_cast<splash*>(w) != nullptr;
        w->close();
    });
    w->mnuAbout->trigger();
    EXPECT_TRUE(shown);
}

// After the splash window the focus is where typing changes nothing; a
// heading that takes the focus shows it.
TEST_F(KovaStartupTest, StartsWithTheFocusWhereTypingChangesNothing) {
    w->showSplash = true;
    test::WhenModal([](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Space); });
    w->Form_Load(data);
    ASSERT_EQ(s.ViewMode, 1);
    ASSERT_TRUE(test::Activate(w.get()));
    QApplication::processEvents();
    const core::RecordSet records = s.Records1;
    const auto labels = s.Varnaam;
    QTest::keyClicks(QApplication::focusWidget(), "hello");
    EXPECT_TRUE(s.Records1 == records);
    EXPECT_TRUE(s.Varnaam == labels);
    EXPECT_EQ(w->Varnaam[0]->text().toStdString(), "V0");

    const QColor heading = w->Varnaam[7]->palette().color(QPalette::Base);
    QTest::mouseClick(w->Varnaam[8], Qt::LeftButton);
    ASSERT_TRUE(w->Varnaam[8]->hasFocus());
    EXPECT_NE(w->Varnaam[8]->palette().color(QPalette::Base), heading);
    QTest::mouseClick(w->Text1->viewport(), Qt::LeftButton);
    EXPECT_EQ(w->Varnaam[8]->palette().color(QPalette::Base), heading);
}

TEST_F(KovaStartupTest, CloseCancelKeepsEverything) {
    w->Form_Load(data);
    EXPECT_EQ(CloseAnswering(3), QString::fromStdString(data));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(quits, 0);
    EXPECT_EQ(s.DataFileName1, data);
    EXPECT_EQ(ReadBytes(data), original);
}

TEST_F(KovaStartupTest, CloseNoEndsWithoutSaving) {
    w->Form_Load(data);
    s.Records1[1].V4 = "changed";
    EXPECT_EQ(CloseAnswering(2), QString::fromStdString(data));
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(ReadBytes(data), original);
    EXPECT_FALSE(std::filesystem::exists(dir.File("class talk.bak")));
}

TEST_F(KovaStartupTest, CloseAsksAboutAHeadingTypedOver) {
    w->Form_Load("");
    QTest::keyClicks(w->Varnaam[4], "x");
    ASSERT_EQ(s.Varnaam[4], "V4x");
    EXPECT_EQ(CloseAnswering(3), "The table (labels and categories)");
    EXPECT_EQ(quits, 0);
    EXPECT_TRUE(w->isVisible());
}

TEST_F(KovaStartupTest, CloseYesSavesAndKeepsABackup) {
    w->Form_Load(data);
    s.Records1[1].V4 = "changed";
    CloseAnswering(1);
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(ReadBytes(dir.File("class talk.bak")), original);
    EXPECT_NE(ReadBytes(data).find("changed"), std::string::npos);
}

TEST_F(KovaStartupTest, CloseEscapeCountsAsCancel) {
    w->Form_Load(data);
    test::WhenModal([](QWidget* w) { w->close(); });
    w->close();
    EXPECT_EQ(quits, 0);
    EXPECT_TRUE(w->isVisible());
}

TEST_F(KovaStartupTest, FilterViewAndBackButton) {
    w->Form_Load(data);
    std::string filter = dir.File("rules.fil");
    ASSERT_TRUE(core::OpenFilterFile(s, ui, filter));
    EXPECT_EQ(s.ViewMode, 3);
    EXPECT_EQ(Back(w->Page), QColor(0, 128, 128));
    EXPECT_EQ(w->windowTitle(), QString::fromStdString("KOVA Filterfile: " + filter));
    EXPECT_EQ(w->CSave->text(), "Save Filters");
    EXPECT_EQ(w->CPrint->text(), "List Filters");
    EXPECT_EQ(w->CRunfilter->text(), "Run Filter(s)");
    EXPECT_TRUE(w->CRunfilter->isVisible());
    EXPECT_EQ(w->CBack->text(), "<< Data");
    EXPECT_TRUE(w->CBack->isVisible());
    EXPECT_FALSE(w->CAnaf->isVisible());

    // Closing in the filter view asks about the filter file.
    EXPECT_EQ(CloseAnswering(3), QString::fromStdString(filter));

    w->CBack->click();
    EXPECT_EQ(s.ViewMode, 1);
    EXPECT_EQ(Back(w->Page), QColor(128, 128, 128));
    EXPECT_EQ(w->CBack->text(), ">> Filters");
    EXPECT_EQ(w->CRunfilter->text(), "Make Filter");
    EXPECT_EQ(w->V[0][10]->text(), "1");

    w->CBack->click();
    EXPECT_EQ(s.ViewMode, 3);
}

TEST_F(KovaStartupTest, SecondDataSetIsDarkOrange) {
    w->Form_Load(data);
    std::string second = dir.File("coder2.kov");
    test::FakeUi quiet;
    ASSERT_TRUE(core::SaveDataFile(s, quiet, second, Protocol(5), 5, 9, ""));
    ASSERT_TRUE(core::OpenData2File(s, ui, second));
    EXPECT_EQ(s.ViewMode, 2);
    EXPECT_EQ(Back(w->Page), QColor(192, 64, 0));
    EXPECT_EQ(w->CSave->text(), "Save Data2");
    EXPECT_EQ(w->CBack->text(), "<< Data1");
    EXPECT_EQ(w->Teller->text(), "5");
    w->CBack->click();
    EXPECT_EQ(s.ViewMode, 1);
    EXPECT_EQ(w->CBack->text(), ">> Data2");
    EXPECT_EQ(w->Teller->text(), "3");
}

TEST_F(KovaStartupTest, ActivationRedrawsDataSetOneWithinItsCount) {
    w->Form_Load(data);
    s.CurrentRecord1 = 99;
    w->Form_Activate();
    EXPECT_EQ(s.CurrentRecord1, 3);
    EXPECT_EQ(w->V[0][10]->text(), "3");
}

TEST_F(KovaStartupTest, ViewerOkShowsShowOutputAgain) {
    w->Form_Load(data);
    ui.ShowOutput("KOVA Output file: x.ana", "report");
    s.Main.CAnaf.visible = false;
    ui.MainChanged();
    EXPECT_FALSE(w->CAnaf->isVisible());
    ui.Viewer().COkee->click();
    EXPECT_TRUE(w->CAnaf->isVisible());
}

// A name given relative to the folder the program was started in is kept
// absolute: it still names that file once the working folder changes, and
// the file is recognised as open by any other name.
TEST_F(KovaStartupTest, RelativeCommandLineNameIsKeptAbsolute) {
    const QString before = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(dir.path().string()));
    w->Form_Load("\"class talk.kov\"");
    QDir::setCurrent(before);
    EXPECT_EQ(s.DataFileName1, data);
}

}  // namespace
