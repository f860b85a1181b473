#include "widgets/window_util.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <QVariant>
#include <algorithm>
#include <cmath>

#include "store/text.h"
#include "widgets/text_codec.h"

void CentreOnScreen(QWidget* window) {
    QScreen* screen = window->screen();
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    QRect area = screen->geometry();
    QSize size = window->frameGeometry().size();
    window->move(area.x() + (area.width() - size.width()) / 2,
                 area.y() + (area.height() - size.height()) / 2);
}

void SetBackground(QWidget* widget, const QColor& colour, bool windowOnly) {
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, colour);
    if (!windowOnly)
        p.setColor(QPalette::Base, colour);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

void WrappingButton::paintEvent(QPaintEvent* event) {
    const int room = width() - 6;
    if (fontMetrics().horizontalAdvance(text()) <= room) {
        QPushButton::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(rect().adjusted(3, 2, -3, -2), Qt::AlignCenter | Qt::TextWordWrap, text());
}

namespace {

// The dynamic properties in which a box showing an excerpt keeps its bytes,
// the number of characters after its note that are the text's own, and its
// note on one line.
constexpr char kWholeText[] = "kovaWholeText";
constexpr char kExactChars[] = "kovaExactChars";
constexpr char kNote[] = "kovaNote";

// A run this long without a blank makes the box wrap anywhere: breaking at
// word boundaries only is what takes quadratic time on such a run.
constexpr size_t kLongRunBytes = 1024;

bool HasLongRun(std::string_view bytes) {
    size_t run = 0;
    for (char c : bytes) {
        run = (c == ' ' || c == '\t' || c == '\r' || c == '\n') ? 0 : run + 1;
        if (run >= kLongRunBytes)
            return true;
    }
    return false;
}

// A bound as the note names it: whole megabytes as messages give them, or
// kilobytes below one.
QString SizeWords(size_t bytes) {
    return bytes >= (size_t{1} << 20) ? ToQString(core::SizeInMB(bytes))
                                      : QStringLiteral("%1 KB").arg(bytes >> 10);
}

// The note an excerpt starts with: which bound the text passed.
QString ExcerptNote(size_t bytes, size_t maxBytes) {
    if (bytes > maxBytes)
        return QStringLiteral(
                   "[This text of %L1 bytes is longer than %2, the most a box edits: it is "
                   "shown cut, read-only, and kept whole.]")
            .arg(static_cast<qulonglong>(bytes))
            .arg(SizeWords(maxBytes));
    return QStringLiteral(
               "[A line of this text is longer than %1, the most a box edits in one line: the "
               "text is shown cut, read-only, and kept whole.]")
        .arg(SizeWords(kMaxEditableLineBytes));
}

// The note with a line break in place of each blank after which the next
// word would pass the box's width: an excerpt wraps anywhere, which would
// break the note inside its words, and a box that does not wrap would show
// only its first words. The note keeps its length.
QString NoteLines(const QPlainTextEdit* box, const QString& note) {
    const QFontMetrics metrics(box->document()->defaultFont());
    // The document's margins and room for the caret at a line's end.
    const int width = box->viewport()->width() -
                      2 * static_cast<int>(std::ceil(box->document()->documentMargin())) -
                      metrics.averageCharWidth();
    QString lines = note;
    qsizetype start = 0;
    qsizetype blank = -1;
    for (qsizetype end = 0; end <= lines.size(); ++end) {
        if (end < lines.size() && lines[end] != QLatin1Char(' '))
            continue;
        if (blank > start && metrics.horizontalAdvance(lines.mid(start, end - start)) > width) {
            lines[blank] = QLatin1Char('\n');
            start = blank + 1;
        }
        blank = end;
    }
    return lines;
}

// Breaks the note of an excerpt anew when the box's width changes; the
// characters after it keep their places.
class NoteBreaker : public QObject {
public:
    explicit NoteBreaker(QPlainTextEdit* box) : QObject(box), box_(box) {
        setObjectName(QStringLiteral("kovaNoteBreaker"));
        box->viewport()->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize)
            Break();
        return false;
    }

    void Break() {
        const QVariant note = box_->property(kNote);
        if (!note.isValid())
            return;
        const QString lines = NoteLines(box_, note.toString());
        QTextCursor cursor(box_->document());
        cursor.setPosition(static_cast<int>(lines.size()), QTextCursor::KeepAnchor);
        if (cursor.selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n')) == lines)
            return;
        const QSignalBlocker block(box_);
        box_->document()->setUndoRedoEnabled(false);
        cursor.insertText(lines);
        box_->document()->setUndoRedoEnabled(true);
    }

private:
    QPlainTextEdit* box_;
};

// The text of a box showing bytes that do not fit editing: the lines as far
// as maxBytes, each long one cut, after the note and its line break. `exact`
// is how many characters after the note are the text's own, up to the first
// cut.
QString ExcerptBoxText(std::string_view bytes, size_t maxBytes, const QString& note, int& exact) {
    QString out = note + QLatin1Char('\n');
    const qsizetype noteChars = out.size();
    exact = -1;
    size_t start = 0;
    while (start < bytes.size() && start < maxBytes) {
        size_t end = bytes.find("\r\n", start);
        if (end == std::string_view::npos)
            end = bytes.size();
        const size_t length = std::min(end - start, kExcerptLineBytes);
        out += ToEditableText(bytes.substr(start, length));
        if (length < end - start) {
            if (exact < 0)
                exact = static_cast<int>(out.size() - noteChars);
            out += QChar(0x2026);
        }
        if (end < bytes.size())
            out += QLatin1Char('\n');
        start = end + 2;
    }
    if (exact < 0)
        exact = static_cast<int>(out.size() - noteChars);
    return out;
}

}  // namespace

bool FitsEditing(std::string_view bytes, size_t maxBytes) {
    if (bytes.size() > maxBytes)
        return false;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find("\r\n", start);
        if (end == std::string_view::npos)
            end = bytes.size();
        if (end - start > kMaxEditableLineBytes)
            return false;
        start = end + 2;
    }
    return true;
}

