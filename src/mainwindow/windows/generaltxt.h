// The option dialog of the dialogue text import: the layout of a line, the
// delimiter and the comment character.
#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "store/state.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class generaltxt : public QDialog {
    Q_OBJECT

public:
    generaltxt(QWidget* parent, core::KovaState& s);

    // Shows the dialog modally for the text file `fileName`; true when Read
    // File took a complete answer, false for Cancel and the close box.
    bool Ask(const std::string& fileName);

    QGroupBox* Frame4;
    QLabel* LFileName;
    QGroupBox* Frame1;
    std::array<QRadioButton*, 2> Option1{};
    QGroupBox* Frame2;
    QLabel* Label1;
    QLineEdit* Delimiter;
    QLabel* Label3;
    QGroupBox* Frame3;
    QLabel* Label2;
    QLineEdit* CommentChar;
    QPushButton* CReadFile;
    QPushButton* CCancel;

    void CReadFile_Click();
    void CCancel_Click();

private:
    core::KovaState& s_;
};
