#include "graphics/k_ShaderTexture.h"

#include <iostream>
#include <memory>
#include <vector>

#include "Failure.h"
#include "IFileSystem.h"
#include "filesystem/CannotRead.h"
#include "graphics/GLFunctions.h"

namespace {

constexpr GLint kNoUniform = -1;

std::unique_ptr<IFile> OpenSource(IEngine* engine, const std::wstring& shaderName, const std::wstring& fileName) {
    IFileSystem* files = engine->GetFileSystem();
    std::unique_ptr<IFile> file = files->Open(fileName);
    if (!file) {
        std::wstring reason = WhyCannotRead(files, fileName);
        throw k_Failure(L"Cannot read the shader source \"" + fileName + L"\" of \"" + shaderName + L"\"" +
                        (reason.empty() ? L"" : L" (" + reason + L")") + L".");
    }
    return file;
}

void WriteShaderLog(GLuint shader) {
    const GLFunctions& gl = GL();
    GLint length = 0;
    gl.getShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    if (length > 0) {
        std::vector<GLchar> log(length);
        gl.getShaderInfoLog(shader, length, nullptr, log.data());
        std::cerr << log.data() << std::endl;
    }
}

// The source is the file's content, which the file layer ends with a zero byte.
GLuint CompileShader(GLenum type, IFile& source, const char* failureLine) {
    const GLFunctions& gl = GL();
    GLuint shader = gl.createShader(type);
    const GLchar* text = reinterpret_cast<const GLchar*>(source.GetData());
    gl.shaderSource(shader, 1, &text, nullptr);
    gl.compileShader(shader);
    GLint compiled = 0;
    gl.getShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (!compiled) {
        std::cerr << failureLine << std::endl;
        WriteShaderLog(shader);
    }
    return shader;
}

std::string SamplerName(int unit) {
    return "texture" + std::to_string(unit);
}

}  // namespace

k_ShaderTexture::k_ShaderTexture(IEngine* engine, const std::wstring& name, const std::wstring& vertexFile,
                                 const std::wstring& fragmentFile, int width, int height)
    : name(name), engine(engine), width(width), height(height) {
    const GLFunctions& gl = GL();
    if (!gl.hasShaders) {
        throw k_Failure(L"Cannot make the shader texture \"" + name + L"\": the OpenGL driver has no shaders.");
    }
    std::unique_ptr<IFile> vertexSource = OpenSource(engine, name, vertexFile);
    std::unique_ptr<IFile> fragmentSource = OpenSource(engine, name, fragmentFile);

    GLuint vertexShader = CompileShader(GL_VERTEX_SHADER, *vertexSource, "Error compiling vertex shader!");
    GLuint fragmentShader = CompileShader(GL_FRAGMENT_SHADER, *fragmentSource, "Error compiling fragment shader!");
    program = gl.createProgram();
    gl.attachShader(program, vertexShader);
    gl.attachShader(program, fragmentShader);
    gl.linkProgram(program);
    GLint linked = 0;
    gl.getProgramiv(program, GL_LINK_STATUS, &linked);
    if (!linked) {
        std::cerr << "Error linking shaders." << std::endl;
    }
    // The program keeps what it needs; the shaders go with it when it is deleted.
    gl.deleteShader(vertexShader);
    gl.deleteShader(fragmentShader);
    FindBuiltInUniforms();
}

k_ShaderTexture::~k_ShaderTexture() {
    GL().deleteProgram(program);
}

void k_ShaderTexture::FindBuiltInUniforms() {
    const GLFunctions& gl = GL();
    widthLocation = gl.getUniformLocation(program, "width");
    heightLocation = gl.getUniformLocation(program, "height");
    timeLocation = gl.getUniformLocation(program, "time");
    for (int unit = 0; unit < kInputUnits; ++unit) {
        samplerLocations[unit] = gl.getUniformLocation(program, SamplerName(unit).c_str());
    }
}

GLuint k_ShaderTexture::GetId() {
    return program;
}

int k_ShaderTexture::GetWidth() {
    return width;
}

int k_ShaderTexture::GetHeight() {
    return height;
}

std::wstring k_ShaderTexture::GetName() {
    return name;
}

void k_ShaderTexture::CopyPixels(int, int) {
    throw k_Failure(L"Cannot copy pixels into a shader texture!");
}

void k_ShaderTexture::Bind(int) {
    const GLFunctions& gl = GL();
    gl.useProgram(program);
    if (widthLocation != kNoUniform) {
        gl.uniform1i(widthLocation, width);
    }
    if (heightLocation != kNoUniform) {
        gl.uniform1i(heightLocation, height);
    }
    if (timeLocation != kNoUniform) {
        gl.uniform1f(timeLocation, engine->GetTime());
    }
    for (auto& [unit, texture] : inputs) {
        texture->Bind(unit);
        if (samplerLocations[unit] != kNoUniform) {
            gl.uniform1i(samplerLocations[unit], unit);
        }
    }
}

void k_ShaderTexture::Unbind(int) {
    GL().useProgram(0);
    for (auto& [unit, texture] : inputs) {
        texture->Unbind(unit);
    }
}

void k_ShaderTexture::SetTexture(ITexture* texture, int unit) {
    if (unit < 0 || unit >= kInputUnits) {
        throw k_Failure(L"The shader texture \"" + name + L"\" reads textures on units 0 to 9 only, not on unit " +
                        std::to_wstring(unit) + L".");
    }
    inputs[unit] = texture;
}

void k_ShaderTexture::SetUniform1f(const char* uniformName, float value) {
    const GLFunctions& gl = GL();
    GLint location = gl.getUniformLocation(program, uniformName);
    if (location != kNoUniform) {
        gl.uniform1f(location, value);
    }
}

void k_ShaderTexture::SetUniform1i(const char* uniformName, int value) {
    const GLFunctions& gl = GL();
    GLint location = gl.getUniformLocation(program, uniformName);
    if (location != kNoUniform) {
        gl.uniform1i(location, value);
    }
}
