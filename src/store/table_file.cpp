#include "store/table_file.h"

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

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

}  // namespace

bool IsTableItemAllowed(std::string_view text) {
    return text.find('"') == std::string_view::npos;
}

std::string TableItemRefusedText(std::string_view text) {
    return "The label or category " + std::string(text) +
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
    if (std::error_code ec = ReplaceFile(FileName, out)) {
        ShowError(ui, "SaveTableFile", FileAccessError(ec, FileName));
        return false;
    }
    return true;
}

bool ReadTableFile(KovaState& s, KovaUi& ui, const std::string& FileName) {
    std::string data;
    if (std::error_code ec = ReadWholeFile(FileName, data)) {
        ShowError(ui, "ReadTableFile", FileError(ec, FileName));
        return false;
    }

    // Everything goes into temporaries first, so a damaged file changes nothing.
    std::array<std::string, 10> labels;
    std::array<std::vector<std::string>, 4> lists;
    try {
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
            std::vector<std::string>* list = nullptr;
            if (name.size() == 2 && name[0] == 'V' && name[1] >= '4' && name[1] <= '7') {
                list = &lists[name[1] - '4'];
            }
            for (int j = 0; j < count; ++j) {
                std::string item = reader.Next();
                if (list) {
                    InsertSorted(*list, std::move(item));
                }
            }
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
        s.CategoryLists[k] = std::move(lists[k - 4]);
    }
    return true;
}

}  // namespace core
