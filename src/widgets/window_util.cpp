#include "widgets/window_util.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextDocument>

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
