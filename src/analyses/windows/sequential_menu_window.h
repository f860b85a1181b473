// The main window's Sequential menu and its "Diagr" button.
#pragma once

#include <map>

#include "store/state.h"
#include "store/ui.h"

class QAction;
class QWidget;

// The menu opens: items 1..7 take the labels of V1..V7 (item 9 stays "All").
void RelabelSequentialMenu(const core::KovaState& s, const std::map<int, QAction*>& items);

// An item is chosen: the options dialog `lagask` (modal over parent), then the
// analysis of that variable, or of V2..V7 for item 9.
void SequentialMenuClick(QWidget* parent, core::KovaState& s, core::KovaUi& ui, int index);
