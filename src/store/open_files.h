// Which files the program holds open as record sets, decided by the file
// system (the same file on disk), never by comparing names: a file open as
// one set is written only by saving that set.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "store/data_file.h"
#include "store/state.h"
#include "store/ui.h"

namespace core {

// The set (numbered as ViewMode: 1 data set 1, 2 data set 2, 3 the filter
// lines) whose file `name` is, leaving set `except` out; 0 when none.
int16_t OpenSetOfFile(const KovaState& s, std::string_view name, int16_t except = 0);

// Whether `name` may be written as the file of set `own` (0: a file of no
// open set, such as a saved selection, a table or an output text): it is not
// the file of another open set, nor the backup of an open set; and, for a
// writer that keeps a backup (`makesBackup`), its own backup, which the save
// replaces, is neither an open set's file nor another open set's backup.
// Otherwise a message names the set (and, for a shared backup, a name to use
// instead), and false.
// `kind` names the backup; without it the filter lines (own 3) write a
// filter file and everything else a data file.
bool MayWriteFile(const KovaState& s, KovaUi& ui, const std::string& name, int16_t own,
                  std::optional<DataFileKind> kind = std::nullopt, bool makesBackup = true);

// The one question before a save replaces what stands under `name` when that
// is not `ownFile`, the file the set, table or output was read from or last
// saved to. True at once when nothing stands there (a link that leads
// nowhere does stand there), when it is `ownFile`, or when it is no plain
// file (the writer refuses that); else whether the user answered Yes, No
// being the default.
bool ConfirmReplacingFile(KovaUi& ui, const std::string& name, const std::string& ownFile = {});

// Whether `name` may be opened as set `set`: it is not the file of another
// set that stays open beside it, and no save of either would replace the
// other's file or backup (a backup shared, or the one file the other's
// backup). Otherwise a message that says how to go on, and false.
bool MayOpenFile(const KovaState& s, KovaUi& ui, const std::string& name, int16_t set);

}  // namespace core
