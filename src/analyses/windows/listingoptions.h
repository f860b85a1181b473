// The listing options dialog: layout, memos, file info and the record range
// of a listing of the shown set, or only the layout for the grid view's
// listing of sorted data.
#pragma once

#include <array>

#include "analyses/windows/options_dialog.h"
#include "store/state.h"
#include "store/ui.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class listingoptions : public OptionsDialog {
    Q_OBJECT

public:
    listingoptions(QWidget* parent, core::KovaState& s, core::KovaUi& ui);

    QCheckBox* Check1;
    QCheckBox* Check2;
    QLabel* Label1;
    QLineEdit* Text1;
    QLineEdit* Text2;
    QGroupBox* Frame1;
    std::array<QRadioButton*, 2> Option1{};
    QLabel* Label3;
    QPushButton* Command1;
    QPushButton* Command2;

    void Command1_Click();
    void Command2_Click();

private:
    void Form_Load();
};

// The main window's "List Data" / "List Filters" button: the options dialog
// (modal over parent), then the listing of the shown set unless cancelled.
void ListDataClick(QWidget* parent, core::KovaState& s, core::KovaUi& ui);
