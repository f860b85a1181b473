// The main window's filter button: "Make Filter" in the view of data set 1,
// "Run Filter(s)" in the view of the filter lines.
#include <QPlainTextEdit>
#include <QTextCursor>

#include <QTextDocument>
#include "filters/make_filter.h"
#include "filters/windows/runfilter.h"
#include "mainwindow/windows/kova.h"
#include "mainwindow/windows/qt_ui.h"

#include "widgets/text_codec.h"

void kova::CRunfilter_Click() {
    if (s_.ViewMode == 1) {
        // The box's raw text, so that the filter matches the record byte for byte.
        const QString text = Text1->document()->toRawText();
        const QTextCursor cursor = Text1->textCursor();
        const QString selected =
            text.mid(cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart());
        core::MakeFilter(s_, ui_, FromEditableText(text), FromEditableText(selected));
        return;
    }
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
