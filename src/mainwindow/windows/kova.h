// The main window: a page of ten record rows over the shown record set, the
// coding lists, edit boxes, find controls, buttons and menus. It draws itself
// from KovaState::Main whenever the core calls MainChanged.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "store/state.h"

class CommonDialog;
class HelpViewer;
class QTimer;
class QtImportDialogs;
class Memo;
class gridtry;
class QAction;
class QKeyEvent;
class QMouseEvent;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QtUi;
class SelectionMenu;
class splash;

class kova : public QMainWindow {
    Q_OBJECT
public:
    kova(core::KovaState& s, QtUi& ui, QWidget* parent = nullptr);
    ~kova() override;

    // The program's arguments as one file name, joined with blanks (the
    // whole command line is one name), in the program's code page. A name it
    // cannot hold is refused with a message: "".
    static std::string JoinCommandLine(int argc, char** argv);

    // Start-up: sets the start values, shows the window and the splash
    // window, and opens the file named on the command line.
    void Form_Load(const std::string& commandLine);
    // Redraws the shown set's page when the window comes back to the front.
    void Form_Activate();
    // Draws the shown set's page at its current position, as it now stands.
    void RedrawShownPage();
    // The close request; returns true when the window may close.
    bool Form_QueryUnload(int16_t UnloadMode);
    // Lays the lower right block, the text column and the coding lists out
    // along the window's inner edges.
    void Form_Resize();
    // The window's inner area as designed.
    static QSize DesignInnerSize();
    // Ends the program for a close from the control menu or the task manager.
    void QuitProgram(int16_t& UnloadMode);
    // Ends the program: hides every window and leaves the event loop.
    void EndProgram();

    void CBack_Click();
    void CAnaf_Click();
    void mnuAnalyse_Click();
    void mnuAnalyseItem_Click(int Index);
    void mnuSequential_Click();
    void mnuSequentialItem_Click(int Index);
    void diag_Click();
    void CRunfilter_Click();
    void mnuAbout_Click();
    // "Grid": the grid view of the shown set; "List Data": its listing.
    void Command1_Click();
    void CPrint_Click();
    gridtry* GridWindow() const;

    // Draws the window from s.Main.
    void MainChanged();

    // Whether start-up shows the splash window (off when KOVA_NO_SPLASH=1).
    bool showSplash = true;
    // Ends the program; tests replace it to survive the end.
    std::function<void()> quitHook;

    // True once QuitProgram has ended the program.
    bool Ended() const { return ended_; }
    // The splash window while it is shown, else null.
    splash* SplashWindow() const { return splash_; }

    // Controls, named as the program's documentation names them. Arrays are
    // indexed as documented: V[k][r] is row r (1..10) of label array Vk,
    // Lab[r] rows 1..9, Varnaam[0..9], T[1..7], L[4..7], C[4..7].
    QWidget* Page;
    std::array<QLineEdit*, 10> Varnaam{};
    std::array<std::array<QLabel*, 11>, 8> V{};
    std::array<QLabel*, 10> Lab{};
    QPlainTextEdit* Text1;
    QScrollBar* Scrollbar;
    QScrollBar* Scrollbar2;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* CPgUp2;
    QPushButton* CPgDn2;
    QLabel* Teller;
    QLabel* Teller2;
    std::array<QLabel*, 2> SelLabel{};
    std::array<QLineEdit*, 8> T{};
    std::array<QListWidget*, 8> L{};
    std::array<QPushButton*, 8> C{};
    QPushButton* CSaveSelection;
    QListWidget* List1;
    QListWidget* List2;
    QPushButton* CFirst;
    QPushButton* CPgUp;
    QPushButton* CPgDn;
    QPushButton* CLast;
    QPushButton* CFind;
    QPushButton* CFindDown;
    QPushButton* CString;
    QComboBox* Combo1;
    QComboBox* Combo2;
    QPushButton* CSavetable;
    QPushButton* CPrint;
    QPushButton* CSave;
    QPushButton* CBack;
    QPushButton* CRunfilter;
    QPushButton* CFileInfo;
    QPushButton* CDelete;
    QPushButton* CCopy;
    QPushButton* CInsrt;
    QPushButton* CAdd;
    QPushButton* CJoin;
    QPushButton* CSplit;
    QPushButton* CAnaf;
    QPushButton* diag;

