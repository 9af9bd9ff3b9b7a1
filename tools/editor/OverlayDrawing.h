// Drawing the editor's own marks over the scene picture with OpenGL immediate mode, in the
// scene's pixel coordinates: filled and outlined boxes, text in the engine's menu font, and
// pictures scaled into a box. Needs the window's context; owns nothing.
#pragma once

#include <string>

class ITexture;

struct OverlayColour {
    float red = 1.0f;
    float green = 1.0f;
    float blue = 1.0f;
    float alpha = 1.0f;
};

constexpr int kOverlayTextScale = 2;  // screen pixels per font pixel
constexpr int kOverlayLineHeight = 20;

void FillBox(const OverlayColour& colour, int left, int top, int width, int height);
void OutlineBox(const OverlayColour& colour, int left, int top, int width, int height);
void DrawOverlayText(const OverlayColour& colour, const std::wstring& text, int left, int top);
// The picture scaled to fit the box, keeping its proportions, centred in it; alpha below 1
// lets the scene show through.
void DrawPictureInBox(ITexture* texture, int left, int top, int width, int height, float alpha = 1.0f);
// How many characters of text fit across the given width.
int TextColumns(int width);
