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

// What a save that writes a file is, for the checks before it. Each caller
// names what differs from the defaults: a file of no open set, moved aside as
// a backup first, opened as no set, replaced unasked.
struct FileWrite {
    // The set (numbered as ViewMode: 1 data set 1, 2 data set 2, 3 the filter
    // lines) whose own file the save writes; 0 for a file of no open set, such
    // as a saved selection, a table, an output text or a picture.
    int16_t ownSet = 0;
    // Whether the writer keeps what stands there as a backup; a table, an
    // output text or a picture replaces it whole and keeps none.
    bool keepsBackup = true;
    // The kind of file whose backup the save keeps; without it the filter
    // lines (ownSet 3) write a filter file and everything else a data file.
    std::optional<DataFileKind> backupKind = std::nullopt;
    // The set the written file is then opened as (0: none); it must be able
    // to stand beside the sets that stay open (MayOpenFile).
    int16_t opensAsSet = 0;
    // Whether a file that stands there is replaced only when the user says
    // so, unless it is `ownFile`: the file the set, table or output was read
    // from or last saved to.
    bool askBeforeReplacing = false;
    std::string_view ownFile = {};
    // Whether an import writes the file: its name is the source's, so a
    // refusal for an open set's file says how to free that name, not to
    // choose another.
    bool byImport = false;
};

// The one check before a save writes `name`, in this order: it is no link
// that leads nowhere, to a folder or round in a loop (the save's message for
// it); it is not the file of another open set, nor the backup of an open set;
// for a writer that
// keeps a backup, its own backup, which the save replaces, is neither an open
// set's file nor another open set's backup; it may be opened as
// `write.opensAsSet`; and, when the save asks, the user answered Yes to
// replacing what stands there, No being the default. Nothing is asked when
// nothing stands there, when it
// is `write.ownFile`, or when it is no plain file (the writer refuses that).
// A refusal gives a message that names the set (and, for a shared backup, a
// name to use instead), and false.
bool MayWriteFile(const KovaState& s, KovaUi& ui, const std::string& name, const FileWrite& write);

// Whether `name`, when it is a link, leads to a file whose name KOVA can
// hold: a set opened through a link to any other could never be saved.
// Otherwise a message that nothing was opened, and false.
bool LeadsToAUsableName(KovaUi& ui, const std::string& name);

// Whether `name` may be opened as set `set`: it is not the file of another
// set that stays open beside it, and no save of either would replace the
// other's file or backup (a backup shared, or the one file the other's
// backup). Otherwise a message that says how to go on, and false.
bool MayOpenFile(const KovaState& s, KovaUi& ui, const std::string& name, int16_t set);

// The question before a save replaces `name`, the file `known` was taken of,
// when it was changed on disk since (ChangedOnDisk): true at once when it was
// not, else whether the user answered Yes, No being the default. No keeps
// that file as it is and `what` open, to be saved under another name with
// the command `saveAs`.
bool ConfirmReplacingChangedFile(KovaUi& ui, const KnownFile& known, const std::string& name,
                                 const std::string& what, const std::string& saveAs);

// The words of that question, which the automatic save, never asking, gives
// as its refusal.
std::string ChangedOnDiskText(const std::string& name);

}  // namespace core
