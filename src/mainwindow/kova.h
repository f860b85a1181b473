// The main window: a page of ten record rows over the shown record set, the
// coding lists, edit boxes, find controls, buttons and menus. It draws itself
// from KovaState::Main whenever the core calls MainChanged.
#pragma once

#include <QMainWindow>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "store/state.h"

class QAction;
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

    // The program's arguments as one file name: joined with blanks, as the
    // whole command line is one name (the bytes as given).
    static std::string JoinCommandLine(int argc, char** argv);

    // Start-up: sets the start values, shows the window and the splash
    // window, and opens the file named on the command line.
    void Form_Load(const std::string& commandLine);
    // Redraws data set 1's page when the window comes back to the front.
    void Form_Activate();
    // The close request; returns true when the window may close.
    bool Form_QueryUnload(int16_t UnloadMode);
    // Lays the lower right block, the text column and the coding lists out
    // along the window's inner edges.
    void Form_Resize();
    // The window's inner area as designed.
    static QSize DesignInnerSize();
    // Ends the program for a close from the control menu or the task manager.
    void QuitProgram(int16_t& UnloadMode);

    void CBack_Click();
    void CAnaf_Click();
    void mnuAnalyse_Click();
    void mnuAnalyseItem_Click(int Index);
    void CRunfilter_Click();
    void mnuAbout_Click();

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

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void CreateMenus();
    void FillFindVariables();

    core::KovaState& s_;
    QtUi& ui_;
    splash* splash_ = nullptr;
    bool ended_ = false;  // QuitProgram has run
};
