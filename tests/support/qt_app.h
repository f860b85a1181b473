// The one QApplication of the GUI tests, created on first use (offscreen).
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace test {

inline QApplication& App() {
    static int argc = 1;
    static char name[] = "test_gui";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("KOVA_NO_SPLASH", "1");
        auto* a = new QApplication(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        return a;
    }();
    return *app;
}

// Runs `act` on the next modal window once it is up (within a few seconds);
// gives up quietly otherwise, so the waiting test fails on its own checks.
inline void WhenModal(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    auto* waited = new QElapsedTimer;
    waited->start();
    QObject::connect(timer, &QTimer::timeout, [timer, waited, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr && waited->elapsed() < 5000)
            return;
        timer->stop();
        timer->deleteLater();
        delete waited;
        if (modal != nullptr)
            act(modal);
    });
    timer->start(10);
}

}  // namespace test
