// The main window's controls at their design places, and the resize handler
// that keeps the lower right block on the window's inner edges.
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include "mainwindow/windows/kova.h"
#include "widgets/text_box.h"
#include "widgets/window_util.h"

namespace {

constexpr core::Rgb kLightYellow{255, 255, 128};  // &H80FFFF
constexpr core::Rgb kLightCyan{192, 255, 255};    // &HFFFFC0
constexpr core::Rgb kLightGreen{192, 255, 192};   // &HC0FFC0
constexpr core::Rgb kHeadingBack{192, 64, 0};     // &H0040C0
constexpr core::Rgb kHeadingText{255, 255, 0};    // &H00FFFF

struct Column {
    int left, width;
    core::Rgb colour;
};
constexpr std::array<Column, 8> kColumns{{{0, 570, kLightYellow},
                                          {600, 975, kLightCyan},
                                          {1560, 375, kLightYellow},
                                          {1935, 975, kLightGreen},
                                          {2940, 975, kLightYellow},
                                          {3915, 975, kLightCyan},
                                          {4905, 975, kLightGreen},
                                          {5895, 975, kLightYellow}}};
constexpr std::array<int, 11> kRowTop{0, 300, 900, 1530, 2160, 2790, 3420, 4080, 4680, 5310, 5940};
constexpr std::array<std::array<int, 2>, 10> kHeading{{{0, 585},
                                                       {600, 975},
                                                       {1560, 375},
                                                       {1920, 1035},
                                                       {2940, 975},
                                                       {3900, 1095},
                                                       {4920, 975},
                                                       {5910, 975},
                                                       {6900, 1455},
                                                       {8340, 2400}}};
constexpr std::array<int, 8> kListLeft{0, 0, 0, 0, 2925, 3915, 4905, 5880};
constexpr std::array<int, 8> kEditLeft{0, 600, 1560, 1935, 2940, 3930, 4920, 5895};
constexpr std::array<int, 8> kEditWidth{0, 975, 375, 975, 975, 975, 975, 975};

// Design size of the window's inner area.
constexpr int kDesignWidth = 11880;
constexpr int kDesignHeight = 8985;
// Smallest outer size of the window, less the frame and caption it does not
// own here.
constexpr int kMinOuterWidth = 11830;
constexpr int kMinOuterHeight = 8500;
constexpr int kFrameWidth = 120;
constexpr int kFrameHeight = 465;

void SetGeometry(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(Tw(left), Tw(top), Tw(width), Tw(height));
}

void Move(QWidget* w, int left, int top) {
    w->move(Tw(left), Tw(top));
}

template <typename B = QPushButton>
B* Button(QWidget* parent, const char* name, const char* caption, int width, int height,
          const char* tip = nullptr) {
    auto* b = new B(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    b->resize(Tw(width), Tw(height));
    if (tip != nullptr)
        b->setToolTip(tip);
    return b;
}

// A column heading (a variable label the user may rename). Its colours turn
// round while it has the focus, so that a key typed into it is never typed
// unawares.
class HeadingEdit : public QLineEdit {
public:
    explicit HeadingEdit(QWidget* parent) : QLineEdit(parent) { Colour(false); }

protected:
    void focusInEvent(QFocusEvent* event) override {
        QLineEdit::focusInEvent(event);
        Colour(true);
    }
    void focusOutEvent(QFocusEvent* event) override {
        QLineEdit::focusOutEvent(event);
        Colour(false);
    }

private:
    void Colour(bool focused) {
        QPalette p = palette();
        p.setColor(QPalette::Base, ToQColor(focused ? kHeadingText : kHeadingBack));
        p.setColor(QPalette::Text, ToQColor(focused ? kHeadingBack : kHeadingText));
        setPalette(p);
    }
};

QLabel* PlainLabel(QWidget* parent, const QString& name) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

}  // namespace

void kova::CreateControls() {
    Page = new QWidget(this);
    Page->setObjectName("Page");
    QFont font = Page->font();
    font.setPixelSize(11);
    Page->setFont(font);
    setCentralWidget(Page);
    Page->installEventFilter(this);
    SetBackground(Page, ToQColor(core::kGrey), true);

    for (int k = 0; k < 10; ++k) {
        auto* e = new HeadingEdit(Page);
        e->setObjectName(QString("Varnaam(%1)").arg(k));
        // A label typed here stays one that a heading can show whole.
        e->setMaxLength(static_cast<int>(kMaxShownLineBytes));
        SetGeometry(e, kHeading[k][0], 0, kHeading[k][1], 285);
        Varnaam[k] = e;
    }

    for (int k = 0; k < 8; ++k) {
        for (int r = 1; r <= 10; ++r) {
            QLabel* l = PlainLabel(Page, QString("V%1(%2)").arg(k).arg(r));
            SetGeometry(l, kColumns[k].left, kRowTop[r], kColumns[k].width, 375);
            l->setFrameStyle(QFrame::Box | QFrame::Plain);
            // The narrow number column holds five digits only without the
            // indent a framed label keeps by default.
            if (k == 0)
                l->setIndent(0);
            SetBackground(l, ToQColor(kColumns[k].colour));
            V[k][r] = l;
        }
    }
    for (int r = 1; r <= 9; ++r) {
        QLabel* l = PlainLabel(Page, QString("Lab(%1)").arg(r));
        int top = r == 1 ? 270 : r == 7 ? 4050 : kRowTop[r];
        SetGeometry(l, 6885, top, 4710, 630);
        l->setWordWrap(true);
        l->setFrameStyle(QFrame::Box | QFrame::Plain);
        SetBackground(l, ToQColor(core::kVeryPaleYellow));
        Lab[r] = l;
    }

    Text1 = new TextBox(Page);
    Text1->setObjectName("Text1");
    Text1->setContextMenuPolicy(Qt::NoContextMenu);
    SetGeometry(Text1, 6885, 5940, 4950, 1530);
    SetBackground(Text1, ToQColor(core::kWhite));

    Scrollbar2 = new QScrollBar(Qt::Vertical, Page);
    Scrollbar2->setObjectName("Scrollbar2");
    SetGeometry(Scrollbar2, 11580, 300, 255, 5175);
    Scrollbar = new QScrollBar(Qt::Horizontal, Page);
    Scrollbar->setObjectName("Scrollbar");
    Scrollbar->resize(Tw(2535), Tw(285));
    for (QScrollBar* bar : {Scrollbar, Scrollbar2}) {
        bar->setTracking(false);  // a drag moves the record on release
        bar->setRange(0, 0);
        bar->setEnabled(false);
    }

    Command1 = Button(Page, "Command1", "Grid", 810, 300, "Go to the grid view of data");
    Move(Command1, 10740, 0);
    Command2 = Button(Page, "Command2", "X", 270, 300);
    Move(Command2, 11580, 0);
    CPgUp2 = Button(Page, "CPgUp2", "P^", 285, 300, "Page up");
    Move(CPgUp2, 11565, 5490);
    CPgDn2 = Button(Page, "CPgDn2", "Pv", 285, 240, "Page down");
    Move(CPgDn2, 11565, 5715);

    Teller = PlainLabel(Page, "Teller");
    SetGeometry(Teller, 0, 6300, 570, 255);
    Teller2 = PlainLabel(Page, "Teller2");
    SetGeometry(Teller2, 0, 6780, 570, 255);
    SelLabel[0] = PlainLabel(Page, "SelLabel(0)");
    SetGeometry(SelLabel[0], 180, 6570, 285, 195);
    SelLabel[1] = PlainLabel(Page, "SelLabel(1)");
    SetGeometry(SelLabel[1], 600, 6780, 930, 240);
    for (QLabel* l : {Teller, Teller2, SelLabel[0], SelLabel[1]}) {
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, Qt::white);
        l->setPalette(p);
    }

