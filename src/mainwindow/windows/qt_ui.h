// The windows' side of core::KovaUi: message boxes, the save prompt, the wait
// window, the main window's redraw and the output viewer.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "store/state.h"
#include "store/ui.h"

class QWidget;
class diagram;
class uitvoer;
class waitmsg;

class QtUi : public core::KovaUi {
public:
    explicit QtUi(core::KovaState& s);
    ~QtUi() override;

    // The main window, parent of the dialogs, and how to redraw it.
    void AttachMainWindow(QWidget* window, std::function<void()> redraw);

    // The output viewer and the wait window, created hidden on first use.
    uitvoer& Viewer();
    waitmsg& Wait();
    bool WaitVisible() const;
    // The transition diagram window, created hidden on first use.
    diagram& Diagram();

    void Message(const std::string& text, const std::string& title, core::Icon icon) override;
    core::Answer AskSaveFile(const std::string& fileName) override;
    core::Answer AskYesNo(const std::string& text, const std::string& title) override;
    void ShowWait(const std::string& label3, const std::string& label1) override;
    void HideWait() override;
    void MainChanged() override;
    void ShowOutput(const std::string& caption, const std::string& text) override;
    void ShowOutputEnd(const std::string& caption, const std::string& tail,
                       const std::string& fileName, uintmax_t fileBytes) override;
    void ShowTransitionDiagram(const core::TransitionDiagram& d) override;

private:
    QWidget* DialogParent() const;
    void FlushWait();

    core::KovaState& s_;
    QWidget* main_ = nullptr;
    std::function<void()> redraw_;
    std::unique_ptr<uitvoer> viewer_;
    std::unique_ptr<waitmsg> wait_;
    std::unique_ptr<diagram> diagram_;
};
