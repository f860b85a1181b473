#include "analyses/windows/interask.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "analyses/analysis_commands.h"
#include "analyses/windows/range_dialog.h"
#include "widgets/text_codec.h"

using rangedialog::Place;

interask::interask(QWidget* parent, core::KovaState& state, core::KovaUi& kovaUi)
    : OptionsDialog(parent, state, kovaUi) {
    setObjectName("interask");
    setWindowTitle("KOVA Interrater Reliability Options");
    setFixedSize(Tw(6360), Tw(4920));
    Place(new QLabel("Coder 1:", this), "Label3", 240, 240, 900, 285);
    Label1 = Place(new QLabel(this), "Label1", 1200, 240, 4920, 285);
    Place(new QLabel("Coder 2:", this), "Label4", 240, 600, 900, 285);
    Label2 = Place(new QLabel(this), "Label2", 1200, 600, 4920, 285);
    const auto range1 = rangedialog::PlaceRangeRow(this, "Data 1 from record no.", 2100, 1040,
                                                   {"Label5", "Text1", "Label6", "Text2"});
    Text1 = range1.from;
    Text2 = range1.toBox;
    const auto range2 = rangedialog::PlaceRangeRow(this, "Data 2 from record no.", 2100, 1460,
                                                   {"Label7", "Text3", "Label8", "Text4"});
    Text3 = range2.from;
    Text4 = range2.toBox;
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
    rangedialog::PlaceOkCancel(this, {"Command1", "Command2", 1680, 3000, 4140, 1095}, Command1,
                               Command2, &interask::Command1_Click, &interask::Command2_Click);
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
