#include "analyses/windows/uitvoer.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "analyses/report_frame.h"
#include "store/file_access.h"
#include "store/open_files.h"
#include "widgets/text_box.h"
#include "widgets/text_codec.h"
#include "widgets/text_printer.h"
#include "widgets/window_util.h"

namespace {

// Only its lines bound what the viewer edits: a report file may be large.
constexpr size_t kAnySize = std::numeric_limits<size_t>::max();

}  // namespace

uitvoer::uitvoer(core::KovaState& s, core::KovaUi& ui, QWidget* parent)
    : QDialog(parent), s_(s), ui_(ui) {
    setObjectName("uitvoer");
    setModal(false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    resize(Tw(11400), Tw(7800));

    LNote = new QLabel(this);
    LNote->setObjectName("LNote");
    LNote->setWordWrap(true);
    LNote->setTextInteractionFlags(Qt::TextSelectableByMouse);
    LNote->hide();

    Tekst = new TextBox(this);
    Tekst->setObjectName("Tekst");
    Tekst->setLineWrapMode(QPlainTextEdit::NoWrap);
    Tekst->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    CSave = new QPushButton("Save", this);
    CSave->setObjectName("CSave");
    CPrint = new QPushButton("Print", this);
    CPrint->setObjectName("CPrint");
    COkee = new QPushButton("OK", this);
    COkee->setObjectName("COkee");
    for (QPushButton* b : {CSave, CPrint, COkee}) {
        b->setAutoDefault(false);
        b->setFixedSize(Tw(1200), Tw(375));
    }

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CSave);
    buttons->addWidget(CPrint);
    buttons->addStretch();
    buttons->addWidget(COkee);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LNote);
    layout->addWidget(Tekst);
    layout->addLayout(buttons);

    // The widest reports run to kReportColumns columns: the viewer is wide
    // enough to show them whole beside its vertical scroll bar, as far as the
    // screen allows.
    const int lineWidth =
        Tekst->fontMetrics().horizontalAdvance(QString(core::kReportColumns, QLatin1Char('0'))) +
        Tekst->cursorWidth();
    const QMargins margins = layout->contentsMargins();
    int width = lineWidth + 2 * static_cast<int>(Tekst->document()->documentMargin()) +
                2 * Tekst->frameWidth() + Tekst->verticalScrollBar()->sizeHint().width() +
                margins.left() + margins.right();
    if (const QScreen* screen = this->screen())
        width = std::min(width, screen->availableGeometry().width());
    resize(std::max(this->width(), width), height());

    connect(CSave, &QPushButton::clicked, this, &uitvoer::CSave_Click);
    connect(CPrint, &QPushButton::clicked, this, &uitvoer::CPrint_Click);
    connect(COkee, &QPushButton::clicked, this, &uitvoer::COkee_Click);
    CentreOnScreen(this);
}

void uitvoer::ShowText(const std::string& caption, const std::string& text) {
    // The analysis file mostly comes back with a block added at its end, and
    // reloading a large file into the editor takes long: when the document is
    // still exactly what was last shown (not edited since), only the new tail
    // is added. A shown text ending in CR could pair with an LF in the tail,
    // so that one is reloaded whole.
    QTextDocument* doc = Tekst->document();
    const bool extends = doc->revision() == shownRevision_ && !shown_.empty() &&
                         !HoldsExcerpt(Tekst) && FitsEditing(text, kAnySize) &&
                         shown_.back() != '\r' && text.size() >= shown_.size() &&
                         text.compare(0, shown_.size(), shown_) == 0;
    if (!extends) {
        SetEditableBytes(Tekst, text, kAnySize);
    } else if (text.size() > shown_.size()) {
        // Like a reload, the append leaves nothing to undo.
        doc->setUndoRedoEnabled(false);
        QTextCursor end(doc);
        end.movePosition(QTextCursor::End);
        end.insertText(ToEditableText(std::string_view(text).substr(shown_.size())));
        doc->setUndoRedoEnabled(true);
    }
    shown_ = text;
    endOf_.clear();
    LNote->hide();
    CSave->setEnabled(true);
    Present(caption);
}

void uitvoer::ShowEnd(const std::string& caption, const std::string& tail,
                      const std::string& fileName, uintmax_t fileBytes) {
    SetEditableBytes(Tekst, tail, kAnySize);
    Tekst->setReadOnly(true);
    // The next whole text is loaded anew.
    shown_.clear();
    endOf_ = fileName;
    LNote->setText(QStringLiteral("This file holds %L1 bytes, more than the viewer shows: only its "
                                  "end is shown, read-only; its first %L2 bytes are not shown.")
                       .arg(static_cast<qulonglong>(fileBytes))
                       .arg(static_cast<qulonglong>(fileBytes - tail.size())));
    LNote->show();
    // Save would write the part shown over the whole file.
    CSave->setEnabled(false);
    Present(caption);
}

void uitvoer::Present(const std::string& caption) {
    setWindowTitle(ToQString(caption));
    QTextDocument* doc = Tekst->document();
    doc->setModified(false);
    shownRevision_ = doc->revision();
    Tekst->moveCursor(QTextCursor::End);
    show();
    // Also when it was open already: a modal transition diagram closed in
    // the run hands the focus back to the window under it, which would
    // otherwise cover the report.
    raise();
    activateWindow();
}

std::string uitvoer::TextBytes() const {
    return EditableBytes(Tekst);
}

// Writes the viewer's text back over the file it shows; never a file's end
// alone.
void uitvoer::CSave_Click() {
    if (!endOf_.empty())
        return;
    std::string name;
    if (s_.OutputKind == "ana")
        name = s_.AnalysisFileName;
    else if (s_.OutputKind == "lst")
        name = s_.ListingFileName;
    if (name.empty())
        return;
    const bool ana = s_.OutputKind == "ana";
    core::KnownFile& known = ana ? s_.AnalysisFileKnown : s_.ListingFileKnown;
    if (!core::MayWriteFile(s_, ui_, name, {.keepsBackup = false}) ||
        !core::ConfirmReplacingChangedFile(ui_, known, name, "the text",
                                           ana ? "Save Anafile" : "Save Lstfile"))
        return;
    if (core::ReplaceFile(name, TextBytes()))
        ui_.Message("The output file could not be written:\r\n" + name, "Error",
                    core::Icon::Critical);
    else
        known = core::KnowFile(name);
}

void uitvoer::CPrint_Click() {
    PrintText(this, Tekst);
}

// Hides the viewer and gives the main window its "Show output" button back.
void uitvoer::COkee_Click() {
    hide();
    s_.Main.CAnaf.visible = true;
    ui_.MainChanged();
}

void uitvoer::reject() {
    COkee_Click();
}
