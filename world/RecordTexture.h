// The texture a sprite record shows, made (and cached) by the engine: the record's picture, or
// for the one special texture "Water" the animated water shader that all water sprites share.
// A record is drawn at its texture's size: its picture's, or the water texture's fixed size.
#pragma once

#include "IEngine.h"
#include "SpriteData.h"

class ITexture;

// The water shader texture's width and height, whatever the water record's position.
constexpr int kWaterTextureSize = 50;

// Whether the record shows the water shader: "Water" (exact case) on a special record.
bool ShowsWater(const SpriteData& record);

// Raises the engine's failure when the picture or shader cannot be made.
ITexture* RecordTexture(IEngine& engine, const SpriteData& record);
