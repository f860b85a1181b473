// The main window's menu bar. Items whose commands are not built yet are
// present and do nothing.
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "analyses/windows/analysis_menu_window.h"
#include "analyses/windows/diagram.h"
#include "analyses/windows/frequency_menu_window.h"
#include "analyses/windows/sequential_menu_window.h"
#include "mainwindow/windows/kova.h"
#include "mainwindow/windows/qt_ui.h"
#include "widgets/common_dialog.h"

namespace {

struct Item {
    int index;
    const char* caption;  // "-" is a separator
    const char* key;      // shortcut, or nullptr
};

QAction* AddItem(QMenu* menu, const char* arrayName, const Item& item) {
    QAction* a =
        QString(item.caption) == "-" ? menu->addSeparator() : menu->addAction(item.caption);
    a->setObjectName(QString("%1(%2)").arg(arrayName).arg(item.index));
    a->setProperty("Index", item.index);
    if (item.key != nullptr)
        a->setShortcut(QKeySequence(item.key));
    return a;
}

void AddItems(QMenu* menu, const char* arrayName, std::initializer_list<Item> items,
              std::map<int, QAction*>& into) {
    for (const Item& item : items)
        into[item.index] = AddItem(menu, arrayName, item);
}

// A submenu of variable items with indexes from..to, captioned "V0".."V8".
QMenu* VariableSubmenu(QMenu* menu, QAction* parentItem, const char* arrayName, int from, int to,
                       std::map<int, QAction*>& into) {
    auto* sub = new QMenu(menu);
    sub->setObjectName(arrayName);
    for (int k = from; k <= to; ++k) {
        std::string caption = "V" + std::to_string(k);
        into[k] = AddItem(sub, arrayName, {k, caption.c_str(), nullptr});
    }
    parentItem->setMenu(sub);
    return sub;
}

QMenu* AddMenu(QMenuBar* bar, const char* name, const char* caption) {
    QMenu* m = bar->addMenu(caption);
    m->setObjectName(name);
    return m;
}

}  // namespace

