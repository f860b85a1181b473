// The main window's "Run Filter(s)" button in the view of the filter lines.
#include "filters/windows/runfilter.h"
#include "mainwindow/windows/kova.h"
#include "mainwindow/windows/qt_ui.h"

void kova::CRunfilter_Click() {
    if (s_.ViewMode != 3)
        return;
    if (s_.DataFileName1.empty()) {
        ui_.Message("First, open kov.file to apply filter(s) to!", "ERROR HELP",
                    core::Icon::Exclamation);
        return;
    }
    // One dialog at a time: a second click brings the open one forward, so
    // that its boxes and the options they set stay in step.
    runfilter* dialog = nullptr;
    for (runfilter* open : findChildren<runfilter*>(QString(), Qt::FindDirectChildrenOnly))
        if (open->isVisible())
            dialog = open;
    if (dialog == nullptr)
        dialog = new runfilter(s_, ui_, this);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}
