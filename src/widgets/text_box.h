// The multi-line text box of every window. Pasting into it (keys, middle
// click, context menu, a paste command) reads the clipboard or the selection.
// When no program owns it, the platform hands over data without a single
// format, and the text edit of some Qt releases reads the first format of
// that empty list and ends the program: this box pastes nothing then. A
// paste that would make a text longer than a box edits (see FitsEditing) is
// refused with a message: laying it out would keep the program busy for
// minutes.
#pragma once

#include <QPlainTextEdit>

// Whether `text` may be pasted over the selection of `box`; when it may not,
// says so in a message box.
bool MayPaste(QPlainTextEdit& box, const QString& text);

class TextBox : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void insertFromMimeData(const QMimeData* source) override;
};
