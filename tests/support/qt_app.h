// The one QApplication of the GUI tests, created on first use (offscreen).
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

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

// The WhenModal waits still pending. They go at the end of the test that
// armed them: an answer meant for one test, often holding references to its
// locals, never runs in the next one.
inline std::vector<QPointer<QTimer>>& PendingModalWaits() {
    static std::vector<QPointer<QTimer>> pending;
    return pending;
}

struct ModalWaitsEnd : ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override {
        for (QPointer<QTimer>& timer : PendingModalWaits())
            delete timer.data();
        PendingModalWaits().clear();
    }
};

inline const bool kModalWaitsEndWithTheirTest = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new ModalWaitsEnd);
    return true;
}();

// Runs `act` on the next modal window once it is up (within a few seconds)
// while the test that called it runs; gives up quietly otherwise, so the
// waiting test fails on its own checks. With `wanted`, only a modal window
// it accepts counts.
inline void WhenModal(std::function<void(QWidget*)> act,
                      std::function<bool(QWidget*)> wanted = nullptr) {
    (void)kModalWaitsEndWithTheirTest;
    auto* timer = new QTimer;
    QElapsedTimer waited;
    waited.start();
    QObject::connect(timer, &QTimer::timeout, [timer, waited, act = std::move(act), wanted] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && wanted && !wanted(modal))
            modal = nullptr;
        if (modal == nullptr && waited.elapsed() < 5000)
            return;
        timer->stop();
        timer->deleteLater();
        if (modal != nullptr)
            act(modal);
    });
    PendingModalWaits().emplace_back(timer);
    timer->start(10);
}

// The same for the next modal window of type T.
template <typename T>
void WhenModalOf(std::function<void(T*)> act) {
    WhenModal([act](QWidget* modal) { act(qobject_cast<T*>(modal)); },
              [](QWidget* modal) { return qobject_cast<T*>(modal) != nullptr; });
}

// The next modal window, a T, answered by `act`; any other fails the test and is closed.
template <typename T>
void WhenDialog(std::function<void(T*)> act) {
    WhenModal([act](QWidget* modal) {
        if (auto* dialog = qobject_cast<T*>(modal)) {
            act(dialog);
            return;
        }
        auto* box = qobject_cast<QMessageBox*>(modal);
        ADD_FAILURE() << modal->metaObject()->className() << " "
                      << (box != nullptr ? box->text().toStdString() : "");
        modal->close();
    });
}

// `window` made the active window, as the user's click on it makes it.
inline bool Activate(QWidget* window) {
    window->activateWindow();
    (void)QTest::qWaitForWindowActive(window);
    for (int k = 0; k < 50 && !window->isActiveWindow(); ++k)
        QApplication::processEvents();
    return window->isActiveWindow();
}

// A key pressed and released on `target`, as the window system sends them.
inline void Key(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(target, &release);
}

// A click at `at` in `target`, by default its middle (an option button's round box).
inline void Click(QWidget* target, std::optional<QPoint> at = std::nullopt,
                  Qt::MouseButton button = Qt::LeftButton) {
    QPointF point = at ? QPointF(*at) : QPointF(target->width() / 2.0, target->height() / 2.0);
    if (!at && qobject_cast<QRadioButton*>(target) != nullptr)
        point.setX(6);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, point, target->mapToGlobal(point), button,
                          type == QEvent::MouseButtonPress ? button : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
}

}  // namespace test
