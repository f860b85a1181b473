// The interrater options dialog: the names of both data files, the record
// range of each set, the filling and category options and the tables and
// kappas to report.
#pragma once

#include <array>

#include "analyses/windows/options_dialog.h"
#include "store/state.h"
#include "store/ui.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class interask : public OptionsDialog {
    Q_OBJECT

public:
    interask(QWidget* parent, core::KovaState& s, core::KovaUi& ui);

    QLabel* Label1;  // data file 1
    QLabel* Label2;  // data file 2
    QLineEdit* Text1;
    QLineEdit* Text2;
    QLineEdit* Text3;
    QLineEdit* Text4;
    QCheckBox* Check1;  // episode filling
    QCheckBox* Check2;  // table-based categories
    // The tables: 0 frequency, 1 expected, 2 residuals, 3 category kappas,
    // 4 agreement and Cohen's kappa.
    std::array<QCheckBox*, 5> Check3{};
    QPushButton* Command1;
    QPushButton* Command2;

    void Command1_Click();
    void Command2_Click();

private:
    void Form_Load();
};
