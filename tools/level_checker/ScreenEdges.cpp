#include "tools/level_checker/ScreenEdges.h"

#include <algorithm>

namespace {

// A piece this close to an edge leaves no room for the 32-pixel ball to slip by.
constexpr float kEdgeReach = 4.0f;

bool LiesAt(ScreenEdge edge, const PieceBox& box) {
    switch (edge) {
        case ScreenEdge::Left: return box.left <= kEdgeReach && box.right >= -kEdgeReach;
        case ScreenEdge::Right: return box.right >= kScreenWidth - kEdgeReach && box.left <= kScreenWidth + kEdgeReach;
        case ScreenEdge::Top: return box.top <= kEdgeReach && box.bottom >= -kEdgeReach;
        case ScreenEdge::Bottom:
            return box.bottom >= kScreenHeight - kEdgeReach && box.top <= kScreenHeight + kEdgeReach;
    }
    return false;
}

bool IsSideEdge(ScreenEdge edge) { return edge == ScreenEdge::Left || edge == ScreenEdge::Right; }

// The stretch of the edge that a piece covers.
EdgeOpening Span(ScreenEdge edge, const PieceBox& box) {
    return IsSideEdge(edge) ? EdgeOpening{box.top, box.bottom} : EdgeOpening{box.left, box.right};
}

}  // namespace

std::vector<EdgeOpening> OpeningsOf(ScreenEdge edge, const std::vector<PieceBox>& pieces) {
    const float length = IsSideEdge(edge) ? kScreenHeight : kScreenWidth;
    std::vector<EdgeOpening> covered;
    for (const PieceBox& box : pieces) {
        const EdgeOpening span = Span(edge, box);
        if (LiesAt(edge, box) && span.to > 0.0f && span.from < length) {
            covered.push_back({std::max(span.from, 0.0f), std::min(span.to, length)});
        }
    }
    std::sort(covered.begin(), covered.end(),
              [](const EdgeOpening& a, const EdgeOpening& b) { return a.from < b.from; });

    std::vector<EdgeOpening> openings;
    float reached = 0.0f;  // the edge is covered from 0 up to here
    for (const EdgeOpening& span : covered) {
        if (span.from - reached >= kBallSize) {
            openings.push_back({reached, span.from});
        }
        reached = std::max(reached, span.to);
    }
    if (length - reached >= kBallSize) {
        openings.push_back({reached, length});
    }
    return openings;
}
