#include "store/worksheet_import.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "store/error_numbers.h"
#include "store/record_edit.h"
#include "store/text.h"
#include "store/windows1252.h"

namespace core {

namespace {

struct Civil {
    long long year;
    unsigned month, day;
};

Civil CivilFromDays(long long z) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {y + (m <= 2), m, d};
}

// Serial days beyond any workbook's calendar are shown as numbers.
constexpr double kLastSerial = 3e6;

// A serial day as a day counted from 30 December 1899 in the calendar; the
// phantom day counts as 28 February, the day it follows.
long long CalendarDay(long long serialDay) {
    return serialDay >= 1 && serialDay < kPhantomDay ? serialDay + 1 : serialDay;
}

// A serial number split into its day and the second of that day, rounded to
// the second.
struct DayTime {
    long long day;
    long long seconds;
};

DayTime SplitSerial(double serial) {
    long long days = static_cast<long long>(std::floor(serial));
    long long seconds = std::llround((serial - static_cast<double>(days)) * 86400.0);
    if (seconds >= 86400) {
        ++days;
        seconds -= 86400;
    }
    return {days, seconds};
}

bool InCalendar(double serial) {
    return std::isfinite(serial) && serial >= 0 && serial <= kLastSerial;
}

std::string TimeText(long long seconds) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return buf;
}

// "dd-MM-yyyy" of a serial day from 1 on, as the workbook shows it (the
// phantom day as 29-02-1900).
std::string DateText(long long serialDay) {
    if (serialDay == kPhantomDay)
        return "29-02-1900";
    const Civil c = CivilFromDays(CalendarDay(serialDay) + kSerialEpoch);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%02u-%02u-%04lld", c.day, c.month, c.year);
    return buf;
}

// A number in a date or time format as readable text: "H:mm:ss" below one
// day, else the date, followed by the time unless it is midnight. A number
// outside the calendar (negative, too large) keeps its number text.
std::string SerialText(double serial) {
    if (!InCalendar(serial))
        return NumberText(serial);
    const DayTime dt = SplitSerial(serial);
    if (serial < 1)
        return TimeText(dt.seconds + dt.day * 86400);
    std::string text = DateText(dt.day);
    if (dt.seconds != 0)
        text += " " + TimeText(dt.seconds);
    return text;
}

// A duration in hours, minutes and seconds counted from 0, hours past 24
// included ("25:30:00").
std::string ElapsedText(double serial) {
    if (!std::isfinite(serial) || std::fabs(serial) > kLastSerial)
        return NumberText(serial);
    const long long seconds = std::llround(std::fabs(serial) * 86400.0);
    return (serial < 0 && seconds != 0 ? "-" : "") + TimeText(seconds);
}

// A text that is a number as a whole (blanks around it allowed).
bool TextNumber(const std::string& text, double& value) {
    const std::string t = Trim(text);
    if (t.empty())
        return false;
    const char* begin = t.c_str();
    char* end = nullptr;
    value = std::strtod(begin, &end);
    return end == begin + t.size() && std::isfinite(value);
}

// Sequence numbers of the worksheet's V2 column.
int16_t SequenceNumber(const CellValue& v, int row, int column) {
    double value = 0;
    switch (v.kind) {
        case CellValue::Kind::Empty:
            return 0;
        case CellValue::Kind::Number:
        case CellValue::Kind::Date:
        case CellValue::Kind::Elapsed:
            value = v.number;
            break;
        case CellValue::Kind::Text:
            if (!TextNumber(v.text, value))
                throw WorkbookError(kErrTypeMismatch,
                                    "Type mismatch: the cell in row " + std::to_string(row) +
                                        ", column " + std::to_string(column) + " (\"" +
                                        QuoteForMessage(v.text) + "\") is not a number for V2");
            break;
    }
    try {
        return RoundTo16(value);
    } catch (const Overflow16&) {
        throw WorkbookError(kErrOverflow, "Overflow: the cell in row " + std::to_string(row) +
                                              ", column " + std::to_string(column) +
                                              " holds a number too large for V2");
    }
}

