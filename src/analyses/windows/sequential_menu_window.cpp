#include "analyses/windows/sequential_menu_window.h"

#include "analyses/frequency_menu.h"
#include "analyses/sequential_analysis.h"
#include "analyses/windows/frequency_menu_window.h"
#include "analyses/windows/lagask.h"

void RelabelSequentialMenu(const core::KovaState& s, const std::map<int, QAction*>& items) {
    // The same captions as the Frequency menu: the labels of V1..V7.
    RelabelFrequencyMenu(s, items);
}

void SequentialMenuClick(QWidget* parent, core::KovaState& s, core::KovaUi& ui, int index) {
    core::SequentialMenuItem(
        s, ui, index,
        [&] {
            lagask dialog(parent, s, ui);
            dialog.exec();
        },
        core::CurrentReportTime);
}
