#include "analyses/windows/epiask.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "analyses/frequency_menu.h"
#include "analyses/windows/range_dialog.h"
#include "widgets/text_codec.h"

using rangedialog::Place;

epiask::epiask(QWidget* parent, core::KovaState& state, core::KovaUi& kovaUi)
    : OptionsDialog(parent, state, kovaUi) {
    setObjectName("epiask");
    setWindowTitle("KOVA Frequency Options");
    setFixedSize(Tw(4260), Tw(2160));
    const auto range = rangedialog::PlaceRangeRow(this, "From record no.", 1500, 200,
                                                  {"Label1", "Text1", "Label2", "Text2"});
    Label1 = range.caption;
    Text1 = range.from;
    Label2 = range.to;
    Text2 = range.toBox;
    Check1 = Place(new QCheckBox("Episode filling?", this), "Check1", 240, 720, 3000, 285);
    Check2 = Place(new QCheckBox("Table based categories?", this), "Check2", 240, 1080, 3000, 285);
    rangedialog::PlaceOkCancel(this, {"Command1", "Command2", 960, 2280, 1560, 1095}, Command1,
                               Command2, &epiask::Command1_Click, &epiask::Command2_Click);
    Form_Load();
}

void epiask::Form_Load() {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->geometry();
        move(area.left() + (area.width() - width()) / 2,
             area.top() + (area.height() - height()) / 2);
    }
    auto preset = core::FrequencyRangePreset(s);
    Text1->setText(ToQString(preset[0]));
    Text2->setText(ToQString(preset[1]));
    Check1->setChecked(s.EpisodeFilling != 0);
    Check2->setChecked(s.TableBasedCategories != 0);
}

void epiask::Command1_Click() {
    if (core::ApplyFrequencyOptions(s, ui, FromQString(Text1->text()), FromQString(Text2->text()),
                                    Check1->isChecked(), Check2->isChecked()))
        accept();
}

void epiask::Command2_Click() {
    reject();
}
