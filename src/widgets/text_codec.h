// The one place where the program's text (Windows-1252 bytes, CR LF line
// ends, exactly as in the files) meets Qt's QString.
#pragma once

#include <QString>
#include <string>
#include <string_view>

class QPlainTextEdit;

// Every byte 0..255 becomes one character. The five bytes that Windows-1252
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control
// characters of the same number, so that every byte string survives
// ToQString followed by FromQString unchanged.
QString ToQString(std::string_view bytes);

// The reverse: each character becomes its Windows-1252 byte; a character the
// code page cannot hold becomes '?' (one '?' for a surrogate pair).
std::string FromQString(const QString& text);

// Text for a menu item or button caption: as ToQString, with every "&"
// doubled so that a label such as "R&D" shows as typed instead of marking a
// shortcut letter.
QString ToCaptionText(std::string_view bytes);

// Text for a multi-line editor or a label: CR LF, a lone CR and a lone LF
// each become one "\n".
QString ToEditorText(std::string_view bytes);

// Text from an editor back to bytes: "\n", "\r\n", a lone "\r" and the
// paragraph and line separators U+2029 and U+2028 each become CR LF.
std::string FromEditorText(const QString& text);

// What a multi-line editor holds, line breaks as "\n". Unlike toPlainText(),
// which turns a no-break space into a plain one, every character stays as it
// is, so a text shown and read back keeps every byte.
QString EditorText(const QPlainTextEdit& editor);
