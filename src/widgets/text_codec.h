// The one place where the program's text (Windows-1252 bytes, CR LF line
// ends, exactly as in the files) meets Qt's QString.
#pragma once

#include <QString>
#include <string>
#include <string_view>

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

// Text for a label or a message (shown only, never read back): CR LF, a lone
// CR and a lone LF each become one "\n".
QString ToEditorText(std::string_view bytes);

// Text typed into a box back to bytes: "\n", "\r\n", a lone "\r" and the
// paragraph and line separators U+2029 and U+2028 each become CR LF.
std::string FromEditorText(const QString& text);

// The text of a box whose text is written back (the text box, the memo
// editor, the output viewer), exact both ways for every byte 01..FF: CR LF
// is a line break; a lone CR and a lone LF, which the box cannot hold as
// such, show as the symbols U+240D and U+240A; every other byte is its own
// character (a non-breaking space stays one).
QString ToEditableText(std::string_view bytes);

// The reverse of ToEditableText, for the box's raw text (its
// QTextDocument::toRawText: line breaks as U+2029, non-breaking spaces
// kept). A line break typed as such, "\n", U+2029 or U+2028 (Shift+Enter),
// becomes CR LF.
std::string FromEditableText(const QString& text);
