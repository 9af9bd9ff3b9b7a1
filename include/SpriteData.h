// The record of one placed sprite, and the sprite types with their text forms.
#pragma once

#include <cstdint>
#include <string>

struct r_SpriteType {
    enum Value : std::int32_t {
        SolidSphere = 0,
        SolidCube = 1,
        Background = 2,
        Breakable = 3,
        Dangerous = 4,
        Door = 5,
    };

    // The text form of a type; throws k_Failure "r_SpriteType::ToString: unrecognized value"
    // for any other value.
    static std::wstring ToString(std::int32_t value);

    // The type whose text form equals text ignoring case; throws k_Failure
    // "r_SpriteType::Parse: unrecognized value" for any other text.
    static Value Parse(const std::wstring& text);
};

struct SpriteData {
    std::wstring texture;                            // PNG name, or a special texture's name
    r_SpriteType::Value type = r_SpriteType::Background;
    float top = 0.0f;                                // pixels from the screen's top edge
    float left = 0.0f;                               // pixels from the screen's left edge
    std::int32_t depth = 0;                          // drawing layer: lower draws first
    bool isStatic = false;                           // a body without mass that never moves
    bool special = false;                            // texture names a special texture ("Water")
    bool broken = false;                             // run time only: a broken piece is never re-added
};
