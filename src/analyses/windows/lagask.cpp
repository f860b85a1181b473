#include "analyses/windows/lagask.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "analyses/windows/range_dialog.h"
#include "store/text.h"
#include "widgets/text_codec.h"

using rangedialog::Place;

lagask::lagask(QWidget* parent, core::KovaState& state, core::KovaUi& kovaUi)
    : OptionsDialog(parent, state, kovaUi) {
    setObjectName("lagask");
    setWindowTitle("KOVA Sequential Options");
    setFixedSize(Tw(6600), Tw(5520));
    Label3 = Place(new QLabel("Lag:", this), "Label3", 240, 240, 1500, 285);
    Combo1 = Place(new QComboBox(this), "Combo1", 1800, 200, 900, 315);
    const auto range = rangedialog::PlaceRangeRow(this, "From record no.", 1500, 680,
                                                  {"Label1", "Text1", "Label2", "Text2"});
    Label1 = range.caption;
    Text1 = range.from;
    Label2 = range.to;
    Text2 = range.toBox;
    Check1 = Place(new QCheckBox("Episode Filling?", this), "Check1", 240, 1200, 3000, 285);
    Check3 = Place(new QCheckBox("Table based categories?", this), "Check3", 3360, 1200, 3000, 285);
    // Two columns of switches: the tables on the left, z-scores, kappas and
    // diagrams on the right.
    const int order[core::kLagSwitches] = {1, 2, 3, 4, 0, 5, 6, 7, 8, 9};
    for (int slot = 0; slot < core::kLagSwitches; ++slot) {
        const int i = order[slot];
        const int left = slot < 4 ? 240 : 3360;
        const int top = 1800 + 420 * (slot < 4 ? slot : slot - 4);
        Check2[static_cast<size_t>(i)] =
            Place(new QCheckBox(core::kLagSwitchCaptions[i], this), "Check2", left, top, 3000, 285);
        Check2[static_cast<size_t>(i)]->setProperty("Index", i);
    }
    rangedialog::PlaceOkCancel(this, {"cmdOK", "cmdCancel", 1920, 3480, 4680, 1095}, cmdOK,
                               cmdCancel, &lagask::cmdOK_Click, &lagask::cmdCancel_Click);

    for (int lag = 1; lag <= core::kLagChoices; ++lag)
        Combo1->addItem(QString::number(lag));
    connect(Combo1, &QComboBox::currentIndexChanged, this,
            [this](int) { s.Lag = core::ReadInt16(FromQString(Combo1->currentText())); });
    Form_Load();
}

void lagask::Form_Load() {
    CentreOnScreen(this);
    Combo1->setCurrentIndex(0);
    s.Lag = 1;
    const auto preset = core::LagRangePreset(s);
    Text1->setText(ToQString(preset[0]));
    Text2->setText(ToQString(preset[1]));
    Check1->setChecked(s.EpisodeFilling != 0);
    Check3->setChecked(s.TableBasedCategories != 0);
    const int16_t current[core::kLagSwitches] = {
        s.ShowUniDiagram,       s.ShowFrequencyTable, s.ShowExpectedTable, s.ShowResidualsTable,
        s.ShowProbabilityTable, s.ShowUniZScores,     s.ShowUniKappa,      s.ShowBiZScores,
        s.ShowBiKappa,          s.ShowBiDiagram};
    for (int i = 0; i < core::kLagSwitches; ++i)
        Check2[static_cast<size_t>(i)]->setChecked(current[i] != 0);
}

void lagask::cmdOK_Click() {
    core::LagSwitches switches{};
    for (int i = 0; i < core::kLagSwitches; ++i)
        switches[static_cast<size_t>(i)] = Check2[static_cast<size_t>(i)]->isChecked();
    if (const std::string missing = core::MissingLagSwitch(switches); !missing.empty()) {
        ui.Message(missing, "KOVA Sequential Options", core::Icon::Exclamation);
        return;
    }
    if (core::ApplyLagOptions(s, ui, FromQString(Text1->text()), FromQString(Text2->text()),
                              Check1->isChecked(), Check3->isChecked(), switches))
        accept();
}

void lagask::cmdCancel_Click() {
    reject();
}
