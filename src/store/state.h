// The program's shared state: one struct, created once in main and handed by
// reference to every procedure and window. Field names are the program's
// documented variable names, so they read the same in code and in the manual.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/file_access.h"
#include "store/record.h"

namespace core {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kGrey{128, 128, 128};
inline constexpr Rgb kDarkOrange{192, 64, 0};
inline constexpr Rgb kTeal{0, 128, 128};
inline constexpr Rgb kPaleYellow{255, 255, 128};
inline constexpr Rgb kVeryPaleYellow{255, 255, 192};
inline constexpr Rgb kWhite{255, 255, 255};

// Truth values kept in 16-bit integers.
inline constexpr int16_t kTrue = -1;
inline constexpr int16_t kFalse = 0;

// One button or label of the main window as the core sets it.
struct ControlState {
    std::string caption;
    bool visible = true;
    bool enabled = true;
    bool operator==(const ControlState&) const = default;
};

// One row of the record page (row 1 at the top, row 10 at the bottom).
struct PageRow {
    std::array<std::string, 8> v;  // captions of the label arrays V0..V7
    std::string lab;               // caption of Lab (rows 1..9)
    Rgb labColour = kVeryPaleYellow;
    bool operator==(const PageRow&) const = default;
};

// What the main window shows: the core writes it, the window draws it.
struct MainWindowModel {
    std::string title = "KOVA ";
    Rgb background = kGrey;
    std::array<PageRow, 11> rows;  // index 1..DisplayRows
    std::string text1;             // Text1: V8 of the current record, trimmed
    Rgb text1Colour = kWhite;
    // The current record's text as stored (text1 is it trimmed): a box that
    // already holds it is left alone, caret and all.
    std::string text1Record;
    int scrollMin = 1;
    int scrollMax = 0;
    int scrollValue = 0;
    bool scrollEnabled = false;

    ControlState CSave{"Save Data", false};
    ControlState CPrint{"List Data", false};
    ControlState CFileInfo{"File Info", false};
    ControlState CRunfilter{"Run filter(s)", false};
    ControlState CBack{"Back", false};
    ControlState CAnaf{"Show output", false};
    ControlState CSaveSelection{"Save Selection", false};
    std::array<ControlState, 2> SelLabel{ControlState{" of", false},
                                         ControlState{" selected", false}};
    ControlState Teller{"", true};
    ControlState Teller2{"", false};
    ControlState CDelete{"Cut Records"};
    ControlState CCopy{"Copy Rec's"};
    ControlState CInsrt{"Paste Rec's"};
    ControlState CAdd{"Add Record"};
    ControlState CJoin{"Join Rec's"};
    ControlState CSplit{"Split Record"};
    ControlState CString{"String"};

    bool operator==(const MainWindowModel&) const = default;
};

// The result table of the window `Words` (word counts, the filter report):
// the core fills it, the window draws it and sorts its rows by a column.
struct ResultTableModel {
    std::string caption;
    std::vector<int> columnWidths;                // twips, one per column
    std::vector<std::vector<std::string>> cells;  // row 0 holds the headings
    std::array<std::string, 5> labels;            // Label1..Label4 at 1..4
    bool operator==(const ResultTableModel&) const = default;
};

struct KovaState {
    // Record sets (index 0 unused; see record.h).
    RecordSet Records1;
    int16_t RecordCount1 = 0;
    int16_t CurrentRecord1 = 0;
    RecordSet Records2;  // data set 2 or the filter lines, never both
    int16_t RecordCount2 = 0;
    int16_t CurrentRecord2 = 0;
    int16_t FilterCount = 0;
    int16_t CurrentFilterLine = 0;
    // Counts every change of a set's records by number or order (records added,
    // cut, pasted, joined, split, a filter run, a selection begun or ended, a
    // file read in its place). A window bound to a record by its position (a
    // modeless memo editor, the grid) compares it before it stores anything.
    // ChangeCount2 serves Records2, whichever set it holds.
    uint64_t ChangeCount1 = 0;
    uint64_t ChangeCount2 = 0;
    // What the shown set may still grow by and be saved, as the text box last
    // counted it (FitsTextBoxWrite): kept until the page is drawn again or
    // another write of a field is checked, so typing counts the set once
    // rather than at every key.
    std::optional<size_t> TextBoxRoom;
    // The last read of the set reported an error, so the set holds only what
    // could be read: saving it over its file asks first, and automatic saving
    // passes it by. ReadIncomplete2 serves Records2.
    bool ReadIncomplete1 = false;
    bool ReadIncomplete2 = false;
    // The memos the file's head counted at the last read of the set: what the
    // file holds, for the question before a set read in part replaces it.
    // FileMemoCount2 serves Records2.
    int16_t FileMemoCount1 = 0;
    int16_t FileMemoCount2 = 0;
    // The backups that hold a file as it was before a set read in part
    // replaced it, the only copy of what could not be read: no save replaces
    // them while the program runs.
    std::vector<std::string> KeptBackups;
    RecordSet WorkRecords;
    int16_t WorkRecordCount = 0;
    int16_t WorkCurrentRecord = 0;
    RecordSet RecordClipboard;
    int16_t ClipboardCount = 0;
    ProtocolRecord RecordBuffer1;
    ProtocolRecord RecordBuffer2;
    std::string ScratchText;
    int16_t ScratchInteger = 0;

