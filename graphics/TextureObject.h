// A new OpenGL texture object, bound, with nearest-pixel filtering both ways and the given
// wrapping; shared by the picture textures and the graphics' copy of the scene.
#pragma once

#include <GL/gl.h>

GLuint MakeTextureObject(GLint wrap);
