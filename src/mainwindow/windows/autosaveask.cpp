#include "mainwindow/windows/autosaveask.h"

#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "mainwindow/autosave.h"
#include "widgets/window_util.h"

autosaveask::autosaveask(QWidget* parent, core::KovaState& s) : QDialog(parent), s_(s) {
    setObjectName("autosaveask");
    setWindowTitle("Automatic save option");
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(Tw(5400), Tw(2760));

    for (size_t i = 0; i < Frames.size(); ++i) {
        Frames[i] = new QFrame(this);
        Frames[i]->setFrameStyle(QFrame::Box | QFrame::Sunken);
    }
    Frames[0]->setGeometry(Tw(120), Tw(120), Tw(5160), Tw(1680));
    Frames[1]->setGeometry(Tw(120), Tw(1920), Tw(5160), Tw(720));
    Frames[2]->setGeometry(Tw(2100), Tw(300), Tw(1080), Tw(1320));
    Frames[3]->setGeometry(Tw(240), Tw(240), Tw(4920), Tw(1440));
    for (QFrame* f : Frames)
        f->lower();

    Label2 = new QLabel("Automatically save kov.file every", this);
    Label2->setObjectName("Label2");
    Label2->setGeometry(Tw(360), Tw(480), Tw(1680), Tw(840));
    Label2->setWordWrap(true);
    List1 = new QListWidget(this);
    List1->setObjectName("List1");
    List1->setGeometry(Tw(2160), Tw(360), Tw(960), Tw(1200));
    for (int k = 0; k <= 12; ++k)
        List1->addItem(QString::number(5 * k));
    Label1 = new QLabel("minutes.", this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(Tw(3360), Tw(480), Tw(1200), Tw(360));

    OKButton = new QPushButton("OK", this);
    OKButton->setObjectName("OKButton");
    OKButton->setGeometry(Tw(840), Tw(2040), Tw(1560), Tw(450));
    OKButton->setDefault(true);
    CancelButton = new QPushButton("Cancel", this);
    CancelButton->setObjectName("CancelButton");
    CancelButton->setGeometry(Tw(3000), Tw(2040), Tw(1560), Tw(450));
    connect(OKButton, &QPushButton::clicked, this, &autosaveask::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &autosaveask::CancelButton_Click);
}

bool autosaveask::Ask() {
    List1->setCurrentRow(s_.AutosaveChoice >= 0 && s_.AutosaveChoice <= 12 ? s_.AutosaveChoice
                                                                           : -1);
    CentreOnScreen(this);
    // The close box changes nothing, as Cancel does.
    return exec() == QDialog::Accepted;
}

void autosaveask::OKButton_Click() {
    core::ChooseAutosave(s_, static_cast<int16_t>(List1->currentRow()));
    accept();
}

void autosaveask::CancelButton_Click() {
    reject();
}
