#include "patterns/windows/words.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <algorithm>

#include "patterns/result_table.h"
#include "widgets/text_codec.h"
#include "widgets/window_util.h"

Words::Words(core::KovaState& s, core::KovaUi& ui, QWidget* parent)
    : QWidget(parent, Qt::Window), s_(s), ui_(ui) {
    setObjectName("Words");
    setAttribute(Qt::WA_DeleteOnClose);
    resize(Tw(6600), Tw(6000));

    Grid = new QTableWidget(this);
    Grid->setObjectName("Grid");
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->verticalHeader()->hide();
    Grid->horizontalHeader()->setSectionsClickable(true);
    Grid->setGeometry(Tw(120), Tw(120), Tw(6360), Tw(4500));

    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(Tw(120), Tw(4740), Tw(2700), Tw(285));
    Label3 = new QLabel(this);
    Label3->setObjectName("Label3");
    Label3->setGeometry(Tw(2880), Tw(4740), Tw(900), Tw(285));
    Label2 = new QLabel(this);
    Label2->setObjectName("Label2");
    Label2->setGeometry(Tw(120), Tw(5070), Tw(2700), Tw(285));
    Label4 = new QLabel(this);
    Label4->setObjectName("Label4");
    Label4->setGeometry(Tw(2880), Tw(5070), Tw(900), Tw(285));

    Command2 = new QPushButton("List", this);
    Command2->setObjectName("Command2");
    Command2->setGeometry(Tw(3960), Tw(4800), Tw(1200), Tw(450));
    Command1 = new QPushButton("Close", this);
    Command1->setObjectName("Command1");
    Command1->setGeometry(Tw(5280), Tw(4800), Tw(1200), Tw(450));

    connect(Command2, &QPushButton::clicked, this, &Words::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &Words::Command1_Click);
    connect(Grid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &Words::Grid_HeadingClick);
}

Words* Words::Find() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* words = qobject_cast<Words*>(w))
            return words;
    return nullptr;
}

Words* Words::ShowTable(core::KovaState& s, core::KovaUi& ui, QWidget* parent,
                        std::function<void()> list) {
    Words* w = Find();
    const bool fresh = w == nullptr;
    if (fresh)
        w = new Words(s, ui, parent);
    w->ListAction = std::move(list);
    w->Refresh();
    // Placed as the program's other windows are: a window the window system
    // places itself may land on the screen's corner, over the main menu.
    if (fresh)
        CentreOnScreen(w);
    w->show();
    w->raise();
    return w;
}

void Words::Refresh() {
    const core::ResultTableModel& t = s_.ResultTable;
    setWindowTitle(ToQString(t.caption));
    size_t columns = t.columnWidths.size();
    for (const auto& row : t.cells)
        columns = std::max(columns, row.size());
    Grid->clear();
    Grid->setColumnCount(static_cast<int>(columns));
    Grid->setRowCount(t.cells.empty() ? 0 : static_cast<int>(t.cells.size() - 1));
    QHeaderView* headings = Grid->horizontalHeader();
    const int margins = 2 * headings->style()->pixelMetric(QStyle::PM_HeaderMargin) + 4;
    for (size_t c = 0; c < columns; ++c) {
        const std::string heading =
            !t.cells.empty() && c < t.cells[0].size() ? t.cells[0][c] : std::string();
        const QString text = ToQString(heading);
        Grid->setHorizontalHeaderItem(static_cast<int>(c), new QTableWidgetItem(text));
        // As designed, but never narrower than its heading.
        const int designed = c < t.columnWidths.size() ? Tw(t.columnWidths[c]) : 0;
        const int needed = headings->fontMetrics().horizontalAdvance(text) + margins;
        if (designed > 0 || needed > Grid->columnWidth(static_cast<int>(c)))
            Grid->setColumnWidth(static_cast<int>(c), std::max(designed, needed));
    }
    for (size_t r = 1; r < t.cells.size(); ++r)
        for (size_t c = 0; c < t.cells[r].size(); ++c)
            Grid->setItem(static_cast<int>(r - 1), static_cast<int>(c),
                          new QTableWidgetItem(VisibleText(t.cells[r][c])));
    QLabel* labels[] = {nullptr, Label1, Label2, Label3, Label4};
    for (int k = 1; k <= 4; ++k)
        labels[k]->setText(ToQString(t.labels[k]));
}

void Words::Command2_Click() {
    if (ListAction)
        ListAction();
}

void Words::Command1_Click() {
    close();
}

void Words::Grid_HeadingClick(int column) {
    core::SortResultTable(s_.ResultTable, column);
    Refresh();
}
