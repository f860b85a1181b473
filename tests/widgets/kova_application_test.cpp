// An exception thrown by a command's event handler is caught where the event
// is delivered and reported; the program goes on.
#include "widgets/kova_application.h"

#include <gtest/gtest.h>

#include <QEvent>
#include <QObject>

#include <new>
#include <stdexcept>
#include <vector>

namespace {

KovaApplication& Application() {
    static int argc = 1;
    static char name[] = "kova_application_test";
    static char* argv[] = {name, nullptr};
    static KovaApplication* app = new KovaApplication(argc, argv);
    return *app;
}

// A receiver whose handler fails the way a command can.
class Failing : public QObject {
public:
    enum class Kind { None, NoMemory, Error };
    Kind kind = Kind::None;
    int handled = 0;

    bool event(QEvent* e) override {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        ++handled;
        if (kind == Kind::NoMemory)
            throw std::bad_alloc();
        if (kind == Kind::Error)
            throw std::runtime_error("boom");
        return true;
    }
};

TEST(KovaApplication, AnExceptionFromAHandlerIsReportedAndTheProgramGoesOn) {
    KovaApplication& app = Application();
    std::vector<std::string> reports;
    app.reportFailure = [&](const std::string& text) { reports.push_back(text); };
    struct Case {
        Failing::Kind kind;
        bool delivered;
        const char* report;
    } cases[] = {
        {Failing::Kind::NoMemory, false, "The command stopped: there is not enough memory"},
        {Failing::Kind::Error, false, "The command stopped on an error (boom)."},
        {Failing::Kind::None, true, nullptr},
    };
    for (const Case& c : cases) {
        Failing receiver;
        receiver.kind = c.kind;
        reports.clear();
        QEvent event(QEvent::User);
        EXPECT_EQ(QCoreApplication::sendEvent(&receiver, &event), c.delivered);
        EXPECT_EQ(receiver.handled, 1);
        if (c.report == nullptr) {
            EXPECT_TRUE(reports.empty());
        } else {
            ASSERT_EQ(reports.size(), 1u);
            EXPECT_EQ(reports[0].rfind(c.report, 0), 0u) << reports[0];
        }
    }
}

}  // namespace
