#include "engine/k_Engine.h"

#include <algorithm>

#include "Failure.h"
#include "WideText.h"
#include "IFileSystem.h"
#include "IGraphics.h"
#include "IShaderTexture.h"
#include "IUniverse.h"
#include "IWindow.h"
#include "audio/k_Audio.h"
#include "filesystem/k_FileSystem.h"
#include "game/k_ContactListener.h"
#include "game/k_PhysicsWorld.h"
#include "graphics/k_FrameBufferObject.h"
#include "graphics/k_Graphics.h"
#include "graphics/k_ShaderTexture.h"
#include "graphics/k_Texture.h"
#include "platform/k_Window.h"
#include "world/ScreenGeometry.h"
#include "world/k_Sprite.h"
#include "world/k_Universe.h"

IEngine* CreateEngine(Settings& settings) { return new k_Engine(settings); }

k_Engine::k_Engine(Settings& settings) {
    graphics = std::make_unique<k_Graphics>(this);
    window = std::make_unique<k_Window>(this, settings[L"Title"], ParseInt(settings[L"Width"]),
                                        ParseInt(settings[L"Height"]), ParseInt(settings[L"Fullscreen"]) == 1);
    // The data is searched beside the executable, then in the install's shared data, unless the
    // Data setting names the one folder or pack to play. The Zip setting forces a pack; a game
    // shipped as the executable and its pack alone reads the pack too.
    auto files = std::make_unique<k_FileSystem>(this);
    auto chosen = settings.find(L"Data");
    std::filesystem::path chosenPlace = chosen != settings.end() ? ToUtf8(chosen->second) : std::string();
    files->UseFirstDataSource(k_FileSystem::GameDataPlaces(chosenPlace), ParseBool(settings[L"Zip"]));
    fileSystem = std::move(files);
    universe = std::make_unique<k_Universe>(this);
}

// Releases in a fixed order: the audio first (streams, music, then the device), so nothing
// plays while the rest goes; the universe next, while the physics world still exists to take
// back the bodies of the current screen; the cached textures last. Contacts ended by the
// shutdown raise no game events (nor failures out of the destructor).
k_Engine::~k_Engine() {
    audio.reset();
    if (physics) {
        physics->SetContactListener(nullptr);
    }
    LeaveCurrentScreens();
    universe.reset();
    fileSystem.reset();
    window.reset();
    graphics.reset();
    physics.reset();
    contactListener.reset();
    resourceCache.clear();
    scene.clear();
    sceneEntry.clear();
    sceneEntryOrder.clear();
    removalQueue.clear();
}

// Every current screen is left while GetUniverse still answers, so that a screen-left handler
// hears of the last screens too and sees every entry paired with its leaving. A handler's
// failure cannot leave a destructor; the universe's release then removes what is left.
void k_Engine::LeaveCurrentScreens() {
    try {
        universe->SetCurrentWorld(nullptr);
        for (auto& world : universe->GetWorlds()) {
            world->SetCurrentScreen(nullptr);
        }
    } catch (...) {
    }
}

IGraphics* k_Engine::GetGraphics() { return graphics.get(); }
IWindow* k_Engine::GetWindow() { return window.get(); }
IFileSystem* k_Engine::GetFileSystem() { return fileSystem.get(); }
IUniverse* k_Engine::GetUniverse() { return universe.get(); }

// The first request for a name creates the resource; a creation that fails leaves the name
// free, so a later request tries again.
template <typename Create>
ITexture* k_Engine::CachedResource(const std::wstring& name, Create create) {
    std::unique_ptr<ITexture>& entry = resourceCache[name];
    if (!entry) {
        entry = create();
    }
    return entry.get();
}

IShaderTexture* k_Engine::GetShaderTexture(const std::wstring& name, const std::wstring& vertexFile,
                                           const std::wstring& fragmentFile, int width, int height) {
    ITexture* resource = CachedResource(name, [&] {
        return std::make_unique<k_ShaderTexture>(this, name, vertexFile, fragmentFile, width, height);
    });
    auto* shaderTexture = dynamic_cast<IShaderTexture*>(resource);
    if (resource && !shaderTexture) {
        throw k_Failure(L"Cannot make the shader texture \"" + name + L"\": the name is already used by a picture");
    }
    return shaderTexture;
}

