#include "analyses/windows/cross.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "analyses/analysis_commands.h"
#include "analyses/windows/range_dialog.h"
#include "widgets/text_codec.h"
#include "widgets/window_util.h"

using rangedialog::Place;

cross::cross(QWidget* parent, core::KovaState& state, core::KovaUi& kovaUi)
    : OptionsDialog(parent, state, kovaUi) {
    setObjectName("cross");
    setWindowTitle("KOVA Cross Tables Options");
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setFixedSize(Tw(6360), Tw(5280));
    const auto range = rangedialog::PlaceRangeRow(this, "From record no.", 1500, 200,
                                                  {"Label1", "Text1", "Label2", "Text2"});
    Text1 = range.from;
    Text2 = range.toBox;
    Place(new QLabel("Lag", this), "Label3", 4320, 240, 450, 285);
    Combo1 = Place(new QComboBox(this), "Combo1", 4800, 200, 1200, 315);
    for (int lag = 0; lag <= 20; ++lag)
        Combo1->addItem(QString::number(lag));
    Place(new QLabel("Rows (record i)", this), "Label4", 240, 720, 2700, 285);
    List1 = Place(new QListWidget(this), "List1", 240, 1020, 2700, 1800);
    Place(new QLabel("Columns (record i + lag)", this), "Label5", 3300, 720, 2700, 285);
    List2 = Place(new QListWidget(this), "List2", 3300, 1020, 2700, 1800);
    Check1 = Place(new QCheckBox("Episode filling rows?", this), "Check1", 240, 3000, 2800, 285);
    Check2 = Place(new QCheckBox("Episode filling columns?", this), "Check2", 240, 3360, 2800, 285);
    Check3 = Place(new QCheckBox("Table based categories?", this), "Check3", 240, 3720, 2800, 285);
    const char* tables[] = {"Frequency table", "Expected table", "Residuals table"};
    for (int i = 0; i < 3; ++i) {
        const QString name = QString("Check4(%1)").arg(i);
        Check4[static_cast<size_t>(i)] =
            Place(new QCheckBox(tables[i], this), name.toLatin1().constData(), 3300, 3000 + 360 * i,
                  2700, 285);
        Check4[static_cast<size_t>(i)]->setChecked(true);
    }
    rangedialog::PlaceOkCancel(this, {"Command1", "Command2", 1680, 3000, 4500, 1095}, Command1,
                               Command2, &cross::Command1_Click, &cross::Command2_Click);
    connect(Combo1, &QComboBox::currentIndexChanged, this,
            [this](int index) { s.Lag = static_cast<int16_t>(index); });
    Form_Load();
}

void cross::Form_Load() {
    CentreOnScreen(this);
    const auto range = core::CrossRangePreset(s);
    Text1->setText(ToQString(range[0]));
    Text2->setText(ToQString(range[1]));
    Combo1->setCurrentIndex(0);
    s.Lag = 0;
}

void cross::SetVariables(const std::array<std::string_view, 6>& labels) {
    for (QListWidget* list : {List1, List2}) {
        const int row = list->currentRow();
        list->clear();
        for (const std::string_view label : labels)
            list->addItem(ToQString(ShownPart(label)));
        if (row >= 0)
            list->setCurrentRow(row);
    }
}

void cross::Command1_Click() {
    core::CrossOptions o;
    o.from = FromQString(Text1->text());
    o.to = FromQString(Text2->text());
    o.lag = static_cast<int16_t>(Combo1->currentIndex());
    o.varX = List1->currentRow() < 0 ? 0 : List1->currentRow() + 2;
    o.varY = List2->currentRow() < 0 ? 0 : List2->currentRow() + 2;
    o.fillingX = Check1->isChecked();
    o.fillingY = Check2->isChecked();
    o.tableBased = Check3->isChecked();
    o.frequencyTable = Check4[0]->isChecked();
    o.expectedTable = Check4[1]->isChecked();
    o.residualsTable = Check4[2]->isChecked();
    if (!core::RunCrossTablesFromDialog(s, ui, o, core::CurrentReportTime))
        return;
    close();
}

void cross::Command2_Click() {
    reject();
}
