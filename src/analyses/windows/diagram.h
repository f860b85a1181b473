// The window of the transition diagram: its picture shows the diagram last
// drawn by a sequential analysis (nothing before the first); Save writes the
// picture to a file, OK closes the window. Modal at the end of a z-score
// table, modeless from the main window's "Diagr" button.
#pragma once

#include <QDialog>
#include <QImage>
#include <QString>
#include <QWidget>

#include "analyses/transition_diagram.h"
#include "store/file_dialog.h"
#include "store/state.h"
#include "store/ui.h"
#include "widgets/common_dialog.h"

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
    // The state tells Save which files are open, so that a picture never
    // takes the place of one of them.
    diagram(const core::KovaState& s, core::KovaUi& ui, QWidget* parent = nullptr);

    // Keeps the diagram as the picture and shows it modally.
    void ShowModal(const core::TransitionDiagram& d);
    // Shows the window beside the main window with its last picture.
    void ShowModeless();

    // Writes the picture in the file's format, whole or not at all. False
    // after a message when it cannot be written.
    bool SavePicture(const core::PictureFile& file);

    void CSave_Click();
    void COkee_Click();

    DiagramPicture* Picture1;
    QPushButton* CSave;
    QPushButton* COkee;

private:
    const core::KovaState& s_;
    core::KovaUi& ui_;
    CommonDialog dialog_;
};
