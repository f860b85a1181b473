// The table file (".tbl"): the variable labels Varnaam(0..9) and the category
// lists L4..L7, so that a coding scheme can be reused with other protocols.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "store/state.h"
#include "store/ui.h"

namespace core {

// The most a table file may hold to be read: ten labels and four lists of
// codes typed by hand take far less.
inline constexpr size_t kMaxTableFileBytes = size_t{16} << 20;

// Whether a label or category can be kept in a table file: its quoted items
// have no escape, so a double quote cannot be written.
bool IsTableItemAllowed(std::string_view text);

// The message shown when a label or category holds a double quote; the windows
// show it when the user types one, SaveTableFile when one is found.
std::string TableItemRefusedText(std::string_view text);

// Writes Varnaam and CategoryLists[4..7] to FileName through a temporary file
// in the same folder, so an existing table stays whole when writing fails.
// Refuses (message, nothing written) a label or category with a double quote;
// a file that cannot be written gives the "Error # " message. Returns whether
// the file was written (TableChanged is then cleared, and TableFileKnown
// holds the file as written). Does not set TableFileName.
bool SaveTableFile(KovaState& s, KovaUi& ui, const std::string& FileName);

// Replaces Varnaam and CategoryLists[4..7] with the table in FileName, each
// list kept in the order of CompareCategories. A file that cannot be read,
// is longer than kMaxTableFileBytes (refused before it is read) or ends early
// gives the "Error # " message and changes nothing. Blocks after the
// fourth are ignored. Returns whether the table was read (TableChanged is
// then cleared). Does not set TableFileName.
bool ReadTableFile(KovaState& s, KovaUi& ui, const std::string& FileName);

}  // namespace core
