#include "store/open_files.h"

#include <stdexcept>

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

// The set whose backup `name` is, leaving set `except` out; 0 when none. A
// set's own file is not its backup, even when its name ends in ".bak".
int16_t OpenSetOfBackup(const KovaState& s, std::string_view name, int16_t except = 0) {
    for (int16_t set = 1; set <= 3; ++set) {
        const std::string& file = FileNameOfSet(s, set);
        if (set == except || file.empty() || SameFile(name, file))
            continue;
        try {
            if (SameFile(name, BackupFileName(file, KindOfSet(set))))
                return set;
        } catch (const std::invalid_argument&) {
        }
    }
    return 0;
}

// A name to save as instead of `name` of set `own`: "-2", "-3", ... before
// its extension, the first under which nothing stands and whose backup is no
// open set's file or backup; "" when none of the first few is.
std::string NameWithFreeBackup(const KovaState& s, const std::string& name, int16_t own,
                               DataFileKind kind) {
    const size_t part = name.size() - FileNamePart(name).size();
    size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot < part)
        dot = name.size();
    for (int k = 2; k < 10; ++k) {
        const std::string other = name.substr(0, dot) + "-" + std::to_string(k) + name.substr(dot);
        const std::string backup = BackupFileName(other, kind);
        if (!EntryExists(other) && OpenSetOfFile(s, other) == 0 && OpenSetOfFile(s, backup) == 0 &&
            OpenSetOfBackup(s, backup, own) == 0)
            return other;
    }
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

bool MayWriteFile(const KovaState& s, KovaUi& ui, const std::string& name, int16_t own,
                  std::optional<DataFileKind> kind, bool makesBackup) {
    int16_t other = OpenSetOfFile(s, name, own);
    if (other != 0) {
        ui.Message("\"" + name + "\" is open in KOVA as " + SetDescription(other) +
                       ". Only saving that file may write it: choose another name.",
                   kProgramTitle, Icon::Exclamation);
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
    if (!makesBackup)
        return true;
    const DataFileKind backupKind = kind.value_or(KindOfSet(own));
    std::string backup;
    try {
        backup = BackupFileName(name, backupKind);
    } catch (const std::invalid_argument&) {
        return true;  // no backup is made for such a name
    }
    // Two sets may keep their backups under one name (data files that differ
    // only in their last four characters, a data file named after a filter
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
                (instead.empty() ? std::string("Save it under another name.")
                                 : "Save it under another name, such as \"" + instead + "\"."),
            kProgramTitle, Icon::Exclamation);
        return false;
    }
    // A save moves the file there. An open set standing at that name is
    // refused even before the file exists, so that no later save of it can
    // move the file over the set.
    if (!PathExists(name) && !PathExists(backup))
        return true;
    other = OpenSetOfFile(s, backup, 0);
    if (other != 0 && !SameFile(backup, name)) {
        ui.Message("Saving \"" + name + "\" replaces its backup \"" + backup +
                       "\", which is open in KOVA as " + SetDescription(other) +
                       ". Choose another name, or close that file first.",
                   kProgramTitle, Icon::Exclamation);
        return false;
    }
    return true;
}

bool ConfirmReplacingFile(KovaUi& ui, const std::string& name, const std::string& ownFile) {
    if (!EntryExists(name) || SameFile(name, ownFile) || (PathExists(name) && !IsRegularFile(name)))
        return true;
    return ui.AskYesNo("\"" + name + "\" is there already.\r\n\r\nReplace it?", kProgramTitle) ==
           Answer::Yes;
}

bool MayOpenFile(const KovaState& s, KovaUi& ui, const std::string& name, int16_t set) {
    // Data set 2 and the filter lines share one place: opening one drops the
    // other, so only data set 1 stays beside them.
    int16_t other = 0;
    if (set == 1)
        other = OpenSetOfFile(s, name, 1);
    else if (SameFile(name, s.DataFileName1))
        other = 1;
    if (other == 0)
        return true;
    ui.Message("\"" + name + "\" is already open in KOVA as " + SetDescription(other) +
                   ". A file can be open only once, so that saving one set never writes "
                   "over another.",
               kProgramTitle, Icon::Exclamation);
    return false;
}

}  // namespace core
