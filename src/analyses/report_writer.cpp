#include "analyses/report_writer.h"

#include <algorithm>

#include "store/text.h"

namespace core {

namespace {

constexpr int kZoneWidth = 14;

// Characters after which a wrapped line may break.
bool IsBreakCharacter(char c) {
    switch (c) {
        case ' ':
        case '~':
        case '.':
        case ',':
        case '!':
        case '-':
        case ':':
        case ';':
        case ')':
        case '\'':
        case '"':
            return true;
        default:
            return false;
    }
}

}  // namespace

ReportWriter& ReportWriter::Text(std::string_view text) {
    bytes_.append(text);
    size_t lastFeed = text.rfind('\n');
    if (lastFeed == std::string_view::npos)
        column_ += static_cast<int>(text.size());
    else
        column_ = 1 + static_cast<int>(text.size() - lastFeed - 1);
    return *this;
}

ReportWriter& ReportWriter::Tab(int column) {
    if (column < 1)
        column = 1;
    if (column_ > column)
        EndLine();
    if (column_ < column) {
        bytes_.append(static_cast<size_t>(column - column_), ' ');
        column_ = column;
    }
    return *this;
}

ReportWriter& ReportWriter::ZoneStep() {
    int next = 1 + ((column_ - 1) / kZoneWidth + 1) * kZoneWidth;
    bytes_.append(static_cast<size_t>(next - column_), ' ');
    column_ = next;
    return *this;
}

ReportWriter& ReportWriter::Number(long long value) {
    return Text(FileNumber(value));
}

ReportWriter& ReportWriter::RightField(std::string_view text, int width) {
    size_t w = static_cast<size_t>(std::max(width, 0));
    if (text.size() >= w)
        return Text(text.substr(0, w));
    bytes_.append(w - text.size(), ' ');
    column_ += static_cast<int>(w - text.size());
    return Text(text);
}

ReportWriter& ReportWriter::LeftField(std::string_view text, int width) {
    size_t w = static_cast<size_t>(std::max(width, 0));
    if (text.size() >= w)
        return Text(text.substr(0, w));
    Text(text);
    bytes_.append(w - text.size(), ' ');
    column_ += static_cast<int>(w - text.size());
    return *this;
}

ReportWriter& ReportWriter::NumberField(double value, std::string_view pattern, int width) {
    std::string text = FormatNumber(value, pattern);
    if (text.size() >= static_cast<size_t>(std::max(width, 0)))
        return Text(text);
    return RightField(text, width);
}

ReportWriter& ReportWriter::LeftNumber(long long value, int width) {
    std::string text = TrimmedNumber(value);
    if (text.size() >= static_cast<size_t>(std::max(width, 0)))
        return Text(text);
    return LeftField(text, width);
}

ReportWriter& ReportWriter::EndLine() {
    bytes_.append("\r\n");
    column_ = 1;
    return *this;
}

ReportWriter& ReportWriter::EmptyLines(int count) {
    if (column_ != 1)
        EndLine();
    for (int i = 0; i < count; ++i)
        EndLine();
    return *this;
}

std::string TrimmedNumber(long long value) {
    return Trim(SignedNumber(value));
}

void PrintWrappedText(ReportWriter& out, std::string_view text, int fromCol, int toCol) {
    std::string clean;
    clean.reserve(text.size());
    for (char c : text)
        if (c != '\r')
            clean.push_back(c);
    clean = TrimRight(clean);

    if (toCol < fromCol)
        toCol = fromCol;
    const size_t width = static_cast<size_t>(toCol - fromCol + 1);
    // Tab(fromCol) leaves the line at fromCol (on a new line when the caller's
    // line stood beyond it), so every piece has the whole width.
    out.Tab(fromCol);
    std::string_view rest = clean;
    while (true) {
        size_t feed = rest.find('\n');
        std::string_view paragraph = rest.substr(0, feed);
        while (paragraph.size() > width) {
            size_t cut = width;
            for (size_t i = width; i > 0; --i) {
                if (IsBreakCharacter(paragraph[i - 1])) {
                    cut = i;
                    break;
                }
            }
            out.Text(paragraph.substr(0, cut));
            paragraph.remove_prefix(cut);
            out.EndLine().Tab(fromCol);
        }
        out.Text(paragraph);
        if (feed == std::string_view::npos)
            break;
        rest.remove_prefix(feed + 1);
        out.EndLine().Tab(fromCol);
    }
}

}  // namespace core
