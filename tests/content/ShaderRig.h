// Compiles the game's shader sources in the current OpenGL context and draws them the way a
// sprite does into an offscreen frame buffer, so tests can look at the pixels they make.
// Needs a current context (k_OffscreenContext); resolves its entry points once per rig.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdint>
#include <string>
#include <vector>

namespace content {

class k_ShaderRig {
public:
    k_ShaderRig();
    ~k_ShaderRig();
    k_ShaderRig(const k_ShaderRig&) = delete;
    k_ShaderRig& operator=(const k_ShaderRig&) = delete;

    // False when the driver lacks GLSL programs or frame buffer objects.
    bool IsReady() const { return ready; }

    // Compiles and links a vertex and a fragment source; on failure returns 0 and fills log.
    GLuint Link(const std::string& vertexSource, const std::string& fragmentSource, std::string& log);
    bool HasUniform(GLuint program, const char* name) const;

    // An RGBA picture as the game uploads it (bottom row first, nearest filtering).
    GLuint UploadPicture(int width, int height, const std::vector<std::uint8_t>& topDownRgba);

    // Starts drawing into a fresh target of the given size, cleared to the given colour
    // (transparent black unless told), with the game's pixel projection (origin top-left,
    // y downward) and no blending.
    void BeginTarget(int width, int height, const float (&background)[4] = {0, 0, 0, 0});
    // Draws one sprite quad at (left, top) with the program current, `picture` (0 for none) on
    // texture unit 0, and the uniforms set the way the game's shader texture sets them.
    void DrawSprite(GLuint program, GLuint picture, float left, float top, int width, int height, float time,
                    float alpha);
    void SetInt(GLuint program, const char* name, int value);
    // The target's pixels, top row first.
    std::vector<std::uint8_t> ReadTarget();

private:
    bool ready = false;
    int targetWidth = 0;
    int targetHeight = 0;
    GLuint framebuffer = 0;
    GLuint colourTexture = 0;
    std::vector<GLuint> programs;
    std::vector<GLuint> pictures;

    PFNGLCREATESHADERPROC createShader = nullptr;
    PFNGLSHADERSOURCEPROC shaderSource = nullptr;
    PFNGLCOMPILESHADERPROC compileShader = nullptr;
    PFNGLGETSHADERIVPROC getShaderiv = nullptr;
    PFNGLGETSHADERINFOLOGPROC getShaderInfoLog = nullptr;
    PFNGLDELETESHADERPROC deleteShader = nullptr;
    PFNGLCREATEPROGRAMPROC createProgram = nullptr;
    PFNGLATTACHSHADERPROC attachShader = nullptr;
    PFNGLLINKPROGRAMPROC linkProgram = nullptr;
    PFNGLGETPROGRAMIVPROC getProgramiv = nullptr;
    PFNGLGETPROGRAMINFOLOGPROC getProgramInfoLog = nullptr;
    PFNGLDELETEPROGRAMPROC deleteProgram = nullptr;
    PFNGLUSEPROGRAMPROC useProgram = nullptr;
    PFNGLGETUNIFORMLOCATIONPROC getUniformLocation = nullptr;
    PFNGLUNIFORM1IPROC uniform1i = nullptr;
    PFNGLUNIFORM1FPROC uniform1f = nullptr;
    PFNGLGENFRAMEBUFFERSEXTPROC genFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFEREXTPROC bindFramebuffer = nullptr;
    PFNGLFRAMEBUFFERTEXTURE2DEXTPROC framebufferTexture2D = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC checkFramebufferStatus = nullptr;
    PFNGLDELETEFRAMEBUFFERSEXTPROC deleteFramebuffers = nullptr;

    GLuint Compile(GLenum kind, const std::string& source, std::string& log);
    void ReleaseTarget();
};

}  // namespace content
