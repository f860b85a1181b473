// The wait window that long loops show with a running number. The loops never
// return to the event loop, so the window paints itself on every update, at
// most about twenty times a second so that a long read is not slowed down.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <string>

class QLabel;

class waitmsg : public QDialog {
    Q_OBJECT
public:
    explicit waitmsg(QWidget* parent = nullptr);

    // Shows the window (if hidden) with label3 naming what is counted and
    // label1 the running number.
    void ShowProgress(const std::string& label3, const std::string& label1);
    // Puts the texts written last on screen now.
    void Flush();
    // Hides the window; it keeps its last texts.
    void HideWait();

    // Shortest time between two repaints while a loop runs.
    static constexpr int kRepaintMs = 50;

    QLabel* Label5;
    QLabel* Label3;
    QLabel* Label1;

private:
    void WaitUntilExposed();
    void ApplyTexts();

    std::string label3_;
    std::string label1_;
    bool dirty_ = false;
    QElapsedTimer sinceRepaint_;
};
