#include "analyses/transition_diagram.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <numbers>
#include <utility>

#include "store/text.h"

namespace core {

namespace {

constexpr double kNodeRadius = 22;  // smaller when many nodes share the circle
constexpr double kSmallestNodeRadius = 8;
constexpr double kMargin = 90;      // between the circle of nodes and the picture's edge:
                                    // room for the labels beside the nodes
constexpr double kArrowOffset = 5;  // a->b and b->a run side by side
constexpr double kLoopRadius = 14;
constexpr double kTextGap = 3;              // between a text and what it labels
constexpr double kTextHeight = 14;          // a line of the picture's texts
constexpr double kClearEnough = 4;          // a z label this far from everything else is taken
constexpr size_t kMostArrowsToAvoid = 300;  // beyond, labels go to their arrow's middle

DiagramPoint Plus(const DiagramPoint& p, const DiagramPoint& v, double times) {
    return {p.x + v.x * times, p.y + v.y * times};
}

DiagramPoint Unit(const DiagramPoint& from, const DiagramPoint& to) {
    const double length = std::hypot(to.x - from.x, to.y - from.y);
    if (length == 0)
        return {0, 0};
    return {(to.x - from.x) / length, (to.y - from.y) / length};
}

// The direction halfway between two unit directions, weighted by an angle.
DiagramPoint Turn(const DiagramPoint& u, const DiagramPoint& towards, double degrees) {
    const double a = degrees * std::numbers::pi / 180;
    return {u.x * std::cos(a) + towards.x * std::sin(a),
            u.y * std::cos(a) + towards.y * std::sin(a)};
}

double Distance(const DiagramPoint& a, const DiagramPoint& b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

double DistanceToSegment(const DiagramPoint& p, const DiagramPoint& a, const DiagramPoint& b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double squared = dx * dx + dy * dy;
    const double t =
        squared == 0 ? 0 : std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / squared, 0.0, 1.0);
    return Distance(p, {a.x + t * dx, a.y + t * dy});
}

// What a z label must keep off: a line or a loop of the diagram.
struct Shape {
    bool loop = false;
    DiagramPoint a, b;  // a segment; a loop: its centre and radius
    double radius = 0;
};

double DistanceToShape(const DiagramPoint& p, const Shape& s) {
    return s.loop ? std::abs(Distance(p, s.a) - s.radius) : DistanceToSegment(p, s.a, s.b);
}

// A text's box on the picture.
struct Box {
    DiagramPoint centre;
    double w = 0, h = 0;
};

// A narrow estimate of a text's width: the layout cannot measure the font.
double TextWidth(const std::string& text) {
    double width = 2;
    for (const char c : text)
        width += c == '.' || c == '-' || c == ' ' ? kDiagramCharWidth / 2 : kDiagramCharWidth;
    return width;
}

DiagramAlign AlignAway(const DiagramPoint& direction) {
    auto side = [](double v) { return v > 0.38 ? 1 : v < -0.38 ? -1 : 0; };
    return {side(direction.x), side(direction.y)};
}

// The box of a text drawn at an anchor, no wider than the window draws any
// label (kDiagramLabelWidth).
Box BoxAt(const DiagramPoint& anchor, const DiagramAlign& align, const std::string& text) {
    const double w = std::min(TextWidth(text), kDiagramLabelWidth);
    return {{anchor.x + align.x * w / 2, anchor.y + align.y * kTextHeight / 2}, w, kTextHeight};
}

// How far a point is outside a box (0 inside).
double DistanceToBox(const DiagramPoint& p, const Box& b) {
    return std::hypot(std::max(0.0, std::abs(p.x - b.centre.x) - b.w / 2),
                      std::max(0.0, std::abs(p.y - b.centre.y) - b.h / 2));
}

bool SegmentCrossesBox(const DiagramPoint& a, const DiagramPoint& b, const Box& box) {
    // Clip the segment a + t (b - a), t in 0..1, to the box's slabs.
    double t0 = 0, t1 = 1;
    const double d[2] = {b.x - a.x, b.y - a.y};
    const double lo[2] = {box.centre.x - box.w / 2 - a.x, box.centre.y - box.h / 2 - a.y};
    const double hi[2] = {box.centre.x + box.w / 2 - a.x, box.centre.y + box.h / 2 - a.y};
    for (int i = 0; i < 2; ++i) {
        if (d[i] == 0) {
            if (lo[i] > 0 || hi[i] < 0)
                return false;
            continue;
        }
        double enter = lo[i] / d[i], leave = hi[i] / d[i];
        if (enter > leave)
            std::swap(enter, leave);
        t0 = std::max(t0, enter);
        t1 = std::min(t1, leave);
    }
    return t0 <= t1;
}

// The gap between a box and a shape; 0 or less where they meet.
double Clearance(const Box& box, const Shape& s) {
    if (s.loop)
        return DistanceToBox(s.a, box) - s.radius;
    if (SegmentCrossesBox(s.a, s.b, box))
        return 0;
    // Apart, a box and a segment are nearest at a corner or an end.
    double nearest = std::min(DistanceToBox(s.a, box), DistanceToBox(s.b, box));
    for (int cx : {-1, 1})
        for (int cy : {-1, 1})
            nearest = std::min(nearest, DistanceToSegment({box.centre.x + cx * box.w / 2,
                                                           box.centre.y + cy * box.h / 2},
                                                          s.a, s.b));
    return nearest;
}

double Clearance(const Box& a, const Box& b) {
    const double gapX = std::abs(a.centre.x - b.centre.x) - (a.w + b.w) / 2;
    const double gapY = std::abs(a.centre.y - b.centre.y) - (a.h + b.h) / 2;
    if (gapX < 0 && gapY < 0)
        return std::max(gapX, gapY);  // overlapping: by how much
    return std::hypot(std::max(0.0, gapX), std::max(0.0, gapY));
}

// Places the z labels of the arrows one after the other, each beside its own
// arrow: first of all where its centre is nearer its own arrow than any other,
// so that a reader pairs label and arrow rightly; then where it keeps clear of
// the other lines, the nodes, the labels placed before it and the picture's
// edge. It tries the arrow's middle first, then points further along, on
// either side, and takes the first place that is clear enough.
void PlaceArrowLabels(TransitionDiagram& d, const std::vector<Shape>& shapes,
                      std::vector<Box>& placed) {
    constexpr double kAlong[] = {0.5, 0.45, 0.55, 0.4,  0.6, 0.35, 0.65,
                                 0.3, 0.7,  0.25, 0.75, 0.2, 0.8};
    const bool avoid = d.arrows.size() <= kMostArrowsToAvoid;
    for (size_t i = 0; i < d.arrows.size(); ++i) {
        DiagramArrow& arrow = d.arrows[i];
        if (arrow.loop)
            continue;
        const DiagramPoint along = Unit(arrow.start, arrow.end);
        const double length = Distance(arrow.start, arrow.end);
        const double w = TextWidth(arrow.label);
        // Just off the line, else nearer (touching the line where it is
        // steep) or further away, where the lines crowd.
        constexpr double kNearer[] = {0, -1, 1};
        auto at = [&](size_t candidate) {
            const double t = kAlong[candidate / 2 % std::size(kAlong)];
            const int side = candidate % 2 == 0 ? 1 : -1;  // the right of the arrow, or its left
            const DiagramPoint normal{-along.y * side, along.x * side};
            const double reach = std::abs(normal.x) * w / 2 + std::abs(normal.y) * kTextHeight / 2;
            const double shift = kNearer[candidate / 2 / std::size(kAlong)];
            const double off = shift < 0   ? kTextHeight / 2 + 1
                               : shift > 0 ? kTextGap + reach + kTextHeight / 2
                                           : kTextGap + reach;
            return Box{Plus(Plus(arrow.start, along, length * t), normal, off), w, kTextHeight};
        };
        Box best = at(0);
        // How well a place pairs the label with its arrow, and how clear it
        // is, each counted up to "enough".
        std::pair<double, double> bestScore{-std::numeric_limits<double>::infinity(), 0};
        for (size_t c = 0; avoid && c < std::size(kAlong) * 2 * std::size(kNearer); ++c) {
            const Box box = at(c);
            const double own = DistanceToShape(box.centre, shapes[i]);
            double pairs = kClearEnough;
            double clear =
                std::min({kClearEnough, box.centre.x - w / 2, d.width - box.centre.x - w / 2,
                          box.centre.y - kTextHeight / 2 - kDiagramTitleHeight,
                          d.height - box.centre.y - kTextHeight / 2});
            for (size_t j = 0; j < shapes.size(); ++j) {
                if (j == i)
                    continue;
                pairs = std::min(pairs, DistanceToShape(box.centre, shapes[j]) - own);
                clear = std::min(clear, Clearance(box, shapes[j]));
            }
            for (const DiagramNode& n : d.nodes)
                clear = std::min(clear, DistanceToBox(n.centre, box) - d.nodeRadius);
            for (const Box& other : placed)
                clear = std::min(clear, Clearance(box, other));
            if (std::pair(pairs, clear) > bestScore) {
                bestScore = {pairs, clear};
                best = box;
            }
            if (pairs >= kClearEnough && clear >= kClearEnough)
                break;
        }
        arrow.labelAt = best.centre;
        placed.push_back(best);
    }
}

}  // namespace

bool SignificantZ(float z) {
    return z != static_cast<float>(kUndefined) && !(z > -1.96f && z < 1.96f);
}

TransitionDiagram DescribeTransitionDiagram(const std::string& variable,
                                            const std::vector<std::string>& labels,
                                            const SingleMatrix& z, bool bidirectional, int lag) {
    TransitionDiagram d;
    d.width = kDiagramWidth;
    d.height = kDiagramHeight;
    const std::string direction = bidirectional ? "Bi-directional" : "Uni-directional";
    d.variable = PrintedLabel(variable);
    d.title = direction + " transitions, lag " + PlainNumber(lag) + " (|z| >= 1.96)";
    d.caption = "KOVA Transition Diagram: " + d.variable + ", lag " + PlainNumber(lag) + ", " +
                (bidirectional ? "bi-directional" : "uni-directional");
    const int k = z.Rows() - 1;
    const DiagramPoint centre{d.width / 2.0, kDiagramTitleHeight + d.width / 2.0};
    const double circle = d.width / 2.0 - kMargin;
    // Neighbouring nodes keep a few pixels apart.
    d.nodeRadius =
        k > 0 ? std::clamp(std::numbers::pi * circle / k - 3, kSmallestNodeRadius, kNodeRadius)
              : kNodeRadius;
    const double r = d.nodeRadius;
    // Per node: the direction away from the circle's centre (up for a single
    // node).
    std::vector<DiagramPoint> outward;
    std::vector<Box> placed;  // the texts that z labels keep clear of
    for (int j = 0; j < k; ++j) {
        const double angle = -std::numbers::pi / 2 + 2 * std::numbers::pi * j / k;
        const DiagramPoint u{std::cos(angle), std::sin(angle)};
        outward.push_back(u);
        DiagramNode node;
        node.label = static_cast<size_t>(j) < labels.size()
                         ? PrintedLabel(labels[static_cast<size_t>(j)])
                         : "";
        node.centre = k == 1 ? centre : Plus(centre, u, circle);
        node.labelInside = TextWidth(node.label) <= 2 * r - 2;
        // Beside: outward and counter-clockwise, the other side from the loop.
        const DiagramPoint besideWay = Turn(u, {u.y, -u.x}, 45);
        node.besideAt = Plus(node.centre, besideWay, r + kTextGap);
        node.besideAlign = AlignAway(besideWay);
        if (!node.labelInside)
            placed.push_back(BoxAt(node.besideAt, node.besideAlign, node.label));
        d.nodes.push_back(node);
    }
    std::vector<Shape> shapes;
    for (int a = 1; a <= k; ++a) {
        for (int b = bidirectional ? a : 1; b <= k; ++b) {
            const float value = z(a, b);
            if (!SignificantZ(value))
                continue;
            DiagramArrow arrow;
            arrow.from = a - 1;
            arrow.to = b - 1;
            arrow.z = value;
            arrow.dashed = value < 0;
            arrow.head = !bidirectional;
            arrow.label = FormatNumber(value, "####0.00");
            const DiagramPoint& p = d.nodes[static_cast<size_t>(a - 1)].centre;
            const DiagramPoint& q = d.nodes[static_cast<size_t>(b - 1)].centre;
            Shape shape;
            if (a == b) {
                // A loop outside the circle of nodes, turned clockwise off
                // the outward line so that the label beside the node keeps
                // its place; its label beyond it.
                const DiagramPoint& u = outward[static_cast<size_t>(a - 1)];
                const DiagramPoint way = Turn(u, {-u.y, u.x}, 30);
                arrow.loop = true;
                arrow.loopRadius = kLoopRadius;
                arrow.start = Plus(p, way, r + kLoopRadius - 4);
                arrow.end = arrow.start;
                const Box box = BoxAt(Plus(p, way, r + 2 * kLoopRadius - 4 + kTextGap),
                                      AlignAway(way), arrow.label);
                arrow.labelAt = box.centre;
                placed.push_back(box);
                shape = {true, arrow.start, arrow.start, kLoopRadius};
            } else {
                const double offset = bidirectional ? 0 : kArrowOffset;
                const DiagramPoint along = Unit(p, q);
                const DiagramPoint right{-along.y, along.x};
                arrow.start = Plus(Plus(p, along, r), right, offset);
                arrow.end = Plus(Plus(q, along, -r), right, offset);
                shape = {false, arrow.start, arrow.end, 0};
            }
            d.arrows.push_back(arrow);
            shapes.push_back(shape);
        }
    }
    PlaceArrowLabels(d, shapes, placed);
    return d;
}

}  // namespace core
