// The run-filters dialog: options, the record range of data set 1, and the
// two run commands. Modeless; every opening starts with both options off.
#pragma once

#include <QDialog>
#include <array>

#include "store/state.h"
#include "store/ui.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class runfilter : public QDialog {
    Q_OBJECT
public:
    runfilter(core::KovaState& s, core::KovaUi& ui, QWidget* parent = nullptr);

    QLabel* Label3;
    QCheckBox* Check1;
    QCheckBox* Check2;
    std::array<QLabel*, 4> Label2{};  // 0 the range line, 1 and 3 the bars
    std::array<QLineEdit*, 2> Text1{};
    QPushButton* Command3;
    QPushButton* Command1;
    QPushButton* Command2;

    void Form_Load();
    void Command1_Click();
    void Command3_Click();
    void Command2_Click();

private:
    void RunAndClose(bool allFilters);

    core::KovaState& s_;
    core::KovaUi& ui_;
};
