// The main window's Frequency menu: its captions and its items.
#pragma once

#include <map>

#include "store/state.h"
#include "store/ui.h"

class QAction;
class QWidget;

// Items firstItem..firstItem + 6 of a menu take the labels of V1..V7.
void RelabelVariableItems(const core::KovaState& s, const std::map<int, QAction*>& items,
                          int firstItem);

// The menu opens: items 1..7 take the labels of V1..V7 (item 9 stays "All").
void RelabelFrequencyMenu(const core::KovaState& s, const std::map<int, QAction*>& items);

// An item is chosen: the options dialog `epiask` (modal over parent), then the
// frequency analysis of that variable, or of V1..V7 for item 9.
void FrequencyMenuClick(QWidget* parent, core::KovaState& s, core::KovaUi& ui, int index);
