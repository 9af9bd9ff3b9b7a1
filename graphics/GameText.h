// Text in the game's own bitmap font, drawn at run time: the glyphs the picture tools draw
// into the game's pictures, each inked font pixel a scale x scale square, with an optional
// outline around the ink and a shadow beneath it. Used by the menu, the heads-up display and
// the finish picture, which are drawn over the scene in scene pixels (top-left origin).
#pragma once

#include <string>

struct TextColour {
    float red = 1.0f;
    float green = 1.0f;
    float blue = 1.0f;
    float alpha = 1.0f;
};

struct TextStyle {
    int scale = 2;
    // The ink's colour at the top of the capitals and at the baseline, blended between.
    TextColour top;
    TextColour bottom;
    // Pixels of outline around every inked square; 0 draws none.
    int outlineWidth = 0;
    TextColour outline{0.0f, 0.0f, 0.0f, 1.0f};
    // The outlined text once more beneath, moved by this many pixels right and down; 0 none.
    int shadowOffset = 0;
    TextColour shadow{0.0f, 0.0f, 0.0f, 0.5f};
};

// Font rows from the top of a capital to the baseline, and with the two rows below it.
constexpr int kTextCapRows = 7;
constexpr int kTextLineRows = 9;

// The width in pixels of one line of UTF-8 text; characters the font lacks show as '?'.
int GameTextWidth(const std::string& text, int scale);

// Draws one line of UTF-8 text with its top-left corner at (left, top).
void DrawGameText(const std::string& text, float left, float top, const TextStyle& style);
// The same, centred on centreX.
void DrawGameTextCentred(const std::string& text, float centreX, float top, const TextStyle& style);

// A flat rectangle in one colour (blended by its alpha), for panels behind text.
void DrawFilledRectangle(float left, float top, float width, float height, const TextColour& colour);
