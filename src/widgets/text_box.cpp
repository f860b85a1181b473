#include "widgets/text_box.h"

#include <QMimeData>

void TextBox::insertFromMimeData(const QMimeData* source) {
    if (source == nullptr || source->formats().isEmpty())
        return;
    QPlainTextEdit::insertFromMimeData(source);
}
