#include "mainwindow/windows/record_dialogs.h"

#include <algorithm>

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "mainwindow/record_commands.h"
#include "store/text.h"
#include "widgets/text_box.h"
#include "widgets/text_codec.h"
#include "widgets/window_util.h"

namespace {

template <typename W>
W* Place(W* w, const QString& name, int left, int top, int width, int height) {
    w->setObjectName(name);
    w->setGeometry(Tw(left), Tw(top), Tw(width), Tw(height));
    return w;
}

QLabel* Text(QWidget* parent, const char* text, const QString& name, int left, int top, int width) {
    auto* label = Place(new QLabel(text, parent), name, left, top, width, 285);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

// ---- cut and copy ---------------------------------------------------------------

RangeAsk::RangeAsk(QWidget* parent, core::KovaState& s, core::KovaUi& ui, const char* name,
                   const char* title, const char* question, int width, int height)
    : QDialog(parent), s_(s), ui_(ui) {
    setObjectName(name);
    setWindowTitle(title);
    setFixedSize(Tw(width), Tw(height));
    Label1 = Text(this, question, "Label1", 240, 240, width - 480);
    Label2[1] = Text(this, "record no.", "Label2(1)", 240, 660, 1000);
    Text1 = Place(new QLineEdit(this), "Text1", 1260, 620, 900, 315);
    Label3 = Text(this, "to no.", "Label3", 2280, 660, 600);
    Text2 = Place(new QLineEdit(this), "Text2", 2880, 620, 900, 315);
    Label4 = Text(this, "of this protocol (filter) file? ", "Label4", 240, 1080, width - 480);
    cmdOK = Place(new QPushButton(this), "cmdOK", width / 2 - 1440, height - 660, 1200, 405);
    cmdCancel = Place(new QPushButton(this), "cmdCancel", width / 2 + 240, height - 660, 1200, 405);
    connect(cmdCancel, &QPushButton::clicked, this, &RangeAsk::cmdCancel_Click);
}

void RangeAsk::Form_Load() {
    const QString preset = ToQString(core::RangeDialogPreset(s_));
    Text1->setText(preset);
    Text2->setText(preset);
    CentreOnScreen(this);
}

void RangeAsk::cmdCancel_Click() {
    reject();
}

delask::delask(QWidget* parent, core::KovaState& s, core::KovaUi& ui)
    : RangeAsk(parent, s, ui, "delask", "KOVA Delete Options", "Do you really want to cut ", 4500,
               2100) {
    cmdOK->setText("YES");
    cmdCancel->setText("NO");
    // NO is the safe answer: Enter (unless YES has the focus) and Escape
    // both give it.
    cmdCancel->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &delask::cmdOK_Click);
    Form_Load();
}

void delask::cmdOK_Click() {
    core::ConfirmCut(s_, ui_, FromQString(Text1->text()), FromQString(Text2->text()));
    accept();
}

copyask::copyask(QWidget* parent, core::KovaState& s, core::KovaUi& ui)
    : RangeAsk(parent, s, ui, "copyask", " KOVA Copy Options",
               "How many records do you want to copy ", 5400, 2520) {
    Label5 =
        Text(this, "(copy to the clipboard database, paste to insert) ", "Label5", 240, 1440, 4920);
    cmdOK->setText("COPY");
    cmdCancel->setText("Cancel");
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &copyask::cmdOK_Click);
    Form_Load();
}

void copyask::cmdOK_Click() {
    core::ConfirmCopy(s_, FromQString(Text1->text()), FromQString(Text2->text()));
    accept();
}

// ---- delete and swap coding -----------------------------------------------------

delcodingask::delcodingask(QWidget* parent, core::KovaState& s, int k) : QDialog(parent), s_(s) {
    setObjectName("delcodingask");
    setWindowTitle("Kova Delete Coding?");
    setFixedSize(Tw(4800), Tw(2900));
    Label1 = Text(this, "Do you really want to delete all coding", "Label1", 240, 240, 4320);
    Label5 = Text(this, "of variable:", "Label5", 240, 600, 1200);
    Label3 = Text(this, "- - -  ", "Label3", 1500, 600, 3060);
    Label2[1] = Text(this, "from record no.                to", "Label2(1)", 240, 1000, 3000);
    Text1 = Place(new QLineEdit(this), "Text1", 1700, 960, 900, 315);
    Text2 = Place(new QLineEdit(this), "Text2", 3100, 960, 900, 315);
    PlaceRangeBoxes(Label2[1], Text1, Text2);
    Label4 = Text(this, "of this protocol (filter) file? ", "Label4", 240, 1400, 4320);
    cmdOK = Place(new QPushButton("YES", this), "cmdOK", 960, 2160, 1200, 405);
    cmdCancel = Place(new QPushButton("NO", this), "cmdCancel", 2640, 2160, 1200, 405);
    cmdCancel->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &delcodingask::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &delcodingask::reject);

    core::CodingPreset preset = core::CodingDialogPreset(s_, k);
    Label3->setText(VisibleText(preset.label));
    Text1->setText(ToQString(preset.from));
    Text2->setText(ToQString(preset.to));
    CentreOnScreen(this);
    s_.DialogCancelled = 0;
}

