// The splash window shown at start-up and by Help > About. It closes on a
// click on any of its controls or on any character key.
#pragma once

#include <QDialog>
#include <array>

class QFrame;
class QLabel;
class QPushButton;

class splash : public QDialog {
    Q_OBJECT
public:
    explicit splash(QWidget* parent = nullptr);

    QPushButton* Command1;
    QFrame* Frame1;
    QFrame* Shape1;  // decorative, takes no clicks
    QLabel* imgLogo;
    std::array<QLabel*, 8> Label;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    static bool ClosesOn(const QKeyEvent* event);
};
