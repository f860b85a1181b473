#include "analyses/windows/epiask.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "analyses/frequency_menu.h"
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

epiask::epiask(QWidget* parent, core::KovaState& state, core::KovaUi& kovaUi)
    : QDialog(parent), s(state), ui(kovaUi) {
    setObjectName("epiask");
    setWindowTitle("KOVA Frequency Options");
    setFixedSize(Tw(4260), Tw(2160));
    Label1 = Place(new QLabel("From record no.", this), "Label1", 240, 240, 1500, 285);
    Text1 = Place(new QLineEdit(this), "Text1", 1800, 200, 900, 315);
    Label2 = Place(new QLabel("to", this), "Label2", 2820, 240, 300, 285);
    Text2 = Place(new QLineEdit(this), "Text2", 3120, 200, 900, 315);
    Check1 = Place(new QCheckBox("Episode filling?", this), "Check1", 240, 720, 3000, 285);
    Check2 = Place(new QCheckBox("Table based categories?", this), "Check2", 240, 1080, 3000, 285);
    Command1 = Place(new QPushButton("OK", this), "Command1", 960, 1560, 1095, 375);
    Command2 = Place(new QPushButton("Cancel", this), "Command2", 2280, 1560, 1095, 375);
    Command1->setDefault(true);
    Command2->setAutoDefault(false);

    connect(Check1, &QCheckBox::clicked, this, [this](bool on) { s.EpisodeFilling = on ? 1 : 0; });
    connect(Check2, &QCheckBox::clicked, this,
            [this](bool on) { s.TableBasedCategories = on ? 1 : 0; });
    connect(Command1, &QPushButton::clicked, this, &epiask::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &epiask::Command2_Click);
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

void epiask::reject() {
    s.DialogCancelled = 1;
    QDialog::reject();
}