// A cell's line breaks (LF, CR LF or a lone CR) in the form the data file
// keeps: CR LF in the protocol text, one blank in the single-line fields. So
// the imported set is the one its saved file reads back as.
std::string FieldText(std::string cell, bool multiLine) {
    if (cell.find_first_of("\r\n") == std::string::npos)
        return cell;
    std::string out;
    out.reserve(cell.size() + 8);
    for (size_t i = 0; i < cell.size(); ++i) {
        const char c = cell[i];
        if (c != '\r' && c != '\n') {
            out.push_back(c);
            continue;
        }
        if (c == '\r' && i + 1 < cell.size() && cell[i + 1] == '\n')
            ++i;
        out.append(multiLine ? "\r\n" : " ");
    }
    return out;
}

// A 16-bit number typed into a box, for the dialog's check.
bool BoxNumber(const std::string& text, int16_t& value) {
    try {
        value = ReadInt16(text);
        return true;
    } catch (const Overflow16&) {
        return false;
    }
}

// A row number typed into a box (its numeric prefix, to the nearest whole
// number), within the rows a workbook can have.
bool RowNumber(const std::string& text, int& value) {
    const double number = std::nearbyint(ReadNumber(text));
    if (!(number >= 0 && number <= kMaxWorkbookRows))
        return false;
    value = static_cast<int>(number);
    return true;
}

}  // namespace

std::string NumberText(double value) {
    char buf[64];
    auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    std::string text(buf, result.ptr);
    return text == "-0" ? "0" : text;
}

std::string DateOrText(const CellValue& Value) {
    // Time codes in seconds stay numbers; a fraction of a day is a time of
    // day. Everything else reads as in the other fields.
    if (Value.kind == CellValue::Kind::Number && Value.number >= 0 && Value.number < 1)
        return SerialText(Value.number);
    return CellText(Value);
}

std::string CellText(const CellValue& value) {
    switch (value.kind) {
        case CellValue::Kind::Number:
            return NumberText(value.number);
        case CellValue::Kind::Date:
            return SerialText(value.number);
        case CellValue::Kind::Elapsed:
            return ElapsedText(value.number);
        case CellValue::Kind::Text:
            return value.text;
        case CellValue::Kind::Empty:
            break;
    }
    return "";
}

void DateTimeCodes::Note(int record, const CellValue& value) {
    if (value.kind != CellValue::Kind::Date || !InCalendar(value.number) || value.number < 1)
        return;
    const DayTime dt = SplitSerial(value.number);
    dated_.push_back({record, CalendarDay(dt.day) * 86400 + dt.seconds});
    const long long day = CalendarDay(dt.day);
    if (firstSerialDay_ == 0 || day < CalendarDay(firstSerialDay_) ||
        (day == CalendarDay(firstSerialDay_) && dt.day < firstSerialDay_))
        firstSerialDay_ = dt.day;
}

std::string DateTimeCodes::Apply(RecordSet& records) const {
    if (dated_.empty())
        return "";
    const long long start = CalendarDay(firstSerialDay_) * 86400;
    for (const auto& [record, second] : dated_)
        records[static_cast<size_t>(record)].V1 = TimeText(second - start);
    return " | first date: " + DateText(firstSerialDay_);
}

std::optional<std::string> TakeWorksheetAnswers(KovaState& s, const std::string (&columns)[8],
                                                const std::string& fromRow,
                                                const std::string& toRow, int sheet,
                                                const std::string& sheetName) {
    std::array<int16_t, 9> mapped{};
    for (int i = 0; i < 8; ++i) {
        if (columns[i].empty())
            continue;
        int16_t column = 0;
        if (!BoxNumber(columns[i], column) || column < 0)
            return "The column of V" + std::to_string(i + 1) +
                   " must be a number from 0 (not read) to 32767.";
        mapped[i + 1] = column;
    }
    int from = 0, to = 0;
    if (!RowNumber(fromRow, from) || from < 1)
        return "The first row must be a number from 1 to " + std::to_string(kMaxWorkbookRows) + ".";
    if (!RowNumber(toRow, to) || to < from - 1)
        return std::string(
            "The last row must be a number not below the first row less one (which reads no "
            "row).");
    if (to - from + 1 > kMaxRecords)
        return "At most " + std::to_string(kMaxRecords) + " rows can be read into a set.";
    if (sheet < 0)
        return std::string("Choose the worksheet to read.");
    s.ExcelColumns = mapped;
    s.ExcelFirstRow = from;
    s.ExcelLastRow = to;
    s.ExcelSheet = sheet;
    s.ScratchText = sheetName;
    return std::nullopt;
}

