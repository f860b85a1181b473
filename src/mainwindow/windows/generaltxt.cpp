#include "mainwindow/windows/generaltxt.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "store/text_import.h"
#include "widgets/text_codec.h"
#include "widgets/window_util.h"

generaltxt::generaltxt(QWidget* parent, core::KovaState& s) : QDialog(parent), s_(s) {
    setObjectName("generaltxt");
    setWindowTitle("KOVA General Txt File Input");
    resize(Tw(6720), Tw(5280));

    Frame4 = new QGroupBox("Protocol Filename", this);
    Frame4->setObjectName("Frame4");
    Frame4->setGeometry(Tw(120), Tw(120), Tw(6480), Tw(840));
    LFileName = new QLabel(Frame4);
    LFileName->setObjectName("LFileName");
    LFileName->setTextFormat(Qt::PlainText);
    LFileName->setGeometry(Tw(120), Tw(360), Tw(6240), Tw(360));

    Frame1 = new QGroupBox("Input Protocol Layout Options", this);
    Frame1->setObjectName("Frame1");
    Frame1->setGeometry(Tw(120), Tw(1080), Tw(6480), Tw(1200));
    const char* layouts[2] = {"TIME delimiter ACTOR delimiter (VERBAL) ACTION",
                              "ACTOR delimiter (VERBAL) ACTION"};
    for (int i = 0; i < 2; ++i) {
        Option1[i] = new QRadioButton(layouts[i], Frame1);
        Option1[i]->setObjectName(QString("Option1(%1)").arg(i));
        Option1[i]->setGeometry(Tw(240), Tw(360 + 420 * i), Tw(6120), Tw(360));
    }

    Frame2 = new QGroupBox("Delimiter", this);
    Frame2->setObjectName("Frame2");
    Frame2->setGeometry(Tw(120), Tw(2400), Tw(6480), Tw(840));
    Label1 = new QLabel("Delimiter Character = ", Frame2);
    Label1->setObjectName("Label1");
    Label1->setGeometry(Tw(240), Tw(360), Tw(2160), Tw(360));
    Delimiter = new QLineEdit(Frame2);
    Delimiter->setObjectName("Delimiter");
    Delimiter->setGeometry(Tw(2400), Tw(330), Tw(480), Tw(400));
    Label3 = new QLabel("(may be followed by a tab)", Frame2);
    Label3->setObjectName("Label3");
    Label3->setGeometry(Tw(3000), Tw(360), Tw(3360), Tw(360));

    Frame3 = new QGroupBox("Comment", this);
    Frame3->setObjectName("Frame3");
    Frame3->setGeometry(Tw(120), Tw(3360), Tw(6480), Tw(840));
    Label2 = new QLabel("Skip (add  to File Info) protocol lines starting with char. ", Frame3);
    Label2->setObjectName("Label2");
    Label2->setGeometry(Tw(240), Tw(360), Tw(5400), Tw(360));
    CommentChar = new QLineEdit(Frame3);
    CommentChar->setObjectName("CommentChar");
    CommentChar->setGeometry(Tw(5760), Tw(330), Tw(480), Tw(400));

    CReadFile = new QPushButton("Read File", this);
    CReadFile->setObjectName("CReadFile");
    CReadFile->setGeometry(Tw(1200), Tw(4440), Tw(1800), Tw(495));
    CCancel = new QPushButton("Cancel", this);
    CCancel->setObjectName("CCancel");
    CCancel->setGeometry(Tw(3720), Tw(4440), Tw(1800), Tw(495));

    setTabOrder(Option1[0], Option1[1]);
    setTabOrder(Option1[1], Delimiter);
    setTabOrder(Delimiter, CommentChar);
    setTabOrder(CommentChar, CReadFile);
    setTabOrder(CReadFile, CCancel);
    connect(CReadFile, &QPushButton::clicked, this, &generaltxt::CReadFile_Click);
    connect(CCancel, &QPushButton::clicked, this, &generaltxt::CCancel_Click);
}

bool generaltxt::Ask(const std::string& fileName) {
    LFileName->setText(ToQString(fileName));
    CentreOnScreen(this);
    // The close box and Escape cancel.
    return exec() == QDialog::Accepted;
}

void generaltxt::CReadFile_Click() {
    int option = Option1[0]->isChecked() ? 0 : Option1[1]->isChecked() ? 1 : -1;
    if (!core::TakeDialogueAnswers(s_, option, FromQString(Delimiter->text()),
                                   FromQString(CommentChar->text())))
        return;  // stays open until a layout and a delimiter are given
    accept();
}

void generaltxt::CCancel_Click() {
    reject();
}
