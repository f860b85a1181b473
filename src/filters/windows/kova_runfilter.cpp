// The main window's "Run Filter(s)" button in the view of the filter lines.
#include "filters/windows/runfilter.h"
#include "mainwindow/kova.h"
#include "mainwindow/qt_ui.h"

void kova::CRunfilter_Click() {
    if (s_.ViewMode != 3)
        return;
    if (s_.DataFileName1.empty()) {
        ui_.Message("First, open kov.file to apply filter(s) to!", "ERROR HELP",
                    core::Icon::Exclamation);
        return;
    }
    auto* dialog = new runfilter(s_, ui_, this);
    dialog->show();
}
