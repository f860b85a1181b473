#include "widgets/message_box.h"

#include "widgets/text_codec.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>

namespace {

// More than any box shows on any screen; cutting here first keeps the
// layout below quick whatever the caller hands over.
constexpr qsizetype kMostCharacters = 4000;

const QString kCutMark = QStringLiteral("...");
constexpr QChar kZeroWidthSpace(0x200B);

// A box wraps its text only where a line may break: a run of characters
// without a blank wider than the box would keep it at the width of the
// screen, cut off at the side. Such a run gets an invisible break
// opportunity wherever it grows past `widest` pixels.
QString Breakable(const QString& text, const QFontMetrics& metrics, int widest) {
    QString out;
    out.reserve(text.size() + 16);
    int run = 0;
    for (const QChar c : text) {
        const int advance = metrics.horizontalAdvance(c);
        if (c.isSpace()) {
            run = 0;
        } else if (run + advance > widest) {
            out += kZeroWidthSpace;
            run = advance;
        } else {
            run += advance;
        }
        out += c;
    }
    return out;
}

// The break opportunities are the layout's alone: what the user copies from
// the box (by its keys, its menu or a selection) is its text without them.
// Only a copy of this box's text is touched.
void KeepBreaksOutOfCopies(QMessageBox& box) {
    constexpr char kCleansCopies[] = "kovaCleansCopies";
    if (box.property(kCleansCopies).isValid())
        return;
    box.setProperty(kCleansCopies, true);
    QClipboard* clipboard = QGuiApplication::clipboard();
    const auto clean = [&box, clipboard](QClipboard::Mode mode) {
        const QString copied = clipboard->text(mode);
        const QString shown = box.text();
        if (copied.contains(kZeroWidthSpace) && (shown.contains(copied) || copied.contains(shown)))
            clipboard->setText(QString(copied).remove(kZeroWidthSpace), mode);
    };
    QObject::connect(clipboard, &QClipboard::dataChanged, &box,
                     [clean] { clean(QClipboard::Clipboard); });
    QObject::connect(clipboard, &QClipboard::selectionChanged, &box,
                     [clean] { clean(QClipboard::Selection); });
}

}  // namespace

void SetMessageText(QMessageBox& box, const QString& text) {
    const QScreen* screen =
        box.screen() != nullptr ? box.screen() : QGuiApplication::primaryScreen();
    const QRect available = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 640, 480);
    const QFont font = QApplication::font("QMessageBoxLabel");
    const QFontMetrics metrics(font);
    // A box wraps its text at no less than half the screen's width (500
    // pixels at most); its icon and margins take some of that. Besides the
    // text it holds its title bar, margins and buttons.
    const int boxWidth = std::min(available.width() / 2, 500);
    const int wrapWidth = std::max(100, boxWidth - 120);
    const int textHeight =
        std::max(metrics.lineSpacing(), available.height() - 8 * metrics.lineSpacing() - 40);
    QString shown = Breakable(text.left(kMostCharacters), metrics, boxWidth);

    // The lines the text takes at that width; the text stops before the
    // first line past the height the screen leaves it.
    QString laid = shown;
    laid.replace('\n', QChar::LineSeparator);
    QTextLayout layout(laid, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    int height = 0;
    qsizetype fits = shown.size();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(wrapWidth);
        height += metrics.lineSpacing();
        if (height > textHeight) {
            // The mark takes the place of the last characters that fit.
            fits = std::max<qsizetype>(0, line.textStart() - kCutMark.size());
            break;
        }
    }
    layout.endLayout();
    if (fits < shown.size() || text.size() > kMostCharacters) {
        shown.truncate(fits);
        if (!shown.isEmpty() && shown.back().isHighSurrogate())
            shown.chop(1);
        shown += kCutMark;
    }
    box.setTextFormat(Qt::PlainText);
    box.setText(shown);
    if (shown.contains(kZeroWidthSpace))
        KeepBreaksOutOfCopies(box);
}

void SetMessageText(QMessageBox& box, std::string_view bytes) {
    // A line break of two bytes is one character: twice the characters a box
    // takes, and one byte more to tell that the text goes on.
    const size_t most = 2 * static_cast<size_t>(kMostCharacters) + 1;
    SetMessageText(box, ToEditorText(bytes.substr(0, most)));
}
