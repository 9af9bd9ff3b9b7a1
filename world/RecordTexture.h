// The texture a sprite record shows, made (and cached) by the engine: the record's picture, or
// for the one special texture "Water" the animated water shader that all water sprites share.
#pragma once

#include "IEngine.h"
#include "SpriteData.h"

class ITexture;

// Raises the engine's failure when the picture or shader cannot be made.
ITexture* RecordTexture(IEngine& engine, const SpriteData& record);
