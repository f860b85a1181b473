#include "widgets/text_printer.h"

#include <QMessageBox>
#include <QPlainTextEdit>

#ifdef KOVA_HAVE_PRINT
#include <QPrintDialog>
#include <QPrinter>
#endif

bool PrintingAvailable() {
#ifdef KOVA_HAVE_PRINT
    return true;
#else
    return false;
#endif
}

void PrintText(QWidget* parent, QPlainTextEdit* editor) {
#ifdef KOVA_HAVE_PRINT
    QPrinter printer;
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName("PrintDialog");
    if (dialog.exec() == QDialog::Accepted)
        editor->print(&printer);
#else
    (void)editor;
    QMessageBox box(QMessageBox::Information, "KOVA",
                    "Printing is not available in this build of KOVA.\n"
                    "Save the text to a file and print that file instead.",
                    QMessageBox::Ok, parent);
    box.setObjectName("PrintUnavailable");
    box.exec();
#endif
}
