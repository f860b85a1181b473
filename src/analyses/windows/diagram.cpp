#include "analyses/windows/diagram.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <cmath>

#include "store/error_numbers.h"
#include "store/file_access.h"
#include "widgets/text_codec.h"
#include "widgets/window_util.h"

namespace {

constexpr double kHeadLength = 10;
constexpr double kHeadWidth = 4;

QPointF ToPoint(const core::DiagramPoint& p) {
    return QPointF(p.x, p.y);
}

void ArrowHead(QPainter& painter, const QPointF& from, const QPointF& to) {
    const double dx = to.x() - from.x();
    const double dy = to.y() - from.y();
    const double length = std::hypot(dx, dy);
    if (length == 0)
        return;
    const double ux = dx / length;
    const double uy = dy / length;
    const QPointF base(to.x() - ux * kHeadLength, to.y() - uy * kHeadLength);
    QPolygonF head;
    head << to << QPointF(base.x() - uy * kHeadWidth, base.y() + ux * kHeadWidth)
         << QPointF(base.x() + uy * kHeadWidth, base.y() - ux * kHeadWidth);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPolygon(head);
    painter.restore();
}

constexpr const char* kCaption = "KOVA Transition Diagram";

// The box of a text standing at an anchor as `align` says, moved inside
// `within` where it would cross its edge; never cut.
QRectF TextBox(const QFontMetricsF& metrics, const QString& text, const QPointF& at,
               const core::DiagramAlign& align, const QRectF& within) {
    const double w = metrics.horizontalAdvance(text);
    const double h = metrics.height();
    QRectF box(at.x() - w / 2 * (1 - align.x), at.y() - h / 2 * (1 - align.y), w, h);
    if (box.right() > within.right())
        box.moveRight(within.right());
    if (box.left() < within.left())
        box.moveLeft(within.left());
    if (box.bottom() > within.bottom())
        box.moveBottom(within.bottom());
    if (box.top() < within.top())
        box.moveTop(within.top());
    return box;
}

}  // namespace

void PaintTransitionDiagram(QPainter& painter, const core::TransitionDiagram& d) {
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF picture(0, 0, d.width, d.height);
    painter.fillRect(picture, Qt::white);
    painter.setPen(Qt::black);
    QFont font = painter.font();
    font.setPixelSize(core::kDiagramFontPixels);
    QFont bold = font;
    bold.setBold(true);
    constexpr int kAlign = Qt::AlignCenter | Qt::TextDontClip;
    // The title: the variable, then the direction and the lag.
    painter.setFont(bold);
    const QRectF line1(4, 4, d.width - 8, 18);
    painter.drawText(
        line1, Qt::AlignHCenter,
        QFontMetricsF(bold).elidedText(ToQString(d.variable), Qt::ElideRight, line1.width()));
    painter.setFont(font);
    const QFontMetricsF metrics(font);
    painter.drawText(QRectF(4, 22, d.width - 8, 18), Qt::AlignHCenter, ToQString(d.title));
    const QRectF below(0, core::kDiagramTitleHeight, d.width, d.height - core::kDiagramTitleHeight);
    for (const core::DiagramArrow& a : d.arrows) {
        QPen pen(Qt::black, 1.5, a.dashed ? Qt::DashLine : Qt::SolidLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        if (a.loop) {
            painter.drawEllipse(ToPoint(a.start), a.loopRadius, a.loopRadius);
        } else {
            painter.drawLine(ToPoint(a.start), ToPoint(a.end));
            if (a.head)
                ArrowHead(painter, ToPoint(a.start), ToPoint(a.end));
        }
        painter.setPen(Qt::black);
        const QString label = ToQString(a.label);
        painter.drawText(TextBox(metrics, label, ToPoint(a.labelAt), {}, below), kAlign, label);
    }
    painter.setPen(QPen(Qt::black, 1.5));
    painter.setBrush(Qt::white);
    for (const core::DiagramNode& n : d.nodes)
        painter.drawEllipse(ToPoint(n.centre), d.nodeRadius, d.nodeRadius);
    // The labels last: inside the circle where they fit, else beside, cut
    // where they are wider than the layout gives any label.
    painter.setPen(Qt::black);
    for (const core::DiagramNode& n : d.nodes) {
        const QString label =
            metrics.elidedText(ToQString(n.label), Qt::ElideRight, core::kDiagramLabelWidth);
        const bool fits = n.labelInside &&
                          metrics.horizontalAdvance(label) <= 2 * d.nodeRadius - 2 &&
                          metrics.height() <= 2 * d.nodeRadius;
        const QRectF box = fits
                               ? TextBox(metrics, label, ToPoint(n.centre), {}, below)
                               : TextBox(metrics, label, ToPoint(n.besideAt), n.besideAlign, below);
        painter.drawText(box, kAlign, label);
    }
}

DiagramPicture::DiagramPicture(QWidget* parent) : QWidget(parent) {
    setObjectName("Picture1");
    setFixedSize(core::kDiagramWidth, core::kDiagramHeight);
}

void DiagramPicture::SetDiagram(const core::TransitionDiagram& d) {
    diagram_ = d;
    update();
}

QImage DiagramPicture::Render() const {
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintTransitionDiagram(painter, diagram_);
    return image;
}

void DiagramPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    PaintTransitionDiagram(painter, diagram_);
}

