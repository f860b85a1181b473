// A file dialog answered from a script, for the tests of the commands that
// ask for file names.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "store/file_dialog.h"

namespace test {

// Answers the file dialogs from a script: a name, or nullopt for Cancel.
struct ScriptedChooser : core::FileChooser {
    std::deque<std::optional<std::string>> answers;
    std::vector<core::FileDialogRequest> requests;
    std::optional<std::string> Next(const core::FileDialogRequest& r) {
        requests.push_back(r);
        if (answers.empty())
            return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<std::string> ShowOpen(const core::FileDialogRequest& r) override {
        return Next(r);
    }
    std::optional<std::string> ShowSave(const core::FileDialogRequest& r) override {
        return Next(r);
    }
    int ChosenFilter() const override { return 1; }
};

}  // namespace test
