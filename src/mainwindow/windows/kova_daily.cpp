// The main window's daily work: the File menu and file buttons, navigation by
// buttons, keys, scroll bars and page rows, the edit boxes and the text box,
// the coding lists, Find and the memo editor. The handlers call the core and
// let the window redraw from the model.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <algorithm>
#include <utility>

#include "analyses/output_file.h"
#include "analyses/windows/uitvoer.h"
#include "mainwindow/coding.h"
#include "mainwindow/field_edit.h"
#include "mainwindow/file_commands.h"
#include "mainwindow/find.h"
#include "mainwindow/memo_edit.h"
#include "mainwindow/navigation.h"
#include "mainwindow/record_commands.h"
#include "mainwindow/windows/kova.h"
#include "mainwindow/windows/memo.h"
#include "mainwindow/windows/qt_ui.h"
#include "store/view.h"
#include "widgets/common_dialog.h"
#include "widgets/text_codec.h"
#include "widgets/window_util.h"

namespace {

// Whether `w` or one of its parents is a list or a combo box: the page keys
// then belong to that control.
bool InListOrCombo(QWidget* w) {
    for (; w != nullptr; w = w->parentWidget()) {
        if (qobject_cast<QListWidget*>(w) != nullptr || qobject_cast<QComboBox*>(w) != nullptr)
            return true;
    }
    return false;
}

// Whether a key changes the text of the box it goes to: a character, a line
// break, or a deletion.
bool TypesText(const QKeyEvent* event) {
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete)
        return true;
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = event->text();
    return !text.isEmpty() && (text[0].isPrint() || text[0] == '\r' || text[0] == '\t');
}

// Editor characters of a text held with CR LF line breaks.
int EditorLength(const std::string& text) {
    return static_cast<int>(core::EditorIndex(text, text.size()));
}

}  // namespace

// The key preview: sees the main window's keys before the focused control.
class KovaKeyPreview : public QObject {
public:
    explicit KovaKeyPreview(kova* w) : QObject(w), w_(w) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride)
            return w_->MenuShortcutOverride(watched, static_cast<QKeyEvent*>(event));
        if (event->type() != QEvent::KeyPress)
            return false;
        return w_->Form_KeyDown(watched, static_cast<QKeyEvent*>(event));
    }

private:
    kova* w_;
};

// The mouse on the page rows and the text box.
class KovaPageMouse : public QObject {
public:
    explicit KovaPageMouse(kova* w) : QObject(w), w_(w) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
                return w_->Page_Mouse(watched, static_cast<QMouseEvent*>(event));
            default:
                return false;
        }
    }

private:
    kova* w_;
};

void kova::ConnectDailyControls() {
    dialog_ = std::make_shared<CommonDialog>(this);
    qApp->installEventFilter(new KovaKeyPreview(this));
    auto* events = new KovaPageMouse(this);

    for (const auto& [index, action] : mnuFileItem) {
        int i = index;
        connect(action, &QAction::triggered, this, [this, i] { mnuFileItem_Click(i); });
    }
    connect(CFileInfo, &QPushButton::clicked, this, &kova::CFileInfo_Click);
    connect(CSave, &QPushButton::clicked, this, &kova::CSave_Click);
    connect(CSaveSelection, &QPushButton::clicked, this, &kova::CSaveSelection_Click);
    connect(CSavetable, &QPushButton::clicked, this, &kova::CSavetable_Click);
    connect(Command2, &QPushButton::clicked, this, &kova::Command2_Click);

    connect(CFirst, &QPushButton::clicked, this, &kova::CFirst_Click);
    connect(CLast, &QPushButton::clicked, this, &kova::CLast_Click);
    connect(CPgDn, &QPushButton::clicked, this, &kova::CPgDn_Click);
    connect(CPgUp, &QPushButton::clicked, this, &kova::CPgUp_Click);
    connect(CPgDn2, &QPushButton::clicked, this, &kova::CPgDn_Click);
    connect(CPgUp2, &QPushButton::clicked, this, &kova::CPgUp_Click);
    for (QScrollBar* bar : {Scrollbar, Scrollbar2}) {
        bar->setTracking(false);
        connect(bar, &QScrollBar::valueChanged, this, &kova::Scrollbar_Change);
    }
    for (int k = 0; k < 8; ++k) {
        for (int r = 1; r <= 10; ++r)
            V[k][r]->installEventFilter(events);
    }
    for (int r = 1; r <= 9; ++r)
        Lab[r]->installEventFilter(events);
    Text1->viewport()->installEventFilter(events);

    for (int k = 1; k <= 7; ++k)
        connect(T[k], &QLineEdit::returnPressed, this, [this, k] { T_KeyPress(k); });
    connect(Text1, &QPlainTextEdit::textChanged, this, &kova::Text1_Change);

    for (int k = 4; k <= 7; ++k) {
        L[k]->setSelectionMode(QAbstractItemView::SingleSelection);
        connect(L[k], &QListWidget::itemPressed, this, [this, k] { L_MouseDown(k); });
        connect(L[k], &QListWidget::itemDoubleClicked, this, [this, k] { L_DblClick(k); });
        connect(C[k], &QPushButton::clicked, this, [this, k] { C_Click(k); });
    }

    connect(CFind, &QPushButton::clicked, this, &kova::CFind_Click);
    connect(CFindDown, &QPushButton::clicked, this, &kova::CFindDown_Click);
    connect(CString, &QPushButton::clicked, this, &kova::CString_Click);
    connect(Combo2, &QComboBox::activated, this, &kova::Combo2_Click);
}

