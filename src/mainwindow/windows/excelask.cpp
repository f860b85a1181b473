#include "mainwindow/windows/excelask.h"

#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "mainwindow/import_commands.h"
#include "store/worksheet_import.h"
#include "widgets/text_codec.h"
#include "widgets/window_util.h"

excelask::excelask(QWidget* parent, core::KovaState& s, core::KovaUi& ui)
    : QDialog(parent), s_(s), ui_(ui) {
    setObjectName("excelask");
    setWindowTitle("KOVA Excel import");
    resize(Tw(6000), Tw(6240));

    Label3 = new QLabel("  Import from Excel", this);
    Label3->setObjectName("Label3");
    QFont times("Times New Roman");
    times.setStyleHint(QFont::Serif);
    times.setPointSize(14);
    times.setBold(true);
    Label3->setFont(times);
    Label3->setGeometry(Tw(120), Tw(120), Tw(5760), Tw(480));
    Label2 = new QLabel(
        "Fill in rows and column-number(s) of worksheet in Excel-file to be read in Kov-file",
        this);
    Label2->setObjectName("Label2(0)");
    Label2->setWordWrap(true);
    Label2->setGeometry(Tw(120), Tw(660), Tw(5760), Tw(600));

    const char* fields[8] = {"V1 (time)",      "V2 (seq. no.)",  "V3 (actor)",     "V4 (cat. var.)",
                             "V5 (cat. var.)", "V6 (cat. var.)", "V7 (cat. var.)", "V8 (protocol)"};
    for (int i = 0; i < 8; ++i) {
        Label1[i] = new QLabel(fields[i], this);
        Label1[i]->setObjectName(QString("Label1(%1)").arg(i));
        Label1[i]->setGeometry(Tw(360), Tw(1380 + 360 * i), Tw(2160), Tw(330));
        Text1[i] = new QLineEdit(this);
        Text1[i]->setObjectName(QString("Text1(%1)").arg(i));
        Text1[i]->setGeometry(Tw(2640), Tw(1365 + 360 * i), Tw(720), Tw(345));
    }
    Label4 = new QLabel("row no               to", this);
    Label4->setObjectName("Label4");
    Label4->setGeometry(Tw(360), Tw(4380), Tw(2160), Tw(330));
    for (int i = 0; i < 2; ++i) {
        Text2[i] = new QLineEdit("1", this);
        Text2[i]->setObjectName(QString("Text2(%1)").arg(i));
    }
    Text2[0]->setGeometry(Tw(1200), Tw(4740), Tw(960), Tw(345));
    Text2[1]->setGeometry(Tw(2640), Tw(4740), Tw(960), Tw(345));
    Label5 = new QLabel("Worksheet:", this);
    Label5->setObjectName("Label5");
    Label5->setGeometry(Tw(360), Tw(5220), Tw(1200), Tw(330));
    cmbSheets = new QComboBox(this);
    cmbSheets->setObjectName("cmbSheets");
    cmbSheets->setGeometry(Tw(1560), Tw(5190), Tw(2400), Tw(390));

    const char* buttons[2] = {"OK", "Cancel"};
    for (int i = 0; i < 2; ++i) {
        Command1[i] = new QPushButton(buttons[i], this);
        Command1[i]->setObjectName(QString("Command1(%1)").arg(i));
        Command1[i]->setGeometry(Tw(4200), Tw(1380 + 600 * i), Tw(1440), Tw(450));
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    Command1[0]->setDefault(true);
}

bool excelask::Ask(const std::vector<std::string>& sheetNames) {
    cmbSheets->clear();
    for (const std::string& name : sheetNames)
        cmbSheets->addItem(ToQString(name));
    cmbSheets->setCurrentIndex(0);
    CentreOnScreen(this);
    // The close box and Escape cancel.
    return exec() == QDialog::Accepted;
}

void excelask::Command1_Click(int Index) {
    if (Index != 0) {
        reject();
        return;
    }
    std::string columns[8];
    for (int i = 0; i < 8; ++i)
        columns[i] = FromQString(Text1[i]->text());
    std::optional<std::string> message = core::TakeWorksheetAnswers(
        s_, columns, FromQString(Text2[0]->text()), FromQString(Text2[1]->text()),
        cmbSheets->currentIndex(), FromQString(cmbSheets->currentText()));
    if (message) {
        ui_.Message(*message, core::kErrorHelpTitle, core::Icon::Exclamation);
        return;  // the dialog stays open for a better answer
    }
    accept();
}
