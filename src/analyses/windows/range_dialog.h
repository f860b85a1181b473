// The pieces the range dialogs of the analyses build alike: named controls at
// twip positions, the "from ... to ..." row of record numbers and the OK and
// Cancel buttons.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "widgets/window_util.h"

namespace rangedialog {

// Names a control and places it at a position and size given in twips.
template <typename W>
W* Place(W* w, const char* name, int left, int top, int width, int height) {
    w->setObjectName(name);
    w->setGeometry(Tw(left), Tw(top), Tw(width), Tw(height));
    return w;
}

struct RangeRow {
    QLabel* caption;
    QLineEdit* from;
    QLabel* to;
    QLineEdit* toBox;
};

// The caption, the first box, "to" and the second box in one row starting at
// the left margin; `top` is the top of the boxes, the labels sit 40 lower.
// `names` are the object names of the four controls in that order.
inline RangeRow PlaceRangeRow(QWidget* parent, const char* caption, int captionWidth, int top,
                              const char* const (&names)[4]) {
    const int fromLeft = 240 + captionWidth + 60;
    const int toLeft = fromLeft + 900 + 120;
    RangeRow row;
    row.caption = Place(new QLabel(caption, parent), names[0], 240, top + 40, captionWidth, 285);
    row.from = Place(new QLineEdit(parent), names[1], fromLeft, top, 900, 315);
    row.to = Place(new QLabel("to", parent), names[2], toLeft, top + 40, 300, 285);
    row.toBox = Place(new QLineEdit(parent), names[3], toLeft + 300, top, 900, 315);
    return row;
}

struct ButtonRow {
    const char* okName;
    const char* cancelName;
    int okLeft;
    int cancelLeft;
    int top;
    int width;
};

// OK (the default button) and Cancel, wired to the dialog's handlers.
template <typename D>
void PlaceOkCancel(D* dialog, const ButtonRow& row, QPushButton*& ok, QPushButton*& cancel,
                   void (D::*onOk)(), void (D::*onCancel)()) {
    ok = Place(new QPushButton("OK", dialog), row.okName, row.okLeft, row.top, row.width, 375);
    cancel = Place(new QPushButton("Cancel", dialog), row.cancelName, row.cancelLeft, row.top,
                   row.width, 375);
    ok->setDefault(true);
    cancel->setAutoDefault(false);
    QObject::connect(ok, &QPushButton::clicked, dialog, onOk);
    QObject::connect(cancel, &QPushButton::clicked, dialog, onCancel);
}

}  // namespace rangedialog
