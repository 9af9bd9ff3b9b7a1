// The engine: owns the window, graphics, file system, universe, physics and audio, keeps
// the scene and the resource cache, and runs the frame update.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "PhysicsTypes.h"
#include "Settings.h"
#include "SteeringKeys.h"

class IFileSystem;
class IFrameBufferObject;
class IGraphics;
class IShaderTexture;
class ISprite;
class ITexture;
class IUniverse;
class IWindow;

// Every sprite that is drawn and simulated, with its body (null for a bodiless sprite).
using Scene = std::map<ISprite*, b2Body*>;
// Sprites grouped by their depth, in ascending depth.
using SpriteLayers = std::map<int, std::vector<ISprite*>>;

using FrameCallback = void (*)(void* userData);
using MouseCallback = void (*)(int x, int y, unsigned int message);
using KeyCallback = void (*)(int key, bool down);
using ResizeCallback = void (*)(int width, int height);
using EdgeCallback = void (*)(void* userData);
using RemoveCallback = void (*)(ISprite* sprite);
using HitCallback = void (*)(ISprite* sprite);
using DeathCallback = void (*)(void* userData);

class IEngine {
public:
    virtual ~IEngine() = default;

    virtual IGraphics* GetGraphics() = 0;
    virtual IWindow* GetWindow() = 0;
    virtual IFileSystem* GetFileSystem() = 0;
    virtual IUniverse* GetUniverse() = 0;
    // Cached by name: the first request decides; the engine owns the result.
    virtual IShaderTexture* GetShaderTexture(const std::wstring& name, const std::wstring& vertexFile,
                                             const std::wstring& fragmentFile, int width, int height) = 0;
    virtual ITexture* GetBlankTexture(const std::wstring& name, int width, int height) = 0;
    virtual ITexture* GetTexture(const std::wstring& name) = 0;
    virtual std::unique_ptr<IFrameBufferObject> CreateFrameBufferObject(ITexture* texture) = 0;
    virtual std::unique_ptr<ISprite> CreateSprite(int type) = 0;
    virtual void AddSprite(ISprite* sprite, bool automaticPlacement, ISprite* alignmentSprite) = 0;
    virtual void RemoveSprite(ISprite* sprite) = 0;
    virtual void QueueRemoveSprite(ISprite* sprite) = 0;
    virtual void SetPlayerSprite(ISprite* sprite) = 0;
    virtual ISprite* GetPlayerSprite() = 0;
    virtual SpriteLayers GetSpritesByLayer() = 0;
    virtual Scene& GetScene() = 0;
    virtual void SetSpriteBody(ISprite* sprite, b2Body* body) = 0;
    virtual float GetTime() = 0;
    virtual void Init() = 0;
    virtual void Update(float dt) = 0;
    virtual void SetFrameCallback(FrameCallback callback, void* userData) = 0;
    virtual void SetMouseCallback(MouseCallback callback) = 0;
    virtual void SetKeyCallback(KeyCallback callback) = 0;
    virtual void SetResizeCallback(ResizeCallback callback) = 0;
    virtual void SetEdgeCallback(EdgeCallback callback, void* userData) = 0;
    virtual void SetRemoveCallback(RemoveCallback callback) = 0;
    virtual void SetHitCallback(HitCallback callback) = 0;
    virtual void SetDeathCallback(DeathCallback callback) = 0;
    virtual void SetHighlightLayer(int depth) = 0;
    virtual int GetHighlightLayer() = 0;
    virtual void OnMouse(int x, int y, unsigned int message) = 0;
    virtual void OnKey(int key, bool down) = 0;
    virtual void OnResize(int width, int height) = 0;
    virtual void OnEdge() = 0;
    virtual void OnHit(ISprite* sprite) = 0;
    virtual void Kill() = 0;
    virtual void PlaySound(const std::wstring& name) = 0;
    virtual void PlayMusic(const std::wstring& name) = 0;
    virtual void StopMusic() = 0;
    virtual void TogglePlacementDirection() = 0;
    virtual bool IsPlacingHorizontally() = 0;
    // One frame's simulation as Update runs it (death, removals, doors, the two physics
    // sub-steps, screen changes, re-seating the ball) without clearing, drawing or the frame
    // hook: a main loop that runs several fixed steps per displayed frame draws only the last.
    virtual void Simulate(float dt) = 0;
    // Whether a fatal touch waits to be carried out at the start of the next step.
    virtual bool IsDeathRequested() = 0;
    // A digest of every body's position, angle and velocities: two runs whose digests agree
    // ended in the same state.
    virtual std::uint64_t GetStateDigest() = 0;
    // The music's and the sounds' volumes in percent of their usual levels (0 silences).
    virtual void SetVolumes(int musicPercent, int effectsPercent) = 0;
    // Sets the player's ball's velocity in pixels per time unit (y grows downwards), so that a
    // ball can start as it would arrive from a neighbouring screen; nothing without a ball.
    virtual void SetPlayerVelocity(float x, float y) = 0;
    // The keys and buttons that steer the ball and choose its bounce from the next step on.
    virtual void SetSteeringKeys(const SteeringKeys& keys) = 0;
};

// The one engine, set by the entry right after creation.
extern IEngine* g_Engine;

// Builds a k_Engine from the settings; the caller owns it and calls Init next.
IEngine* CreateEngine(Settings& settings);
