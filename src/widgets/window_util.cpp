#include "widgets/window_util.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextDocument>
#include <algorithm>

#include "widgets/text_codec.h"

void CentreOnScreen(QWidget* window) {
    QScreen* screen = window->screen();
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    QRect area = screen->geometry();
    QSize size = window->frameGeometry().size();
    window->move(area.x() + (area.width() - size.width()) / 2,
                 area.y() + (area.height() - size.height()) / 2);
}

void SetBackground(QWidget* widget, const QColor& colour, bool windowOnly) {
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, colour);
    if (!windowOnly)
        p.setColor(QPalette::Base, colour);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

void WrappingButton::paintEvent(QPaintEvent* event) {
    const int room = width() - 6;
    if (fontMetrics().horizontalAdvance(text()) <= room) {
        QPushButton::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(rect().adjusted(3, 2, -3, -2), Qt::AlignCenter | Qt::TextWordWrap, text());
}

std::string EditableBytes(const QPlainTextEdit* box) {
    // The raw text: toPlainText would turn a non-breaking space into a blank.
    return FromEditableText(box->document()->toRawText());
}

void SetEditableBytes(QPlainTextEdit* box, std::string_view bytes) {
    const QSignalBlocker block(box);
    box->setPlainText(ToEditableText(bytes));
}

void PlaceRangeBoxes(QLabel* label, QLineEdit* from, QLineEdit* to) {
    const QFontMetrics metrics(label->font());
    const QString text = label->text();
    const int blanks = text.indexOf("no.") + 4;
    const int start = label->x() + metrics.horizontalAdvance(text.left(blanks));
    const int end = label->x() + metrics.horizontalAdvance(text.left(text.lastIndexOf("to")));
    const int top = label->y() - (from->height() - label->height()) / 2;
    from->setGeometry(start, top, std::max(end - start - 4, Tw(600)), from->height());
    to->setGeometry(std::max(label->x() + metrics.horizontalAdvance(text) + 6,
                             from->geometry().right() + 4 + metrics.horizontalAdvance("to")),
                    top, Tw(900), to->height());
    label->resize(metrics.horizontalAdvance(text) + 2, label->height());
}
