// The main window's record buttons, its range dialogs for cut and copy, swap
// and delete coding, and the table editor: what they do to the shown set.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "store/record_edit.h"
#include "store/state.h"
#include "store/ui.h"

namespace core {

// The set that ViewMode shows, as the editing operations take it; none in
// view mode 0.
std::optional<EditSet> ShownEditSet(KovaState& s);

// While the shown set shows a selection its records may not be added, cut,
// pasted, joined or split: the selection is written back by record number,
// and those numbers would no longer name the records they came from.
bool ShownSelection(const KovaState& s);

// The view of no file: nothing open yet, or the set shown was closed (data
// set 1 leaves view 0, data set 2 and the filter lines leave their view on a
// nameless, empty set). Records added, pasted, joined, split or typed there
// would be saved nowhere: shows that no file is open and returns true.
bool RefuseEditWithoutFile(KovaState& s, KovaUi& ui);

// The buttons Add Record, Join Rec's, Paste Rec's and Split Record by view
// mode (join and split do nothing on filter lines). `editorCaret` is the
// caret of the text box in editor characters (a line break is one).
void AddButton(KovaState& s, KovaUi& ui);
void JoinButton(KovaState& s, KovaUi& ui);
void PasteButton(KovaState& s, KovaUi& ui);
void SplitButton(KovaState& s, KovaUi& ui, size_t editorCaret);

// The text both boxes of the cut and copy dialogs start with: the current
// position of the shown set with its sign position (" 12"); "" in view 0.
std::string RangeDialogPreset(KovaState& s);

// The YES of the cut dialog and the COPY of the copy dialog: the typed texts
// become FromRecord and ToRecord, and a range 1 <= from <= to <= count is cut
// or copied. A number that does not fit 16 bits changes nothing.
void ConfirmCut(KovaState& s, KovaUi& ui, std::string_view fromText, std::string_view toText);
void ConfirmCopy(KovaState& s, std::string_view fromText, std::string_view toText);

// What the delete- and swap-coding dialogs show when they open: the current
// position, the count and the label of the first variable.
struct CodingPreset {
    std::string from;
    std::string to;
    std::string label;
};
CodingPreset CodingDialogPreset(KovaState& s, int k);

// The OK of the delete- and swap-coding dialogs: DialogCancelled := 0 and the
// range variables of the view mode from the typed texts. A number that does
// not fit 16 bits leaves them and counts as Cancel (returns false).
bool StoreCodingRange(KovaState& s, std::string_view fromText, std::string_view toText);

// Edit > Delete Coding > Vk (k = 1..8): askRange shows the dialog modally;
// after OK every Vk of the range is cleared ("" in data sets, "*" in filter
// lines, 0 for V2) and the page redrawn. Delete and swap coding change nothing
// (after a message) when the set would grow too large to be saved.
void DeleteCoding(KovaState& s, KovaUi& ui, int k, const std::function<void()>& askRange);

// Edit > Swap Coding > Vk: askSwap shows the dialog, whose OK puts the second
// variable into Lag; Vk and that variable are exchanged over the range.
void SwapCoding(KovaState& s, KovaUi& ui, int k, const std::function<void()>& askSwap);

// Edit > Update sequencer (V2): RenumberSequencer, unless the longer numbers
// would make data set 1 too large to be saved (a message then).
void UpdateSequencer(KovaState& s, KovaUi& ui);

// The table editor: index 1 the ten variable labels, 4..7 the category list
// of that variable. The caption of the editor and its text (one item per line,
// line feeds between them).
std::string TableEditCaption(const KovaState& s, int index);
std::string TableEditText(const KovaState& s, int index);

// The table editor's OK: every line (carriage returns dropped) must be a
// label or category a table file can hold; the first that holds a double
// quote is named in a message and the text refused (false).
bool CheckTableEditText(KovaUi& ui, const std::string& text);

// Edit > Edit Table: showEditor shows the editor modally with ScratchText;
// its OK puts the text into ScratchText and clears DialogCancelled. Only then
// are the labels or the list replaced from the text (carriage returns
// dropped).
void EditTable(KovaState& s, int index, const std::function<void()>& showEditor);

}  // namespace core
