#include "store/open_files.h"

#include <stdexcept>

#include "store/error_numbers.h"
#include "store/file_access.h"
#include "store/text.h"
#include "store/view.h"

namespace core {

namespace {

const char* SetDescription(int16_t set) {
    switch (set) {
        case 1:
            return "the data file";
        case 2:
            return "the second data file";
        default:
            return "the filter file";
    }
}

// The backup a save of `name` as a file of `kind` keeps; "" when it keeps
// none (a name too short, or one that is its own backup).
std::string BackupOf(const std::string& name, DataFileKind kind) {
    try {
        std::string backup = BackupFileName(name, kind);
        return SameFile(backup, name) ? std::string() : backup;
    } catch (const std::invalid_argument&) {
        return {};
    }
}

// The set whose backup `name` is, leaving set `except` out; 0 when none. A
// set's own file is not its backup, even when its name ends in ".bak".
int16_t OpenSetOfBackup(const KovaState& s, std::string_view name, int16_t except = 0) {
    for (int16_t set = 1; set <= 3; ++set) {
        const std::string& file = FileNameOfSet(s, set);
        if (set == except || file.empty())
            continue;
        const std::string backup = BackupOf(file, KindOfSet(set));
        if (!backup.empty() && SameFile(name, backup))
            return set;
    }
    return 0;
}

// A name to save `name` of set `own` under instead: "-2", "-3", ... after its
// name less the extension, and the extension the save dialog of its kind
// keeps (".kov", ".fil"); the first under which nothing stands, that is no
// open set's backup and whose backup is no open set's file or backup; "" when
// none of the first few is.
std::string NameWithFreeBackup(const KovaState& s, const std::string& name, int16_t own,
                               DataFileKind kind) {
    const size_t part = name.size() - FileNamePart(name).size();
    size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot < part)
        dot = name.size();
    const char* extension = kind == DataFileKind::Filter ? ".fil" : ".kov";
    for (int k = 2; k < 10; ++k) {
        const std::string other = name.substr(0, dot) + "-" + std::to_string(k) + extension;
        const std::string backup = BackupFileName(other, kind);
        if (!EntryExists(other) && OpenSetOfFile(s, other) == 0 &&
            OpenSetOfBackup(s, other, own) == 0 && OpenSetOfFile(s, backup) == 0 &&
            OpenSetOfBackup(s, backup, own) == 0)
            return other;
    }
    return {};
}

// Why `name`, opened as set `set`, cannot stand beside set `other` (open as
// `file`): a save of one would replace the other's file or only earlier
// version. "" when nothing stands in the way.
std::string BackupClash(const std::string& name, int16_t set, const std::string& file,
                        int16_t other) {
    const std::string own = BackupOf(name, KindOfSet(set));
    const std::string theirs = BackupOf(file, KindOfSet(other));
    const std::string where = "\"" + file + "\", open in KOVA as " + SetDescription(other);
    if (!own.empty() && !theirs.empty() && SameFile(own, theirs))
        return "it keeps its backup in \"" + own + "\", and so does " + where +
               ": a save of either would replace the other's only earlier version.";
    if (!own.empty() && SameFile(own, file))
        return "a save of it keeps its backup in \"" + own + "\", which is " + where +
               ": the save would replace that file.";
    if (!theirs.empty() && SameFile(name, theirs))
        return "it is \"" + theirs + "\", the backup of " + where +
               ": a save of that file would replace it.";
    return {};
}

}  // namespace

int16_t OpenSetOfFile(const KovaState& s, std::string_view name, int16_t except) {
    for (int16_t set = 1; set <= 3; ++set) {
        if (set != except && SameFile(name, FileNameOfSet(s, set)))
            return set;
    }
    return 0;
}

