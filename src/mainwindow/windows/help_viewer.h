// The help window: the program's user guide, an HTML file beside the
// program, shown in a text browser.
#pragma once

#include <QDialog>
#include <QString>

class QPushButton;
class QTextBrowser;

class HelpViewer : public QDialog {
    Q_OBJECT

public:
    explicit HelpViewer(QWidget* parent);

    // The guide's file: "kova_help.html" in the program's folder.
    static QString HelpFileName();

    // Shows the guide at its contents (modeless). False when the file cannot
    // be read: the caller says so.
    bool ShowContents(const QString& fileName);

    QTextBrowser* Browser;
    QPushButton* CClose;
};
