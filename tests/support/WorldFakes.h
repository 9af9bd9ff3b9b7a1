// Stand-ins for the pieces the world data asks the engine for: a sprite that only keeps its
// record and texture, a named texture (usable as a shader texture), an engine that makes
// them and counts what it was asked. No display is needed.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

// FakeEngine hands out frame buffer objects by unique_ptr, which needs the complete type.
#include "IFrameBufferObject.h"
#include "FakeEngine.h"
#include "Failure.h"
#include "IFile.h"
#include "MemoryFiles.h"
#include "IShaderTexture.h"
#include "ISprite.h"

class FakeTexture : public IShaderTexture {
public:
    explicit FakeTexture(std::wstring name) : name(std::move(name)) {}

    GLuint GetId() override { return 0; }
    int GetWidth() override { return width; }
    int GetHeight() override { return height; }
    std::wstring GetName() override { return name; }
    void CopyPixels(int, int) override {}
    void Bind(int) override {}
    void Unbind(int) override {}
    void SetTexture(ITexture*, int) override {}
    void SetUniform1f(const char*, float) override {}
    void SetUniform1i(const char*, int) override {}

    std::wstring name;
    int width = 32;
    int height = 32;
};

class FakeSprite : public ISprite {
public:
    void SetData(const SpriteData& record) override { data = record; }
    SpriteData& GetData() override { return data; }
    b2Body* CreateBody(b2World*) override { return nullptr; }
    void SetTexture(ITexture* newTexture) override {
        texture = newTexture;
        data.texture = newTexture->GetName();
    }
    ITexture* GetTexture() override { return texture; }
    void Draw() override {}
    void SetTriggered(bool value) override { triggered = value; }
    bool IsTriggered() override { return triggered; }

    SpriteData data;
    ITexture* texture = nullptr;
    bool triggered = false;
};

class WorldFakeEngine : public FakeEngine {
public:
    std::unique_ptr<ISprite> CreateSprite(int type) override {
        auto sprite = std::make_unique<FakeSprite>();
        sprite->data.type = static_cast<r_SpriteType::Value>(type);
        ++spritesCreated;
        return sprite;
    }
    ITexture* GetTexture(const std::wstring& name) override {
        textureRequests.push_back(name);
        FailIfMissing(name);
        return Named(pictures, name);
    }
    IShaderTexture* GetShaderTexture(const std::wstring& name, const std::wstring& vertexFile,
                                     const std::wstring& fragmentFile, int width, int height) override {
        shaderRequests.push_back(name + L"|" + vertexFile + L"|" + fragmentFile + L"|" + std::to_wstring(width) +
                                 L"x" + std::to_wstring(height));
        FailIfMissing(name);
        return Named(shaders, name);
    }
    void RemoveSprite(ISprite* sprite) override {
        ++spritesRemoved;
        FakeEngine::RemoveSprite(sprite);
    }

    int spritesCreated = 0;
    int spritesRemoved = 0;
    std::vector<std::wstring> textureRequests;
    std::vector<std::wstring> shaderRequests;
    std::set<std::wstring> missing;  // names of pictures and shaders that cannot be made

private:
    void FailIfMissing(const std::wstring& name) {
        if (missing.count(name)) {
            throw k_Failure(L"Cannot load " + name);
        }
    }

    static FakeTexture* Named(std::map<std::wstring, std::unique_ptr<FakeTexture>>& cache, const std::wstring& name) {
        auto& texture = cache[name];
        if (!texture) {
            texture = std::make_unique<FakeTexture>(name);
        }
        return texture.get();
    }

    std::map<std::wstring, std::unique_ptr<FakeTexture>> pictures;
    std::map<std::wstring, std::unique_ptr<FakeTexture>> shaders;
};
