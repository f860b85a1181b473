// The memo and file-info editor: one window, shown modal (file info, the text
// box) or modeless (Find, the row labels, the grid view).
#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "mainwindow/memo_edit.h"
#include "store/state.h"
#include "store/ui.h"

class QPlainTextEdit;
class QPushButton;

class Memo : public QDialog {
    Q_OBJECT
public:
    Memo(core::KovaState& s, core::KovaUi& ui, QWidget* parent = nullptr);

    // Fills the editor for `target` (caption, text, colours, size for a file
    // info). A modeless editor that is open is reused: its text is replaced.
    void Open(const core::MemoTarget& target);
    // Shows it modeless, or modal (hidden first, so it can become modal).
    void ShowModeless();
    void ShowModal();
    // Selects `length` characters from `start` (editor characters) of the text.
    void SelectText(int start, int length);
    // Whether the editor is open modeless with a text that ok has not yet
    // stored: a modal opener must not take the window over then.
    bool HasUnstoredEdit() const;

    // ok (0) and delete (1).
    void Command1_Click(int Index);

    const core::MemoTarget& Target() const { return target_; }

    QPlainTextEdit* TextBox1;
    std::array<QPushButton*, 2> Command1{};

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Escape does not close the editor: only ok and delete store, so a
    // stray Escape would throw the typed text away.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SetColour(core::Rgb colour);

    core::KovaState& s_;
    core::KovaUi& ui_;
    core::MemoTarget target_;
    std::string openedText_;  // the text as stored when the editor opened
};
