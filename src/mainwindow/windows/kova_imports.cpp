// The main window's File menu items that bring records in from other files,
// the automatic save option with the minute timer, and Help.
#include <QAction>
#include <QApplication>
#include <QTimer>

#include "mainwindow/autosave.h"
#include "mainwindow/import_commands.h"
#include "mainwindow/windows/autosaveask.h"
#include "mainwindow/windows/excelask.h"
#include "mainwindow/windows/generaltxt.h"
#include "mainwindow/windows/help_viewer.h"
#include "mainwindow/windows/kova.h"
#include "mainwindow/windows/qt_ui.h"
#include "widgets/common_dialog.h"
#include "widgets/text_codec.h"

// The option dialogs of the imports, each made anew for every import.
class QtImportDialogs : public core::ImportDialogs {
public:
    QtImportDialogs(QWidget* parent, core::KovaUi& ui) : parent_(parent), ui_(ui) {}

    bool AskDialogueOptions(core::KovaState& s, const std::string& fileName) override {
        generaltxt dialog(parent_, s);
        return dialog.Ask(fileName);
    }
    bool AskWorksheetOptions(core::KovaState& s, const std::vector<std::string>& names) override {
        excelask dialog(parent_, s, ui_);
        return dialog.Ask(names);
    }

private:
    QWidget* parent_;
    core::KovaUi& ui_;
};

namespace {

// Counts a command while it runs, so that the timer's tick waits for it.
class CommandScope {
public:
    explicit CommandScope(int& depth) : depth_(depth) { ++depth_; }
    ~CommandScope() { --depth_; }
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

private:
    int& depth_;
};

}  // namespace

void kova::ConnectImportControls() {
    importDialogs_ = std::make_shared<QtImportDialogs>(this, ui_);
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(60000);
    connect(Timer1, &QTimer::timeout, this, &kova::Timer1_Timer);
    connect(mnuHelp, &QAction::triggered, this, &kova::mnuHelp_Click);
}

bool kova::mnuFileImportItem_Click(int Index) {
    CommandScope scope(commandDepth_);
    switch (Index) {
        case 3:
            AutosaveOption_Click();
            return true;
        case 17:
            core::AppendKovfile(s_, ui_, FileDialog());
            return true;
        case 18:
            core::AppendFilterfile(s_, ui_, FileDialog());
            return true;
        case 20:
            core::MergeKovfile(s_, ui_, FileDialog());
            return true;
        case 24:
            core::ReadDialogueTxtfile(s_, ui_, FileDialog(), *importDialogs_);
            return true;
        case 25:
            core::ReadGeneralTextfile(s_, ui_, FileDialog());
            return true;
        case 26:
            core::ReadExcelfile(s_, ui_, FileDialog(), *importDialogs_);
            return true;
        default:
            return false;
    }
}

void kova::AutosaveOption_Click() {
    autosaveask dialog(this, s_);
    if (!dialog.Ask())
        return;
    const bool on = core::AutosaveOn(s_);
    if (on)
        Timer1->start();
    else
        Timer1->stop();
    mnuFileItem[3]->setChecked(on);
}

bool kova::InsideCommand() const {
    return commandDepth_ > 0 || QApplication::activeModalWidget() != nullptr || ui_.WaitVisible();
}

void kova::Timer1_Timer() {
    const bool inside = InsideCommand();
    CommandScope scope(commandDepth_);
    core::AutosaveTick(s_, ui_, inside);
}

void kova::RestartAutosaveMinute() {
    if (Timer1 != nullptr && Timer1->isActive())
        Timer1->start();
}

void kova::mnuHelp_Click() {
    if (help_ == nullptr)
        help_ = new HelpViewer(this);
    const QString name = HelpViewer::HelpFileName();
    if (!help_->ShowContents(name))
        ui_.Message("The help file \"" + FromQString(name) +
                        "\" cannot be found or read. It belongs in the program's folder.",
                    core::kProgramTitle, core::Icon::Exclamation);
}
