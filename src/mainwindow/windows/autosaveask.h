// The dialog of the automatic save period.
#pragma once

#include <QDialog>
#include <array>

#include "store/state.h"

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;

class autosaveask : public QDialog {
    Q_OBJECT

public:
    autosaveask(QWidget* parent, core::KovaState& s);

    // Shows the dialog modally on the current choice; true when OK was
    // clicked (AutosaveChoice then holds the new choice).
    bool Ask();

    std::array<QFrame*, 4> Frames{};
    QLabel* Label2;
    QListWidget* List1;
    QLabel* Label1;
    QPushButton* OKButton;
    QPushButton* CancelButton;

    void OKButton_Click();
    void CancelButton_Click();

private:
    core::KovaState& s_;
};
