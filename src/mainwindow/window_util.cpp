#include "mainwindow/window_util.h"

#include <QGuiApplication>
#include <QScreen>

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
