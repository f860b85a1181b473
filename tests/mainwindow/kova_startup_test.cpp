// Start-up, view modes, the Back button and closing with the save prompt, on
// protocol files the tests write themselves.
#include <gtest/gtest.h>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "analyses/windows/uitvoer.h"
#include "mainwindow/kova.h"
#include "mainwindow/qt_ui.h"
#include "mainwindow/savefile.h"
#include "mainwindow/splash.h"
#include "store/data_file.h"
#include "store/open_save.h"
#include "support/fake_ui.h"
#include "support/qt_app.h"

namespace {

QColor Back(QWidget* w) {
    return w->palette().color(w->backgroundRole());
}

std::string ReadAll(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

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

class KovaStartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::App();
        window = std::make_unique<kova>(s, ui);
        window->quitHook = [this] { ++quits; };
        data = dir.filePath("class talk.kov").toStdString();
        core::RecordSet records = Protocol(3);
        records[2].Memo = "a memo";
        test::FakeUi quiet;
        ASSERT_TRUE(core::SaveDataFile(s, quiet, data, records, 3, 9, "about the class"));
        original = ReadAll(data);
    }
    void TearDown() override {
        window->quitHook = [] {};
        window.reset();
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
        window->close();
        return shown;
    }
    core::KovaState s;
    QtUi ui{s};
    std::unique_ptr<kova> window;
    int quits = 0;
    QTemporaryDir dir;
    std::string data;
    std::string original;
};

TEST_F(KovaStartupTest, StartsWithoutAFile) {
    QDir::setCurrent(dir.path());
    window->Form_Load("");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "KOVA ");
    EXPECT_EQ(s.ViewMode, 0);
    EXPECT_EQ(s.DisplayRows, 10);
    EXPECT_EQ(s.DataFileName1, "");
    EXPECT_EQ(QDir::currentPath(), QCoreApplication::applicationDirPath());
    ASSERT_EQ(window->Combo2->count(), 10);
    EXPECT_EQ(window->Combo2->itemText(0), "V0");
    EXPECT_EQ(window->Combo2->itemText(9), "Memo");
    EXPECT_EQ(window->Combo2->currentText(), "V8");
    EXPECT_EQ(window->Teller->text(), "");

    // Closing with nothing shown asks nothing and ends.
    window->close();
    EXPECT_EQ(quits, 1);
}

TEST_F(KovaStartupTest, OpensTheQuotedNameAndDrawsThePage) {
    window->Form_Load("\"" + data + "\"");
    EXPECT_EQ(s.DataFileName1, data);
    EXPECT_EQ(s.ViewMode, 1);
    EXPECT_EQ(window->windowTitle(), QString::fromStdString("KOVA Datafile: " + data));
    EXPECT_EQ(Back(window->Page), QColor(128, 128, 128));
    EXPECT_EQ(window->Teller->text(), "3");
    // Record 1 on the bottom row, nothing above it.
    EXPECT_EQ(window->V[0][10]->text(), "1");
    EXPECT_EQ(window->V[3][10]->text(), "Teacher");
    EXPECT_EQ(window->V[1][10]->text(), "10:00:11");
    EXPECT_EQ(window->V[0][9]->text(), "");
    EXPECT_EQ(window->Lab[9]->text(), "");
    EXPECT_EQ(window->Text1->toPlainText(), "Utterance number 1");
    EXPECT_EQ(window->Text1->palette().color(QPalette::Base), QColor(255, 255, 255));
    EXPECT_EQ(window->Scrollbar->maximum(), 3);
    EXPECT_EQ(window->Scrollbar->value(), 1);
    EXPECT_EQ(window->Scrollbar2->value(), 1);

    // Record 3 current: 1 and 2 above it, the memo of 2 marked.
    s.CurrentRecord1 = 3;
    window->Form_Activate();
    EXPECT_EQ(window->V[0][10]->text(), "3");
    EXPECT_EQ(window->V[0][9]->text(), "2");
    EXPECT_EQ(window->V[0][8]->text(), "1");
    EXPECT_EQ(window->V[0][7]->text(), "");
    EXPECT_EQ(window->Lab[8]->text(), "Utterance number 1");
    EXPECT_EQ(window->Text1->toPlainText(), "Utterance number 3");
    EXPECT_EQ(Back(window->Lab[9]), QColor(255, 255, 128));
    EXPECT_EQ(Back(window->Lab[8]), QColor(255, 255, 192));
    EXPECT_EQ(Back(window->Lab[7]), QColor(255, 255, 192));
    EXPECT_EQ(window->Scrollbar->value(), 3);
    EXPECT_TRUE(window->CSave->isVisible());
    EXPECT_EQ(window->CSave->text(), "Save Data");
    EXPECT_FALSE(window->CRunfilter->isVisible());
    EXPECT_FALSE(window->CBack->isVisible());
    EXPECT_EQ(window->Combo2->currentText(), "V8");
}

