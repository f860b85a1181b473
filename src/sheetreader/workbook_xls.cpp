// Workbooks of the older binary form (".xls"), read through FreeXL.
#include <freexl.h>

#include <algorithm>
#include <cstdio>

#include "sheetreader/sheet_reader.h"
#include "store/file_access.h"
#include "store/text.h"

namespace core {

namespace {

// FreeXL writes dates as "YYYY-MM-DD", "YYYY-MM-DD HH:MM:SS" or "HH:MM:SS".
CellValue DateCell(int type, const char* text) {
    int y = 1899, mo = 12, d = 30, h = 0, mi = 0, sec = 0;
    bool read = false;
    if (type == FREEXL_CELL_DATE)
        read = std::sscanf(text, "%d-%d-%d", &y, &mo, &d) == 3;
    else if (type == FREEXL_CELL_DATETIME)
        read = std::sscanf(text, "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &sec) == 6;
    else
        read = std::sscanf(text, "%d:%d:%d", &h, &mi, &sec) == 3;
    CellValue v;
    read = read && mo >= 1 && mo <= 12 && d >= 1 && d <= 31 && y >= 1 && y <= 9999;
    if (!read) {
        SetCellText(v, text);
        return v;
    }
    v.kind = CellValue::Kind::Date;
    v.number = SerialDate(y, mo, d, h, mi, sec);
    return v;
}

// What a FreeXL error code says about the file, in words, with the code at
// the end for whoever looks into it further. The codes for a wrong call
// (a handle, an argument, a sheet not selected) are ours and get no words.
std::string FreeXlFailure(int code) {
    std::string what;
    switch (code) {
        case FREEXL_INSUFFICIENT_MEMORY:
            what = "reading it needs more than the " + SizeInMB(kReaderMemoryBytes) +
                   " of memory the reader may take, most likely because the file is damaged";
            break;
        case FREEXL_INVALID_CFBF_HEADER:
        case FREEXL_CFBF_INVALID_SIGNATURE:
        case FREEXL_CFBF_INVALID_SECTOR_SIZE:
        case FREEXL_CFBF_EMPTY_FAT_CHAIN:
            what = "its file header is damaged";
            break;
        case FREEXL_CFBF_READ_ERROR:
        case FREEXL_CFBF_SEEK_ERROR:
            what = "it is cut short or otherwise damaged";
            break;
        case FREEXL_CFBF_ILLEGAL_FAT_ENTRY:
        case FREEXL_INVALID_MINI_STREAM:
        case FREEXL_CFBF_ILLEGAL_MINI_FAT_ENTRY:
            what = "the table that chains its parts together is damaged";
            break;
        case FREEXL_BIFF_INVALID_BOF:
        case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
            what = "it holds no workbook that can be read, or a damaged one";
            break;
        case FREEXL_BIFF_INVALID_SST:
            what = "its table of shared texts is damaged";
            break;
        case FREEXL_BIFF_ILLEGAL_SST_INDEX:
            what = "a cell names a shared text the workbook does not hold";
            break;
        case FREEXL_INVALID_CHARACTER:
            what = "a text in it is damaged, holding characters its own code page lacks";
            break;
        case FREEXL_UNSUPPORTED_CHARSET:
            what = "its texts are in a code page the reader does not know";
            break;
        case FREEXL_ILLEGAL_CELL_ROW_COL:
            what = "a cell lies outside its worksheet";
            break;
        case FREEXL_ILLEGAL_RK_VALUE:
            what = "a number in it is damaged";
            break;
        case FREEXL_CRAFTED_FILE:
            what = "it is badly damaged, perhaps made on purpose to harm a reader";
            break;
        default:
            what = "the library that reads the older workbooks failed";
            break;
    }
    return what + " (FreeXL error " + std::to_string(code) + ")";
}

class XlsWorkbook : public Workbook {
public:
    explicit XlsWorkbook(const std::string& fileName) : name_(fileName) {
        const std::string path = NativePath(fileName).string();
        int rc = freexl_open(path.c_str(), &handle_);
        if (rc != FREEXL_OK) {
            if (handle_ != nullptr)
                freexl_close(handle_);
            handle_ = nullptr;
            if (rc == FREEXL_FILE_NOT_FOUND)
                throw WorkbookFileError(std::errc::no_such_file_or_directory, fileName);
            throw UnreadableWorkbook(fileName, FreeXlFailure(rc));
        }
    }
    ~XlsWorkbook() override {
        if (handle_ != nullptr)
            freexl_close(handle_);
    }
    XlsWorkbook(const XlsWorkbook&) = delete;
    XlsWorkbook& operator=(const XlsWorkbook&) = delete;

    std::vector<std::string> SheetNames() override {
        unsigned int count = 0;
        if (freexl_get_info(handle_, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK)
            Damaged("its list of worksheets");
        std::vector<std::string> names;
        for (unsigned int i = 0; i < count && i < 65535; ++i) {
            const char* name = nullptr;
            if (freexl_get_worksheet_name(handle_, static_cast<unsigned short>(i), &name) !=
                    FREEXL_OK ||
                name == nullptr)
                Damaged("the name of worksheet " + std::to_string(i + 1));
            names.push_back(Utf8ToProgramText(name));
        }
        return names;
    }

    std::vector<CellValue> Cells(const CellRequest& request) override {
        unsigned int count = 0;
        if (freexl_get_info(handle_, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK)
            Damaged("its list of worksheets");
        if (request.sheet < 0 || static_cast<unsigned>(request.sheet) >= count ||
            request.sheet > 65535)
            throw NoSuchWorksheet(request.sheet, name_);
        unsigned int rows = 0;
        unsigned short columns = 0;
        if (freexl_select_active_worksheet(handle_, static_cast<unsigned short>(request.sheet)) !=
                FREEXL_OK ||
            freexl_worksheet_dimensions(handle_, &rows, &columns) != FREEXL_OK)
            Damaged("worksheet " + std::to_string(request.sheet + 1));
        std::vector<CellValue> cells(static_cast<size_t>(std::max(request.rowCount, 0)) *
                                     request.columns.size());
        // A damaged sheet can lose every cell record while its used range
        // still claims cells: refused, rather than read as empty records.
        if (rows > 0 && columns > 0 && !HoldsACell(rows, columns))
            throw UnreadableWorkbook(name_, "worksheet " + std::to_string(request.sheet + 1) +
                                                " is damaged: its used range claims cells, yet "
                                                "every one reads as empty");
        CellTextBudget budget(name_);
        size_t index = 0;
        for (int k = 0; k < request.rowCount; ++k) {
            const long long row = static_cast<long long>(request.firstRow) + k;
            for (int column : request.columns) {
                CellValue& v = cells[index++];
                // Cells past the sheet's used range are empty.
                if (row < 1 || row > rows || column < 1 || column > columns)
                    continue;
                v = Cell(static_cast<unsigned>(row - 1), static_cast<unsigned short>(column - 1));
                budget.Take(v.text.size(), static_cast<int>(row), column);
            }
        }
        return cells;
    }

private:
    bool HoldsACell(unsigned rows, unsigned short columns) {
        for (unsigned row = 0; row < rows; ++row)
            for (unsigned short column = 0; column < columns; ++column) {
                FreeXL_CellValue cell;
                if (freexl_get_cell_value(handle_, row, column, &cell) != FREEXL_OK ||
                    cell.type != FREEXL_CELL_NULL)
                    return true;
            }
        return false;
    }

    // A cell of the sheet's used range; one that cannot be read, or a text
    // or date without its text, is damage, never an empty cell.
    CellValue Cell(unsigned row, unsigned short column) {
        CellValue v;
        FreeXL_CellValue cell;
        if (freexl_get_cell_value(handle_, row, column, &cell) != FREEXL_OK)
            DamagedCell(row, column);
        switch (cell.type) {
            case FREEXL_CELL_INT:
                v.kind = CellValue::Kind::Number;
                v.number = cell.value.int_value;
                break;
            case FREEXL_CELL_DOUBLE:
                v.kind = CellValue::Kind::Number;
                v.number = cell.value.double_value;
                break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
                if (cell.value.text_value == nullptr)
                    DamagedCell(row, column);
                SetCellText(v, cell.value.text_value);
                break;
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME:
                if (cell.value.text_value == nullptr)
                    DamagedCell(row, column);
                v = DateCell(cell.type, cell.value.text_value);
                break;
            default:
                break;
        }
        return v;
    }

    [[noreturn]] void Damaged(const std::string& what) {
        throw UnreadableWorkbook(name_, what + " is damaged");
    }
    [[noreturn]] void DamagedCell(unsigned row, unsigned short column) {
        Damaged("the cell in row " + std::to_string(row + 1) + ", column " +
                std::to_string(column + 1));
    }

    std::string name_;
    const void* handle_ = nullptr;
};

}  // namespace

std::unique_ptr<Workbook> OpenXlsWorkbook(const std::string& fileName) {
    return std::make_unique<XlsWorkbook>(fileName);
}

}  // namespace core
