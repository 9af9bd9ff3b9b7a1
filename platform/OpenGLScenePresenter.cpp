#include "platform/OpenGLScenePresenter.h"

#include "IEngine.h"
#include "IGraphics.h"

void OpenGLScenePresenter::SetDisplay(int width, int height, SceneScaling scaling) {
    if (IGraphics* graphics = engine->GetGraphics()) {
        graphics->SetSceneScaling(scaling);
        graphics->SetDisplaySize(width, height);
    }
}

void OpenGLScenePresenter::BeforeSwap() {
    if (IGraphics* graphics = engine->GetGraphics()) {
        graphics->PresentScene();
    }
}
