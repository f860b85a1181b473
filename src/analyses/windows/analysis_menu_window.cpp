#include "analyses/windows/analysis_menu_window.h"

#include <QAction>
#include <QWidget>

#include "analyses/analysis_commands.h"
#include "analyses/windows/cross.h"
#include "analyses/windows/frequency_menu_window.h"
#include "analyses/windows/interask.h"

void RelabelInterraterMenu(const core::KovaState& s, const std::map<int, QAction*>& items) {
    RelabelVariableItems(s, items, 3);
}

void InterraterMenuClick(QWidget* parent, core::KovaState& s, core::KovaUi& ui, int index,
                         core::FileChooser& dialog) {
    core::InterraterMenuItem(
        s, ui, index, dialog,
        [&] {
            interask options(parent, s, ui);
            options.exec();
        },
        core::CurrentReportTime);
}

cross* CrossTablesClick(QWidget* parent, core::KovaState& s, core::KovaUi& ui) {
    if (!core::PrepareCrossTables(s))
        return nullptr;
    cross* dialog = nullptr;
    for (cross* open : parent->findChildren<cross*>(QString(), Qt::FindDirectChildrenOnly))
        if (open->isVisible())
            dialog = open;
    if (dialog == nullptr)
        dialog = new cross(parent, s, ui);
    dialog->SetVariables(core::CrossTableVariables(s));
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}
