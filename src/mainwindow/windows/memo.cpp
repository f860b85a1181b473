#include "mainwindow/windows/memo.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextCursor>
#include <algorithm>

#include "widgets/text_box.h"
#include "widgets/text_codec.h"
#include "widgets/window_util.h"

Memo::Memo(core::KovaState& s, core::KovaUi& ui, QWidget* parent)
    : QDialog(parent, Qt::Window), s_(s), ui_(ui) {
    setObjectName("Memo");
    setWindowTitle("Memo");
    TextBox1 = new TextBox(this);
    TextBox1->setObjectName("TextBox1");
    const char* captions[] = {"ok", "delete"};
    for (int i = 0; i < 2; ++i) {
        Command1[i] = new QPushButton(captions[i], this);
        Command1[i]->setObjectName(QString("Command1_%1").arg(i));
        Command1[i]->setAutoDefault(false);
        Command1[i]->resize(Tw(765), Tw(225));
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    SetColour(core::kPaleYellow);
    resize(Tw(3315), Tw(2010));
}

void Memo::SetColour(core::Rgb colour) {
    QPalette p = palette();
    QColor c(colour.r, colour.g, colour.b);
    p.setColor(QPalette::Window, c);
    p.setColor(QPalette::Base, c);
    setPalette(p);
    setAutoFillBackground(true);
    TextBox1->setPalette(p);
}

void Memo::Open(const core::MemoTarget& target) {
    target_ = target;
    setWindowTitle(ToQString(target.caption));
    openedText_ = core::MemoTargetText(s_, target);
    SetEditableBytes(TextBox1, openedText_);
    if (target.fileInfo) {
        SetColour(core::kWhite);
        resize(Tw(7000), Tw(4000));
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect r = screen->geometry();
            move((r.width() - width()) / 2, (r.height() - height()) / 2);
        }
    } else {
        SetColour(core::kPaleYellow);
    }
}

void Memo::ShowModeless() {
    show();
    raise();
    activateWindow();
}

void Memo::ShowModal() {
    hide();
    exec();
    if (target_.fileInfo) {
        // Back to the memo size and colour.
        resize(Tw(2685), Tw(2220));
        SetColour(core::kPaleYellow);
    }
}

bool Memo::HasUnstoredEdit() const {
    return isVisible() && !isModal() && EditableBytes(TextBox1) != openedText_;
}

void Memo::SelectText(int start, int length) {
    QTextCursor cursor = TextBox1->textCursor();
    const ExactSpan exact = ExactPart(TextBox1);
    start = std::clamp(start, 0, exact.length);
    cursor.setPosition(exact.start + start);
    cursor.setPosition(exact.start + std::clamp(start + length, 0, exact.length),
                       QTextCursor::KeepAnchor);
    TextBox1->setTextCursor(cursor);
}

void Memo::Command1_Click(int Index) {
    core::MemoStore result = core::StoreMemo(s_, ui_, target_, Index == 1, EditableBytes(TextBox1));
    if (result != core::MemoStore::Stored)
        return;
    // Unload: ends a modal show, hides a modeless one.
    done(QDialog::Accepted);
}

void Memo::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Memo::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    int w = width() * 15;
    int h = height() * 15;
    TextBox1->move(0, 0);
    if (h < 700)
        return;
    TextBox1->resize(Tw(w - 150), Tw(h - 650));
    Command1[0]->move(Tw(w / 2 - 800), Tw(h - 700));
    Command1[1]->move(Tw(w / 2 + 15), Tw(h - 700));
}
