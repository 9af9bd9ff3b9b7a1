#include "world/k_Sprite.h"

#include <GL/gl.h>

#include "ITexture.h"
#include "game/SpriteBody.h"

namespace {

constexpr int kNoHighlightedLayer = -1;
constexpr float kOpaque = 1.0f;
// Sprites outside the highlighted layer show through at this alpha.
constexpr float kFadedAlpha = 0.3f;

}  // namespace

k_Sprite::k_Sprite(IEngine* engine, int type) : engine(engine) {
    data.type = static_cast<r_SpriteType::Value>(type);
}

void k_Sprite::SetData(const SpriteData& data) {
    this->data = data;
}

SpriteData& k_Sprite::GetData() {
    return data;
}

b2Body* k_Sprite::CreateBody(b2World* world) {
    int width = texture ? texture->GetWidth() : 0;
    int height = texture ? texture->GetHeight() : 0;
    body = CreateSpriteBody(world, data, width, height);
    return body;
}

void k_Sprite::SetTexture(ITexture* texture) {
    this->texture = texture;
    data.texture = texture->GetName();
}

ITexture* k_Sprite::GetTexture() {
    return texture;
}

float k_Sprite::Alpha() {
    int highlighted = engine->GetHighlightLayer();
    return highlighted == kNoHighlightedLayer || highlighted == data.depth ? kOpaque : kFadedAlpha;
}

// The picture's top row lies at texture coordinate t = 1, so t = 1 goes on the quad's top edge.
void k_Sprite::Draw() {
    if (!texture) {
        return;
    }
    texture->Bind(0);
    float width = static_cast<float>(texture->GetWidth());
    float height = static_cast<float>(texture->GetHeight());
    float left = data.left;
    float top = data.top;
    glBegin(GL_QUADS);
    glColor4f(1.0f, 1.0f, 1.0f, Alpha());
    glTexCoord2i(0, 1);
    glVertex2f(left, top);
    glTexCoord2i(1, 1);
    glVertex2f(left + width, top);
    glTexCoord2i(1, 0);
    glVertex2f(left + width, top + height);
    glTexCoord2i(0, 0);
    glVertex2f(left, top + height);
    glEnd();
    texture->Unbind(0);
}

void k_Sprite::SetTriggered(bool triggered) {
    this->triggered = triggered;
}

bool k_Sprite::IsTriggered() {
    return triggered;
}
