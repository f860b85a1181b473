#include "mainwindow/windows/splash.h"

#include <QEvent>
#include <QFont>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

#include "widgets/window_util.h"

namespace {

QPixmap Logo() {
    QPixmap pm(Tw(1440), Tw(1440));
    pm.fill(QColor(255, 255, 192));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(192, 64, 0), 3));
    p.setBrush(QColor(255, 255, 128));
    p.drawRoundedRect(pm.rect().adjusted(4, 4, -4, -4), 8, 8);
    QFont f("Serif");
    f.setStyleHint(QFont::Serif);
    f.setPixelSize(pm.height() / 3);
    f.setBold(true);
    p.setFont(f);
    p.drawText(pm.rect(), Qt::AlignCenter, "K");
    return pm;
}

}  // namespace

splash::splash(QWidget* parent) : QDialog(parent) {
    setObjectName("splash");
    setWindowTitle("KOVA");
    setModal(true);
    setFixedSize(Tw(7380), Tw(4245));

    Frame1 = new QFrame(this);
    Frame1->setObjectName("Frame1");
    Frame1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Frame1->setGeometry(Tw(150), Tw(60), Tw(7080), Tw(3540));

    Shape1 = new QFrame(Frame1);
    Shape1->setObjectName("Shape1");
    Shape1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Shape1->setLineWidth(2);
    Shape1->setGeometry(Tw(120), Tw(120), Tw(1680), Tw(1680));
    Shape1->setAttribute(Qt::WA_TransparentForMouseEvents);

    imgLogo = new QLabel(Frame1);
    imgLogo->setObjectName("imgLogo");
    imgLogo->setPixmap(Logo());
    imgLogo->setGeometry(Tw(240), Tw(240), Tw(1440), Tw(1440));

    const char* texts[8] = {"KOVA",
                            "Coding and analysis of protocols",
                            "Version 1.0",
                            "Time-ordered records: time, actor, text, codes and memos",
                            "Frequencies, sequences, selections and filters",
                            "Qt 6 edition",
                            "Free to use for research and teaching",
                            "Press any key or click to continue"};
    const int tops[8] = {240, 840, 1260, 1980, 2340, 2700, 3000, 3240};
    for (int i = 0; i < 8; ++i) {
        Label[i] = new QLabel(texts[i], Frame1);
        Label[i]->setObjectName(QString("Label%1").arg(i + 1));
        Label[i]->setTextFormat(Qt::PlainText);
        int left = i < 3 ? 2040 : 240;
        Label[i]->setGeometry(Tw(left), Tw(tops[i]), Tw(6840 - left), Tw(i == 0 ? 600 : 300));
    }
    QFont title = Label[0]->font();
    title.setPixelSize(Tw(480));
    title.setBold(true);
    Label[0]->setFont(title);

    Command1 = new QPushButton("OK", this);
    Command1->setObjectName("Command1");
    Command1->setGeometry(Tw(6060), Tw(3720), Tw(1170), Tw(375));
    connect(Command1, &QPushButton::clicked, this, &QDialog::accept);

    Frame1->installEventFilter(this);
    imgLogo->installEventFilter(this);
    Command1->installEventFilter(this);
    for (QLabel* l : Label)
        l->installEventFilter(this);
    CentreOnScreen(this);
}

bool splash::ClosesOn(const QKeyEvent* event) {
    if (!event->text().isEmpty())
        return true;
    switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Backspace:
        case Qt::Key_Space:
            return true;
        default:
            return false;
    }
}

bool splash::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && ClosesOn(static_cast<QKeyEvent*>(event))) {
        accept();
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease && watched != Command1) {
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void splash::keyPressEvent(QKeyEvent* event) {
    if (ClosesOn(event)) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
