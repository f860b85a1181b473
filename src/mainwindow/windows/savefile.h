// The save prompt: "Save file ?" with the file name and Yes, No and Cancel.
// Closing it with its close box or Escape answers Cancel, so that a program
// never ends with its data unsaved by accident.
#pragma once

#include <QDialog>
#include <array>
#include <string>

#include "store/ui.h"

class QFrame;
class QLabel;
class QPushButton;

class savefile : public QDialog {
    Q_OBJECT
public:
    explicit savefile(QWidget* parent = nullptr);

    // Shows the prompt modally for fileName and returns the answer.
    core::Answer Ask(const std::string& fileName);

    QLabel* Label3;
    QLabel* Label1;
    QPushButton* Command1;  // Yes
    QPushButton* Command2;  // No
    QPushButton* Command3;  // Cancel
    std::array<QFrame*, 2> Label2;

private:
    core::Answer answer_ = core::Answer::Cancel;
};
