// A screen's size and its four edges: every screen of a level is 800 x 600 scene pixels, and
// the ball passes to the neighbouring screen once its centre is past an edge, moved by a
// screen's width or height so that it enters the neighbour at the opposite side. The engine's
// screen changes, the checker's open edges and the editor's scene all measure by these.
#pragma once

#include <optional>

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
// The ball's picture (ball.png) is this wide and high.
constexpr float kBallSize = 32.0f;

enum class ScreenEdge { Left, Right, Top, Bottom };

// Passing through an edge: the step to the neighbouring slot beyond it, and how far the change
// to that neighbour moves the ball (the opposite way, by a screen's width or height).
struct EdgeCrossing {
    ScreenEdge edge;
    int columns;
    int rows;
    float shiftLeft;
    float shiftTop;
};

// The crossing through the edge.
EdgeCrossing CrossingThrough(ScreenEdge edge);

// The edge the ball has passed when its picture's top-left corner is at (left, top): right,
// then left, then bottom, then top. Nothing while its centre is inside the screen.
std::optional<EdgeCrossing> EdgeCrossed(float left, float top);
