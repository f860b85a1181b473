#include "analyses/windows/listingoptions.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "analyses/listing.h"
#include "analyses/windows/range_dialog.h"
#include "widgets/text_codec.h"

using rangedialog::Place;

listingoptions::listingoptions(QWidget* parent, core::KovaState& state, core::KovaUi& kovaUi)
    : OptionsDialog(parent, state, kovaUi) {
    setObjectName("listingoptions");
    setWindowTitle("KOVA  Listing options");
    setFixedSize(Tw(5400), Tw(3420));
    Label3 = Place(new QLabel("      List sorted data", this), "Label3", 120, 120, 5100, 285);
    Label1 = Place(new QLabel("    LISTING from record no.              to", this), "Label1", 120,
                   540, 3000, 285);
    Text1 = Place(new QLineEdit(this), "Text1", 3120, 500, 900, 315);
    Text2 = Place(new QLineEdit(this), "Text2", 4260, 500, 900, 315);
    PlaceRangeBoxes(Label1, Text1, Text2);
    Check1 = Place(new QCheckBox("include Memo's", this), "Check1", 360, 1000, 2200, 285);
    Check2 = Place(new QCheckBox("include File Info", this), "Check2", 2760, 1000, 2400, 285);
    Frame1 = Place(new QGroupBox(this), "Frame1", 240, 1400, 4920, 1020);
    const char* captions[] = {"Pretty Print Listing", "Excel/SPSS Import Listing"};
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) {
        Option1[i] = new QRadioButton(captions[i], Frame1);
        Option1[i]->setObjectName(QString("Option1_%1").arg(i));
        Option1[i]->setGeometry(Tw(240), Tw(180 + 420 * i), Tw(4400), Tw(285));
        group->addButton(Option1[i], i);
    }
    rangedialog::PlaceOkCancel(this, {"Command1", "Command2", 1200, 3000, 2700, 1200}, Command1,
                               Command2, &listingoptions::Command1_Click,
                               &listingoptions::Command2_Click);
    Form_Load();
}

void listingoptions::Form_Load() {
    s.EpisodeFilling = 0;
    s.DialogCancelled = 0;
    CentreOnScreen(this);
    const auto preset = core::ListingRangePreset(s);
    Text1->setText(ToQString(preset[0]));
    Text2->setText(ToQString(preset[1]));
    Check1->setChecked(s.ListingMemos != 0);
    Check2->setChecked(s.ListingFileInfo != 0);
    Option1[s.ListingForExcel != 0 ? 1 : 0]->setChecked(true);
}

void listingoptions::Command1_Click() {
    if (core::ApplyListingOptions(s, ui, FromQString(Text1->text()), FromQString(Text2->text()),
                                  Check1->isChecked(), Check2->isChecked(),
                                  Option1[1]->isChecked()))
        accept();
}

void listingoptions::Command2_Click() {
    reject();
}

void ListDataClick(QWidget* parent, core::KovaState& s, core::KovaUi& ui) {
    s.EpisodeFilling = 0;
    s.DialogCancelled = 0;
    listingoptions dialog(parent, s, ui);
    dialog.setWindowTitle(" KOVA Print & List");
    dialog.Label3->setText(" List Protocol ");
    dialog.Option1[0]->setEnabled(true);
    dialog.Option1[1]->setEnabled(true);
    dialog.exec();
    if (s.DialogCancelled == 0)
        core::WriteListing(s, ui);
}
