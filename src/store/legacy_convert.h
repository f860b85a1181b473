// Converters of the older fixed-length record files (records of 562 or 3062
// bytes, no header) into data and filter files of the current form. The older
// file is kept under the ".old" name; the converted set is written under the
// older file's own name and shown. No menu reaches them: they are operations
// of the store.
#pragma once

#include <string>

#include "store/state.h"
#include "store/ui.h"

namespace core {

// Each returns false, with a message and nothing changed (in memory or on
// disk), when the file cannot be read, is already a data file of the current
// form, holds more records than a set can, or the new file cannot be written.
bool ConvertLegacyDataFile562(KovaState& s, KovaUi& ui, const std::string& FileName);
bool ConvertLegacyDataFile3062(KovaState& s, KovaUi& ui, const std::string& FileName);
bool ConvertLegacyFilterFile562(KovaState& s, KovaUi& ui, const std::string& FileName);
bool ConvertLegacyFilterFile3062(KovaState& s, KovaUi& ui, const std::string& FileName);

// The records of an older file's bytes (whole records only): V0 the
// position, V2 the stored integer, the text fields trimmed of blanks at both
// ends or taken whole, with the blanks that fill them up.
RecordSet ParseLegacyRecords(const std::string& bytes, size_t recordLength, bool trim,
                             int16_t& count);

}  // namespace core
