// Draws one sprite's picture: a textured quad the size of its texture, so that the room that
// places sprites needs no OpenGL of its own.
#pragma once

class ITexture;

// Draws texture with its top-left corner at (left, top), tinted white at the given alpha;
// binds the texture to unit 0 for the quad and unbinds it after.
void DrawTexturedQuad(ITexture& texture, float left, float top, float alpha);
// The same, stretched to width x height.
void DrawTexturedQuad(ITexture& texture, float left, float top, float width, float height, float alpha);