diagram::diagram(const core::KovaState& s, core::KovaUi& ui, QWidget* parent)
    : QDialog(parent), s_(s), ui_(ui), dialog_(this) {
    setObjectName("diagram");
    setWindowTitle(kCaption);
    Picture1 = new DiagramPicture(this);
    Picture1->move(Tw(120), Tw(120));
    const int below = Picture1->y() + Picture1->height() + Tw(120);
    CSave = new QPushButton("Save", this);
    CSave->setObjectName("CSave");
    CSave->setGeometry(Picture1->x(), below, Tw(1095), Tw(375));
    COkee = new QPushButton("OK", this);
    COkee->setObjectName("COkee");
    COkee->setGeometry(Picture1->x() + Picture1->width() - Tw(1095), below, Tw(1095), Tw(375));
    COkee->setDefault(true);
    CSave->setAutoDefault(false);
    setFixedSize(Picture1->x() * 2 + Picture1->width(), below + COkee->height() + Tw(120));
    connect(CSave, &QPushButton::clicked, this, &diagram::CSave_Click);
    connect(COkee, &QPushButton::clicked, this, &diagram::COkee_Click);
}

void diagram::ShowModal(const core::TransitionDiagram& d) {
    Picture1->SetDiagram(d);
    setWindowTitle(d.caption.empty() ? QString(kCaption) : ToQString(d.caption));
    if (isVisible())
        hide();  // a modeless showing becomes the modal one
    CentreOnScreen(this);
    // Showing again does not lift a window over the ones raised since (the
    // output viewer of the runs in between): the modal picture would wait
    // behind the viewer it blocks.
    raise();
    exec();
}

void diagram::ShowModeless() {
    if (!isVisible())
        CentreOnScreen(this);
    show();
    raise();
    activateWindow();
}

bool diagram::SavePicture(const core::PictureFile& file) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, file.bitmap ? "bmp" : "png");
    if (!writer.write(Picture1->Render())) {
        ui_.Message("The picture could not be made: " + FromQString(writer.errorString()), "Error",
                    core::Icon::Exclamation);
        return false;
    }
    std::string failed;
    if (std::error_code ec = core::ReplaceFile(
            file.name, std::string_view(bytes.data(), bytes.size()), {}, &failed)) {
        const core::NumberedError e = core::FileError(ec, failed.empty() ? file.name : failed);
        ui_.Message("The picture could not be saved as " + file.name + ": " + e.description,
                    "Error", core::Icon::Exclamation);
        return false;
    }
    return true;
}

void diagram::CSave_Click() {
    if (std::optional<core::PictureFile> file =
            core::ChoosePictureFile(s_, ui_, dialog_, "Save Diagram"))
        SavePicture(*file);
}

void diagram::COkee_Click() {
    if (isModal())
        accept();
    else
        hide();
}
