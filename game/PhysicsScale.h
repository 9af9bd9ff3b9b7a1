// The physics world works in metres; the rest of the game in screen pixels. These helpers
// convert at the boundary so that pixel-sized speeds and sprites fall in the solver's
// working range (8 to 256 px become 0.125 to 4 m; 200 px per time unit stays unclamped).
#pragma once

#include <box2d/box2d.h>

constexpr float kPixelsPerMetre = 64.0f;
constexpr float kMetresPerPixel = 1.0f / kPixelsPerMetre;

// Bounces slower than one pixel per time unit are absorbed, as the game's tuning expects.
constexpr float kRestitutionThresholdPixels = 1.0f;

inline float ToMetres(float pixels) { return pixels * kMetresPerPixel; }
inline float ToPixels(float metres) { return metres * kPixelsPerMetre; }
inline b2Vec2 ToMetres(b2Vec2 pixels) { return b2Vec2(ToMetres(pixels.x), ToMetres(pixels.y)); }
inline b2Vec2 ToPixels(b2Vec2 metres) { return b2Vec2(ToPixels(metres.x), ToPixels(metres.y)); }
