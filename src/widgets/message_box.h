// The text of every message box of the program. A box grows with its text:
// a text longer than the screen holds would give a box taller than the
// screen, its buttons out of reach, and one of megabytes would keep the
// program busy for minutes laying it out. The core quotes short excerpts of
// what it reports; this is the last guard for whatever text reaches a box.
#pragma once

#include <QString>
#include <string_view>

class QMessageBox;

// Sets `text` as the plain text of `box`, cut (with "..." at the cut) to what
// a box fits on the screen the box is shown on.
void SetMessageText(QMessageBox& box, const QString& text);
// The same for the program's own text (Windows-1252 bytes, CR LF line
// ends); only as much of it is converted as a box can show.
void SetMessageText(QMessageBox& box, std::string_view bytes);