namespace {

// The wait window of the import: while the reader works it shows the row the
// read starts from (after a quarter of a second, so that a quick read does
// not flash it), then each row as its record is made.
class ImportWait {
public:
    explicit ImportWait(KovaUi& ui) : ui_(ui) {}
    ~ImportWait() { Hide(); }
    ImportWait(const ImportWait&) = delete;
    ImportWait& operator=(const ImportWait&) = delete;

    // What the reader calls while it works.
    std::function<void()> WhileReading() {
        return [this] {
            if (shown_ || std::chrono::steady_clock::now() - started_ > kQuiet) {
                ui_.ShowWait("record no.", number_);
                shown_ = true;
            }
        };
    }
    // A read of the cells from `firstRow` begins.
    void Reading(int firstRow) {
        number_ = SignedNumber(firstRow);
        started_ = std::chrono::steady_clock::now();
    }
    // Record `k` of `count` is made from row `row`: shown at once, then one
    // in 256 and the last.
    void Record(int k, int count, int row) {
        if (!shown_ || (k & 255) == 1 || k == count) {
            ui_.ShowWait("record no.", SignedNumber(row));
            shown_ = true;
        }
    }
    void Hide() {
        if (shown_)
            ui_.HideWait();
        shown_ = false;
    }

private:
    static constexpr std::chrono::milliseconds kQuiet{250};
    KovaUi& ui_;
    bool shown_ = false;
    std::string number_ = "0";
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
};

// The sheet and rows of the dialog's answer, checked against the workbook.
void CheckSheetAndRows(const KovaState& s, size_t sheetCount, const std::string& fileName) {
    const int count = s.ExcelLastRow - s.ExcelFirstRow + 1;
    if (s.ExcelSheet < 0 || static_cast<size_t>(s.ExcelSheet) >= sheetCount)
        throw NoSuchWorksheet(s.ExcelSheet, fileName);
    if (s.ExcelFirstRow < 1 || s.ExcelLastRow > kMaxWorkbookRows || count < 0 ||
        count > kMaxRecords)
        throw WorkbookError(kErrSubscript, "Subscript out of range: rows " +
                                               std::to_string(s.ExcelFirstRow) + " to " +
                                               std::to_string(s.ExcelLastRow));
}

// The cells to read for the fields: only the mapped columns, each once; a
// column past the last a workbook can have is not read (its fields are
// empty).
struct ColumnMap {
    static constexpr size_t kNotRead = 9;
    CellRequest request;
    std::array<size_t, 9> place{};              // field j: its column's place in the request
    std::array<int, kNotRead + 1> lastField{};  // a place: the last field that takes it

