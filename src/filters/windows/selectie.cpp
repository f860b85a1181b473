#include "filters/windows/selectie.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "widgets/text_codec.h"
#include "widgets/window_util.h"

namespace {

constexpr int kWidth = 360;
constexpr int kComboTop = 56;
constexpr int kRangeTop = 118;
constexpr int kContextTop = 206;
constexpr int kButtonTop = 248;
constexpr int kHeight = 284;

QLabel* Bar(QWidget* parent, const char* name, int top) {
    auto* bar = new QLabel(parent);
    bar->setObjectName(name);
    bar->setAutoFillBackground(true);
    QPalette p = bar->palette();
    p.setColor(QPalette::Window, ToQColor(core::kVeryPaleYellow));
    bar->setPalette(p);
    bar->setGeometry(0, top, kWidth, 4);
    return bar;
}

QLabel* Caption(QWidget* parent, const char* name, const char* text, int top) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, Qt::blue);
    label->setPalette(p);
    label->setGeometry(8, top + 3, kWidth - 16, 18);
    return label;
}

QLineEdit* Box(QWidget* parent, const char* name, const char* text) {
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(name);
    return box;
}

// Places a box right after `lead` in a caption, so that it stands after the
// caption's words whatever the font.
void PlaceAfter(QLineEdit* box, QLabel* caption, const QString& lead, int top, int width) {
    const int x = caption->x() + QFontMetrics(caption->font()).horizontalAdvance(lead) + 4;
    box->setGeometry(x, top, width, 22);
}

}  // namespace

SimpleCombo::SimpleCombo(QWidget* parent) : QWidget(parent) {
    edit = new QLineEdit(this);
    edit->setObjectName("Combo1Edit");
    list = new QListWidget(this);
    list->setObjectName("Combo1List");
    list->setFocusPolicy(Qt::NoFocus);
    connect(list, &QListWidget::currentTextChanged, edit, &QLineEdit::setText);
    // A click on the item that is already current (after typing in the edit
    // field) changes no current item, yet picks it all the same.
    connect(list, &QListWidget::itemClicked, edit,
            [this](QListWidgetItem* item) { edit->setText(item->text()); });
    setFocusProxy(edit);
}

std::string SimpleCombo::Bytes() const {
    return ListBytes(list, edit->text());
}

void SimpleCombo::resizeEvent(QResizeEvent*) {
    edit->setGeometry(0, 0, width(), 20);
    list->setGeometry(0, 20, width(), std::max(0, height() - 20));
    list->setVisible(height() > 24);
}

