#include "world/ScreenGeometry.h"

#include <array>

namespace {

constexpr float kWidth = static_cast<float>(kScreenWidth);
constexpr float kHeight = static_cast<float>(kScreenHeight);

// The ball's top-left corner beyond which its centre has left the screen.
constexpr float kRightEdge = kWidth - kBallSize / 2;
constexpr float kLeftEdge = -kBallSize / 2;
constexpr float kBottomEdge = kHeight - kBallSize / 2;
constexpr float kTopEdge = -kBallSize / 2;

constexpr std::array<EdgeCrossing, 4> kCrossings = {{
    {ScreenEdge::Left, -1, 0, kWidth, 0.0f},
    {ScreenEdge::Right, 1, 0, -kWidth, 0.0f},
    {ScreenEdge::Top, 0, -1, 0.0f, kHeight},
    {ScreenEdge::Bottom, 0, 1, 0.0f, -kHeight},
}};

}  // namespace

EdgeCrossing CrossingThrough(ScreenEdge edge) { return kCrossings[static_cast<std::size_t>(edge)]; }

std::optional<EdgeCrossing> EdgeCrossed(float left, float top) {
    if (left > kRightEdge) {
        return CrossingThrough(ScreenEdge::Right);
    }
    if (left < kLeftEdge) {
        return CrossingThrough(ScreenEdge::Left);
    }
    if (top > kBottomEdge) {
        return CrossingThrough(ScreenEdge::Bottom);
    }
    if (top < kTopEdge) {
        return CrossingThrough(ScreenEdge::Top);
    }
    return std::nullopt;
}
