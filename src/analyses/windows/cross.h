// The cross-table options dialog, modeless: the record range, the lag, the
// row variable (List1) and the column variable (List2), filling per
// variable, table-based categories and the tables to report. Its OK runs the
// cross table and shows the analysis output file.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "analyses/windows/options_dialog.h"
#include "store/state.h"
#include "store/ui.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

class cross : public OptionsDialog {
    Q_OBJECT

public:
    cross(QWidget* parent, core::KovaState& s, core::KovaUi& ui);

    // Lists the variables (the labels of V2..V7) in both lists, in place of
    // what they held, keeping the chosen rows.
    void SetVariables(const std::array<std::string_view, 6>& labels);

    QLineEdit* Text1;
    QLineEdit* Text2;
    QComboBox* Combo1;   // lag 0..20
    QListWidget* List1;  // row variable, at record i
    QListWidget* List2;  // column variable, at record i + lag
    QCheckBox* Check1;   // episode filling of the row variable
    QCheckBox* Check2;   // episode filling of the column variable
    QCheckBox* Check3;   // table-based categories
    // The tables: 0 frequency, 1 expected with chi square, 2 residuals.
    std::array<QCheckBox*, 3> Check4{};
    QPushButton* Command1;
    QPushButton* Command2;

    void Command1_Click();
    void Command2_Click();

private:
    void Form_Load();
};