    for (int k = 1; k <= 7; ++k) {
        auto* e = new QLineEdit(Page);
        e->setObjectName(QString("T%1").arg(k));
        T[k] = e;
        if (k <= 3) {
            SetGeometry(e, kEditLeft[k], 6300, kEditWidth[k], 405);
            e->setToolTip(QString("Edit value for variable %1").arg(k));
        } else {
            e->resize(Tw(975), Tw(285));
            e->hide();
        }
    }
    for (int k = 4; k <= 7; ++k) {
        auto* list = new QListWidget(Page);
        list->setObjectName(QString("L%1").arg(k));
        SetGeometry(list, kListLeft[k], 6300, 975, 2400);
        SetBackground(list, ToQColor(kColumns[k].colour));
        L[k] = list;
        QString caption = QString("V%1-edit").arg(k);
        QString name = QString("C%1").arg(k);
        C[k] = Button(Page, name.toLatin1().constData(), caption.toLatin1().constData(), 975, 255);
        C[k]->setToolTip(QString("Edit category for variable %1").arg(k));
    }

    CSaveSelection =
        Button(Page, "CSaveSelection", "Save Selection", 1545, 255, "Save selection of records ");
    Move(CSaveSelection, 0, 7065);
    List1 = new QListWidget(Page);
    List1->setObjectName("List1");
    SetGeometry(List1, 1575, 6795, 1290, 255);
    List1->hide();
    List2 = new QListWidget(Page);
    List2->setObjectName("List2");
    SetGeometry(List2, 1575, 7065, 1305, 255);
    List2->hide();

    CFirst = Button(Page, "CFirst", "< First", 645, 255, "Go to the first record");
    CPgUp = Button(Page, "CPgUp", "PgUp", 645, 255, "Page up");
    CPgDn = Button(Page, "CPgDn", "PgDn", 645, 255, "Page down");
    CLast = Button(Page, "CLast", "Last >", 645, 255, "Go to the last record");
    CFind = Button(Page, "CFind", "Find ", 1005, 255, "Find next/previous string/pattern");
    CFindDown = Button(Page, "CFindDown", "Next:", 585, 255);
    CString = Button(Page, "CString", "String", 675, 255);

