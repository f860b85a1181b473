// The main window's own event handling driven by real input events: mouse
// clicks as the window system delivers them, keys through the shortcut map,
// activation, and the text box and memo editor holding every byte.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include "store/daily_fixture.h"
#include "support/main_window_fixture.h"

namespace {

struct WindowEvents : test::MainWindowTest {
    std::string dataFile;

    void SetUp() override {
        dataFile = WriteProtocol("protocol.kov", test::MakeRecords(30), 30);
        MainWindowTest::SetUp();
        w->Form_Load("");
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }

    void Open(const std::string& name) {
        CommonDialog::TestAnswer() = [name](const core::FileDialogRequest&, bool) {
            return std::optional<std::string>(name);
        };
        w->mnuFileItem[1]->trigger();
        CommonDialog::TestAnswer() = nullptr;
        ASSERT_EQ(s.ViewMode, 1);
    }

    // The middle of `target` in the main window's own coordinates, where
    // the window system's events arrive.
    QPoint At(QWidget* target) { return target->mapTo(w.get(), target->rect().center()); }
};

// The window system delivers a double click as press, release, double click,
// release; only the first click moves the page.
TEST_F(WindowEvents, DoubleClickOnAnotherRowMovesOnce) {
    Open(dataFile);
    w->CLast->click();
    ASSERT_EQ(s.CurrentRecord1, 30);
    for (int k : {0, 4, 7}) {
        SCOPED_TRACE(k);
        w->CLast->click();
        ASSERT_EQ(w->V[0][3]->text(), "23");
        QTest::mouseDClick(w->windowHandle(), Qt::LeftButton, {}, At(w->V[k][3]));
        QApplication::processEvents();
        EXPECT_EQ(s.CurrentRecord1, 23);
        EXPECT_EQ(w->V[0][10]->text(), "23");
    }
    // On the current row the double click clears the field, as before.
    s.Records1[23].V4 = "Q";
    QTest::mouseDClick(w->windowHandle(), Qt::LeftButton, {}, At(w->V[4][10]));
    QApplication::processEvents();
    EXPECT_EQ(s.CurrentRecord1, 23);
    EXPECT_EQ(s.Records1[23].V4, "");
    // A single click after the double click counts again.
    QTest::mouseClick(w->windowHandle(), Qt::LeftButton, {}, At(w->V[1][9]));
    EXPECT_EQ(s.CurrentRecord1, 22);
}

}  // namespace
