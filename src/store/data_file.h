// Data and filter files (".kov", ".fil"): the writer and the reader.
#pragma once

#include <cstdint>
#include <string>

#include "store/record.h"
#include "store/state.h"
#include "store/ui.h"

namespace core {

// What a save does with a ".bak" when there is no previous file to move
// there: a save of the program's own file removes it (a backup never belongs
// to another version than the one before the file), a new file made from
// elsewhere (an import, a conversion) keeps it, for it made no such backup.
enum class StaleBackup { Remove, Keep };

// Writes records 1..Count to FileName: the old ".bak" is replaced by the
// previous file and the new file takes its place only once it is complete.
// On failure shows the "Error # " message and returns false; the file on disk
// and its ".bak" are then as they were.
bool SaveDataFile(KovaState& s, KovaUi& ui, const std::string& FileName, const RecordSet& Records,
                  int16_t Count, int16_t HeaderNumber, const std::string& FileInfo,
                  StaleBackup stale = StaleBackup::Remove);

// Reads FileName into Records/Count/HeaderNumber/FileInfo, showing the wait
// window. Returns false (after showing the message) when the file was bad.
// When the file cannot be read or its first three lines are bad, the outputs
// are left untouched. Past that point they hold the file's count, header
// number and file info, every record numbered by its position (V0 = index),
// the records read before the fault filled and the others empty.
bool ReadDataFile(KovaState& s, KovaUi& ui, const std::string& FileName, RecordSet& Records,
                  int16_t& Count, int16_t& HeaderNumber, std::string& FileInfo);

// The reader's message for a bad first line (Kind 1, with the line) or a bad
// record or memo marker (Kind 2, with the record number or memo ordinal).
void ReportDataFileError(KovaUi& ui, int16_t Kind, int16_t Index, const std::string& Line);

}  // namespace core