// A memo typed into the modeless editor and not yet stored is not thrown
// away by a modal opening: the editor comes forward to be finished first.
bool kova::KeepUnstoredMemo(Memo& memo) {
    if (!memo.HasUnstoredEdit())
        return false;
    memo.raise();
    memo.activateWindow();
    return true;
}

// The program does not end over a memo that is typed but not stored: the
// editor comes forward and the user stores or drops it first.
bool kova::MemoHoldsUnstoredText() {
    if (memo_ == nullptr || !KeepUnstoredMemo(*memo_))
        return false;
    ui_.Message(
        "The memo editor holds text that is not stored. Store it with ok, or close "
        "the editor to drop it, before the program ends.",
        core::kProgramTitle, core::Icon::Exclamation);
    return true;
}

Memo& kova::MemoWindow() {
    if (memo_ == nullptr)
        memo_ = new Memo(s_, ui_, this);
    return *memo_;
}

CommonDialog& kova::FileDialog() {
    return *dialog_;
}

// ---- File menu and file buttons -------------------------------------------

void kova::mnuFileItem_Click(int Index) {
    core::OutputView viewer;
    if (Index == 12 || Index == 15) {
        uitvoer& v = ui_.Viewer();
        viewer.visible = v.isVisible();
        viewer.text = v.TextBytes();
        viewer.endOf = v.EndShownOf();
    }
    switch (Index) {
        case 1:
            core::OpenKovfile(s_, ui_, *dialog_);
            break;
        case 2:
            if (core::SaveKovfile(s_, ui_, *dialog_) && s_.ViewMode == 1)
                RestartAutosaveMinute();
            break;
        case 5:
            if (core::OpenTablefile(s_, ui_, *dialog_)) {
                MainChanged();  // the labels
                RefillCodingLists();
                FillFindVariables();
                CSavetable->setVisible(true);
            }
            break;
        case 6:
            core::SaveTablefile(s_, ui_, *dialog_);
            break;
        case 8:
            core::OpenFilterfile(s_, ui_, *dialog_);
            break;
        case 9:
            core::SaveFilterfile(s_, ui_, *dialog_);
            break;
        case 11:
            if (core::OpenAnafile(s_, *dialog_))
                core::ShowAnalysisFile(s_, ui_);
            break;
        case 12:
            core::SaveAnafile(s_, ui_, *dialog_, viewer);
            break;
        case 14:
            if (core::OpenLstfile(s_, *dialog_))
                core::ShowListingFile(s_, ui_);
            break;
        case 15:
            core::SaveLstfile(s_, ui_, *dialog_, viewer);
            break;
        case 33:
            if (!MemoHoldsUnstoredText() &&
                core::ExitProgram(s_, ui_, *dialog_) == core::ExitDecision::End) {
                EndProgram();
            }
            break;
        default:
            mnuFileImportItem_Click(Index);
            break;
    }
    MainChanged();
}

void kova::CFileInfo_Click() {
    core::MemoTarget target = core::FileInfoTarget(s_);
    if (!target.valid)
        return;
    Memo& memo = MemoWindow();
    if (KeepUnstoredMemo(memo))
        return;
    memo.hide();
    memo.Open(target);
    memo.ShowModal();
}

void kova::CSave_Click() {
    if (core::SaveShownSet(s_, ui_) && s_.ViewMode == 1)
        RestartAutosaveMinute();
    Scrollbar->setFocus();
}