TEST_F(KovaStartupTest, ADamagedFileOnTheCommandLineOpensNothing) {
    std::string bad = dir.filePath("damaged.kov").toStdString();
    { std::ofstream(bad, std::ios::binary) << "#00000\r\n 1 MEMO 0 \r\n"; }
    QString message;
    test::WhenModal([&message](QWidget* w) {
        if (auto* box = qobject_cast<QMessageBox*>(w))
            message = box->text();
        w->close();
    });
    window->Form_Load(bad);
    EXPECT_TRUE(message.startsWith("Error in the first line, not starting with ##00000"));
    // Nothing is open, so nothing can be shown, saved over the damaged file
    // or asked about on closing.
    EXPECT_EQ(s.DataFileName1, "");
    EXPECT_EQ(s.ViewMode, 0);
    EXPECT_EQ(window->windowTitle(), "KOVA ");
    std::string filter = dir.filePath("rules.fil").toStdString();
    ASSERT_TRUE(core::OpenFilterFile(s, ui, filter));
    window->CBack->click();
    EXPECT_EQ(s.ViewMode, 3);
    EXPECT_FALSE(window->CBack->isVisible());
    EXPECT_EQ(ReadAll(bad), "#00000\r\n 1 MEMO 0 \r\n");
    EXPECT_FALSE(QFile::exists(dir.filePath("damaged.bak")));
}

TEST_F(KovaStartupTest, SplashComesFirstAndAboutShowsItAgain) {
    window->showSplash = true;
    bool openedBeforeSplashClosed = true;
    test::WhenModal([&](QWidget* w) {
        EXPECT_NE(qobject_cast<splash*>(w), nullptr);
        openedBeforeSplashClosed = !s.DataFileName1.empty() && s.ViewMode != 0;
        QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
        QApplication::sendEvent(w, &key);
    });
    window->Form_Load(data);
    EXPECT_FALSE(openedBeforeSplashClosed);
    EXPECT_EQ(s.ViewMode, 1);
    EXPECT_EQ(window->SplashWindow(), nullptr);

    bool shown = false;
    test::WhenModal([&shown](QWidget* w) {
        shown = qobject_cast<splash*>(w) != nullptr;
        w->close();
    });
    window->mnuAbout->trigger();
    EXPECT_TRUE(shown);
}

TEST_F(KovaStartupTest, CloseCancelKeepsEverything) {
    window->Form_Load(data);
    EXPECT_EQ(CloseAnswering(3), QString::fromStdString(data));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(quits, 0);
    EXPECT_EQ(s.DataFileName1, data);
    EXPECT_EQ(ReadAll(data), original);
}

TEST_F(KovaStartupTest, CloseNoEndsWithoutSaving) {
    window->Form_Load(data);
    s.Records1[1].V4 = "changed";
    EXPECT_EQ(CloseAnswering(2), QString::fromStdString(data));
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(ReadAll(data), original);
    EXPECT_FALSE(QFile::exists(dir.filePath("class talk.bak")));
}

