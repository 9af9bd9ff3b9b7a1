// The colours of the game's titles and text over its pictures, as the pictures themselves use
// them: gold lettering that darkens downwards, a dark brown outline, and cream for plain lines.
#pragma once

#include "graphics/GameText.h"

constexpr TextColour kTitleTopColour{1.0f, 246 / 255.0f, 160 / 255.0f, 1.0f};
constexpr TextColour kTitleBottomColour{1.0f, 150 / 255.0f, 36 / 255.0f, 1.0f};
constexpr TextColour kTitleOutline{70 / 255.0f, 30 / 255.0f, 22 / 255.0f, 1.0f};
constexpr TextColour kCream{1.0f, 244 / 255.0f, 214 / 255.0f, 1.0f};