void kova::CreateMenus() {
    QMenuBar* bar = menuBar();

    mnuFile = AddMenu(bar, "mnuFile", "&File");
    AddItems(mnuFile, "mnuFileItem",
             {{1, "&Open Kovfile..", "Ctrl+M"},
              {2, "&Save Kovfile", "Ctrl+S"},
              {3, "Automatic Save Option", nullptr},
              {4, "-", nullptr},
              {5, "Open &Tablefile", "Ctrl+T"},
              {6, "Save Tablefile", nullptr},
              {7, "-", nullptr},
              {8, "Open &Filterfile", "Ctrl+F"},
              {9, "Save Filterfile", nullptr},
              {10, "-", nullptr},
              {11, "Open Anafile", "Ctrl+A"},
              {12, "Save Anafile", nullptr},
              {13, "-", nullptr},
              {14, "Open Lstfile", "Ctrl+L"},
              {15, "Save Lstfile", nullptr},
              {16, "-", nullptr},
              {17, "Append Kovfile ", nullptr},
              {18, "Append Filterfile", nullptr},
              {19, "-", nullptr},
              {20, "Merge Kov file", nullptr},
              {21, "-", nullptr},
              {24, "Read &General Dialogue Txtfile", "Ctrl+R"},
              {25, "Read General Text file", "Ctrl+G"},
              {26, "Read from Excel file", "Ctrl+E"},
              {27, "-", nullptr},
              {33, "E&xit", "Ctrl+Q"}},
             mnuFileItem);
    mnuFileItem[3]->setCheckable(true);
    mnuFileArray = AddItem(mnuFile, "mnuFileArray", {0, "-", nullptr});

    mnuEdit = AddMenu(bar, "mnuEdit", "&Edit");
    AddItems(mnuEdit, "mnuEditItem",
             {{0, "Cut", "Ctrl+X"},
              {1, "Copy", "Ctrl+C"},
              {2, "Paste", "Ctrl+V"},
              {3, "-", nullptr},
              {4, "Cut Records", nullptr},
              {5, "Copy Records", nullptr},
              {6, "Paste Records", nullptr},
              {7, "-", nullptr},
              {8, "Update sequencer (V2)", nullptr},
              {9, "-", nullptr},
              {10, "Swap Coding", nullptr},
              {11, "Delete Coding", nullptr},
              {12, "-", nullptr},
              {13, "Edit Table", nullptr}},
             mnuEditItem);
    VariableSubmenu(mnuEdit, mnuEditItem[10], "mnuSwapVar", 1, 8, mnuSwapVar);
    mnuSwapVar[2]->setEnabled(false);
    VariableSubmenu(mnuEdit, mnuEditItem[11], "mnuDeleteVar", 1, 8, mnuDeleteVar);
    auto* table = new QMenu(mnuEdit);
    table->setObjectName("mnuTableEdit");
    mnuTableEdit[1] = AddItem(table, "mnuTableEdit", {1, "Variable labels", nullptr});
    for (int k = 4; k <= 7; ++k) {
        std::string caption = "V" + std::to_string(k);
        mnuTableEdit[k] = AddItem(table, "mnuTableEdit", {k, caption.c_str(), nullptr});
    }
    mnuEditItem[13]->setMenu(table);

    mnuSelection = AddMenu(bar, "mnuSelection", "Selection");
    AddItems(mnuSelection, "mnuSelectionItem",
             {{1, "Undo Selection", "Ctrl+U"},
              {2, "OR Select events", nullptr},
              {3, "AND Select events", nullptr},
              {4, "OR Select episodes", nullptr},
              {5, "AND Select episodes", nullptr}},
             mnuSelectionItem);
    VariableSubmenu(mnuSelection, mnuSelectionItem[2], "mnuSelectItem", 0, 8, mnuSelectItem);
    VariableSubmenu(mnuSelection, mnuSelectionItem[3], "mnuAndSelectItem", 0, 8, mnuAndSelectItem);
    VariableSubmenu(mnuSelection, mnuSelectionItem[4], "mnuSelectItemEpi", 0, 7, mnuSelectItemEpi);
    VariableSubmenu(mnuSelection, mnuSelectionItem[5], "mnuAndSelectItemEpi", 0, 7,
                    mnuAndSelectItemEpi);

    std::initializer_list<Item> variables = {
        {1, "V1", nullptr}, {2, "V2", nullptr}, {3, "V3", nullptr},
        {4, "V4", nullptr}, {5, "V5", nullptr}, {6, "V6", nullptr},
        {7, "V7", nullptr}, {8, "-", nullptr},  {9, "All", nullptr}};
    mnuAnalyse = AddMenu(bar, "mnuAnalyse", "Frequency");
    AddItems(mnuAnalyse, "mnuAnalyseItem", variables, mnuAnalyseItem);
    connect(mnuAnalyse, &QMenu::aboutToShow, this, &kova::mnuAnalyse_Click);
    for (auto& [index, item] : mnuAnalyseItem)
        connect(item, &QAction::triggered, this, [this, i = index] { mnuAnalyseItem_Click(i); });
    mnuSequential = AddMenu(bar, "mnuSequential", "&Sequential");
    AddItems(mnuSequential, "mnuSequentialItem", variables, mnuSequentialItem);
    connect(mnuSequential, &QMenu::aboutToShow, this, &kova::mnuSequential_Click);
    for (auto& [index, item] : mnuSequentialItem)
        connect(item, &QAction::triggered, this, [this, i = index] { mnuSequentialItem_Click(i); });

    mnuInterrater = AddMenu(bar, "mnuInterrater", "&Interrater");
    AddItems(mnuInterrater, "mnuInterraterItem",
             {{1, "Open Kov2", nullptr},
              {2, "-", nullptr},
              {3, "V1", nullptr},
              {4, "V2", nullptr},
              {5, "V3", nullptr},
              {6, "V4", nullptr},
              {7, "V5", nullptr},
              {8, "V6", nullptr},
              {9, "V7", nullptr},
              {10, "-", nullptr},
              {11, "All", nullptr}},
             mnuInterraterItem);

    connect(mnuInterrater, &QMenu::aboutToShow, this, &kova::mnuInterrater_Click);
    for (auto& [index, item] : mnuInterraterItem)
        connect(item, &QAction::triggered, this, [this, i = index] { mnuInterraterItem_Click(i); });

    mnuCrossTable = bar->addAction("&CrossTables");
    mnuCrossTable->setObjectName("mnuCrossTable");
    connect(mnuCrossTable, &QAction::triggered, this, &kova::mnuCrossTable_Click);

    mnuWords = AddMenu(bar, "mnuWords", "Words");
    mnuPatterns = AddMenu(bar, "mnuPatterns", "Patterns");
    mnuChart = AddMenu(bar, "mnuChart", "Chart");

    mnuHelp = bar->addAction("&Help");
    mnuHelp->setObjectName("mnuHelp");
    mnuAbout = bar->addAction("About...");
    mnuAbout->setObjectName("mnuAbout");
    connect(mnuAbout, &QAction::triggered, this, &kova::mnuAbout_Click);
}

void kova::mnuAnalyse_Click() {
    RelabelFrequencyMenu(s_, mnuAnalyseItem);
}

void kova::mnuAnalyseItem_Click(int Index) {
    FrequencyMenuClick(this, s_, ui_, Index);
}

void kova::mnuInterrater_Click() {
    RelabelInterraterMenu(s_, mnuInterraterItem);
}

void kova::mnuInterraterItem_Click(int Index) {
    InterraterMenuClick(this, s_, ui_, Index, FileDialog());
}

void kova::mnuCrossTable_Click() {
    CrossTablesClick(this, s_, ui_);
}

void kova::mnuSequential_Click() {
    RelabelSequentialMenu(s_, mnuSequentialItem);
}

void kova::mnuSequentialItem_Click(int Index) {
    SequentialMenuClick(this, s_, ui_, Index);
}

void kova::diag_Click() {
    ui_.Diagram().ShowModeless();
}