TEST_F(KovaStartupTest, CloseYesSavesAndKeepsABackup) {
    window->Form_Load(data);
    s.Records1[1].V4 = "changed";
    CloseAnswering(1);
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(ReadAll(dir.filePath("class talk.bak").toStdString()), original);
    EXPECT_NE(ReadAll(data).find("changed"), std::string::npos);
}

TEST_F(KovaStartupTest, CloseEscapeCountsAsCancel) {
    window->Form_Load(data);
    test::WhenModal([](QWidget* w) { w->close(); });
    window->close();
    EXPECT_EQ(quits, 0);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(KovaStartupTest, FilterViewAndBackButton) {
    window->Form_Load(data);
    std::string filter = dir.filePath("rules.fil").toStdString();
    ASSERT_TRUE(core::OpenFilterFile(s, ui, filter));
    EXPECT_EQ(s.ViewMode, 3);
    EXPECT_EQ(Back(window->Page), QColor(0, 128, 128));
    EXPECT_EQ(window->windowTitle(), QString::fromStdString("KOVA Filterfile: " + filter));
    EXPECT_EQ(window->CSave->text(), "Save Filters");
    EXPECT_EQ(window->CPrint->text(), "List Filters");
    EXPECT_EQ(window->CRunfilter->text(), "Run Filter(s)");
    EXPECT_TRUE(window->CRunfilter->isVisible());
    EXPECT_EQ(window->CBack->text(), "<< Data");
    EXPECT_TRUE(window->CBack->isVisible());
    EXPECT_FALSE(window->CAnaf->isVisible());

    // Closing in the filter view asks about the filter file.
    EXPECT_EQ(CloseAnswering(3), QString::fromStdString(filter));

    window->CBack->click();
    EXPECT_EQ(s.ViewMode, 1);
    EXPECT_EQ(Back(window->Page), QColor(128, 128, 128));
    EXPECT_EQ(window->CBack->text(), ">> Filters");
    EXPECT_EQ(window->CRunfilter->text(), "Make Filter");
    EXPECT_EQ(window->V[0][10]->text(), "1");

    window->CBack->click();
    EXPECT_EQ(s.ViewMode, 3);
}

TEST_F(KovaStartupTest, SecondDataSetIsDarkOrange) {
    window->Form_Load(data);
    std::string second = dir.filePath("coder2.kov").toStdString();
    test::FakeUi quiet;
    ASSERT_TRUE(core::SaveDataFile(s, quiet, second, Protocol(5), 5, 9, ""));
    ASSERT_TRUE(core::OpenData2File(s, ui, second));
    EXPECT_EQ(s.ViewMode, 2);
    EXPECT_EQ(Back(window->Page), QColor(192, 64, 0));
    EXPECT_EQ(window->CSave->text(), "Save Data2");
    EXPECT_EQ(window->CBack->text(), "<< Data1");
    EXPECT_EQ(window->Teller->text(), "5");
    window->CBack->click();
    EXPECT_EQ(s.ViewMode, 1);
    EXPECT_EQ(window->CBack->text(), ">> Data2");
    EXPECT_EQ(window->Teller->text(), "3");
}

TEST_F(KovaStartupTest, ActivationRedrawsDataSetOneWithinItsCount) {
    window->Form_Load(data);
    s.CurrentRecord1 = 99;
    window->Form_Activate();
    EXPECT_EQ(s.CurrentRecord1, 3);
    EXPECT_EQ(window->V[0][10]->text(), "3");
}

TEST_F(KovaStartupTest, ViewerOkShowsShowOutputAgain) {
    window->Form_Load(data);
    ui.ShowOutput("KOVA Output file: x.ana", "report");
    s.Main.CAnaf.visible = false;
    ui.MainChanged();
    EXPECT_FALSE(window->CAnaf->isVisible());
    ui.Viewer().COkee->click();
    EXPECT_TRUE(window->CAnaf->isVisible());
}

}  // namespace
