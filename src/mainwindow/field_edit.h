// The edit boxes under the page (time code, sequence number, actor) and the
// text box of the current record.
#pragma once

#include <string>

#include "store/state.h"
#include "store/ui.h"

namespace core {

// Enter in edit box `box` (1 time code, 2 sequence number, 3 actor): stores
// `text` into that field of the current record and shows it on the current
// row. Returns true when stored (the window then empties the box); false when
// there is no current record, the number does not fit or the set would grow
// too large to be saved, and the box keeps its text.
bool StoreEditBox(KovaState& s, KovaUi& ui, int box, const std::string& text);

// The text box of the current record changed: its whole text (CR LF line
// breaks) becomes the record's text. The page labels are not redrawn. False
// when the set would grow too large to be saved: after the message the record
// and the model (text1Record) stay as they were, for the box to show again.
bool StoreText1(KovaState& s, KovaUi& ui, const std::string& text);

}  // namespace core