ITexture* k_Engine::GetBlankTexture(const std::wstring& name, int width, int height) {
    return CachedResource(name, [&] { return std::make_unique<k_Texture>(this, width, height); });
}

ITexture* k_Engine::GetTexture(const std::wstring& name) {
    return CachedResource(name, [&] { return std::make_unique<k_Texture>(this, name); });
}

std::unique_ptr<IFrameBufferObject> k_Engine::CreateFrameBufferObject(ITexture* texture) {
    return std::make_unique<k_FrameBufferObject>(this, texture);
}

std::unique_ptr<ISprite> k_Engine::CreateSprite(int type) { return std::make_unique<k_Sprite>(this, type); }

void k_Engine::AddSprite(ISprite* sprite, bool automaticPlacement, ISprite* alignmentSprite) {
    if (sprite->GetData().broken) {
        return;
    }
    if (alignmentSprite) {
        placementX = static_cast<int>(alignmentSprite->GetData().left);
        placementY = static_cast<int>(alignmentSprite->GetData().top);
    }
    if (automaticPlacement) {
        AdvancePlacementCursor(sprite->GetTexture());
        sprite->GetData().left = static_cast<float>(placementX);
        sprite->GetData().top = static_cast<float>(placementY);
    }
    EnterScene(sprite, sprite->CreateBody(physics ? physics->GetWorld() : nullptr));
}

void k_Engine::EnterScene(ISprite* sprite, b2Body* body) {
    bool isNew = scene.count(sprite) == 0;
    scene[sprite] = body;
    if (!isNew) {
        return;
    }
    auto stale = sceneEntry.find(sprite);
    if (stale != sceneEntry.end()) {
        sceneEntryOrder.erase(stale->second);
    }
    sceneEntry[sprite] = nextSceneEntry;
    sceneEntryOrder[nextSceneEntry] = sprite;
    ++nextSceneEntry;
}

void k_Engine::AdvancePlacementCursor(ITexture* texture) {
    int width = texture ? texture->GetWidth() : 0;
    int height = texture ? texture->GetHeight() : 0;
    if (placeHorizontally) {
        placementX += width;
    } else {
        placementY += height;
    }
    if (placementX >= kScreenWidth) {
        placementX = 0;
        placementY += height;
    }
    if (placementY >= kScreenHeight) {
        placementY = 0;
    }
}

// Also forgets queued removals of the sprite: its owner may release it right after, and a
// later sprite at the same address must not be taken out in its place. The body goes
// first, since ending its contacts may queue the sprite again; a failure raised by those
// contacts comes after the sprite is fully out.
void k_Engine::RemoveSprite(ISprite* sprite) {
    auto forget = [this, sprite] {
        scene.erase(sprite);
        removalQueue.erase(std::remove(removalQueue.begin(), removalQueue.end(), sprite), removalQueue.end());
        ForgetSceneEntry(sprite);
    };
    auto entry = scene.find(sprite);
    if (entry != scene.end() && entry->second && physics) {
        try {
            physics->DestroyBody(entry->second);
        } catch (...) {
            forget();
            throw;
        }
    }
    forget();
}

void k_Engine::ForgetSceneEntry(ISprite* sprite) {
    auto order = sceneEntry.find(sprite);
    if (order != sceneEntry.end()) {
        sceneEntryOrder.erase(order->second);
        sceneEntry.erase(order);
    }
}

void k_Engine::QueueRemoveSprite(ISprite* sprite) {
    if (removeCallback) {
        removeCallback(sprite);
    }
    removalQueue.push_back(sprite);
}

// The player's body never sleeps: a ball at rest must still feel a new bounce setting.
void k_Engine::SetPlayerSprite(ISprite* sprite) {
    playerSprite = sprite;
    auto entry = scene.find(sprite);
    if (entry != scene.end() && entry->second && physics) {
        physics->KeepAwake(entry->second);
    }
}
ISprite* k_Engine::GetPlayerSprite() { return playerSprite; }

