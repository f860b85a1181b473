// Find: string, pattern and filled-field search in one variable of the shown
// set, and the sieve step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "store/state.h"
#include "store/ui.h"

namespace core {

// The variable searched: 0..8 the fields V0..V8, 9 the memo, -1 none (the
// variable combo's text names no entry).
inline constexpr int kFindMemo = 9;

struct FindResult {
    bool hit = false;
    int variable = -1;
    // String mode: the byte offset (0-based) of the found text in the field;
    // for V8 counted in the text as the text box shows it (trimmed).
    size_t offset = 0;
    size_t length = 0;  // length of the search text
};

// One click on Find with the search text and the variable chosen. With a sieve
// of data set 1 shown it steps through the sieve instead. A bad pattern gives a
// message and leaves the position and the search state as they were.
FindResult FindStep(KovaState& s, KovaUi& ui, const std::string& searchText, int variable);

// The search-mode button: "String" <-> "Pattern"; "Sieve" ends the sieve.
void ToggleFindMode(KovaState& s, KovaUi& ui);

// The direction button; returns its new caption ("Next:" or "Prev:").
std::string ToggleFindDirection(KovaState& s);

// Picking V4..V7 in the variable combo offers that list's categories as
// search texts.
void AddCategoriesToFindTexts(KovaState& s, int variable);

// Index in a text editor's text (line breaks as one character) of the byte
// offset `offset` of `text` (line breaks as CR LF).
size_t EditorIndex(const std::string& text, size_t offset);

// The reverse: the byte offset in `text` of editor index `index` (a CR LF
// counts as one editor character); the text's size past its end.
size_t StoredOffset(const std::string& text, size_t index);

}  // namespace core
