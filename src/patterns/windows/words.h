// The result-table window: the grid of KovaState::ResultTable with its four labels,
// the List button (what the command that made the table hands it, e.g. the
// report block into the analysis output file) and Close.
// A click on a column heading sorts the rows by that column.
#pragma once

#include <QWidget>
#include <functional>

#include "store/state.h"
#include "store/ui.h"

class QLabel;
class QPushButton;
class QTableWidget;

class Words : public QWidget {
    Q_OBJECT
public:
    Words(core::KovaState& s, core::KovaUi& ui, QWidget* parent = nullptr);

    // The open result window, or nullptr.
    static Words* Find();
    // Brings the (open or new) window up to date with the table and shows it;
    // `list` is what its List button does from now on (nothing when empty).
    static Words* ShowTable(core::KovaState& s, core::KovaUi& ui, QWidget* parent,
                            std::function<void()> list = nullptr);

    // Draws the table model: caption, columns, headings, rows and labels.
    void Refresh();

    QTableWidget* Grid;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QPushButton* Command2;  // List
    QPushButton* Command1;  // Close
    std::function<void()> ListAction;

    void Command2_Click();
    void Command1_Click();
    void Grid_HeadingClick(int column);

private:
    core::KovaState& s_;
    core::KovaUi& ui_;
};
