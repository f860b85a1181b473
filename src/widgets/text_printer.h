// Printing a plain text through the system's print dialog. Builds without the
// print module say so to the user instead.
#pragma once

class QPlainTextEdit;
class QWidget;

// True when this build can print.
bool PrintingAvailable();

// Shows the print dialog for the editor's whole text and prints it when the
// user confirms; without printing support it shows a message instead.
void PrintText(QWidget* parent, QPlainTextEdit* editor);
