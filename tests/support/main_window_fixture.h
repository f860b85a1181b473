// The setting most GUI tests start from: the application, a state with its
// Qt face, a scratch folder and, for MainWindowTest, the main window itself.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QWidget>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analyses/windows/uitvoer.h"
#include "mainwindow/windows/kova.h"
#include "mainwindow/windows/qt_ui.h"
#include "store/data_file.h"
#include "store/store_test_util.h"
#include "support/fake_ui.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"
#include "widgets/common_dialog.h"

namespace test {

inline QColor Back(QWidget* w) {
    return w->palette().color(w->backgroundRole());
}

struct GuiTest : ::testing::Test {
    QApplication& app = App();
    core::KovaState s;
    QtUi ui{s};
    FakeUi fake;  // for the writers and readers the tests call themselves
    TempDir dir;

    // Writes `records` (the first `count`) to dir/`name` with the program's
    // own writer and gives the full name.
    std::string WriteProtocol(const std::string& name, const core::RecordSet& records, int count,
                              const std::string& info = "info") {
        const std::string file = dir.File(name);
        core::KovaState scratch;
        EXPECT_TRUE(
            core::SaveDataFile(scratch, fake, file, records, static_cast<int16_t>(count), 9, info));
        return file;
    }
};

// The main window, made in SetUp; quitting ends nothing but counts `quits`.
struct MainWindowTest : GuiTest {
    std::unique_ptr<kova> w;
    int quits = 0;

    void SetUp() override {
        w = std::make_unique<kova>(s, ui);
        w->quitHook = [this] { ++quits; };
    }
    void TearDown() override {
        CommonDialog::TestAnswer() = nullptr;
        CommonDialog::TestQtAnswer() = nullptr;
        w->quitHook = [] {};
        w.reset();
    }

    // The next file dialogs answer these names (nullopt cancels).
    void AnswerDialogs(std::vector<std::optional<std::string>> names) {
        auto queue =
            std::make_shared<std::deque<std::optional<std::string>>>(names.begin(), names.end());
        CommonDialog::TestAnswer() = [queue](const core::FileDialogRequest&, bool) {
            if (queue->empty())
                return std::optional<std::string>();
            auto name = queue->front();
            queue->pop_front();
            return name;
        };
    }
    // Opens `file` as data set 1 by File > Open.
    void Open(const std::string& file) {
        AnswerDialogs({file});
        w->mnuFileItem[1]->trigger();
        ASSERT_EQ(s.ViewMode, 1);
    }
};

// The main window with a scratch copy of the sample protocol open as data
// set 1; the output viewer is hidden again at the end.
struct SampleProtocolTest : MainWindowTest {
    std::string kovFile, anaFile, lstFile;

    void SetUp() override {
        kovFile = dir.File("classroom.kov");
        anaFile = dir.File("classroom.ana");
        lstFile = dir.File("classroom.lst");
        std::filesystem::copy_file(std::string(KOVA_SOURCE_DIR) + "/examples/classroom.kov",
                                   kovFile);
        MainWindowTest::SetUp();
        w->showSplash = false;
        w->Form_Load(kovFile);
        ASSERT_EQ(s.ViewMode, 1);
        ASSERT_GT(s.RecordCount1, 3);
    }
    void TearDown() override {
        ui.Viewer().hide();
        MainWindowTest::TearDown();
    }
};

}  // namespace test
