#include "tools/level_checker/FairEntry.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace {

// The ball's reach in its first second, from the game's physics (a fixed step of 1/60 s runs
// 0.2 time units, so a second is 12 of them):
// - Across: the arrow keys change the speed by 100 px per time unit every second, 1,200 px/s
//   squared; from any speed it can arrive with (at least 200 px/s to cross an edge at all) it
//   covers more than the 800 px of a screen within the second, so sideways the whole screen is
//   in reach wherever no piece stands in the way.
// - Up: the ball climbs only by bouncing, and a bounce with Up held returns 1.3 times the speed
//   it hit with, so it rises 1.69 times the height it fell. Coming in through a side opening it
//   has fallen at most the opening's height less its own, so its first bounce lifts it at most
//   1.69 times that above the opening's floor, and that bounce lasts most of the second (a
//   96 px fall and its Up bounce take 0.84 s). Through an opening as high as the screen it can
//   climb anywhere; through the top or the bottom edge it is in flight and may go anywhere.
// - Down: gravity takes it anywhere below.
constexpr float kUpBounceHeightGain = 1.69f;
constexpr float kBallRadius = kBallSize * 0.5f;
// The places the ball's centre can be are tried on a grid this fine.
constexpr float kCell = 8.0f;
constexpr int kColumns = static_cast<int>(kScreenWidth / kCell) + 1;
constexpr int kRows = static_cast<int>(kScreenHeight / kCell) + 1;

float DistanceToBox(float x, float y, const PieceBox& box) {
    const float dx = std::max({box.left - x, 0.0f, x - box.right});
    const float dy = std::max({box.top - y, 0.0f, y - box.bottom});
    return std::hypot(dx, dy);
}

bool Touches(float x, float y, const PieceBox& box) { return DistanceToBox(x, y, box) < kBallRadius; }

class EntryFlood {
public:
    EntryFlood(const EntryPieces& pieces, float highest) : pieces(pieces), highest(highest) {}

    void Seed(float x, float y) { Visit(Cell(x), Cell(y)); }

    std::vector<std::size_t> Flood() {
        while (!waiting.empty()) {
            const auto [column, row] = waiting.front();
            waiting.pop_front();
            Visit(column + 1, row);
            Visit(column - 1, row);
            Visit(column, row + 1);
            Visit(column, row - 1);
        }
        std::vector<std::size_t> reached;
        for (std::size_t index = 0; index < touched.size(); ++index) {
            if (touched[index]) {
                reached.push_back(index);
            }
        }
        return reached;
    }

private:
    static int Cell(float pixels) { return static_cast<int>(std::lround(pixels / kCell)); }

    // Marks the dangers the ball touches at the place and goes on from it when nothing stops it.
    void Visit(int column, int row) {
        const float x = column * kCell;
        const float y = row * kCell;
        if (column < 0 || column >= kColumns || row < 0 || row >= kRows || y < highest || seen[row][column]) {
            return;
        }
        seen[row][column] = true;
        bool stopped = false;
        for (std::size_t index = 0; index < pieces.dangerous.size(); ++index) {
            if (Touches(x, y, pieces.dangerous[index])) {
                touched[index] = true;
                stopped = true;
            }
        }
        for (const PieceBox& box : pieces.solid) {
            stopped = stopped || Touches(x, y, box);
        }
        if (!stopped) {
            waiting.emplace_back(column, row);
        }
    }

    const EntryPieces& pieces;
    const float highest;
    bool seen[kRows][kColumns] = {};
    std::vector<bool> touched = std::vector<bool>(pieces.dangerous.size(), false);
    std::deque<std::pair<int, int>> waiting;
};

}  // namespace

std::vector<std::size_t> DangersWithinFirstSecond(const EntryPieces& pieces, ScreenEdge edge,
                                                  const EdgeOpening& opening) {
    const bool side = edge == ScreenEdge::Left || edge == ScreenEdge::Right;
    const float fall = opening.to - opening.from - kBallSize;
    const float highest = side ? opening.to - kBallRadius - kUpBounceHeightGain * fall : -kScreenHeight;
    EntryFlood flood(pieces, highest);
    for (float along = opening.from + kBallRadius; along <= opening.to - kBallRadius; along += kCell) {
        switch (edge) {
            case ScreenEdge::Left: flood.Seed(0.0f, along); break;
            case ScreenEdge::Right: flood.Seed(kScreenWidth, along); break;
            case ScreenEdge::Top: flood.Seed(along, 0.0f); break;
            case ScreenEdge::Bottom: flood.Seed(along, kScreenHeight); break;
        }
    }
    return flood.Flood();
}

std::vector<UnfairPiece> UnfairPieces(const std::vector<SpriteData>& sprites, ScreenEdge edge,
                                      const std::vector<EdgeOpening>& openings, const PieceBoxOf& boxOf) {
    EntryPieces pieces;
    std::vector<std::size_t> dangerSprites;
    for (std::size_t index = 0; index < sprites.size(); ++index) {
        const SpriteData& sprite = sprites[index];
        const std::optional<PieceBox> box = boxOf(sprite);
        if (!box || !sprite.isStatic || sprite.type == r_SpriteType::Background) {
            continue;
        }
        const bool dangerous = sprite.type == r_SpriteType::Dangerous;
        (dangerous ? pieces.dangerous : pieces.solid).push_back(*box);
        if (dangerous) {
            dangerSprites.push_back(index);
        }
    }
    std::vector<UnfairPiece> unfair;
    for (const EdgeOpening& opening : openings) {
        for (std::size_t danger : DangersWithinFirstSecond(pieces, edge, opening)) {
            unfair.push_back({dangerSprites[danger], opening});
        }
    }
    return unfair;
}

std::vector<EdgeOpening> WaysIn(const std::vector<EdgeOpening>& here, const std::vector<EdgeOpening>& beyond) {
    std::vector<EdgeOpening> ways;
    for (const EdgeOpening& mine : here) {
        for (const EdgeOpening& theirs : beyond) {
            const EdgeOpening shared{std::max(mine.from, theirs.from), std::min(mine.to, theirs.to)};
            if (shared.to - shared.from >= kBallSize) {
                ways.push_back(shared);
            }
        }
    }
    return ways;
}
