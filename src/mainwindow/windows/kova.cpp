#include "mainwindow/windows/kova.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include "analyses/output_file.h"
#include "analyses/windows/listingoptions.h"
#include "analyses/windows/uitvoer.h"
#include "filters/windows/selection_menu.h"
#include "mainwindow/coding.h"
#include "mainwindow/file_commands.h"
#include "mainwindow/windows/gridtry.h"
#include "mainwindow/windows/memo.h"
#include "mainwindow/windows/qt_ui.h"
#include "mainwindow/windows/splash.h"
#include "store/file_access.h"
#include "store/open_save.h"
#include "store/text.h"
#include "store/view.h"
#include "widgets/common_dialog.h"
#include "widgets/text_codec.h"
#include "widgets/window_util.h"

namespace {

void SetText(QLabel* label, const std::string& bytes) {
    QString text = VisibleText(bytes);
    if (label->text() != text)
        label->setText(text);
}

void SetButton(QPushButton* button, const core::ControlState& state) {
    QString caption = ToQString(state.caption);
    if (button->text() != caption)
        button->setText(caption);
    button->setVisible(state.visible);
    button->setEnabled(state.enabled);
}

void SetLabel(QLabel* label, const core::ControlState& state) {
    SetText(label, state.caption);
    label->setVisible(state.visible);
    label->setEnabled(state.enabled);
}

// A heading edits its label while the label fits the box; a longer one (a
// table file may bring megabytes) shows cut and read-only, kept whole.
void SetHeading(QLineEdit* box, std::string_view label) {
    const QString text = ToQString(ShownPart(label));
    const bool cut = label.size() > kMaxShownLineBytes;
    if (box->text() != text) {
        box->setText(text);
        if (cut)
            box->setCursorPosition(0);  // its start in sight, not where it was cut
    }
    box->setReadOnly(cut);
}

// The scroll bars hold the shown set's current position; drawing them from
// the model must not run their change handlers again.
void SetScrollBar(QScrollBar* bar, const core::MainWindowModel& m) {
    const QSignalBlocker block(bar);
    if (!m.scrollEnabled || m.scrollMax < m.scrollMin) {
        bar->setRange(0, 0);
        bar->setValue(0);
        bar->setEnabled(false);
        return;
    }
    bar->setRange(m.scrollMin, m.scrollMax);
    bar->setValue(m.scrollValue);
    bar->setEnabled(true);
}

}  // namespace

kova::kova(core::KovaState& s, QtUi& ui, QWidget* parent) : QMainWindow(parent), s_(s), ui_(ui) {
    setObjectName("kova");
    showSplash = qEnvironmentVariable("KOVA_NO_SPLASH") != "1";
    quitHook = [] { QCoreApplication::quit(); };
    CreateMenus();
    selectionMenu = new SelectionMenu(s_, ui_, this);
    selectionMenu->Connect(mnuSelectionItem, mnuSelectItem, mnuAndSelectItem, mnuSelectItemEpi,
                           mnuAndSelectItemEpi);
    CreateControls();
    for (int k = 0; k < 10; ++k) {
        connect(Varnaam[k], &QLineEdit::textEdited, this, [this, k](const QString& text) {
            std::string label = FromQString(text);
            // A label the table file cannot hold is refused as it is typed.
            if (!core::CheckTableText(ui_, label)) {
                SetHeading(Varnaam[k], s_.Varnaam[k]);
                return;
            }
            s_.Varnaam[k] = std::move(label);
            s_.TableChanged = true;
        });
    }
    connect(CBack, &QPushButton::clicked, this, &kova::CBack_Click);
    ConnectDailyControls();
    ConnectEditControls();
    ConnectImportControls();
    connect(CAnaf, &QPushButton::clicked, this, &kova::CAnaf_Click);
    connect(diag, &QPushButton::clicked, this, &kova::diag_Click);
    connect(CRunfilter, &QPushButton::clicked, this, &kova::CRunfilter_Click);
    connect(Command1, &QPushButton::clicked, this, &kova::Command1_Click);
    connect(CPrint, &QPushButton::clicked, this, &kova::CPrint_Click);
    resize(DesignInnerSize() + QSize(0, menuBar()->sizeHint().height()));
    ui_.AttachMainWindow(this, [this] { MainChanged(); });
    MainChanged();
}

kova::~kova() {
    delete grid_;
}

std::string kova::JoinCommandLine(int argc, char** argv) {
    // The system hands the arguments over in its own encoding.
    QString line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            line += ' ';
        line += QString::fromLocal8Bit(argv[i]);
    }
    return CommonDialog::ProgramFileName(nullptr, line).value_or(std::string());
}

