// The Selection menu's commands: Undo Selection, the kind set by opening one
// of the four submenus (whose items then show the variable labels), and the
// variable items, which preset and show the selection dialog. The main
// window builds the menu and hands its items over to Connect.
#pragma once

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <map>

#include "filters/selection_commands.h"
#include "filters/windows/selectie.h"
#include "store/state.h"
#include "store/ui.h"

class QAction;
class QWidget;

class SelectionMenu : public QObject {
    Q_OBJECT
public:
    // `owner` is the main window: the parent of the dialog.
    SelectionMenu(core::KovaState& s, core::KovaUi& ui, QWidget* owner);

    // Items 1..5 of the Selection menu and the variable items of its
    // submenus, keyed by their index; items 2..5 carry the submenus.
    void Connect(const std::map<int, QAction*>& mnuSelectionItem,
                 const std::map<int, QAction*>& mnuSelectItem,
                 const std::map<int, QAction*>& mnuAndSelectItem,
                 const std::map<int, QAction*>& mnuSelectItemEpi,
                 const std::map<int, QAction*>& mnuAndSelectItemEpi);

    void mnuSelectionItem_Click(int16_t Index);
    void mnuSelectItem_Click(int16_t Index);
    void mnuAndSelectItem_Click(int16_t Index);
    void mnuSelectItemEpi_Click(int16_t Index);
    void mnuAndSelectItemEpi_Click(int16_t Index);

    // The dialog while it is loaded, else nullptr.
    selectie* Dialog() const { return dialog_; }

private:
    void PresetDialog(core::SelectionFamily family, int16_t Index);

    core::KovaState& s_;
    core::KovaUi& ui_;
    QWidget* owner_;
    std::map<int, std::map<int, QAction*>> submenuItems_;  // by item 2..5
    QPointer<selectie> dialog_;
};
