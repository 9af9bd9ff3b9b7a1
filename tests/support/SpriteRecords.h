// Sprite records for tests: a placed piece of the given type and picture.
#pragma once

#include <string>

#include "SpriteData.h"

inline SpriteData Record(r_SpriteType::Value type, const std::wstring& texture, float left, float top,
                         bool special = false) {
    SpriteData data;
    data.type = type;
    data.texture = texture;
    data.left = left;
    data.top = top;
    data.special = special;
    return data;
}
