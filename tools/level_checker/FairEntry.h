// Fair entries: a player needs a moment to see a screen before it can kill. This finds the
// dangerous pieces the ball can touch within its first second after entering a screen through
// an opening, at any speed it may arrive with. Pure geometry on pixels: the places the ball's
// centre can get to are flooded from the opening around the pieces that stay put.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

#include "SpriteData.h"
#include "tools/level_checker/ScreenEdges.h"

// The pieces of one screen as the ball meets them on entering: the boxes it bounces off (solid,
// breakable and door pieces that do not move) and the boxes that kill it, in screen order.
struct EntryPieces {
    std::vector<PieceBox> solid;
    std::vector<PieceBox> dangerous;
};

// The dangerous pieces (indices into pieces.dangerous) the ball can touch in its first second
// after entering through the opening of the edge.
std::vector<std::size_t> DangersWithinFirstSecond(const EntryPieces& pieces, ScreenEdge edge,
                                                  const EdgeOpening& opening);

// A dangerous sprite (its index in the screen) in reach from an opening.
struct UnfairPiece {
    std::size_t sprite = 0;
    EdgeOpening opening;
};

// The body's box of a sprite; none when its picture is unknown.
using PieceBoxOf = std::function<std::optional<PieceBox>(const SpriteData&)>;

// The dangerous sprites of a screen the ball can touch in its first second after entering
// through any of the openings of the edge; loose pieces are left out (the ball pushes them).
std::vector<UnfairPiece> UnfairPieces(const std::vector<SpriteData>& sprites, ScreenEdge edge,
                                      const std::vector<EdgeOpening>& openings, const PieceBoxOf& boxOf);

// The stretches of an edge the ball can come in through: where the screen's openings and those
// of the neighbour's facing edge overlap by at least the ball's size.
std::vector<EdgeOpening> WaysIn(const std::vector<EdgeOpening>& here, const std::vector<EdgeOpening>& beyond);
