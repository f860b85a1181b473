// The small modal dialogs of the record buttons and the Edit menu: the cut
// and copy range dialogs, the delete- and swap-coding dialogs and the table
// editor.
#pragma once

#include <QDialog>
#include <array>

#include "store/state.h"
#include "store/ui.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

// What the cut and copy dialogs share: a sentence with the two range boxes.
// Both boxes start with the current position of the shown set.
class RangeAsk : public QDialog {
    Q_OBJECT
public:
    QLabel* Label1;
    std::array<QLabel*, 2> Label2{};  // Label2(1)
    QLineEdit* Text1;
    QLabel* Label3;
    QLineEdit* Text2;
    QLabel* Label4;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    void cmdCancel_Click();

protected:
    RangeAsk(QWidget* parent, core::KovaState& s, core::KovaUi& ui, const char* name,
             const char* title, const char* question, int width, int height);
    void Form_Load();

    core::KovaState& s_;
    core::KovaUi& ui_;
};

// "Cut Records": YES cuts the range; NO is the default button and Escape.
class delask : public RangeAsk {
    Q_OBJECT
public:
    delask(QWidget* parent, core::KovaState& s, core::KovaUi& ui);
    void cmdOK_Click();
};

// "Copy Rec's": COPY (the default) copies the range into the record clipboard.
class copyask : public RangeAsk {
    Q_OBJECT
public:
    copyask(QWidget* parent, core::KovaState& s, core::KovaUi& ui);
    QLabel* Label5;
    void cmdOK_Click();
};

// "Delete Coding": YES clears variable k over the range; NO (the default),
// Escape and the close box cancel.
class delcodingask : public QDialog {
    Q_OBJECT
public:
    delcodingask(QWidget* parent, core::KovaState& s, int k);
    QLabel* Label1;
    QLabel* Label5;
    QLabel* Label3;
    std::array<QLabel*, 2> Label2{};
    QLineEdit* Text1;
    QLineEdit* Text2;
    QLabel* Label4;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    void cmdOK_Click();
    void reject() override;  // NO, Escape and the close box

private:
    core::KovaState& s_;
};

// "Swap Coding": the second variable among the other labels and the range;
// Cancel, Escape and the close box cancel.
class swapcodingask : public QDialog {
    Q_OBJECT
public:
    swapcodingask(QWidget* parent, core::KovaState& s, int k);
    std::array<QLabel*, 3> Label1{};
    std::array<QRadioButton*, 8> Option1{};
    std::array<QLabel*, 2> Label2{};
    QLineEdit* Text1;
    QLineEdit* Text2;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    void cmdOK_Click();
    void reject() override;

private:
    core::KovaState& s_;
};

// The table editor: one label or category per line. Only OK hands the text
// back; the close box cancels.
class tabeledit : public QDialog {
    Q_OBJECT
public:
    tabeledit(QWidget* parent, core::KovaState& s, core::KovaUi& ui, const std::string& caption);
    QLabel* Label1;
    QPlainTextEdit* RichTextBox1;
    QPushButton* Command1;

    void Command1_Click();

private:
    core::KovaState& s_;
    core::KovaUi& ui_;
};
