// The multi-line text box of every window. Pasting into it (keys, middle
// click, context menu, a paste command) reads the clipboard or the selection;
// when no program owns it, the platform hands over data without a single
// format, and the text edit of some Qt releases reads the first format of
// that empty list and ends the program. This box pastes nothing then.
#pragma once

#include <QPlainTextEdit>

class TextBox : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void insertFromMimeData(const QMimeData* source) override;
};
