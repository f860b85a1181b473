// The setting most GUI tests start from: the application, a state with its
// Qt face, a scratch folder and, for MainWindowTest, the main window itself.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QWidget>
#include <memory>
#include <string>

#include "mainwindow/windows/common_dialog.h"
#include "mainwindow/windows/kova.h"
#include "mainwindow/windows/qt_ui.h"
#include "store/data_file.h"
#include "store/store_test_util.h"
#include "support/fake_ui.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"

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
};

}  // namespace test
