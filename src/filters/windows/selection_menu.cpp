#include "filters/windows/selection_menu.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include "widgets/text_codec.h"
#include "widgets/window_util.h"

SelectionMenu::SelectionMenu(core::KovaState& s, core::KovaUi& ui, QWidget* owner)
    : QObject(owner), s_(s), ui_(ui), owner_(owner) {}

void SelectionMenu::Connect(const std::map<int, QAction*>& mnuSelectionItem,
                            const std::map<int, QAction*>& mnuSelectItem,
                            const std::map<int, QAction*>& mnuAndSelectItem,
                            const std::map<int, QAction*>& mnuSelectItemEpi,
                            const std::map<int, QAction*>& mnuAndSelectItemEpi) {
    submenuItems_ = {
        {2, mnuSelectItem}, {3, mnuAndSelectItem}, {4, mnuSelectItemEpi}, {5, mnuAndSelectItemEpi}};
    if (auto undo = mnuSelectionItem.find(1); undo != mnuSelectionItem.end())
        connect(undo->second, &QAction::triggered, this, [this] { mnuSelectionItem_Click(1); });
    // Items 2..5 act when their submenu opens.
    for (int item = 2; item <= 5; ++item) {
        auto it = mnuSelectionItem.find(item);
        if (it == mnuSelectionItem.end() || it->second->menu() == nullptr)
            continue;
        connect(it->second->menu(), &QMenu::aboutToShow, this,
                [this, item] { mnuSelectionItem_Click(static_cast<int16_t>(item)); });
    }
    using Handler = void (SelectionMenu::*)(int16_t);
    const std::pair<const std::map<int, QAction*>*, Handler> families[] = {
        {&mnuSelectItem, &SelectionMenu::mnuSelectItem_Click},
        {&mnuAndSelectItem, &SelectionMenu::mnuAndSelectItem_Click},
        {&mnuSelectItemEpi, &SelectionMenu::mnuSelectItemEpi_Click},
        {&mnuAndSelectItemEpi, &SelectionMenu::mnuAndSelectItemEpi_Click}};
    for (const auto& [items, handler] : families) {
        for (const auto& [index, action] : *items) {
            connect(action, &QAction::triggered, this, [this, handler, index = index] {
                (this->*handler)(static_cast<int16_t>(index));
            });
        }
    }
}

void SelectionMenu::mnuSelectionItem_Click(int16_t Index) {
    if (s_.ViewMode < 1 || s_.ViewMode > 3)
        return;
    if (Index == 1) {
        core::UndoSelection(s_, ui_);
        return;
    }
    if (!core::OpenSelectionSubmenu(s_, Index))
        return;
    for (const auto& [k, action] : submenuItems_[Index]) {
        if (k >= 0 && k <= 8)
            action->setText(ToCaptionText(ShownPart(s_.Varnaam[k])));
    }
}

void SelectionMenu::PresetDialog(core::SelectionFamily family, int16_t Index) {
    // With nothing open no item of this menu acts.
    if (s_.ViewMode < 1 || s_.ViewMode > 3)
        return;
    if (dialog_ == nullptr)
        dialog_ = new selectie(s_, ui_, owner_);
    dialog_->Preset(family, Index);
}

void SelectionMenu::mnuSelectItem_Click(int16_t Index) {
    PresetDialog(core::SelectionFamily::OrEvents, Index);
}
void SelectionMenu::mnuAndSelectItem_Click(int16_t Index) {
    PresetDialog(core::SelectionFamily::AndEvents, Index);
}
void SelectionMenu::mnuSelectItemEpi_Click(int16_t Index) {
    PresetDialog(core::SelectionFamily::OrEpisodes, Index);
}
void SelectionMenu::mnuAndSelectItemEpi_Click(int16_t Index) {
    PresetDialog(core::SelectionFamily::AndEpisodes, Index);
}