void kova::Form_Load(const std::string& commandLine) {
    CentreOnScreen(this);
    s_.DisplayRows = 10;
    ui_.Viewer();  // the output viewer is loaded hidden
    show();
    // Kept absolute from here on: the name means the same file whatever the
    // working folder becomes, and an open file is recognised by any name.
    const std::string named = core::ReplaceAll(commandLine, "\"", "");
    s_.DataFileName1 = core::AbsoluteFileName(named);
    if (!named.empty() && s_.DataFileName1.empty())
        ui_.Message("The file \"" + named +
                        "\" cannot be opened: the name of the folder KOVA was started in holds a "
                        "character that KOVA cannot use in a file name.",
                    core::kProgramTitle, core::Icon::Exclamation);
    s_.Main.title = "KOVA " + s_.DataFileName1;
    MainChanged();
    s_.ActiveWindowName = "kova";
    s_.MainFormActive = true;
    s_.ViewMode = 0;
    if (showSplash)
        mnuAbout_Click();
    if (ended_)
        return;
    if (!s_.DataFileName1.empty()) {
        std::string name = s_.DataFileName1;
        if (!core::OpenDataFile(s_, ui_, name)) {
            // The file could not be read (the message has been shown): no
            // data set 1 is open, so nothing can later be shown, saved over
            // the damaged file or asked about under its name.
            s_.DataFileName1.clear();
            s_.Main.title = "KOVA ";
            MainChanged();
        }
    } else {
        QDir::setCurrent(QCoreApplication::applicationDirPath());
    }
    FillFindVariables();
}

void kova::FillFindVariables() {
    Combo2->clear();
    for (int k = 0; k <= 8; ++k)
        Combo2->addItem(Varnaam[k]->text());
    Combo2->addItem("Memo");
    Combo2->setCurrentIndex(8);
}

void kova::Form_Activate() {
    if (s_.MainFormActive)
        RedrawShownPage();
}

void kova::RedrawShownPage() {
    // The wait window lets the window system run while a long loop works;
    // a set that is being read or rewritten is not drawn then.
    if (ended_ || ui_.WaitVisible())
        return;
    switch (s_.ViewMode) {
        case 1:
            core::RefreshRecordList1(s_, ui_, s_.CurrentRecord1);
            break;
        case 2:
            core::RefreshRecordList2(s_, ui_, s_.CurrentRecord2);
            break;
        case 3:
            core::RefreshRecordList2(s_, ui_, s_.CurrentFilterLine);
            break;
        default:
            break;
    }
}

bool kova::Form_QueryUnload(int16_t UnloadMode) {
    if (MemoHoldsUnstoredText())
        return false;
    if (core::ExitProgram(s_, ui_, *dialog_) != core::ExitDecision::End)
        return false;
    QuitProgram(UnloadMode);
    return true;
}

void kova::QuitProgram(int16_t& UnloadMode) {
    if (UnloadMode != 0 && UnloadMode != 3)
        return;
    if (splash_ != nullptr)
        splash_->reject();
    EndProgram();
}

void kova::EndProgram() {
    ended_ = true;
    // Every window of the program goes off the screen at once, the modeless
    // ones (result table, output viewer, memo editor) with the main window.
    for (QWidget* top : QApplication::topLevelWidgets())
        top->hide();
    quitHook();
}

void kova::closeEvent(QCloseEvent* event) {
    // The window system does not tell the close box from the task manager:
    // every close from outside counts as one from the control menu.
    if (ended_ || Form_QueryUnload(0))
        event->accept();
    else
        event->ignore();
}

void kova::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow())
        return;
    // The window system may activate this window before the grid hears that
    // it lost the front: this window being active is enough to know.
    s_.MainFormActive = true;
    Form_Activate();
}

void kova::CBack_Click() {
    const bool data1Open = !s_.DataFileName1.empty();
    if (data1Open && (s_.ViewMode == 3 || s_.ViewMode == 2)) {
        core::ShowDataMode(s_, ui_);
    } else if (s_.ViewMode == 0 || s_.ViewMode == 1) {
        if (!s_.DataFileName2.empty())
            core::ShowData2Mode(s_, ui_);
        else if (!s_.FilterFileName.empty())
            core::ShowFilterMode(s_, ui_);
    }
}

void kova::CAnaf_Click() {
    core::ShowLastOutputFile(s_, ui_);
}

