#include "analyses/windows/frequency_menu_window.h"

#include <QAction>

#include "analyses/frequency_menu.h"
#include "analyses/windows/epiask.h"
#include "widgets/text_codec.h"
#include "widgets/window_util.h"

void RelabelVariableItems(const core::KovaState& s, const std::map<int, QAction*>& items,
                          int firstItem) {
    const auto captions = core::FrequencyMenuCaptions(s);
    for (size_t i = 0; i < captions.size(); ++i) {
        auto found = items.find(firstItem + static_cast<int>(i));
        if (found != items.end() && found->second)
            found->second->setText(ToCaptionText(ShownPart(captions[i])));
    }
}

void RelabelFrequencyMenu(const core::KovaState& s, const std::map<int, QAction*>& items) {
    RelabelVariableItems(s, items, 1);
}

void FrequencyMenuClick(QWidget* parent, core::KovaState& s, core::KovaUi& ui, int index) {
    core::FrequencyMenuItem(
        s, ui, index,
        [&] {
            epiask dialog(parent, s, ui);
            dialog.exec();
        },
        core::CurrentReportTime);
}
