// The output viewer: shows the whole analysis or listing file, lets the user
// edit it, save it back, print it, and close it with OK.
#pragma once

#include <QDialog>
#include <string>

#include "store/state.h"
#include "store/ui.h"

class QPlainTextEdit;
class QPushButton;

class uitvoer : public QDialog {
    Q_OBJECT
public:
    uitvoer(core::KovaState& s, core::KovaUi& ui, QWidget* parent = nullptr);

    // Shows the viewer modeless with this caption and text (file bytes), the
    // caret at the end.
    void ShowText(const std::string& caption, const std::string& text);

    // The viewer's whole text as file bytes (CR LF line ends).
    std::string TextBytes() const;

    void CSave_Click();
    void CPrint_Click();
    void COkee_Click();

    // Esc and the close box close the viewer as OK does, so "Show output"
    // comes back whichever way it was closed.
    void reject() override;

    QPlainTextEdit* Tekst;
    QPushButton* CSave;
    QPushButton* CPrint;
    QPushButton* COkee;

private:
    core::KovaState& s_;
    core::KovaUi& ui_;
    // The bytes last put into the viewer, and the document's revision just
    // after: while the document is still at that revision, a text that only
    // adds to these bytes is appended instead of reloaded.
    std::string shown_;
    int shownRevision_ = -1;
};
