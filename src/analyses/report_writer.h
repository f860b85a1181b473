// The line model of the text reports: print items composed into lines of
// bytes, with 1-based columns, Tab columns, print zones, fixed-width fields
// and number patterns. Every report block of the program is written with it.
#pragma once

#include <string>
#include <string_view>

namespace core {

class ReportWriter {
public:
    // A text item, written unchanged. A line feed inside it starts the column
    // count again, so Tab columns after it count from the new line.
    ReportWriter& Text(std::string_view text);

    // Pads with blanks up to `column`; when the line already stands beyond it,
    // ends the line and pads the new one; at the column itself does nothing.
    ReportWriter& Tab(int column);

    // Moves to the next print zone (columns 1, 15, 29, 43, ...).
    ReportWriter& ZoneStep();

    // A 16-bit number item: sign position, digits, one trailing blank (" 7 ").
    ReportWriter& Number(long long value);

    // Fields of `width` characters: a right-aligned text is padded on the left,
    // a left-aligned one on the right; a longer text keeps its first `width`
    // characters.
    ReportWriter& RightField(std::string_view text, int width);
    ReportWriter& LeftField(std::string_view text, int width);

    // A number in a right-aligned field of `width`, formatted with a report
    // pattern ("####0.00"). A number wider than its field is written whole:
    // cutting it would print a wrong number.
    ReportWriter& NumberField(double value, std::string_view pattern, int width);

    // A trimmed number (no blanks) left-aligned in `width`; written whole when
    // it is wider.
    ReportWriter& LeftNumber(long long value, int width);

    // Ends the line with CR LF.
    ReportWriter& EndLine();

    // `count` empty lines (after ending an open line).
    ReportWriter& EmptyLines(int count);

    // The column the next item starts at (1 at the start of a line).
    int Column() const { return column_; }

    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
    int column_ = 1;
};

// A number as text with no blanks: 7 gives "7", -7 gives "-7".
std::string TrimmedNumber(long long value);

// Writes `text` as a column of its own between the columns `fromCol` and
// `toCol`, starting on the current line: trailing blanks and carriage returns
// are dropped; the first piece starts at `fromCol` of the current line; a piece
// that would pass `toCol`, and the text after each line feed, start a new line
// at `fromCol`. Lines break after a blank or a punctuation mark where one is
// found, else at the width. The last line is left open for the caller to end.
void PrintWrappedText(ReportWriter& out, std::string_view text, int fromCol, int toCol);

}  // namespace core
