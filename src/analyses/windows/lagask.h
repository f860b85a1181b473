// The options dialog of the lag-sequential analysis: the lag, the record
// range, episode filling, table-based categories and the tables and diagrams
// to make.
#pragma once

#include <QDialog>
#include <array>

#include "analyses/sequential_analysis.h"
#include "store/state.h"
#include "store/ui.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class lagask : public QDialog {
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

    // Esc and the close box cancel like cmdCancel.
    void reject() override;

private:
    void Form_Load();

    core::KovaState& s;
    core::KovaUi& ui;
};
