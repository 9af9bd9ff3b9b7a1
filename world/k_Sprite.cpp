#include "world/k_Sprite.h"

#include "ITexture.h"
#include "game/SpriteBody.h"
#include "graphics/SpriteQuad.h"

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

void k_Sprite::Draw() {
    if (!texture) {
        return;
    }
    DrawTexturedQuad(*texture, data.left, data.top, Alpha());
}

void k_Sprite::SetTriggered(bool triggered) {
    this->triggered = triggered;
}

bool k_Sprite::IsTriggered() {
    return triggered;
}
