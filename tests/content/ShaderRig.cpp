#include "content/ShaderRig.h"

#include "platform/GLProcAddress.h"

#include <algorithm>

namespace content {

namespace {

template <typename Function>
bool Resolve(Function& function, const char* name) {
    function = reinterpret_cast<Function>(GetGLProcAddress(name));
    return function != nullptr;
}

}  // namespace

k_ShaderRig::k_ShaderRig() {
    ready = Resolve(createShader, "glCreateShader") && Resolve(shaderSource, "glShaderSource") &&
            Resolve(compileShader, "glCompileShader") && Resolve(getShaderiv, "glGetShaderiv") &&
            Resolve(getShaderInfoLog, "glGetShaderInfoLog") && Resolve(deleteShader, "glDeleteShader") &&
            Resolve(createProgram, "glCreateProgram") && Resolve(attachShader, "glAttachShader") &&
            Resolve(linkProgram, "glLinkProgram") && Resolve(getProgramiv, "glGetProgramiv") &&
            Resolve(getProgramInfoLog, "glGetProgramInfoLog") && Resolve(deleteProgram, "glDeleteProgram") &&
            Resolve(useProgram, "glUseProgram") && Resolve(getUniformLocation, "glGetUniformLocation") &&
            Resolve(uniform1i, "glUniform1i") && Resolve(uniform1f, "glUniform1f") &&
            Resolve(genFramebuffers, "glGenFramebuffersEXT") && Resolve(bindFramebuffer, "glBindFramebufferEXT") &&
            Resolve(framebufferTexture2D, "glFramebufferTexture2DEXT") &&
            Resolve(checkFramebufferStatus, "glCheckFramebufferStatusEXT") &&
            Resolve(deleteFramebuffers, "glDeleteFramebuffersEXT");
}

k_ShaderRig::~k_ShaderRig() {
    if (!ready) {
        return;
    }
    useProgram(0);
    ReleaseTarget();
    for (GLuint program : programs) {
        deleteProgram(program);
    }
    if (!pictures.empty()) {
        glDeleteTextures(static_cast<GLsizei>(pictures.size()), pictures.data());
    }
}

GLuint k_ShaderRig::Compile(GLenum kind, const std::string& source, std::string& log) {
    GLuint shader = createShader(kind);
    const char* text = source.c_str();
    shaderSource(shader, 1, &text, nullptr);
    compileShader(shader);
    GLint compiled = 0;
    getShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (!compiled) {
        char message[4096] = {};
        getShaderInfoLog(shader, sizeof message, nullptr, message);
        log += message;
        deleteShader(shader);
        return 0;
    }
    return shader;
}

GLuint k_ShaderRig::Link(const std::string& vertexSource, const std::string& fragmentSource, std::string& log) {
    GLuint vertex = Compile(GL_VERTEX_SHADER, vertexSource, log);
    GLuint fragment = Compile(GL_FRAGMENT_SHADER, fragmentSource, log);
    if (!vertex || !fragment) {
        return 0;
    }
    GLuint program = createProgram();
    attachShader(program, vertex);
    attachShader(program, fragment);
    linkProgram(program);
    deleteShader(vertex);
    deleteShader(fragment);
    GLint linked = 0;
    getProgramiv(program, GL_LINK_STATUS, &linked);
    if (!linked) {
        char message[4096] = {};
        getProgramInfoLog(program, sizeof message, nullptr, message);
        log += message;
        deleteProgram(program);
        return 0;
    }
    programs.push_back(program);
    return program;
}

bool k_ShaderRig::HasUniform(GLuint program, const char* name) const {
    return getUniformLocation(program, name) != -1;
}

GLuint k_ShaderRig::UploadPicture(int width, int height, const std::vector<std::uint8_t>& topDownRgba) {
    std::vector<std::uint8_t> bottomUp(topDownRgba.size());
    size_t stride = static_cast<size_t>(width) * 4;
    for (int row = 0; row < height; ++row) {
        std::copy_n(topDownRgba.begin() + row * stride, stride, bottomUp.begin() + (height - 1 - row) * stride);
    }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    pictures.push_back(texture);
    return texture;
}

void k_ShaderRig::ReleaseTarget() {
    if (framebuffer) {
        bindFramebuffer(GL_FRAMEBUFFER_EXT, 0);
        deleteFramebuffers(1, &framebuffer);
        glDeleteTextures(1, &colourTexture);
        framebuffer = colourTexture = 0;
    }
}

void k_ShaderRig::BeginTarget(int width, int height, const float (&background)[4]) {
    ReleaseTarget();
    targetWidth = width;
    targetHeight = height;
    glGenTextures(1, &colourTexture);
    glBindTexture(GL_TEXTURE_2D, colourTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    genFramebuffers(1, &framebuffer);
    bindFramebuffer(GL_FRAMEBUFFER_EXT, framebuffer);
    framebufferTexture2D(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, colourTexture, 0);
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_BLEND);
    glClearColor(background[0], background[1], background[2], background[3]);
    glClear(GL_COLOR_BUFFER_BIT);
}

void k_ShaderRig::SetInt(GLuint program, const char* name, int value) {
    useProgram(program);
    uniform1i(getUniformLocation(program, name), value);
}

void k_ShaderRig::DrawSprite(GLuint program, GLuint picture, float left, float top, int width, int height, float time,
                             float alpha) {
    glBindTexture(GL_TEXTURE_2D, picture);
    useProgram(program);
    uniform1i(getUniformLocation(program, "width"), width);
    uniform1i(getUniformLocation(program, "height"), height);
    uniform1f(getUniformLocation(program, "time"), time);
    uniform1i(getUniformLocation(program, "texture0"), 0);
    glColor4f(1.0f, 1.0f, 1.0f, alpha);
    glBegin(GL_QUADS);
    glTexCoord2i(0, 1);
    glVertex2f(left, top);
    glTexCoord2i(1, 1);
    glVertex2f(left + width, top);
    glTexCoord2i(1, 0);
    glVertex2f(left + width, top + height);
    glTexCoord2i(0, 0);
    glVertex2f(left, top + height);
    glEnd();
    useProgram(0);
    glBindTexture(GL_TEXTURE_2D, 0);
}

std::vector<std::uint8_t> k_ShaderRig::ReadTarget() {
    std::vector<std::uint8_t> bottomUp(static_cast<size_t>(targetWidth) * targetHeight * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, targetWidth, targetHeight, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<std::uint8_t> topDown(bottomUp.size());
    size_t stride = static_cast<size_t>(targetWidth) * 4;
    for (int row = 0; row < targetHeight; ++row) {
        std::copy_n(bottomUp.begin() + row * stride, stride, topDown.begin() + (targetHeight - 1 - row) * stride);
    }
    return topDown;
}

}  // namespace content
