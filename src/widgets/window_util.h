// Small helpers shared by the program's windows.
#pragma once

#include <QColor>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <cmath>
#include <cstddef>
#include <string>
#include <string_view>

#include "store/state.h"

class QComboBox;
class QListWidget;
class QListWidgetItem;
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

// Qt lays out a line in time that grows with its length, and a line with
// no break opportunity in time that grows with the square of it; a field may
// hold 16 MiB. A box edits a text only while its lines are no longer than
// kMaxEditableLineBytes and the whole no longer than the box's bound
// (kMaxEditableBytes unless the box says otherwise).
inline constexpr size_t kMaxEditableLineBytes = size_t{64} << 10;
inline constexpr size_t kMaxEditableBytes = size_t{1} << 20;
// A longer text shows as an excerpt, read-only: each long line cut to this.
inline constexpr size_t kExcerptLineBytes = size_t{16} << 10;
// A one-line cell or page row never draws more than this: no screen shows
// more characters in one line.
inline constexpr size_t kMaxShownLineBytes = 4096;

// Whether a multi-line box edits these bytes whole (see above).
bool FitsEditing(std::string_view bytes, size_t maxBytes = kMaxEditableBytes);

// The bytes a multi-line box holds, and setting them: exact both ways (see
// ToEditableText), and setting them raises no change signal, since showing a
// text is no edit. A text that does not fit editing shows as an excerpt with
// a note, read-only; the box keeps the bytes it was given, so that
// EditableBytes still returns them whole and nothing cut is written back.
std::string EditableBytes(const QPlainTextEdit* box);
void SetEditableBytes(QPlainTextEdit* box, std::string_view bytes,
                      size_t maxBytes = kMaxEditableBytes);
// Whether the box shows an excerpt (set by SetEditableBytes).
bool HoldsExcerpt(const QPlainTextEdit* box);
// The characters of a box that are its text's own, one for one: the whole
// box, or an excerpt's from after its note up to its first cut. A position
// in the text (a hit of Find) or in the box (a caret) maps only within it.
struct ExactSpan {
    int start = 0;
    int length = 0;
};
ExactSpan ExactPart(const QPlainTextEdit* box);

// A field's text for a label or table cell of fixed size (ToEditorText),
// cut to what such a place can show.
QString VisibleText(std::string_view bytes);

// What a one-line place (a menu item, a window title, a heading, a list or
// combo item) draws of a label or category: its first kMaxShownLineBytes.
// Only the drawing is cut: the table keeps the bytes whole.
std::string_view ShownPart(std::string_view bytes);

// A label or category as a list or combo item, drawn cut (ShownPart). An item
// that is cut keeps its bytes whole, so that picking it gives them back.
void AddShownItem(QListWidget* list, std::string_view bytes);
void AddShownItem(QComboBox* combo, std::string_view bytes);
// The bytes an item stands for: its whole bytes when it is cut, else its text.
std::string ItemBytes(const QListWidgetItem* item);
// The bytes the text of a combo box stands for: when the text is that of an
// item (the current one, else the first with that text), the item's bytes;
// else the text as typed.
std::string ComboBytes(const QComboBox* combo);
// The same for a list under an edit field that holds `text`.
std::string ListBytes(const QListWidget* list, const QString& text);

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
