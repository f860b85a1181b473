// The diagram of significant transitions as a description the diagram window
// paints: category nodes on a circle, and for every z-score at or beyond
// +-1.96 an arrow from the earlier to the later category (a loop for a
// repeat), solid above 0 and dashed below, labelled with the z-score. In the
// bi-directional form a pair has one line, without arrowheads. The picture
// and the window's caption name the variable, the direction and the lag, so
// that the diagrams of one run, and saved pictures, can be told apart.
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

// How a text stands at its anchor point, per axis: -1 it ends there (left of
// or above the point), 0 it is centred on it, 1 it starts there.
struct DiagramAlign {
    int x = 0;
    int y = 0;
    bool operator==(const DiagramAlign&) const = default;
};

struct DiagramNode {
    std::string label;  // the category, as PrintedLabel gives it
    DiagramPoint centre;
    // A label wider than the circle stands beside the node, outside the
    // circle of nodes and away from the node's loop, anchored here.
    bool labelInside = true;  // as far as the estimated text width tells
    DiagramPoint besideAt;
    DiagramAlign besideAlign;
    bool operator==(const DiagramNode&) const = default;
};

struct DiagramArrow {
    int from = 0;  // node indexes (0-based)
    int to = 0;
    float z = 0;
    bool dashed = false;  // a z below 0
    bool loop = false;    // from == to: a circle beside the node
    bool head = true;     // an arrowhead at `end` (none in the bi-directional form)
    DiagramPoint start;   // on the rim of the earlier node (a loop: the loop's centre)
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
    std::string variable;  // the variable's label (PrintedLabel), the picture's first title line
    std::string title;     // "Uni-directional" or "Bi-directional", and the lag
    std::string caption;   // the window's title
    std::vector<DiagramNode> nodes;
    std::vector<DiagramArrow> arrows;
    bool operator==(const TransitionDiagram&) const = default;
};

// The size of the diagram's picture: two title lines over a square that holds
// the circle of nodes.
inline constexpr int kDiagramTitleHeight = 44;
inline constexpr int kDiagramWidth = 520;
inline constexpr int kDiagramHeight = kDiagramWidth + kDiagramTitleHeight;
// The pixel size of the picture's texts, and the width the layout reckons a
// character of them to take.
inline constexpr int kDiagramFontPixels = 12;
inline constexpr double kDiagramCharWidth = 7.5;
// The widest a category's label is drawn, twice the room between the circle
// of nodes and the picture's edge: a wider one is drawn cut, ending in an
// ellipsis, rather than across the picture.
inline constexpr double kDiagramLabelWidth = 180;

// Whether a z-score counts as significant: at or beyond +-1.96, compared in
// single precision as the z-score table prints it; an undefined z is not.
bool SignificantZ(float z);

// Describes the diagram of the z-scores of cells 1..K by 1..K of the variable
// labelled `variable`, the nodes labelled with `labels` (category j at index
// j - 1) and placed clockwise from the top.
TransitionDiagram DescribeTransitionDiagram(const std::string& variable,
                                            const std::vector<std::string>& labels,
                                            const SingleMatrix& z, bool bidirectional, int lag);

}  // namespace core
