#include "platform/ScenePresenter.h"

#include <GL/gl.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char* const kScalingVariable = "ROLLANDIA_SCALING";
const char* const kServerRequest = "server";
const char* const kOpenGLRequest = "opengl";
// Mesa's software rasterisers, as they name themselves in GL_RENDERER.
constexpr std::array<const char*, 3> kSoftwareRenderers{"llvmpipe", "softpipe", "swrast"};

}  // namespace

PresenterKind ChoosePresenter(const char* renderer, const char* request) {
    if (request && std::strcmp(request, kServerRequest) == 0) {
        return PresenterKind::Server;
    }
    if (request && std::strcmp(request, kOpenGLRequest) == 0) {
        return PresenterKind::OpenGL;
    }
    const std::string name = renderer ? renderer : "";
    for (const char* software : kSoftwareRenderers) {
        if (name.find(software) != std::string::npos) {
            return PresenterKind::Server;
        }
    }
    return PresenterKind::OpenGL;
}

bool CanScaleInTheServer() {
#ifdef ROLLANDIA_X11
    return true;
#else
    return false;
#endif
}

PresenterKind ChoosePresenterForThisContext() {
    if (!CanScaleInTheServer()) {
        return PresenterKind::OpenGL;
    }
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    return ChoosePresenter(renderer, std::getenv(kScalingVariable));
}
