// The program's application object: no exception thrown by a command ends the
// program. An exception that leaves an event handler (memory running out, a
// fault in a command) is caught where the event was delivered, reported, and
// the program goes on with the user's data, so that it can still be saved.
#pragma once

#include <QApplication>

#include <functional>
#include <string>

class KovaApplication : public QApplication {
public:
    KovaApplication(int& argc, char** argv);

    // Tells the user that a command stopped; a message box unless replaced.
    std::function<void(const std::string& text)> reportFailure;

    bool notify(QObject* receiver, QEvent* event) override;
};
