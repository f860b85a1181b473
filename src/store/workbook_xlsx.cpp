// Workbooks of today's zipped XML form (".xlsx"): the workbook's list of
// sheets and their relations and the number formats that mark dates, read
// whole through pugixml (they are small, and bounded), and the shared strings
// and the cells of one worksheet, streamed through expat so that a sheet of
// any size costs no more memory than the cells that are kept.
#include <expat.h>
#include <zip.h>

#include <algorithm>
#include <exception>
#include <new>
#include <stop_token>
#include <thread>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <pugixml.hpp>
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

// What a format code shows: an elapsed time when a bracket opens with h, m
// or s ("[h]:mm"), a date or time when a d, m, y, h or s stands outside
// quoted text, escapes and brackets, else a number. Only the first section
// decides.
CellValue::Kind FormatKind(std::string_view code) {
    bool quoted = false;
    bool date = false;
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
                return CellValue::Kind::Elapsed;
            if (end == std::string_view::npos)
                break;
            i = end;
        } else if (c == ';') {
            break;
        } else if (std::strchr("dDmMyYhHsS", c) != nullptr) {
            date = true;
        }
    }
    return date ? CellValue::Kind::Date : CellValue::Kind::Number;
}

CellValue::Kind BuiltinFormatKind(int id) {
    if (id == 46)  // [h]:mm:ss
        return CellValue::Kind::Elapsed;
    const bool date = (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
                      (id >= 50 && id <= 58);
    return date ? CellValue::Kind::Date : CellValue::Kind::Number;
}

// Largest part of the package that is read whole (the workbook, its
// relations, the styles), and largest inflated part of any kind.
constexpr size_t kMaxSmallPartBytes = size_t{16} << 20;
constexpr unsigned long long kMaxPartBytes = 1ull << 30;
// Longest UTF-8 text collected for one cell (its program text is bounded by
// kMaxFieldBytes), and all the shared strings together.
constexpr size_t kMaxCollectedBytes = 4 * kMaxFieldBytes;
constexpr size_t kMaxSharedStringBytes = size_t{256} << 20;
// Longest tag (or comment) of a streamed part: expat reads a token that spans
// many pieces of the part anew with every piece, so a tag of hundreds of MB
// would keep it busy for minutes.
constexpr unsigned long long kMaxTokenBytes = 16ull << 20;

struct ZipDiscard {
    void operator()(zip_t* zip) const { zip_discard(zip); }
};
struct ZipFileClose {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
struct ParserFree {
    void operator()(XML_ParserStruct* parser) const { XML_ParserFree(parser); }
};

// The events of a streamed part. Element names come without their prefix;
// attributes as expat gives them (name, value, ..., null).
struct XmlEvents {
    virtual ~XmlEvents() = default;
    virtual void Start(std::string_view name, const char** attributes) = 0;
    virtual void End(std::string_view name) = 0;
    virtual void Text(std::string_view text) = 0;
    bool finished = false;  // set to stop reading early, all that was wanted read
};

std::string_view Local(const char* name) {
    std::string_view n = name;
    size_t colon = n.find(':');
    return colon == std::string_view::npos ? n : n.substr(colon + 1);
}

// An attribute by its name without a prefix; nullptr when it is not there.
const char* Find(const char** attributes, std::string_view name) {
    for (size_t i = 0; attributes[i] != nullptr; i += 2)
        if (Local(attributes[i]) == name)
            return attributes[i + 1];
    return nullptr;
}

// A whole number of digits only (blanks around allowed); false otherwise
// or past `most`.
bool WholeNumber(std::string_view text, unsigned long long most, unsigned long long& value) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    value = 0;
    if (text.empty())
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
        if (value > most)
            return false;
    }
    return true;
}