std::string EditableBytes(const QPlainTextEdit* box) {
    const QVariant whole = box->property(kWholeText);
    if (whole.isValid()) {
        const QByteArray bytes = whole.toByteArray();
        return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
    }
    // The raw text: toPlainText would turn a non-breaking space into a blank.
    return FromEditableText(box->document()->toRawText());
}

void SetEditableBytes(QPlainTextEdit* box, std::string_view bytes, size_t maxBytes) {
    const QSignalBlocker block(box);
    const bool fits = FitsEditing(bytes, maxBytes);
    box->setProperty(kWholeText, fits ? QVariant()
                                      : QVariant(QByteArray(bytes.data(),
                                                            static_cast<qsizetype>(bytes.size()))));
    box->setReadOnly(!fits);
    box->setWordWrapMode(!fits || HasLongRun(bytes) ? QTextOption::WrapAnywhere
                                                    : QTextOption::WrapAtWordBoundaryOrAnywhere);
    int exact = 0;
    const QString note = fits ? QString() : ExcerptNote(bytes.size(), maxBytes);
    box->setProperty(kNote, fits ? QVariant() : QVariant(note));
    box->setPlainText(fits ? ToEditableText(bytes)
                           : ExcerptBoxText(bytes, maxBytes, NoteLines(box, note), exact));
    box->setProperty(kExactChars, fits ? QVariant() : QVariant(exact));
    if (!fits && box->findChild<NoteBreaker*>(QStringLiteral("kovaNoteBreaker"),
                                              Qt::FindDirectChildrenOnly) == nullptr)
        new NoteBreaker(box);
}

bool HoldsExcerpt(const QPlainTextEdit* box) {
    return box->property(kWholeText).isValid();
}

ExactSpan ExactPart(const QPlainTextEdit* box) {
    const QVariant whole = box->property(kWholeText);
    if (!whole.isValid())
        return {0, box->document()->characterCount() - 1};
    // The note and its line break.
    const auto note = box->property(kNote).toString().size() + 1;
    return {static_cast<int>(note), box->property(kExactChars).toInt()};
}

QString VisibleText(std::string_view bytes) {
    return ToEditorText(ShownPart(bytes));
}

std::string_view ShownPart(std::string_view bytes) {
    return bytes.substr(0, kMaxShownLineBytes);
}

namespace {

// The item data role in which an item drawn cut keeps its whole bytes.
constexpr int kWholeItemRole = Qt::UserRole + 1;

QVariant WholeItemBytes(std::string_view bytes) {
    if (bytes.size() <= kMaxShownLineBytes)
        return QVariant();
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string BytesOf(const QVariant& whole, const QString& text) {
    if (!whole.isValid())
        return FromQString(text);
    const QByteArray bytes = whole.toByteArray();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

// The bytes `text` stands for among the items of `model`: those of the item in
// row `current` when it shows that text, else of the first item that does;
// the text as typed when none does.
std::string TextBytes(const QAbstractItemModel* model, int current, const QString& text) {
    QModelIndex item = model->index(current, 0);
    if (!item.isValid() || item.data().toString() != text) {
        const QModelIndexList found = model->match(model->index(0, 0), Qt::DisplayRole, text, 1,
                                                   Qt::MatchExactly | Qt::MatchCaseSensitive);
        item = found.isEmpty() ? QModelIndex() : found.first();
    }
    return BytesOf(item.data(kWholeItemRole), text);
}

}  // namespace

void AddShownItem(QListWidget* list, std::string_view bytes) {
    auto* item = new QListWidgetItem(ToQString(ShownPart(bytes)));
    item->setData(kWholeItemRole, WholeItemBytes(bytes));
    list->addItem(item);
}

void AddShownItem(QComboBox* combo, std::string_view bytes) {
    combo->addItem(ToQString(ShownPart(bytes)));
    combo->setItemData(combo->count() - 1, WholeItemBytes(bytes), kWholeItemRole);
}

std::string ItemBytes(const QListWidgetItem* item) {
    return BytesOf(item->data(kWholeItemRole), item->text());
}

std::string ComboBytes(const QComboBox* combo) {
    return TextBytes(combo->model(), combo->currentIndex(), combo->currentText());
}

std::string ListBytes(const QListWidget* list, const QString& text) {
    return TextBytes(list->model(), list->currentRow(), text);
}

void PlaceRangeBoxes(QLabel* label, QLineEdit* from, QLineEdit* to) {
    const QFontMetrics metrics(label->font());
    const QString text = label->text();
    const int blanks = text.indexOf("no.") + 4;
    const int start = label->x() + metrics.horizontalAdvance(text.left(blanks));
    const int end = label->x() + metrics.horizontalAdvance(text.left(text.lastIndexOf("to")));
    const int top = label->y() - (from->height() - label->height()) / 2;
    from->setGeometry(start, top, std::max(end - start - 4, Tw(600)), from->height());
    to->setGeometry(std::max(label->x() + metrics.horizontalAdvance(text) + 6,
                             from->geometry().right() + 4 + metrics.horizontalAdvance("to")),
                    top, Tw(900), to->height());
    label->resize(metrics.horizontalAdvance(text) + 2, label->height());
}