    CellValue* Cell(std::vector<CellValue>& cells, int k, int j) const {
        if (place[j] == kNotRead)
            return nullptr;
        return &cells[static_cast<size_t>(k - 1) * request.columns.size() + place[j]];
    }
};

ColumnMap MapColumns(const KovaState& s) {
    ColumnMap map;
    map.request.sheet = s.ExcelSheet;
    map.request.firstRow = s.ExcelFirstRow;
    map.request.rowCount = s.ExcelLastRow - s.ExcelFirstRow + 1;
    map.place.fill(ColumnMap::kNotRead);
    std::vector<int>& columns = map.request.columns;
    for (int j = 1; j <= 8; ++j) {
        const int column = s.ExcelColumns[j];
        if (column == 0 || column > kMaxWorkbookColumns)
            continue;
        auto it = std::find(columns.begin(), columns.end(), column);
        map.place[j] = static_cast<size_t>(it - columns.begin());
        if (it == columns.end())
            columns.push_back(column);
        map.lastField[map.place[j]] = j;
    }
    return map;
}

// The cells of the map's request, through the reader.
std::vector<CellValue> ReadCells(Workbook& book, const ColumnMap& map, ImportWait& wait,
                                 const std::string& fileName) {
    const CellRequest& request = map.request;
    if (request.rowCount <= 0 || request.columns.empty())
        return {};
    wait.Reading(request.firstRow);
    std::vector<CellValue> cells = book.Cells(request);
    if (cells.size() != static_cast<size_t>(request.rowCount) * request.columns.size())
        throw UnreadableWorkbook(fileName, "the reader gave too few cells");
    return cells;
}

// A cell named by several fields brings its text in once for each: all of it
// is held to the bound before any record is made.
void CheckFieldText(const KovaState& s, const ColumnMap& map, std::vector<CellValue>& cells,
                    const std::string& fileName) {
    CellTextBudget budget(fileName);
    for (int k = 1; k <= map.request.rowCount; ++k)
        for (int j = 1; j <= 8; ++j)
            if (const CellValue* v = map.Cell(cells, k, j); j != 2 && v != nullptr)
                budget.Take(v->text.size(), s.ExcelFirstRow + k - 1, s.ExcelColumns[j]);
}

// One record a row, its fields from their cells; each cell's text moves into
// the last field that takes it. The V1 cells that hold dates are noted in
// `dates`.
ImportedSet MakeRecords(const KovaState& s, const ColumnMap& map, std::vector<CellValue>& cells,
                        DateTimeCodes& dates, ImportWait& wait) {
    const int count = map.request.rowCount;
    ImportedSet set;
    set.count = static_cast<int16_t>(count);
    set.records.resize(static_cast<size_t>(count) + 1);
    for (int k = 1; k <= count; ++k) {
        const int r = s.ExcelFirstRow + k - 1;
        wait.Record(k, count, r);
        ProtocolRecord& rec = set.records[k];
        rec.V0 = static_cast<int16_t>(k);
        rec.V2 = 1;
        for (int j = 1; j <= 8; ++j) {
            const int column = s.ExcelColumns[j];
            if (column == 0)
                continue;
            CellValue empty;
            CellValue* cell = map.Cell(cells, k, j);
            CellValue& v = cell == nullptr ? empty : *cell;
            if (v.kind == CellValue::Kind::Text)
                set.replaced += v.replaced;
            if (j == 2) {
                rec.V2 = SequenceNumber(v, r, column);
                continue;
            }
            if (j == 1)
                dates.Note(k, v);
            std::string text;
            if (v.kind != CellValue::Kind::Text)
                text = j == 1 ? DateOrText(v) : CellText(v);
            else if (map.lastField[map.place[j]] == j)
                text = std::move(v.text);
            else
                text = v.text;
            if (j == 1)
                rec.V1 = FieldText(std::move(text), false);
            else
                *TextField(rec, j) = FieldText(std::move(text), j == 8);
        }
    }
    return set;
}

}  // namespace

bool ImportExcelSheet(KovaState& s, KovaUi& ui, ImportDialogs& dialogs, const std::string& FileName,
                      const WorkbookOpener& open) {
    s.DialogCancelled = 0;
    std::string dataFileName;
    if (!ImportedFileName(ui, FileName, dataFileName) ||
        !MayImportInto(s, ui, FileName, dataFileName))
        return false;
    ImportWait wait(ui);
    try {
        std::unique_ptr<Workbook> book = open(FileName, wait.WhileReading());
        std::vector<std::string> sheets = book->SheetNames();
        wait.Hide();
        if (sheets.empty())
            throw WorkbookError(
                kErrSubscript,
                "Subscript out of range: the workbook holds no worksheet (" + FileName + ")");
        if (!dialogs.AskWorksheetOptions(s, sheets)) {
            s.DialogCancelled = 1;
            return false;
        }
        const std::string sheet = s.ScratchText;
        CheckSheetAndRows(s, sheets.size(), FileName);
        const ColumnMap map = MapColumns(s);
        std::vector<CellValue> cells = ReadCells(*book, map, wait, FileName);
        CheckFieldText(s, map, cells, FileName);
        DateTimeCodes dates;
        ImportedSet set = MakeRecords(s, map, cells, dates, wait);
        cells = {};
        wait.Hide();
        // Sequence numbers read from a column are the user's own; without one
        // they are worked out from the times and actors.
        if (s.ExcelColumns[2] == 0)
            NumberSequence(set.records, set.count);
        set.fileInfo = dataFileName + " | worksheet: " + sheet + dates.Apply(set.records);
        return InstallImportedSet(s, ui, dataFileName, std::move(set));
    } catch (const WorkbookError& e) {
        wait.Hide();
        ShowImportError(ui, e.number, e.what());
        return false;
    }
}

}  // namespace core
