// The diagram of significant transitions as a description the diagram window
// paints: category nodes on a circle, and for every z-score at or beyond
// +-1.96 an arrow from the earlier to the later category (a loop for a
// repeat), solid above 0 and dashed below, labelled with the z-score. In the
// bi-directional form a pair has one line, without arrowheads.
#pragma once

#include <string>
#include <vector>

#include "analyses/chi_square.h"

namespace core {

struct DiagramPoint {
    double x = 0;
    double y = 0;
    bool operator==(const DiagramPoint&) const = default;
};

struct DiagramNode {
    std::string label;  // the category
    DiagramPoint centre;
    bool operator==(const DiagramNode&) const = default;
};

struct DiagramArrow {
    int from = 0;  // node indexes (0-based)
    int to = 0;
    float z = 0;
    bool dashed = false;  // a z below 0
    bool loop = false;    // from == to: a circle beside the node
    bool head = true;     // an arrowhead at `end` (none in the bi-directional form)
    DiagramPoint start;   // on the rim of the earlier node (a loop: its centre)
    DiagramPoint end;     // on the rim of the later node (a loop: unused)
    double loopRadius = 0;
    DiagramPoint labelAt;  // where the label's centre goes
    std::string label;     // the z-score, "####0.00"
    bool operator==(const DiagramArrow&) const = default;
};

struct TransitionDiagram {
    int width = 0;  // the picture, in pixels
    int height = 0;
    double nodeRadius = 0;
    std::string title;  // "Uni-directional" or "Bi-directional", and the lag
    std::vector<DiagramNode> nodes;
    std::vector<DiagramArrow> arrows;
    bool operator==(const TransitionDiagram&) const = default;
};

// The size of the diagram's picture: a title line over a square that holds
// the circle of nodes.
inline constexpr int kDiagramTitleHeight = 28;
inline constexpr int kDiagramWidth = 520;
inline constexpr int kDiagramHeight = kDiagramWidth + kDiagramTitleHeight;

// Whether a z-score counts as significant: at or beyond +-1.96, compared in
// single precision as the z-score table prints it; an undefined z is not.
bool SignificantZ(float z);

// Describes the diagram of the z-scores of cells 1..K by 1..K, the nodes
// labelled with `labels` (category j at index j - 1) and placed clockwise from
// the top.
TransitionDiagram DescribeTransitionDiagram(const std::vector<std::string>& labels,
                                            const SingleMatrix& z, bool bidirectional, int lag);

}  // namespace core
