#include "mainwindow/windows/kova.h"
#include "mainwindow/windows/qt_ui.h"
#include "store/state.h"
#include "widgets/kova_application.h"

int main(int argc, char** argv) {
    // Reports a command that throws instead of ending the program with it.
    KovaApplication app(argc, argv);
    // The main window ends the program itself, also while hidden windows
    // such as the output viewer are still loaded.
    QApplication::setQuitOnLastWindowClosed(false);

    core::KovaState s;
    QtUi ui(s);
    kova window(s, ui);
    window.Form_Load(kova::JoinCommandLine(argc, argv));
    if (window.Ended())
        return 0;
    return app.exec();
}
