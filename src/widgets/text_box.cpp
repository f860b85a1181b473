#include "widgets/text_box.h"

#include <QMessageBox>
#include <QMimeData>
#include <QTextBlock>
#include <algorithm>

#include "widgets/message_box.h"
#include "widgets/window_util.h"

namespace {

// Whether pasting `text` over the box's selection keeps every line and the
// pasted part within what a box edits (characters stand for bytes here: a
// character of the code page is one byte, a line break two).
bool PasteFits(const QPlainTextEdit& box, const QString& text) {
    if (static_cast<size_t>(text.size()) > kMaxEditableBytes)
        return false;
    const QTextCursor cursor = box.textCursor();
    const QTextBlock first = box.document()->findBlock(cursor.selectionStart());
    const QTextBlock last = box.document()->findBlock(cursor.selectionEnd());
    // What stays of the lines the paste lands in: before it and after it.
    const qsizetype before = cursor.selectionStart() - first.position();
    const qsizetype after = last.position() + last.length() - 1 - cursor.selectionEnd();
    qsizetype line = before;
    for (const QChar c : text) {
        if (c == '\n' || c == '\r' || c == QChar::ParagraphSeparator) {
            line = 0;
            continue;
        }
        if (static_cast<size_t>(++line) > kMaxEditableLineBytes)
            return false;
    }
    return static_cast<size_t>(line + after) <= kMaxEditableLineBytes;
}

}  // namespace

bool MayPaste(QPlainTextEdit& box, const QString& text) {
    if (PasteFits(box, text))
        return true;
    QMessageBox message(QMessageBox::Warning, "Error", "", QMessageBox::Ok, box.window());
    SetMessageText(message, QString("Nothing was pasted: the text is longer than a box edits (at "
                                    "most %1 characters, %2 in one line).")
                                .arg(kMaxEditableBytes)
                                .arg(kMaxEditableLineBytes));
    message.exec();
    return false;
}

void TextBox::insertFromMimeData(const QMimeData* source) {
    if (source == nullptr || source->formats().isEmpty())
        return;
    if (source->hasText() && !MayPaste(*this, source->text()))
        return;
    QPlainTextEdit::insertFromMimeData(source);
}