// "AB12" -> column 28; false when it is not a cell reference.
bool ReferenceColumn(std::string_view ref, int& column) {
    size_t i = 0;
    column = 0;
    while (i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z' && column <= kMaxWorkbookColumns)
        column = column * 26 + (ref[i++] - 'A' + 1);
    unsigned long long row = 0;
    return column > 0 && WholeNumber(ref.substr(i), kMaxWorkbookRows, row) && ref[i] != ' ';
}

class XlsxWorkbook : public Workbook {
public:
    explicit XlsxWorkbook(const std::string& fileName)
        : name_(fileName), path_(NativePath(fileName).string()) {
        int error = 0;
        zip_.reset(zip_open(path_.c_str(), ZIP_RDONLY, &error));
        if (!zip_) {
            if (error == ZIP_ER_NOENT || error == ZIP_ER_OPEN)
                throw WorkbookError(kErrFileNotFound, "File not found (" + fileName + ")");
            Damaged("it is not a zipped workbook");
        }
        ReadWorkbook();
    }

    std::vector<std::string> SheetNames() override {
        std::vector<std::string> names;
        for (const Sheet& s : sheets_)
            names.push_back(s.name);
        return names;
    }

    std::vector<CellValue> Cells(const CellRequest& request) override {
        if (request.sheet < 0 || static_cast<size_t>(request.sheet) >= sheets_.size())
            throw WorkbookError(kErrSubscript,
                                "Subscript out of range: the workbook has no worksheet " +
                                    std::to_string(request.sheet + 1) + " (" + name_ + ")");
        ReadStyles();
        // The shared strings are read beside the sheet, through a handle of
        // their own; a cell that names one gets it once both are read.
        std::exception_ptr stringsFailed;
        std::jthread strings;
        if (!stringsRead_) {
            stringsRead_ = true;
            strings = std::jthread([this, &stringsFailed](std::stop_token stop) {
                try {
                    ReadSharedStrings(stop);
                } catch (...) {
                    stringsFailed = std::current_exception();
                }
            });
        }
        SheetReader reader(*this, request);
        Stream(zip_.get(), sheets_[static_cast<size_t>(request.sheet)].part, reader, true);
        if (strings.joinable())
            strings.join();
        if (stringsFailed)
            std::rethrow_exception(stringsFailed);
        for (const SharedCell& c : reader.shared) {
            if (c.string >= strings_.size())
                Damaged("a cell names shared string " + std::to_string(c.string) +
                        ", which is not there");
            reader.budget.Take(strings_[c.string].size(), c.row, c.column);
            CellValue& v = reader.cells[c.index];
            v.kind = CellValue::Kind::Text;
            v.text = strings_[c.string];
        }
        return std::move(reader.cells);
    }

private:
    struct Sheet {
        std::string name;
        std::string part;
    };
    // A kept cell that names a shared string.
    struct SharedCell {
        size_t index;   // in the cells handed back
        size_t string;  // the shared string's number
        int row, column;
    };

    [[noreturn]] void Damaged(const std::string& what) const {
        throw WorkbookError(kErrWorkbook, "The workbook cannot be read (" + name_ + "): " + what);
    }

    // The bytes of a small part of the package; false when it is not there.
    bool ReadPart(const std::string& part, std::string& bytes) {
        std::unique_ptr<zip_file_t, ZipFileClose> f(zip_fopen(zip_.get(), part.c_str(), 0));
        if (!f)
            return false;
        bytes.clear();
        char chunk[65536];
        while (true) {
            const zip_int64_t n = zip_fread(f.get(), chunk, sizeof chunk);
            if (n < 0)
                Damaged("the part " + part + " is damaged");
            if (n == 0)
                return true;
            if (bytes.size() + static_cast<size_t>(n) > kMaxSmallPartBytes)
                Damaged("the part " + part + " is larger than 16 MB");
            bytes.append(chunk, static_cast<size_t>(n));
        }
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

    // Streams a part through expat, holding only what `events` keeps. A
    // document type (and with it any entity) is refused: the parts have none.
    void Stream(zip_t* zip, const std::string& part, XmlEvents& events, bool required) {
        std::unique_ptr<zip_file_t, ZipFileClose> f(zip_fopen(zip, part.c_str(), 0));
        if (!f) {
            if (required)
                Damaged("the part " + part + " is missing");
            return;
        }
        std::unique_ptr<XML_ParserStruct, ParserFree> parser(XML_ParserCreate(nullptr));
        if (!parser)
            throw std::bad_alloc();
        struct Context {
            XmlEvents& events;
            XML_Parser parser;
            std::exception_ptr failure;
            bool doctype = false;
        } context{events, parser.get(), nullptr};
        XML_SetUserData(parser.get(), &context);
        XML_SetElementHandler(
            parser.get(),
            [](void* data, const XML_Char* name, const XML_Char** attributes) {
                auto* c = static_cast<Context*>(data);
                try {
                    c->events.Start(Local(name), attributes);
                } catch (...) {
                    c->failure = std::current_exception();
                }
                if (c->failure || c->events.finished)
                    XML_StopParser(c->parser, XML_FALSE);
            },
            [](void* data, const XML_Char* name) {
                auto* c = static_cast<Context*>(data);
                try {
                    c->events.End(Local(name));
                } catch (...) {
                    c->failure = std::current_exception();
                }
                if (c->failure || c->events.finished)
                    XML_StopParser(c->parser, XML_FALSE);
            });
        XML_SetCharacterDataHandler(parser.get(), [](void* data, const XML_Char* text, int length) {
            auto* c = static_cast<Context*>(data);
            try {
                c->events.Text(std::string_view(text, static_cast<size_t>(length)));
            } catch (...) {
                c->failure = std::current_exception();
            }
            if (c->failure)
                XML_StopParser(c->parser, XML_FALSE);
        });
        XML_SetStartDoctypeDeclHandler(
            parser.get(), [](void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
                auto* c = static_cast<Context*>(data);
                c->doctype = true;
                XML_StopParser(c->parser, XML_FALSE);
            });
        // Large pieces: a long token is read anew only once a piece.
        std::vector<char> chunk(size_t{1} << 20);
        unsigned long long total = 0;
        while (true) {
            const zip_int64_t n = zip_fread(f.get(), chunk.data(), chunk.size());
            if (n < 0)
                Damaged("the part " + part + " is damaged");
            total += static_cast<unsigned long long>(n);
            if (total > kMaxPartBytes)
                Damaged("the part " + part + " is larger than 1 GB");
            const XML_Status status =
                XML_Parse(parser.get(), chunk.data(), static_cast<int>(n), n == 0);
            if (context.failure)
                std::rethrow_exception(context.failure);
            if (events.finished)
                return;
            if (context.doctype)
                Damaged("the part " + part + " declares a document type");
            if (status != XML_STATUS_OK) {
                if (XML_GetErrorCode(parser.get()) == XML_ERROR_NO_MEMORY)
                    throw std::bad_alloc();
                Damaged("the part " + part + " is not well-formed (line " +
                        std::to_string(XML_GetCurrentLineNumber(parser.get())) + ": " +
                        XML_ErrorString(XML_GetErrorCode(parser.get())) + ")");
            }
            if (n == 0)
                return;
            const XML_Index at = XML_GetCurrentByteIndex(parser.get());
            if (at >= 0 && total - static_cast<unsigned long long>(at) > kMaxTokenBytes)
                Damaged("the part " + part + " holds a tag longer than 16 MB");
        }
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
            if (it == worksheets.end())
                return;
            if (sheets_.size() >= kMaxSheetNames)
                Damaged("it lists more than " + std::to_string(kMaxSheetNames) + " worksheets");
            std::string name = Utf8ToProgramText(s.attribute("name").value());
            if (name.size() > kMaxSheetNameBytes)
                Damaged("a worksheet's name is too long");
            sheets_.push_back({std::move(name), it->second});
        });
        pugi::xml_node pr = Child(Child(book, "workbook"), "workbookPr");
        std::string_view d1904 = pr.attribute("date1904").value();
        date1904_ = d1904 == "1" || d1904 == "true";
    }

    // The text of the <t> elements of a string item, phonetic runs left out;
    // nesting is counted, never recursed into.
    struct StringText {
        int t = 0, phonetic = 0;
        std::string text;
        void Start(std::string_view name) {
            t += name == "t";
            phonetic += name == "rPh";
        }
        void End(std::string_view name) {
            t -= name == "t";
            phonetic -= name == "rPh";
        }
        bool Collecting() const { return t > 0 && phonetic == 0; }
    };

    struct SharedStringsReader : XmlEvents {
        XlsxWorkbook& book;
        int item = 0;  // depth of <si> elements
        StringText text;
        size_t total = 0;
        std::stop_token stop;
        SharedStringsReader(XlsxWorkbook& b, std::stop_token s) : book(b), stop(std::move(s)) {}
        void Start(std::string_view name, const char**) override {
            if (name == "si" && item++ == 0)
                text = {};
            else if (item > 0)
                text.Start(name);
        }
        void End(std::string_view name) override {
            if (name == "si" && --item == 0) {
                std::string s = Utf8ToProgramText(Unescape(text.text));
                total += s.size() + sizeof(std::string);
                if (total > kMaxSharedStringBytes)
                    book.Damaged("its shared strings hold more than 256 MB of text");
                book.strings_.push_back(std::move(s));
                finished = stop.stop_requested();  // the sheet failed: no need to go on
            } else if (item > 0) {
                text.End(name);
            }
        }
        void Text(std::string_view t) override {
            if (item == 0 || !text.Collecting())
                return;
            if (text.text.size() + t.size() > kMaxCollectedBytes)
                book.Damaged("shared string " + std::to_string(book.strings_.size()) +
                             " is longer than " + std::to_string(kMaxCollectedBytes >> 20) + " MB");
            text.text.append(t);
        }
    };

    void ReadSharedStrings(std::stop_token stop) {
        int error = 0;
        std::unique_ptr<zip_t, ZipDiscard> zip(zip_open(path_.c_str(), ZIP_RDONLY, &error));
        if (!zip)
            Damaged("it cannot be opened a second time");
        SharedStringsReader reader(*this, std::move(stop));
        Stream(zip.get(), "xl/sharedStrings.xml", reader, false);
    }

    void ReadStyles() {
        if (stylesRead_)
            return;
        stylesRead_ = true;
        pugi::xml_document doc;
        Parse("xl/styles.xml", doc, false);
        pugi::xml_node sheet = Child(doc, "styleSheet");
        std::unordered_map<int, CellValue::Kind> custom;
        ForChildren(Child(sheet, "numFmts"), "numFmt", [&](pugi::xml_node f) {
            custom[f.attribute("numFmtId").as_int()] =
                FormatKind(f.attribute("formatCode").value());
        });
        ForChildren(Child(sheet, "cellXfs"), "xf", [&](pugi::xml_node xf) {
            const int id = xf.attribute("numFmtId").as_int();
            auto it = custom.find(id);
            styles_.push_back(it != custom.end() ? it->second : BuiltinFormatKind(id));
        });
    }

    // The cells of the requested rows and columns; everything else of the
    // sheet is passed over as it streams by.
    struct SheetReader : XmlEvents {
        XlsxWorkbook& book;
        const CellRequest& request;
        std::vector<CellValue> cells;
        std::vector<SharedCell> shared;
        CellTextBudget budget;
        int depth = 0;
        int sheetData = -1, rowDepth = -1, cellDepth = -1, valueDepth = -1, inlineDepth = -1;
        int row = 0, nextRow = 1, nextColumn = 1;
        // The cell being kept.
        int column = 0;
        size_t index = 0;
        std::string type, value;
        unsigned long long style = 0;
        bool hasValue = false;
        StringText inlineText;

        SheetReader(XlsxWorkbook& b, const CellRequest& r)
            : book(b),
              request(r),
              cells(static_cast<size_t>(std::max(r.rowCount, 0)) * r.columns.size()),
              budget(b.name_) {}

        void Start(std::string_view name, const char** attributes) override {
            ++depth;
            if (cellDepth >= 0) {
                if (depth == cellDepth + 1 && name == "v") {
                    valueDepth = depth;
                    hasValue = true;
                } else if (depth == cellDepth + 1 && name == "is") {
                    inlineDepth = depth;
                } else if (inlineDepth >= 0) {
                    inlineText.Start(name);
                }
            } else if (name == "sheetData" && sheetData < 0) {
                sheetData = depth;
            } else if (name == "row" && sheetData >= 0 && depth == sheetData + 1) {
                StartRow(attributes);
            } else if (name == "c" && rowDepth >= 0 && depth == rowDepth + 1) {
                StartCell(attributes);
            }
        }

        void StartRow(const char** attributes) {
            unsigned long long r = static_cast<unsigned long long>(nextRow);
            const char* number = Find(attributes, "r");
            if (number != nullptr && !WholeNumber(number, kMaxWorkbookRows, r))
                book.Damaged("the row number \"" + std::string(number).substr(0, 20) +
                             "\" is not valid");
            if (r < 1)
                book.Damaged("the row number 0 is not valid");
            row = static_cast<int>(r);
            // Rows come in order: past the range, nothing more is wanted.
            if (row >= request.firstRow + request.rowCount) {
                finished = true;
                return;
            }
            nextRow = row + 1;
            nextColumn = 1;
            rowDepth = depth;
        }

        void StartCell(const char** attributes) {
            column = nextColumn;
            const char* ref = Find(attributes, "r");
            if (ref != nullptr && *ref != '\0' && !ReferenceColumn(ref, column))
                book.Damaged("the cell reference \"" + std::string(ref).substr(0, 20) +
                             "\" is not valid");
            if (column > kMaxWorkbookColumns)
                book.Damaged("a column number is out of range");
            nextColumn = column + 1;
            if (row < request.firstRow)
                return;
            auto it = std::find(request.columns.begin(), request.columns.end(), column);
            if (it == request.columns.end())
                return;
            index = static_cast<size_t>(row - request.firstRow) * request.columns.size() +
                    static_cast<size_t>(it - request.columns.begin());
            cellDepth = depth;
            const char* t = Find(attributes, "t");
            type = t == nullptr ? "" : t;
            const char* s = Find(attributes, "s");
            if (s == nullptr || !WholeNumber(s, 1u << 30, style))
                style = 0;
            value.clear();
            hasValue = false;
            inlineText = {};
        }

        void End(std::string_view name) override {
            if (depth == cellDepth && type == "s") {
                unsigned long long string = 0;
                if (!WholeNumber(value, 1ull << 40, string))
                    book.Damaged("a cell names shared string \"" +
                                 Utf8ToProgramText(value.substr(0, 20)) +
                                 "\", which is not a number");
                shared.push_back({index, static_cast<size_t>(string), row, column});
                cellDepth = valueDepth = inlineDepth = -1;
            } else if (depth == cellDepth) {
                CellValue v = book.Value(type, value, hasValue, inlineText.text, style);
                budget.Take(v.text.size(), row, column);
                cells[index] = std::move(v);
                cellDepth = valueDepth = inlineDepth = -1;
            } else if (depth == valueDepth) {
                valueDepth = -1;
            } else if (depth == inlineDepth) {
                inlineDepth = -1;
            } else if (inlineDepth >= 0) {
                inlineText.End(name);
            } else if (depth == rowDepth) {
                rowDepth = -1;
            }
            --depth;
        }

        void Text(std::string_view t) override {
            std::string* into = nullptr;
            if (valueDepth >= 0 && depth == valueDepth)
                into = &value;
            else if (inlineDepth >= 0 && inlineText.Collecting())
                into = &inlineText.text;
            if (into == nullptr)
                return;
            if (into->size() + t.size() > kMaxCollectedBytes)
                budget.Take(kMaxFieldBytes + 1, row, column);
            into->append(t);
        }
    };

    CellValue Value(const std::string& type, const std::string& raw, bool hasValue,
                    const std::string& inlineText, unsigned long long style) const {
        CellValue v;
        if (type == "inlineStr") {
            v.kind = CellValue::Kind::Text;
            v.text = Utf8ToProgramText(Unescape(inlineText));
        } else if (!hasValue || raw.empty()) {
            // No value, or a formula whose result was never worked out: empty.
        } else if (type == "str" || type == "e") {
            v.kind = CellValue::Kind::Text;
            v.text = Utf8ToProgramText(Unescape(raw));
        } else if (type == "b") {
            v.kind = CellValue::Kind::Text;
            v.text = raw == "1" ? "True" : "False";
        } else if (type == "d") {
            int y = 0, mo = 0, d = 0, h = 0, mi = 0;
            double sec = 0;
            if (std::sscanf(raw.c_str(), "%d-%d-%dT%d:%d:%lf", &y, &mo, &d, &h, &mi, &sec) >= 3 &&
                y > 0 && y < 10000 && mo >= 1 && mo <= 12 && d >= 1 && d <= 31) {
                v.kind = CellValue::Kind::Date;
                v.number = SerialDate(y, mo, d, h, mi, sec);
            } else {
                v.kind = CellValue::Kind::Text;
                v.text = Utf8ToProgramText(raw);
            }
        } else {
            const char* begin = raw.c_str();
            char* end = nullptr;
            const double number = std::strtod(begin, &end);
            while (*end == ' ' || *end == '\t')
                ++end;
            if (end == begin || *end != '\0' || !std::isfinite(number))
                Damaged("a cell holds \"" + Utf8ToProgramText(raw.substr(0, 40)) +
                        "\" as a number");
            v.kind = style < styles_.size() ? styles_[style] : CellValue::Kind::Number;
            v.number = v.kind == CellValue::Kind::Date && date1904_ ? number + 1462 : number;
        }
        return v;
    }

    std::string name_;
    std::string path_;
    std::unique_ptr<zip_t, ZipDiscard> zip_;
    std::vector<Sheet> sheets_;
    std::vector<std::string> strings_;
    std::vector<CellValue::Kind> styles_;
    bool date1904_ = false;
    bool stringsRead_ = false, stylesRead_ = false;
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