    // Menus; item arrays are keyed by their documented index.
    QMenu* mnuFile;
    std::map<int, QAction*> mnuFileItem;
    QAction* mnuFileArray;
    QMenu* mnuEdit;
    std::map<int, QAction*> mnuEditItem;
    std::map<int, QAction*> mnuSwapVar;
    std::map<int, QAction*> mnuDeleteVar;
    std::map<int, QAction*> mnuTableEdit;
    QMenu* mnuSelection;
    std::map<int, QAction*> mnuSelectionItem;
    std::map<int, QAction*> mnuSelectItem;
    std::map<int, QAction*> mnuAndSelectItem;
    std::map<int, QAction*> mnuSelectItemEpi;
    std::map<int, QAction*> mnuAndSelectItemEpi;
    QMenu* mnuAnalyse;
    std::map<int, QAction*> mnuAnalyseItem;
    QMenu* mnuSequential;
    std::map<int, QAction*> mnuSequentialItem;
    QMenu* mnuInterrater;
    std::map<int, QAction*> mnuInterraterItem;
    QAction* mnuCrossTable;
    QMenu* mnuWords;
    QMenu* mnuPatterns;
    QMenu* mnuChart;
    QAction* mnuHelp;
    QAction* mnuAbout;
    // The Selection menu's commands and the selection dialog they open.
    SelectionMenu* selectionMenu = nullptr;

    // The daily work: File menu and file buttons, navigation, edit boxes,
    // coding lists, Find and the memo editor.
    void mnuFileItem_Click(int Index);
    void CFileInfo_Click();
    void CSave_Click();
    void CSaveSelection_Click();
    void CSavetable_Click();
    void Command2_Click();
    void CFirst_Click();
    void CLast_Click();
    void CPgDn_Click();
    void CPgUp_Click();
    void Scrollbar_Change(int value);
    // The key preview: true when the key is used up.
    bool Form_KeyDown(QObject* watched, QKeyEvent* event);
    // A key the focused control would take for its own editing (Ctrl+U, Ctrl+A
    // in an edit box) that is a menu's shortcut: true when the menu takes it.
    bool MenuShortcutOverride(QObject* watched, QKeyEvent* event);
    bool Page_Mouse(QObject* watched, QMouseEvent* event);
    void V_Click(int k, int r);
    void V_DblClick(int k, int r);
    void Lab_MouseDown(Qt::MouseButton button, int r);
    bool T_ArrowKey(int k, int key);
    void T_KeyPress(int k);
    void Text1_Change();
    void Text1_MouseUp(Qt::MouseButton button);
    void L_MouseDown(int k);
    void L_DblClick(int k);
    bool L_KeyDown(int k, int key);
    void C_Click(int k);
    void CFind_Click();
    void CFindDown_Click();
    void CString_Click();
    void Combo2_Click(int index);
    // L4..L7 and the search texts drawn from the state.
    void RefillCodingLists();
    void RefillFindTexts();
    std::string ListText(int k) const;
    Memo& MemoWindow();
    bool KeepUnstoredMemo(Memo& memo);
    bool MemoHoldsUnstoredText();
    CommonDialog& FileDialog();
    // The Interrater and CrossTables menus.
    void mnuInterrater_Click();
    void mnuInterraterItem_Click(int Index);
    void mnuCrossTable_Click();

    // The record buttons and the Edit menu.
    void CAdd_Click();
    void CJoin_Click();
    void CSplit_Click();
    void CInsrt_Click();
    void CDelete_Click();
    void CCopy_Click();
    void mnuEdit_Click();
    void mnuEditItem_Click(int Index);
    void mnuSwapVar_Click(int Index);
    void mnuDeleteVar_Click(int Index);
    void mnuTableEdit_Click(int Index);
    // Append, merge and the imports (File 17, 18, 20, 24, 25, 26), the
    // automatic save option (File 3) with its minute timer, and Help. The
    // File menu's dispatch hands these items on; true when Index was one.
    bool mnuFileImportItem_Click(int Index);
    void AutosaveOption_Click();
    void Timer1_Timer();
    void mnuHelp_Click();
    // Another command is running (a modal dialog or message, the wait
    // window of a long loop, a File menu command): the timer's tick waits.
    bool InsideCommand() const;
    // A manual save of data set 1 starts the timer's current minute anew.
    void RestartAutosaveMinute();
    QTimer* Timer1 = nullptr;
    // The help window, once it was opened.
    HelpViewer* HelpWindow() const { return help_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void CreateMenus();
    void FillFindVariables();
    void ConnectDailyControls();
    void ConnectEditControls();
    void ConnectImportControls();
    int commandDepth_ = 0;
    HelpViewer* help_ = nullptr;
    std::shared_ptr<QtImportDialogs> importDialogs_;
    Memo* memo_ = nullptr;
    std::shared_ptr<CommonDialog> dialog_;
    QPointer<gridtry> grid_;

    core::KovaState& s_;
    QtUi& ui_;
    splash* splash_ = nullptr;
    bool ended_ = false;  // QuitProgram has run
    // A double click on a row label is under way: its closing release is
    // not a click.
    bool doubleClickPending_ = false;
};
