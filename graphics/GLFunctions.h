// The OpenGL entry points beyond version 1.1 that drawing needs (multitexture, GLSL programs,
// frame buffer objects), looked up once per rendering context and kept in one table.
#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

struct GLFunctions {
    PFNGLACTIVETEXTUREPROC activeTexture = nullptr;

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
    PFNGLDELETEPROGRAMPROC deleteProgram = nullptr;
    PFNGLUSEPROGRAMPROC useProgram = nullptr;
    PFNGLGETUNIFORMLOCATIONPROC getUniformLocation = nullptr;
    PFNGLUNIFORM1IPROC uniform1i = nullptr;
    PFNGLUNIFORM1FPROC uniform1f = nullptr;

    PFNGLGENFRAMEBUFFERSEXTPROC genFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFEREXTPROC bindFramebuffer = nullptr;
    PFNGLFRAMEBUFFERTEXTURE2DEXTPROC framebufferTexture2D = nullptr;
    PFNGLDELETEFRAMEBUFFERSEXTPROC deleteFramebuffers = nullptr;

    // Whether every function of the group was found.
    bool hasShaders = false;
    bool hasFramebuffers = false;
};

// The table for the current context, looked up on first use.
const GLFunctions& GL();

// Looks the table up again; call with a newly made context current (the graphics state does
// so whenever the window sizes it, which follows every context creation).
void ReloadGLFunctions();
