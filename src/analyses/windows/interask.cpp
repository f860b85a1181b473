#include "analyses/windows/interask.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "analyses/analysis_commands.h"
#include "widgets/text_codec.h"
#include "widgets/window_util.h"

namespace {

template <typename W>
W* Place(W* w, const char* name, int left, int top, int width, int height) {
    w->setObjectName(name);
    w->setGeometry(Tw(left), Tw(top), Tw(width), Tw(height));
    return w;
}

}  // namespace

interask::interask(QWidget* parent, core::KovaState& state, core::KovaUi& kovaUi)
    : QDialog(parent), s(state), ui(kovaUi) {
    setObjectName("interask");
    setWindowTitle("KOVA Interrater Reliability Options");
    setFixedSize(Tw(6360), Tw(4920));
    Place(new QLabel("Coder 1:", this), "Label3", 240, 240, 900, 285);
    Label1 = Place(new QLabel(this), "Label1", 1200, 240, 4920, 285);
    Place(new QLabel("Coder 2:", this), "Label4", 240, 600, 900, 285);
    Label2 = Place(new QLabel(this), "Label2", 1200, 600, 4920, 285);
    Place(new QLabel("Data 1 from record no.", this), "Label5", 240, 1080, 2100, 285);
    Text1 = Place(new QLineEdit(this), "Text1", 2400, 1040, 900, 315);
    Place(new QLabel("to", this), "Label6", 3420, 1080, 300, 285);
    Text2 = Place(new QLineEdit(this), "Text2", 3720, 1040, 900, 315);
    Place(new QLabel("Data 2 from record no.", this), "Label7", 240, 1500, 2100, 285);
    Text3 = Place(new QLineEdit(this), "Text3", 2400, 1460, 900, 315);
    Place(new QLabel("to", this), "Label8", 3420, 1500, 300, 285);
    Text4 = Place(new QLineEdit(this), "Text4", 3720, 1460, 900, 315);
    Check1 = Place(new QCheckBox("Episode filling?", this), "Check1", 240, 2040, 2800, 285);
    Check2 = Place(new QCheckBox("Table based categories?", this), "Check2", 240, 2400, 2800, 285);
    const char* tables[] = {"Frequency table", "Expected table", "Residuals table",
                            "Category kappas", "Agreement and kappa"};
    for (int i = 0; i < 5; ++i) {
        const QString name = QString("Check3(%1)").arg(i);
        Check3[static_cast<size_t>(i)] =
            Place(new QCheckBox(tables[i], this), name.toLatin1().constData(), 3300, 2040 + 360 * i,
                  2900, 285);
    }
    Command1 = Place(new QPushButton("OK", this), "Command1", 1680, 4140, 1095, 375);
    Command2 = Place(new QPushButton("Cancel", this), "Command2", 3000, 4140, 1095, 375);
    Command1->setDefault(true);
    Command2->setAutoDefault(false);
    connect(Command1, &QPushButton::clicked, this, &interask::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &interask::Command2_Click);
    Form_Load();
}

void interask::Form_Load() {
    CentreOnScreen(this);
    const core::InterraterOptions o = core::InterraterPreset(s);
    Label1->setText(ToQString(s.DataFileName1));
    Label2->setText(ToQString(s.DataFileName2));
    Text1->setText(ToQString(o.from1));
    Text2->setText(ToQString(o.to1));
    Text3->setText(ToQString(o.from2));
    Text4->setText(ToQString(o.to2));
    Check1->setChecked(o.episodeFilling);
    Check2->setChecked(o.tableBased);
    const bool tables[] = {o.frequencyTable, o.expectedTable, o.residualsTable, o.categoryKappas,
                           o.agreementKappa};
    for (size_t i = 0; i < Check3.size(); ++i)
        Check3[i]->setChecked(tables[i]);
}

void interask::Command1_Click() {
    core::InterraterOptions o;
    o.from1 = FromQString(Text1->text());
    o.to1 = FromQString(Text2->text());
    o.from2 = FromQString(Text3->text());
    o.to2 = FromQString(Text4->text());
    o.episodeFilling = Check1->isChecked();
    o.tableBased = Check2->isChecked();
    o.frequencyTable = Check3[0]->isChecked();
    o.expectedTable = Check3[1]->isChecked();
    o.residualsTable = Check3[2]->isChecked();
    o.categoryKappas = Check3[3]->isChecked();
    o.agreementKappa = Check3[4]->isChecked();
    if (core::ApplyInterraterOptions(s, ui, o))
        accept();
}

void interask::Command2_Click() {
    reject();
}

void interask::reject() {
    s.DialogCancelled = 1;
    QDialog::reject();
}