// Sprites in the order they entered the scene; sprites that callers put into the scene
// directly (through GetScene) follow in key order.
SpriteLayers k_Engine::GetSpritesByLayer() {
    SpriteLayers layers;
    for (const auto& [entry, sprite] : sceneEntryOrder) {
        if (scene.count(sprite) != 0) {
            layers[sprite->GetData().depth].push_back(sprite);
        }
    }
    if (sceneEntry.size() != scene.size()) {
        for (const auto& [sprite, body] : scene) {
            if (sceneEntry.count(sprite) == 0) {
                layers[sprite->GetData().depth].push_back(sprite);
            }
        }
    }
    return layers;
}

Scene& k_Engine::GetScene() { return scene; }
void k_Engine::SetSpriteBody(ISprite* sprite, b2Body* body) { EnterScene(sprite, body); }
float k_Engine::GetTime() { return time; }

void k_Engine::Init() {
    window->Open();
    physics = std::make_unique<k_PhysicsWorld>(PixelVector{kScreenWidth, kScreenHeight});
    contactListener = std::make_unique<k_ContactListener>(this, physics.get(), &steering);
    physics->SetContactListener(contactListener.get());
    audio = std::make_unique<k_Audio>(fileSystem.get());
    audio->Open(window->GetHandle());
}

void k_Engine::SetFrameCallback(FrameCallback callback, void* userData) {
    frameCallback = callback;
    frameCallbackData = userData;
}
void k_Engine::SetMouseCallback(MouseCallback callback) { mouseCallback = callback; }
void k_Engine::SetKeyCallback(KeyCallback callback) { keyCallback = callback; }
void k_Engine::SetResizeCallback(ResizeCallback callback) { resizeCallback = callback; }
void k_Engine::SetEdgeCallback(EdgeCallback callback, void* userData) {
    edgeCallback = callback;
    edgeCallbackData = userData;
}
void k_Engine::SetRemoveCallback(RemoveCallback callback) { removeCallback = callback; }
void k_Engine::SetHitCallback(HitCallback callback) { hitCallback = callback; }
void k_Engine::SetDeathCallback(DeathCallback callback) { deathCallback = callback; }
void k_Engine::SetHighlightLayer(int depth) { highlightLayer = depth; }
int k_Engine::GetHighlightLayer() { return highlightLayer; }

void k_Engine::OnMouse(int x, int y, unsigned int message) {
    if (mouseCallback) {
        mouseCallback(x, y, message);
    }
}

void k_Engine::OnKey(int key, bool down) {
    if (keyCallback) {
        keyCallback(key, down);
    }
}

void k_Engine::OnResize(int width, int height) {
    graphics->SetSize(width, height);
    if (resizeCallback) {
        resizeCallback(width, height);
    }
}

void k_Engine::OnEdge() {
    if (edgeCallback) {
        edgeCallback(edgeCallbackData);
    }
}

void k_Engine::OnHit(ISprite* sprite) {
    if (hitCallback) {
        hitCallback(sprite);
    }
}

void k_Engine::Kill() { deathRequested = true; }

// Before Init there is no audio device: sound and music requests are skipped.
void k_Engine::PlaySound(const std::wstring& name) {
    if (audio) {
        audio->PlaySound(name);
    }
}

void k_Engine::PlayMusic(const std::wstring& name) {
    if (audio) {
        audio->PlayMusic(name);
    }
}

void k_Engine::SetVolumes(int musicPercent, int effectsPercent) {
    if (audio) {
        audio->SetVolumes(musicPercent, effectsPercent);
    }
}

void k_Engine::StopMusic() {
    if (audio) {
        audio->StopMusic();
    }
}

void k_Engine::TogglePlacementDirection() { placeHorizontally = !placeHorizontally; }
bool k_Engine::IsPlacingHorizontally() { return placeHorizontally; }
