// The grid view: the set the main window showed when it opened, one row per
// record, with a code box and a text box floated over the clicked cell to
// edit it, the memo editor on a right click, sorting from the Sort menu or a
// double click on a column heading, and the listing of the rows as sorted.
#pragma once

#include <QAbstractTableModel>
#include <QComboBox>
#include <QMainWindow>
#include <QTableView>
#include <array>
#include <functional>

#include "mainwindow/grid_model.h"
#include "store/state.h"
#include "store/ui.h"

class Memo;
class QLabel;
class QMenu;
class QAction;
class QPlainTextEdit;
class QPushButton;

// The Qt face of the grid's table: every cell is read from the records
// through core::GridModel when the view draws it.
class GridTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    GridTableModel(core::KovaState& s, core::GridModel& grid, QObject* parent);
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Puts the rows in another order.
    void Reorder(const std::function<void()>& change);

private:
    core::KovaState& s_;
    core::GridModel& grid_;
};

// The grid control. A cell wider than the window (the text column) whose
// left edge shows is not scrolled into view sideways when it is clicked, so
// the box floated over it stays where it was floated.
class GridTable : public QTableView {
    Q_OBJECT
public:
    using QTableView::QTableView;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    // No type-to-search: a key typed after a click on a cell would move to
    // another row and take the floated box with it.
    void keyboardSearch(const QString&) override {}
};

// The floated code box: it fills its list when the list opens.
class GridCombo : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    std::function<void()> dropDown;
    void showPopup() override;
};

class gridtry : public QMainWindow {
    Q_OBJECT
public:
    // Opens the memo editor modeless on a target at a screen point; null when
    // it cannot be opened now (a memo typed there is not stored yet).
    using MemoOpener = std::function<Memo*(const core::MemoTarget&, QPoint)>;

    gridtry(core::KovaState& s, core::KovaUi& ui, core::GridModel grid, MemoOpener openMemo,
            QWidget* parent = nullptr);
    ~gridtry() override;

    const core::GridModel& Grid() const { return grid_; }

    QTableView* MSFlexGrid1;
    GridCombo* Combo1 = nullptr;
    QPlainTextEdit* RichTextBox1 = nullptr;
    QPushButton* Command1;
    QPushButton* Command2;
    QLabel* Label1;
    QMenu* mnuSort;
    std::array<QAction*, 9> mnuSortItem{};

    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Resync();
    void Form_Resize();
    void MSFlexGrid1_MouseButton(Qt::MouseButton button, const QModelIndex& index);
    void Combo1_DropDown();
    void Combo1_Click();
    void MSFlexGrid1_CommitCell();
    void MSFlexGrid1_HideEditor();
    void mnuSort_Click();
    void mnuSortItem_Click(int Index);
    void MSFlexGrid1_HeaderDblClick(int column);

    // The current cell (grid row 1.., column), as the grid knows it.
    int Row() const;
    int Col() const;
    void SetCurrentCell(int row, int column);

signals:
    // An edit went into the records: a window that shows them redraws.
    void Edited();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FloatCombo(int row, int column);
    void FloatText(int row, int column);
    void CommitText();
    void Store(int row, int column, const std::string& text);
    void ShowMemo(int row, int column);
    void MemoClosed();

    core::KovaState& s_;
    core::KovaUi& ui_;
    core::GridModel grid_;
    MemoOpener openMemo_;
    GridTableModel* table_;
    // The cells the floated editors stand over (grid row and column), and the
    // texts they were floated with: only a changed text is stored.
    int comboRow_ = 0;
    int comboCol_ = 0;
    QString comboOpened_;
    int textRow_ = 0;
    int textCol_ = 0;
    std::string textOpened_;
};
