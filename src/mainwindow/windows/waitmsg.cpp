#include "mainwindow/windows/waitmsg.h"

#include <QCoreApplication>
#include <QFont>
#include <QLabel>
#include <QWindow>

#include "widgets/text_codec.h"
#include "widgets/window_util.h"

waitmsg::waitmsg(QWidget* parent) : QDialog(parent) {
    setObjectName("waitmsg");
    setWindowTitle("KOVA Message");
    setModal(false);
    setFixedSize(Tw(4200), Tw(1800));

    Label5 = new QLabel("Currently processing....", this);
    Label5->setObjectName("Label5");
    Label5->setGeometry(Tw(240), Tw(240), Tw(3720), Tw(375));
    QFont bold = Label5->font();
    bold.setBold(true);
    Label5->setFont(bold);

    Label3 = new QLabel("filter no.", this);
    Label3->setObjectName("Label3");
    Label3->setGeometry(Tw(240), Tw(840), Tw(1800), Tw(375));

    Label1 = new QLabel("", this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(Tw(2100), Tw(840), Tw(1800), Tw(375));

    for (QLabel* l : {Label5, Label3, Label1})
        l->setTextFormat(Qt::PlainText);
    label3_ = "filter no.";
}

void waitmsg::ShowProgress(const std::string& label3, const std::string& label1) {
    if (label3 != label3_) {
        label3_ = label3;
        dirty_ = true;
    }
    if (label1 != label1_) {
        label1_ = label1;
        dirty_ = true;
    }
    if (!isVisible()) {
        ApplyTexts();
        CentreOnScreen(this);
        show();
        WaitUntilExposed();
        repaint();
        sinceRepaint_.start();
        return;
    }
    if (dirty_ && sinceRepaint_.elapsed() >= kRepaintMs) {
        ApplyTexts();
        repaint();
        sinceRepaint_.start();
    }
}

void waitmsg::Flush() {
    if (!dirty_)
        return;
    ApplyTexts();
    if (isVisible()) {
        repaint();
        sinceRepaint_.start();
    }
}

void waitmsg::HideWait() {
    ApplyTexts();
    hide();
}

void waitmsg::ApplyTexts() {
    Label3->setText(ToQString(label3_));
    Label1->setText(ToQString(label1_));
    dirty_ = false;
}

// A window that was just shown is drawn only once the window system has
// mapped it. The loop that shows it does not return to the event loop, so wait
// here, briefly and without user input, for the window to come up.
void waitmsg::WaitUntilExposed() {
    QElapsedTimer waited;
    waited.start();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    while (windowHandle() != nullptr && !windowHandle()->isExposed() && waited.elapsed() < 200)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
}
