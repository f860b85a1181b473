// The window of the transition diagram: its picture shows the diagram last
// drawn by a sequential analysis (nothing before the first); Save writes the
// picture to a file, OK closes the window. Modal at the end of a z-score
// table, modeless from the main window's "Diagr" button.
#pragma once

#include <QDialog>
#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "analyses/transition_diagram.h"
#include "store/ui.h"

class QPainter;
class QPushButton;

// Paints a diagram description.
void PaintTransitionDiagram(QPainter& painter, const core::TransitionDiagram& d);

// The picture box: paints the diagram it holds on white.
class DiagramPicture : public QWidget {
public:
    explicit DiagramPicture(QWidget* parent);
    void SetDiagram(const core::TransitionDiagram& d);
    const core::TransitionDiagram& Diagram() const { return diagram_; }
    // The picture as an image of the picture box's size.
    QImage Render() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    core::TransitionDiagram diagram_;
};

class diagram : public QDialog {
    Q_OBJECT

public:
    diagram(core::KovaUi& ui, QWidget* parent = nullptr);

    // Keeps the diagram as the picture and shows it modally.
    void ShowModal(const core::TransitionDiagram& d);
    // Shows the window beside the main window with its last picture.
    void ShowModeless();

    // Writes the picture: BMP when the name ends in ".bmp" (any case), else
    // PNG (".png" added to a name without an extension). False after a
    // message when it cannot be written.
    bool SavePicture(QString fileName);

    // Tests answer the save dialog through this instead of a real one: the
    // name (nullopt for Cancel), and the file type chosen in its filter.
    using SaveAnswerer = std::function<std::optional<QString>(QString& selectedFilter)>;
    static SaveAnswerer& TestSaveAnswer();

    void CSave_Click();
    void COkee_Click();

    DiagramPicture* Picture1;
    QPushButton* CSave;
    QPushButton* COkee;

private:
    core::KovaUi& ui_;
};