void delcodingask::cmdOK_Click() {
    core::StoreCodingRange(s_, FromQString(Text1->text()), FromQString(Text2->text()));
    accept();
}

void delcodingask::reject() {
    s_.DialogCancelled = 1;
    QDialog::reject();
}

swapcodingask::swapcodingask(QWidget* parent, core::KovaState& s, int k) : QDialog(parent), s_(s) {
    setObjectName("swapcodingask");
    setWindowTitle("Swap coding between variables");
    setFixedSize(Tw(5400), Tw(4200));
    Label1[0] = Text(this, "Swap coding of variable:", "Label1(0)", 240, 240, 2400);
    Label1[1] = Text(this, "****", "Label1(1)", 2700, 240, 2460);
    Label1[2] = Text(this, "with coding of variable:", "Label1(2)", 240, 600, 2400);
    for (int j = 0; j < 8; ++j) {
        // Two columns of four: V1..V4 left, V5..V8 right.
        const int left = j < 4 ? 480 : 2880;
        const int top = 960 + (j % 4) * 360;
        Option1[j] = Place(new QRadioButton("Option1", this), QString("Option1(%1)").arg(j), left,
                           top, 2280, 315);
    }
    Label2[1] = Text(this, "from record no.                to", "Label2(1)", 240, 2520, 3000);
    Text1 = Place(new QLineEdit(this), "Text1", 1700, 2480, 900, 315);
    Text2 = Place(new QLineEdit(this), "Text2", 3100, 2480, 900, 315);
    PlaceRangeBoxes(Label2[1], Text1, Text2);
    cmdOK = Place(new QPushButton("OK", this), "cmdOK", 1200, 3360, 1200, 405);
    cmdCancel = Place(new QPushButton("Cancel", this), "cmdCancel", 3000, 3360, 1200, 405);
    connect(cmdOK, &QPushButton::clicked, this, &swapcodingask::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &swapcodingask::reject);

    core::CodingPreset preset = core::CodingDialogPreset(s_, k);
    Label1[1]->setText(VisibleText(preset.label));
    for (int j = 1; j <= 8; ++j) {
        QRadioButton* option = Option1[j - 1];
        option->setText(ToCaptionText(ShownPart(s_.Varnaam[j])));
        option->setEnabled(j != k);
    }
    // V2 is a number: it is never swapped with a text.
    Option1[1]->setVisible(false);
    Text1->setText(ToQString(preset.from));
    Text2->setText(ToQString(preset.to));
    CentreOnScreen(this);
    s_.DialogCancelled = 0;
}

void swapcodingask::cmdOK_Click() {
    if (core::StoreCodingRange(s_, FromQString(Text1->text()), FromQString(Text2->text()))) {
        for (int j = 1; j <= 8; ++j) {
            if (Option1[j - 1]->isChecked()) {
                s_.Lag = static_cast<int16_t>(j);
                break;
            }
        }
    }
    accept();
}

void swapcodingask::reject() {
    s_.DialogCancelled = 1;
    QDialog::reject();
}

// ---- table editor ---------------------------------------------------------------

tabeledit::tabeledit(QWidget* parent, core::KovaState& s, core::KovaUi& ui,
                     const std::string& caption)
    : QDialog(parent), s_(s), ui_(ui) {
    setObjectName("tabeledit");
    setWindowTitle("Tbl Edit");
    setFixedSize(Tw(4200), Tw(5400));
    Label1 = Text(this, "", "Label1", 240, 120, 3720);
    Label1->setText(VisibleText(caption));
    RichTextBox1 = Place(new TextBox(this), "RichTextBox1", 240, 480, 3720, 4080);
    RichTextBox1->setLineWrapMode(QPlainTextEdit::NoWrap);
    // One label or category a line. A table too long to edit here (a label
    // of megabytes, say) shows cut and read-only, and is kept whole.
    SetEditableBytes(RichTextBox1, core::ReplaceAll(s_.ScratchText, "\n", "\r\n"));
    Command1 = Place(new QPushButton("OK", this), "Command1", 1500, 4740, 1200, 405);
    Command1->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, &tabeledit::Command1_Click);
    CentreOnScreen(this);
}

void tabeledit::Command1_Click() {
    // A table shown cut could not be edited: it stays as it is.
    if (HoldsExcerpt(RichTextBox1)) {
        reject();
        return;
    }
    std::string text = EditableBytes(RichTextBox1);
    // A table file quotes every label and category: a double quote would
    // break it. The editor stays open so the text can be mended.
    if (!core::CheckTableEditText(ui_, text))
        return;
    s_.ScratchText = std::move(text);
    s_.DialogCancelled = 0;
    accept();
}

#include "moc_record_dialogs.cpp"
