#include "graphics/GLFunctions.h"

#include "platform/GLProcAddress.h"

namespace {

GLFunctions table;
bool loaded = false;

// A driver of OpenGL 1.1 has a single texture unit, which is always the active one.
void APIENTRY ActivateOnlyUnit(GLenum) {}

template <typename Function>
bool Resolve(Function& function, const char* name) {
    function = reinterpret_cast<Function>(GetGLProcAddress(name));
    return function != nullptr;
}

void Load() {
    table = GLFunctions();
    if (!Resolve(table.activeTexture, "glActiveTexture")) {
        table.activeTexture = ActivateOnlyUnit;
    }

    bool shaders = Resolve(table.createShader, "glCreateShader");
    shaders &= Resolve(table.shaderSource, "glShaderSource");
    shaders &= Resolve(table.compileShader, "glCompileShader");
    shaders &= Resolve(table.getShaderiv, "glGetShaderiv");
    shaders &= Resolve(table.getShaderInfoLog, "glGetShaderInfoLog");
    shaders &= Resolve(table.deleteShader, "glDeleteShader");
    shaders &= Resolve(table.createProgram, "glCreateProgram");
    shaders &= Resolve(table.attachShader, "glAttachShader");
    shaders &= Resolve(table.linkProgram, "glLinkProgram");
    shaders &= Resolve(table.getProgramiv, "glGetProgramiv");
    shaders &= Resolve(table.deleteProgram, "glDeleteProgram");
    shaders &= Resolve(table.useProgram, "glUseProgram");
    shaders &= Resolve(table.getUniformLocation, "glGetUniformLocation");
    shaders &= Resolve(table.uniform1i, "glUniform1i");
    shaders &= Resolve(table.uniform1f, "glUniform1f");
    table.hasShaders = shaders;

    bool framebuffers = Resolve(table.genFramebuffers, "glGenFramebuffersEXT");
    framebuffers &= Resolve(table.bindFramebuffer, "glBindFramebufferEXT");
    framebuffers &= Resolve(table.framebufferTexture2D, "glFramebufferTexture2DEXT");
    framebuffers &= Resolve(table.deleteFramebuffers, "glDeleteFramebuffersEXT");
    table.hasFramebuffers = framebuffers;

    loaded = true;
}

}  // namespace

const GLFunctions& GL() {
    if (!loaded) {
        Load();
    }
    return table;
}

void ReloadGLFunctions() {
    Load();
}
