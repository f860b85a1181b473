// A stand-in for the windows that shows nothing and keeps no log, for code
// that runs the core many times over (benchmarks, the fuzz targets): it
// counts the message boxes and keeps the last text, and answers every
// question with Cancel or No.
#pragma once

#include <string>

#include "store/ui.h"

namespace test {

struct SilentUi : core::KovaUi {
    int messages = 0;
    std::string lastMessage;

    void Message(const std::string& text, const std::string&, core::Icon) override {
        ++messages;
        lastMessage = text;
    }
    core::Answer AskSaveFile(const std::string&) override { return core::Answer::Cancel; }
    core::Answer AskYesNo(const std::string&, const std::string&) override {
        return core::Answer::No;
    }
    void ShowWait(const std::string&, const std::string&) override {}
    void HideWait() override {}
    void MainChanged() override {}
    void ShowOutput(const std::string&, const std::string&) override {}
    void ShowOutputEnd(const std::string&, const std::string&, const std::string&,
                       uintmax_t) override {}
    void ShowTransitionDiagram(const core::TransitionDiagram&) override {}
};

}  // namespace test
