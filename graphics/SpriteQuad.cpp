#include "graphics/SpriteQuad.h"

#include <GL/gl.h>

#include "ITexture.h"

// The picture's top row lies at texture coordinate t = 1, so t = 1 goes on the quad's top edge.
void DrawTexturedQuad(ITexture& texture, float left, float top, float alpha) {
    DrawTexturedQuad(texture, left, top, static_cast<float>(texture.GetWidth()), static_cast<float>(texture.GetHeight()),
                     alpha);
}

void DrawTexturedQuad(ITexture& texture, float left, float top, float width, float height, float alpha) {
    texture.Bind(0);
    glBegin(GL_QUADS);
    glColor4f(1.0f, 1.0f, 1.0f, alpha);
    glTexCoord2i(0, 1);
    glVertex2f(left, top);
    glTexCoord2i(1, 1);
    glVertex2f(left + width, top);
    glTexCoord2i(1, 0);
    glVertex2f(left + width, top + height);
    glTexCoord2i(0, 0);
    glVertex2f(left, top + height);
    glEnd();
    texture.Unbind(0);
}
