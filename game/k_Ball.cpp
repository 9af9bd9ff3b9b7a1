#include "game/k_Ball.h"

#include "IEngine.h"
#include "IShaderTexture.h"
#include "ISprite.h"

namespace {

const wchar_t* const kPicture = L"ball.png";
const wchar_t* const kShaderName = L"ball.glsl";
const wchar_t* const kVertexShader = L"ball.vs";
const wchar_t* const kFragmentShader = L"ball.fs";
const char* const kStateUniform = "ballState";
constexpr int kPictureUnit = 0;

// Where a new ball appears: near the top-left corner, above every piece of lower depth.
constexpr float kStartLeft = 128.0f;
constexpr float kStartTop = 32.0f;
constexpr int kDepth = 100;

}  // namespace

k_Ball::k_Ball() : k_Ball(kStartLeft, kStartTop) {}

k_Ball::k_Ball(float left, float top) : engine(g_Engine) {
    texture = engine->GetTexture(kPicture);
    shaderTexture = engine->GetShaderTexture(kShaderName, kVertexShader, kFragmentShader, texture->GetWidth(),
                                             texture->GetHeight());
    shaderTexture->SetTexture(texture, kPictureUnit);
    ownedSprite = engine->CreateSprite(r_SpriteType::SolidSphere);
    sprite = ownedSprite.get();
    sprite->SetTexture(shaderTexture);
    SpriteData& data = sprite->GetData();
    data.left = left;
    data.top = top;
    data.depth = kDepth;
    engine->AddSprite(sprite, false, nullptr);
    engine->SetPlayerSprite(sprite);
}

k_Ball::~k_Ball() {
    engine->SetPlayerSprite(nullptr);
    engine->QueueRemoveSprite(sprite);
    // A sprite nobody took over goes with the ball, so it must leave the scene now.
    if (ownedSprite) {
        engine->RemoveSprite(sprite);
    }
}

void k_Ball::SetState(int state) {
    shaderTexture->Bind(kPictureUnit);
    this->state = state;
    shaderTexture->SetUniform1i(kStateUniform, state);
    shaderTexture->Unbind(kPictureUnit);
}

int k_Ball::GetState() { return state; }

std::unique_ptr<ISprite> k_Ball::HandOverSprite() { return std::move(ownedSprite); }
