// The output viewer: shows the whole analysis or listing file, lets the user
// edit it, save it back, print it, and close it with OK. A file too large for
// it shows only its end, read-only under a note, and its Save is off.
#pragma once

#include <QDialog>
#include <string>

#include "store/state.h"
#include "store/ui.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

class uitvoer : public QDialog {
    Q_OBJECT
public:
    uitvoer(core::KovaState& s, core::KovaUi& ui, QWidget* parent = nullptr);

    // Shows the viewer modeless with this caption and text (file bytes), the
    // caret at the end.
    void ShowText(const std::string& caption, const std::string& text);

    // Shows the viewer as ShowText with the end of the file `fileName`, which
    // holds `fileBytes`: read-only, under a note that gives the size and says
    // the file's beginning is not shown, and with Save off.
    void ShowEnd(const std::string& caption, const std::string& tail, const std::string& fileName,
                 uintmax_t fileBytes);

    // The viewer's whole text as file bytes (CR LF line ends).
    std::string TextBytes() const;
    // The file of which the viewer shows only the end; "" while it shows a
    // whole text.
    const std::string& EndShownOf() const { return endOf_; }

    void CSave_Click();
    void CPrint_Click();
    void COkee_Click();

    // Esc and the close box close the viewer as OK does, so "Show output"
    // comes back whichever way it was closed.
    void reject() override;

    QLabel* LNote;  // over the text while it is only a file's end
    QPlainTextEdit* Tekst;
    QPushButton* CSave;
    QPushButton* CPrint;
    QPushButton* COkee;

private:
    // Captions the viewer, shows it with the caret at the end and brings it
    // to the front.
    void Present(const std::string& caption);

    core::KovaState& s_;
    core::KovaUi& ui_;
    // The bytes last put into the viewer, and the document's revision just
    // after: while the document is still at that revision, a text that only
    // adds to these bytes is appended instead of reloaded.
    std::string shown_;
    int shownRevision_ = -1;
    std::string endOf_;
};