namespace {

// Whether the save `write` of `name` replaces no open set's file or backup
// (see MayWriteFile); else the message, and false.
bool WritesNoOpenSet(const KovaState& s, KovaUi& ui, const std::string& name,
                     const FileWrite& write) {
    const int16_t own = write.ownSet;
    int16_t other = OpenSetOfFile(s, name, own);
    if (other != 0) {
        // Under another name (a link, another spelling) the user must be
        // told which open file it is.
        const std::string& open = FileNameOfSet(s, other);
        std::string text =
            (open == name ? "\"" + name + "\" is open"
                          : "\"" + name + "\" is the file \"" + open + "\", which is open") +
            " in KOVA as " + SetDescription(other) + ". Only saving that file may write it";
        // An import names its file after what it imports: another name is
        // not the user's to choose there.
        if (write.byImport)
            text += ", and an import names its file after the file it imports: close \"" + open +
                    "\", or save it under another name, then import again.";
        else
            text += ": choose another name.";
        ui.Message(text, kProgramTitle, Icon::Exclamation);
        return false;
    }
    // Writing there would destroy the only earlier version of an open set.
    other = OpenSetOfBackup(s, name);
    if (other != 0) {
        ui.Message("\"" + name + "\" is the backup of " + SetDescription(other) +
                       ", which is open in KOVA. Choose another name.",
                   kProgramTitle, Icon::Exclamation);
        return false;
    }
    if (!write.keepsBackup)
        return true;
    const DataFileKind backupKind = write.backupKind.value_or(KindOfSet(own));
    const std::string backup = BackupOf(name, backupKind);
    if (backup.empty())
        return true;  // it keeps no backup of its own
    // Two sets may keep their backups under one name (data files that differ
    // only in their extensions, a data file named after a filter
    // file's backup): a save of either would replace the other's only
    // earlier version. A set is refused even before its file exists, so that
    // no later save of it can do so.
    other = OpenSetOfBackup(s, backup, own);
    if (other != 0 && (own != 0 || PathExists(name))) {
        const std::string instead = NameWithFreeBackup(s, name, own, backupKind);
        ui.Message(
            "Saving \"" + name + "\" would replace its backup \"" + backup +
                "\", which is also the backup of " + SetDescription(other) + " \"" +
                FileNameOfSet(s, other) + "\", open in KOVA. Nothing was saved.\r\n\r\n" +
                (instead.empty() ? std::string("Save it under another name")
                                 : "Save it under another name, such as \"" + instead + "\"") +
                ", or close \"" + FileNameOfSet(s, other) + "\" first.",
            kProgramTitle, Icon::Exclamation);
        return false;
    }
    // A save moves the file there. An open set standing at that name is
    // refused even before the file exists, so that no later save of it can
    // move the file over the set.
    if (!PathExists(name) && !PathExists(backup))
        return true;
    other = OpenSetOfFile(s, backup, 0);
    if (other != 0) {
        ui.Message("Saving \"" + name + "\" replaces its backup \"" + backup +
                       "\", which is open in KOVA as " + SetDescription(other) +
                       ". Choose another name, or close that file first.",
                   kProgramTitle, Icon::Exclamation);
        return false;
    }
    return true;
}

// Whether a save may replace what stands under `name` when that is not
// `ownFile`: true at once when nothing stands there (a link that leads
// nowhere does stand there), when it is `ownFile`, or when it is no plain
// file (the writer refuses that); else whether the user answered Yes, No
// being the default.
bool ConfirmReplacingFile(KovaUi& ui, const std::string& name, std::string_view ownFile) {
    if (!EntryExists(name) || SameFile(name, ownFile) || (PathExists(name) && !IsRegularFile(name)))
        return true;
    return ui.AskYesNo("\"" + name + "\" is there already.\r\n\r\nReplace it?", kProgramTitle) ==
           Answer::Yes;
}

// False, with the message a save would give, when `name` is a link that
// leads to no file, also one whose links go round in a loop: a save writes
// through a link, so there is nothing to ask about replacing.
bool LeadsToAFile(KovaUi& ui, const std::string& name) {
    std::string file;
    const std::error_code ec = SavedFileOf(name, file);
    if (!ec || ec.category() != LinkCategory())
        return true;
    const NumberedError e = FileError(ec, name);
    ui.Message(ErrorText(e.number, kProgramTitle, e.description), "Error", Icon::None);
    return false;
}

}  // namespace

