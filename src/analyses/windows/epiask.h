// The frequency options dialog: the record range and the two options of the
// frequency analysis.
#pragma once

#include "analyses/windows/options_dialog.h"
#include "store/state.h"
#include "store/ui.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class epiask : public OptionsDialog {
    Q_OBJECT

public:
    epiask(QWidget* parent, core::KovaState& s, core::KovaUi& ui);

    QLabel* Label1;
    QLabel* Label2;
    QLineEdit* Text1;
    QLineEdit* Text2;
    QCheckBox* Check1;
    QCheckBox* Check2;
    QPushButton* Command1;
    QPushButton* Command2;

    void Command1_Click();
    void Command2_Click();

private:
    void Form_Load();
};
