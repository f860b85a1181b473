// The splash window closes on a click on any of its controls or a character key.
#include <gtest/gtest.h>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "mainwindow/windows/splash.h"
#include "support/qt_app.h"

namespace {

void Click(QWidget* w) {
    QPointF at(2, 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QApplication::sendEvent(w, &release);
}

void Key(QWidget* w, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
}

// Shows a splash window modally, does `act` on it and tells whether it closed.
bool ClosesOn(std::function<void(splash*)> act) {
    splash window;
    bool closed = false;
    test::WhenModal([&](QWidget* w) {
        act(qobject_cast<splash*>(w));
        closed = !w->isVisible();
        w->close();
    });
    window.exec();
    return closed;
}

TEST(Splash, ClosesOnAClickOnAnyControl) {
    test::App();
    EXPECT_TRUE(ClosesOn([](splash* s) { s->Command1->click(); }));
    EXPECT_TRUE(ClosesOn([](splash* s) { Click(s->Frame1); }));
    EXPECT_TRUE(ClosesOn([](splash* s) { Click(s->imgLogo); }));
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(ClosesOn([i](splash* s) { Click(s->Label[i]); })) << "label " << i;
}

TEST(Splash, ClosesOnCharacterKeysOnly) {
    test::App();
    EXPECT_TRUE(ClosesOn([](splash* s) { Key(s, Qt::Key_A, "a"); }));
    EXPECT_TRUE(ClosesOn([](splash* s) { Key(s->Command1, Qt::Key_5, "5"); }));
    EXPECT_TRUE(ClosesOn([](splash* s) { Key(s, Qt::Key_Escape, "\x1b"); }));
    EXPECT_TRUE(ClosesOn([](splash* s) { Key(s, Qt::Key_Return, "\r"); }));
    EXPECT_TRUE(ClosesOn([](splash* s) { Key(s->Command1, Qt::Key_Backspace, ""); }));
    EXPECT_FALSE(ClosesOn([](splash* s) { Key(s, Qt::Key_Shift, ""); }));
    EXPECT_FALSE(ClosesOn([](splash* s) { Key(s, Qt::Key_F5, ""); }));
}

}  // namespace
