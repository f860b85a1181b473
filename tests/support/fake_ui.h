// A recording stand-in for the windows: every call is written to `log`, and
// questions are answered from `answers` in order (Cancel when it runs out).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "analyses/transition_diagram.h"
#include "store/ui.h"

namespace test {

struct FakeUi : core::KovaUi {
    std::vector<std::string> log;
    std::vector<std::string> messages;  // "title|text" of every message box
    std::deque<core::Answer> answers;
    std::string outputCaption;
    std::string outputText;
    int waitShows = 0;
    bool waitVisible = false;
    std::string waitLabel3;
    std::string waitLabel1;
    int redraws = 0;
    std::vector<core::TransitionDiagram> diagrams;  // every diagram shown

    void Message(const std::string& text, const std::string& title, core::Icon) override {
        messages.push_back(title + "|" + text);
        log.push_back("Message " + title + "|" + text);
    }
    core::Answer AskSaveFile(const std::string& fileName) override {
        log.push_back("AskSaveFile " + fileName);
        return Next();
    }
    core::Answer AskYesNo(const std::string& text, const std::string& title) override {
        log.push_back("AskYesNo " + title + "|" + text);
        return Next();
    }
    void ShowWait(const std::string& label3, const std::string& label1) override {
        if (!waitVisible) {
            ++waitShows;
            log.push_back("ShowWait " + label3);
        }
        waitVisible = true;
        waitLabel3 = label3;
        waitLabel1 = label1;
    }
    void HideWait() override {
        waitVisible = false;
        log.push_back("HideWait");
    }
    void MainChanged() override { ++redraws; }
    void ShowOutput(const std::string& caption, const std::string& text) override {
        outputCaption = caption;
        outputText = text;
        log.push_back("ShowOutput " + caption);
    }
    void ShowOutputEnd(const std::string& caption, const std::string& tail,
                       const std::string& fileName, uintmax_t fileBytes) override {
        outputCaption = caption;
        outputText = tail;
        log.push_back("ShowOutputEnd " + fileName + " " + std::to_string(fileBytes));
    }
    void ShowTransitionDiagram(const core::TransitionDiagram& diagram) override {
        diagrams.push_back(diagram);
        log.push_back("ShowTransitionDiagram " + diagram.title);
    }

private:
    core::Answer Next() {
        if (answers.empty())
            return core::Answer::Cancel;
        core::Answer a = answers.front();
        answers.pop_front();
        return a;
    }
};

}  // namespace test
