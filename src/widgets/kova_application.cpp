#include "widgets/kova_application.h"

#include <QMessageBox>

#include <exception>
#include <new>

#include "widgets/message_box.h"

namespace {

void ShowFailure(const std::string& text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("KOVA"), QString(), QMessageBox::Ok,
                    QApplication::activeWindow());
    SetMessageText(box, text);
    box.exec();
}

}  // namespace

KovaApplication::KovaApplication(int& argc, char** argv)
    : QApplication(argc, argv), reportFailure(ShowFailure) {}

bool KovaApplication::notify(QObject* receiver, QEvent* event) {
    std::string text;
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc&) {
        text =
            "The command stopped: there is not enough memory for it. Save your work under a "
            "new name before you go on.";
    } catch (const std::exception& e) {
        text = std::string("The command stopped on an error (") + e.what() +
               "). Save your work under a new name before you go on.";
    } catch (...) {
        text = "The command stopped on an error. Save your work under a new name before you go on.";
    }
    if (reportFailure)
        reportFailure(text);
    return false;
}
