#include "analyses/listing.h"

#include <algorithm>
#include <stdexcept>

#include "analyses/output_file.h"
#include "analyses/range_options.h"
#include "store/error_numbers.h"
#include "store/file_access.h"
#include "store/record_range.h"
#include "store/text.h"
#include "store/view.h"

namespace core {

namespace {

constexpr int kNumberWidth = 5;
constexpr int kTextWidth = 10;
constexpr int kLastColumn = 143;

// A number field: right-aligned in `width`, written whole when it is wider
// (a record number cut to its first digits would name another record).
void NumberCell(ReportWriter& out, std::string_view text, int width) {
    if (text.size() > static_cast<size_t>(width))
        out.Text(text);
    else
        out.RightField(text, width);
}

// The wrapped text column: from `firstColumn`, or one blank after the fields
// when wider numbers pushed them past it.
void TextColumn(ReportWriter& out, std::string_view text, int firstColumn) {
    PrintWrappedText(out, text, std::max(firstColumn, out.Column() + 1), kLastColumn);
}

// The listing file's name for a set's file, or "" after a message when it
// cannot be named or would be the file of an open set.
std::string ListingName(const KovaState& s, KovaUi& ui, const std::string& setFileName) {
    std::string name;
    try {
        name = DerivedName(setFileName, ".lst");
    } catch (const std::invalid_argument&) {
        ui.Message(ErrorText(kErrBadFileName, kProgramTitle,
                             "No listing file can be named after \"" + setFileName + "\"."),
                   "Error", Icon::Critical);
        return std::string();
    }
    for (const std::string* open : {&s.DataFileName1, &s.DataFileName2, &s.FilterFileName}) {
        if (SameFile(name, *open)) {
            ui.Message("The listing file \"" + name +
                           "\" is the file of an open protocol or filter program. Nothing was "
                           "listed: save the set under a name that does not end in \".lst\".",
                       "Error", Icon::Exclamation);
            return std::string();
        }
    }
    return name;
}

// Appends the block and shows the file; on failure a message titled "Error"
// and nothing else changes.
bool FlushListing(KovaState& s, KovaUi& ui, const std::string& setFileName,
                  const std::string& listingName, const ReportWriter& out) {
    if (std::error_code ec = AppendToKnownFile(listingName, out.Bytes(), s.ListingFileKnown)) {
        const NumberedError e = FileError(ec, listingName);
        ui.Message(ErrorText(e.number, kProgramTitle, e.description), "Error", Icon::Critical);
        return false;
    }
    s.CurrentFileName = setFileName;
    s.ListingFileName = listingName;
    ShowListingFile(s, ui);
    return true;
}

}  // namespace

std::array<std::string, 2> ListingRangePreset(const KovaState& s) {
    if (s.ViewMode < 1 || s.ViewMode > 3)
        return {};
    return ShownRangePreset(s.ViewMode == 1 ? s.Records1 : s.Records2, ShownCount(s), SignedNumber);
}

bool ApplyListingOptions(KovaState& s, KovaUi& ui, std::string_view fromText,
                         std::string_view toText, bool memos, bool fileInfo, bool forExcel) {
    // The range belongs to the set in view: data 1, data 2 or the filter lines.
    const bool inView = s.ViewMode >= 1 && s.ViewMode <= 3;
    const bool one = s.ViewMode == 1;
    int16_t from = 0;
    int16_t to = 0;
    if (inView && !ReadAndMapRange(ui, one ? s.Records1 : s.Records2, ShownCount(s),
                                   (one ? s.SelectionShown1 : s.SelectionShown2) != 0, fromText,
                                   toText, from, to))
        return false;
    s.ListingMemos = memos ? 1 : 0;
    s.ListingFileInfo = fileInfo ? 1 : 0;
    s.ListingForExcel = forExcel ? 1 : 0;
    if (inView) {
        (one ? s.FromRecord : s.ViewMode == 2 ? s.FromRecord2 : s.FromFilterLine) = from;
        (one ? s.ToRecord : s.ViewMode == 2 ? s.ToRecord2 : s.ToFilterLine) = to;
    }
    return true;
}

void WriteListingRecord(ReportWriter& out, const ProtocolRecord& r, bool forExcel, bool withMemo) {
    const std::string v0 = SignedNumber(r.V0);
    const std::string v2 = SignedNumber(r.V2);
    if (forExcel) {
        NumberCell(out, v0, kNumberWidth);
        out.Text("^").Text(r.V1).Text("^");
        NumberCell(out, v2, kNumberWidth);
        for (const std::string* field : {&r.V3, &r.V4, &r.V5, &r.V6, &r.V7})
            out.Text("^").Text(*field);
        out.Text("^").Text(r.V8);
        if (withMemo)
            out.Text("^").Text(r.Memo);
        out.EndLine();
        return;
    }
    NumberCell(out, v0, kNumberWidth);
    out.Text("|").RightField(r.V1, kTextWidth).Text("|");
    NumberCell(out, v2, kNumberWidth);
    out.Text("|");
    for (const std::string* field : {&r.V3, &r.V4, &r.V5, &r.V6, &r.V7})
        out.RightField(*field, kTextWidth).Text("|");
    if (withMemo && !r.Memo.empty())
        TextColumn(out, r.V8 + "\r\nMEMO: " + v0 + "\r\n" + r.Memo, 80);
    else
        TextColumn(out, r.V8, 80);
    out.EndLine();
}

bool WriteListing(KovaState& s, KovaUi& ui) {
    const RecordSet* records = nullptr;
    const std::string* setFileName = nullptr;
    const std::string* fileInfo = nullptr;
    int first = 1;
    int last = 0;
    switch (s.ViewMode) {
        case 1:
            records = &s.Records1;
            setFileName = &s.DataFileName1;
            fileInfo = &s.FileInfo1;
            // A range the dialog let through unchecked lists nothing.
            if (s.FromRecord < 1 || s.FromRecord > s.ToRecord || s.ToRecord > s.RecordCount1)
                return false;
            first = s.FromRecord;
            last = s.ToRecord;
            break;
        case 2:
            records = &s.Records2;
            setFileName = &s.DataFileName2;
            fileInfo = &s.FileInfo2;
            last = s.RecordCount2;
            break;
        case 3:
            records = &s.Records2;
            setFileName = &s.FilterFileName;
            fileInfo = &s.FilterFileInfo;
            last = s.FilterCount;
            break;
        default:
            return false;
    }
    if (last >= static_cast<int>(records->size()))
        return false;
    const std::string listingName = ListingName(s, ui, *setFileName);
    if (listingName.empty())
        return false;

    const bool forExcel = s.ListingForExcel != 0;
    const bool withMemo = s.ViewMode == 1 && s.ListingMemos != 0;
    ReportWriter out;
    out.EndLine();
    if (s.ListingFileInfo != 0)
        out.Text(*fileInfo).EndLine().EndLine();
    for (int k = first; k <= last; ++k)
        WriteListingRecord(out, (*records)[static_cast<size_t>(k)], forExcel, withMemo);
    out.EndLine();
    return FlushListing(s, ui, *setFileName, listingName, out);
}

bool WriteGridListing(KovaState& s, KovaUi& ui, const std::string& setFileName,
                      const GridListing& grid) {
    const std::string listingName = ListingName(s, ui, setFileName);
    if (listingName.empty())
        return false;
    const size_t cells = grid.twoCoder ? 10 : 9;
    const bool forExcel = s.ListingForExcel != 0;
    ReportWriter out;
    out.EndLine();
    for (const std::vector<std::string>& row : grid.rows) {
        auto cell = [&row](size_t column) -> std::string_view {
            return column - 1 < row.size() ? std::string_view(row[column - 1]) : "";
        };
        if (forExcel) {
            for (size_t c = 1; c <= cells; ++c)
                out.Text(cell(c)).Text("^");
        } else {
            for (size_t c = 1; c < cells; ++c) {
                if (c == 1 || c == 3)
                    NumberCell(out, cell(c), kNumberWidth);
                else
                    out.RightField(cell(c), kTextWidth);
                out.Text("|");
            }
            TextColumn(out, cell(cells), grid.twoCoder ? 91 : 80);
        }
        out.EndLine();
    }
    out.EndLine();
    return FlushListing(s, ui, setFileName, listingName, out);
}

}  // namespace core
