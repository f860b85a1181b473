#include "analyses/transition_diagram.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "store/text.h"

namespace core {

namespace {

constexpr double kNodeRadius = 22;  // smaller when many nodes share the circle
constexpr double kSmallestNodeRadius = 8;
constexpr double kMargin = 70;       // between the circle of nodes and the picture's edge
constexpr double kArrowOffset = 5;   // a->b and b->a run side by side
constexpr double kLabelOffset = 12;  // a label stands beside its line
constexpr double kLoopRadius = 14;

DiagramPoint Along(const DiagramPoint& from, const DiagramPoint& to, double distance) {
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    const double length = std::hypot(dx, dy);
    if (length == 0)
        return from;
    return {from.x + dx / length * distance, from.y + dy / length * distance};
}

// The point `distance` to the right of the direction from -> to, seen from
// `at`.
DiagramPoint Beside(const DiagramPoint& at, const DiagramPoint& from, const DiagramPoint& to,
                    double distance) {
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    const double length = std::hypot(dx, dy);
    if (length == 0)
        return at;
    return {at.x - dy / length * distance, at.y + dx / length * distance};
}

}  // namespace

bool SignificantZ(float z) {
    return z != static_cast<float>(kUndefined) && !(z > -1.96f && z < 1.96f);
}

TransitionDiagram DescribeTransitionDiagram(const std::vector<std::string>& labels,
                                            const SingleMatrix& z, bool bidirectional, int lag) {
    TransitionDiagram d;
    d.width = kDiagramWidth;
    d.height = kDiagramHeight;
    d.title = std::string(bidirectional ? "Bi-directional" : "Uni-directional") +
              " transitions, lag " + PlainNumber(lag) + " (|z| >= 1.96)";
    const int k = z.Rows() - 1;
    const DiagramPoint centre{d.width / 2.0, kDiagramTitleHeight + d.width / 2.0};
    const double circle = d.width / 2.0 - kMargin;
    // Neighbouring nodes keep a few pixels apart.
    d.nodeRadius =
        k > 0 ? std::clamp(std::numbers::pi * circle / k - 3, kSmallestNodeRadius, kNodeRadius)
              : kNodeRadius;
    const double r = d.nodeRadius;
    for (int j = 0; j < k; ++j) {
        const double angle = -std::numbers::pi / 2 + 2 * std::numbers::pi * j / k;
        DiagramNode node;
        node.label = static_cast<size_t>(j) < labels.size() ? labels[static_cast<size_t>(j)] : "";
        node.centre = k == 1 ? centre
                             : DiagramPoint{centre.x + circle * std::cos(angle),
                                            centre.y + circle * std::sin(angle)};
        d.nodes.push_back(node);
    }
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
            if (a == b) {
                // A loop outside the circle of nodes (above a single node).
                arrow.loop = true;
                arrow.loopRadius = kLoopRadius;
                const DiagramPoint outward =
                    k == 1 ? DiagramPoint{p.x, p.y - 1}
                           : Along(centre, p, std::hypot(p.x - centre.x, p.y - centre.y) + 1);
                arrow.start = Along(p, outward, r + kLoopRadius - 4);
                arrow.end = arrow.start;
                arrow.labelAt = Along(p, outward, r + 2 * kLoopRadius + 8);
            } else {
                const double offset = bidirectional ? 0 : kArrowOffset;
                const DiagramPoint from = Beside(Along(p, q, r), p, q, offset);
                const DiagramPoint to = Beside(Along(q, p, r), p, q, offset);
                arrow.start = from;
                arrow.end = to;
                const DiagramPoint middle{(from.x + to.x) / 2, (from.y + to.y) / 2};
                arrow.labelAt = Beside(middle, p, q, offset + kLabelOffset);
            }
            d.arrows.push_back(arrow);
        }
    }
    return d;
}

}  // namespace core
