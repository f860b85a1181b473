// The main window's record buttons and Edit menu: adding, cutting, copying,
// pasting, joining and splitting records, the text clipboard of the text box,
// swap and delete coding, and the table editor.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <algorithm>

#include "mainwindow/find.h"
#include "mainwindow/record_commands.h"
#include "mainwindow/windows/kova.h"
#include "mainwindow/windows/qt_ui.h"
#include "mainwindow/windows/record_dialogs.h"
#include "store/text.h"
#include "widgets/text_box.h"
#include "widgets/text_codec.h"
#include "widgets/window_util.h"

namespace {

// The Edit menu's Cut, Copy and Paste act on the text box even while it has
// the focus: its own clipboard keys must not take them over.
class TextClipboardKeys : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ShortcutOverride)
            return QObject::eventFilter(watched, event);
        auto* key = static_cast<QKeyEvent*>(event);
        return key->matches(QKeySequence::Cut) || key->matches(QKeySequence::Copy) ||
               key->matches(QKeySequence::Paste);
    }
};

// A selection's paragraph separators are line breaks.
QString SelectedText(const QTextCursor& cursor) {
    QString text = cursor.selectedText();
    text.replace(QChar::ParagraphSeparator, '\n');
    text.replace(QChar::LineSeparator, '\n');
    return text;
}

}  // namespace

void kova::ConnectEditControls() {
    connect(CAdd, &QPushButton::clicked, this, &kova::CAdd_Click);
    connect(CJoin, &QPushButton::clicked, this, &kova::CJoin_Click);
    connect(CSplit, &QPushButton::clicked, this, &kova::CSplit_Click);
    connect(CInsrt, &QPushButton::clicked, this, &kova::CInsrt_Click);
    connect(CDelete, &QPushButton::clicked, this, &kova::CDelete_Click);
    connect(CCopy, &QPushButton::clicked, this, &kova::CCopy_Click);

    connect(mnuEdit, &QMenu::aboutToShow, this, &kova::mnuEdit_Click);
    for (const auto& [index, action] : mnuEditItem) {
        int i = index;
        connect(action, &QAction::triggered, this, [this, i] { mnuEditItem_Click(i); });
    }
    // Opening a submenu relabels it, as a click on its parent item does.
    connect(mnuEditItem[10]->menu(), &QMenu::aboutToShow, this, [this] { mnuEditItem_Click(10); });
    connect(mnuEditItem[13]->menu(), &QMenu::aboutToShow, this, [this] { mnuEditItem_Click(13); });
    for (const auto& [index, action] : mnuSwapVar) {
        int i = index;
        connect(action, &QAction::triggered, this, [this, i] { mnuSwapVar_Click(i); });
    }
    for (const auto& [index, action] : mnuDeleteVar) {
        int i = index;
        connect(action, &QAction::triggered, this, [this, i] { mnuDeleteVar_Click(i); });
    }
    for (const auto& [index, action] : mnuTableEdit) {
        int i = index;
        connect(action, &QAction::triggered, this, [this, i] { mnuTableEdit_Click(i); });
    }
    Text1->installEventFilter(new TextClipboardKeys(this));
}

// ---- Record buttons -------------------------------------------------------------

void kova::CAdd_Click() {
    core::AddButton(s_, ui_);
    Scrollbar->setFocus();
}

void kova::CJoin_Click() {
    core::JoinButton(s_, ui_);
    Scrollbar->setFocus();
}

void kova::CSplit_Click() {
    // The caret in editor characters, counted over the text as it is stored:
    // the box shows the text without its leading blanks.
    // In an excerpt, only where it shows the text's own characters.
    const QString raw = Text1->document()->toRawText();
    const ExactSpan exact = ExactPart(Text1);
    const int caret = std::clamp(Text1->textCursor().position() - exact.start, 0, exact.length);
    std::string bytes = FromEditableText(raw.mid(exact.start, caret));
    const core::MainWindowModel& m = s_.Main;
    if (m.text1Record != m.text1 && EditableBytes(Text1) == m.text1)
        bytes.insert(0, m.text1Record.size() - core::TrimLeft(m.text1Record).size(), ' ');
    core::SplitButton(s_, ui_, core::EditorIndex(bytes, bytes.size()));
}

