#include "tools/editor/OverlayDrawing.h"

#include <GL/gl.h>

#include <algorithm>

#include "ITexture.h"
#include "graphics/SpriteQuad.h"
#include "platform/MenuFont.h"

namespace {

void SetColour(const OverlayColour& colour) { glColor4f(colour.red, colour.green, colour.blue, colour.alpha); }

}  // namespace

void FillBox(const OverlayColour& colour, int left, int top, int width, int height) {
    SetColour(colour);
    glRecti(left, top, left + width, top + height);
}

void OutlineBox(const OverlayColour& colour, int left, int top, int width, int height) {
    SetColour(colour);
    glBegin(GL_LINE_LOOP);
    glVertex2f(left + 0.5f, top + 0.5f);
    glVertex2f(left + width - 0.5f, top + 0.5f);
    glVertex2f(left + width - 0.5f, top + height - 0.5f);
    glVertex2f(left + 0.5f, top + height - 0.5f);
    glEnd();
}

void DrawOverlayText(const OverlayColour& colour, const std::wstring& text, int left, int top) {
    SetColour(colour);
    DrawFontText(text, left, top, kOverlayTextScale);
}

int TextColumns(int width) { return width / (kGlyphAdvance * kOverlayTextScale); }

void DrawPictureInBox(ITexture* texture, int left, int top, int width, int height, float alpha) {
    if (!texture || texture->GetWidth() <= 0 || texture->GetHeight() <= 0) {
        return;
    }
    float scale = std::min(1.0f, std::min(static_cast<float>(width) / texture->GetWidth(),
                                          static_cast<float>(height) / texture->GetHeight()));
    float drawnWidth = texture->GetWidth() * scale;
    float drawnHeight = texture->GetHeight() * scale;
    float x = left + (width - drawnWidth) / 2;
    float y = top + (height - drawnHeight) / 2;
    DrawTexturedQuad(*texture, x, y, drawnWidth, drawnHeight, alpha);
}
