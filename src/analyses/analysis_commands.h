// The main window's Interrater and CrossTables commands: opening the second
// coder's file as data set 2, and the checks and presets before the
// interrater analysis and the cross-table dialog.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "analyses/report_frame.h"
#include "store/file_dialog.h"
#include "store/state.h"
#include "store/ui.h"

namespace core {

// Interrater > "Open Kov2": asks about an open data set 2 (or about the filter
// lines, which share its storage), then reads the chosen file as data set 2
// and shows it. A Cancel in the question or the file dialog, or a file that
// cannot be read, puts the view and the shown page back as they were. True
// when data set 2 was opened.
bool OpenKov2(KovaState& s, KovaUi& ui, FileChooser& dialog);

// The Interrater menu's items: 1 "Open Kov2", 3..9 the agreement of V1..V7,
// 11 "All" of V1..V7 with one options dialog and one showing of the output
// file. Nothing in the view of the filter lines or without data set 1; the
// analyses need data set 2. askOptions shows `interask` modally (a Cancel
// there sets DialogCancelled).
void InterraterMenuItem(KovaState& s, KovaUi& ui, int index, FileChooser& dialog,
                        const std::function<void()>& askOptions, const ReportClock& clock);

// Whether the CrossTables menu acts: data set 1 shown and named. It then
// clears EpisodeFilling, EpisodeFillingY and DialogCancelled.
bool PrepareCrossTables(KovaState& s);

// The variables the cross-table dialog lists: the labels of V2..V7, as views
// of the state's own.
std::array<std::string_view, 6> CrossTableVariables(const KovaState& s);

// The boxes of the interrater options dialog `interask`.
struct InterraterOptions {
    std::string from1, to1;  // range of data set 1, as typed
    std::string from2, to2;  // range of data set 2, as typed
    bool episodeFilling = false;
    bool tableBased = false;
    bool frequencyTable = true;
    bool expectedTable = false;
    bool residualsTable = false;
    bool categoryKappas = true;
    bool agreementKappa = true;
};

// `interask` opening: the record numbers of the first and last record of
// data set 1 and of data set 2 ("" for a set without records); the switches
// as the last OK left them (the tables and kappas shown before any OK).
InterraterOptions InterraterPreset(const KovaState& s);

// `interask`'s OK: writes the options, the switches and both ranges (typed
// record numbers mapped to positions while a selection of the set is shown).
// The ranges are not checked here. A number outside the 16-bit range gives a
// message titled "Error", changes nothing and returns false (the dialog
// stays open).
bool ApplyInterraterOptions(KovaState& s, KovaUi& ui, const InterraterOptions& o);

// The boxes of the cross-table dialog `cross`; variables are 2..7.
struct CrossOptions {
    std::string from, to;
    int16_t lag = 0;
    int varX = 0;
    int varY = 0;
    bool fillingX = false;
    bool fillingY = false;
    bool tableBased = false;
    bool frequencyTable = true;
    bool expectedTable = true;
    bool residualsTable = true;
};

// The range boxes of `cross`: the first and last record numbers of data set 1.
std::array<std::string, 2> CrossRangePreset(const KovaState& s);

// `cross`'s OK: writes the options and the range (mapped while a selection
// of data set 1 is shown), runs the cross table and shows the analysis
// output file when the run wrote a report. A number outside the 16-bit range, a lag outside
// 0..20 or a variable not chosen gives a message titled "Error" and returns
// false with nothing run (the dialog stays open); false too when the output
// file could not be written.
bool RunCrossTablesFromDialog(KovaState& s, KovaUi& ui, const CrossOptions& o,
                              const ReportClock& clock);

}  // namespace core