    // View.
    int16_t ViewMode = 0;  // 0 none, 1 data set 1, 2 data set 2, 3 filter lines
    int16_t DisplayRows = 10;
    std::string ActiveWindowName = "kova";
    bool MainFormActive = true;
    MainWindowModel Main;
    // What ShownRecords and ShownPosition hand out in view mode 0: always an
    // empty set and position 0, so nothing written through them lands in a set.
    RecordSet NoRecords;
    int16_t NoPosition = 0;

    // File names (full paths, "" when none).
    std::string DataFileName1;
    std::string DataFileName2;
    std::string FilterFileName;
    std::string TableFileName;
    std::string AnalysisFileName;
    std::string ListingFileName;
    std::string CurrentFileName;
    std::string AppendFileName;
    std::string SelectionFileName;
    // The set, table and output files as the program last read or wrote them:
    // a save asks before it replaces one that was changed on disk since.
    KnownFile DataFileKnown1;
    KnownFile DataFileKnown2;
    KnownFile FilterFileKnown;
    KnownFile TableFileKnown;
    KnownFile AnalysisFileKnown;
    KnownFile ListingFileKnown;
    // How many reports have been appended to an analysis output file so far:
    // an analysis shows the file only when its run raised the count.
    int AnalysisReportsWritten = 0;
    std::string ExcelFileName;

    // File info and header number.
    std::string FileInfo1;
    std::string FileInfo2;
    std::string FilterFileInfo;
    int16_t FileHeaderNumber = 0;
    int16_t MemoCount = 0;

    // Selection store.
    int16_t SelectionShown1 = kFalse;
    int16_t SelectionShown2 = kFalse;
    RecordSet FullRecords1;
    RecordSet FullRecords2;
    int16_t FullCount1 = 0;
    int16_t FullCount2 = 0;
    int16_t FullFilterCount = 0;
    std::vector<int16_t> SelectionMarks1;
    std::vector<int16_t> SelectionMarks2;

    // Selection criteria: set 1 serves view mode 1, set 2 view modes 2 and 3.
    // The lags are shared; they are wider than 16 bits so that any typed
    // value is held (a window reaching past the set is clipped to it).
    std::string SelectVariable1;  // "V0".."V8"
    std::string SelectVariable2;
    std::string SelectionKind1;  // "OR", "AND", "EPI-OR", "EPI-AND"
    std::string SelectionKind2;
    std::string SelectValue1;  // the value, or the start of a V0/V1 range
    std::string SelectValue2;
    std::string SelectValueTo1;  // the end of a V0/V1 range
    std::string SelectValueTo2;
    int32_t LagBefore = 0;
    int32_t LagAfter = 0;

    // Sieve.
    int16_t SieveActive = 0;
    std::vector<float> SieveList;  // index 0 unused
    int16_t SieveCount = 0;
    int16_t SievePosition = 0;
    // ChangeCount1 when the sieve ran: the list names records by position, so
    // it holds only until data set 1's records change in number or order.
    uint64_t SieveChangeCount1 = 0;