void kova::CSaveSelection_Click() {
    core::SaveSelectionAs(s_, ui_, *dialog_);
}

void kova::CSavetable_Click() {
    core::SaveTableButton(s_, ui_);
}

void kova::Command2_Click() {
    core::CloseShownSet(s_, ui_);
}

// ---- Navigation -------------------------------------------------------------

void kova::CFirst_Click() {
    core::GoFirst(s_, ui_);
    Scrollbar->setFocus();
}

void kova::CLast_Click() {
    core::GoLast(s_, ui_);
    Scrollbar->setFocus();
}

void kova::CPgDn_Click() {
    core::PageDown(s_, ui_);
}

void kova::CPgUp_Click() {
    core::PageUp(s_, ui_);
}

void kova::Scrollbar_Change(int value) {
    core::ScrollbarChange(s_, ui_, value);
}

bool kova::Form_KeyDown(QObject* watched, QKeyEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != this)
        return false;
    // The key reaches the window's filter once per control it passes on its
    // way up; act only on its first stop.
    QWidget* focus = focusWidget();
    if (widget != (focus != nullptr ? focus : this))
        return false;
    const int key = event->key();

    // In every box that takes typing (the text box, the edit boxes, the
    // column headings) Home and End, with Ctrl too, move the caret and never
    // the record.
    const bool typingBox = qobject_cast<QLineEdit*>(watched) != nullptr ||
                           qobject_cast<QPlainTextEdit*>(watched) != nullptr;
    if (typingBox && (key == Qt::Key_Home || key == Qt::Key_End)) {
        // A one-line box leaves Ctrl+Home and Ctrl+End to others: there they
        // go to its start and end as well.
        auto* box = qobject_cast<QLineEdit*>(watched);
        if (box == nullptr || !(event->modifiers() & Qt::ControlModifier))
            return false;
        const bool mark = event->modifiers() & Qt::ShiftModifier;
        key == Qt::Key_Home ? box->home(mark) : box->end(mark);
        return true;
    }
    // In the view of no file nothing may be typed into the record's boxes.
    const bool recordBox =
        watched == Text1 || watched == T[1] || watched == T[2] || watched == T[3];
    if (recordBox && TypesText(event) && core::RefuseEditWithoutFile(s_, ui_))
        return true;

    for (int k = 1; k <= 3; ++k) {
        if (watched == T[k] && T_ArrowKey(k, key))
            return true;
    }
    for (int k = 4; k <= 7; ++k) {
        if (watched == L[k] && L_KeyDown(k, key))
            return true;
    }

    core::NavigationKey nav;
    switch (key) {
        case Qt::Key_Down:
            nav = core::NavigationKey::Down;
            break;
        case Qt::Key_Up:
            nav = core::NavigationKey::Up;
            break;
        case Qt::Key_PageDown:
            nav = core::NavigationKey::PageDown;
            break;
        case Qt::Key_PageUp:
            nav = core::NavigationKey::PageUp;
            break;
        case Qt::Key_End:
            nav = core::NavigationKey::End;
            break;
        case Qt::Key_Home:
            nav = core::NavigationKey::Home;
            break;
        default:
            return false;
    }
    if (InListOrCombo(focus))
        return false;
    core::PressNavigationKey(s_, ui_, nav);
    // A scroll bar with the focus would add its own step as well.
    return focus == Scrollbar || focus == Scrollbar2;
}

bool kova::MenuShortcutOverride(QObject* watched, QKeyEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != this)
        return false;
    const QKeySequence pressed(event->keyCombination());
    for (QAction* action : menuBar()->findChildren<QAction*>()) {
        if (action->shortcut() != pressed || !action->isEnabled())
            continue;
        // Cut, Copy and Paste of the Edit menu work on the text box; any
        // other box keeps its own clipboard keys.
        const bool clipboardItem =
            action == mnuEditItem[0] || action == mnuEditItem[1] || action == mnuEditItem[2];
        if (clipboardItem && widget != Text1)
            return false;
        // Not the box's key: the menu's shortcut runs.
        event->ignore();
        return true;
    }
    return false;
}

