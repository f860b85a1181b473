// The main window's Interrater menu and CrossTables menu.
#pragma once

#include <map>

#include "store/file_dialog.h"
#include "store/state.h"
#include "store/ui.h"

class QAction;
class QWidget;
class cross;

// The Interrater menu opens: items 3..9 take the labels of V1..V7.
void RelabelInterraterMenu(const core::KovaState& s, const std::map<int, QAction*>& items);

// An Interrater item is chosen: "Open Kov2" through the file dialog, or the
// options dialog `interask` (modal over parent) and the agreement of one
// variable or of all seven.
void InterraterMenuClick(QWidget* parent, core::KovaState& s, core::KovaUi& ui, int index,
                         core::FileChooser& dialog);

// CrossTables is chosen: shows the dialog `cross` (one at a time: an open one
// comes forward) with the variables listed once. Null when the menu does
// not act in the shown view.
cross* CrossTablesClick(QWidget* parent, core::KovaState& s, core::KovaUi& ui);