bool MayWriteFile(const KovaState& s, KovaUi& ui, const std::string& name, const FileWrite& write) {
    return LeadsToAFile(ui, name) && WritesNoOpenSet(s, ui, name, write) &&
           (write.opensAsSet == 0 || MayOpenFile(s, ui, name, write.opensAsSet)) &&
           (!write.askBeforeReplacing || ConfirmReplacingFile(ui, name, write.ownFile));
}

bool LeadsToAUsableName(KovaUi& ui, const std::string& name) {
    std::string file;
    if (SavedFileOf(name, file) != std::errc::illegal_byte_sequence)
        return true;
    ui.Message("\"" + name +
                   "\" was not opened: it is a link to a file whose name holds a character that "
                   "KOVA cannot use in a file name, so no change to it could be saved.\r\n\r\n"
                   "Please give that file another name, or choose another file.",
               kProgramTitle, Icon::Exclamation);
    return false;
}

bool MayOpenFile(const KovaState& s, KovaUi& ui, const std::string& name, int16_t set) {
    // Data set 2 and the filter lines share one place: opening one drops the
    // other, so only data set 1 stays beside them.
    int16_t other = 0;
    if (set == 1)
        other = OpenSetOfFile(s, name, 1);
    else if (SameFile(name, s.DataFileName1))
        other = 1;
    if (other != 0) {
        // Under another name (a link, another spelling) the user must be
        // told which open file it is.
        const std::string& open = FileNameOfSet(s, other);
        std::string text =
            (open == name
                 ? "\"" + name + "\" is already open"
                 : "\"" + name + "\" is the file \"" + open + "\", which is already open") +
            " in KOVA as " + SetDescription(other) +
            ". A file can be open only once, so that saving one set never writes over another.";
        // Data set 1 beside itself as the second data file: a check of the
        // coding against itself, which takes a second file.
        const std::string copy =
            set == 2 ? NameWithFreeBackup(s, name, 1, DataFileKind::Data) : std::string();
        if (!copy.empty())
            text +=
                "\r\n\r\nTo compare the data file with itself, save it under another name, "
                "such as \"" +
                copy +
                "\", with Save Kovfile: it stays open under that name, and Open Kov2 can "
                "then open \"" +
                name + "\" beside it.";
        ui.Message(text, kProgramTitle, Icon::Exclamation);
        return false;
    }
    // A backup shared with a set that stays open is told now, before any
    // save of either has to be refused. Data set 2 and the filter lines take
    // each other's place.
    for (int16_t open = 1; open <= 3; ++open) {
        const std::string& file = FileNameOfSet(s, open);
        if ((set == 1) == (open == 1) || file.empty())
            continue;
        const std::string why = BackupClash(name, set, file, open);
        if (why.empty())
            continue;
        const std::string copy = NameWithFreeBackup(s, name, set, KindOfSet(set));
        ui.Message("\"" + name + "\" was not opened: " + why + "\r\n\r\nTo work on it beside \"" +
                       file + "\", save a copy of it under a name that keeps a backup of its own" +
                       (copy.empty() ? std::string() : ", such as \"" + copy + "\"") +
                       ", and open the copy.",
                   kProgramTitle, Icon::Exclamation);
        return false;
    }
    return true;
}

std::string ChangedOnDiskText(const std::string& name) {
    return "\"" + name +
           "\" was changed on disk since KOVA read or last saved it: another program, or KOVA "
           "in another window, may have written it.";
}

bool ConfirmReplacingChangedFile(KovaUi& ui, const KnownFile& known, const std::string& name,
                                 const std::string& what, const std::string& saveAs) {
    if (!ChangedOnDisk(known, name))
        return true;
    return ui.AskYesNo(ChangedOnDiskText(name) + "\r\n\r\nReplace it with " + what +
                           " open here? No keeps the file on disk as it is and " + what +
                           " open, to be saved under another name with " + saveAs + ".",
                       kProgramTitle) == Answer::Yes;
}

}  // namespace core
