// The one door through which the core reaches the windows. The Qt main window
// implements it; core tests use a recording fake that answers from a script.
#pragma once

#include <cstdint>
#include <string>

namespace core {

enum class Icon { None, Information, Exclamation, Critical, Question };
enum class Answer { Yes, No, Cancel };

// The program's own title, used where a message box carries no other title.
inline constexpr const char* kProgramTitle = "KOVA";

// The description of a transition diagram (analyses/transition_diagram.h).
struct TransitionDiagram;

class KovaUi {
public:
    virtual ~KovaUi() = default;

    // A message box with one OK button. Texts are Windows-1252 bytes.
    virtual void Message(const std::string& text, const std::string& title, Icon icon) = 0;

    // The save prompt "KOVA Save File" naming fileName. Closing it with its
    // close box or Escape answers Cancel.
    virtual Answer AskSaveFile(const std::string& fileName) = 0;

    // A Yes/No question; anything but Yes counts as No.
    virtual Answer AskYesNo(const std::string& text, const std::string& title) = 0;

    // The wait window "KOVA Message": show it (if hidden) with label3 naming
    // what is counted and label1 the running number, and repaint it at once.
    virtual void ShowWait(const std::string& label3, const std::string& label1) = 0;
    virtual void HideWait() = 0;

    // The main window's model (KovaState::Main) changed: redraw it.
    virtual void MainChanged() = 0;

    // The output viewer `uitvoer`: show it modeless with this caption and
    // text, the caret at the end.
    virtual void ShowOutput(const std::string& caption, const std::string& text) = 0;
    // The same for a file too large to show whole: `tail` is as much of its
    // end as the viewer takes, from a line start, shown read-only under a note
    // giving the file's size (`fileBytes`) and saying its beginning is not
    // shown; nothing the viewer saves is made of that part.
    virtual void ShowOutputEnd(const std::string& caption, const std::string& tail,
                               const std::string& fileName, uintmax_t fileBytes) = 0;

    // The transition diagram window `diagram`: keeps the diagram as its
    // picture and shows it modally; returns when the user closes it.
    virtual void ShowTransitionDiagram(const TransitionDiagram& diagram) = 0;
};

}  // namespace core
