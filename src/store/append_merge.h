// A second data or filter file added to an open set: appended behind data set
// 1 or behind the filter lines, or merged into data set 1 by time code.
#pragma once

#include <string>

#include "store/state.h"
#include "store/ui.h"

namespace core {

// Reads FileName into WorkRecords (WorkRecordCount, WorkCurrentRecord 1,
// WorkHeaderNumber). False, with the reader's message, when the file could
// not be read whole or its set could not be saved again; the work set is then
// untouched and nothing may be appended or merged from it.
bool ReadAppendFile(KovaState& s, KovaUi& ui, const std::string& FileName);

// Each writes back and ends a selection shown on its target set, takes the
// work records and the header number of the file read, makes the last record
// current and redraws the page. A combined count above the record limit, or
// a combined set too large to be saved, is refused with a message before
// anything changes: false.
bool AppendWorkRecordsToData1(KovaState& s, KovaUi& ui);
bool AppendWorkRecordsToFilterList(KovaState& s, KovaUi& ui);

// Merges data set 1 and the work records by time code into data set 1 and
// shows data set 1. Of two records with the same time data set 1's comes
// first; a record without a time code stays right behind the record it
// followed in its own set. The record clipboard is not touched. Refused as
// an append is, with nothing changed.
bool MergeDataByTime(KovaState& s, KovaUi& ui);

// The merge order alone: the records of `first` (1..firstCount) and
// `second` (1..secondCount) in merged order, renumbered, at 1..n.
RecordSet MergeByTime(const RecordSet& first, int16_t firstCount, const RecordSet& second,
                      int16_t secondCount);

}  // namespace core
