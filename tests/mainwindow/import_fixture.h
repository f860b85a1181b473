// What the tests of the append, merge and import commands share: a scripted
// file dialog, scripted option dialogs and data files written to a scratch
// folder.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "mainwindow/file_commands.h"
#include "store/data_file.h"
#include "store/store_test_util.h"
#include "store/text_import.h"
#include "store/workbook.h"
#include "store/worksheet_import.h"
#include "support/fake_ui.h"
#include "support/scripted_chooser.h"
#include "support/sheet_reader.h"

namespace test {

// The option dialogs answered from fixed answers; `cancel` answers Cancel.
struct ScriptedImportDialogs : core::ImportDialogs {
    bool cancel = false;
    int dialogueOption = 0;
    std::string delimiter = ";";
    std::string commentChar;
    std::string columns[8];
    std::string fromRow = "1";
    std::string toRow = "1";
    std::string sheet;  // "" = the first one offered
    std::vector<std::string> offeredSheets;
    std::string shownFileName;
    int asked = 0;

    bool AskDialogueOptions(core::KovaState& s, const std::string& fileName) override {
        ++asked;
        shownFileName = fileName;
        if (cancel)
            return false;
        return core::TakeDialogueAnswers(s, dialogueOption, delimiter, commentChar);
    }
    bool AskWorksheetOptions(core::KovaState& s, const std::vector<std::string>& names) override {
        ++asked;
        offeredSheets = names;
        if (cancel)
            return false;
        // The sheet by its name, or by its place ("#2") where names repeat.
        int place = sheet.empty() ? 0 : -1;
        if (sheet.size() > 1 && sheet[0] == '#')
            place = std::stoi(sheet.substr(1)) - 1;
        for (size_t i = 0; place < 0 && i < names.size(); ++i)
            if (names[i] == sheet)
                place = static_cast<int>(i);
        const std::string chosen =
            place >= 0 && static_cast<size_t>(place) < names.size() ? names[place] : sheet;
        return !core::TakeWorksheetAnswers(s, columns, fromRow, toRow, place, chosen).has_value();
    }
};

// A workbook of fixed cells; sheets named in order.
struct FakeWorkbook : core::Workbook {
    std::vector<std::string> names{"Sheet1", "Data"};
    std::map<std::pair<int, int>, core::CellValue> cells;
    std::vector<std::string> SheetNames() override { return names; }
    std::vector<core::CellValue> Cells(const core::CellRequest& r) override {
        std::vector<core::CellValue> out;
        for (int k = 0; k < r.rowCount; ++k)
            for (int column : r.columns) {
                auto it = cells.find({r.firstRow + k, column});
                out.push_back(it == cells.end() ? core::CellValue{} : it->second);
            }
        return out;
    }
    // Opens a copy of this workbook, whatever the file's name.
    core::WorkbookOpener Opener() const {
        return [book = *this](const std::string&, auto) -> std::unique_ptr<core::Workbook> {
            return std::make_unique<FakeWorkbook>(book);
        };
    }
};

inline std::string WriteDataFile(const std::string& path, const core::RecordSet& records,
                                 int16_t header = 9, const std::string& info = "info") {
    core::KovaState s;
    FakeUi quiet;
    EXPECT_TRUE(core::SaveDataFile(s, quiet, path, records,
                                   static_cast<int16_t>(records.size() - 1), header, info));
    return path;
}

// A data file read back with the program's own reader.
struct ReadBack {
    bool ok = false;
    core::RecordSet records;
    int16_t count = 0, header = 0;
    std::string info;
};
inline ReadBack ReadDataBack(const std::string& path) {
    core::KovaState s;
    FakeUi quiet;
    ReadBack r;
    r.ok = core::ReadDataFile(s, quiet, path, r.records, r.count, r.header, r.info);
    return r;
}

// Records with the given time codes (V8 "<tag><k>").
inline core::RecordSet Timed(std::initializer_list<const char*> times, const std::string& tag) {
    core::RecordSet set(1);
    int k = 0;
    for (const char* t : times) {
        ++k;
        set.push_back(
            Rec(static_cast<int16_t>(k), t, 1, "A", "", "", "", "", tag + std::to_string(k)));
    }
    return set;
}

}  // namespace test
