#include "store/legacy_convert.h"

#include <stdexcept>

#include "store/data_file.h"
#include "store/error_numbers.h"
#include "store/file_access.h"
#include "store/open_files.h"
#include "store/open_save.h"
#include "store/text.h"
#include "store/text_import.h"
#include "store/view.h"

namespace core {

namespace {

enum class Target { Data1, FilterLines };

void TooManyRecords(KovaUi& ui, const std::string& fileName) {
    ui.Message("\"" + fileName + "\" holds more than " + std::to_string(kMaxRecords) +
                   " records, the most a set can hold: it was not converted.",
               kProgramTitle, Icon::Exclamation);
}

bool Convert(KovaState& s, KovaUi& ui, const std::string& fileName, size_t recordLength, bool trim,
             Target target) {
    std::string bytes;
    // Never more than the most records a set holds, whatever the file's size.
    const size_t most = (static_cast<size_t>(kMaxRecords) + 1) * recordLength - 1;
    if (std::error_code ec = ReadWholeFile(fileName, bytes, most)) {
        if (ec == std::errc::file_too_large) {
            TooManyRecords(ui, fileName);
            return false;
        }
        NumberedError e = FileError(ec, fileName);
        ShowImportError(ui, e.number, e.description);
        return false;
    }
    // A file of the current form would be cut into nonsense records, and its
    // ".old" copy overwritten.
    if (bytes.compare(0, 7, "##00000") == 0) {
        ui.Message("\"" + fileName +
                       "\" is already a data file of the current form: it was not converted.",
                   kProgramTitle, Icon::Exclamation);
        return false;
    }

    // Through a link, the file it leads to is converted and keeps its older
    // form beside it; the link stays.
    std::string file;
    if (std::error_code ec = SavedFileOf(fileName, file)) {
        NumberedError e = FileError(ec, fileName);
        ShowImportError(ui, e.number, e.description);
        return false;
    }
    std::string oldName;
    try {
        oldName = DerivedName(file, ".old");
    } catch (const std::invalid_argument&) {
        ShowImportError(ui, kErrBadFileName, "Bad file name or number (" + fileName + ")");
        return false;
    }
    // A file already under the ".old" name would move onto itself and then
    // be rotated out by the save.
    if (SameFile(fileName, oldName)) {
        ui.Message("\"" + fileName + "\" already has the name its older form is kept under: " +
                       "it was not converted. Copy it to another name and convert the copy.",
                   kProgramTitle, Icon::Exclamation);
        return false;
    }
    // Both names are written: the older file moves to the ".old" one and the
    // converted set takes its own. Neither may be an open set's file. Neither
    // write makes a backup: the save finds no file left to move aside.
    const DataFileKind kind =
        target == Target::FilterLines ? DataFileKind::Filter : DataFileKind::Data;
    // The converted set takes the place of its set: its backup may not be
    // shared with the set beside it.
    if (!MayWriteFile(s, ui, fileName, {.keepsBackup = false}) ||
        !MayWriteFile(s, ui, oldName, {.keepsBackup = false}) ||
        !MayOpenFile(s, ui, fileName, target == Target::Data1 ? 1 : 3))
        return false;
    int16_t count = 0;
    RecordSet records = ParseLegacyRecords(bytes, recordLength, trim, count);

    // The older file moves to the ".old" name (replacing an earlier one) and
    // the converted set takes its name; a failed write puts it back.
    if (std::error_code ec = RenameFile(file, oldName)) {
        NumberedError e = FileError(ec, oldName);
        ShowImportError(ui, e.number, e.description);
        return false;
    }
    if (!SaveDataFile(s, ui, file, records, count, 9, fileName, kind)) {
        RenameFile(oldName, file);
        return false;
    }

    if (target == Target::Data1) {
        s.Records1 = std::move(records);
        s.RecordCount1 = count;
        s.FileInfo1 = fileName;
        s.ReadIncomplete1 = false;
        FinishReplacingData1(s, ui, fileName);
    } else {
        SwitchOffSieve(s);
        s.Records2 = std::move(records);
        s.FilterCount = count;
        s.FilterFileInfo = fileName;
        s.ReadIncomplete2 = false;
        FinishReplacingFilterLines(s, ui, fileName);
    }
    return true;
}

}  // namespace

RecordSet ParseLegacyRecords(const std::string& bytes, size_t recordLength, bool trim,
                             int16_t& count) {
    const size_t n = bytes.size() / recordLength;
    RecordSet records(n + 1);
    auto field = [&](size_t at, size_t size) {
        std::string_view raw = std::string_view(bytes).substr(at, size);
        return trim ? Trim(raw) : std::string(raw);
    };
    for (size_t i = 1; i <= n; ++i) {
        const size_t base = (i - 1) * recordLength;
        ProtocolRecord& r = records[i];
        r.V0 = static_cast<int16_t>(i);
        r.V1 = field(base, 10);
        const unsigned char lo = static_cast<unsigned char>(bytes[base + 10]);
        const unsigned char hi = static_cast<unsigned char>(bytes[base + 11]);
        r.V2 = static_cast<int16_t>(static_cast<uint16_t>(lo | (hi << 8)));
        r.V3 = field(base + 12, 10);
        r.V4 = field(base + 22, 10);
        r.V5 = field(base + 32, 10);
        r.V6 = field(base + 42, 10);
        r.V7 = field(base + 52, 10);
        r.V8 = field(base + 62, recordLength - 62);
    }
    count = static_cast<int16_t>(n);
    return records;
}

bool ConvertLegacyDataFile562(KovaState& s, KovaUi& ui, const std::string& FileName) {
    return Convert(s, ui, FileName, 562, true, Target::Data1);
}

bool ConvertLegacyDataFile3062(KovaState& s, KovaUi& ui, const std::string& FileName) {
    return Convert(s, ui, FileName, 3062, false, Target::Data1);
}

bool ConvertLegacyFilterFile562(KovaState& s, KovaUi& ui, const std::string& FileName) {
    return Convert(s, ui, FileName, 562, false, Target::FilterLines);
}

bool ConvertLegacyFilterFile3062(KovaState& s, KovaUi& ui, const std::string& FileName) {
    return Convert(s, ui, FileName, 3062, false, Target::FilterLines);
}

}  // namespace core
