// The option dialog of the worksheet import: the worksheet, the rows and the
// column of each field.
#pragma once

#include <QDialog>
#include <array>
#include <string>
#include <vector>

#include "store/state.h"
#include "store/ui.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class excelask : public QDialog {
    Q_OBJECT

public:
    excelask(QWidget* parent, core::KovaState& s, core::KovaUi& ui);

    // Shows the dialog modally with the workbook's worksheets; true when OK
    // took a valid answer, false for Cancel and the close box.
    bool Ask(const std::vector<std::string>& sheetNames);

    QLabel* Label3;
    QLabel* Label2;
    std::array<QLabel*, 8> Label1{};
    std::array<QLineEdit*, 8> Text1{};
    QLabel* Label4;
    std::array<QLineEdit*, 2> Text2{};
    QLabel* Label5;
    QComboBox* cmbSheets;
    std::array<QPushButton*, 2> Command1{};

    void Command1_Click(int Index);

private:
    core::KovaState& s_;
    core::KovaUi& ui_;
};
