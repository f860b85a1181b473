#include "store/table_file.h"

#include <algorithm>
#include <array>
#include <vector>

#include "store/error_numbers.h"
#include "store/file_access.h"
#include "store/text.h"

namespace core {

namespace {

constexpr const char* kCrLf = "\r\n";

// A failure with the error number and description of the "Error # " message.
using TableError = NumberedError;

void ShowError(KovaUi& ui, const char* source, const TableError& e) {
    ui.Message(ErrorText(e.number, source, e.description), "Error", Icon::Critical);
}

// Reads the items of a table file as they were written: a quoted item runs to
// its closing quote (line breaks included) and whatever follows it up to the
// next comma or line end is skipped; an unquoted item runs to a comma or line
// end and is trimmed of spaces.
class ItemReader {
public:
    explicit ItemReader(std::string data) : data_(std::move(data)) {}

    bool AtEnd() const { return pos_ >= data_.size(); }

    // The next item; a TableError when the file has ended.
    std::string Next() {
        while (pos_ < data_.size() && (data_[pos_] == ' ' || data_[pos_] == '\t')) {
            ++pos_;
        }
        if (AtEnd()) {
            throw TableError{kErrPastEnd, "Input past end of file"};
        }
        std::string item;
        if (data_[pos_] == '"') {
            const size_t close = data_.find('"', pos_ + 1);
            const size_t end = close == std::string::npos ? data_.size() : close;
            item = data_.substr(pos_ + 1, end - pos_ - 1);
            pos_ = close == std::string::npos ? data_.size() : close + 1;
            SkipToSeparator();
        } else {
            const size_t end = SeparatorFrom(pos_);
            item = Trim(std::string_view(data_).substr(pos_, end - pos_));
            pos_ = end;
        }
        TakeSeparator();
        return item;
    }

private:
    size_t SeparatorFrom(size_t from) const {
        const size_t end = data_.find_first_of(",\r\n", from);
        return end == std::string::npos ? data_.size() : end;
    }
    void SkipToSeparator() { pos_ = SeparatorFrom(pos_); }
    // Takes one comma, or one line end: CR LF, a lone LF or a lone CR.
    void TakeSeparator() {
        if (AtEnd()) {
            return;
        }
        if (data_[pos_] == ',') {
            ++pos_;
        } else if (data_[pos_] == '\r') {
            ++pos_;
            if (!AtEnd() && data_[pos_] == '\n') {
                ++pos_;
            }
        } else if (data_[pos_] == '\n') {
            ++pos_;
        }
    }

    std::string data_;
    size_t pos_ = 0;
};

TableError NotATable(const std::string& fileName, const std::string& why) {
    return {kErrTypeMismatch, "Type mismatch: " + fileName + " is not a table file (" + why + ")"};
}

// A count as a table file holds it: digits, a sign allowed.
bool IsWholeNumber(std::string_view text) {
    std::string trimmed = Trim(text);
    size_t i = !trimmed.empty() && (trimmed[0] == '-' || trimmed[0] == '+') ? 1 : 0;
    if (i == trimmed.size()) {
        return false;
    }
    for (; i < trimmed.size(); ++i) {
        if (trimmed[i] < '0' || trimmed[i] > '9') {
            return false;
        }
    }
    return true;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

}  // namespace

bool IsTableItemAllowed(std::string_view text) {
    return text.find('"') == std::string_view::npos;
}

std::string TableItemRefusedText(std::string_view text) {
    return "The label or category " + QuoteForMessage(text) +
           " contains a double quote (\"), which a table file cannot hold. "
           "Please remove the double quote.";
}

bool SaveTableFile(KovaState& s, KovaUi& ui, const std::string& FileName) {
    std::string out;
    for (const std::string& label : s.Varnaam) {
        if (!IsTableItemAllowed(label)) {
            ui.Message(TableItemRefusedText(label), kProgramTitle, Icon::Exclamation);
            return false;
        }
        out += Quoted(label) + kCrLf;
    }
    for (int k = 4; k <= 7; ++k) {
        const std::vector<std::string>& list = s.CategoryLists[k];
        out += Quoted("V" + std::to_string(k)) + "," +
               PlainNumber(static_cast<long long>(list.size())) + kCrLf;
        for (const std::string& item : list) {
            if (!IsTableItemAllowed(item)) {
                ui.Message(TableItemRefusedText(item), kProgramTitle, Icon::Exclamation);
                return false;
            }
            out += Quoted(item) + kCrLf;
        }
    }

    // Every failure of the write is the access error, a missing folder too.
    std::string failed;
    if (std::error_code ec = ReplaceFile(FileName, out, {}, &failed)) {
        ShowError(ui, "SaveTableFile", FileAccessError(ec, failed.empty() ? FileName : failed));
        return false;
    }
    s.TableFileKnown = KnowFile(FileName);
    s.TableChanged = false;
    return true;
}

bool ReadTableFile(KovaState& s, KovaUi& ui, const std::string& FileName) {
    std::string data;
    if (std::error_code ec = ReadWholeFile(FileName, data, kMaxTableFileBytes)) {
        ShowError(ui, "ReadTableFile",
                  ReadFileError(ec, FileName, kMaxTableFileBytes, "a table file may hold"));
        return false;
    }

    // Everything goes into temporaries first, so a damaged file changes nothing.
    std::array<std::string, 10> labels;
    std::array<std::vector<std::string>, 4> lists;
    bool knownBlocks = false;
    try {
        // A table file is text: control characters other than the line ends
        // and tabs mean some other kind of file.
        for (unsigned char c : data) {
            if (c < 0x20 && c != '\r' && c != '\n' && c != '\t') {
                throw NotATable(FileName, "it holds bytes no text holds");
            }
        }
        ItemReader reader(std::move(data));
        for (std::string& label : labels) {
            label = reader.Next();
        }
        for (int block = 0; block < 4; ++block) {
            const std::string name = reader.Next();
            const std::string countText = reader.Next();
            int16_t count = 0;
            try {
                count = ReadInt16(countText);
            } catch (const Overflow16&) {
                throw TableError{kErrOverflow,
                                 "Overflow in the count of list " + name + ": " + countText};
            }
            if (!IsWholeNumber(countText)) {
                throw NotATable(FileName, "the count of list " + name + " is no number");
            }
            std::vector<std::string>* list = nullptr;
            if (name.size() == 2 && name[0] == 'V' && name[1] >= '4' && name[1] <= '7') {
                list = &lists[name[1] - '4'];
                knownBlocks = true;
            }
            for (int j = 0; j < count; ++j) {
                std::string item = reader.Next();
                if (list) {
                    list->push_back(std::move(item));
                }
            }
        }
        if (!knownBlocks) {
            throw NotATable(FileName, "it holds none of the lists V4 to V7");
        }
        // No file of this program holds more than four blocks; anything after
        // them is left unread.
    } catch (const TableError& e) {
        ShowError(ui, "ReadTableFile", e);
        return false;
    }

    for (size_t i = 0; i < labels.size(); ++i) {
        s.Varnaam[i] = std::move(labels[i]);
    }
    for (int k = 4; k <= 7; ++k) {
        // Sorted once, stably: what inserting the items one by one in file
        // order would give, without its quadratic cost on a long list.
        std::vector<std::string>& list = lists[k - 4];
        std::stable_sort(list.begin(), list.end(), [](const std::string& a, const std::string& b) {
            return CompareCategories(a, b) < 0;
        });
        s.CategoryLists[k] = std::move(list);
    }
    s.TableChanged = false;
    return true;
}

}  // namespace core
