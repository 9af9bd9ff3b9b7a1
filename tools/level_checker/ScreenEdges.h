// Where the ball can leave a screen: the stretches of each screen edge that the boxes of the
// pieces lying at that edge leave open wide enough for the ball. Pure geometry on pixels.
#pragma once

#include <vector>

#include "world/ScreenGeometry.h"

// The box of a piece's body in screen pixels.
struct PieceBox {
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
};

// A stretch along an edge: y from top to bottom on the side edges, x from left to right on
// the top and bottom edges.
struct EdgeOpening {
    float from = 0.0f;
    float to = 0.0f;
};

// The openings of edge at least as wide as the ball, in order along the edge. A piece closes
// its stretch when its box reaches within a few pixels of the edge line from either side.
std::vector<EdgeOpening> OpeningsOf(ScreenEdge edge, const std::vector<PieceBox>& pieces);
