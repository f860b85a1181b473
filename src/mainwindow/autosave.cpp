#include "mainwindow/autosave.h"

#include "store/data_file.h"
#include "store/open_files.h"
#include "store/selection_store.h"
#include "store/text.h"

namespace core {

namespace {

// Holds back the messages of an automatic save, so that a refusal can be
// told as the automatic save's own, once; everything else reaches the
// windows.
class HeldMessages : public KovaUi {
public:
    explicit HeldMessages(KovaUi& ui) : ui_(ui) {}

    void Message(const std::string& text, const std::string&, Icon) override {
        text_ += (text_.empty() ? "" : "\r\n\r\n") + text;
    }
    Answer AskSaveFile(const std::string& fileName) override { return ui_.AskSaveFile(fileName); }
    Answer AskYesNo(const std::string& text, const std::string& title) override {
        return ui_.AskYesNo(text, title);
    }
    void ShowWait(const std::string& label3, const std::string& label1) override {
        ui_.ShowWait(label3, label1);
    }
    void HideWait() override { ui_.HideWait(); }
    void MainChanged() override { ui_.MainChanged(); }
    void ShowOutput(const std::string& caption, const std::string& text) override {
        ui_.ShowOutput(caption, text);
    }
    void ShowOutputEnd(const std::string& caption, const std::string& tail,
                       const std::string& fileName, uintmax_t fileBytes) override {
        ui_.ShowOutputEnd(caption, tail, fileName, fileBytes);
    }
    void ShowTransitionDiagram(const TransitionDiagram& diagram) override {
        ui_.ShowTransitionDiagram(diagram);
    }

    const std::string& Text() const { return text_; }

private:
    KovaUi& ui_;
    std::string text_;
};

// Saves data set 1 to its file; the messages go to `ui`.
bool SaveData1(KovaState& s, KovaUi& ui) {
    // Its own file may be written, but not when its backup is another set's.
    if (!MayWriteFile(s, ui, s.DataFileName1, {.ownSet = 1}))
        return false;
    if (s.SelectionShown1 == kFalse)
        return SaveDataFile(s, ui, s.DataFileName1, s.Records1, s.RecordCount1, s.FileHeaderNumber,
                            s.FileInfo1);
    const int16_t shown = s.ViewMode;
    s.ViewMode = 1;
    StoreSelectionEdits(s);
    s.ViewMode = shown;
    return SaveDataFile(s, ui, s.DataFileName1, s.FullRecords1, s.FullCount1, s.FileHeaderNumber,
                        s.FileInfo1);
}

// A refused save comes back with every period while nothing changes: it is
// told once, as the automatic save's, and again only when the refusal or an
// open set's name is another. `why` is the refusal, `wayOn` how the user
// gets the data saved.
void TellRefusalOnce(KovaState& s, KovaUi& ui, const std::string& why, const std::string& wayOn) {
    const std::string told =
        why + '\n' + s.DataFileName1 + '\n' + s.DataFileName2 + '\n' + s.FilterFileName;
    if (told == s.AutosaveRefusalTold)
        return;
    s.AutosaveRefusalTold = told;
    ui.Message("The automatic save did not save \"" + s.DataFileName1 + "\":\r\n\r\n" + why +
                   "\r\n\r\n" + wayOn + " The automatic save tries again every " +
                   PlainNumber(5 * s.AutosaveChoice) +
                   " minutes, and tells this again only when the open files change.",
               kProgramTitle, Icon::Exclamation);
}

}  // namespace

bool AutosaveOn(const KovaState& s) {
    return s.AutosaveChoice > 0;
}

bool ChooseAutosave(KovaState& s, int16_t choice) {
    s.AutosaveChoice = choice;
    s.AutosaveRefusalTold.clear();
    if (AutosaveOn(s))
        s.AutosaveTicks = 0;
    return AutosaveOn(s);
}

TickResult AutosaveTick(KovaState& s, KovaUi& ui, bool insideCommand) {
    if (s.DataFileName1.empty() || !AutosaveOn(s) || insideCommand)
        return TickResult::Idle;
    const int period = 5 * s.AutosaveChoice;
    if (s.AutosaveTicks < period - 1) {
        ++s.AutosaveTicks;
        return TickResult::Counted;
    }
    s.AutosaveTicks = 0;
    // A set read only in part would replace the whole file on disk by the
    // part: it waits until the user saves it by hand.
    if (s.ReadIncomplete1) {
        TellRefusalOnce(s, ui,
                        "It was read only in part: what came after the error in the file is "
                        "missing here, and the automatic save does not replace the file with "
                        "only the records that could be read.",
                        "To save it, show the data file and click Save Data, which asks first "
                        "whether to replace the file with those records, or save it under "
                        "another name with Save Kovfile.");
        return TickResult::Skipped;
    }
    // Only the user may replace what someone else wrote there.
    if (ChangedOnDisk(s.DataFileKnown1, s.DataFileName1)) {
        TellRefusalOnce(
            s, ui, ChangedOnDiskText(s.DataFileName1) + " The automatic save does not replace it.",
            "To keep both, save the data under another name with Save Kovfile; to "
            "replace the file, show the data file and click Save Data, which asks "
            "first.");
        return TickResult::Failed;
    }
    HeldMessages held(ui);
    if (!SaveData1(s, held)) {
        TellRefusalOnce(s, ui, held.Text(),
                        "Until a save succeeds the data stay unsaved: mend what the message "
                        "names, or save them under another name with Save Kovfile.");
        return TickResult::Failed;
    }
    s.DataFileKnown1 = KnowFile(s.DataFileName1);
    s.AutosaveRefusalTold.clear();
    return TickResult::Saved;
}

}  // namespace core