void kova::CInsrt_Click() {
    core::PasteButton(s_, ui_);
}

void kova::CDelete_Click() {
    if (s_.ViewMode >= 1 && s_.ViewMode <= 3 && !core::ShownSelection(s_)) {
        delask dialog(this, s_, ui_);
        dialog.exec();
    }
    Scrollbar->setFocus();
}

void kova::CCopy_Click() {
    if (s_.ViewMode < 1 || s_.ViewMode > 3)
        return;
    copyask dialog(this, s_, ui_);
    dialog.exec();
}

// ---- Edit menu --------------------------------------------------------------------

void kova::mnuEdit_Click() {
    for (int k = 1; k <= 8; ++k)
        mnuDeleteVar[k]->setText(ToCaptionText(ShownPart(s_.Varnaam[k])));
    // Cutting or pasting records inside a shown selection would write other
    // records of the full set over when the selection goes back.
    const bool wholeSet = !core::ShownSelection(s_);
    mnuEditItem[4]->setEnabled(wholeSet);
    mnuEditItem[6]->setEnabled(wholeSet);
}

void kova::mnuEditItem_Click(int Index) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    QTextCursor cursor = Text1->textCursor();
    // Cut and Paste change the text box, which holds no record in the view of
    // no file.
    if ((Index == 0 || Index == 2) && core::RefuseEditWithoutFile(s_, ui_))
        return;
    // A text too long to edit shows cut, read-only: Cut copies, Paste does nothing.
    if (Index == 2 && Text1->isReadOnly())
        return;
    switch (Index) {
        case 0:
            clipboard->clear();
            if (cursor.hasSelection()) {
                clipboard->setText(SelectedText(cursor));
                if (!Text1->isReadOnly()) {
                    cursor.removeSelectedText();
                    Text1->setTextCursor(cursor);
                }
            }
            break;
        case 1:
            clipboard->clear();
            if (cursor.hasSelection())
                clipboard->setText(SelectedText(cursor));
            break;
        case 2: {
            QString text = clipboard->text();
            if (!MayPaste(*Text1, text))
                break;
            text.replace("\r\n", "\n");
            text.replace('\r', '\n');
            cursor.insertText(text);
            Text1->setTextCursor(cursor);
            break;
        }
        case 4:
            CDelete_Click();
            break;
        case 5:
            CCopy_Click();
            break;
        case 6:
            CInsrt_Click();
            break;
        case 8:
            core::UpdateSequencer(s_, ui_);
            break;
        case 10:
            for (int k = 1; k <= 8; ++k)
                mnuSwapVar[k]->setText(ToCaptionText(ShownPart(s_.Varnaam[k])));
            break;
        case 13:
            for (int k = 4; k <= 7; ++k)
                mnuTableEdit[k]->setText(ToCaptionText(ShownPart(s_.Varnaam[k])));
            break;
        default:
            break;
    }
}

void kova::mnuSwapVar_Click(int Index) {
    core::SwapCoding(s_, ui_, Index, [&] {
        swapcodingask dialog(this, s_, Index);
        dialog.exec();
    });
}

void kova::mnuDeleteVar_Click(int Index) {
    core::DeleteCoding(s_, ui_, Index, [&] {
        delcodingask dialog(this, s_, Index);
        dialog.exec();
    });
}

void kova::mnuTableEdit_Click(int Index) {
    core::EditTable(s_, Index, [&] {
        tabeledit dialog(this, s_, ui_, core::TableEditCaption(s_, Index));
        dialog.exec();
    });
    MainChanged();  // the labels
    RefillCodingLists();
}
