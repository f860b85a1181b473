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

// The set whose backup `name` is; 0 when none. A set's own file is not its
// backup, even when its name ends in ".bak".
int16_t OpenSetOfBackup(const KovaState& s, std::string_view name) {
    for (int16_t set = 1; set <= 3; ++set) {
        const std::string& file = SetFileName(s, set);
        if (file.empty() || SameFile(name, file))
            continue;
        try {
            if (SameFile(name, BackupFileName(file, KindOfSet(set))))
                return set;
        } catch (const std::invalid_argument&) {
        }
    }
    return 0;
}

}  // namespace

int16_t OpenSetOfFile(const KovaState& s, std::string_view name, int16_t except) {
    for (int16_t set = 1; set <= 3; ++set) {
        if (set != except && SameFile(name, SetFileName(s, set)))
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
    std::string backup;
    try {
        backup = BackupFileName(name, kind.value_or(KindOfSet(own)));
    } catch (const std::invalid_argument&) {
        return true;  // no backup is made for such a name
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