bool kova::Page_Mouse(QObject* watched, QMouseEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == Text1->viewport()) {
        if (type == QEvent::MouseButtonRelease)
            Text1_MouseUp(event->button());
        return false;
    }
    for (int r = 1; r <= 9; ++r) {
        if (watched == Lab[r]) {
            if (type == QEvent::MouseButtonPress)
                Lab_MouseDown(event->button(), r);
            return false;
        }
    }
    for (int k = 0; k < 8; ++k) {
        for (int r = 1; r <= 10; ++r) {
            if (watched != V[k][r])
                continue;
            if (type == QEvent::MouseButtonRelease && event->button() == Qt::LeftButton) {
                // The release that ends a double click is no click of its
                // own: the first click has moved the page already, and the
                // row under the mouse now shows another record.
                if (std::exchange(doubleClickPending_, false))
                    return false;
                V_Click(k, r);
            } else if (type == QEvent::MouseButtonDblClick) {
                doubleClickPending_ = event->button() == Qt::LeftButton;
                V_DblClick(k, r);
            } else if (type == QEvent::MouseButtonPress) {
                doubleClickPending_ = false;
            }
            return false;
        }
    }
    return false;
}

void kova::V_Click(int k, int r) {
    (void)k;
    core::RowClick(s_, ui_, r, false);
}

void kova::V_DblClick(int k, int r) {
    if (r == s_.DisplayRows)
        core::ClearCurrentField(s_, ui_, k);
}

void kova::Lab_MouseDown(Qt::MouseButton button, int r) {
    if (button != Qt::RightButton) {
        core::RowClick(s_, ui_, r, true);
        return;
    }
    core::MemoTarget target = core::MemoTargetForRow(s_, r);
    if (!target.valid)
        return;
    Memo& memo = MemoWindow();
    if (memo.isModal() && memo.isVisible())
        return;
    memo.Open(target);
    s_.MemoRecord = static_cast<int16_t>(r);
    QPoint corner = Lab[r]->mapToGlobal(QPoint(Lab[r]->width(), Lab[r]->height()));
    memo.move(corner.x() - memo.frameGeometry().width(), corner.y());
    memo.ShowModeless();
}

// ---- Edit boxes and the text box -------------------------------------------

bool kova::T_ArrowKey(int k, int key) {
    // The arrow keys at the ends of the text pass the focus along T1, T2, T3,
    // L4; every character, "%" and "'" included, is typed as usual.
    QLineEdit* box = T[k];
    if (key == Qt::Key_Left && box->cursorPosition() == 0 && !box->hasSelectedText()) {
        if (k > 1)
            T[k - 1]->setFocus();
        return k > 1;
    }
    if (key == Qt::Key_Right && box->cursorPosition() == box->text().size() &&
        !box->hasSelectedText()) {
        if (k < 3)
            T[k + 1]->setFocus();
        else
            L[4]->setFocus();
        return true;
    }
    return false;
}

void kova::T_KeyPress(int k) {
    if (k <= 3) {
        if (core::StoreEditBox(s_, ui_, k, FromQString(T[k]->text())))
            T[k]->clear();
        return;
    }
    // A category box: toggle the typed category in its list.
    std::string typed = FromQString(T[k]->text());
    if (!core::CheckTableText(ui_, typed))
        return;  // the box keeps the text to mend
    T[k]->clear();
    T[k]->hide();
    C[k]->show();
    core::ToggleCategory(s_, ui_, k, typed);
    RefillCodingLists();
}

void kova::Text1_Change() {
    if (core::StoreText1(s_, ui_, EditableBytes(Text1)))
        return;
    // Refused: the box shows the record's text again, the caret where it was
    // before the text that was not taken.
    const int length = Text1->document()->characterCount();
    const int caret = Text1->textCursor().position();
    SetEditableBytes(Text1, s_.Main.text1Record);
    QTextCursor cursor = Text1->textCursor();
    const int shown = Text1->document()->characterCount();
    cursor.setPosition(std::clamp(caret - (length - shown), 0, shown - 1));
    Text1->setTextCursor(cursor);
}

void kova::Text1_MouseUp(Qt::MouseButton button) {
    if (button != Qt::RightButton || s_.DataFileName1.empty())
        return;
    core::MemoTarget target = core::MemoTargetForCurrent(s_);
    if (!target.valid)
        return;
    Memo& memo = MemoWindow();
    if ((memo.isModal() && memo.isVisible()) || KeepUnstoredMemo(memo))
        return;
    memo.hide();
    memo.Open(target);
    s_.MemoRecord = s_.DisplayRows;
    QPoint corner = Text1->mapToGlobal(QPoint(Text1->width(), Lab[9]->height()));
    memo.move(corner.x() - memo.frameGeometry().width(), corner.y());
    memo.ShowModal();
}

// ---- Coding lists -------------------------------------------------------------

std::string kova::ListText(int k) const {
    QList<QListWidgetItem*> items = L[k]->selectedItems();
    return items.isEmpty() ? std::string() : ItemBytes(items.first());
}

