// Small helpers shared by the program's windows.
#pragma once

#include <QColor>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <cmath>
#include <string>
#include <string_view>

#include "store/state.h"

class QPlainTextEdit;

// Window geometry is designed in twips; 15 twips make one pixel.
inline int Tw(int twips) {
    return static_cast<int>(std::lround(twips / 15.0));
}

inline QColor ToQColor(const core::Rgb& c) {
    return QColor(c.r, c.g, c.b);
}

// Places a window in the middle of the screen it is on (or the primary one).
void CentreOnScreen(QWidget* window);

// Sets the background colour of a widget: its window role, and its base role
// (the colour of edit boxes and lists) unless windowOnly is set, so that a
// window's colour does not spread into the edit boxes on it.
void SetBackground(QWidget* widget, const QColor& colour, bool windowOnly = false);

// The bytes a multi-line box holds, and setting them: exact both ways (see
// ToEditableText), and setting them raises no change signal, since showing a
// text is no edit.
std::string EditableBytes(const QPlainTextEdit* box);
void SetEditableBytes(QPlainTextEdit* box, std::string_view bytes);

// A push button whose caption wraps onto more lines when it is wider than the
// button, as the design's small square buttons need.
class WrappingButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The range sentence of a dialog ("... record no.      to"): the first box
// stands on the blanks between "no." and "to", the second after "to", as
// wide as the font makes the text, so that "to" shows between them.
void PlaceRangeBoxes(QLabel* label, QLineEdit* from, QLineEdit* to);
