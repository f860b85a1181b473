#include "store/view.h"

#include "store/text.h"

namespace core {

namespace {

// Fills the ten page rows with the records up to position p of `records`.
// Showing a record never changes it: the text box shows the current text
// trimmed, and only what the user types there is written back.
void DrawPage(KovaState& s, const RecordSet& records, int p, ProtocolRecord& buffer) {
    // The search-mode button shows at once that a sieve ended with a change.
    EndOutdatedSieve(s);
    // The text box starts on what it now shows: its room is counted again.
    s.TextBoxRoom.reset();
    MainWindowModel& m = s.Main;
    const int rows = static_cast<int>(m.rows.size()) - 1;
    const int last = static_cast<int>(records.size()) - 1;
    for (int i = 0; i < rows; ++i) {
        const int r = rows - i;
        const int k = p - i;
        PageRow& row = m.rows[r];
        if (k < 1 || k > last) {
            for (std::string& v : row.v)
                v.clear();
            if (r == rows) {
                m.text1.clear();
                m.text1Record.clear();
                m.text1Colour = kWhite;
            } else {
                row.lab.clear();
                row.labColour = kVeryPaleYellow;
            }
            continue;
        }
        buffer = records[k];
        row.v[0] = PlainNumber(buffer.V0);
        row.v[1] = buffer.V1;
        row.v[2] = PlainNumber(buffer.V2);
        row.v[3] = buffer.V3;
        row.v[4] = buffer.V4;
        row.v[5] = buffer.V5;
        row.v[6] = buffer.V6;
        row.v[7] = buffer.V7;
        const bool hasMemo = !buffer.Memo.empty();
        if (r == rows) {
            m.text1 = Trim(buffer.V8);
            m.text1Record = buffer.V8;
            m.text1Colour = hasMemo ? kPaleYellow : kWhite;
        } else {
            row.lab = Trim(buffer.V8);
            row.labColour = hasMemo ? kPaleYellow : kVeryPaleYellow;
        }
    }
    m.scrollValue = p;
}

// Steps shared by the three switches: the selection state of the set.
void ShowSelectionState(KovaState& s, int16_t flag, int16_t fullCount) {
    MainWindowModel& m = s.Main;
    const bool selection = flag != kFalse;
    m.SelLabel[0].visible = selection;
    m.SelLabel[1].visible = selection;
    m.CSaveSelection.visible = selection;
    m.Teller2.visible = selection;
    for (ControlState* c : {&m.CDelete, &m.CCopy, &m.CInsrt, &m.CAdd, &m.CJoin, &m.CSplit})
        c->enabled = !selection;
    if (selection)
        m.Teller2.caption = PlainNumber(fullCount);
}

// The last step of a switch: scroll bars, page, title and counter of the
// set, when it has a file name.
void ShowSet(KovaState& s, int16_t count, int16_t& position, const std::string& fileName,
             const char* titlePrefix, bool firstSet) {
    if (fileName.empty())
        return;
    const int16_t remembered = position;
    SetScrollBars(s, count);
    position = remembered;
    int16_t copy = position;
    if (firstSet) {
        if (copy > s.RecordCount1)
            copy = s.RecordCount1;
        DrawPage(s, s.Records1, copy, s.RecordBuffer1);
    } else {
        DrawPage(s, s.Records2, copy, s.RecordBuffer2);
    }
    s.Main.scrollValue = position;
    s.Main.title = titlePrefix + fileName;
    s.Main.Teller.caption = PlainNumber(count);
}

// How a view mode looks: its number and colour, the captions of its Save and
// List buttons, and the title before its file's name.
struct ModeLook {
    int16_t viewMode;
    Rgb background;
    const char* save;
    const char* print;
    const char* titlePrefix;
};

// The steps every switch takes, after those of its own mode: the mode and its
// colour, the buttons of every set, the selection state and, last, the
// page and title of the set; then the window is redrawn.
void ShowMode(KovaState& s, KovaUi& ui, const ModeLook& look, int16_t selectionShown,
              int16_t fullCount, int16_t count, int16_t& position, const std::string& fileName) {
    MainWindowModel& m = s.Main;
    s.ViewMode = look.viewMode;
    m.background = look.background;
    m.CSave.visible = true;
    m.CPrint.visible = true;
    m.CFileInfo.visible = true;
    m.CSave.caption = look.save;
    m.CPrint.caption = look.print;
    ShowSelectionState(s, selectionShown, fullCount);
    ShowSet(s, count, position, fileName, look.titlePrefix, look.viewMode == 1);
    ui.MainChanged();
}

void ShowBackButton(MainWindowModel& m, const char* caption) {
    m.CBack.visible = true;
    m.CBack.caption = caption;
}

}  // namespace

bool SieveInForce(const KovaState& s) {
    return s.SieveActive != 0 && s.SieveChangeCount1 == s.ChangeCount1;
}

void SwitchOffSieve(KovaState& s) {
    ClearSieve(s);
    if (s.Main.CString.caption == "Sieve") {
        s.FindMode = 1;
        s.Main.CString.caption = "String";
    }
}

void EndOutdatedSieve(KovaState& s) {
    if (s.SieveActive != 0 && !SieveInForce(s))
        SwitchOffSieve(s);
}

void ClearSieve(KovaState& s) {
    s.SieveActive = 0;
    s.SievePosition = 0;
    s.SieveCount = 0;
    s.SieveList.clear();
}

void RefreshRecordList1(KovaState& s, KovaUi& ui, int16_t& RecordNo) {
    if (RecordNo > s.RecordCount1)
        RecordNo = s.RecordCount1;
    DrawPage(s, s.Records1, RecordNo, s.RecordBuffer1);
    ui.MainChanged();
}

void RefreshRecordList2(KovaState& s, KovaUi& ui, int16_t& RecordNo) {
    DrawPage(s, s.Records2, RecordNo, s.RecordBuffer2);
    ui.MainChanged();
}

void ShowDataMode(KovaState& s, KovaUi& ui) {
    MainWindowModel& m = s.Main;
    if (s.FilterFileName.empty())
        m.CRunfilter.visible = false;
    else
        m.CRunfilter.caption = "Make Filter";
    if (!s.FilterFileName.empty())
        ShowBackButton(m, ">> Filters");
    else if (!s.DataFileName2.empty())
        ShowBackButton(m, ">> Data2");
    if (!s.AnalysisFileName.empty())
        m.CAnaf.visible = true;
    ShowMode(s, ui, {1, kGrey, "Save Data", "List Data", "KOVA Datafile: "}, s.SelectionShown1,
             s.FullCount1, s.RecordCount1, s.CurrentRecord1, s.DataFileName1);
}

void ShowData2Mode(KovaState& s, KovaUi& ui) {
    MainWindowModel& m = s.Main;
    s.FilterFileName.clear();
    s.FilterCount = 0;
    s.CurrentFilterLine = 0;
    m.CRunfilter.visible = false;
    if (!s.DataFileName1.empty())
        ShowBackButton(m, "<< Data1");
    if (!s.AnalysisFileName.empty())
        m.CAnaf.visible = true;
    ShowMode(s, ui, {2, kDarkOrange, "Save Data2", "List Data2", "KOVA Data2file: "},
             s.SelectionShown2, s.FullCount2, s.RecordCount2, s.CurrentRecord2, s.DataFileName2);
}

void ShowFilterMode(KovaState& s, KovaUi& ui) {
    MainWindowModel& m = s.Main;
    s.DataFileName2.clear();
    s.RecordCount2 = 0;
    s.CurrentRecord2 = 0;
    m.CRunfilter.caption = "Run Filter(s)";
    m.CRunfilter.visible = true;
    if (!s.DataFileName1.empty())
        ShowBackButton(m, "<< Data");
    m.CAnaf.visible = false;
    ShowMode(s, ui, {3, kTeal, "Save Filters", "List Filters", "KOVA Filterfile: "},
             s.SelectionShown2, s.FullFilterCount, s.FilterCount, s.CurrentFilterLine,
             s.FilterFileName);
}

const std::string& FileNameOfSet(const KovaState& s, int16_t set) {
    return set == 1 ? s.DataFileName1 : set == 2 ? s.DataFileName2 : s.FilterFileName;
}

int16_t ShownCount(const KovaState& s) {
    switch (s.ViewMode) {
        case 1:
            return s.RecordCount1;
        case 2:
            return s.RecordCount2;
        case 3:
            return s.FilterCount;
        default:
            return 0;
    }
}

int16_t& ShownPosition(KovaState& s) {
    switch (s.ViewMode) {
        case 1:
            return s.CurrentRecord1;
        case 2:
            return s.CurrentRecord2;
        case 3:
            return s.CurrentFilterLine;
        default:
            s.NoPosition = 0;
            return s.NoPosition;
    }
}

RecordSet& ShownRecords(KovaState& s) {
    switch (s.ViewMode) {
        case 1:
            return s.Records1;
        case 2:
        case 3:
            return s.Records2;
        default:
            s.NoRecords.clear();
            return s.NoRecords;
    }
}

void SetScrollBars(KovaState& s, int count, std::optional<int16_t> position) {
    s.Main.scrollMin = 1;
    s.Main.scrollMax = count;
    if (position)
        s.Main.scrollValue = *position;
    s.Main.scrollEnabled = count > 0;
}

void ShowViewMode(KovaState& s, KovaUi& ui, int16_t mode) {
    switch (mode) {
        case 1:
            ShowDataMode(s, ui);
            break;
        case 2:
            ShowData2Mode(s, ui);
            break;
        case 3:
            ShowFilterMode(s, ui);
            break;
        default:
            s.ViewMode = mode;
            ui.MainChanged();
            break;
    }
}

ShownView::ShownView(const KovaState& s)
    : mode_(s.ViewMode), selection1_(s.SelectionShown1), window_(s.Main) {}

void ShownView::Restore(KovaState& s, KovaUi& ui, ViewRestore how) const {
    const bool selection1Changed = s.SelectionShown1 != selection1_;
    switch (how) {
        case ViewRestore::WindowAsItWas:
            if (mode_ == 1 && selection1Changed)
                break;
            s.ViewMode = mode_;
            s.Main = window_;
            ui.MainChanged();
            return;
        case ViewRestore::Redrawn:
            break;
        case ViewRestore::RedrawnIfLeft:
            if (s.ViewMode == mode_ && !selection1Changed)
                return;
            break;
    }
    ShowViewMode(s, ui, mode_);
    // A switch shows "Show output" for an analysis file even while the
    // viewer is open; the command that ended changed nothing there.
    if (s.Main.CAnaf.visible != window_.CAnaf.visible) {
        s.Main.CAnaf = window_.CAnaf;
        ui.MainChanged();
    }
}

}  // namespace core