selectie::selectie(core::KovaState& s, core::KovaUi& ui, QWidget* parent)
    : QDialog(parent), s_(s), ui_(ui) {
    setObjectName("selectie");
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kWidth, kHeight);

    Label = new QLabel(this);
    Label->setObjectName("Label");
    Label->setTextFormat(Qt::PlainText);
    Label->setAlignment(Qt::AlignCenter);
    QFont big("Times New Roman");
    big.setStyleHint(QFont::Serif);
    big.setPointSizeF(21.75);
    big.setBold(true);
    Label->setFont(big);
    Label->setAutoFillBackground(true);
    QPalette lp = Label->palette();
    lp.setColor(QPalette::Window, ToQColor(core::kVeryPaleYellow));
    lp.setColor(QPalette::WindowText, Qt::blue);
    Label->setPalette(lp);
    Label->setGeometry(0, 0, kWidth, 44);

    Check1 = new QCheckBox("NOT:", this);
    Check1->setObjectName("Check1");
    Check1->setGeometry(8, kComboTop, 60, 20);
    Combo1 = new SimpleCombo(this);
    Combo1->setObjectName("Combo1");
    Combo1->setGeometry(72, kComboTop, kWidth - 80, Tw(300));

    const QString fromCaption = "from" + QString(21, ' ') + "to";
    Label1 = Caption(this, "Label1", fromCaption.toLatin1().constData(), kRangeTop);
    Text1 = Box(this, "Text1", "");
    Text2 = Box(this, "Text2", "");
    PlaceAfter(Text1, Label1, "from", kRangeTop, 80);
    PlaceAfter(Text2, Label1, fromCaption, kRangeTop, 80);

    Label2[3] = Bar(this, "Label2(3)", kContextTop - 12);
    const QString lagCaption = "context selection lag -" + QString(12, ' ') + "lag +";
    Label2[0] = Caption(this, "Label2(0)", lagCaption.toLatin1().constData(), kContextTop);
    Text3 = Box(this, "Text3", "0");
    Text4 = Box(this, "Text4", "0");
    PlaceAfter(Text3, Label2[0], "context selection lag -", kContextTop, 44);
    PlaceAfter(Text4, Label2[0], lagCaption, kContextTop, 44);
    Label2[1] = Bar(this, "Label2(1)", kButtonTop - 10);

    COkee = new QPushButton("OK", this);
    COkee->setObjectName("COkee");
    COkee->setGeometry(kWidth / 2 - 40, kButtonTop, 80, 26);
    CCancel = new QPushButton("Cancel", this);
    CCancel->setObjectName("CCancel");
    CCancel->setGeometry(kWidth - 96, kButtonTop, 80, 26);
    for (QPushButton* b : {COkee, CCancel}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    connect(COkee, &QPushButton::clicked, this, &selectie::COkee_Click);
    connect(CCancel, &QPushButton::clicked, this, &selectie::CCancel_Click);

    QWidget::setTabOrder(Combo1, COkee);
    QWidget::setTabOrder(COkee, CCancel);
    QWidget::setTabOrder(CCancel, Text1);
    QWidget::setTabOrder(Text1, Text2);
    QWidget::setTabOrder(Text2, Text3);
    QWidget::setTabOrder(Text3, Text4);
    QWidget::setTabOrder(Text4, Check1);

    Form_Load();
}

void selectie::Form_Load() {
    CentreOnScreen(this);
}

void selectie::SetRangeRowVisible(bool visible) {
    for (QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Text1),
                       static_cast<QWidget*>(Text2)})
        w->setVisible(visible);
}

void selectie::SetContextRowVisible(bool visible) {
    for (QWidget* w : {static_cast<QWidget*>(Label2[0]), static_cast<QWidget*>(Text3),
                       static_cast<QWidget*>(Text4)})
        w->setVisible(visible);
}

void selectie::Preset(core::SelectionFamily family, int k) {
    const core::SelectionPreset p = core::PresetSelection(s_, family, k);
    Label->setText(ToQString(p.labelCaption));
    SetRangeRowVisible(p.rangeRowVisible);
    if (p.clearRange) {
        Text1->clear();
        Text2->clear();
    }
    Combo1->setVisible(p.comboVisible);
    if (p.clearCombo) {
        Combo1->list->clear();
        Combo1->edit->clear();
        for (const std::string& item : p.comboItems)
            AddShownItem(Combo1->list, item);
    }
    Combo1->resize(Combo1->width(), Tw(p.comboHeightTwips));
    if (p.contextRow != core::RowChange::Keep)
        SetContextRowVisible(p.contextRow == core::RowChange::Show);
    setWindowTitle(ToQString(ShownPart(p.title)));
    show();
    raise();
    activateWindow();
    // What the user types goes into the value box at once: the code or text,
    // else (a range) its start.
    if (!Combo1->isHidden())
        Combo1->edit->setFocus();
    else if (!Text1->isHidden())
        Text1->setFocus();
}

void selectie::COkee_Click() {
    core::SelectionDialogInput in;
    in.text1 = FromQString(Text1->text());
    in.text2 = FromQString(Text2->text());
    in.text3 = FromQString(Text3->text());
    in.text4 = FromQString(Text4->text());
    in.combo = Combo1->Bytes();
    in.notChecked = Check1->isChecked();
    in.contextRowVisible = !Text3->isHidden();
    const core::SelectionDialogResult r = core::SelectionDialogOk(s_, ui_, in);
    if (r.showContextRow)
        SetContextRowVisible(true);
    if (r.close)
        accept();
}

// Closing unloads the window (it deletes itself); the next presetting loads
// it afresh with the design texts.
void selectie::CCancel_Click() {
    reject();
}