void kova::RefillCodingLists() {
    for (int k = 4; k <= 7; ++k) {
        L[k]->clear();
        for (const std::string& category : s_.CategoryLists[k])
            AddShownItem(L[k], category);
    }
}

void kova::L_MouseDown(int k) {
    core::WriteCode(s_, ui_, k, ListText(k));
}

void kova::L_DblClick(int k) {
    if (core::WriteCode(s_, ui_, k, ListText(k)))
        core::AdvanceRecord(s_, ui_);
}

bool kova::L_KeyDown(int k, int key) {
    switch (key) {
        case Qt::Key_Left:
        case Qt::Key_Right:
            L[k]->clearSelection();
            L[k]->setCurrentItem(nullptr);
            if (key == Qt::Key_Left)
                (k == 4 ? static_cast<QWidget*>(T[3]) : L[k - 1])->setFocus();
            else
                (k == 7 ? static_cast<QWidget*>(Text1) : L[k + 1])->setFocus();
            return true;
        case Qt::Key_Delete:
            core::ClearCode(s_, ui_, k);
            return true;
        case Qt::Key_Space:
            core::WriteCode(s_, ui_, k, ListText(k));
            if (k == 7) {
                core::AdvanceRecord(s_, ui_);
                L[4]->setFocus();
            } else {
                L[k + 1]->setFocus();
            }
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            core::AdvanceRecord(s_, ui_);
            return true;
        default:
            return false;
    }
}

void kova::C_Click(int k) {
    C[k]->hide();
    T[k]->move(C[k]->pos());
    T[k]->show();
    T[k]->setFocus();
}

// ---- Find ---------------------------------------------------------------------

void kova::RefillFindTexts() {
    QString text = Combo1->currentText();
    const QSignalBlocker block(Combo1);
    Combo1->clear();
    for (const std::string& item : s_.FindTexts)
        AddShownItem(Combo1, item);
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(text);
}

void kova::CFind_Click() {
    std::string text = ComboBytes(Combo1);
    // The first entry whose text equals the combo's text names the variable.
    int variable =
        Combo2->findText(Combo2->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    core::FindResult hit = core::FindStep(s_, ui_, text, variable);
    RefillFindTexts();
    if (!hit.hit)
        return;
    if (variable == 8 && s_.FindMode == 1) {
        // The offset counts in the text as shown trimmed; a box that still
        // holds the record's text as typed has its leading blanks as well.
        const std::string inBox = EditableBytes(Text1);
        size_t offset = hit.offset;
        if (inBox != s_.Main.text1 && inBox == s_.Main.text1Record)
            offset += std::min(inBox.find_first_not_of(' '), inBox.size());
        // A box showing an excerpt selects as much of the hit as it shows.
        const ExactSpan exact = ExactPart(Text1);
        const auto start = std::min<size_t>(core::EditorIndex(inBox, offset), exact.length);
        const auto end = std::min<size_t>(start + EditorLength(s_.LastFindText), exact.length);
        QTextCursor cursor = Text1->textCursor();
        cursor.setPosition(exact.start + static_cast<int>(start));
        cursor.setPosition(exact.start + static_cast<int>(end), QTextCursor::KeepAnchor);
        Text1->setFocus();
        Text1->setTextCursor(cursor);
    } else if (variable == core::kFindMemo) {
        core::MemoTarget target = core::MemoTargetForCurrent(s_);
        Memo& memo = MemoWindow();
        if (!target.valid || (memo.isModal() && memo.isVisible()))
            return;
        memo.Open(target);
        s_.MemoRecord = s_.DisplayRows;
        QPoint corner = Lab[6]->mapToGlobal(QPoint(Lab[6]->width(), Lab[6]->height() + 100 / 15));
        memo.move(corner.x() - memo.frameGeometry().width(), corner.y());
        memo.ShowModeless();
        if (s_.FindMode == 1) {
            std::string memoText = core::MemoTargetText(s_, target);
            memo.SelectText(static_cast<int>(core::EditorIndex(memoText, hit.offset)),
                            EditorLength(s_.LastFindText));
        }
    }
}

void kova::CFindDown_Click() {
    CFindDown->setText(ToQString(core::ToggleFindDirection(s_)));
}

void kova::CString_Click() {
    core::ToggleFindMode(s_, ui_);
}

void kova::Combo2_Click(int index) {
    core::AddCategoriesToFindTexts(s_, index);
    RefillFindTexts();
}
