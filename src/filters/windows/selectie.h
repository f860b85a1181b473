// The selection dialog: one criterion of a record selection (a range, a code
// or a text, with NOT and context lags), preset by the Selection menu's
// variable items and shown modeless. OK runs the selection on the set the
// main window shows at that moment and closes the dialog.
#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "filters/selection_commands.h"
#include "store/state.h"
#include "store/ui.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// A combo box whose list always lies open under its edit field; picking an
// item puts it into the edit field. Its height decides how much of the list
// shows (an edit field alone at the smallest height).
class SimpleCombo : public QWidget {
    Q_OBJECT
public:
    explicit SimpleCombo(QWidget* parent);
    QLineEdit* edit;
    QListWidget* list;

    // The value in the edit field: a picked item's whole bytes, though the
    // list draws a long one cut; else the text as typed.
    std::string Bytes() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
};

class selectie : public QDialog {
    Q_OBJECT
public:
    selectie(core::KovaState& s, core::KovaUi& ui, QWidget* parent = nullptr);

    // Sets the dialog up for a family and variable k (0..8) and shows it
    // modeless, or brings it to the front.
    void Preset(core::SelectionFamily family, int k);

    void Form_Load();
    void COkee_Click();
    void CCancel_Click();

    QLabel* Label;
    QCheckBox* Check1;
    SimpleCombo* Combo1;
    QLabel* Label1;
    QLineEdit* Text1;
    QLineEdit* Text2;
    std::array<QLabel*, 4> Label2{};  // members 0, 1 and 3
    QLineEdit* Text3;
    QLineEdit* Text4;
    QPushButton* COkee;
    QPushButton* CCancel;

private:
    void SetRangeRowVisible(bool visible);
    void SetContextRowVisible(bool visible);

    core::KovaState& s_;
    core::KovaUi& ui_;
};
