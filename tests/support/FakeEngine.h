// A stand-in engine for tests of classes that only reach a few engine services. Public
// members hold what the fake hands out and the scene it keeps. Tests that need other
// behaviour derive from it and override single operations.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "IEngine.h"
#include "IFileSystem.h"
#include "IFrameBufferObject.h"
#include "ISprite.h"
#include "IShaderTexture.h"

class FakeEngine : public IEngine {
public:
    IGraphics* graphics = nullptr;
    IWindow* window = nullptr;
    IFileSystem* fileSystem = nullptr;
    IUniverse* universe = nullptr;
    float time = 0.0f;
    int highlightLayer = -1;
    Scene scene;
    std::map<std::wstring, ITexture*> textures;  // what GetTexture and friends return by name

    IGraphics* GetGraphics() override { return graphics; }
    IWindow* GetWindow() override { return window; }
    IFileSystem* GetFileSystem() override { return fileSystem; }
    IUniverse* GetUniverse() override { return universe; }
    IShaderTexture* GetShaderTexture(const std::wstring& name, const std::wstring&, const std::wstring&, int,
                                     int) override {
        return dynamic_cast<IShaderTexture*>(textures[name]);
    }
    ITexture* GetBlankTexture(const std::wstring& name, int, int) override { return textures[name]; }
    ITexture* GetTexture(const std::wstring& name) override { return textures[name]; }
    std::unique_ptr<IFrameBufferObject> CreateFrameBufferObject(ITexture*) override { return nullptr; }
    std::unique_ptr<ISprite> CreateSprite(int) override { return nullptr; }
    void AddSprite(ISprite* sprite, bool, ISprite*) override {
        if (!sprite->GetData().broken) {
            scene[sprite] = nullptr;
        }
    }
    void RemoveSprite(ISprite* sprite) override { scene.erase(sprite); }
    void QueueRemoveSprite(ISprite*) override {}
    void SetPlayerSprite(ISprite*) override {}
    ISprite* GetPlayerSprite() override { return nullptr; }
    SpriteLayers GetSpritesByLayer() override {
        SpriteLayers layers;
        for (auto& entry : scene) {
            layers[entry.first->GetData().depth].push_back(entry.first);
        }
        return layers;
    }
    Scene& GetScene() override { return scene; }
    void SetSpriteBody(ISprite* sprite, b2Body* body) override { scene[sprite] = body; }
    float GetTime() override { return time; }
    void Init() override {}
    void Update(float) override {}
    void SetFrameCallback(FrameCallback, void*) override {}
    void SetMouseCallback(MouseCallback) override {}
    void SetKeyCallback(KeyCallback) override {}
    void SetResizeCallback(ResizeCallback) override {}
    void SetEdgeCallback(EdgeCallback, void*) override {}
    void SetRemoveCallback(RemoveCallback) override {}
    void SetHitCallback(HitCallback) override {}
    void SetDeathCallback(DeathCallback) override {}
    void SetHighlightLayer(int depth) override { highlightLayer = depth; }
    int GetHighlightLayer() override { return highlightLayer; }
    void OnMouse(int, int, unsigned int) override {}
    void OnKey(int, bool) override {}
    void OnResize(int, int) override {}
    void OnEdge() override {}
    void OnHit(ISprite*) override {}
    void Kill() override {}
    void PlaySound(const std::wstring&) override {}
    void PlayMusic(const std::wstring&) override {}
    void StopMusic() override {}
    void TogglePlacementDirection() override {}
    bool IsPlacingHorizontally() override { return true; }
    void Simulate(float) override {}
    bool IsDeathRequested() override { return false; }
    std::uint64_t GetStateDigest() override { return 0; }
    void SetVolumes(int, int) override {}
    void SetPlayerVelocity(float, float) override {}
    void SetSteeringKeys(const SteeringKeys&) override {}
};
