// The protocol listing: the records of a set, or the rows of the grid view in
// the order it shows them, appended to the listing file (".lst") in the
// pretty layout (fixed fields, the text wrapped in a column of its own) or the
// import layout (every field followed by "^"), then shown in the output viewer.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analyses/report_writer.h"
#include "store/record.h"
#include "store/state.h"
#include "store/ui.h"

namespace core {

// The listing options dialog's range boxes when it opens: the record numbers
// (V0, with the sign position) of the first and the last record of the set
// that ViewMode names; "" when it has none.
std::array<std::string, 2> ListingRangePreset(const KovaState& s);

// The listing options dialog's OK: ListingMemos, ListingFileInfo,
// ListingForExcel and the typed range of the shown set (FromRecord/ToRecord,
// FromRecord2/ToRecord2 or FromFilterLine/ToFilterLine), record numbers mapped
// to positions while a selection of that set is shown. The range itself is
// not checked here. A number outside the 16-bit range gives a message titled
// "Error", changes nothing and returns false (the dialog stays open).
bool ApplyListingOptions(KovaState& s, KovaUi& ui, std::string_view fromText,
                         std::string_view toText, bool memos, bool fileInfo, bool forExcel);

// One listed record on its own line. Pretty: V0 and V2 as numbers right-aligned
// in 5 characters (a wider number is written whole), V1 and V3..V7 in 10
// (a longer text keeps its first 10), each field followed by "|", then V8 from
// column 80 (or the column after the fields and one blank, when wider numbers
// pushed them further) to 143; with `withMemo` and a memo, the memo follows in
// the text column under "MEMO: " and the number. Import: the same number
// fields, V1, V3..V8 as they are, separated by "^"; with `withMemo` a further
// "^" and the memo, also when it is empty.
void WriteListingRecord(ReportWriter& out, const ProtocolRecord& r, bool forExcel, bool withMemo);

// The main window's listing of the set that ViewMode names (data set 1 over
// FromRecord..ToRecord, data set 2 and the filter lines whole), with file info
// and memos as the options say, appended to the listing file named after the
// set's file; then the file is shown. Writes nothing, and shows nothing, when
// no set is shown, the range is outside 1..count, the listing file cannot be
// named or would be the file of an open set (a message), or the file cannot
// be written (a message titled "Error"). True when the block was written.
bool WriteListing(KovaState& s, KovaUi& ui);

// The grid view's rows in the order shown, each the texts of its cells from
// column 1 on: nine cells (the text last) or, in the two-coder layout, ten.
struct GridListing {
    bool twoCoder = false;
    std::vector<std::vector<std::string>> rows;
};

// The grid view's "List Sorted Data": appends the rows to the listing file
// named after `setFileName` (an empty line, the rows, an empty line) in the
// layout ListingForExcel names, and shows the file. Pretty: the number cells
// (columns 1 and 3) right-aligned in 5 characters, written whole when wider,
// the others in 10 (a longer text keeps its first 10), each followed by "|",
// the text from column 80 (91 in the two-coder layout) to 143. Import: every
// cell followed by "^". Fails as WriteListing does.
bool WriteGridListing(KovaState& s, KovaUi& ui, const std::string& setFileName,
                      const GridListing& grid);

}  // namespace core
