#include "mainwindow/windows/help_viewer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "widgets/window_util.h"

HelpViewer::HelpViewer(QWidget* parent) : QDialog(parent) {
    setObjectName("HelpViewer");
    setWindowTitle("KOVA Help");
    setModal(false);
    resize(Tw(10800), Tw(9000));
    auto* layout = new QVBoxLayout(this);
    Browser = new QTextBrowser(this);
    Browser->setObjectName("Browser");
    Browser->setOpenExternalLinks(false);
    layout->addWidget(Browser);
    CClose = new QPushButton("Close", this);
    CClose->setObjectName("CClose");
    layout->addWidget(CClose, 0, Qt::AlignRight);
    connect(CClose, &QPushButton::clicked, this, &QDialog::hide);
}

QString HelpViewer::HelpFileName() {
    return QDir(QCoreApplication::applicationDirPath()).filePath("kova_help.html");
}

bool HelpViewer::ShowContents(const QString& fileName) {
    QFileInfo info(fileName);
    QFile file(fileName);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    Browser->setSearchPaths({info.absolutePath()});
    Browser->setSource(QUrl::fromLocalFile(info.absoluteFilePath()), QTextDocument::HtmlResource);
    Browser->scrollToAnchor("contents");
    if (!isVisible())
        CentreOnScreen(this);
    show();
    raise();
    activateWindow();
    return true;
}
