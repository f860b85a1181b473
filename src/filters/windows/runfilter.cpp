#include "filters/windows/runfilter.h"

#include <QCheckBox>
#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "filters/filter_report_output.h"
#include "filters/run_filter_command.h"
#include "patterns/windows/words.h"
#include "widgets/text_codec.h"
#include "widgets/window_util.h"

namespace {

void Place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(Tw(left), Tw(top), Tw(width), Tw(height));
}

// The List button of the filter report's table: its block into the analysis
// output file, as long as the table is still the filter report.
std::function<void()> ListFilterReport(core::KovaState& s, core::KovaUi& ui) {
    return [&s, &ui] {
        const core::ResultTableModel& t = s.ResultTable;
        if (!t.cells.empty() && t.cells[0].size() > 3 && t.cells[0][3] == "filter no.")
            core::WriteFilterReportOutput(s, ui);
    };
}

}  // namespace

runfilter::runfilter(core::KovaState& s, core::KovaUi& ui, QWidget* parent)
    : QDialog(parent), s_(s), ui_(ui) {
    setObjectName("runfilter");
    setWindowTitle("KOVA Run filter(s)");
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setFixedSize(Tw(5400), Tw(3300));

    Label3 = new QLabel("  Run Filter(s)", this);
    Label3->setObjectName("Label3");
    QFont serif("Times New Roman");
    serif.setStyleHint(QFont::Serif);
    serif.setPointSize(14);
    serif.setBold(true);
    Label3->setFont(serif);
    Place(Label3, 120, 120, 5100, 480);

    Check1 = new QCheckBox("Appending changes (filter conflict analysis)", this);
    Check1->setObjectName("Check1");
    Place(Check1, 240, 720, 5000, 300);
    Check2 = new QCheckBox("Filter report (summary of succeeded filters)", this);
    Check2->setObjectName("Check2");
    Place(Check2, 240, 1080, 5000, 300);

    const QColor bar(0, 128, 128);
    for (int k : {1, 3}) {
        Label2[k] = new QLabel(this);
        Label2[k]->setObjectName(QString("Label2_%1").arg(k));
        SetBackground(Label2[k], bar, true);
        Place(Label2[k], 120, k == 1 ? 1500 : 2130, 5100, 45);
    }
    Label2[0] = new QLabel("On record no.               to", this);
    Label2[0]->setObjectName("Label2_0");
    Place(Label2[0], 240, 1680, 3000, 300);

    // The two boxes sit in the gaps of the range line: the first in its run of
    // blanks, the second behind its "to". The first box takes the width of the
    // run; when the font draws the blanks too narrow for a record number, they
    // are drawn wider, so that the box never hides the "to".
    const QString lead = "On record no.";
    const QString text = Label2[0]->text();
    const QString run = text.mid(lead.size(), text.size() - lead.size() - 2);
    const int margin = 4;
    const int least = QFontMetrics(font()).horizontalAdvance("32767") + 12;
    for (int spacing = 1; spacing <= 40; ++spacing) {
        if (QFontMetrics(Label2[0]->font()).horizontalAdvance(run) >= least + 2 * margin)
            break;
        QFont wider = Label2[0]->font();
        wider.setWordSpacing(spacing);
        Label2[0]->setFont(wider);
    }
    const QFontMetrics fm(Label2[0]->font());
    const int x0 = Label2[0]->x() + fm.horizontalAdvance(lead) + margin;
    const int toStart = Label2[0]->x() + fm.horizontalAdvance(lead + run);
    const int x1 = Label2[0]->x() + fm.horizontalAdvance(text) + 2 * margin;
    for (int k = 0; k < 2; ++k) {
        Text1[k] = new QLineEdit(this);
        Text1[k]->setObjectName(QString("Text1_%1").arg(k));
        Text1[k]->setGeometry(k == 0 ? x0 : x1, Tw(1650), k == 0 ? toStart - margin - x0 : Tw(900),
                              Tw(330));
    }
    Label2[0]->resize(Text1[1]->x() - Label2[0]->x(), Label2[0]->height());
    Label2[0]->lower();

    Command3 = new QPushButton("Run All Filters", this);
    Command3->setObjectName("Command3");
    Place(Command3, 240, 2400, 1700, 450);
    Command1 = new QPushButton("Run Current Filter", this);
    Command1->setObjectName("Command1");
    Place(Command1, 2040, 2400, 1800, 450);
    Command2 = new QPushButton("Cancel", this);
    Command2->setObjectName("Command2");
    Place(Command2, 3960, 2400, 1200, 450);

    connect(Command1, &QPushButton::clicked, this, &runfilter::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &runfilter::Command3_Click);
    connect(Command2, &QPushButton::clicked, this, &runfilter::Command2_Click);

    Form_Load();
}

void runfilter::Form_Load() {
    CentreOnScreen(this);
    auto [from, to] = core::FilterRangePreset(s_);
    Text1[0]->setText(ToQString(from));
    Text1[1]->setText(ToQString(to));
    s_.FilterAppendMode = core::kFalse;
    s_.FilterReportOn = core::kFalse;
}

void runfilter::Command1_Click() {
    RunAndClose(false);
}

void runfilter::Command3_Click() {
    RunAndClose(true);
}

void runfilter::Command2_Click() {
    s_.DialogCancelled = 1;
    close();
}

void runfilter::RunAndClose(bool allFilters) {
    // The options are what the boxes show now, however they were ticked.
    s_.FilterAppendMode = Check1->isChecked() ? core::kTrue : core::kFalse;
    s_.FilterReportOn = Check2->isChecked() ? core::kTrue : core::kFalse;
    if (core::ReadFilterRange(s_, FromQString(Text1[0]->text()), FromQString(Text1[1]->text()))) {
        const bool done = core::RunFilterCommand(
            s_, ui_,
            allFilters ? core::FilterRunKind::AllFilters : core::FilterRunKind::CurrentFilter);
        if (done && s_.FilterReportOn != core::kFalse)
            Words::ShowTable(s_, ui_, parentWidget(), ListFilterReport(s_, ui_));
    }
    close();
}