    // Filter programs: the variables $V1..$V5 (index 1..5) live as long as the
    // program; the options come from the run-filters dialog.
    std::array<std::string, 6> FilterVariables;
    int16_t FilterAppendMode = kFalse;
    int16_t FilterReportOn = kFalse;
    int FilterReportRow = 0;  // wide: one row per match of every block
    ResultTableModel ResultTable;

    // Category tables L4..L7 (index 4..7, list order) and the variable labels
    // Varnaam(0..9); the main window shows them, the core reads and writes them.
    std::array<std::vector<std::string>, 8> CategoryLists;
    std::array<std::string, 10> Varnaam{"V0", "V1", "V2", "V3", "V4",
                                        "V5", "V6", "V7", "V8", "Total"};
    // The lists or labels were changed since the table was last read or saved.
    bool TableChanged = false;

    // Record range and analysis options, written by the option dialogs.
    int16_t FromRecord = 0;
    int16_t ToRecord = 0;
    int16_t FromRecord2 = 0;
    int16_t ToRecord2 = 0;
    int16_t FromFilterLine = 0;
    int16_t ToFilterLine = 0;
    int16_t Lag = 0;
    int16_t EpisodeFilling = 0;
    int16_t EpisodeFillingY = 0;
    int16_t TableBasedCategories = 0;
    int16_t ShowFrequencyTable = 0;
    int16_t ShowExpectedTable = 0;
    int16_t ShowResidualsTable = 0;
    int16_t ShowProbabilityTable = 0;
    int16_t ShowAsymmetryTable = 0;
    int16_t ShowTotalProbabilityTable = 0;
    int16_t ShowUniZScores = 0;
    int16_t ShowUniKappa = 0;
    int16_t ShowBiZScores = 0;
    int16_t ShowBiKappa = 0;
    int16_t ShowCategoryKappas = 0;
    int16_t ShowAgreementKappa = 0;
    int16_t ShowUniDiagram = 0;
    int16_t ShowBiDiagram = 0;
    int16_t DialogCancelled = 0;
    int16_t ListingForExcel = 0;
    int16_t ListingMemos = 0;
    int16_t ListingFileInfo = 0;
    int16_t CompareVariable = 0;
    std::string OutputKind;  // "ana" or "lst": what the output viewer shows
    // The interrater options dialog has been answered with OK once; before
    // that it offers the tables and kappas ticked.
    bool InterraterOptionsSet = false;

    // Find: the search text of the last step, the direction (1 forward, 0
    // backward), the mode (1 string, 0 pattern) and the sorted list of search
    // texts and categories offered by the search-text combo.
    std::string LastFindText;
    int16_t FindDirection = 1;
    int16_t FindMode = 1;
    std::vector<std::string> FindTexts;

    // The page row (1..DisplayRows) whose record the memo editor was opened on.
    int16_t MemoRecord = 0;

    // Import options, kept for the whole run: the dialogue text layout
    // ("met tijd" time, actor, text; "zonder tijd" actor, text), its
    // delimiter and comment character (one character each, "" while none was
    // given), and the worksheet column (1 = A, 0 = not read) of V1..V8 at
    // index 1..8.
    std::string DialogueLayout;
    std::string DialogueDelimiter;
    std::string DialogueCommentChar;
    std::array<int16_t, 9> ExcelColumns{};
    // The worksheet import's other answers: the sheet's place in the
    // workbook (from 0; names need not tell sheets apart in the code page)
    // and the first and last row, workbook row numbers beyond 16 bits.
    int ExcelSheet = 0;
    int ExcelFirstRow = 0;
    int ExcelLastRow = 0;
    // The header number of the file read into WorkRecords; an append or merge
    // makes it the shared FileHeaderNumber once it has taken the records.
    int16_t WorkHeaderNumber = 0;

    // Automatic saving: the chosen line of the period list (0 off, k = 5 * k
    // minutes) and the minute ticks counted since the choice or the last save.
    int16_t AutosaveChoice = 0;
    int16_t AutosaveTicks = 0;
    // The refusal of an automatic save last told, with the names of the open
    // sets then: the same refusal is not told again while they stay.
    std::string AutosaveRefusalTold;

    bool operator==(const KovaState&) const = default;
};

}  // namespace core