void kova::Command1_Click() {
    if (s_.ViewMode == 0)
        return;
    if (grid_ != nullptr && (static_cast<int16_t>(grid_->Grid().Layout()) != s_.ViewMode ||
                             grid_->Grid().SecondSetReplaced(s_))) {
        // Open on another set than the one shown (the filter lines, say, while
        // the page shows the data, or a data set 2 since replaced): what is
        // typed next is meant for the shown set, so the grid makes way for
        // that set's grid.
        grid_->close();
        grid_ = nullptr;
    }
    if (grid_ != nullptr) {
        // Open already: only brought to the front, with its rows as they are.
        s_.ActiveWindowName = "grid";
        grid_->show();
        grid_->raise();
        grid_->activateWindow();
        return;
    }
    std::optional<core::GridModel> grid = core::GridModel::Open(s_);
    if (!grid)
        return;
    s_.ActiveWindowName = "grid";
    grid_ = new gridtry(
        s_, ui_, std::move(*grid),
        [this](const core::MemoTarget& target, QPoint at) -> Memo* {
            Memo& memo = MemoWindow();
            if ((memo.isModal() && memo.isVisible()) || KeepUnstoredMemo(memo))
                return nullptr;
            memo.Open(target);
            memo.move(at);
            memo.ShowModeless();
            return &memo;
        },
        this);
    // The grid stores a box's text when the box loses the focus, which can
    // come after this window's activation: the page follows every edit.
    connect(grid_, &gridtry::Edited, this, &kova::RedrawShownPage);
    grid_->show();
    grid_->raise();
    grid_->activateWindow();
}

gridtry* kova::GridWindow() const {
    return grid_;
}

void kova::CPrint_Click() {
    ListDataClick(this, s_, ui_);
}

void kova::mnuAbout_Click() {
    splash window(this);
    splash_ = &window;
    window.exec();
    splash_ = nullptr;
}

void kova::MainChanged() {
    const core::MainWindowModel& m = s_.Main;
    QString title = ToQString(m.title);
    if (windowTitle() != title)
        setWindowTitle(title);
    if (Page->palette().color(QPalette::Window) != ToQColor(m.background))
        SetBackground(Page, ToQColor(m.background), true);

    for (int k = 0; k < 10; ++k)
        SetHeading(Varnaam[k], s_.Varnaam[k]);
    for (int r = 1; r <= 10; ++r) {
        const core::PageRow& row = m.rows[r];
        for (int k = 0; k < 8; ++k)
            SetText(V[k][r], row.v[k]);
        if (r <= 9) {
            SetText(Lab[r], row.lab);
            if (Lab[r]->palette().color(QPalette::Window) != ToQColor(row.labColour))
                SetBackground(Lab[r], ToQColor(row.labColour));
        }
    }
    // Set the text box only when it holds neither the text shown for the
    // current record nor that record's text as stored, so that a redraw (the
    // window coming back to the front among them) leaves what is typed and
    // the caret alone.
    const std::string inBox = EditableBytes(Text1);
    const bool holdsRecord =
        inBox == m.text1Record && core::Trim(m.text1Record) == core::Trim(m.text1);
    if (inBox != m.text1 && !holdsRecord)
        SetEditableBytes(Text1, m.text1);
    if (Text1->palette().color(QPalette::Base) != ToQColor(m.text1Colour))
        SetBackground(Text1, ToQColor(m.text1Colour));

    SetScrollBar(Scrollbar, m);
    SetScrollBar(Scrollbar2, m);

    SetButton(CSave, m.CSave);
    SetButton(CPrint, m.CPrint);
    SetButton(CFileInfo, m.CFileInfo);
    SetButton(CRunfilter, m.CRunfilter);
    SetButton(CBack, m.CBack);
    SetButton(CAnaf, m.CAnaf);
    SetButton(CSaveSelection, m.CSaveSelection);
    SetButton(CDelete, m.CDelete);
    SetButton(CCopy, m.CCopy);
    SetButton(CInsrt, m.CInsrt);
    SetButton(CAdd, m.CAdd);
    SetButton(CJoin, m.CJoin);
    SetButton(CSplit, m.CSplit);
    SetButton(CString, m.CString);
    SetLabel(SelLabel[0], m.SelLabel[0]);
    SetLabel(SelLabel[1], m.SelLabel[1]);
    SetLabel(Teller, m.Teller);
    SetLabel(Teller2, m.Teller2);
}

// The meta-object code goes with this file, so that linking another window
// does not pull the main window in.
#include "moc_kova.cpp"
