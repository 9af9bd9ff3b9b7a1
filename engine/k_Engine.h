// The one engine object: owns the window, the graphics state, the file system, the
// universe, the physics world, the audio and the resource cache; keeps the scene (every drawn and
// simulated sprite with its body), the removal queue, the player sprite and the clock;
// and forwards input to the hooks that a game or level editor sets.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "IEngine.h"
#include "ITexture.h"

class k_Audio;
class k_ContactListener;
class k_PhysicsWorld;
struct PixelVector;

class k_Engine : public IEngine {
public:
    explicit k_Engine(Settings& settings);
    ~k_Engine() override;
    k_Engine(const k_Engine&) = delete;
    k_Engine& operator=(const k_Engine&) = delete;

    IGraphics* GetGraphics() override;
    IWindow* GetWindow() override;
    IFileSystem* GetFileSystem() override;
    IUniverse* GetUniverse() override;
    IShaderTexture* GetShaderTexture(const std::wstring& name, const std::wstring& vertexFile,
                                     const std::wstring& fragmentFile, int width, int height) override;
    ITexture* GetBlankTexture(const std::wstring& name, int width, int height) override;
    ITexture* GetTexture(const std::wstring& name) override;
    std::unique_ptr<IFrameBufferObject> CreateFrameBufferObject(ITexture* texture) override;
    std::unique_ptr<ISprite> CreateSprite(int type) override;
    void AddSprite(ISprite* sprite, bool automaticPlacement, ISprite* alignmentSprite) override;
    void RemoveSprite(ISprite* sprite) override;
    void QueueRemoveSprite(ISprite* sprite) override;
    void SetPlayerSprite(ISprite* sprite) override;
    ISprite* GetPlayerSprite() override;
    SpriteLayers GetSpritesByLayer() override;
    Scene& GetScene() override;
    void SetSpriteBody(ISprite* sprite, b2Body* body) override;
    float GetTime() override;
    void Init() override;
    void Update(float dt) override;
    void SetFrameCallback(FrameCallback callback, void* userData) override;
    void SetMouseCallback(MouseCallback callback) override;
    void SetKeyCallback(KeyCallback callback) override;
    void SetResizeCallback(ResizeCallback callback) override;
    void SetEdgeCallback(EdgeCallback callback, void* userData) override;
    void SetRemoveCallback(RemoveCallback callback) override;
    void SetHitCallback(HitCallback callback) override;
    void SetDeathCallback(DeathCallback callback) override;
    void SetHighlightLayer(int depth) override;
    int GetHighlightLayer() override;
    void OnMouse(int x, int y, unsigned int message) override;
    void OnKey(int key, bool down) override;
    void OnResize(int width, int height) override;
    void OnEdge() override;
    void OnHit(ISprite* sprite) override;
    void Kill() override;
    void PlaySound(const std::wstring& name) override;
    void PlayMusic(const std::wstring& name) override;
    void StopMusic() override;
    void TogglePlacementDirection() override;
    bool IsPlacingHorizontally() override;
    void Simulate(float dt) override;
    bool IsDeathRequested() override;
    std::uint64_t GetStateDigest() override;
    void SetVolumes(int musicPercent, int effectsPercent) override;
    void SetPlayerVelocity(float x, float y) override;
    void SetSteeringKeys(const SteeringKeys& keys) override;

private:
    void LeaveCurrentScreens();
    template <typename Create>
    ITexture* CachedResource(const std::wstring& name, Create create);
    void AdvancePlacementCursor(ITexture* texture);
    void EnterScene(ISprite* sprite, b2Body* body);
    void ForgetSceneEntry(ISprite* sprite);

    // Frame update steps, in the order Update runs them.
    void RunRequestedDeath();
    void RunQueuedRemovals();
    void OpenDoorsWhenAllPiecesBroken();
    void RunFrame(float dt, bool draw);
    void RunSubStep(float dt, bool draw);
    void SteerPlayer(float dt);
    void MoveSpritesWithBodies();
    void ChangeScreenAtEdges();
    void ReseatPlayerBody();
    b2Body* PlayerBody();

    std::unique_ptr<IFileSystem> fileSystem;
    std::unique_ptr<IGraphics> graphics;
    std::unique_ptr<IWindow> window;
    std::unique_ptr<IUniverse> universe;
    Scene scene;
    // The order in which sprites entered the scene: a layer draws its sprites in this order,
    // so overlapping pieces of one depth look the same on every run.
    std::map<ISprite*, std::uint64_t> sceneEntry;
    std::map<std::uint64_t, ISprite*> sceneEntryOrder;
    std::uint64_t nextSceneEntry = 0;
    std::map<std::wstring, std::unique_ptr<ITexture>> resourceCache;
    std::vector<ISprite*> removalQueue;
    std::unique_ptr<k_Audio> audio;  // the device, music and sound streams; made by Init
    ISprite* playerSprite = nullptr;
    SteeringKeys steering = DefaultSteeringKeys();
    std::unique_ptr<k_PhysicsWorld> physics;
    std::unique_ptr<k_ContactListener> contactListener;
    float time = 0.0f;
    int highlightLayer = 0;
    int placementX = 0;
    int placementY = 0;
    bool deathRequested = false;
    bool placeHorizontally = true;
    FrameCallback frameCallback = nullptr;
    MouseCallback mouseCallback = nullptr;
    KeyCallback keyCallback = nullptr;
    ResizeCallback resizeCallback = nullptr;
    EdgeCallback edgeCallback = nullptr;
    RemoveCallback removeCallback = nullptr;
    HitCallback hitCallback = nullptr;
    DeathCallback deathCallback = nullptr;
    void* frameCallbackData = nullptr;
    void* edgeCallbackData = nullptr;
};