    Combo2 = new QComboBox(Page);
    Combo2->setObjectName("Combo2");
    Combo2->resize(Tw(870), Tw(315));
    Combo1 = new QComboBox(Page);
    Combo1->setObjectName("Combo1");
    Combo1->resize(Tw(1470), Tw(315));
    Combo1->setToolTip("String/pattern to be found ");
    for (QComboBox* combo : {Combo1, Combo2}) {
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        // A chosen item shows from its start in the narrow box, not its tail.
        QObject::connect(combo, &QComboBox::currentIndexChanged, combo,
                         [combo] { combo->lineEdit()->setCursorPosition(0); });
    }

    CSavetable = Button(Page, "CSavetable", "Save Table", 1005, 255);
    CPrint = Button(Page, "CPrint", "List Data", 1005, 255);
    CSave = Button(Page, "CSave", "Save Data", 1005, 255);
    CBack = Button(Page, "CBack", "Back", 1005, 255);
    CRunfilter = Button(Page, "CRunfilter", "Run filter(s)", 1005, 255, "Run filter(s) on data");
    CFileInfo = Button(Page, "CFileInfo", "File Info", 1005, 255);
    CDelete = Button(Page, "CDelete", "Cut Records", 1065, 255, "Cut record(s)");
    CCopy = Button(Page, "CCopy", "Copy Rec's", 1065, 255, "Copy record(s)");
    CInsrt = Button(Page, "CInsrt", "Paste Rec's", 1065, 255, "Paste record(s)");
    CAdd = Button(Page, "CAdd", "Add Record", 1065, 255, "Add new record");
    CJoin = Button(Page, "CJoin", "Join Rec's", 1065, 255, "Join current record  with previous");
    CSplit = Button(Page, "CSplit", "Split Record", 1065, 255, "Split record on cursor");
    // Two lines of caption on a small square button.
    CAnaf = Button<WrappingButton>(Page, "CAnaf", "Show output", 600, 540, "Show output file");
    diag = Button(Page, "diag", "Diagr", 600, 240);
    Move(diag, 8940, 8670);
    CSavetable->hide();
    // The window starts with the focus where a key typed changes nothing:
    // the first control in line would be the heading of V0.
    Page->setFocus();

    setMinimumSize(Tw(kMinOuterWidth - kFrameWidth), Tw(kMinOuterHeight - kFrameHeight));
}

bool kova::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Page && event->type() == QEvent::Resize)
        Form_Resize();
    return QMainWindow::eventFilter(watched, event);
}

void kova::Form_Resize() {
    if (isMinimized())
        return;
    // The size hints keep a window manager from making the window smaller;
    // a window system without one resizes it all the same, so snap back here.
    const QSize min = minimumSize();
    if (!isMaximized() && !isFullScreen() && (width() < min.width() || height() < min.height()))
        resize(std::max(width(), min.width()), std::max(height(), min.height()));
    // Inner width and height in twips.
    const int w = Page->width() * 15;
    const int h = Page->height() * 15;

    struct Anchor {
        QWidget* control;
        int fromRight, fromBottom;
    };
    const Anchor anchors[] = {
        {CSplit, 1065, 285},
        {CInsrt, 2130, 285},
        {CJoin, 1065, 570},
        {CCopy, 2130, 570},
        {CAdd, 1065, 855},
        {CDelete, 2130, 855},
        {Combo1, 1510, 1200},
        {Combo2, 2340, 1200},
        {Scrollbar, 4880, 1190},
        {CString, 705, 1460},
        {CFindDown, 1290, 1460},
        {CFind, 2315, 1460},
        {CLast, 2950, 1460},
        {CPgDn, 3600, 1460},
        {CPgUp, 4250, 1460},
        {CFirst, 4900, 1460},
        {CSave, 4830, 285},
        {CRunfilter, 3780, 570},
        {CFileInfo, 3780, 285},
        {CPrint, 4830, 570},
        {CBack, 3780, 855},
        {CSavetable, 4830, 855},
        {CAnaf, 2730, 855},
        // The diagram button stands right under "Show output".
        {diag, 2730, 315},
    };
    for (const Anchor& a : anchors)
        Move(a.control, w - a.fromRight, h - a.fromBottom);

    const int textLeft = 6885;
    const int textTop = 5940;
    const int textWidth = w - textLeft - 50;
    Text1->resize(Tw(textWidth), Tw(std::max(0, h - textTop - 1515)));
    for (int r = 1; r <= 9; ++r)
        Lab[r]->resize(Tw(std::max(0, textWidth - 243)), Lab[r]->height());

    Move(Scrollbar2, w - 255 - 30, 300);
    Move(Command1, w - 810 - 270 - 30, 0);
    Move(Command2, w - 270 - 30, 0);
    Move(CPgUp2, w - 285 - 30, 5490);
    Move(CPgDn2, w - 285 - 30, 5715);

    for (int k = 4; k <= 7; ++k) {
        Move(C[k], kEditLeft[k], h - 285);
        Move(T[k], kEditLeft[k], h - 275);
        L[k]->resize(Tw(975), Tw(std::max(0, h - 6300 - 285)));
    }
}

QSize kova::DesignInnerSize() {
    return QSize(Tw(kDesignWidth), Tw(kDesignHeight));
}
