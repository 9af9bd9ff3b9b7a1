// The physics world works in metres; the rest of the game in screen pixels. These helpers
// convert at the boundary so that pixel-sized speeds and sprites fall in the solver's
// working range (8 to 256 px become 0.125 to 4 m; 200 px per time unit stays unclamped).
#pragma once

#include <box2d/box2d.h>

constexpr float kPixelsPerMetre = 64.0f;
constexpr float kMetresPerPixel = 1.0f / kPixelsPerMetre;

// Bounces slower than this are absorbed. A piece resting on another gains 1 px per time unit of
// speed from gravity in every sub-step of the game's fixed step (10 px per time unit squared
// over 0.1 time units); a threshold at that speed let a resting sphere (restitution 1) bounce
// on every step and pump itself higher, so it lies half as much again above it.
constexpr float kRestitutionThresholdPixels = 1.5f;

inline float ToMetres(float pixels) { return pixels * kMetresPerPixel; }
inline float ToPixels(float metres) { return metres * kPixelsPerMetre; }
inline b2Vec2 ToMetres(b2Vec2 pixels) { return b2Vec2(ToMetres(pixels.x), ToMetres(pixels.y)); }
inline b2Vec2 ToPixels(b2Vec2 metres) { return b2Vec2(ToPixels(metres.x), ToPixels(metres.y)); }
