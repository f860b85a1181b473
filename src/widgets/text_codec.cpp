#include "widgets/text_codec.h"

#include "store/windows1252.h"

namespace {

// What an editable box shows for a line end it cannot hold as such.
constexpr char16_t kLoneCrSymbol = 0x240D;
constexpr char16_t kLoneLfSymbol = 0x240A;

char16_t CharOf(unsigned char byte) {
    return core::kWindows1252[byte];
}

}  // namespace

QString ToQString(std::string_view bytes) {
    QString out(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* dst = out.data();
    for (size_t i = 0; i < bytes.size(); ++i)
        dst[i] = QChar(CharOf(static_cast<unsigned char>(bytes[i])));
    return out;
}

std::string FromQString(const QString& text) {
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            ++i;
            out += '?';
            continue;
        }
        int b = core::Windows1252Byte(c);
        out += b < 0 ? '?' : static_cast<char>(b);
    }
    return out;
}

QString ToCaptionText(std::string_view bytes) {
    return ToQString(bytes).replace('&', QStringLiteral("&&"));
}

QString ToEditorText(std::string_view bytes) {
    std::string lf;
    lf.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c == '\r') {
            lf += '\n';
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            lf += c;
        }
    }
    return ToQString(lf);
}

std::string FromEditorText(const QString& text) {
    QString crlf;
    crlf.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        char16_t c = text[i].unicode();
        if (c == '\r') {
            crlf += QStringLiteral("\r\n");
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
        } else if (c == '\n' || c == 0x2029 || c == 0x2028) {
            crlf += QStringLiteral("\r\n");
        } else {
            crlf += QChar(c);
        }
    }
    return FromQString(crlf);
}

QString ToEditableText(std::string_view bytes) {
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            out += QLatin1Char('\n');
            ++i;
        } else if (c == '\r') {
            out += QChar(kLoneCrSymbol);
        } else if (c == '\n') {
            out += QChar(kLoneLfSymbol);
        } else {
            out += QChar(CharOf(static_cast<unsigned char>(c)));
        }
    }
    return out;
}

std::string FromEditableText(const QString& text) {
    // The line ends as control characters first, which FromQString keeps as
    // the bytes they are; every other character goes through it unchanged.
    QString plain;
    plain.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
            plain += QStringLiteral("\r\n");
            ++i;
        } else if (c == '\n' || c == 0x2029 || c == 0x2028) {
            plain += QStringLiteral("\r\n");
        } else if (c == kLoneCrSymbol) {
            plain += QLatin1Char('\r');
        } else if (c == kLoneLfSymbol) {
            plain += QLatin1Char('\n');
        } else {
            plain += QChar(c);
        }
    }
    return FromQString(plain);
}
