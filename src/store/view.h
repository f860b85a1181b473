// Kept in the store because the store's openers and record operations redraw through it.
// The record page and the view modes of the main window, as a model in
// KovaState::Main that the window draws.
#pragma once

#include <cstdint>
#include <optional>

#include "store/state.h"
#include "store/ui.h"

namespace core {

// Draw the page with RecordNo current on the bottom row and call
// ui.MainChanged() once. The data set 1 version first lowers RecordNo to
// RecordCount1; rows past the records the set holds are drawn blank. Drawing
// never changes a record: Text1 shows V8 trimmed, and only typing there
// writes it back.
void RefreshRecordList1(KovaState& s, KovaUi& ui, int16_t& RecordNo);
void RefreshRecordList2(KovaState& s, KovaUi& ui, int16_t& RecordNo);

// Switch the shown set: 1 data set 1, 2 data set 2, 3 filter lines.
void ShowDataMode(KovaState& s, KovaUi& ui);
void ShowData2Mode(KovaState& s, KovaUi& ui);
void ShowFilterMode(KovaState& s, KovaUi& ui);

// Shows the set of view mode `mode` again through the three above; mode 0
// shows nothing. A command that ends without doing its work puts the view
// back with it.
void ShowViewMode(KovaState& s, KovaUi& ui, int16_t mode);

// How a kept view comes back (see ShownView::Restore).
enum class ViewRestore {
    // The window as it was kept, its page drawn anew only when the view was
    // data set 1's and the selection it showed has ended since.
    WindowAsItWas,
    // Drawn anew from its set, which the command may have changed.
    Redrawn,
    // Drawn anew when the view mode or data set 1's shown selection has
    // changed since; else left as it is.
    RedrawnIfLeft,
};

// The view the main window shows, kept by a command that may end without
// replacing a set and shown again when it does. The question before a set is
// replaced switches to that set's view and may end data set 1's shown
// selection, which changes the window for data set 1 whichever view is shown.
// The "Show output" button comes back as it was kept: whether the output
// viewer is open is no part of a set's view.
class ShownView {
public:
    explicit ShownView(const KovaState& s);

    void Restore(KovaState& s, KovaUi& ui, ViewRestore how) const;

private:
    int16_t mode_;
    int16_t selection1_;
    MainWindowModel window_;
};

// Whether the sieve is in force: it ran, and data set 1's records have not
// changed in number or order since (its list names them by position).
bool SieveInForce(const KovaState& s);
// Ends the sieve: no list, no position, not in force.
void ClearSieve(KovaState& s);
// Ends the sieve as a click on the search-mode button does: the button, when
// it reads "Sieve", back to "String" and text find.
void SwitchOffSieve(KovaState& s);
// Switches off a sieve that is no longer in force.
void EndOutdatedSieve(KovaState& s);

// The file name of a set, numbered as the view modes: 1 data set 1, 2 data
// set 2, 3 (or any other number) the filter lines.
const std::string& FileNameOfSet(const KovaState& s, int16_t set);

// Count and current position of the set that ViewMode names (0 in view 0).
int16_t ShownCount(const KovaState& s);
int16_t& ShownPosition(KovaState& s);

// Both scroll bars run from 1 to `count`, enabled when there is a record;
// `position`, when given, becomes their value.
void SetScrollBars(KovaState& s, int count, std::optional<int16_t> position = std::nullopt);
RecordSet& ShownRecords(KovaState& s);

}  // namespace core
