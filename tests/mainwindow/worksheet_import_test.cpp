#include "store/worksheet_import.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <xlsxwriter.h>
#include <zip.h>

#include <chrono>
#include <cstring>
#include <functional>

#include <filesystem>
#include <map>

#include "mainwindow/daily_fixture.h"
#include "mainwindow/import_commands.h"
#include "mainwindow/import_fixture.h"
#include "sheetreader/sheet_reader.h"
#include "store/open_save.h"
#include "store/text.h"

namespace {

namespace fs = std::filesystem;
using Kind = core::CellValue::Kind;

core::CellValue Num(double v) {
    return {Kind::Number, v, ""};
}
core::CellValue Text(std::string t) {
    return {Kind::Text, 0, std::move(t)};
}
core::CellValue Date(double v) {
    return {Kind::Date, v, ""};
}
core::CellValue Elapsed(double v) {
    return {Kind::Elapsed, v, ""};
}

TEST(WorksheetCells, DatesAndNumbersInTheirFixedForms) {
    struct Case {
        core::CellValue value;
        const char* forV1;
        const char* forText;
    };
    const Case cases[] = {
        {Num(0.5), "12:00:00", "0.5"},
        {Num(0), "0:00:00", "0"},
        {Num(0.75 + 1.0 / 86400), "18:00:01", "0.750011574074074"},
        {Num(1), "1", "1"},
        {Num(65), "65", "65"},
        {Num(45000.75), "45000.75", "45000.75"},
        {Num(0.99999999999), "24:00:00", "0.99999999999"},
        {Num(-1.5), "-1.5", "-1.5"},
        {Num(1.0 / 3), "8:00:00", "0.333333333333333"},
        {Num(123456789012345678.0), "1.23456789012346e+17", "1.23456789012346e+17"},
        {Date(core::SerialDate(2024, 2, 29)), "29-02-2024", "29-02-2024"},
        {Date(core::SerialDate(1900, 3, 1, 6, 30, 15)), "01-03-1900 6:30:15", "01-03-1900 6:30:15"},
        {Date(core::SerialDate(1900, 2, 28, 6)), "28-02-1900 6:00:00", "28-02-1900 6:00:00"},
        {Date(0.5), "12:00:00", "12:00:00"},
        {Date(1), "01-01-1900", "01-01-1900"},
        {Date(59.25), "28-02-1900 6:00:00", "28-02-1900 6:00:00"},
        {Date(60), "29-02-1900", "29-02-1900"},
        {Date(61), "01-03-1900", "01-03-1900"},
        {Elapsed(1.0625), "25:30:00", "25:30:00"},
        {Elapsed(0.25), "6:00:00", "6:00:00"},
        {Text("10:05"), "10:05", "10:05"},
        {Text(""), "", ""},
        {{}, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.forText);
        EXPECT_EQ(core::DateOrText(c.value), c.forV1);
        EXPECT_EQ(core::CellText(c.value), c.forText);
    }
    EXPECT_EQ(core::Utf8ToProgramText("Caf\xC3\xA9 \xE2\x82\xAC \xE4\xB8\xAD \xC3"),
              "Caf\xE9 \x80 ? ?");
}

TEST(WorksheetDialog, AnswersAreCheckedBeforeTheDialogCloses) {
    struct Case {
        const char* name;
        std::string column1;
        std::string from, to;
        std::string sheet;
        bool taken;
        int place = 1;  // the sheet's place in the list
    };
    const Case cases[] = {
        {"plain", "1", "2", "11", "S", true},
        {"numeric prefix", "3abc", "1", "1", "S", true},
        {"empty range", "", "5", "4", "S", true},
        {"largest range", "", "1", "32767", "S", true},
        {"negative column", "-1", "1", "1", "S", false},
        {"column past 16 bits", "40000", "1", "1", "S", false},
        {"row 0", "1", "0", "1", "S", false},
        {"range below empty", "1", "5", "3", "S", false},
        {"too many rows", "1", "2", "32769", "S", false},
        {"too many rows past 16 bits", "1", "1", "99999", "S", false},
        {"rows past 16 bits", "1", "10000", "40000", "S", true},
        {"first row past 16 bits", "1", "70000", "70000", "S", true},
        {"last row of the workbook", "1", "1048576", "1048576", "S", true},
        {"row past the workbook", "1", "1048577", "1048577", "S", false},
        {"no sheet", "1", "1", "1", "", false, -1},
        {"a sheet named \"\"", "1", "1", "1", "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        core::KovaState s;
        s.ExcelColumns[8] = 9;
        std::string columns[8] = {c.column1, "", "x", "", "", "", "", "4"};
        auto message = core::TakeWorksheetAnswers(s, columns, c.from, c.to, c.place, c.sheet);
        EXPECT_EQ(!message.has_value(), c.taken);
        if (c.taken) {
            EXPECT_EQ(s.ExcelColumns[1], c.column1.empty() ? 0 : core::ReadInt16(c.column1));
            EXPECT_EQ(s.ExcelColumns[3], 0);  // no numeric prefix maps nothing
            EXPECT_EQ(s.ExcelColumns[8], 4);
            EXPECT_EQ(s.ScratchText, c.sheet);
            EXPECT_EQ(s.ExcelSheet, 1);
            EXPECT_EQ(s.ExcelFirstRow, std::stoi(c.from));
            EXPECT_EQ(s.ExcelLastRow, std::stoi(c.to));
        } else {
            EXPECT_EQ(s.ExcelColumns[8], 9);  // nothing taken
        }
    }
}

struct WorksheetImport : ::testing::Test {
    test::TempDir dir;
    core::KovaState s;
    test::FakeUi ui;
    test::ScriptedImportDialogs options;
    test::FakeWorkbook book;

    bool Import(const std::string& name) {
        return core::ImportExcelSheet(s, ui, options, dir.File(name), book.Opener());
    }
    void Columns(std::initializer_list<std::pair<int, const char*>> map) {
        for (auto& c : options.columns)
            c.clear();
        for (auto [field, column] : map)
            options.columns[field - 1] = column;
    }
};

TEST_F(WorksheetImport, RowsBecomeRecordsWithMappedColumns) {
    for (int r = 1; r <= 12; ++r) {
        book.cells[{r, 1}] = Num(0.5 + r / 1440.0);
        book.cells[{r, 2}] = Text(r % 2 ? "Anna" : "Bo");
        book.cells[{r, 3}] = Text("line " + std::to_string(r));
        book.cells[{r, 4}] = Num(r * 1.5);
    }
    // A cell's line breaks take the program's form, so that the set in memory
    // is the one its saved file reads back as.
    book.cells[{11, 1}] = Text("10:00\nsharp");
    book.cells[{11, 2}] = Text("Anna\r\nBo");
    book.cells[{11, 3}] = Text("one\ntwo\r\nthree\rfour");
    Columns({{1, "1"}, {3, "2"}, {8, "3"}, {6, "4"}});
    options.fromRow = "2";
    options.toRow = "11";
    options.sheet = "Data";
    ASSERT_TRUE(Import("data.xls"));
    EXPECT_EQ(options.offeredSheets, (std::vector<std::string>{"Sheet1", "Data"}));
    ASSERT_EQ(s.RecordCount1, 10);
    for (int k = 1; k <= 10; ++k) {
        const core::ProtocolRecord& r = s.Records1[k];
        EXPECT_EQ(r.V0, k);
        EXPECT_EQ(r.V2, 1);  // every record a new actor: the numbering starts again
        if (k < 10) {
            EXPECT_EQ(r.V8, "line " + std::to_string(k + 1));
        }
        EXPECT_EQ(r.V4, "");
        EXPECT_EQ(r.V6, core::NumberText((k + 1) * 1.5));
    }
    EXPECT_EQ(s.Records1[1].V1, "12:02:00");
    EXPECT_EQ(s.Records1[10].V1, "10:00 sharp");
    EXPECT_EQ(s.Records1[10].V3, "Anna Bo");
    EXPECT_EQ(s.Records1[10].V8, "one\r\ntwo\r\nthree\r\nfour");
    EXPECT_EQ(s.DataFileName1, dir.File("data.kov"));
    EXPECT_EQ(s.FileInfo1, dir.File("data.kov") + " | worksheet: Data");
    EXPECT_EQ(ui.waitVisible, false);
    EXPECT_EQ(ui.waitLabel3, "record no.");

    const auto back = test::ReadDataBack(dir.File("data.kov"));
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(back.records, s.Records1);
}

TEST_F(WorksheetImport, SequenceColumnIsKeptAndNumberedTextIsTaken) {
    book.cells[{1, 1}] = Num(2.5);
    book.cells[{2, 1}] = Text(" 7 ");
    book.cells[{3, 1}] = Num(3.5);
    Columns({{2, "1"}, {3, "2"}});
    options.toRow = "4";
    ASSERT_TRUE(Import("seq.xlsx"));
    ASSERT_EQ(s.RecordCount1, 4);
    EXPECT_EQ(s.Records1[1].V2, 2);  // halves to the even number
    EXPECT_EQ(s.Records1[2].V2, 7);
    EXPECT_EQ(s.Records1[3].V2, 4);
    EXPECT_EQ(s.Records1[4].V2, 0);                   // an empty cell
    EXPECT_EQ(s.DataFileName1, dir.File("seq.kov"));  // the whole extension goes
}

// Time codes from dates order and subtract as the moments they stand for.
TEST_F(WorksheetImport, DatesInTheTimeColumnCountHoursFromTheFirstDate) {
    const core::CellValue v1[] = {
        Date(core::SerialDate(2024, 3, 15, 9, 30, 5)),
        Date(core::SerialDate(2024, 3, 15, 23)),
        Date(core::SerialDate(2024, 3, 16, 1, 30)),
        Date(core::SerialDate(2024, 3, 14)),
        Date(0.25),
        Elapsed(1.0625),
        Num(65),
        Text("15-03-2024 9:30:05"),
    };
    for (int r = 0; r < 8; ++r) {
        book.cells[{r + 1, 1}] = v1[r];
        book.cells[{r + 1, 2}] = v1[r];
    }
    Columns({{1, "1"}, {4, "2"}});
    options.toRow = "8";
    ASSERT_TRUE(Import("dated.xlsx"));
    std::vector<std::string> times;
    for (int k = 1; k <= 8; ++k)
        times.push_back(s.Records1[k].V1);
    EXPECT_EQ(times, (std::vector<std::string>{"33:30:05", "47:00:00", "49:30:00", "0:00:00",
                                               "6:00:00", "25:30:00", "65", "15-03-2024 9:30:05"}));
    EXPECT_EQ(s.Records1[1].V4, "15-03-2024 9:30:05");
    EXPECT_EQ(s.Records1[4].V4, "14-03-2024");
    EXPECT_EQ(s.FileInfo1, dir.File("dated.kov") + " | worksheet: Sheet1 | first date: 14-03-2024");
}

// The phantom 29 February 1900 is the day it follows: both are 28 February.
TEST_F(WorksheetImport, ThePhantomDayCountsAsTheDayItFollows) {
    book.cells[{1, 1}] = Date(59.25);
    book.cells[{2, 1}] = Date(60.25);
    Columns({{1, "1"}});
    options.toRow = "2";
    ASSERT_TRUE(Import("phantom.xlsx"));
    EXPECT_EQ(s.Records1[1].V1, "6:00:00");
    EXPECT_EQ(s.Records1[2].V1, "6:00:00");
}

TEST_F(WorksheetImport, EmptyRangeGivesAnEmptySavedSet) {
    options.fromRow = "5";
    options.toRow = "4";
    ASSERT_TRUE(Import("none.xls"));
    EXPECT_EQ(s.RecordCount1, 0);
    EXPECT_EQ(s.CurrentRecord1, 0);
    EXPECT_EQ(test::ReadBytes(dir.File("none.kov")).substr(0, 21), "##00000\r\n 0 MEMO 0 \r\n");
}

TEST_F(WorksheetImport, FailuresAndCancelChangeNothing) {
    ASSERT_TRUE(
        core::OpenDataFile(s, ui, test::WriteDataFile(dir.File("open.kov"), test::NumberedSet(3))));
    test::WriteBytes(dir.File("book.kov"), "older");
    const core::KovaState before = s;
    const auto files = test::Snapshot(dir.path());
    book.cells[{1, 1}] = Text("one");
    book.cells[{1, 2}] = Num(70000);
    book.cells[{1, 3}] = book.cells[{2, 3}] = Text(std::string(core::kMaxFieldBytes, 't'));
    struct Case {
        const char* name;
        const char* column2;
        const char* toRow;
        const char* sheet;
        bool cancel;
        bool noSheets;
        const char* message;
        core::Answer replace = core::Answer::Yes;  // the question before book.kov is replaced
        const char* everyText = "";                // the column of V1 and V3..V8
    };
    const Case cases[] = {
        {"cancel", "", "1", "", true, false, nullptr},
        {"book.kov is not to be replaced", "", "1", "", false, false, nullptr, core::Answer::No},
        {"text in the sequence column", "1", "1", "", false, false, "Error #  13"},
        {"sequence number too large", "2", "2", "Data", false, false, "Error #  6"},
        {"a whole field of text in the sequence column", "3", "1", "", false, false, "Error #  13"},
        {"missing sheet", "", "1", "#2", false, false, "Error #  9"},
        {"no worksheet at all", "", "1", "", false, true, "Error #  9"},
        {"text past 64 MB, a cell counted in every field", "", "2", "", false, false,
         "Error #  1004", core::Answer::Yes, "3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ui.messages.clear();
        ui.answers = {c.replace};
        Columns({{2, c.column2}});
        for (int field : {1, 3, 4, 5, 6, 7, 8})
            options.columns[field - 1] = c.everyText;
        options.toRow = c.toRow;
        options.sheet = c.sheet;
        options.cancel = c.cancel;
        book.names = c.noSheets ? std::vector<std::string>{} : std::vector<std::string>{"Data"};
        EXPECT_FALSE(Import("book.xls"));
        if (c.message == nullptr) {
            EXPECT_TRUE(ui.messages.empty());
        } else {
            ASSERT_EQ(ui.messages.size(), 1u);
            EXPECT_EQ(ui.messages[0].rfind(std::string("Error|") + c.message, 0), 0u)
                << ui.messages[0].substr(0, 200);
            EXPECT_LT(ui.messages[0].size(), 400u);  // it quotes a cell cut short
        }
        EXPECT_EQ(s.Records1, before.Records1);
        EXPECT_EQ(s.DataFileName1, before.DataFileName1);
        EXPECT_EQ(s.FileInfo1, before.FileInfo1);
        EXPECT_EQ(s.Main, before.Main);
        EXPECT_FALSE(ui.waitVisible);
    }
    EXPECT_EQ(test::Snapshot(dir.path()), files);
}

// ---- real workbooks ----------------------------------------------------------

struct RealWorkbooks : ::testing::Test {
    test::TempDir dir;
    core::KovaState s;
    test::FakeUi ui;
    test::ScriptedImportDialogs options;
    test::ScriptedChooser dialog;

    std::string CopyFixture(const std::string& name) {
        fs::copy_file(fs::path(KOVA_SOURCE_DIR) / "tests/store/data" / name, dir.path() / name);
        return dir.File(name);
    }

    // A workbook of two worksheets around a chart sheet, with shared and
    // inline strings, numbers, times and dates.
    std::string MakeXlsx(const std::string& name) {
        const std::string path = dir.File(name);
        lxw_workbook* wb = workbook_new(path.c_str());
        lxw_worksheet* first = workbook_add_worksheet(wb, "Talk");
        lxw_chartsheet* chartSheet = workbook_add_chartsheet(wb, "Chart");
        lxw_worksheet* second = workbook_add_worksheet(wb, "Caf\xC3\xA9");
        lxw_format* time = workbook_add_format(wb);
        format_set_num_format(time, "h:mm:ss");
        lxw_format* date = workbook_add_format(wb);
        format_set_num_format(date, "dd/mm/yyyy");
        lxw_format* builtinDate = workbook_add_format(wb);
        format_set_num_format_index(builtinDate, 14);
        lxw_format* money = workbook_add_format(wb);
        format_set_num_format(money, "\"d\"0.00");
        worksheet_write_string(first, 0, 0, "time", nullptr);
        worksheet_write_number(first, 1, 0, 0.5, time);
        worksheet_write_string(first, 1, 1, "Anna", nullptr);
        worksheet_write_string(first, 1, 2, "D\xC3\xA9j\xC3\xA0 vu \xE2\x82\xAC", nullptr);
        worksheet_write_number(first, 1, 3, 4, nullptr);
        lxw_datetime dt = {2024, 2, 29, 13, 45, 30};
        worksheet_write_datetime(first, 2, 0, &dt, date);
        worksheet_write_number(first, 2, 1, 12.25, money);
        worksheet_write_number(first, 2, 2, 45000, builtinDate);
        worksheet_write_string(first, 2, 3, "6", nullptr);
        worksheet_write_string(first, 5, 0, "a\r\nb_x", nullptr);
        worksheet_write_boolean(first, 3, 1, 1, nullptr);
        lxw_format* elapsed = workbook_add_format(wb);
        format_set_num_format(elapsed, "[h]:mm:ss");
        worksheet_write_number(first, 3, 2, 1.0625, elapsed);
        worksheet_write_number(second, 0, 0, 1, nullptr);
        lxw_chart* chart = workbook_add_chart(wb, LXW_CHART_LINE);
        chart_add_series(chart, nullptr, "=Talk!$D$2:$D$3");
        chartsheet_set_chart(chartSheet, chart);
        EXPECT_EQ(workbook_close(wb), LXW_NO_ERROR);
        return path;
    }
};

// Rows 1..rows, columns 1..columns of a sheet, read as the import reads them.
struct SheetCells {
    std::vector<core::CellValue> cells;
    int columns;
    const core::CellValue& operator()(int row, int column) const {
        return cells.at(static_cast<size_t>((row - 1) * columns + column - 1));
    }
};
SheetCells ReadCells(const std::string& path, int sheet, int rows, int columns) {
    core::CellRequest r{sheet, 1, rows, {}};
    for (int c = 1; c <= columns; ++c)
        r.columns.push_back(c);
    return {core::OpenWorkbookInReader(path, {})->Cells(r), columns};
}

TEST_F(RealWorkbooks, XlsxSheetsStringsNumbersAndDates) {
    const std::string path = MakeXlsx("talk.xlsx");
    EXPECT_EQ(core::OpenWorkbookInReader(path, {})->SheetNames(),
              (std::vector<std::string>{"Talk", "Caf\xE9"}));
    const SheetCells cell = ReadCells(path, 0, 9, 8);
    EXPECT_EQ(core::CellText(cell(1, 1)), "time");
    EXPECT_EQ(core::DateOrText(cell(2, 1)), "12:00:00");
    EXPECT_EQ(core::CellText(cell(2, 3)), "D\xE9j\xE0 vu \x80");
    EXPECT_EQ(core::CellText(cell(3, 1)), "29-02-2024 13:45:30");
    EXPECT_EQ(core::CellText(cell(3, 2)), "12.25");  // "d" in quotes is no date
    EXPECT_EQ(core::CellText(cell(3, 3)), "15-03-2023");
    EXPECT_EQ(core::CellText(cell(4, 2)), "True");
    EXPECT_EQ(cell(4, 3).kind, Kind::Elapsed);
    EXPECT_EQ(cell(4, 3).number, 1.0625);
    EXPECT_EQ(cell(3, 1).kind, Kind::Date);
    EXPECT_EQ(core::CellText(cell(6, 1)), "a\r\nb_x");  // CR is stored as _x000D_
    EXPECT_EQ(cell(9, 8).kind, Kind::Empty);
    EXPECT_EQ(core::CellText(ReadCells(path, 1, 1, 1)(1, 1)), "1");
    EXPECT_THROW(ReadCells(path, 2, 1, 1), core::WorkbookError);
}

TEST_F(RealWorkbooks, XlsCellsThroughTheImportCommand) {
    const std::string path = CopyFixture("lesson.xls");
    options.columns[0] = "1";
    options.columns[1] = "4";
    options.columns[2] = "2";
    options.columns[7] = "3";
    options.fromRow = "2";
    options.toRow = "4";
    options.sheet = "Lesson";
    dialog.answers = {path};
    ASSERT_TRUE(core::ReadExcelfile(s, ui, dialog, options));
    EXPECT_EQ(options.offeredSheets, (std::vector<std::string>{"Lesson", "Notes"}));
    EXPECT_EQ(dialog.requests[0].filter, core::kWorksheetFilter);
    EXPECT_EQ(s.ExcelFileName, path);
    ASSERT_EQ(s.RecordCount1, 3);
    EXPECT_EQ(s.Records1[1].V1, "10:00:00");
    EXPECT_EQ(s.Records1[2].V1, "10:00:05");
    EXPECT_EQ(s.Records1[3].V3, "Caf\xE9");
    EXPECT_EQ(s.Records1[3].V8, "D\xE9j\xE0 vu");
    EXPECT_EQ(s.Records1[2].V2, 2);
    EXPECT_EQ(s.FileInfo1, dir.File("lesson.kov") + " | worksheet: Lesson");

    // Row 5: a date and time, a number, a date, and text in the V2 column.
    const SheetCells cell = ReadCells(path, 0, 40, 3);
    EXPECT_EQ(core::DateOrText(cell(5, 1)), "15-03-2023 18:00:00");
    EXPECT_EQ(core::CellText(cell(5, 2)), "2.5");
    EXPECT_EQ(core::CellText(cell(5, 3)), "29-02-2024");
    EXPECT_EQ(cell(40, 2).kind, Kind::Empty);
    const std::string empty = CopyFixture("empty.xls");
    EXPECT_EQ(core::OpenWorkbookInReader(empty, {})->SheetNames(),
              std::vector<std::string>{"Blank"});
    EXPECT_EQ(ReadCells(empty, 0, 1, 1)(1, 1).kind, Kind::Empty);
}

// ---- hand-made and hostile workbooks -----------------------------------------

std::string Times(const std::string& text, size_t count) {
    std::string out;
    out.reserve(text.size() * count);
    for (size_t k = 0; k < count; ++k)
        out += text;
    return out;
}

// A part of a hand-made ".xlsx": `head`, `unit` repeated `repeat` times, then
// `tail`; written out only while its workbook is made.
struct Part {
    std::string name, head, unit;
    size_t repeat = 0;
    std::string tail;
    std::string Text() const {
        std::string text = head;
        text.reserve(head.size() + unit.size() * repeat + tail.size());
        for (size_t k = 0; k < repeat; ++k)
            text += unit;
        return text += tail;
    }
};

Part Whole(std::string name, std::string text) {
    return {std::move(name), std::move(text), "", 0, ""};
}

// A worksheet part of `head`, `unit` x `repeat`, `tail` between its sheetData tags.
Part Sheet(std::string head, std::string unit = "", size_t repeat = 0, std::string tail = "") {
    return {"", "<worksheet><sheetData>" + head, unit, repeat, tail + "</sheetData></worksheet>"};
}
// Rows 1..count of `cells`, "#" standing for the row number.
std::string Rows(int count, const std::string& cells) {
    std::string out;
    for (int r = 1; r <= count; ++r) {
        std::string row = cells;
        for (size_t at; (at = row.find('#')) != std::string::npos;)
            row.replace(at, 1, std::to_string(r));
        out += "<row r=\"" + std::to_string(r) + "\">" + row + "</row>";
    }
    return out;
}
// Row `r` holding one text cell in column A.
std::string TextRow(int r, const std::string& text) {
    const std::string n = std::to_string(r);
    return "<row r=\"" + n + "\"><c r=\"A" + n + "\" t=\"str\"><v>" + text + "</v></c></row>";
}

// A workbook of the given worksheets (name, sheet part) and shared strings.
void WriteXlsx(const std::string& path, std::vector<std::pair<std::string, Part>> sheets,
               Part shared = {}) {
    std::vector<Part> parts;
    std::string list, rels;
    for (size_t i = 0; i < sheets.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        list +=
            "<sheet name=\"" + sheets[i].first + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
        rels += "<Relationship Id=\"rId" + n +
                "\" Type=\"http://x/worksheet\" Target=\"worksheets/sheet" + n + ".xml\"/>";
        parts.push_back(std::move(sheets[i].second));
        parts.back().name = "xl/worksheets/sheet" + n + ".xml";
    }
    parts.push_back(Whole("xl/workbook.xml",
                          "<workbook xmlns:r=\"r\"><sheets>" + list + "</sheets></workbook>"));
    parts.push_back(
        Whole("xl/_rels/workbook.xml.rels", "<Relationships>" + rels + "</Relationships>"));
    if (!shared.head.empty()) {
        shared.name = "xl/sharedStrings.xml";
        parts.push_back(std::move(shared));
    }
    int error = 0;
    zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(zip, nullptr);
    std::vector<std::string> texts;  // kept until the zip is closed
    texts.reserve(parts.size());
    for (const Part& p : parts) {
        texts.push_back(p.Text());
        zip_source_t* source = zip_source_buffer(zip, texts.back().data(), texts.back().size(), 0);
        ASSERT_GE(zip_file_add(zip, p.name.c_str(), source, 0), 0);
    }
    ASSERT_EQ(zip_close(zip), 0);
}

using Writer = std::function<void(const std::string&)>;
Writer Xlsx(Part sheet, Part shared = {}) {
    return [=](const std::string& p) { WriteXlsx(p, {{"S", sheet}}, shared); };
}
// lesson.xls cut to `size` bytes, with 32-bit words changed at their offsets.
Writer Xls(std::vector<std::pair<size_t, uint32_t>> words, size_t size = std::string::npos) {
    return [=](const std::string& p) {
        std::string bytes =
            test::ReadBytes(fs::path(KOVA_SOURCE_DIR) / "tests/store/data/lesson.xls");
        for (auto [offset, word] : words)
            std::memcpy(bytes.data() + offset, &word, sizeof word);
        test::WriteBytes(p, bytes.substr(0, size));
    };
}

// lesson.xls with every cell record of its first sheet of an unknown type.
Writer XlsWithoutCells() {
    return [](const std::string& p) {
        std::string bytes =
            test::ReadBytes(fs::path(KOVA_SOURCE_DIR) / "tests/store/data/lesson.xls");
        for (size_t at : {2073, 2087, 2101, 2115, 2149, 2167, 2181, 2195, 2229, 2247, 2261, 2275,
                          2309, 2327, 2341, 2355, 2389, 2417})
            bytes.replace(at, 2, "\x99\0", 2);
        test::WriteBytes(p, bytes);
    };
}

// A workbook whose one worksheet relation names the workbook part itself.
void SheetAtWorkbookPart(const std::string& path) {
    WriteXlsx(path, {{"S", Sheet(TextRow(1, "x"))}});
    const std::string rels =
        "<Relationships><Relationship Id=\"rId1\" Type=\"http://x/worksheet\" "
        "Target=\"workbook.xml\"/></Relationships>";
    zip_t* zip = zip_open(path.c_str(), 0, nullptr);
    zip_file_add(zip, "xl/_rels/workbook.xml.rels",
                 zip_source_buffer(zip, rels.data(), rels.size(), 0), ZIP_FL_OVERWRITE);
    zip_close(zip);
}

long MaxRssMb(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_maxrss / 1024;
}

// Files made to crash, freeze or flood a reader, and sheets as scripts and
// other programs write them, end within seconds in a message or in the
// import of what they hold; the program runs on, stays small, and the
// workbook is untouched.
TEST_F(RealWorkbooks, HandMadeAndHostileWorkbooksEndInAMessageOrImport) {
    const std::string han = "\xE4\xB8\xAD";  // not in the code page: offered as "?"
    // Entities, "&amp;" cut where the part's first piece of 1 MiB ends.
    const std::string entities =
        std::string((1 << 20) - 64, ' ') + TextRow(1, "&lt;&gt;&amp;&quot;&apos;&#65;&#x42;");
    // A text that opens with a reference, cut after its "&#x000": the piece
    // ends 9 bytes after "<v>" begins, the least that is read as a tag.
    const std::string reference = std::string((1 << 20) - 60, ' ') + TextRow(1, "&#x000E9;t&#233;");
    const std::string inlineMiB =
        "<c r=\"A1\" t=\"str\"><v>" + std::string(1 << 20, 'a') + "</v></c>";
    struct Case {
        const char* name;
        Writer write;
        const char* message;  // nullptr: imports, V8 of the last record below, V3 empty
        bool early = false;   // refused before the options dialog
        const char* v8 = nullptr;
        const char* to = "1";
        const char* from = "1";
        const char* column3 = "2";
        const char* sheet = "";
        const char* said = nullptr;  // in the one message of an import
    };
    const Case cases[] = {
        {"deep.xlsx",
         Xlsx(Sheet("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is>", "<r>", 200000,
                    "<t>deep</t>" + Times("</r>", 200000) + "</is></c></row>")),
         nullptr, false, "deep"},
        // So deep that the reader's memory limit ends it.
        {"deeper.xlsx",
         Xlsx(Sheet("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is>", Times("<r>", 1000), 18000)),
         "more than 768 MB of memory"},
        {"large.xlsx",
         Xlsx(Sheet("<row r=\"1\"><c r=\"A1\"><v>", std::string(1000, '1'), 70000,
                    "</v></c></row>")),
         "holds a text longer than 16777216 characters"},
        {"far.xlsx",
         Xlsx(Sheet(Rows(2000,
                         "<c r=\"A#\" t=\"inlineStr\"><is><t>row #</t></is></c>"
                         "<c r=\"XFD#\"><v>1</v></c>"))),
         nullptr, false, "row 2000", "2000"},
        {"shared.xlsx",
         Xlsx(Sheet(Rows(20, "<c r=\"A#\" t=\"s\"><v>0</v></c>")),
              {"", "<sst><si><t>", std::string(1024, 'a'), 15 << 10, "</t></si></sst>"}),
         "more than 64 MB of text", false, nullptr, "20"},
        {"tag.xlsx",
         Xlsx(Sheet("<row r=\"1\"><c r=\"A1\" x=\"", std::string(1024, 'a'), 40960, "\"/></row>")),
         "holds a tag longer than 16 MB"},
        {"tag just past 16 MB.xlsx",
         Xlsx(Sheet("<row r=\"1\"><c r=\"A1\" x=\"", std::string(1024, 'a'), 16896, "\"/></row>")),
         "holds a tag longer than 16 MB"},
        // Files the reader cannot take are refused before the options dialog.
        {"cut.xls", Xls({}, 3000), "it is cut short or otherwise damaged (FreeXL error -8)", true},
        {"cut.xlsx",
         [&](const std::string& p) {
             const std::string whole = test::ReadBytes(MakeXlsx("whole.xlsx"));
             test::WriteBytes(p, whole.substr(0, whole.size() / 2));
         },
         "Error # ", true},
        {"plain.xls", [](const std::string& p) { test::WriteBytes(p, "time;actor\r\n"); },
         "Error # ", true},
        {"missing.xls", [](const std::string&) {}, "Error # ", true},
        // The sector chain of the workbook stream loops back, its size 2 GB.
        {"loop.xls", Xls({{9 * 512 + 7 * 4, 0}, {10 * 512 + 128 + 120, 0x7FFFFFFF}}), nullptr,
         false, "time"},
        // A DIMENSION record that claims the largest sheet.
        {"dimension.xls", Xls({{512 + 1347 + 8, 0xFFFFFFF0}}), "cannot be read", true},
        {"every cell record unknown.xls", XlsWithoutCells(), "every one reads as empty"},
        {"past the last column.xlsx", Xlsx(Sheet(TextRow(1, "x"))), nullptr, false, "x", "1", "1",
         "20000"},
        {"formula never worked out.xlsx",
         Xlsx(Sheet("<row r=\"1\"><c r=\"A1\" t=\"str\"><v>x</v></c><c r=\"B1\"><f>1+2</f>"
                    "<v></v></c></row>")),
         nullptr, false, "x"},
        {"shared string index not a number.xlsx",
         Xlsx(Sheet("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>abc</v></c></row>"),
              Whole("", "<sst><si><t>a</t></si></sst>")),
         "\"abc\", which is not a number"},
        {"shared string index past the last.xlsx",
         Xlsx(Sheet("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>1</v></c></row>"),
              Whole("", "<sst><si><t>a</t></si></sst>")),
         "shared string 1, which is not there"},
        {"one cell written 130 times counts once.xlsx",
         Xlsx(Sheet("<row r=\"1\">", "<c r=\"A1\" t=\"s\"><v>0</v></c>", 130,
                    "<c r=\"A1\" t=\"str\"><v>last</v></c></row>"),
              {"", "<sst><si><t>", std::string(1024, 'a'), 1024, "</t></si></sst>"}),
         nullptr, false, "last"},
        {"a cell of 1 MiB of text written 70 times counts once.xlsx",
         Xlsx(Sheet("<row r=\"1\">", inlineMiB, 70, "<c r=\"A1\" t=\"str\"><v>last</v></c></row>")),
         nullptr, false, "last"},
        {"five million empty shared strings.xlsx",
         Xlsx(Sheet(TextRow(1, "x")), {"", "<sst>", "<si/>", 5000000, "</sst>"}),
         "shared strings take more than 256 MB of memory"},
        {"a row before the rows it precedes.xlsx",
         Xlsx(Sheet(TextRow(100, "hundred") + TextRow(1, "one"))), nullptr, false, "one"},
        {"relation to the workbook part.xlsx", SheetAtWorkbookPart,
         "the part xl/workbook.xml holds no worksheet"},
        {"entities, one cut between two pieces of 1 MiB.xlsx", Xlsx(Sheet(entities)), nullptr,
         false, "<>&\"'AB"},
        {"a reference opening a text, cut between two pieces.xlsx", Xlsx(Sheet(reference)), nullptr,
         false, "\xE9t\xE9"},
        {"cells without references, one naming no shared string.xlsx",
         Xlsx(Sheet("<row r=\"1\"><c t=\"str\"><v>x</v></c><c t=\"s\"/>"
                    "<c t=\"str\"><v>y</v></c></row>")),
         nullptr, false, "x"},
        {"last row of a sheet.xlsx", Xlsx(Sheet(TextRow(1048576, "last"))), nullptr, false, "last",
         "1048576", "1048576"},
        {"rows past 16 bits.xlsx", Xlsx(Sheet(TextRow(40000, "far"))), nullptr, false, "far",
         "40000", "39999"},
        // What the code page lacks, in shared and inline strings alike, is
        // counted across the reader's pipe and told to the user.
        {"greek.xlsx",
         Xlsx(Sheet("<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row><row r=\"2\"><c r=\"A2\" "
                    "t=\"inlineStr\"><is><t>\xCE\xB1 caf\xC3\xA9</t></is></c></row>"),
              Whole("", "<sst><si><t>\xCE\xB1\xCE\xB2</t></si></sst>")),
         nullptr, false, "? caf\xE9", "2", "1", "2", "", "\"?\": 3."},
        // Last: the sheets offered are checked below.
        {"sheets named alike are told apart by their place.xlsx",
         [&](const std::string& p) {
             WriteXlsx(p, {{han, Sheet(TextRow(1, "first"))}, {han, Sheet(TextRow(1, "second"))}});
         },
         nullptr, false, "second", "1", "1", "2", "#2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.File(c.name);
        c.write(path);
        const std::string bytes = test::ReadBytes(path);
        s = core::KovaState{};
        ui.messages.clear();
        options.asked = 0;
        options.columns[7] = "1";
        options.columns[2] = c.column3;
        options.fromRow = c.from;
        options.toRow = c.to;
        options.sheet = c.sheet;
        dialog.answers = {path};
        const auto files = test::Snapshot(dir.path());
        const auto start = std::chrono::steady_clock::now();
        const bool ok = core::ReadExcelfile(s, ui, dialog, options);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
        EXPECT_EQ(test::ReadBytes(path), bytes);
        if (c.message != nullptr) {
            EXPECT_FALSE(ok);
            ASSERT_EQ(ui.messages.size(), 1u);
            EXPECT_NE(ui.messages[0].find(c.message), std::string::npos) << ui.messages[0];
            EXPECT_NE(ui.messages[0].find(path), std::string::npos) << ui.messages[0];
            EXPECT_EQ(test::Snapshot(dir.path()), files);
            EXPECT_EQ(options.asked == 0, c.early);
        } else {
            ASSERT_TRUE(ok) << (ui.messages.empty() ? "" : ui.messages[0]);
            ASSERT_GE(s.RecordCount1, 1);
            EXPECT_EQ(s.Records1[s.RecordCount1].V8, c.v8);
            EXPECT_EQ(ui.messages.size(), c.said == nullptr ? 0u : 1u);
            if (c.said != nullptr && !ui.messages.empty()) {
                EXPECT_NE(ui.messages[0].find(c.said), std::string::npos) << ui.messages[0];
            }
            if (std::string(c.name).ends_with(".xlsx")) {
                EXPECT_EQ(s.Records1[s.RecordCount1].V3, "");
            }
        }
    }
    EXPECT_EQ(options.offeredSheets, (std::vector<std::string>{"?", "?"}));
    EXPECT_LT(MaxRssMb(RUSAGE_SELF), 1024);
    EXPECT_LT(MaxRssMb(RUSAGE_CHILDREN), 1024);
}

// Read in this process, where the sanitizers watch the parser: each
// decoded value of a tag stays where the tag's other values point. A
// reference in lower case is read as its upper-case form.
TEST_F(RealWorkbooks, ReferencesInAttributesKeepEachValue) {
    const std::string path = dir.File("refs.xlsx");
    WriteXlsx(path, {{"S", Sheet("<row r=\"1\"><c r=\"&#65;1\" t=\"&#115;tr\"><v>refs</v></c>"
                                 "<c r=\"&#67;1\" t=\"&#110;\"><v>3</v></c>"
                                 "<c r=\"b1\" t=\"str\"><v>lower</v></c>"
                                 "<c r=\"z1\" t=\"str\"><v>z</v></c>"
                                 "<c r=\"az1\" t=\"str\"><v>az</v></c></row>")}});
    const auto cells = core::OpenXlsxWorkbook(path)->Cells({0, 1, 1, {1, 2, 3, 26, 52}});
    EXPECT_EQ(core::CellText(cells[0]), "refs");
    EXPECT_EQ(core::CellText(cells[1]), "lower");
    EXPECT_EQ(core::CellText(cells[2]), "3");
    EXPECT_EQ(core::CellText(cells[3]), "z");
    EXPECT_EQ(core::CellText(cells[4]), "az");
}

// A workbook that fails to open gives back its file.
TEST_F(RealWorkbooks, FailedOpensKeepNoFileOpen) {
    const std::string path = dir.File("nobook.xlsx");
    WriteXlsx(path, {});
    auto openFiles = [] {
        return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
    };
    std::string bytes = test::ReadBytes(path);
    // The workbook's own part renamed: a zip that is no workbook.
    for (size_t at; (at = bytes.find("xl/workbook.xml")) != std::string::npos;)
        bytes[at + 14] = 'X';
    test::WriteBytes(path, bytes);
    const auto before = openFiles();
    for (int i = 0; i < 20; ++i)
        EXPECT_THROW(core::OpenXlsxWorkbook(path), core::WorkbookError);
    EXPECT_EQ(openFiles(), before);
}

}  // namespace
