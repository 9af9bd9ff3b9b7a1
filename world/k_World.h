// One world of the universe: a grid of screens addressed by column and row. Owns its screens
// and remembers which one is current; releasing the world leaves that screen first.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "IEngine.h"
#include "IWorld.h"

class k_World : public IWorld {
public:
    explicit k_World(IEngine* engine);
    ~k_World() override;

    std::vector<std::unique_ptr<IScreen>>& GetScreens() override;
    std::unique_ptr<IScreen> CreateScreen(int x, int y) override;
    void SetCurrentScreen(IScreen* screen) override;
    IScreen* GetCurrentScreen() override;
    void SetName(const std::wstring& name) override;
    std::wstring GetName() override;
    void SetMusic(const std::wstring& music) override;
    std::wstring GetMusic() override;

private:
    IEngine* engine;
    IScreen* currentScreen = nullptr;
    std::wstring name = L"DummyWorld";
    std::wstring music;
    std::vector<std::unique_ptr<IScreen>> screens;
};
