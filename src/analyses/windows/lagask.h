// The options dialog of the lag-sequential analysis: the lag, the record
// range, episode filling, table-based categories and the tables and diagrams
// to make.
#pragma once

#include <array>

#include "analyses/sequential_analysis.h"
#include "analyses/windows/options_dialog.h"
#include "store/state.h"
#include "store/ui.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class lagask : public OptionsDialog {
    Q_OBJECT

public:
    lagask(QWidget* parent, core::KovaState& s, core::KovaUi& ui);

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QComboBox* Combo1;
    QLineEdit* Text1;
    QLineEdit* Text2;
    QCheckBox* Check1;
    QCheckBox* Check3;
    std::array<QCheckBox*, core::kLagSwitches> Check2;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    void cmdOK_Click();
    void cmdCancel_Click();

private:
    void Form_Load();
};
