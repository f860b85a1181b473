#include "analyses/windows/frequency_menu_window.h"

#include <QAction>

#include "analyses/frequency_menu.h"
#include "analyses/windows/epiask.h"
#include "widgets/text_codec.h"

void RelabelFrequencyMenu(const core::KovaState& s, const std::map<int, QAction*>& items) {
    const auto captions = core::FrequencyMenuCaptions(s);
    for (int i = 1; i <= 7; ++i) {
        auto found = items.find(i);
        if (found != items.end() && found->second)
            found->second->setText(ToCaptionText(captions[static_cast<size_t>(i - 1)]));
    }
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
