#include "mainwindow/windows/qt_ui.h"

#include <QMessageBox>
#include <QWidget>

#include "analyses/windows/diagram.h"
#include "analyses/windows/uitvoer.h"
#include "mainwindow/windows/savefile.h"
#include "mainwindow/windows/waitmsg.h"
#include "widgets/message_box.h"
#include "widgets/text_codec.h"

QtUi::QtUi(core::KovaState& s) : s_(s) {}

QtUi::~QtUi() = default;

void QtUi::AttachMainWindow(QWidget* window, std::function<void()> redraw) {
    main_ = window;
    redraw_ = std::move(redraw);
}

uitvoer& QtUi::Viewer() {
    if (!viewer_)
        viewer_ = std::make_unique<uitvoer>(s_, *this);
    return *viewer_;
}

waitmsg& QtUi::Wait() {
    if (!wait_)
        wait_ = std::make_unique<waitmsg>();
    return *wait_;
}

bool QtUi::WaitVisible() const {
    return wait_ && wait_->isVisible();
}

QWidget* QtUi::DialogParent() const {
    if (main_ != nullptr && main_->isVisible())
        return main_;
    return nullptr;
}

// A loop that stops with a question leaves its last number on screen.
void QtUi::FlushWait() {
    if (wait_)
        wait_->Flush();
}

void QtUi::Message(const std::string& text, const std::string& title, core::Icon icon) {
    FlushWait();
    QMessageBox::Icon qicon = QMessageBox::NoIcon;
    switch (icon) {
        case core::Icon::None:
            qicon = QMessageBox::NoIcon;
            break;
        case core::Icon::Information:
            qicon = QMessageBox::Information;
            break;
        case core::Icon::Exclamation:
            qicon = QMessageBox::Warning;
            break;
        case core::Icon::Critical:
            qicon = QMessageBox::Critical;
            break;
        case core::Icon::Question:
            qicon = QMessageBox::Question;
            break;
    }
    QMessageBox box(qicon, ToQString(title), QString(), QMessageBox::Ok, DialogParent());
    SetMessageText(box, text);
    box.exec();
}

core::Answer QtUi::AskSaveFile(const std::string& fileName) {
    FlushWait();
    // A fresh prompt for every question, so each starts from its design texts.
    savefile prompt(DialogParent());
    return prompt.Ask(fileName);
}

core::Answer QtUi::AskYesNo(const std::string& text, const std::string& title) {
    FlushWait();
    QMessageBox box(QMessageBox::Question, ToQString(title), QString(),
                    QMessageBox::Yes | QMessageBox::No, DialogParent());
    SetMessageText(box, text);
    // The questions ask before something is deleted: Enter must not say Yes.
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? core::Answer::Yes : core::Answer::No;
}

void QtUi::ShowWait(const std::string& label3, const std::string& label1) {
    Wait().ShowProgress(label3, label1);
}

void QtUi::HideWait() {
    if (wait_)
        wait_->HideWait();
}

void QtUi::MainChanged() {
    if (redraw_)
        redraw_();
}

void QtUi::ShowOutput(const std::string& caption, const std::string& text) {
    Viewer().ShowText(caption, text);
}

void QtUi::ShowOutputEnd(const std::string& caption, const std::string& tail,
                         const std::string& fileName, uintmax_t fileBytes) {
    Viewer().ShowEnd(caption, tail, fileName, fileBytes);
}

diagram& QtUi::Diagram() {
    if (!diagram_)
        diagram_ = std::make_unique<diagram>(s_, *this);
    return *diagram_;
}

void QtUi::ShowTransitionDiagram(const core::TransitionDiagram& d) {
    FlushWait();
    Diagram().ShowModal(d);
}
