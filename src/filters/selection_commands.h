// What the selection dialog and the Selection menu do, without their widgets:
// presetting the dialog for a variable, its OK button, Undo Selection and the
// selection kind chosen by opening a submenu.
#pragma once

#include <string>
#include <vector>

#include "store/state.h"
#include "store/ui.h"

namespace core {

// The four submenus of the Selection menu, each a family of the dialog.
enum class SelectionFamily { OrEvents, AndEvents, OrEpisodes, AndEpisodes };

// What presetting does to a row of the dialog.
enum class RowChange { Show, Hide, Keep };

// How the dialog is set up for one family and variable.
struct SelectionPreset {
    std::string title;         // the window title: the variable's label
    std::string labelCaption;  // the title line `Label`
    bool rangeRowVisible = false;
    bool clearRange = false;  // Text1 and Text2 emptied
    bool comboVisible = false;
    bool clearCombo = false;  // list and text cleared, then filled with comboItems
    std::vector<std::string> comboItems;
    int comboHeightTwips = 300;
    RowChange contextRow = RowChange::Keep;
};

// Presets the dialog for family f and variable k (0..8) and records the
// variable ("V0".."V8") for the set that ViewMode names.
SelectionPreset PresetSelection(KovaState& s, SelectionFamily f, int k);

// The dialog's texts when OK is pressed.
struct SelectionDialogInput {
    std::string text1;  // range start
    std::string text2;  // range end
    std::string text3;  // lag before
    std::string text4;  // lag after
    std::string combo;  // value of a code or text criterion
    bool notChecked = false;
    bool contextRowVisible = true;
};

struct SelectionDialogResult {
    bool close = false;           // false: the dialog stays open for a correction
    bool showContextRow = false;  // a lag that must be corrected is in a hidden row
};

inline constexpr const char* kSpecifyFields = "Specify field(s)!";

// The OK button: reads the lags, checks the fields, writes the criteria of
// the shown set, runs the selection and puts the main window on record 1.
SelectionDialogResult SelectionDialogOk(KovaState& s, KovaUi& ui, const SelectionDialogInput& in);

// "Undo Selection": the shown set's edits go back into the full set, which is
// shown again. Nothing in view mode 0.
void UndoSelection(KovaState& s, KovaUi& ui);

// Opening submenu `item` (2..5) of the Selection menu sets the kind of the
// shown set. Returns false in view mode 0, where nothing is set and the
// submenu's captions are not renewed.
bool OpenSelectionSubmenu(KovaState& s, int item);

// A text that is a decimal number as a whole (blanks around it allowed).
bool IsNumberText(const std::string& text);

// The number of a lag box, rounded halves to even and limited to a width no
// set can exceed, so every typed value keeps its effect.
int32_t ReadLag(const std::string& text);

}  // namespace core
