// Workbooks of today's zipped XML form (".xlsx"): the workbook's list of
// sheets and their relations and the number formats that mark dates, read
// whole through pugixml (they are small, and bounded), and the shared strings
// and the cells of one worksheet, streamed through a reader of our own so
// that a sheet of
// any size costs no more memory than the cells that are kept.
#include <zip.h>

#include <algorithm>
#include <deque>
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

#include "sheetreader/sheet_reader.h"
#include "store/error_numbers.h"
#include "store/file_access.h"
#include "store/text.h"
#include "store/windows1252.h"

namespace core {

namespace {

// A name without its namespace prefix.
std::string_view WithoutPrefix(std::string_view name) {
    size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// An element's name without its namespace prefix.
std::string_view LocalName(const pugi::xml_node& node) {
    return WithoutPrefix(node.name());
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

// The value of a digit, hexadecimal ones too when `hex`; -1 for any other
// character.
int DigitValue(char c, bool hex) {
    return c >= '0' && c <= '9'          ? c - '0'
           : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
           : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                                         : -1;
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
            const int digit = DigitValue(text[k], true);
            hex = digit >= 0;
            code = code * 16 + static_cast<unsigned>(digit);
        }
        if (!hex) {
            out.append("_x");
            pos = at + 2;
            continue;
        }
        AppendUtf8(code, out);
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
// kMaxFieldBytes), and the memory all the shared strings take together.
constexpr size_t kMaxCollectedBytes = 4 * kMaxFieldBytes;
constexpr size_t kMaxSharedStringBytes = size_t{256} << 20;
// Longest tag (or comment) of a streamed part: one cut between two pieces of
// the part is held over and read again with the next.
constexpr unsigned long long kMaxTokenBytes = 16ull << 20;

struct ZipDiscard {
    void operator()(zip_t* zip) const { zip_discard(zip); }
};
struct ZipFileClose {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

using XmlAttributes = std::vector<std::pair<std::string_view, std::string_view>>;

// The events of a streamed part. Element names come without their prefix.
struct XmlEvents {
    virtual ~XmlEvents() = default;
    virtual void Start(std::string_view name, const XmlAttributes& attributes) = 0;
    virtual void End(std::string_view name) = 0;
    virtual void Text(std::string_view text) = 0;
    bool finished = false;  // set to stop reading early, all that was wanted read
};

// An attribute by its name without a prefix (r:id and the like); nullptr
// when it is not there.
const std::string_view* Attribute(const XmlAttributes& attributes, std::string_view name) {
    for (const auto& a : attributes)
        if (WithoutPrefix(a.first) == name)
            return &a.second;
    return nullptr;
}

// What is wrong with a part that is no well-formed XML.
struct XmlFault {
    std::string what;
};

bool Blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A streaming reader of the XML the parts hold, fed piece by piece:
// elements, attributes, text with character references and the five
// predefined entities, CDATA sections, comments and processing instructions.
// A document type (and with it any other entity) is refused. Open elements
// are kept in a list on the heap, never on the call stack, and what is held
// over from one piece to the next (a tag cut in two) is bounded.
class XmlScanner {
public:
    // The longest entity reference, "&#x10FFFF;" with room to spare.
    static constexpr size_t kMaxEntity = 13;

    XmlScanner(XmlEvents& events, size_t maxHeld) : events_(events), maxHeld_(maxHeld) {}

    void Feed(std::string_view piece, bool last) {
        if (first_) {
            first_ = false;
            if (piece.substr(0, 3) == "\xEF\xBB\xBF")
                piece.remove_prefix(3);
            else if (piece.substr(0, 2) == "\xFF\xFE" || piece.substr(0, 2) == "\xFE\xFF")
                throw XmlFault{"it is not in UTF-8"};
        }
        if (held_.empty()) {
            const size_t used = Scan(piece, last);
            held_.assign(piece.substr(used));
        } else {
            held_.append(piece);
            const size_t used = Scan(held_, last);
            held_.erase(0, used);
        }
        if (events_.finished || !last)
            return;
        if (!held_.empty())
            throw XmlFault{"it ends inside a tag"};
        if (!open_.empty())
            throw XmlFault{"it ends inside <" + open_.back().substr(0, 40) + ">"};
        if (!root_)
            throw XmlFault{"it holds no element"};
    }

private:
    // Reads what is complete of `b`; gives how much that is.
    size_t Scan(std::string_view b, bool last) {
        const size_t n = b.size();
        size_t i = 0;
        while (i < n && !events_.finished) {
            if (b[i] != '<') {
                const size_t lt = b.find('<', i);
                size_t end = lt == std::string_view::npos ? n : lt;
                if (lt == std::string_view::npos && !last) {
                    // An entity cut at the piece's end waits for the rest;
                    // one longer than any entity is left for Decode to refuse.
                    const size_t amp = b.rfind('&');
                    if (amp != std::string_view::npos && amp >= i && n - amp <= kMaxEntity &&
                        b.find(';', amp) == std::string_view::npos)
                        end = amp;
                }
                if (end > i && !open_.empty())
                    Text(b.substr(i, end - i));
                i = end;
                if (lt == std::string_view::npos)
                    return i;
                continue;
            }
            if (!last && n - i < 9)
                return i;  // too short yet to tell what kind of markup it is
            const std::string_view at = b.substr(i);
            if (at.substr(0, 4) == "<!--") {
                const size_t end = b.find("-->", i + 4);
                if (end == std::string_view::npos)
                    return Incomplete(i, n, last);
                Bounded(end + 3 - i);
                i = end + 3;
            } else if (at.substr(0, 9) == "<![CDATA[") {
                const size_t end = b.find("]]>", i + 9);
                if (end == std::string_view::npos)
                    return Incomplete(i, n, last);
                Bounded(end + 3 - i);
                if (!open_.empty())
                    events_.Text(b.substr(i + 9, end - i - 9));
                i = end + 3;
            } else if (at.substr(0, 2) == "<?") {
                const size_t end = b.find("?>", i + 2);
                if (end == std::string_view::npos)
                    return Incomplete(i, n, last);
                Bounded(end + 2 - i);
                Declaration(b.substr(i + 2, end - i - 2));
                i = end + 2;
            } else if (at.substr(0, 2) == "<!") {
                throw XmlFault{"it declares a document type"};
            } else if (at.substr(0, 2) == "</") {
                const size_t end = b.find('>', i + 2);
                if (end == std::string_view::npos)
                    return Incomplete(i, n, last);
                Bounded(end + 1 - i);
                std::string_view name = b.substr(i + 2, end - i - 2);
                while (!name.empty() && Blank(name.back()))
                    name.remove_suffix(1);
                if (open_.empty() || open_.back() != name)
                    throw XmlFault{"it closes <" + std::string(name.substr(0, 40)) +
                                   ">, which is not open"};
                open_.pop_back();
                events_.End(WithoutPrefix(name));
                i = end + 1;
            } else {
                // A start tag ends at the first '>' outside quotes.
                size_t j = i + 1;
                char quote = 0;
                for (; j < n; ++j) {
                    const char c = b[j];
                    if (quote != 0) {
                        if (c == quote)
                            quote = 0;
                        else if (c == '<')
                            throw XmlFault{"an attribute holds \"<\""};
                    } else if (c == '"' || c == '\'') {
                        quote = c;
                    } else if (c == '>') {
                        break;
                    } else if (c == '<') {
                        throw XmlFault{"a tag holds \"<\""};
                    }
                }
                if (j == n)
                    return Incomplete(i, n, last);
                Bounded(j + 1 - i);
                StartTag(b.substr(i + 1, j - i - 1));
                i = j + 1;
            }
        }
        return i;
    }

    // A tag (or comment) cut at the end of what was fed, held over to the
    // next piece: at most as long as a whole one may be.
    size_t Incomplete(size_t at, size_t n, bool last) {
        if (last)
            throw XmlFault{"it ends inside a tag"};
        Bounded(n - at);
        return at;
    }

    void Bounded(size_t length) const {
        if (length > maxHeld_)
            throw XmlFault{"it holds a tag longer than " + SizeInMB(maxHeld_)};
    }

    // <?xml version="1.0" encoding="UTF-8"?>: only UTF-8 is read.
    void Declaration(std::string_view text) {
        const size_t at = text.find("encoding");
        if (text.substr(0, 4) != "xml " || at == std::string_view::npos)
            return;
        const size_t quote = text.find_first_of("\"'", at);
        if (quote == std::string_view::npos)
            return;
        std::string encoding(text.substr(quote + 1, 5));
        for (char& c : encoding)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (encoding != "utf-8" && encoding.substr(0, 4) != "utf8")
            throw XmlFault{"it is not in UTF-8"};
    }

    void StartTag(std::string_view tag) {
        const bool empty = !tag.empty() && tag.back() == '/';
        if (empty)
            tag.remove_suffix(1);
        size_t k = 0;
        while (k < tag.size() && !Blank(tag[k]))
            ++k;
        const std::string_view name = tag.substr(0, k);
        if (name.empty())
            throw XmlFault{"a tag has no name"};
        if (open_.empty() && root_)
            throw XmlFault{"it holds a second root element"};
        attributes_.clear();
        size_t used = 0;
        while (true) {
            while (k < tag.size() && Blank(tag[k]))
                ++k;
            if (k == tag.size())
                break;
            const size_t start = k;
            while (k < tag.size() && tag[k] != '=' && !Blank(tag[k]))
                ++k;
            const std::string_view attribute = tag.substr(start, k - start);
            while (k < tag.size() && Blank(tag[k]))
                ++k;
            if (attribute.empty() || k == tag.size() || tag[k] != '=')
                throw XmlFault{"an attribute of <" + std::string(name.substr(0, 40)) +
                               "> has no value"};
            ++k;
            while (k < tag.size() && Blank(tag[k]))
                ++k;
            if (k == tag.size() || (tag[k] != '"' && tag[k] != '\''))
                throw XmlFault{"an attribute value is not quoted"};
            const size_t close = tag.find(tag[k], k + 1);
            if (close == std::string_view::npos)
                throw XmlFault{"an attribute value is not closed"};
            std::string_view value = tag.substr(k + 1, close - k - 1);
            if (value.find('&') != std::string_view::npos) {
                if (used == values_.size())
                    values_.emplace_back();
                values_[used].clear();
                Decode(value, values_[used]);
                value = values_[used++];
            }
            attributes_.emplace_back(attribute, value);
            k = close + 1;
        }
        root_ = true;
        open_.emplace_back(name);
        events_.Start(WithoutPrefix(name), attributes_);
        if (empty) {
            open_.pop_back();
            if (!events_.finished)
                events_.End(WithoutPrefix(name));
        }
    }

    void Text(std::string_view raw) {
        if (raw.find('&') == std::string_view::npos) {
            events_.Text(raw);
            return;
        }
        text_.clear();
        Decode(raw, text_);
        events_.Text(text_);
    }

    // Character references and the predefined entities, in UTF-8.
    static void Decode(std::string_view raw, std::string& out) {
        size_t i = 0;
        while (i < raw.size()) {
            const size_t amp = raw.find('&', i);
            out.append(raw.substr(i, amp == std::string_view::npos ? raw.size() - i : amp - i));
            if (amp == std::string_view::npos)
                return;
            const size_t semi = raw.find(';', amp);
            if (semi == std::string_view::npos || semi - amp >= kMaxEntity)
                throw XmlFault{"an entity reference is not closed"};
            const std::string_view entity = raw.substr(amp + 1, semi - amp - 1);
            if (entity == "lt")
                out.push_back('<');
            else if (entity == "gt")
                out.push_back('>');
            else if (entity == "amp")
                out.push_back('&');
            else if (entity == "quot")
                out.push_back('"');
            else if (entity == "apos")
                out.push_back('\'');
            else if (!entity.empty() && entity[0] == '#')
                AppendUtf8(CharacterReference(entity.substr(1)), out);
            else
                throw XmlFault{"it names an entity \"" + std::string(entity) +
                               "\" that XML does not know"};
            i = semi + 1;
        }
    }

    static char32_t CharacterReference(std::string_view digits) {
        const bool hex = !digits.empty() && digits[0] == 'x';
        if (hex)
            digits.remove_prefix(1);
        char32_t code = 0;
        for (char c : digits) {
            const int digit = DigitValue(c, hex);
            if (digit < 0 || code > 0x10FFFF)
                throw XmlFault{"a character reference is not a number"};
            code = code * (hex ? 16 : 10) + static_cast<char32_t>(digit);
        }
        if (digits.empty() || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000))
            throw XmlFault{"a character reference names no character"};
        return code;
    }

    XmlEvents& events_;
    size_t maxHeld_;
    bool first_ = true;
    bool root_ = false;
    std::string held_;
    std::vector<std::string> open_;
    XmlAttributes attributes_;
    // Decoded attribute values; a deque, so that a value added keeps the
    // views of the values before it in the same tag valid.
    std::deque<std::string> values_;
    std::string text_;
};

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

// "AB12" -> column 28; false when it is not a cell reference. Some writers
// put the letters in lower case ("ab12"): read as their upper-case form.
bool ReferenceColumn(std::string_view ref, int& column) {
    size_t i = 0;
    column = 0;
    for (; i < ref.size() && column <= kMaxWorkbookColumns; ++i) {
        const char c = ref[i];
        const int letter = c >= 'A' && c <= 'Z' ? c - 'A' : c >= 'a' && c <= 'z' ? c - 'a' : -1;
        if (letter < 0)
            break;
        column = column * 26 + letter + 1;
    }
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
                throw WorkbookFileError(std::errc::no_such_file_or_directory, fileName);
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
            throw NoSuchWorksheet(request.sheet, name_);
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
        const std::string& part = sheets_[static_cast<size_t>(request.sheet)].part;
        Stream(zip_.get(), part, reader, true);
        if (strings.joinable())
            strings.join();
        if (stringsFailed)
            std::rethrow_exception(stringsFailed);
        // A relation that names another kind of part (the workbook's own)
        // gives no rows to read, and no records that look read.
        if (reader.sheetData < 0)
            Damaged("the part " + part + " holds no worksheet");
        const size_t columns = request.columns.size();
        for (size_t index = 0; index < reader.shared.size(); ++index) {
            const size_t string = reader.shared[index];
            if (string == kNoString)
                continue;
            if (string >= strings_.size())
                Damaged("a cell names shared string " + std::to_string(string) +
                        ", which is not there");
            reader.budget.Take(strings_[string].text.size(),
                               request.firstRow + static_cast<int>(index / columns),
                               request.columns[index % columns]);
            reader.cells[index] = strings_[string];
        }
        return std::move(reader.cells);
    }

private:
    struct Sheet {
        std::string name;
        std::string part;
    };
    static constexpr size_t kNoString = static_cast<size_t>(-1);

    [[noreturn]] void Damaged(const std::string& what) const {
        throw UnreadableWorkbook(name_, what);
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

    // Streams a part, holding only what `events` keeps.
    void Stream(zip_t* zip, const std::string& part, XmlEvents& events, bool required) {
        std::unique_ptr<zip_file_t, ZipFileClose> f(zip_fopen(zip, part.c_str(), 0));
        if (!f) {
            if (required)
                Damaged("the part " + part + " is missing");
            return;
        }
        XmlScanner scanner(events, kMaxTokenBytes);
        std::vector<char> piece(size_t{1} << 20);
        unsigned long long total = 0;
        try {
            while (!events.finished) {
                const zip_int64_t n = zip_fread(f.get(), piece.data(), piece.size());
                if (n < 0)
                    Damaged("the part " + part + " is damaged");
                total += static_cast<unsigned long long>(n);
                if (total > kMaxPartBytes)
                    Damaged("the part " + part + " is larger than 1 GB");
                scanner.Feed(std::string_view(piece.data(), static_cast<size_t>(n)), n == 0);
                if (n == 0)
                    return;
            }
        } catch (const XmlFault& fault) {
            Damaged("the part " + part + " is not well-formed: " + fault.what);
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
            XmlAttributes attributes;
            for (pugi::xml_attribute a : s.attributes())
                attributes.emplace_back(a.name(), a.value());
            const std::string_view* id = Attribute(attributes, "id");
            auto it = worksheets.find(std::string(id == nullptr ? "" : *id));
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
        void Start(std::string_view name, const XmlAttributes&) override {
            if (name == "si" && item++ == 0)
                text = {};
            else if (item > 0)
                text.Start(name);
        }
        void End(std::string_view name) override {
            if (name == "si" && --item == 0) {
                CellValue s;
                SetCellText(s, Unescape(text.text));
                // Each string costs its text and its place in the list, an
                // empty one too.
                total += s.text.size() + sizeof(CellValue);
                if (total > kMaxSharedStringBytes)
                    book.Damaged("its shared strings take more than " +
                                 SizeInMB(kMaxSharedStringBytes) + " of memory");
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
                             " is longer than " + SizeInMB(kMaxCollectedBytes));
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
        // The shared string each kept cell names, or kNoString: one per
        // cell, so that a cell written again replaces what it held.
        std::vector<size_t> shared;
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
              shared(cells.size(), kNoString),
              budget(b.name_) {}

        void Start(std::string_view name, const XmlAttributes& attributes) override {
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

        void StartRow(const XmlAttributes& attributes) {
            unsigned long long r = static_cast<unsigned long long>(nextRow);
            const std::string_view* number = Attribute(attributes, "r");
            if (number != nullptr && !WholeNumber(*number, kMaxWorkbookRows, r))
                book.Damaged("the row number \"" + Utf8ToProgramText(number->substr(0, 20)) +
                             "\" is not valid");
            if (r < 1)
                book.Damaged("the row number 0 is not valid");
            row = static_cast<int>(r);
            // Rows may come in any order: the whole sheet is read.
            nextRow = row + 1;
            nextColumn = 1;
            rowDepth = depth;
        }

        void StartCell(const XmlAttributes& attributes) {
            column = nextColumn;
            const std::string_view* ref = Attribute(attributes, "r");
            if (ref != nullptr && !ref->empty() && !ReferenceColumn(*ref, column))
                book.Damaged("the cell reference \"" + Utf8ToProgramText(ref->substr(0, 20)) +
                             "\" is not valid");
            if (column > kMaxWorkbookColumns)
                book.Damaged("a column number is out of range");
            nextColumn = column + 1;
            if (row < request.firstRow || row - request.firstRow >= request.rowCount)
                return;
            auto it = std::find(request.columns.begin(), request.columns.end(), column);
            if (it == request.columns.end())
                return;
            index = static_cast<size_t>(row - request.firstRow) * request.columns.size() +
                    static_cast<size_t>(it - request.columns.begin());
            cellDepth = depth;
            const std::string_view* t = Attribute(attributes, "t");
            type = t == nullptr ? "" : *t;
            const std::string_view* s = Attribute(attributes, "s");
            if (s == nullptr || !WholeNumber(*s, 1u << 30, style))
                style = 0;
            value.clear();
            hasValue = false;
            inlineText = {};
        }

        void End(std::string_view name) override {
            if (depth == cellDepth) {
                // A cell written again keeps only its last value.
                budget.Give(cells[index].text.size());
                cells[index] = {};
                shared[index] = kNoString;
                if (type == "s" && !value.empty()) {
                    unsigned long long string = 0;
                    if (!WholeNumber(value, 1ull << 40, string))
                        book.Damaged("a cell names shared string \"" +
                                     Utf8ToProgramText(value.substr(0, 20)) +
                                     "\", which is not a number");
                    shared[index] = static_cast<size_t>(string);
                } else {
                    CellValue v = book.Value(type, value, hasValue, inlineText.text, style);
                    budget.Take(v.text.size(), row, column);
                    cells[index] = std::move(v);
                }
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
            SetCellText(v, Unescape(inlineText));
        } else if (!hasValue || raw.empty()) {
            // No value, or a formula whose result was never worked out: empty.
        } else if (type == "str" || type == "e") {
            SetCellText(v, Unescape(raw));
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
                SetCellText(v, raw);
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
    std::deque<CellValue> strings_;  // text cells, never moved as the list grows
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
    if (!IsRegularFile(fileName))
        throw WorkbookFileError(
            PathExists(fileName) ? std::errc::is_a_directory : std::errc::no_such_file_or_directory,
            fileName);
    {
        std::ifstream in(NativePath(fileName), std::ios::binary);
        char bytes[8] = {};
        in.read(bytes, sizeof bytes);
        head.assign(bytes, static_cast<size_t>(in.gcount()));
        if (!in && !in.eof())
            throw WorkbookFileError(std::errc::io_error, fileName);
    }
    if (head.compare(0, 4, "PK\x03\x04") == 0)
        return OpenXlsxWorkbook(fileName);
    if (head == "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")
        return OpenXlsWorkbook(fileName);
    throw WorkbookError(kErrWorkbook, "The file is not a workbook (" + fileName + ")");
}

}  // namespace core
