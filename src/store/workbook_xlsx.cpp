// Workbooks of today's zipped XML form (".xlsx"): the workbook's list of
// sheets and their relations, the shared strings, the number formats that
// mark dates, and the cells of one worksheet, read through libzip and
// pugixml.
#include <zip.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <pugixml.hpp>
#include <set>
#include <unordered_map>

#include "store/error_numbers.h"
#include "store/file_access.h"
#include "store/workbook.h"

namespace core {

namespace {

// An element's name without its namespace prefix.
std::string_view LocalName(const pugi::xml_node& node) {
    std::string_view name = node.name();
    size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

pugi::xml_node Child(const pugi::xml_node& node, std::string_view name) {
    for (pugi::xml_node c : node.children())
        if (LocalName(c) == name)
            return c;
    return {};
}

template <typename F>
void ForChildren(const pugi::xml_node& node, std::string_view name, F&& f) {
    for (pugi::xml_node c : node.children())
        if (LocalName(c) == name)
            f(c);
}

// An attribute by its name without a prefix (r:id and the like).
pugi::xml_attribute Attribute(const pugi::xml_node& node, std::string_view name) {
    for (pugi::xml_attribute a : node.attributes()) {
        std::string_view n = a.name();
        size_t colon = n.find(':');
        if ((colon == std::string_view::npos ? n : n.substr(colon + 1)) == name)
            return a;
    }
    return {};
}

// Characters that XML cannot hold (a CR, other control characters) are
// written as "_xHHHH_", and an underscore that would start such a sequence as
// "_x005F_": back to the characters, in UTF-8.
std::string Unescape(std::string_view text) {
    std::string out;
    size_t pos = 0;
    while (true) {
        const size_t at = text.find("_x", pos);
        if (at == std::string_view::npos || text.size() - at < 7) {
            out.append(text.substr(pos));
            return out;
        }
        out.append(text.substr(pos, at - pos));
        unsigned code = 0;
        bool hex = text[at + 6] == '_';
        for (size_t k = at + 2; hex && k < at + 6; ++k) {
            const char c = text[k];
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                     : -1;
            hex = digit >= 0;
            code = code * 16 + static_cast<unsigned>(digit);
        }
        if (!hex) {
            out.append("_x");
            pos = at + 2;
            continue;
        }
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
        pos = at + 7;
    }
}

// All text of the <t> elements below a node, phonetic runs left out.
void CollectText(const pugi::xml_node& node, std::string& out) {
    for (pugi::xml_node c : node.children()) {
        std::string_view n = LocalName(c);
        if (n == "t")
            out += c.text().get();
        else if (n == "r")
            CollectText(c, out);
    }
}

// Whether a format code shows a date or a time: a d, m, y, h or s outside
// quoted text, escapes and brackets (but an elapsed-time bracket counts).
bool IsDateFormatCode(std::string_view code) {
    bool quoted = false;
    for (size_t i = 0; i < code.size(); ++i) {
        char c = code[i];
        if (quoted) {
            quoted = c != '"';
            continue;
        }
        if (c == '"') {
            quoted = true;
        } else if (c == '\\' || c == '_' || c == '*') {
            ++i;
        } else if (c == '[') {
            size_t end = code.find(']', i);
            std::string_view inside =
                code.substr(i + 1, end == std::string_view::npos ? end : end - i - 1);
            if (!inside.empty() && std::strchr("hHmMsS", inside[0]) != nullptr)
                return true;
            if (end == std::string_view::npos)
                return false;
            i = end;
        } else if (c == ';') {
            return false;  // only the first section decides
        } else if (std::strchr("dDmMyYhHsS", c) != nullptr) {
            return true;
        }
    }
    return false;
}

bool IsBuiltinDateFormat(int id) {
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
           (id >= 50 && id <= 58);
}

class XlsxWorkbook : public Workbook {
public:
    explicit XlsxWorkbook(const std::string& fileName) : name_(fileName) {
        const std::string path = NativePath(fileName).string();
        int error = 0;
        zip_ = zip_open(path.c_str(), ZIP_RDONLY, &error);
        if (zip_ == nullptr) {
            if (error == ZIP_ER_NOENT || error == ZIP_ER_OPEN)
                throw WorkbookError(kErrFileNotFound, "File not found (" + fileName + ")");
            Damaged("it is not a zipped workbook");
        }
        ReadWorkbook();
        ReadSharedStrings();
        ReadStyles();
    }
    ~XlsxWorkbook() override {
        if (zip_ != nullptr)
            zip_discard(zip_);
    }
    XlsxWorkbook(const XlsxWorkbook&) = delete;
    XlsxWorkbook& operator=(const XlsxWorkbook&) = delete;

    std::vector<std::string> SheetNames() override {
        std::vector<std::string> names;
        for (const Sheet& s : sheets_)
            names.push_back(s.name);
        return names;
    }

    void SelectSheet(const std::string& name) override {
        for (const Sheet& s : sheets_) {
            if (s.name == name) {
                ReadSheet(s.part);
                return;
            }
        }
        throw WorkbookError(kErrSubscript,
                            "Subscript out of range: the workbook has no worksheet \"" + name +
                                "\" (" + name_ + ")");
    }

    CellValue Cell(int row, int column) override {
        if (row < 1 || column < 1 || static_cast<size_t>(row) >= rows_.size())
            return {};
        const std::vector<CellValue>& cells = rows_[row];
        if (static_cast<size_t>(column) >= cells.size())
            return {};
        return cells[column];
    }

private:
    struct Sheet {
        std::string name;
        std::string part;
    };

    [[noreturn]] void Damaged(const std::string& what) {
        throw WorkbookError(kErrWorkbook, "The workbook cannot be read (" + name_ + "): " + what);
    }

    // The bytes of a part of the package; false when it is not there.
    bool ReadPart(const std::string& part, std::string& bytes) {
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat(zip_, part.c_str(), 0, &st) != 0)
            return false;
        if ((st.valid & ZIP_STAT_SIZE) == 0 || st.size > (1u << 30))
            Damaged("the part " + part + " is too large");
        zip_file_t* f = zip_fopen(zip_, part.c_str(), 0);
        if (f == nullptr)
            Damaged("the part " + part + " cannot be opened");
        bytes.resize(st.size);
        zip_int64_t n = bytes.empty() ? 0 : zip_fread(f, bytes.data(), bytes.size());
        zip_fclose(f);
        if (n < 0 || static_cast<zip_uint64_t>(n) != st.size)
            Damaged("the part " + part + " is damaged");
        return true;
    }

    void Parse(const std::string& part, pugi::xml_document& doc, bool required) {
        std::string bytes;
        if (!ReadPart(part, bytes)) {
            if (required)
                Damaged("the part " + part + " is missing");
            return;
        }
        if (!doc.load_buffer(bytes.data(), bytes.size()))
            Damaged("the part " + part + " is not well-formed");
    }

    void ReadWorkbook() {
        pugi::xml_document rels;
        Parse("xl/_rels/workbook.xml.rels", rels, true);
        // Relation id -> the part of a worksheet (other kinds of sheet are
        // not listed).
        std::unordered_map<std::string, std::string> worksheets;
        ForChildren(Child(rels, "Relationships"), "Relationship", [&](pugi::xml_node r) {
            std::string_view type = r.attribute("Type").value();
            if (type.size() < 10 || type.substr(type.size() - 10) != "/worksheet")
                return;
            std::string target = r.attribute("Target").value();
            if (!target.empty() && target[0] == '/')
                target.erase(0, 1);
            else
                target = "xl/" + target;
            worksheets[r.attribute("Id").value()] = target;
        });
        pugi::xml_document book;
        Parse("xl/workbook.xml", book, true);
        ForChildren(Child(Child(book, "workbook"), "sheets"), "sheet", [&](pugi::xml_node s) {
            auto it = worksheets.find(Attribute(s, "id").value());
            if (it != worksheets.end())
                sheets_.push_back({Utf8ToProgramText(s.attribute("name").value()), it->second});
        });
        pugi::xml_node pr = Child(Child(book, "workbook"), "workbookPr");
        std::string_view d1904 = pr.attribute("date1904").value();
        date1904_ = d1904 == "1" || d1904 == "true";
    }

    void ReadSharedStrings() {
        pugi::xml_document doc;
        Parse("xl/sharedStrings.xml", doc, false);
        ForChildren(Child(doc, "sst"), "si", [&](pugi::xml_node si) {
            std::string text;
            CollectText(si, text);
            strings_.push_back(Utf8ToProgramText(Unescape(text)));
        });
    }

    void ReadStyles() {
        pugi::xml_document doc;
        Parse("xl/styles.xml", doc, false);
        pugi::xml_node sheet = Child(doc, "styleSheet");
        std::set<int> customDates;
        ForChildren(Child(sheet, "numFmts"), "numFmt", [&](pugi::xml_node f) {
            if (IsDateFormatCode(f.attribute("formatCode").value()))
                customDates.insert(f.attribute("numFmtId").as_int());
        });
        ForChildren(Child(sheet, "cellXfs"), "xf", [&](pugi::xml_node xf) {
            int id = xf.attribute("numFmtId").as_int();
            dateStyles_.push_back(IsBuiltinDateFormat(id) || customDates.count(id) != 0);
        });
    }

    // "AB12" -> column 28, row 12; false when it is not a cell reference.
    static bool SplitReference(std::string_view ref, int& row, int& column) {
        size_t i = 0;
        column = 0;
        while (i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z' && column <= 16384)
            column = column * 26 + (ref[i++] - 'A' + 1);
        row = 0;
        size_t digits = i;
        while (i < ref.size() && ref[i] >= '0' && ref[i] <= '9' && row <= 1048576)
            row = row * 10 + (ref[i++] - '0');
        return column > 0 && i > digits && i == ref.size();
    }

    CellValue Value(const pugi::xml_node& c) {
        CellValue v;
        std::string_view type = c.attribute("t").value();
        pugi::xml_node valueNode = Child(c, "v");
        const char* raw = valueNode.text().get();
        if (type == "inlineStr") {
            std::string text;
            CollectText(Child(c, "is"), text);
            v.kind = CellValue::Kind::Text;
            v.text = Utf8ToProgramText(Unescape(text));
        } else if (!valueNode) {
            // No value: empty.
        } else if (type == "s") {
            const size_t index = static_cast<size_t>(std::strtoull(raw, nullptr, 10));
            if (index >= strings_.size())
                Damaged("a cell names shared string " + std::to_string(index) +
                        ", which is not there");
            v.kind = CellValue::Kind::Text;
            v.text = strings_[index];
        } else if (type == "str" || type == "e") {
            v.kind = CellValue::Kind::Text;
            v.text = Utf8ToProgramText(Unescape(raw));
        } else if (type == "b") {
            v.kind = CellValue::Kind::Text;
            v.text = std::strcmp(raw, "1") == 0 ? "True" : "False";
        } else if (type == "d") {
            int y = 0, mo = 0, d = 0, h = 0, mi = 0;
            double sec = 0;
            if (std::sscanf(raw, "%d-%d-%dT%d:%d:%lf", &y, &mo, &d, &h, &mi, &sec) >= 3) {
                v.kind = CellValue::Kind::Date;
                v.number = SerialDate(y, mo, d, h, mi, sec);
            } else {
                v.kind = CellValue::Kind::Text;
                v.text = Utf8ToProgramText(raw);
            }
        } else {
            char* end = nullptr;
            double number = std::strtod(raw, &end);
            if (end == raw || !std::isfinite(number))
                Damaged("a cell holds \"" + std::string(raw) + "\" as a number");
            const size_t style = static_cast<size_t>(c.attribute("s").as_uint());
            const bool date = style < dateStyles_.size() && dateStyles_[style];
            v.kind = date ? CellValue::Kind::Date : CellValue::Kind::Number;
            v.number = date && date1904_ ? number + 1462 : number;
        }
        return v;
    }

    void ReadSheet(const std::string& part) {
        pugi::xml_document doc;
        Parse(part, doc, true);
        rows_.clear();
        int nextRow = 1;
        ForChildren(Child(Child(doc, "worksheet"), "sheetData"), "row", [&](pugi::xml_node row) {
            int r = row.attribute("r").as_int(nextRow);
            if (r < 1)
                r = nextRow;
            nextRow = r + 1;
            if (r > 1048576)
                Damaged("a row number is out of range");
            int nextColumn = 1;
            ForChildren(row, "c", [&](pugi::xml_node c) {
                int cellRow = r, column = nextColumn;
                const char* ref = c.attribute("r").value();
                if (*ref != '\0' && !SplitReference(ref, cellRow, column))
                    Damaged("the cell reference \"" + std::string(ref) + "\" is not valid");
                if (column > 16384)
                    Damaged("a column number is out of range");
                nextColumn = column + 1;
                CellValue v = Value(c);
                if (v.kind == CellValue::Kind::Empty)
                    return;
                if (rows_.size() <= static_cast<size_t>(r))
                    rows_.resize(static_cast<size_t>(r) + 1);
                std::vector<CellValue>& cells = rows_[r];
                if (cells.size() <= static_cast<size_t>(column))
                    cells.resize(static_cast<size_t>(column) + 1);
                cells[column] = std::move(v);
            });
        });
    }

    std::string name_;
    zip_t* zip_ = nullptr;
    std::vector<Sheet> sheets_;
    std::vector<std::string> strings_;
    std::vector<bool> dateStyles_;
    bool date1904_ = false;
    std::vector<std::vector<CellValue>> rows_;  // [row][column], both from 1
};

}  // namespace

std::unique_ptr<Workbook> OpenXlsxWorkbook(const std::string& fileName) {
    return std::make_unique<XlsxWorkbook>(fileName);
}

std::unique_ptr<Workbook> OpenWorkbookFile(const std::string& fileName) {
    // The first bytes tell the two forms apart: a zip archive or a compound
    // document.
    std::string head;
    if (!IsRegularFile(fileName)) {
        NumberedError e = FileError(
            std::make_error_code(PathExists(fileName) ? std::errc::is_a_directory
                                                      : std::errc::no_such_file_or_directory),
            fileName);
        throw WorkbookError(e.number, e.description);
    }
    {
        std::ifstream in(NativePath(fileName), std::ios::binary);
        char bytes[8] = {};
        in.read(bytes, sizeof bytes);
        head.assign(bytes, static_cast<size_t>(in.gcount()));
        if (!in && !in.eof()) {
            NumberedError e = FileError(std::make_error_code(std::errc::io_error), fileName);
            throw WorkbookError(e.number, e.description);
        }
    }
    if (head.compare(0, 4, "PK\x03\x04") == 0)
        return OpenXlsxWorkbook(fileName);
    if (head == "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")
        return OpenXlsWorkbook(fileName);
    throw WorkbookError(kErrWorkbook, "The file is not a workbook (" + fileName + ")");
}

}  // namespace core
