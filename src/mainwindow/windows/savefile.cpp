#include "mainwindow/windows/savefile.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "widgets/text_codec.h"
#include "widgets/window_util.h"

savefile::savefile(QWidget* parent) : QDialog(parent) {
    setObjectName("savefile");
    setWindowTitle("KOVA Save File");
    resize(Tw(4920), Tw(2460));

    for (int i = 0; i < 2; ++i) {
        Label2[i] = new QFrame(this);
        Label2[i]->setObjectName(QString("Label2(%1)").arg(i));
        Label2[i]->setFrameStyle(QFrame::Box | QFrame::Sunken);
    }
    Label2[0]->setGeometry(Tw(120), Tw(120), Tw(4680), Tw(1440));
    Label2[1]->setGeometry(Tw(120), Tw(1680), Tw(4680), Tw(660));

    Label3 = new QLabel("      Save file ?", this);
    Label3->setObjectName("Label3");
    Label3->setGeometry(Tw(240), Tw(240), Tw(4440), Tw(600));
    QFont big("Serif");
    big.setStyleHint(QFont::Serif);
    big.setPointSize(18);
    big.setBold(true);
    Label3->setFont(big);

    Label1 = new QLabel("Label1", this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(Tw(240), Tw(900), Tw(4440), Tw(600));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);

    for (QLabel* l : {Label3, Label1})
        l->setTextFormat(Qt::PlainText);

    Command1 = new QPushButton("Yes", this);
    Command1->setObjectName("Command1");
    Command2 = new QPushButton("No", this);
    Command2->setObjectName("Command2");
    Command3 = new QPushButton("Cancel", this);
    Command3->setObjectName("Command3");
    int left = 360;
    for (QPushButton* b : {Command1, Command2, Command3}) {
        b->setGeometry(Tw(left), Tw(1800), Tw(1200), Tw(405));
        left += 1440;
    }

    connect(Command1, &QPushButton::clicked, this, [this] {
        answer_ = core::Answer::Yes;
        accept();
    });
    connect(Command2, &QPushButton::clicked, this, [this] {
        answer_ = core::Answer::No;
        accept();
    });
    connect(Command3, &QPushButton::clicked, this, [this] {
        answer_ = core::Answer::Cancel;
        reject();
    });
}

core::Answer savefile::Ask(const std::string& fileName) {
    Label1->setText(ToQString(fileName));
    answer_ = core::Answer::Cancel;  // the close box and Escape cancel
    CentreOnScreen(this);
    Command1->setFocus();
    exec();
    return answer_;
}
